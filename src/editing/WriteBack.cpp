#include "editing/WriteBack.h"

#include "editing/NumberText.h"

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
    return CfgWrites::writeAll(ini, writes);
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
    const QString file = QFileInfo(mdlFile).canonicalFilePath();
    const QString folder = QFileInfo(aircraftFolder).canonicalFilePath();
    if (mdlFile.isEmpty() || file.isEmpty() || folder.isEmpty() || !file.startsWith(folder + u'/'))
        return {airmdl::WriteStatus::NotApplicable, QStringLiteral("%1: not a model file of this aircraft").arg(mdlFile)};
    return airmdl::writeMdlRadius(file, value);
}

} // namespace WriteBack
