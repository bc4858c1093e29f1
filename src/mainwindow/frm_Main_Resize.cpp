// The main window's controls follow its size.
#include "mainwindow/frm_Main.h"

#include "shared/ProportionalResize.h"

void frm_Main::Form_Resize()
{
    modGlobal::ResizeForm(this);
}

void frm_Main::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // While the window is being shown its controls are not laid out yet: the
    // show that follows counts as its first resize.
    if (isVisible())
        Form_Resize();
}

void frm_Main::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    Form_Resize();
}
