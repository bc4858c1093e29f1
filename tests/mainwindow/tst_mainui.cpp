#include "editing/frm_RightClick.h"
#include "mainwindow/frm_MainUi.h"
#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "mainwindow/widgets/VbColors.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

// The main window's controls: names, kinds, captions, tooltips, designed
// states, the menu tree, the layout at the designed size, and the pop-up menus.
class tst_MainUi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void controlExistsOnce_data();
    void controlExistsOnce();
    void namesAreUnique();
    void controlArrays();
    void captions_data();
    void captions();
    void tooltips_data();
    void tooltips();
    void updateAllButtons_data();
    void updateAllButtons();
    void designedStates_data();
    void designedStates();
    void menuTree_data();
    void menuTree();
    void menuToggles();
    void aircraftTypeCanBeCleared();
    void parkingDropDownFloatsUnderItsFrame();
    void layoutIsTidyAtDesignedSize_data();
    void layoutIsTidyAtDesignedSize();
    void exitTicksIgnoreTheMouse();

    void rightClickMenus_data();
    void rightClickMenus();

    void grabForReview();

private:
    QObject* find(const QString& name) const;

    std::unique_ptr<QMainWindow> m_window;
    frm_MainUi m_ui;
};

void tst_MainUi::initTestCase()
{
    m_window = std::make_unique<QMainWindow>();
    m_ui.setupUi(m_window.get());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_MainUi::cleanupTestCase()
{
    m_window.reset();
}

QObject* tst_MainUi::find(const QString& name) const
{
    return m_window->findChild<QObject*>(name);
}

void tst_MainUi::controlExistsOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QObject*>("member");

    const frm_MainUi& u = m_ui;
    const auto row = [](const QString& name, const char* kind, QObject* member) {
        QTest::newRow(qPrintable(name)) << name << QString::fromLatin1(kind) << member;
    };
#define FQ_ROW(member, kind) row(QStringLiteral(#member), kind, u.member)
    FQ_ROW(Drive1, "DriveList");
    FQ_ROW(Dir1, "DirList");
    FQ_ROW(cmd_DirUp, "QPushButton");
    FQ_ROW(opt_FS9, "QRadioButton");
    FQ_ROW(opt_FSX, "QRadioButton");
    FQ_ROW(combo_SimFolder, "QComboBox");
    FQ_ROW(ListView1, "ListView");
    FQ_ROW(SSTab1, "QTabWidget");
    FQ_ROW(StatusBar1, "StatusPanels");
    FQ_ROW(txt_Title, "QLineEdit");
    FQ_ROW(picCombo, "QFrame");
    FQ_ROW(lblSelections, "QLabel");
    FQ_ROW(cmdDropDown, "QToolButton");
    FQ_ROW(lstParking, "QListWidget");
    FQ_ROW(txt_atc_ParkingCodes, "QLineEdit");
    FQ_ROW(cmd_ParkingCodes, "QPushButton");
    FQ_ROW(txt_ui_CreatedBy, "QLineEdit");
    FQ_ROW(txt_ui_TypeRole, "QLineEdit");
    FQ_ROW(txt_ui_Manufacturer, "QLineEdit");
    FQ_ROW(txt_ui_Type, "QLineEdit");
    FQ_ROW(txt_ui_Variation, "QLineEdit");
    FQ_ROW(txt_atc_Id, "QLineEdit");
    FQ_ROW(txt_atc_Flight_Number, "QLineEdit");
    FQ_ROW(txt_atc_Airline, "QLineEdit");
    FQ_ROW(chk_atc_heavy, "QCheckBox");
    FQ_ROW(txt_atc_Model, "QLineEdit");
    FQ_ROW(txt_FSXVersion, "QLineEdit");
    FQ_ROW(txt_FS9Radius, "QLineEdit");
    FQ_ROW(cmd_cfg_Update, "QPushButton");
    FQ_ROW(txt_Description, "DescriptionEdit");
    FQ_ROW(cmd_Effect_Update, "QPushButton");
    FQ_ROW(chk_Exit_0, "QCheckBox");
    FQ_ROW(chk_Exit_1, "QCheckBox");
    FQ_ROW(chk_Exit_2, "QCheckBox");
    FQ_ROW(txt_Jetways, "QLineEdit");
    FQ_ROW(txt_WingSpan_Org, "QLineEdit");
    FQ_ROW(txt_WingSpan_Org_C1, "QLineEdit");
    FQ_ROW(txt_WingSpan_Org_C2, "QLineEdit");
    FQ_ROW(txt_FSX_Spot_Org, "QLineEdit");
    FQ_ROW(txt_WingSpan_New, "QLineEdit");
    FQ_ROW(txt_WingSpan_New_C1, "QLineEdit");
    FQ_ROW(txt_WingSpan_New_C2, "QLineEdit");
    FQ_ROW(txt_FSX_Spot_New, "QLineEdit");
    FQ_ROW(txt_general_atc_model, "QLineEdit");
    FQ_ROW(txt_general_atc_type, "QLineEdit");
    FQ_ROW(combo_Texture, "QComboBox");
    FQ_ROW(combo_Model, "QComboBox");
    FQ_ROW(combo_Airfile, "QComboBox");
    FQ_ROW(txt_CurrentTexture, "QLineEdit");
    FQ_ROW(txt_CurrentModel, "QLineEdit");
    FQ_ROW(txt_CurrentAirfile, "QLineEdit");
    FQ_ROW(cmd_Associate, "QPushButton");
    FQ_ROW(fra_AirType, "QGroupBox");
    FQ_ROW(lst_Airfile, "QListWidget");
    FQ_ROW(opt_ac_Normal, "QRadioButton");
    FQ_ROW(opt_ac_Helicopter, "QRadioButton");
    FQ_ROW(opt_ac_AI, "QRadioButton");
    FQ_ROW(opt_ac_Nok, "QRadioButton");
    for (const char* name :
         {"cmd_Update_all_atc_Parking_types", "cmd_Update_all_atc_Parking_codes",
          "cmd_Update_all_ui_Createdby", "cmd_Update_all_ui_Typerole", "cmd_Update_all_ui_Manufacturer",
          "cmd_Update_all_ui_Type", "cmd_Update_all_atc_airline", "cmd_Update_all_atc_heavy",
          "cmd_Update_all_atc_model"})
        row(QString::fromLatin1(name), "QPushButton", nullptr);
    FQ_ROW(mnuFile, "QMenu");
    FQ_ROW(mnuSettings, "QMenu");
    FQ_ROW(mnuTools, "QMenu");
    FQ_ROW(mnuAbout, "QMenu");
    FQ_ROW(mnuCFG, "QAction");
    FQ_ROW(mnuSep1, "QAction");
    FQ_ROW(mnuQuit, "QAction");
    FQ_ROW(mnuConfirm, "QAction");
    FQ_ROW(mnuAutoBackup, "QAction");
    FQ_ROW(line1, "QAction");
    FQ_ROW(mnu_AutoUpdate, "QAction");
    FQ_ROW(mnuResizable, "QAction");
    FQ_ROW(mnuRememberLastPath, "QAction");
    FQ_ROW(mnuToolTips, "QAction");
    FQ_ROW(mnuEditor, "QAction");
    FQ_ROW(line2, "QAction");
    FQ_ROW(mnuAnalyzeOptions, "QAction");
    FQ_ROW(mnuDataGrid, "QAction");
    FQ_ROW(mnuDelKeys, "QAction");
    FQ_ROW(mnuRenumber, "QAction");
    FQ_ROW(mnuSortKeys, "QAction");
    FQ_ROW(mnuValidate, "QAction");
    FQ_ROW(line3, "QAction");
    FQ_ROW(mnuvalidateAll, "QAction");
    FQ_ROW(mnu_Manual, "QAction");
    FQ_ROW(mnuSep5, "QAction");
    FQ_ROW(mnu_AppUpdate, "QAction");
    FQ_ROW(mnuSep2, "QAction");
    FQ_ROW(mnuAboutProg, "QAction");
#undef FQ_ROW
    row(QStringLiteral("Zib[1]"), "QAction", u.Zib.value(1));
    for (int i = 0; i < 5; ++i) {
        for (int exit = 0; exit < 3; ++exit) {
            const QList<QLineEdit*>& boxes = exit == 0   ? u.txt_Exit_0
                                             : exit == 1 ? u.txt_Exit_1
                                                         : u.txt_Exit_2;
            row(QStringLiteral("txt_Exit_%1[%2]").arg(exit).arg(i), "QLineEdit", boxes.value(i));
        }
    }
    for (int i = 0; i < 11; ++i) {
        row(QStringLiteral("txt_effects[%1]").arg(i), "QLineEdit", u.txt_effects.value(i));
        row(QStringLiteral("chk_Effect[%1]").arg(i), "QCheckBox", u.chk_Effect.value(i));
        row(QStringLiteral("Label20[%1]").arg(i), "QLabel", u.Label20.value(i));
    }
}

void tst_MainUi::controlExistsOnce()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QObject*, member);

    const QList<QObject*> found = m_window->findChildren<QObject*>(name);
    QCOMPARE(found.size(), 1);
    QVERIFY2(found.first()->inherits(qPrintable(kind)), found.first()->metaObject()->className());
    if (member)
        QCOMPARE(found.first(), member);
}

void tst_MainUi::namesAreUnique()
{
    QHash<QString, int> seen;
    for (QObject* object : m_window->findChildren<QObject*>()) {
        const QString name = object->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            ++seen[name];
    }
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        QVERIFY2(it.value() == 1, qPrintable(it.key()));
    QCOMPARE(m_window->objectName(), QStringLiteral("frm_Main"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Fernquill"));
}

void tst_MainUi::controlArrays()
{
    QCOMPARE(m_ui.txt_Exit_0.size(), 5);
    QCOMPARE(m_ui.txt_Exit_1.size(), 5);
    QCOMPARE(m_ui.txt_Exit_2.size(), 5);
    QCOMPARE(m_ui.txt_effects.size(), 11);
    QCOMPARE(m_ui.chk_Effect.size(), 11);
    QCOMPARE(m_ui.Label20.size(), 11);
    const QStringList keys = {
        "wake",    "water",        "dirt",         "concrete",         "touchdown",       "contrail",
        "startup", "vaportrail_l", "vaportrail_r", "l_wingtipvortice", "r_wingtipvortice"};
    for (int slot = 0; slot < 11; ++slot) {
        QCOMPARE(m_ui.Label20.at(slot)->text(), keys.at(slot));
        QCOMPARE(m_ui.chk_Effect.at(slot)->text(), QStringLiteral("1-time"));
        QCOMPARE(m_ui.chk_Effect.at(slot)->toolTip(), QStringLiteral("Effect runs only once"));
    }
    QCOMPARE(m_ui.Zib.keys(), QList<int>{1});
}

void tst_MainUi::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const auto row = [](const char* name, const QString& caption) {
        QTest::newRow(name) << QString::fromLatin1(name) << caption;
    };
    row("cmd_DirUp", QStringLiteral("Upwards"));
    row("opt_FS9", QStringLiteral("FS9"));
    row("opt_FSX", QStringLiteral("FSX"));
    row("cmd_ParkingCodes", QStringLiteral("!"));
    row("cmd_cfg_Update", QStringLiteral("&1. Update"));
    row("cmd_Effect_Update", QStringLiteral("&2. Update"));
    row("cmd_Associate", QStringLiteral("&3. Update"));
    row("fra_AirType", QStringLiteral("Aircraft type (.air)"));
    row("opt_ac_Normal", QStringLiteral("Normal (0)"));
    row("opt_ac_Helicopter", QStringLiteral("Helicopter (1)"));
    row("opt_ac_AI", QStringLiteral("AI (2)"));
    row("opt_ac_Nok", QStringLiteral("n/a"));
    row("lbl_WingSpanNew", QStringLiteral("new wing_span (ft), convert to m, div by 2, spot size"));
    row("lbl_EffectsHint",
        QStringLiteral(
            "Right-clicking on the effect text fields will brings up a menu with additional options"));
    row("lblSelections", QString());
    row("cmdDropDown", QString());
}

// The visible text of any kind of captioned control.
static QString captionOf(QObject* object)
{
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(object))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(object))
        return group->title();
    if (auto* action = qobject_cast<QAction*>(object))
        return action->text();
    if (auto* menu = qobject_cast<QMenu*>(object))
        return menu->title();
    return QStringLiteral("<no caption>");
}

void tst_MainUi::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QCOMPARE(captionOf(find(name)), caption);
}

void tst_MainUi::tooltips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip");
    const auto row = [](const char* name, const QString& tip) {
        QTest::newRow(name) << QString::fromLatin1(name) << tip;
    };
    row("cmd_DirUp",
        QStringLiteral("This button is only enabled when the currently selected folder is an aircraft "
                       "folder. By clicking on this button the folder view will move one level upwards, "
                       "and the last folder will be automatically pre-selected.  This way you don't have "
                       "to scroll constantly in long folder lists."));
    row("opt_FS9", QStringLiteral("Select your '..\\<FS9-Dir>\\Aircraft' folder"));
    row("opt_FSX", QStringLiteral("Select your '..\\< FSX-Dir>\\SimObjects' folder"));
    row("combo_SimFolder",
        QStringLiteral("Lists all SimObjectPaths.x entries in your FSX.CFG. Select a path entry "
                       "to quick jump to the respective folder"));
    row("cmd_ParkingCodes", QStringLiteral("Select the parking codes from a list in an separate dialog"));
    row("picCombo",
        QStringLiteral("This represents the 'atc_parking_types=' entry in the current [fltsim.x] section"));
    row("lblSelections",
        QStringLiteral("This represents the 'atc_parking_types=' entry in the current [fltsim.x] section"));
    row("txt_atc_ParkingCodes",
        QStringLiteral("This represents the 'atc_parking_codes=' entry in the current [fltsim.x] section"));
    row("txt_WingSpan_Org_C2",
        QStringLiteral("Current wing_span value converted to meter && devided by two [read-only]."));
    row("txt_FSX_Spot_Org",
        QStringLiteral("This is how big an FSX parking spot must be to host the aircraft  for "
                       "the current wing_span value [read-only]."));
    row("txt_WingSpan_New", QStringLiteral("Enter new wing_span value here"));
    row("chk_Exit_1", QStringLiteral("All Exit.1 values defined, a jetway is possible [read-only]"));
    row("txt_effects[0]", QStringLiteral("Assigned 'Wake' effect"));
    row("combo_Airfile",
        QStringLiteral("Lists all available airfiles ('*.air') in the current aircraft folder"));
    row("txt_CurrentAirfile", QStringLiteral("Assigned airfile ('*.air') for selected [fltsim.x] section"));
    row("lst_Airfile", QStringLiteral("List all airfiles ('*.air') in the selected aircraft folder"));
    row("cmd_Associate",
        QStringLiteral("Update the selected [fltsim.x] section with chosen texture, model and airfile"));
    row("opt_ac_AI",
        QStringLiteral("Set aircraft type to 'AI' - the aircraft is not visible in your FS9 aircraft "
                       "selection menu"));
    row("opt_ac_Nok",
        QStringLiteral("There is no aircraft section (105) in your airfile ('*.air') - it is most "
                       "likely an FSX aircraft"));
}

void tst_MainUi::tooltips()
{
    QFETCH(QString, name);
    QFETCH(QString, tip);
    auto* widget = qobject_cast<QWidget*>(find(name));
    QVERIFY(widget);
    QCOMPARE(widget->toolTip(), tip);
}

void tst_MainUi::updateAllButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("field");
    QTest::newRow("airline") << "cmd_Update_all_atc_airline"
                             << "atc_airline"
                             << "txt_atc_Airline";
    QTest::newRow("heavy") << "cmd_Update_all_atc_heavy"
                           << "atc_heavy"
                           << "chk_atc_heavy";
    QTest::newRow("model") << "cmd_Update_all_atc_model"
                           << "atc_model"
                           << "txt_atc_Model";
    QTest::newRow("codes") << "cmd_Update_all_atc_Parking_codes"
                           << "atc_parking_codes"
                           << "txt_atc_ParkingCodes";
    QTest::newRow("types") << "cmd_Update_all_atc_Parking_types"
                           << "atc_parking_types"
                           << "picCombo";
    QTest::newRow("createdby") << "cmd_Update_all_ui_Createdby"
                               << "ui_createdby"
                               << "txt_ui_CreatedBy";
    QTest::newRow("manufacturer") << "cmd_Update_all_ui_Manufacturer"
                                  << "ui_manufacturer"
                                  << "txt_ui_Manufacturer";
    QTest::newRow("typerole") << "cmd_Update_all_ui_Typerole"
                              << "ui_typerole"
                              << "txt_ui_TypeRole";
    QTest::newRow("type") << "cmd_Update_all_ui_Type"
                          << "ui_type"
                          << "txt_ui_Type";
}

void tst_MainUi::updateAllButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, key);
    QFETCH(QString, field);
    m_ui.SSTab1->setCurrentIndex(0);
    QCoreApplication::processEvents();
    auto* button = qobject_cast<QPushButton*>(find(name));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("A"));
    QCOMPARE(button->toolTip(), QStringLiteral("Update all '") + key +
                                    QStringLiteral("=' entries in this aircraft cfg with the current value"));
    // Beside its field: on the same row, to its right.
    auto* target = qobject_cast<QWidget*>(find(field));
    const QRect b(button->mapTo(m_window.get(), QPoint()), button->size());
    const QRect f(target->mapTo(m_window.get(), QPoint()), target->size());
    QVERIFY(b.center().y() >= f.top() && b.center().y() <= f.bottom());
    QVERIFY(b.left() > f.left());
    QVERIFY(b.left() - f.right() < 60);
}

void tst_MainUi::designedStates_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char* name, bool enabled) {
        QTest::newRow(name) << QString::fromLatin1(name) << enabled;
    };
    row("cmd_DirUp", false);
    row("opt_FS9", false);
    row("opt_FSX", false);
    row("combo_SimFolder", true);
    row("Dir1", true);
    row("Drive1", true);
    row("cmd_ParkingCodes", false);
    row("cmdDropDown", false);
    row("chk_atc_heavy", false);
    row("cmd_Associate", false);
    row("opt_ac_Normal", false);
    row("opt_ac_Helicopter", false);
    row("opt_ac_AI", false);
    row("opt_ac_Nok", false);
    row("SSTab1", false);
    row("cmd_cfg_Update", true);
}

void tst_MainUi::designedStates()
{
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    auto* widget = qobject_cast<QWidget*>(find(name));
    QVERIFY(widget);
    // The control's own state, whatever its container's.
    QCOMPARE(!widget->testAttribute(Qt::WA_ForceDisabled), enabled);
    QVERIFY(!m_ui.lstParking->isVisible());

    // Derived values and values only shown are locked; the fields the user edits are not.
    const QList<QLineEdit*> locked = {
        m_ui.txt_WingSpan_Org,    m_ui.txt_WingSpan_Org_C1, m_ui.txt_WingSpan_Org_C2, m_ui.txt_FSX_Spot_Org,
        m_ui.txt_WingSpan_New_C1, m_ui.txt_WingSpan_New_C2, m_ui.txt_FSX_Spot_New,    m_ui.txt_CurrentTexture,
        m_ui.txt_CurrentModel,    m_ui.txt_CurrentAirfile,  m_ui.txt_FSXVersion,      m_ui.txt_FS9Radius,
        m_ui.txt_Jetways};
    for (QLineEdit* edit : locked)
        QVERIFY2(edit->isReadOnly(), qPrintable(edit->objectName()));
    for (QLineEdit* edit : {m_ui.txt_Title, m_ui.txt_WingSpan_New, m_ui.txt_atc_ParkingCodes,
                            m_ui.txt_Exit_2.at(4), m_ui.txt_effects.at(10), m_ui.txt_general_atc_type})
        QVERIFY2(!edit->isReadOnly(), qPrintable(edit->objectName()));
}

void tst_MainUi::menuTree_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("File") << "mnuFile"
                          << "&File" << QStringList{"mnuCFG", "mnuSep1", "mnuQuit"}
                          << QStringList{"&Open CFG File", "", "&Quit"};
    QTest::newRow("Settings") << "mnuSettings"
                              << "&Settings"
                              << QStringList{"mnuConfirm",        "mnuAutoBackup", "line1",
                                             "mnu_AutoUpdate",    "mnuResizable",  "mnuRememberLastPath",
                                             "mnuToolTips",       "mnuEditor",     "line2",
                                             "mnuAnalyzeOptions", "mnuDataGrid"}
                              << QStringList{"&Confirm 'aircraft.cfg' Updates",
                                             "&Auto Backup 'aircraft.cfg'",
                                             "",
                                             "Auto &Update Check",
                                             "Program &Resizable",
                                             "Remember last aircraft folder",
                                             "Show Toolt&ips (after next start)",
                                             "Use internal &Editor",
                                             "",
                                             "&Validation Report Options...",
                                             "Configure Data Grid &Columns..."};
    QTest::newRow("Tools") << "mnuTools"
                           << "&Tools" << QStringList{"mnuDelKeys",  "mnuRenumber", "mnuSortKeys",
                                                      "mnuValidate", "line3",       "mnuvalidateAll"}
                           << QStringList{"&Delete keys...",
                                          "Renumber sections",
                                          "&Sort all [fltsim.x] keys",
                                          "&Validate aircraft",
                                          "",
                                          "Vali&date all aircraft below..."};
    QTest::newRow("Help") << "mnuAbout"
                          << "&Help" << QStringList{"mnu_Manual",    "mnuSep5", "Zib[1]",
                                                    "mnu_AppUpdate", "mnuSep2", "mnuAboutProg"}
                          << QStringList{"Open &Manual...",      "", "&Visit 'Brackenhold' web",
                                         "&Check for Update...", "", "A&bout Fernquill..."};
}

void tst_MainUi::menuTree()
{
    QFETCH(QString, menu);
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    QFETCH(QStringList, captions);

    auto* m = qobject_cast<QMenu*>(find(menu));
    QVERIFY(m);
    QCOMPARE(m->title(), title);
    QStringList names;
    QStringList texts;
    for (QAction* action : m->actions()) {
        names << action->objectName();
        texts << (action->isSeparator() ? QString() : action->text());
        const bool separatorName = action->objectName().startsWith(QLatin1String("line")) ||
                                   action->objectName().startsWith(QLatin1String("mnuSep"));
        QCOMPARE(action->isSeparator(), separatorName);
    }
    QCOMPARE(names, items);
    QCOMPARE(texts, captions);

    // The menu bar shows the four menus in this order.
    QStringList bar;
    for (QAction* action : m_window->menuBar()->actions())
        bar << (action->menu() ? action->menu()->objectName() : QString());
    QCOMPARE(bar, (QStringList{"mnuFile", "mnuSettings", "mnuTools", "mnuAbout"}));
}

void tst_MainUi::menuToggles()
{
    const QList<QAction*> toggles = {m_ui.mnuConfirm,   m_ui.mnuAutoBackup,       m_ui.mnu_AutoUpdate,
                                     m_ui.mnuResizable, m_ui.mnuRememberLastPath, m_ui.mnuToolTips,
                                     m_ui.mnuEditor};
    for (QMenu* menu : {m_ui.mnuFile, m_ui.mnuSettings, m_ui.mnuTools, m_ui.mnuAbout}) {
        for (QAction* action : menu->actions())
            QCOMPARE(action->isCheckable(), toggles.contains(action));
    }
}

void tst_MainUi::aircraftTypeCanBeCleared()
{
    m_ui.SSTab1->setEnabled(true);
    m_ui.SSTab1->setCurrentIndex(3);
    QCoreApplication::processEvents();
    const QList<QRadioButton*> types = {m_ui.opt_ac_Normal, m_ui.opt_ac_Helicopter, m_ui.opt_ac_AI,
                                        m_ui.opt_ac_Nok};
    for (QRadioButton* type : types)
        type->setEnabled(true);

    // A click (on the indicator) selects one and unselects the others, as
    // option buttons do.
    const auto click = [](QRadioButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    };
    click(m_ui.opt_ac_Normal);
    click(m_ui.opt_ac_AI);
    QVERIFY(m_ui.opt_ac_AI->isChecked());
    QVERIFY(!m_ui.opt_ac_Normal->isChecked());

    m_ui.clearAircraftTypeOptions();
    for (QRadioButton* type : types) {
        QVERIFY(!type->isChecked());
        QVERIFY(type->autoExclusive());
    }
    // Still one group after clearing.
    click(m_ui.opt_ac_Helicopter);
    click(m_ui.opt_ac_Nok);
    QVERIFY(!m_ui.opt_ac_Helicopter->isChecked());
    QVERIFY(m_ui.opt_ac_Nok->isChecked());

    m_ui.clearAircraftTypeOptions();
    for (QRadioButton* type : types)
        type->setEnabled(false);
    m_ui.SSTab1->setEnabled(false);
}

void tst_MainUi::parkingDropDownFloatsUnderItsFrame()
{
    QStringList items;
    for (int i = 0; i < m_ui.lstParking->count(); ++i) {
        QListWidgetItem* item = m_ui.lstParking->item(i);
        QVERIFY(item->flags() & Qt::ItemIsUserCheckable);
        QCOMPARE(item->checkState(), Qt::Unchecked);
        items << item->text();
    }
    QCOMPARE(items, (QStringList{"CARGO", "DOCK", "GATE", "MIL_CARGO", "MIL_COMBAT", "RAMP"}));
    QCOMPARE(m_ui.lstParking->parentWidget(), m_window->centralWidget());

    m_ui.SSTab1->setCurrentIndex(0);
    m_ui.lstParking->show();
    QCoreApplication::processEvents();
    const QPoint below = m_ui.picCombo->mapTo(m_window->centralWidget(), QPoint(0, m_ui.picCombo->height()));
    QCOMPARE(m_ui.lstParking->geometry().topLeft(), below);
    QCOMPARE(m_ui.lstParking->width(), m_ui.picCombo->width());
    // All six types fit without scrolling, and the list lies on top.
    QVERIFY(m_ui.lstParking->visualItemRect(m_ui.lstParking->item(5)).bottom() <=
            m_ui.lstParking->viewport()->height());
    QCOMPARE(m_window->centralWidget()->childAt(m_ui.lstParking->geometry().center())->window(),
             m_window.get());
    QWidget* top = m_window->centralWidget()->childAt(m_ui.lstParking->geometry().center());
    QVERIFY(top == m_ui.lstParking || m_ui.lstParking->isAncestorOf(top));

    // It follows its frame when the window changes size.
    m_window->resize(1300, 800);
    QCoreApplication::processEvents();
    QCOMPARE(m_ui.lstParking->width(), m_ui.picCombo->width());
    m_ui.lstParking->hide();
    m_window->resize(1100, 760);
    QCoreApplication::processEvents();
}

void tst_MainUi::layoutIsTidyAtDesignedSize_data()
{
    QTest::addColumn<int>("tab");
    for (int tab = 0; tab < 4; ++tab)
        QTest::newRow(qPrintable(QStringLiteral("tab %1").arg(tab))) << tab;
}

void tst_MainUi::layoutIsTidyAtDesignedSize()
{
    QFETCH(int, tab);
    QCOMPARE(m_window->size(), QSize(1100, 760));
    QVERIFY(m_window->minimumSizeHint().width() <= 1100);
    QVERIFY(m_window->minimumSizeHint().height() <= 760);
    m_ui.SSTab1->setCurrentIndex(tab);
    QCoreApplication::processEvents();

    // Every visible control lies inside the window, overlaps no other control
    // and shows its caption whole.
    QList<QWidget*> controls;
    for (QWidget* w : m_window->findChildren<QWidget*>()) {
        const bool leaf = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                          qobject_cast<QComboBox*>(w) || qobject_cast<QLabel*>(w) ||
                          qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractScrollArea*>(w);
        if (leaf && w->isVisible() && w != m_ui.lstParking &&
            !w->objectName().startsWith(QLatin1String("qt_")) &&
            qobject_cast<QTabWidget*>(w->parentWidget()) == nullptr)
            controls << w;
    }
    QVERIFY(controls.size() > 20);
    const QRect client = m_window->rect();
    QHash<QWidget*, QRect> rects;
    for (QWidget* w : std::as_const(controls)) {
        const QRect r(w->mapTo(m_window.get(), QPoint()), w->size());
        rects.insert(w, r);
        QVERIFY2(client.contains(r), qPrintable(w->objectName() + u' ' + captionOf(w)));
        if (auto* label = qobject_cast<QLabel*>(w))
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            const int text = button->fontMetrics().horizontalAdvance(button->text().remove(u'&'));
            QVERIFY2(button->width() >= text + 8, qPrintable(button->objectName()));
        }
    }
    for (QWidget* a : std::as_const(controls)) {
        for (QWidget* b : std::as_const(controls)) {
            if (a == b || a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            QVERIFY2(!rects.value(a).intersects(rects.value(b)),
                     qPrintable(captionOf(a) + a->objectName() + QStringLiteral(" / ") + captionOf(b) +
                                b->objectName()));
        }
    }
}

void tst_MainUi::exitTicksIgnoreTheMouse()
{
    m_ui.SSTab1->setEnabled(true);
    // Clicked through the window, as the user would, so the click is routed by position.
    const auto clickThroughWindow = [this](QCheckBox* box) {
        const QPoint at = box->mapTo(m_window.get(), QPoint(6, box->height() / 2));
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, at);
    };
    m_ui.SSTab1->setCurrentIndex(1);
    QCoreApplication::processEvents();
    clickThroughWindow(m_ui.chk_Effect.at(0));
    QVERIFY(m_ui.chk_Effect.at(0)->isChecked()); // an ordinary box takes the click
    m_ui.chk_Effect.at(0)->setChecked(false);

    m_ui.SSTab1->setCurrentIndex(2);
    QCoreApplication::processEvents();
    clickThroughWindow(m_ui.chk_Exit_0);
    QVERIFY(!m_ui.chk_Exit_0->isChecked());
    QCOMPARE(m_ui.chk_Exit_0->focusPolicy(), Qt::NoFocus);
    m_ui.chk_Exit_0->setChecked(true); // the program still sets it
    QVERIFY(m_ui.chk_Exit_0->isChecked());
    m_ui.chk_Exit_0->setChecked(false);
    m_ui.SSTab1->setEnabled(false);
}

void tst_MainUi::rightClickMenus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    QTest::newRow("delete") << "mnuListView1" << 0 << "mnuDelete"
                            << "Delete [fltsim.x]";
    QTest::newRow("renumber") << "mnuListView1" << 1 << "mnuRenumber"
                              << "Renumber sections";
    QTest::newRow("sort") << "mnuListView1" << 2 << "mnuSortKeys"
                          << "&Sort all [fltsim.x] keys";
    QTest::newRow("resize") << "mnuListView1" << 3 << "mnuResize"
                            << "Resize columns to show all content";
    QTest::newRow("disable") << "mnuThisEffects" << 0 << "mnuEffectsDisable"
                             << "Disable effect";
    QTest::newRow("default") << "mnuThisEffects" << 1 << "mnuEffectsDefault"
                             << "Set default effect";
    QTest::newRow("select") << "mnuThisEffects" << 2 << "mnuEffectsSelect"
                            << "Select effect file...";
}

void tst_MainUi::rightClickMenus()
{
    QFETCH(QString, menu);
    QFETCH(int, position);
    QFETCH(QString, item);
    QFETCH(QString, caption);

    frm_RightClick popups;
    QCOMPARE(popups.windowTitle(), QStringLiteral("Form1"));
    QVERIFY(!popups.isVisible());
    auto* m = popups.findChild<QMenu*>(menu);
    QVERIFY(m);
    QCOMPARE(m->actions().size(), menu == u"mnuListView1" ? 4 : 3);
    QAction* action = m->actions().at(position);
    QCOMPARE(action->objectName(), item);
    QCOMPARE(action->text(), caption);

    // Each item raises its own signal and no other.
    const QList<std::pair<QString, void (frm_RightClick::*)()>> signalOf = {
        {"mnuDelete", &frm_RightClick::mnuDelete_Click},
        {"mnuRenumber", &frm_RightClick::mnuRenumber_Click},
        {"mnuSortKeys", &frm_RightClick::mnuSortKeys_Click},
        {"mnuResize", &frm_RightClick::mnuResize_Click},
        {"mnuEffectsDisable", &frm_RightClick::mnuEffectsDisable_Click},
        {"mnuEffectsDefault", &frm_RightClick::mnuEffectsDefault_Click},
        {"mnuEffectsSelect", &frm_RightClick::mnuEffectsSelect_Click}};
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const auto& [name, signal] : signalOf)
        spies.push_back(std::make_unique<QSignalSpy>(&popups, signal));
    action->trigger();
    for (std::size_t i = 0; i < spies.size(); ++i)
        QCOMPARE(spies[i]->count(), signalOf.at(qsizetype(i)).first == item ? 1 : 0);
    QVERIFY(!popups.isVisible());
}

// Renders every page of the window into PNGs beside the test binary, so the
// layout can be looked at; the files are not part of the sources.
void tst_MainUi::grabForReview()
{
    m_ui.SSTab1->setEnabled(true);
    for (int i = 0; i < 5; ++i)
        m_ui.ListView1->addRow({QStringLiteral("FLTSIM.%1").arg(i), QStringLiteral("Liner %1").arg(i),
                                QStringLiteral("GATE"), QStringLiteral("AB"), QStringLiteral("me")});
    m_ui.ListView1->setTicked(1, true);
    m_ui.ListView1->selectRow(2);
    m_ui.StatusBar1->setPanel(2, QStringLiteral("found"), paletteGreen(), paletteWhite(), 2);
    m_ui.StatusBar1->setPanel(3, QStringLiteral("ATC"), paletteRed(), paletteWhite(), 2);
    m_ui.StatusBar1->setPanel(9, QStringLiteral("AC Status: OK"), paletteGreen(), paletteWhite(), 2);
    m_ui.StatusBar1->setPanelText(10, QStringLiteral("5 aircraft variations defined"));
    setBackColor(m_ui.txt_Jetways, vbColor(vbcolor::Red));
    m_ui.txt_Jetways->setText(QStringLiteral("Jetways possible: no"));
    const QString folder = QCoreApplication::applicationDirPath();
    for (int tab = 0; tab < m_ui.SSTab1->count(); ++tab) {
        m_ui.SSTab1->setCurrentIndex(tab);
        if (tab == 0)
            m_ui.lstParking->show();
        QCoreApplication::processEvents();
        QVERIFY(m_window->grab().save(folder + QStringLiteral("/mainui-tab%1.png").arg(tab)));
        m_ui.lstParking->hide();
    }
}

QTEST_MAIN(tst_MainUi)
#include "tst_mainui.moc"
