// Writing the shown entry back, the wing-span chains and the exit ticks.
#include "mainwindow/frm_Main.h"

#include "editing/AircraftCfg.h"
#include "editing/NumberText.h"
#include "editing/WriteBack.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"
#include "shared/RuntimeError.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

void frm_Main::cmd_cfg_Update_Click()
{
    runtimeerror::runHandler(QStringLiteral("cmd_cfg_Update_Click"), [this] {
        const int row = fieldsRow();
        if (!readyToWrite())
            return;

        const WriteBack::RadiusPlan radius = WriteBack::planRadius(ui.txt_FS9Radius->text(), vRadiusOrg);
        if (const WriteBack::RadiusNotice notice = WriteBack::applyRadius(radius, sMdlFile, folderPath());
            !notice.message.isEmpty())
            msgbox::MsgBox(notice.message,
                           msgbox::vbOKOnly | (notice.warning ? msgbox::vbExclamation : msgbox::vbCritical));

        WriteBack::Request request;
        const AircraftCfg::EntryRef entry = entryOfRow(row);
        request.section = entry.section;
        request.occurrence = entry.occurrence;
        request.entryKeys = WriteBack::entryKeyList(
            {ui.txt_Title->text(), ui.lblSelections->text(), ui.txt_atc_ParkingCodes->text(),
             ui.txt_ui_CreatedBy->text(), ui.txt_ui_TypeRole->text(), ui.txt_ui_Manufacturer->text(),
             ui.txt_ui_Type->text(), ui.txt_ui_Variation->text(), ui.txt_atc_Id->text(),
             ui.txt_atc_Flight_Number->text(), ui.txt_atc_Airline->text(), ui.txt_atc_Model->text()},
            ui.chk_atc_heavy->isChecked());
        request.wingSpanNew = ui.txt_WingSpan_New->text();
        const QList<QLineEdit*>* exits[] = {&ui.txt_Exit_0, &ui.txt_Exit_1, &ui.txt_Exit_2};
        for (size_t e = 0; e < 3; ++e) {
            for (size_t b = 0; b < 5; ++b)
                request.exits[e][b] = (*exits[e])[static_cast<int>(b)]->text();
        }
        request.exitComments = {sExit0Comment, sExit1Comment, sExit2Comment};
        request.generalAtcModel = ui.txt_general_atc_model->text();
        request.generalAtcType = ui.txt_general_atc_type->text();

        const WriteBack::Outcome outcome = WriteBack::write(oIni, request);
        if (!outcome.ok) {
            // The edits stay in the fields; reloading now would throw them away.
            tellUnwritten(outcome.file, outcome.error);
            return;
        }

        reloadAndShow(row);
    });
}

namespace {

// Each chain handler sets only the next box of its chain; an empty result
// empties the rest of the chain in turn.
void setChain(QLineEdit* next, const QString& text)
{
    next->setText(text);
}

} // namespace

void frm_Main::txt_WingSpan_Org_Change()
{
    setChain(ui.txt_WingSpan_Org_C1, numbertext::metresFromFeetText(ui.txt_WingSpan_Org->text()));
}

void frm_Main::txt_WingSpan_Org_C1_Change()
{
    setChain(ui.txt_WingSpan_Org_C2, numbertext::halfSpanText(ui.txt_WingSpan_Org_C1->text()));
}

void frm_Main::txt_WingSpan_Org_C2_Change()
{
    setChain(ui.txt_FSX_Spot_Org, numbertext::spotSizeText(ui.txt_WingSpan_Org_C2->text()));
}

void frm_Main::txt_WingSpan_New_Change()
{
    // The metres follow a new span only while the grid holds entries.
    const bool hasRows = ui.ListView1->rowCount() > 0;
    setChain(ui.txt_WingSpan_New_C1,
             hasRows ? numbertext::metresFromFeetText(ui.txt_WingSpan_New->text()) : QString());
}

void frm_Main::txt_WingSpan_New_C1_Change()
{
    setChain(ui.txt_WingSpan_New_C2, numbertext::halfSpanText(ui.txt_WingSpan_New_C1->text()));
}

void frm_Main::txt_WingSpan_New_C2_Change()
{
    setChain(ui.txt_FSX_Spot_New, numbertext::spotSizeText(ui.txt_WingSpan_New_C2->text()));
}

void frm_Main::txt_Exit_Change(int exit)
{
    const QList<QLineEdit*>* exits[] = {&ui.txt_Exit_0, &ui.txt_Exit_1, &ui.txt_Exit_2};
    QCheckBox* ticks[] = {ui.chk_Exit_0, ui.chk_Exit_1, ui.chk_Exit_2};
    AircraftCfg::ExitBoxes boxes;
    for (size_t b = 0; b < boxes.size(); ++b)
        boxes[b] = (*exits[exit])[static_cast<int>(b)]->text();
    ticks[exit]->setChecked(AircraftCfg::exitComplete(boxes));
}
