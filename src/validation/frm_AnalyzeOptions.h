#pragma once

#include "validation/AnalyzeOptions.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QFrame;
class QPushButton;

// The report options window: 23 check boxes that switch the lines of the
// validation report, kept in the setting "AnalyzeOptions". Modeless; one
// window serves the run and every opening loads the boxes afresh.
class frm_AnalyzeOptions final : public QWidget
{
    Q_OBJECT

public:
    // The window, created on first use; `owner` (the main window) deletes it
    // at the end of the run.
    static frm_AnalyzeOptions* instance(QWidget* owner = nullptr);
    // The window when it has been created, else null.
    static frm_AnalyzeOptions* existing();
    // Shows the window. A closed window loads the boxes from the setting
    // first; an open one is only brought to the front.
    static frm_AnalyzeOptions* showWindow(QWidget* owner = nullptr);

    // --- controls -----------------------------------------------------------
    QFrame* Frame1 = nullptr;
    std::array<QCheckBox*, AnalyzeOptions::kCount> Check1{};
    QPushButton* cmd_All = nullptr;
    QPushButton* cmd_None = nullptr;
    QPushButton* cmd_Close = nullptr;
    QPushButton* cmd_Save = nullptr;

    // --- events -------------------------------------------------------------
    void Form_Load();
    void cmd_All_Click();
    void cmd_None_Click();
    void cmd_Close_Click();
    void cmd_Save_Click();

private:
    explicit frm_AnalyzeOptions(QWidget* owner);
    void buildUi();
};
