#include "mainwindow/frm_MainUi.h"

#include "mainwindow/MainUiBuild.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/ProportionalResize.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace mainui;

namespace {

constexpr int kNavigationWidth = 230;
constexpr int kGridHeight = 250;

// Keeps the parking-type list floating right under its drop-down frame while it
// is shown, above whatever lies there.
class DropDownPlacer : public QObject
{
public:
    DropDownPlacer(QListWidget* list, QWidget* anchor, QWidget* client)
        : QObject(list), m_list(list), m_anchor(anchor), m_client(client)
    {
        list->installEventFilter(this);
        client->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool shown = watched == m_list && event->type() == QEvent::Show;
        const bool moved = watched == m_client && event->type() == QEvent::Resize && m_list->isVisible();
        if (shown || moved)
            place();
        return false;
    }

private:
    void place()
    {
        const int rows = std::max(1, m_list->count());
        int rowHeight = m_list->sizeHintForRow(0);
        if (rowHeight <= 0)
            rowHeight = m_list->fontMetrics().height() + 4;
        const int height = rows * rowHeight + 2 * m_list->frameWidth();
        const QPoint topLeft = m_anchor->mapTo(m_client, QPoint(0, m_anchor->height()));
        m_list->setGeometry(topLeft.x(), topLeft.y(), m_anchor->width(), height);
        m_list->raise();
    }

    QListWidget* m_list;
    QWidget* m_anchor;
    QWidget* m_client;
};

QAction* menuItem(QMenu* menu, const QString& name, const QString& caption, bool checkable = false)
{
    QAction* action = named(menu->addAction(caption), name);
    action->setCheckable(checkable);
    return action;
}

QAction* separator(QMenu* menu, const QString& name)
{
    return named(menu->addSeparator(), name);
}

QMenu* topMenu(QMenuBar* bar, const QString& name, const QString& caption)
{
    return named(bar->addMenu(caption), name);
}

} // namespace

void clearOptionButton(QRadioButton* button)
{
    if (!button || !button->isChecked())
        return;
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(exclusive);
}

void frm_MainUi::clearAircraftTypeOptions()
{
    for (QRadioButton* button : {opt_ac_Normal, opt_ac_Helicopter, opt_ac_AI, opt_ac_Nok})
        clearOptionButton(button);
}

void frm_MainUi::setupUi(QMainWindow* window)
{
    window->setObjectName(QStringLiteral("frm_Main"));
    window->setWindowTitle(QStringLiteral("Fernquill"));

    auto* client = new QWidget(window);
    client->setObjectName(QStringLiteral("frm_Main_client"));
    auto* columns = new QHBoxLayout(client);
    columns->setContentsMargins(6, 6, 6, 6);
    columns->setSpacing(8);

    auto* navigation = new QWidget(client);
    navigation->setObjectName(QStringLiteral("frm_Main_navigation"));
    navigation->setFixedWidth(kNavigationWidth);
    setupNavigation(navigation);
    columns->addWidget(navigation);

    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    ListView1 = new ListView(client);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setMinimumHeight(120);
    ListView1->resize(ListView1->width(), kGridHeight);
    right->addWidget(ListView1, 1);

    SSTab1 = new QTabWidget(client);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(setupEntryPage(), QStringLiteral("[fltsim.x] entry"));
    SSTab1->addTab(setupEffectsPage(), QStringLiteral("Effects and description"));
    SSTab1->addTab(setupValuesPage(), QStringLiteral("Exits, wing span, general"));
    SSTab1->addTab(setupFilesPage(), QStringLiteral("Texture, model, air file"));
    SSTab1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // Nothing to edit until a folder with entries is loaded.
    SSTab1->setEnabled(false);
    right->addWidget(SSTab1, 0);
    columns->addLayout(right, 1);

    window->setCentralWidget(client);

    // The parking-type drop-down list floats over the editor when open.
    lstParking = new QListWidget(client);
    lstParking->setObjectName(QStringLiteral("lstParking"));
    lstParking->setFrameShape(QFrame::Box);
    lstParking->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const char* type : {"CARGO", "DOCK", "GATE", "MIL_CARGO", "MIL_COMBAT", "RAMP"}) {
        auto* item = new QListWidgetItem(QString::fromLatin1(type), lstParking);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    lstParking->hide();
    new DropDownPlacer(lstParking, picCombo, client);

    StatusBar1 = new StatusPanels(window);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    window->setStatusBar(StatusBar1);

    setupMenus(window);
    modGlobal::ReserveCaptionRoom(window, kSmallestScale, kLargestScale);
    window->resize(1100, 760);
    SSTab1->setCurrentIndex(0);
}

void frm_MainUi::setupNavigation(QWidget* parent)
{
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    Drive1 = new DriveList(parent);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    layout->addWidget(Drive1);

    Dir1 = new DirList(parent);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    layout->addWidget(Dir1, 1);

    cmd_DirUp =
        button(parent, QStringLiteral("cmd_DirUp"), QStringLiteral("Upwards"),
               QStringLiteral("This button is only enabled when the currently selected folder is an "
                              "aircraft folder. By clicking on this button the folder view will move one "
                              "level upwards, and the last folder will be automatically pre-selected.  "
                              "This way you don't have to scroll constantly in long folder lists."));
    cmd_DirUp->setEnabled(false);
    layout->addWidget(cmd_DirUp);

    auto* simulators = new QGroupBox(QStringLiteral("Flight simulator"), parent);
    simulators->setObjectName(QStringLiteral("fra_Simulator"));
    auto* simLayout = new QVBoxLayout(simulators);
    auto* options = new QHBoxLayout;
    opt_FS9 = option(simulators, QStringLiteral("opt_FS9"), QStringLiteral("FS9"),
                     QStringLiteral("Select your '..\\<FS9-Dir>\\Aircraft' folder"));
    opt_FSX = option(simulators, QStringLiteral("opt_FSX"), QStringLiteral("FSX"),
                     QStringLiteral("Select your '..\\< FSX-Dir>\\SimObjects' folder"));
    opt_FS9->setEnabled(false);
    opt_FSX->setEnabled(false);
    options->addWidget(opt_FS9);
    options->addWidget(opt_FSX);
    options->addStretch(1);
    simLayout->addLayout(options);
    combo_SimFolder = new QComboBox(simulators);
    combo_SimFolder->setObjectName(QStringLiteral("combo_SimFolder"));
    combo_SimFolder->setToolTip(QStringLiteral("Lists all SimObjectPaths.x entries in your FSX.CFG. Select a "
                                               "path entry to quick jump to the respective folder"));
    combo_SimFolder->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo_SimFolder->setMinimumContentsLength(10);
    simLayout->addWidget(combo_SimFolder);
    layout->addWidget(simulators);
}

void frm_MainUi::setupMenus(QMainWindow* window)
{
    QMenuBar* bar = window->menuBar();
    bar->setObjectName(QStringLiteral("frm_Main_menuBar"));

    mnuFile = topMenu(bar, QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuCFG = menuItem(mnuFile, QStringLiteral("mnuCFG"), QStringLiteral("&Open CFG File"));
    mnuSep1 = separator(mnuFile, QStringLiteral("mnuSep1"));
    mnuQuit = menuItem(mnuFile, QStringLiteral("mnuQuit"), QStringLiteral("&Quit"));

    mnuSettings = topMenu(bar, QStringLiteral("mnuSettings"), QStringLiteral("&Settings"));
    mnuConfirm = menuItem(mnuSettings, QStringLiteral("mnuConfirm"),
                          QStringLiteral("&Confirm 'aircraft.cfg' Updates"), true);
    mnuAutoBackup = menuItem(mnuSettings, QStringLiteral("mnuAutoBackup"),
                             QStringLiteral("&Auto Backup 'aircraft.cfg'"), true);
    line1 = separator(mnuSettings, QStringLiteral("line1"));
    mnu_AutoUpdate =
        menuItem(mnuSettings, QStringLiteral("mnu_AutoUpdate"), QStringLiteral("Auto &Update Check"), true);
    mnuResizable =
        menuItem(mnuSettings, QStringLiteral("mnuResizable"), QStringLiteral("Program &Resizable"), true);
    mnuRememberLastPath = menuItem(mnuSettings, QStringLiteral("mnuRememberLastPath"),
                                   QStringLiteral("Remember last aircraft folder"), true);
    mnuToolTips = menuItem(mnuSettings, QStringLiteral("mnuToolTips"),
                           QStringLiteral("Show Toolt&ips (after next start)"), true);
    mnuEditor =
        menuItem(mnuSettings, QStringLiteral("mnuEditor"), QStringLiteral("Use internal &Editor"), true);
    line2 = separator(mnuSettings, QStringLiteral("line2"));
    mnuAnalyzeOptions = menuItem(mnuSettings, QStringLiteral("mnuAnalyzeOptions"),
                                 QStringLiteral("&Validation Report Options..."));
    mnuDataGrid = menuItem(mnuSettings, QStringLiteral("mnuDataGrid"),
                           QStringLiteral("Configure Data Grid &Columns..."));

    mnuTools = topMenu(bar, QStringLiteral("mnuTools"), QStringLiteral("&Tools"));
    mnuDelKeys = menuItem(mnuTools, QStringLiteral("mnuDelKeys"), QStringLiteral("&Delete keys..."));
    mnuRenumber = menuItem(mnuTools, QStringLiteral("mnuRenumber"), QStringLiteral("Renumber sections"));
    mnuSortKeys =
        menuItem(mnuTools, QStringLiteral("mnuSortKeys"), QStringLiteral("&Sort all [fltsim.x] keys"));
    mnuValidate = menuItem(mnuTools, QStringLiteral("mnuValidate"), QStringLiteral("&Validate aircraft"));
    line3 = separator(mnuTools, QStringLiteral("line3"));
    mnuvalidateAll = menuItem(mnuTools, QStringLiteral("mnuvalidateAll"),
                              QStringLiteral("Vali&date all aircraft below..."));

    mnuAbout = topMenu(bar, QStringLiteral("mnuAbout"), QStringLiteral("&Help"));
    mnu_Manual = menuItem(mnuAbout, QStringLiteral("mnu_Manual"), QStringLiteral("Open &Manual..."));
    mnuSep5 = separator(mnuAbout, QStringLiteral("mnuSep5"));
    Zib[1] =
        menuItem(mnuAbout, arrayName(QStringLiteral("Zib"), 1), QStringLiteral("&Visit 'Brackenhold' web"));
    mnu_AppUpdate =
        menuItem(mnuAbout, QStringLiteral("mnu_AppUpdate"), QStringLiteral("&Check for Update..."));
    mnuSep2 = separator(mnuAbout, QStringLiteral("mnuSep2"));
    mnuAboutProg = menuItem(mnuAbout, QStringLiteral("mnuAboutProg"), QStringLiteral("A&bout Fernquill..."));
}
