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

QStringList targetSections(const QStringList& sectionNames, const QList<int>& tickedRows)
{
    QStringList out;
    const QSet<int> ticked(tickedRows.cbegin(), tickedRows.cend());
    int row = 0; // grid row of the entry section: one row per entry section, in file order
    for (const QString& name : sectionNames) {
        if (!AircraftCfg::isEntrySection(name))
            continue;
        if (ticked.isEmpty() || ticked.contains(row))
            out.append(name);
        ++row;
    }
    return out;
}

QList<CfgWrites::KeyWrite> plan(const QStringList& sectionNames, const QList<int>& tickedRows,
                                const QString& key, const QString& value)
{
    QList<CfgWrites::KeyWrite> writes;
    const QSet<int> ticked(tickedRows.cbegin(), tickedRows.cend());
    const QList<AircraftCfg::EntryRef> entries = AircraftCfg::entryRefs(sectionNames);
    for (qsizetype row = 0; row < entries.size(); ++row) {
        if (ticked.isEmpty() || ticked.contains(static_cast<int>(row)))
            writes.append({entries[row].section, key, value, entries[row].occurrence});
    }
    return writes;
}

} // namespace UpdateAll
