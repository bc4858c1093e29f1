#include "editing/WriteBack.h"

#include "editing/NumberText.h"
#include "editing/SectionOps.h"
#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "platform/ProfileEngine.h"

#include <QFileInfo>
#include <QHash>

namespace WriteBack {

QList<QPair<QString, QString>> entryKeyList(const QStringList& texts, bool heavyTicked)
{
    static const char* const kKeys[] = {"title",        "atc_parking_types", "atc_parking_codes", "ui_createdby",
                                        "ui_typerole",  "ui_manufacturer",   "ui_type",           "ui_variation",
                                        "atc_id",       "atc_flight_number", "atc_airline",       "atc_model"};
    QList<QPair<QString, QString>> out;
    for (int i = 0; i < 12; ++i)
        out.append({QString::fromLatin1(kKeys[i]), i < texts.size() ? texts[i] : QString()});
    out.append({QStringLiteral("atc_heavy"), AircraftCfg::atcHeavyWriteText(heavyTicked)});
    return out;
}

namespace {

using platform::profile::FileLine;

// Where a read finds a key: section name and key name (letter case ignored)
// and which copy of the section name.
QString keyPlace(const QString& section, int copy, const QString& key)
{
    return section.toCaseFolded() + u'\0' + QString::number(copy) + u'\0' + key.toCaseFolded();
}

// The line a read finds for each key of each section copy: the first of its name.
QHash<QString, const FileLine*> firstKeyLines(const QList<FileLine>& lines)
{
    QHash<QString, const FileLine*> first;
    QHash<QString, int> copies;
    QString section;
    int copy = -1;
    for (const FileLine& line : lines) {
        if (line.kind == FileLine::Kind::Header) {
            section = line.name;
            copy = copies[section.toCaseFolded()]++;
        } else if (line.kind == FileLine::Kind::Key && copy >= 0) {
            const QString place = keyPlace(section, copy, line.name);
            if (!first.contains(place))
                first.insert(place, &line);
        }
    }
    return first;
}

} // namespace

QList<CfgWrites::KeyWrite> keepUnchangedQuoted(const QString& cfgPath, const QList<CfgWrites::KeyWrite>& writes)
{
    const platform::profile::FileLines file = platform::profile::readLines(cfgPath);
    if (!file.exists)
        return writes;
    const QHash<QString, const FileLine*> first = firstKeyLines(file.lines);
    QList<CfgWrites::KeyWrite> out;
    for (const CfgWrites::KeyWrite& w : writes) {
        // A line that reads as the value only because the read took a pair of
        // quotes away would lose them if the same value were written back.
        const FileLine* line = first.value(keyPlace(platform::profile::callerName(w.section), w.occurrence,
                                                    platform::profile::callerName(w.key)));
        if (!line || line->value != w.value || SectionOps::valueText(*line) == line->value)
            out.append(w);
    }
    return out;
}

Outcome write(clsIniFile& ini, const Request& r)
{
    QList<CfgWrites::KeyWrite> writes;
    for (const auto& [key, value] : r.entryKeys)
        writes.append({r.section, key, value, r.occurrence});
    if (!r.wingSpanNew.isEmpty())
        writes.append({QStringLiteral("airplane_geometry"), QStringLiteral("wing_span"),
                       AircraftCfg::wingSpanWriteText(r.wingSpanNew)});
    for (int e = 0; e < AircraftCfg::kExitCount; ++e) {
        const auto& boxes = r.exits[static_cast<size_t>(e)];
        if (AircraftCfg::exitComplete(boxes))
            writes.append({QStringLiteral("exits"), QStringLiteral("exit.%1").arg(e),
                           AircraftCfg::exitWriteText(boxes, r.exitComments[static_cast<size_t>(e)])});
    }
    writes.append({QStringLiteral("general"), QStringLiteral("atc_model"), r.generalAtcModel});
    writes.append({QStringLiteral("general"), QStringLiteral("atc_type"), r.generalAtcType});
    return CfgWrites::writeAll(ini, keepUnchangedQuoted(ini.path(), writes));
}

RadiusPlan planRadius(const QString& radiusText, const QString& radiusShown)
{
    RadiusPlan plan;
    if (radiusText == u"n/a" || radiusText == radiusShown)
        return plan;
    const std::optional<quint8> value = numbertext::toByte(radiusText);
    if (!value) {
        plan.action = RadiusPlan::Action::Invalid;
        return plan;
    }
    plan.action = RadiusPlan::Action::Write;
    plan.value = *value;
    return plan;
}

bool modelFileInside(const QString& mdlFile, const QString& aircraftFolder)
{
    return platform::paths::liesInside(aircraftFolder, mdlFile);
}

QString radiusOutsideMessage(const QString& mdlFile)
{
    return mdlFile + QStringLiteral("\r\n\r\n") +
           QStringLiteral("lies outside the aircraft folder. The radius is only changed in model files of the "
                          "aircraft folder shown; nothing was written.");
}

airmdl::WriteResult writeRadius(const QString& mdlFile, const QString& aircraftFolder, quint8 value)
{
    if (!modelFileInside(mdlFile, aircraftFolder))
        return {airmdl::WriteStatus::NotApplicable, QStringLiteral("%1: not a model file of this aircraft").arg(mdlFile)};
    return airmdl::writeMdlRadius(QFileInfo(mdlFile).canonicalFilePath(), value);
}

RadiusNotice applyRadius(const RadiusPlan& plan, const QString& mdlFile, const QString& aircraftFolder)
{
    switch (plan.action) {
    case RadiusPlan::Action::None:
        return {};
    case RadiusPlan::Action::Invalid:
        // The file is not to blame for a value it cannot hold.
        return {QStringLiteral("The changed radius value is not a number from 0 to 255 and was not written to the "
                               "model file.")};
    case RadiusPlan::Action::Write:
        break;
    }
    if (!platform::fileio::regularFileIdentity(mdlFile))
        return {QStringLiteral("The model file:") + mdlFile + QStringLiteral("\r\n\r\n") +
                QStringLiteral(" could not be found. The changed radius value was not written.")};
    if (!modelFileInside(mdlFile, aircraftFolder))
        return {radiusOutsideMessage(mdlFile), true};
    if (!writeRadius(mdlFile, aircraftFolder, plan.value).ok())
        return {QStringLiteral("The changed radius value could not be written to the model file. Please make sure "
                               "that the file is not opened by the sim or another program")};
    return {};
}

} // namespace WriteBack
