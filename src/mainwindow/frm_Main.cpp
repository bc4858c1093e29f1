#include "mainwindow/frm_Main.h"

#include "editing/NumberText.h"
#include "editing/frm_RightClick.h"
#include "mainwindow/GridRules.h"
#include "mainwindow/SimDetection.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "mainwindow/widgets/TickList.h"
#include "mainwindow/widgets/VbColors.h"
#include "platform/PathResolver.h"
#include "shared/AppInfo.h"
#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/RuntimeError.h"
#include "shared/modSettings.h"
#include "shared/modSystem.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <memory>

namespace {

frm_Main* g_mainWindow = nullptr;

// From the simulator detection on, start-up skips a failing step and goes on
// with the next, so one odd installation does not stop the program.
template <typename F> void skipOnError(F&& step)
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace

frm_Main* mainWindow() { return g_mainWindow; }

frm_Main::frm_Main(QWidget* parent) : QMainWindow(parent)
{
    g_mainWindow = this;
    ui.setupUi(this);
    wire();
}

frm_Main::~frm_Main()
{
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
}

void frm_Main::wire()
{
    connect(ui.Dir1, &DirList::changed, this, &frm_Main::Dir1_Change);
    connect(ui.Drive1, &DriveList::changed, this, &frm_Main::Drive1_Change);
    connect(ui.ListView1, &ListView::clicked, this, &frm_Main::ListView1_Click);
    connect(ui.ListView1, &ListView::doubleClicked, this, &frm_Main::ListView1_DblClick);
    connect(ui.ListView1, &ListView::mouseDown, this, &frm_Main::ListView1_MouseDown);
    connect(ui.StatusBar1, &StatusPanels::panelDoubleClicked, this, &frm_Main::StatusBar1_PanelDblClick);
    connect(ui.cmd_cfg_Update, &QPushButton::clicked, this, &frm_Main::cmd_cfg_Update_Click);
    connect(ui.mnuValidate, &QAction::triggered, this, &frm_Main::mnuValidate_Click);
    connect(ui.mnuCFG, &QAction::triggered, this, &frm_Main::mnuCFG_Click);

    connect(ui.txt_WingSpan_Org, &QLineEdit::textChanged, this, &frm_Main::txt_WingSpan_Org_Change);
    connect(ui.txt_WingSpan_Org_C1, &QLineEdit::textChanged, this, &frm_Main::txt_WingSpan_Org_C1_Change);
    connect(ui.txt_WingSpan_Org_C2, &QLineEdit::textChanged, this, &frm_Main::txt_WingSpan_Org_C2_Change);
    connect(ui.txt_WingSpan_New, &QLineEdit::textChanged, this, &frm_Main::txt_WingSpan_New_Change);
    connect(ui.txt_WingSpan_New_C1, &QLineEdit::textChanged, this, &frm_Main::txt_WingSpan_New_C1_Change);
    connect(ui.txt_WingSpan_New_C2, &QLineEdit::textChanged, this, &frm_Main::txt_WingSpan_New_C2_Change);
    const QList<QLineEdit*>* exits[] = {&ui.txt_Exit_0, &ui.txt_Exit_1, &ui.txt_Exit_2};
    for (int e = 0; e < 3; ++e) {
        for (QLineEdit* box : *exits[e])
            connect(box, &QLineEdit::textChanged, this, [this, e] { txt_Exit_Change(e); });
    }

    // input rules, effects and description
    connect(ui.cmd_Effect_Update, &QPushButton::clicked, this, &frm_Main::cmd_Effect_Update_Click);
    connect(rightClick(), &frm_RightClick::mnuEffectsDisable_Click, this, &frm_Main::EffectDisable);
    connect(rightClick(), &frm_RightClick::mnuEffectsDefault_Click, this, &frm_Main::EffectDefault);
    connect(rightClick(), &frm_RightClick::mnuEffectsSelect_Click, this, &frm_Main::EffectSelect);
    wireInputRules();

    // update-all commands, file assignment, aircraft-type switch
    connect(ui.cmd_Update_all_atc_airline, &QPushButton::clicked, this,
            &frm_Main::cmd_Update_all_atc_airline_Click);
    connect(ui.cmd_Update_all_atc_heavy, &QPushButton::clicked, this,
            &frm_Main::cmd_Update_all_atc_heavy_Click);
    connect(ui.cmd_Update_all_atc_model, &QPushButton::clicked, this,
            &frm_Main::cmd_Update_all_atc_model_Click);
    connect(ui.cmd_Update_all_atc_Parking_codes, &QPushButton::clicked, this,
            &frm_Main::cmd_Update_all_atc_Parking_codes_Click);
    connect(ui.cmd_Update_all_atc_Parking_types, &QPushButton::clicked, this,
            &frm_Main::cmd_Update_all_atc_Parking_types_Click);
    connect(ui.cmd_Update_all_ui_Createdby, &QPushButton::clicked, this,
            &frm_Main::cmd_Update_all_ui_Createdby_Click);
    connect(ui.cmd_Update_all_ui_Manufacturer, &QPushButton::clicked, this,
            &frm_Main::cmd_Update_all_ui_Manufacturer_Click);
    connect(ui.cmd_Update_all_ui_Typerole, &QPushButton::clicked, this,
            &frm_Main::cmd_Update_all_ui_Typerole_Click);
    connect(ui.cmd_Update_all_ui_Type, &QPushButton::clicked, this, &frm_Main::cmd_Update_all_ui_Type_Click);
    // The button follows every change of the lists' texts (code clearing a
    // list included); the handlers only set its state.
    connect(ui.combo_Texture, &QComboBox::currentTextChanged, this, &frm_Main::combo_Texture_Change);
    connect(ui.combo_Texture, &QComboBox::activated, this, &frm_Main::combo_Texture_Click);
    connect(ui.combo_Model, &QComboBox::currentTextChanged, this, &frm_Main::combo_Model_Change);
    connect(ui.combo_Model, &QComboBox::activated, this, &frm_Main::combo_Model_Click);
    connect(ui.combo_Airfile, &QComboBox::currentTextChanged, this, &frm_Main::combo_Airfile_Change);
    connect(ui.combo_Airfile, &QComboBox::activated, this, &frm_Main::combo_Airfile_Click);
    connect(ui.cmd_Associate, &QPushButton::clicked, this, &frm_Main::cmd_Associate_Click);
    connect(ui.lst_Airfile, &QListWidget::itemClicked, this, &frm_Main::lst_Airfile_Click);
    // Moving through the list with the keys picks another file as well; code
    // that fills or selects the list blocks this signal and calls the
    // handler itself where it should run.
    connect(ui.lst_Airfile, &QListWidget::currentRowChanged, this, &frm_Main::lst_Airfile_Click);
    // A click on the type already selected changes nothing: no question, no write.
    const auto typeClick = [this](QRadioButton* button, void (frm_Main::*handler)()) {
        auto wasSelected = std::make_shared<bool>(false);
        connect(button, &QRadioButton::pressed, this,
                [button, wasSelected] { *wasSelected = button->isChecked(); });
        connect(button, &QRadioButton::clicked, this, [this, handler, wasSelected] {
            if (!*wasSelected)
                (this->*handler)();
        });
    };
    typeClick(ui.opt_ac_Normal, &frm_Main::opt_ac_Normal_Click);
    typeClick(ui.opt_ac_Helicopter, &frm_Main::opt_ac_Helicopter_Click);
    typeClick(ui.opt_ac_AI, &frm_Main::opt_ac_AI_Click);

    // deleting, renumbering, sorting, removing keys, pop-up menu
    connect(ui.mnuDelKeys, &QAction::triggered, this, &frm_Main::mnuDelKeys_Click);
    connect(ui.mnuRenumber, &QAction::triggered, this, &frm_Main::FlightSimSectionRenumber);
    connect(ui.mnuSortKeys, &QAction::triggered, this, &frm_Main::DoSortKeys);
    frm_RightClick* const popups = rightClick();
    connect(popups, &frm_RightClick::mnuDelete_Click, this, &frm_Main::FlightSimSectionDelete);
    connect(popups, &frm_RightClick::mnuRenumber_Click, this, &frm_Main::FlightSimSectionRenumber);
    connect(popups, &frm_RightClick::mnuSortKeys_Click, this, &frm_Main::DoSortKeys);
    connect(popups, &frm_RightClick::mnuResize_Click, this, &frm_Main::ResizeGrid);

    // parking types and codes
    auto* parkingTicks = new TickListDelegate(ui.lstParking);
    connect(parkingTicks, &TickListDelegate::toggledByUser, this, &frm_Main::lstParking_Click);
    connect(ui.cmdDropDown, &QToolButton::clicked, this, &frm_Main::cmdDropDown_Click);
    connect(qApp, &QApplication::focusChanged, &m_parkingFocusContext, [this](QWidget* old, QWidget*) {
        if (old == ui.lstParking)
            lstParking_LostFocus();
    });
    watchBackgroundClicks(this, [this] { Form_Click(); });
    // Clicks on controls that take no focus (a tab of SSTab1, a label) leave
    // the list its focus: any click outside the open list closes it.
    watchClicksOutside(ui.lstParking, {ui.cmdDropDown}, [this] { ui.lstParking->hide(); });
    connect(ui.cmd_ParkingCodes, &QPushButton::clicked, this, &frm_Main::cmd_ParkingCodes_Click);

    // batch validation and report options
    connect(ui.mnuvalidateAll, &QAction::triggered, this, &frm_Main::mnuvalidateAll_Click);
    connect(ui.mnuAnalyzeOptions, &QAction::triggered, this, &frm_Main::mnuAnalyzeOptions_Click);

    // navigation, menus, options, tooltips, column options, resizing
    connect(ui.cmd_DirUp, &QPushButton::clicked, this, &frm_Main::cmd_DirUp_Click);
    connect(ui.combo_SimFolder, &QComboBox::activated, this, &frm_Main::combo_SimFolder_Click);
    connect(ui.opt_FS9, &QRadioButton::clicked, this, &frm_Main::opt_FS9_Click);
    connect(ui.opt_FSX, &QRadioButton::clicked, this, &frm_Main::opt_FSX_Click);
    connect(ui.mnuConfirm, &QAction::triggered, this, &frm_Main::mnuConfirm_Click);
    connect(ui.mnuAutoBackup, &QAction::triggered, this, &frm_Main::mnuAutoBackup_Click);
    connect(ui.mnu_AutoUpdate, &QAction::triggered, this, &frm_Main::mnu_AutoUpdate_Click);
    connect(ui.mnuResizable, &QAction::triggered, this, &frm_Main::mnuResizable_Click);
    connect(ui.mnuRememberLastPath, &QAction::triggered, this, &frm_Main::mnuRememberLastPath_Click);
    connect(ui.mnuToolTips, &QAction::triggered, this, &frm_Main::mnuToolTips_Click);
    connect(ui.mnuEditor, &QAction::triggered, this, &frm_Main::mnuEditor_Click);
    connect(ui.mnuQuit, &QAction::triggered, this, &frm_Main::mnuQuit_Click);
    connect(ui.mnu_Manual, &QAction::triggered, this, &frm_Main::mnu_Manual_Click);
    connect(ui.mnuDataGrid, &QAction::triggered, this, &frm_Main::mnuDataGrid_Click);
    connect(ui.StatusBar1, &StatusPanels::mouseMoved, this, &frm_Main::StatusBar1_MouseMove);

    // program information and update check
    connect(ui.mnuAboutProg, &QAction::triggered, this, &frm_Main::mnuAboutProg_Click);
    connect(ui.mnu_AppUpdate, &QAction::triggered, this, &frm_Main::mnu_AppUpdate_Click);
    connect(ui.Zib[1], &QAction::triggered, this, [this] { Zib_Click(1); });
}

QString frm_Main::folderPath() const { return ui.Dir1->path(); }

frm_RightClick* frm_Main::rightClick()
{
    if (!m_rightClick)
        m_rightClick = new frm_RightClick(this);
    return m_rightClick;
}

bool frm_Main::readSwitchInto(QAction* item, const QString& key)
{
    const std::optional<bool> on = modSettings::GetSwitch(key);
    if (!on)
        throw runtimeerror::RuntimeError(runtimeerror::kTypeMismatch);
    item->setChecked(*on);
    return *on;
}

void frm_Main::Form_Load()
{
    // The temporary folder is checked once here; a refused one is told now
    // and again by every command that would write into it.
    const modSystem::TempFolder temp = modSystem::PrivateTempFolder();
    globals::gsTempPath = temp.path;
    globals::gsTempPathError = temp.error;

    const bool started = runtimeerror::runHandler(QStringLiteral("Form_Load"), [this] {
        sRegPrefix = SimDetection::registryPrefix(modSystem::Is64BitOS());
        globals::gsAnalyzeOptions = modSettings::LoadAnalyzeOptions();
        readSwitchInto(ui.mnuToolTips, QStringLiteral("ToolTips"));
        readSwitchInto(ui.mnuRememberLastPath, QStringLiteral("IsMerrow"));
        globals::gbRememberPath = ui.mnuRememberLastPath->isChecked();
        globals::gbToolTips = ui.mnuToolTips->isChecked();
        globals::gsAnalyzeFlags = modSettings::SplitFlags(globals::gsAnalyzeOptions);
        globals::giEditorMode = 0;
        bLoading = true;
        globals::gbBatchValidate = false;

        // Balloon tooltips, or no help texts at all (labels keep theirs). The
        // status bar's panel explanations go into its balloon as the mouse moves.
        hTip = balloontips::SetUpToolTips(this, globals::gbToolTips);
        ui.StatusBar1->setTagTipsEnabled(globals::gbToolTips && !hTip);
        setWindowTitle(QStringLiteral("   Fernquill V.") + appinfo::versionText() + QStringLiteral("  -  ") +
                       appinfo::captionNotice());
    });
    if (!started)
        return;

    skipOnError([this] { applySimulators(); });
    skipOnError([this] { setupGridColumns(); });
    sDecimalSep = numbertext::GetDecimalSeparator();
    skipOnError([this] {
        ui.lstParking->hide();
        ui.lstParking->clear();
        for (const char* type : {"CARGO", "DOCK", "GATE", "MIL_CARGO", "MIL_COMBAT", "RAMP"}) {
            auto* item = new QListWidgetItem(QString::fromLatin1(type), ui.lstParking);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    });
    skipOnError([this] { applyStartupOptions(); });
    skipOnError([this] { openStartFolder(); });
    bAirReady = true;
    ui.SSTab1->setCurrentIndex(0);
    skipOnError([this] { findManual(); });
    // A build without the maker's address has no web site to visit.
    ui.Zib[1]->setEnabled(!appinfo::downloadPageUrl().isEmpty());
    if (!temp.error.isEmpty())
        msgbox::MsgBox(temp.error + msgbox::vbCrLf + msgbox::vbCrLf +
                           QStringLiteral("Validation reports cannot be written until it is removed or put right."),
                       msgbox::vbOKOnly | msgbox::vbExclamation);
}

void frm_Main::applySimulators()
{
    const SimDetection::Result r = SimDetection::detect(sRegPrefix);
    const QColor white = paletteWhite();

    if (!r.fsx.found) {
        ui.combo_SimFolder->setEnabled(false);
        SetStatusPanel(5, QStringLiteral("n/a"), paletteRed(), white);
        SetStatusPanel(6, QStringLiteral("ATC"), paletteRed(), white);
        globals::gbAirlinesFSXFound = false;
    } else {
        SetStatusPanel(5, QStringLiteral("found"), paletteGreen(), white);
        globals::gbAirlinesFSXFound = r.fsx.airlinesFound;
        if (r.fsx.airlinesFound) {
            globals::gsAirlinesFSXPath = r.fsx.airlinesPath;
            globals::gsAirlinesFSX = r.fsx.airlines;
        }
        SetStatusPanel(6, QStringLiteral("ATC"), r.fsx.airlinesFound ? paletteGreen() : paletteRed(), white);
        sFSXSimObjectsPath = r.fsx.aircraftPath;
        globals::gsEffectsFSXPath = r.fsx.effectsPath;
        ui.opt_FSX->setEnabled(true);
        ui.opt_FSX->setChecked(true);
        ui.combo_SimFolder->clear();
        ui.combo_SimFolder->addItems(r.simFolderItems);
        ui.combo_SimFolder->setCurrentIndex(-1);
        sSimFolders = r.simFolders;
        // Usable only while it has something to pick.
        ui.combo_SimFolder->setEnabled(r.simFolderListEnabled);
        sFsxCfgPath = r.fsxCfgPath;
        if (r.fsxCfgFound) {
            oIniFsx.setPath(r.fsxCfgPath);
            oIniFsx.setSection(QStringLiteral("Main"));
        }
    }

    ui.StatusBar1->setPanelText(2, QString());
    if (r.fs9.found) {
        SetStatusPanel(2, QStringLiteral("found"), paletteGreen(), white);
        sFS9AircraftPath = r.fs9.aircraftPath;
        globals::gsEffectsFS9Path = r.fs9.effectsPath;
        globals::gbAirlinesFS9Found = r.fs9.airlinesFound;
        if (r.fs9.airlinesFound) {
            globals::gsAirlinesFS9Path = r.fs9.airlinesPath;
            globals::gsAirlinesFS9 = r.fs9.airlines;
        }
        SetStatusPanel(3, QStringLiteral("ATC"), r.fs9.airlinesFound ? paletteGreen() : paletteRed(), white);
        ui.opt_FS9->setEnabled(true);
        if (sFSXSimObjectsPath.isEmpty())
            ui.opt_FS9->setChecked(true);
    } else {
        SetStatusPanel(2, QStringLiteral("n/a"), paletteRed(), white);
        globals::gbAirlinesFS9Found = false;
        SetStatusPanel(3, QStringLiteral("ATC"), paletteRed(), white);
    }
}

void frm_Main::setupGridColumns()
{
    // The column widths follow the grid's width as the window is laid out.
    // A window that is not shown yet has not laid its controls out: do it now
    // for the window's size.
    if (layout())
        layout()->activate();
    if (centralWidget() && centralWidget()->layout())
        centralWidget()->layout()->activate();
    ui.ListView1->setDesignedColumnWidths(ui.ListView1->width());
}

void frm_Main::applyStartupOptions()
{
    // One option at a time: a stored value that is no number leaves its menu
    // item as designed, the flag follows the item, and the options after it
    // are still read.
    const auto option = [this](QAction* item, const QString& key) {
        skipOnError([&] { readSwitchInto(item, key); });
        return item->isChecked();
    };
    bAutoBackup = option(ui.mnuAutoBackup, QStringLiteral("AutoBackup"));
    bConfirm = option(ui.mnuConfirm, QStringLiteral("Update"));
    globals::gbUseEditor = option(ui.mnuEditor, QStringLiteral("Editor"));
    bResizable = option(ui.mnuResizable, QStringLiteral("Resizeable"));
    applyResizableStyle();

    globals::gsDataGrid = modSettings::GetSetting(QStringLiteral("DataGrid"),
                                                  modSettings::DefaultFor(QStringLiteral("DataGrid")));
    for (int column : GridRules::hiddenColumns(globals::gsDataGrid))
        ui.ListView1->setColumnWidth(column, 0);
}

void frm_Main::openStartFolder()
{
    const QString path = globals::gbRememberPath ? modSettings::GetSetting(QStringLiteral("Path"), QString())
                                                 : QCoreApplication::applicationDirPath();
    bLoading = path.size() > 3;
    if (path.isEmpty())
        return;
    ui.Drive1->setDrive(path);
    bLoading = false;
    if (ui.Dir1->path() == QDir::cleanPath(path))
        Dir1_Change(); // already there: the list raises no change of its own
    else
        ui.Dir1->setPath(path);
}

void frm_Main::findManual()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString name = QStringLiteral("Fernquill-Readme.pdf");
    // Beside the program, in its "Manuals" folder, or (installed) in the data folder.
    const QString folders[] = {appDir, platform::paths::resolveUnder(appDir, u"Manuals"),
                               appinfo::installedDataFolder()};
    for (const QString& folder : folders) {
        const QString file = folder.isEmpty() ? QString() : platform::paths::resolveUnder(folder, name);
        if (file.isEmpty() || !platform::paths::regularFileExists(file))
            continue;
        sManualFile = file;
        // Asking the desktop for its PDF program starts a process: done when
        // the Help menu first opens, not while the window starts.
        connect(
            ui.mnuAbout, &QMenu::aboutToShow, this, [this, folder] { ManualAttach(folder); },
            Qt::SingleShotConnection);
        return;
    }
    ui.mnu_Manual->setEnabled(false);
}

void frm_Main::ManualAttach(const QString&)
{
    // The manual opens in the desktop's program for PDF files; with none
    // registered the menu item could do nothing.
    if (modSystem::DefaultProgramFor(QStringLiteral("application/pdf")).isEmpty())
        ui.mnu_Manual->setEnabled(false);
}

void frm_Main::RunChange() { Dir1_Change(); }

void frm_Main::CheckIfExistInCombo(QComboBox* combo, const QString& value, bool& found)
{
    found = false;
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == value) {
            found = true;
            return;
        }
    }
}

void frm_Main::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program: every other window goes too,
    // unless one of them keeps the user's unsaved work (its question was
    // answered with Cancel).
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible() && !w->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
    QCoreApplication::quit();
}
