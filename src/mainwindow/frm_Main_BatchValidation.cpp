// Opening the batch validation and report options windows.
#include "mainwindow/frm_Main.h"

#include "validation/frm_AnalyzeOptions.h"
#include "validation/frm_ValidateAll.h"

void frm_Main::mnuvalidateAll_Click()
{
    frm_ValidateAll::showWindow(this);
}

void frm_Main::mnuAnalyzeOptions_Click()
{
    frm_AnalyzeOptions::showWindow(this);
}

void frm_Main::ShowTextFile(const QString& path)
{
    openTextFile(3, path);
}
