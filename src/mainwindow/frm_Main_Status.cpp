// The status bar of the main window: its panels and their balloon text.
#include "mainwindow/frm_Main.h"

#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/modSystem.h"
#include "shared/RuntimeError.h"

void frm_Main::SetStatusPanel(int panel, const QString& text, const QColor& back, const QColor& fore, int alignment)
{
    ui.StatusBar1->setPanel(panel, text, back, fore, alignment);
}

void frm_Main::StatusBar1_PanelDblClick(int panel)
{
    runtimeerror::runHandler(QStringLiteral("StatusBar1_PanelDblClick"), [this, panel] {
        switch (panel) {
        // An airlines.cfg that can no longer be read is reported in this
        // handler's runtime-error box, not by the editor.
        case 3:
            if (globals::gbAirlinesFS9Found)
                openTextFile(1, globals::gsAirlinesFS9Path, true);
            break;
        case 6:
            if (globals::gbAirlinesFSXFound)
                openTextFile(2, globals::gsAirlinesFSXPath, true);
            break;
        case 9:
            // A folder with entries is validated; without entries the
            // batch validation window opens.
            if (ui.ListView1->rowCount() > 0)
                mnuValidate_Click();
            else
                mnuvalidateAll_Click();
            break;
        default:
            break;
        }
    });
}

void frm_Main::StatusBar1_MouseMove(Qt::MouseButtons buttons, QPoint pos)
{
    // The option takes effect at the next start: what counts is whether this
    // run set up balloons, not the menu's current tick.
    if (!hTip) {
        ui.StatusBar1->setToolTip(QString());
        return;
    }
    // While a button is held no panel counts as under the mouse.
    const int panel = buttons != Qt::NoButton ? 0 : ui.StatusBar1->panelAt(pos.x());
    const QString tip = ui.StatusBar1->panelTag(panel);
    ui.StatusBar1->setToolTip(QString());
    // Only a change of panel changes the balloon, not every move.
    if (panel != iLastPanel) {
        iLastPanel = panel;
        UpdateTipText(hTip, ui.StatusBar1, tip);
    }
}

void frm_Main::UpdateTipText(BalloonTip* tip, QWidget* tool, const QString& text)
{
    if (tip)
        tip->updateTipText(tool, text);
}
