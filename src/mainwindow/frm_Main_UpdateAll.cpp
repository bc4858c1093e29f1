// The update-all commands of the main window: one field's value into the same
// key of every ticked entry, or of every entry.
#include "mainwindow/frm_Main.h"

#include "editing/AircraftCfg.h"
#include "editing/CfgWrites.h"
#include "editing/UpdateAll.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/RuntimeError.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

void frm_Main::cmd_Update_all_atc_airline_Click()
{
    updateAll(UpdateAll::Member::AtcAirline);
}
void frm_Main::cmd_Update_all_atc_heavy_Click()
{
    updateAll(UpdateAll::Member::AtcHeavy);
}
void frm_Main::cmd_Update_all_atc_model_Click()
{
    updateAll(UpdateAll::Member::AtcModel);
}
void frm_Main::cmd_Update_all_atc_Parking_codes_Click()
{
    updateAll(UpdateAll::Member::AtcParkingCodes);
}
void frm_Main::cmd_Update_all_atc_Parking_types_Click()
{
    updateAll(UpdateAll::Member::AtcParkingTypes);
}
void frm_Main::cmd_Update_all_ui_Createdby_Click()
{
    updateAll(UpdateAll::Member::UiCreatedBy);
}
void frm_Main::cmd_Update_all_ui_Manufacturer_Click()
{
    updateAll(UpdateAll::Member::UiManufacturer);
}
void frm_Main::cmd_Update_all_ui_Typerole_Click()
{
    updateAll(UpdateAll::Member::UiTypeRole);
}
void frm_Main::cmd_Update_all_ui_Type_Click()
{
    updateAll(UpdateAll::Member::UiType);
}

QString frm_Main::updateAllValue(UpdateAll::Member member) const
{
    using M = UpdateAll::Member;
    switch (member) {
    case M::AtcAirline:
        return ui.txt_atc_Airline->text();
    case M::AtcHeavy:
        return AircraftCfg::atcHeavyWriteText(ui.chk_atc_heavy->isChecked());
    case M::AtcModel:
        return ui.txt_atc_Model->text();
    case M::AtcParkingCodes:
        return ui.txt_atc_ParkingCodes->text();
    case M::AtcParkingTypes:
        return ui.lblSelections->text();
    case M::UiCreatedBy:
        return ui.txt_ui_CreatedBy->text();
    case M::UiManufacturer:
        return ui.txt_ui_Manufacturer->text();
    case M::UiTypeRole:
        return ui.txt_ui_TypeRole->text();
    case M::UiType:
        return ui.txt_ui_Type->text();
    }
    return {};
}

void frm_Main::updateAll(UpdateAll::Member member)
{
    const UpdateAll::MemberInfo& m = UpdateAll::info(member);
    runtimeerror::runHandler(QString::fromLatin1(m.procedure), [this, &m] {
        if (!confirmedAndCurrent())
            return; // the ticked rows would name other entries now
        // The texts go in as the fields hold them: no trimming, comments included.
        const QString value = updateAllValue(m.member);
        const QList<int> ticked = ui.ListView1->tickedRows();
        oIni.EnumerateAllSections(sSections, lSectionCount);
        const CfgWrites::Outcome outcome =
            CfgWrites::writeAll(oIni, UpdateAll::plan(sSections, ticked, QString::fromLatin1(m.key), value));
        if (!outcome.ok) {
            tellUnwritten(outcome.file, outcome.error);
            return;
        }

        const int row = ui.ListView1->selectedRow();
        Dir1_Change();
        // Without a selection before, the first row the reload shows stays.
        if (row >= 0) {
            ui.ListView1->selectRow(row);
            ListView1_DblClick();
        }
    });
}
