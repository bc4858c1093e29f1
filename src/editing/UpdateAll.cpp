#include "editing/UpdateAll.h"

#include "editing/AircraftCfg.h"

#include <QSet>

namespace UpdateAll {

const std::array<MemberInfo, kMemberCount>& members()
{
    static const std::array<MemberInfo, kMemberCount> table{{
        {Member::AtcAirline, "atc_airline", "cmd_Update_all_atc_airline_Click"},
        {Member::AtcHeavy, "atc_heavy", "cmd_Update_all_atc_heavy_Click"},
        {Member::AtcModel, "atc_model", "cmd_Update_all_atc_model_Click"},
        {Member::AtcParkingCodes, "atc_parking_codes", "cmd_Update_all_atc_Parking_codes_Click"},
        {Member::AtcParkingTypes, "atc_parking_types", "cmd_Update_all_atc_Parking_types_Click"},
        {Member::UiCreatedBy, "ui_createdby", "cmd_Update_all_ui_Createdby_Click"},
        {Member::UiManufacturer, "ui_manufacturer", "cmd_Update_all_ui_Manufacturer_Click"},
        {Member::UiTypeRole, "ui_typerole", "cmd_Update_all_ui_Typerole_Click"},
        {Member::UiType, "ui_type", "cmd_Update_all_ui_Type_Click"},
    }};
    return table;
}

const MemberInfo& info(Member member)
{
    return members()[static_cast<size_t>(member)];
}

namespace {

// The entries a command writes: all when no row is ticked, else the ticked rows.
QList<AircraftCfg::EntryRef> targets(const QStringList& sectionNames, const QList<int>& tickedRows)
{
    QList<AircraftCfg::EntryRef> entries = AircraftCfg::entryRefs(sectionNames);
    if (tickedRows.isEmpty())
        return entries;
    const QSet<int> ticked(tickedRows.cbegin(), tickedRows.cend());
    QList<AircraftCfg::EntryRef> out;
    for (qsizetype row = 0; row < entries.size(); ++row) {
        if (ticked.contains(static_cast<int>(row)))
            out.append(entries[row]);
    }
    return out;
}

} // namespace

QList<CfgWrites::KeyWrite> plan(const QStringList& sectionNames, const QList<int>& tickedRows,
                                const QString& key, const QString& value)
{
    QList<CfgWrites::KeyWrite> writes;
    for (const AircraftCfg::EntryRef& ref : targets(sectionNames, tickedRows))
        writes.append({ref.section, key, value, ref.occurrence});
    return writes;
}

} // namespace UpdateAll
