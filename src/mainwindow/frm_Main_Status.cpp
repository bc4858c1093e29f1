// The status bar of the main window.
#include "mainwindow/frm_Main.h"

#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/Globals.h"
#include "shared/RuntimeError.h"
#include "shared/modSystem.h"

void frm_Main::SetStatusPanel(int panel, const QString& text, const QColor& back, const QColor& fore, int alignment)
{
    ui.StatusBar1->setPanel(panel, text, back, fore, alignment);
}

void frm_Main::StatusBar1_PanelDblClick(int panel)
{
    runtimeerror::runHandler(QStringLiteral("StatusBar1_PanelDblClick"), [this, panel] {
        switch (panel) {
        case 3:
            if (globals::gbAirlinesFS9Found)
                openTextFile(1, globals::gsAirlinesFS9Path);
            break;
        case 6:
            if (globals::gbAirlinesFSXFound)
                openTextFile(2, globals::gsAirlinesFSXPath);
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
