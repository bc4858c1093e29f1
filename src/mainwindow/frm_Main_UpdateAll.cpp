// The update-all commands, the assignment of texture, model and air file, and
// the aircraft-type switch of the main window.
#include "mainwindow/frm_Main.h"

#include "editing/AircraftCfg.h"
#include "editing/AirTypeSwitch.h"
#include "editing/CfgWrites.h"
#include "editing/FileAssign.h"
#include "editing/UpdateAll.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"
#include "shared/RuntimeError.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

// ---- update-all commands ------------------------------------------------------

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
        if (bConfirm && !msgbox::askedYes(QStringLiteral("Are you sure?")))
            return;
        if (!gridMatchesFile())
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

// ---- texture, model and air file ----------------------------------------------

void frm_Main::enableAssociate()
{
    ui.cmd_Associate->setEnabled(FileAssign::anyChoice(
        ui.combo_Texture->currentText(), ui.combo_Model->currentText(), ui.combo_Airfile->currentText()));
}

void frm_Main::combo_Texture_Change()
{
    enableAssociate();
}
void frm_Main::combo_Texture_Click()
{
    enableAssociate();
}
void frm_Main::combo_Model_Change()
{
    enableAssociate();
}
void frm_Main::combo_Model_Click()
{
    enableAssociate();
}
void frm_Main::combo_Airfile_Change()
{
    enableAssociate();
}
void frm_Main::combo_Airfile_Click()
{
    enableAssociate();
}

void frm_Main::cmd_Associate_Click()
{
    runtimeerror::runHandler(QStringLiteral("cmd_Associate_Click"), [this] {
        const int row = ui.ListView1->selectedRow();
        if (row < 0) {
            msgbox::MsgBox(QStringLiteral("You must select the [fltsim.x] entry which should be updated"),
                           msgbox::vbOKOnly | msgbox::vbInformation);
            return;
        }
        const AircraftCfg::EntryRef entry = entryOfRow(row);
        const QList<CfgWrites::KeyWrite> writes =
            FileAssign::plan(entry.section, ui.combo_Texture->currentText(), ui.combo_Model->currentText(),
                             ui.combo_Airfile->currentText(), entry.occurrence);
        if (writes.isEmpty())
            return; // nothing chosen: the button is disabled then
        if (bConfirm && !msgbox::askedYes(QStringLiteral("Are you sure?")))
            return;
        if (!gridMatchesFile())
            return;
        if (bAutoBackup)
            makeBackupOrStop(oIni.path());
        const CfgWrites::Outcome outcome = CfgWrites::writeAll(oIni, writes);
        if (!outcome.ok) {
            // The lists keep their choice for another try.
            tellUnwritten(outcome.file, outcome.error);
            return;
        }

        for (QComboBox* list : {ui.combo_Texture, ui.combo_Model, ui.combo_Airfile})
            list->setCurrentIndex(-1);
        reloadAndShow(row);
    });
}

void frm_Main::lst_Airfile_Click()
{
    const QList<QListWidgetItem*> selected = ui.lst_Airfile->selectedItems();
    if (selected.isEmpty()) {
        for (QRadioButton* opt : {ui.opt_ac_AI, ui.opt_ac_Helicopter, ui.opt_ac_Normal, ui.opt_ac_Nok})
            opt->setEnabled(false);
        return;
    }
    for (QRadioButton* opt : {ui.opt_ac_AI, ui.opt_ac_Helicopter, ui.opt_ac_Normal})
        opt->setEnabled(true);
    // Only decides which file the type buttons show and switch; the entry's
    // sim key stays as it is.
    sAirFile = selected.first()->text();
    ReadAirFile();
}

// ---- aircraft-type switch -------------------------------------------------------

void frm_Main::opt_ac_Normal_Click()
{
    switchAirType(AirTypeSwitch::Member::Normal);
}
void frm_Main::opt_ac_Helicopter_Click()
{
    switchAirType(AirTypeSwitch::Member::Helicopter);
}
void frm_Main::opt_ac_AI_Click()
{
    switchAirType(AirTypeSwitch::Member::AI);
}

void frm_Main::showRememberedAirType()
{
    QRadioButton* const buttons[] = {ui.opt_ac_Normal, ui.opt_ac_Helicopter, ui.opt_ac_AI};
    bAirReady = false;
    if (iAirType >= 1 && iAirType <= 3)
        buttons[iAirType - 1]->setChecked(true);
    bAirReady = true;
}

void frm_Main::switchAirType(AirTypeSwitch::Member member)
{
    if (!bAirReady)
        return;
    const AirTypeSwitch::MemberInfo& m = AirTypeSwitch::info(member);
    if (bConfirm && !msgbox::askedYes(QString::fromLatin1(m.question))) {
        showRememberedAirType();
        return;
    }
    const AirTypeSwitch::Outcome outcome =
        AirTypeSwitch::write(sAirFile, m_airTypeShownFile, folderPath(), m.type);
    switch (outcome.status) {
    case AirTypeSwitch::Status::Written:
        // The clicked button shows the new type; a later "No" must go back
        // to it, not to the type the file held before.
        if (outcome.airTypeIndex > 0)
            iAirType = outcome.airTypeIndex;
        return;
    case AirTypeSwitch::Status::Missing:
    case AirTypeSwitch::Status::NotShown:
    case AirTypeSwitch::Status::NoTypeRecord:
        // Nothing was written: the buttons go back to the type last read.
        showRememberedAirType();
        return;
    case AirTypeSwitch::Status::Outside:
        showRememberedAirType();
        msgbox::MsgBox(AirTypeSwitch::outsideMessage(sAirFile), msgbox::vbOKOnly | msgbox::vbExclamation);
        return;
    case AirTypeSwitch::Status::Failed:
        break;
    }
    msgbox::MsgBox(AirTypeSwitch::failureMessage(sAirFile), msgbox::vbOKOnly | msgbox::vbCritical);
    Dir1_Change();
}
