// Assigning a texture, model or air file to the selected entry from the three
// drop-down lists of the main window.
#include "mainwindow/frm_Main.h"

#include "editing/AircraftCfg.h"
#include "editing/CfgWrites.h"
#include "editing/FileAssign.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"
#include "shared/RuntimeError.h"

#include <QComboBox>
#include <QPushButton>

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
        const int row = selectedRowOrTell(QStringLiteral("updated"));
        if (row < 0)
            return;
        const AircraftCfg::EntryRef entry = entryOfRow(row);
        const QList<CfgWrites::KeyWrite> writes =
            FileAssign::plan(entry.section, ui.combo_Texture->currentText(), ui.combo_Model->currentText(),
                             ui.combo_Airfile->currentText(), entry.occurrence);
        if (writes.isEmpty())
            return; // nothing chosen: the button is disabled then
        if (!readyToWrite())
            return;
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
