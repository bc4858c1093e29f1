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

void frm_Main::openTextFile(int editorMode, const QString& path)
{
    // Until the program has its own text editor, files open in the desktop's.
    Q_UNUSED(editorMode);
    modSystem::OpenWithDesktop(path);
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
        default:
            break;
        }
    });
}
