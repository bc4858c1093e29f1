#include "editing/WriteBack.h"

#include "editing/NumberText.h"
#include "editing/SectionOps.h"
#include "platform/PathResolver.h"
#include "platform/ProfileEngine.h"

#include <QFileInfo>

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

// Whether the key's line (in the given copy of the section name, first key of
// the name, as a read finds it) reads as `value` only because the read took a
// pair of quotes away: writing the same value back would lose them.
bool readsUnquoted(const platform::profile::FileLines& file, const CfgWrites::KeyWrite& w)
{
    using Kind = platform::profile::FileLine::Kind;
    const QString s = platform::profile::callerName(w.section);
    const QString k = platform::profile::callerName(w.key);
    int copiesSeen = 0;
    bool inSection = false;
    for (const platform::profile::FileLine& line : file.lines) {
        if (line.kind == Kind::Header) {
            if (inSection)
                return false;
            if (line.name.compare(s, Qt::CaseInsensitive) == 0)
                inSection = copiesSeen++ == w.occurrence;
        } else if (inSection && line.kind == Kind::Key && line.name.compare(k, Qt::CaseInsensitive) == 0) {
            return line.value == w.value && SectionOps::valueText(line) != line.value;
        }
    }
    return false;
}

} // namespace

QList<CfgWrites::KeyWrite> keepUnchangedQuoted(const QString& cfgPath, const QList<CfgWrites::KeyWrite>& writes)
{
    const platform::profile::FileLines file = platform::profile::readLines(cfgPath);
    QList<CfgWrites::KeyWrite> out;
    for (const CfgWrites::KeyWrite& w : writes) {
        if (!file.exists || !readsUnquoted(file, w))
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

airmdl::WriteResult writeRadius(const QString& mdlFile, const QString& aircraftFolder, quint8 value)
{
    if (!platform::paths::liesInside(aircraftFolder, mdlFile))
        return {airmdl::WriteStatus::NotApplicable, QStringLiteral("%1: not a model file of this aircraft").arg(mdlFile)};
    return airmdl::writeMdlRadius(QFileInfo(mdlFile).canonicalFilePath(), value);
}

} // namespace WriteBack
