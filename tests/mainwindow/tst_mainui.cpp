#include "DataRows.h"
#include "MainUiFixture.h"

#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using testutil::captionOf;

// The main window's controls: names, kinds, captions, tooltips and designed
// states.
class tst_MainUi : public testutil::MainUiTest
{
    Q_OBJECT

private slots:
    void controlExistsOnce_data()
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
    void controlExistsOnce()
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

    void namesAreUnique()
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

    void controlArrays()
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

    void captions_data()
    {
        const testutil::NamedRows<QString> row({"name", "caption"});
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
    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QCOMPARE(captionOf(find(name)), caption);
    }

    void tooltips_data()
    {
        const testutil::NamedRows<QString> row({"name", "tip"});
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
            QStringLiteral(
                "This represents the 'atc_parking_types=' entry in the current [fltsim.x] section"));
        row("lblSelections",
            QStringLiteral(
                "This represents the 'atc_parking_types=' entry in the current [fltsim.x] section"));
        row("txt_atc_ParkingCodes",
            QStringLiteral(
                "This represents the 'atc_parking_codes=' entry in the current [fltsim.x] section"));
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
        row("txt_CurrentAirfile",
            QStringLiteral("Assigned airfile ('*.air') for selected [fltsim.x] section"));
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
    void tooltips()
    {
        QFETCH(QString, name);
        QFETCH(QString, tip);
        auto* widget = qobject_cast<QWidget*>(find(name));
        QVERIFY(widget);
        QCOMPARE(widget->toolTip(), tip);
    }

    void updateAllButtons_data()
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
    void updateAllButtons()
    {
        QFETCH(QString, name);
        QFETCH(QString, key);
        QFETCH(QString, field);
        m_ui.SSTab1->setCurrentIndex(0);
        QCoreApplication::processEvents();
        auto* button = qobject_cast<QPushButton*>(find(name));
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("A"));
        QCOMPARE(button->toolTip(),
                 QStringLiteral("Update all '") + key +
                     QStringLiteral("=' entries in this aircraft cfg with the current value"));
        // Beside its field: on the same row, to its right.
        auto* target = qobject_cast<QWidget*>(find(field));
        const QRect b(button->mapTo(m_window.get(), QPoint()), button->size());
        const QRect f(target->mapTo(m_window.get(), QPoint()), target->size());
        QVERIFY(b.center().y() >= f.top() && b.center().y() <= f.bottom());
        QVERIFY(b.left() > f.left());
        QVERIFY(b.left() - f.right() < 60);
    }

    void designedStates_data()
    {
        const testutil::NamedRows<bool> row({"name", "enabled"});
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
    void designedStates()
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
            m_ui.txt_WingSpan_Org,   m_ui.txt_WingSpan_Org_C1, m_ui.txt_WingSpan_Org_C2,
            m_ui.txt_FSX_Spot_Org,   m_ui.txt_WingSpan_New_C1, m_ui.txt_WingSpan_New_C2,
            m_ui.txt_FSX_Spot_New,   m_ui.txt_CurrentTexture,  m_ui.txt_CurrentModel,
            m_ui.txt_CurrentAirfile, m_ui.txt_FSXVersion,      m_ui.txt_FS9Radius,
            m_ui.txt_Jetways};
        for (QLineEdit* edit : locked)
            QVERIFY2(edit->isReadOnly(), qPrintable(edit->objectName()));
        for (QLineEdit* edit : {m_ui.txt_Title, m_ui.txt_WingSpan_New, m_ui.txt_atc_ParkingCodes,
                                m_ui.txt_Exit_2.at(4), m_ui.txt_effects.at(10), m_ui.txt_general_atc_type})
            QVERIFY2(!edit->isReadOnly(), qPrintable(edit->objectName()));
    }
};

QTEST_MAIN(tst_MainUi)
#include "tst_mainui.moc"
