#pragma once

#include "validation/BatchReport.h"

#include <QString>
#include <QWidget>

#include <array>

class QCloseEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class frm_Main;

// The batch validation window: validates every folder directly below a root
// through the main window (its folder list and mnuValidate_Click) and shows
// the reports together in zibcheckall.log. Modeless; one window serves the
// run. A run keeps both windows responsive; Start during a run is ignored and
// closing the window stops the run after the folder under way.
class frm_ValidateAll final : public QWidget
{
    Q_OBJECT

public:
    // The window, created on first use; `owner` (the main window) deletes it
    // at the end of the run.
    static frm_ValidateAll* instance(QWidget* owner = nullptr);
    // The window when it has been created, else null.
    static frm_ValidateAll* existing();
    // Shows the window. A closed window is set up afresh (root = the main
    // window's folder); an open, idle one takes the main window's folder as
    // its root again; during a run it is only brought to the front.
    static frm_ValidateAll* showWindow(QWidget* owner = nullptr);

    // --- controls -----------------------------------------------------------
    QLabel* lbl_1 = nullptr;
    QLineEdit* txtFolder = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 2> OptRep{};
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 2> OptATC{};
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdStop = nullptr;

    // The main window's folder when Start was clicked; it gets it back at the end.
    QString sStartFolder;

    // --- events -------------------------------------------------------------
    void Form_Load();
    void cmdStart_Click();
    void cmdStop_Click();

    // A run is under way.
    bool running() const { return m_running; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit frm_ValidateAll(QWidget* owner);
    void buildUi();
    void takeRoot();
    BatchReport::FolderOutcome validateFolder(frm_Main& main, const QString& folder);

    bool m_running = false;
    bool m_stopRequested = false;
};
