#include "validation/frm_ValidateAll.h"

#include "mainwindow/frm_Main.h"
#include "mainwindow/frm_MainUi.h"
#include "mainwindow/MainUiBuild.h"
#include "mainwindow/widgets/DirList.h"
#include "platform/PathResolver.h"
#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modGlobal.h"
#include "shared/modSettings.h"
#include "shared/modSystem.h"
#include "validation/AnalyzeOptions.h"
#include "validation/ValidationReport.h"
#include "validation/ValidationSetup.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QScopeGuard>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <exception>
#include <optional>
#include <utility>

namespace {

QPointer<frm_ValidateAll> g_window;

// Skip reasons of our own, in the style of validation's ("... in folder ").
const QString kCannotOpen = QStringLiteral("Could not open folder ");
const QString kUnexpected = QStringLiteral("Validation stopped by an unexpected error in folder ");

QString singleReportPath()
{
    return globals::gsTempPath + ValidationReport::kFileName;
}

// The folders' reports never pass through the disk; the temporary folder
// keeps the report of the folder validated last, as one after the other
// would have left it. A report that cannot be written leaves that folder
// without one, as its validation would have.
void leaveLastReport(QList<BatchReport::FolderOutcome>& outcomes)
{
    const QString path = singleReportPath();
    if (!outcomes.isEmpty() && outcomes.last().reportWritten) {
        BatchReport::FolderOutcome& last = outcomes.last();
        const auto written = ValidationReport::writeReport(path, last.report, false);
        if (written)
            return;
        last.skipMessage = ValidationReport::unwrittenSkipMessage(written.error);
        last.reportWritten = false;
        last.reportErrors = false;
        last.report.clear();
    }
    QFile::remove(path);
}

// Shows `folder` in the main window and loads it, also when it is shown
// already (the files may have changed since). False when it cannot be opened.
bool showFolder(frm_Main& main, const QString& folder)
{
    const QString before = main.ui.Dir1->path();
    if (!main.ui.Dir1->setPath(folder))
        return false;
    if (main.ui.Dir1->path() == before)
        main.Dir1_Change();
    return true;
}

} // namespace

frm_ValidateAll* frm_ValidateAll::instance(QWidget* owner)
{
    if (!g_window)
        g_window = new frm_ValidateAll(owner);
    return g_window;
}

frm_ValidateAll* frm_ValidateAll::existing()
{
    return g_window;
}

frm_ValidateAll* frm_ValidateAll::showWindow(QWidget* owner)
{
    frm_ValidateAll* w = instance(owner);
    if (!w->isVisible() && !w->m_running)
        w->Form_Load();
    else if (!w->m_running)
        w->takeRoot(); // asked again from another folder: that folder is meant
    else
        w->m_stopRequested = false; // shown again while it runs: the run goes on
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

frm_ValidateAll::frm_ValidateAll(QWidget* owner) : QWidget(owner)
{
    // A window of its own even when owned by the main window: modeless. It
    // outlives being closed, so a run under way never loses its window.
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frm_ValidateAll"));
    setWindowTitle(QStringLiteral("Validate all aircraft below folder..."));
    buildUi();

    connect(cmdStart, &QPushButton::clicked, this, &frm_ValidateAll::cmdStart_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frm_ValidateAll::cmdStop_Click);
}

void frm_ValidateAll::buildUi()
{
    using namespace mainui;
    auto* outer = new QVBoxLayout(this);

    lbl_1 = label(this, QStringLiteral("Root folder for validation scan:"), QStringLiteral("lbl_1"));
    // The root is the main window's folder; a typed path would not be used.
    txtFolder = lineEdit(
        this, QStringLiteral("txtFolder"),
        QStringLiteral("All aircraft folders on the first level below this folder will be validated"), true);
    txtFolder->setMinimumWidth(420);
    outer->addWidget(lbl_1);
    outer->addWidget(txtFolder);

    auto* frames = new QHBoxLayout;
    Frame2 = new QGroupBox(QStringLiteral("Report Options"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* rep = new QVBoxLayout(Frame2);
    OptRep[0] = option(Frame2, arrayName(QStringLiteral("OptRep"), 0), QStringLiteral("All aircraft"),
                       QStringLiteral("Report will include all validated aircraft "));
    OptRep[1] = option(Frame2, arrayName(QStringLiteral("OptRep"), 1), QStringLiteral("Errors only"),
                       QStringLiteral("Report will include aircraft with errors only"));
    rep->addWidget(OptRep[0]);
    rep->addWidget(OptRep[1]);
    frames->addWidget(Frame2);

    Frame1 = new QGroupBox(QStringLiteral("FS9/FSX Airlines.cfg"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setToolTip(
        QStringLiteral("Chose if ATC validation should run against FS9 or FSX airlines.cfg. Note: "
                       "this is only an option if both versions are found."));
    auto* atc = new QVBoxLayout(Frame1);
    OptATC[0] = option(Frame1, arrayName(QStringLiteral("OptATC"), 0), QStringLiteral("FS9"),
                       QStringLiteral("Choose FS9 airlines.cfg"));
    OptATC[1] = option(Frame1, arrayName(QStringLiteral("OptATC"), 1), QStringLiteral("FSX"));
    atc->addWidget(OptATC[0]);
    atc->addWidget(OptATC[1]);
    frames->addWidget(Frame1);
    outer->addLayout(frames);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    outer->addWidget(ProgressBar1);

    auto* buttons = new QHBoxLayout;
    cmdStart = button(this, QStringLiteral("cmdStart"), QStringLiteral("&Start"),
                      QStringLiteral("Start validating all aircraft below the selected root folder"));
    cmdStop =
        button(this, QStringLiteral("cmdStop"), QStringLiteral("E&xit"), QStringLiteral("Close the form"));
    buttons->addStretch();
    buttons->addWidget(cmdStart);
    buttons->addWidget(cmdStop);
    outer->addLayout(buttons);
}

void frm_ValidateAll::takeRoot()
{
    frm_Main* main = mainWindow();
    globals::gsValidateRoot = main ? main->folderPath() : QString();
    txtFolder->setText(globals::gsValidateRoot);
}

void frm_ValidateAll::Form_Load()
{
    balloontips::SetUpToolTips(this, globals::gbToolTips);

    OptRep[0]->setChecked(true);
    ProgressBar1->setValue(ProgressBar1->minimum());

    // The simulator whose airlines.cfg and effects serve when both are there.
    const bool fs9 = globals::gbAirlinesFS9Found;
    const bool fsx = globals::gbAirlinesFSXFound;
    Frame1->setEnabled(fs9 || fsx);
    OptATC[0]->setEnabled(fs9);
    OptATC[1]->setEnabled(fsx);
    if (fsx)
        OptATC[1]->setChecked(true);
    else if (fs9)
        OptATC[0]->setChecked(true);
    else {
        clearOptionButton(OptATC[0]);
        clearOptionButton(OptATC[1]);
    }

    takeRoot();
}

void frm_ValidateAll::cmdStop_Click()
{
    close();
}

void frm_ValidateAll::closeEvent(QCloseEvent* event)
{
    // A run under way stops after the folder it is validating.
    if (m_running)
        m_stopRequested = true;
    event->accept();
}

BatchReport::FolderOutcome frm_ValidateAll::validateFolder(frm_Main& main, const QString& folder)
{
    BatchReport::FolderOutcome out;
    out.folder = folder;
    globals::gsSkipMessage.clear();
    globals::gbReportErrors = false;
    (void)main.takeBatchReport(); // one left from before must never stand in for this folder's

    // Loading and validating the folder ask about the same files many times:
    // the run's lookup scope answers them (nothing writes into the folder but
    // for a stale report, which is forgotten as it goes).
    globals::gbBatchValidate = true;
    try {
        if (showFolder(main, folder))
            main.mnuValidate_Click();
        else
            globals::gsSkipMessage = kCannotOpen;
    } catch (const std::exception&) {
        globals::gsSkipMessage = kUnexpected;
    } catch (...) {
        globals::gsSkipMessage = kUnexpected;
    }
    globals::gbBatchValidate = false;
    BatchReport::removeFolderLog(folder);

    out.skipMessage = globals::gsSkipMessage;
    out.reportErrors = globals::gbReportErrors;
    if (std::optional<QByteArray> report = main.takeBatchReport()) {
        out.reportWritten = true;
        out.report = std::move(*report);
    }
    return out;
}

void frm_ValidateAll::cmdStart_Click()
{
    // One run at a time; the buttons stay enabled so the window keeps its feel.
    if (m_running)
        return;
    frm_Main* main = mainWindow();
    if (!main)
        return;

    // Every folder would show the same box and add nothing: say it once. The
    // options count as the user set them (not as a run without airlines.cfg
    // left them), as they do for each folder.
    if (ValidationSetup::allOptionsOff(AnalyzeOptions::flagsOf(globals::gsAnalyzeOptions))) {
        msgbox::MsgBox(ValidationSetup::kAllOptionsOffMessage, msgbox::vbOKOnly | msgbox::vbInformation);
        return;
    }
    // Every folder's report passes through the temporary folder.
    if (const QString problem = modSystem::TempFolderProblem(); !problem.isEmpty()) {
        msgbox::MsgBox(problem, msgbox::vbOKOnly | msgbox::vbCritical);
        return;
    }
    const QString root = globals::gsValidateRoot;
    const QStringList folders = BatchReport::foldersBelow(root);
    if (folders.isEmpty()) {
        msgbox::MsgBox(QStringLiteral("There are no folders below \"") + root +
                           QStringLiteral("\" to validate."),
                       msgbox::vbOKOnly | msgbox::vbInformation);
        return;
    }

    sStartFolder = main->folderPath();
    const BatchReport::Mode mode =
        OptRep[1]->isChecked() ? BatchReport::Mode::ErrorsOnly : BatchReport::Mode::AllAircraft;
    const ValidationReport::DateTimeTexts now = ValidationReport::nowTexts();
    ProgressBar1->setRange(0, int(folders.size()));
    ProgressBar1->setValue(0);
    BatchReport::removeFolderLog(sStartFolder);
    main->setBatchSimulatorChoice(OptATC[0]->isChecked());

    m_running = true;
    m_stopRequested = false;
    const QPointer<frm_ValidateAll> self(this);
    const QPointer<frm_Main> owner(main);
    // Only the folder list of the folder returned to at the end is seen.
    const QPointer<DirList> folderList(main->ui.Dir1);
    folderList->holdList(true);
    // The folders' reports come from memory; the file gets the last one.
    main->keepBatchReports(true);
    const auto release = qScopeGuard([folderList, owner] {
        if (folderList)
            folderList->holdList(false);
        if (owner)
            owner->keepBatchReports(false);
    });
    QList<BatchReport::FolderOutcome> outcomes;
    outcomes.reserve(folders.size());
    // The folders share their parents, the simulator's folders and the
    // temporary folder: what was found there is kept from folder to folder
    // until events run, which may change anything.
    std::optional<platform::paths::LookupScope> lookups(std::in_place);
    modGlobal::EventsRan(true); // the first folder lets waiting events run
    for (qsizetype i = 0; i < folders.size(); ++i) {
        outcomes.append(validateFolder(*main, folders[i]));
        ProgressBar1->setValue(int(i + 1));
        // Both windows repaint and take clicks between folders (Exit among
        // them): after the first folder and then every few milliseconds, as
        // a repaint costs more than most folders.
        if (i == 0 || i + 1 == folders.size() || modGlobal::EventsDue()) {
            // A click meanwhile is a command of its own, outside the run's scope.
            lookups.reset();
            QCoreApplication::processEvents();
            lookups.emplace();
            modGlobal::EventsRan();
        }
        if (!self || !owner) {
            // The program is ending and took the windows with it.
            globals::gbBatchValidate = false;
            modSettings::StoreHeldPath();
            leaveLastReport(outcomes);
            if (self)
                m_running = false;
            return;
        }
        if (m_stopRequested)
            break;
    }
    lookups.reset();
    leaveLastReport(outcomes);
    m_running = false;
    globals::gbBatchValidate = false;
    modSettings::StoreHeldPath();
    folderList->holdList(false);
    main->keepBatchReports(false);
    showFolder(*main, sStartFolder);

    // A run stopped by closing the window leaves no half report behind.
    if (m_stopRequested)
        return;

    const QString path = globals::gsTempPath + BatchReport::kFileName;
    const QByteArray bytes = BatchReport::combine(root, mode, now.date, now.time, outcomes);
    if (const auto written = BatchReport::write(path, bytes); !written) {
        msgbox::MsgBox(QStringLiteral("The report file could not be written:") + msgbox::vbCrLf + path +
                           msgbox::vbCrLf + written.error,
                       msgbox::vbOKOnly | msgbox::vbCritical);
        return;
    }
    globals::gsEditFile = path;
    main->ShowTextFile(path);
}
