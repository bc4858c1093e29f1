// Start-up of the main window: simulator detection from the Wine prefix, the
// simulation-folder list, the options read from the settings store, the grid
// columns and the start folder.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modSettings.h"

#include "BoxRecorder.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidgetItem>

using testutil::BoxRecorder;
using testutil::MainWindowFixture;
using testutil::PrefixSpec;

namespace {

const QString kBar = QStringLiteral("\u00A6");

const QColor kGreen(0, 128, 0);
const QColor kRed(128, 0, 0);
const QColor kWhite(255, 255, 255);

QString flags(const QString& flag, int count)
{
    return QStringList(count, flag).join(kBar);
}

// An aircraft folder with two entries and no model, so nothing else is looked up.
QString makeAircraft(const QString& folder)
{
    testutil::writeFile(folder + "/aircraft.cfg",
                        "[fltsim.0]\r\ntitle=Heather One\r\n[fltsim.1]\r\ntitle=Heather Two\r\n"
                        "[General]\r\natc_type=HEATHER\r\n");
    return folder;
}

} // namespace

class TestFrmMainStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void emptyStore();
    void simulators_data();
    void simulators();
    void simFolderListFromDisk();
    void simFolderListFromFsxCfg();
    void simFolderListKeepsIndexesInStep();
    void danglingDriveLinks();
    void analyzeOptions_data();
    void analyzeOptions();
    void switches_data();
    void switches();
    void resizable_data();
    void resizable();
    void tooltipsOff();
    void switchNotANumber_data();
    void switchNotANumber();
    void dataGrid_data();
    void dataGrid();
    void hiddenColumnSurvivesTheStartFolderLoad();
    void startFolder_data();
    void startFolder();
    void rememberedFolderGone();
    void rememberedRoot();

private:
    QTemporaryDir m_config;
};

void TestFrmMainStartup::initTestCase()
{
    // Outside CTest the settings must not land in the user's own store.
    if (!qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

void TestFrmMainStartup::emptyStore()
{
    BoxRecorder boxes;
    MainWindowFixture f;
    frm_Main& w = f.start();

    QCOMPARE(testutil::storedSetting("AnalyzeOptions"), flags("1", 23));
    // Start-up stores nothing else.
    for (const modSettings::KeyInfo& k : modSettings::Keys()) {
        if (k.key != u"AnalyzeOptions")
            QVERIFY2(!modSettings::HasSetting(k.key), qPrintable(k.key));
    }
    for (const char* on :
         {"mnuToolTips", "mnuRememberLastPath", "mnuAutoBackup", "mnuConfirm", "mnuEditor"}) {
        auto* item = w.findChild<QAction*>(on);
        QVERIFY2(item && item->isChecked(), on);
    }
    QVERIFY(!w.findChild<QAction*>("mnuResizable")->isChecked());
    QVERIFY(globals::gbToolTips && globals::gbRememberPath && globals::gbUseEditor);
    QVERIFY(w.bAutoBackup && w.bConfirm && !w.bResizable);
    QCOMPARE(globals::gsAnalyzeFlags, QStringList(23, "1"));
    QCOMPARE(globals::gsDataGrid, flags("0", 15));
    QCOMPARE(globals::giEditorMode, 0);
    QVERIFY(!globals::gbBatchValidate);

    // Remember-last-folder is on and no folder was saved: nothing is loaded.
    QCOMPARE(w.ui.ListView1->rowCount(), 0);
    QVERIFY(!w.ui.StatusBar1->hasPanelPicture(8));
    QVERIFY(!w.ui.StatusBar1->hasPanelPicture(9));
    QVERIFY(!w.ui.SSTab1->isEnabled());
    QVERIFY(!w.bLoading);
    QVERIFY(w.bAirReady);
    QCOMPARE(w.ui.SSTab1->currentIndex(), 0);

    // The grid: 17 columns, none hidden, title twice as wide as a fifth-column
    // and "fltsim.x" the narrowest.
    QCOMPARE(w.ui.ListView1->columnCount(), ListView::ColumnCount);
    QCOMPARE(w.ui.ListView1->headerItem()->text(0), QStringLiteral("fltsim.x"));
    QCOMPARE(w.ui.ListView1->headerItem()->text(3), QStringLiteral("parking_code"));
    QCOMPARE(w.ui.ListView1->headerItem()->text(16), QStringLiteral("texture"));
    for (int c = 0; c < ListView::ColumnCount; ++c)
        QVERIFY2(w.ui.ListView1->columnWidth(c) > 0, qPrintable(QString::number(c)));
    const int fifth = w.ui.ListView1->columnWidth(2);
    QVERIFY(qAbs(w.ui.ListView1->columnWidth(1) * 2 - fifth * 5) <= 5);
    QVERIFY(qAbs(w.ui.ListView1->columnWidth(0) * 8 - fifth * 5) <= 8);

    // The parking types, hidden until the drop-down opens.
    auto* parking = w.findChild<QListWidget*>("lstParking");
    QVERIFY(parking && parking->isHidden());
    QStringList types;
    for (int i = 0; i < parking->count(); ++i)
        types << parking->item(i)->text();
    QCOMPARE(types, (QStringList{"CARGO", "DOCK", "GATE", "MIL_CARGO", "MIL_COMBAT", "RAMP"}));

    // The help texts live in the balloons; the status bar's follow the mouse.
    QVERIFY(w.hTip && !w.hTip->toolText(w.ui.combo_SimFolder).isEmpty());
    QVERIFY(w.ui.combo_SimFolder->toolTip().isEmpty());
    QVERIFY(!w.ui.StatusBar1->tagTipsEnabled());
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("   Fernquill V.")));
    QVERIFY(w.windowTitle().contains(QStringLiteral("  -  ")));
    // No manual beside the test program.
    QVERIFY(!w.ui.mnu_Manual->isEnabled());
    QVERIFY(boxes.calls().empty());
}

void TestFrmMainStartup::simulators_data()
{
    QTest::addColumn<bool>("win64");
    QTest::addColumn<bool>("fs9");
    QTest::addColumn<bool>("fsx");
    QTest::addColumn<bool>("airlines");
    QTest::addColumn<bool>("dangling");

    QTest::newRow("neither") << true << false << false << true << false;
    QTest::newRow("registry names folders that are gone") << true << false << false << true << true;
    QTest::newRow("only FS9") << true << true << false << true << false;
    QTest::newRow("only FS9, no airlines.cfg") << true << true << false << false << false;
    QTest::newRow("only FSX") << true << false << true << true << false;
    QTest::newRow("only FSX, no airlines.cfg") << true << false << true << false << false;
    QTest::newRow("both") << true << true << true << true << false;
    QTest::newRow("both, no airlines.cfg") << true << true << true << false << false;
    QTest::newRow("both, 32-bit prefix") << false << true << true << true << false;
    QTest::newRow("only FS9, 32-bit prefix") << false << true << false << true << false;
}

void TestFrmMainStartup::simulators()
{
    QFETCH(bool, win64);
    QFETCH(bool, fs9);
    QFETCH(bool, fsx);
    QFETCH(bool, airlines);
    QFETCH(bool, dangling);

    PrefixSpec spec;
    spec.win64 = win64;
    spec.fs9 = fs9;
    spec.fsx = fsx;
    spec.fs9Airlines = spec.fsxAirlines = airlines;
    spec.fs9Dangling = spec.fsxDangling = dangling;
    BoxRecorder boxes;
    MainWindowFixture f(spec);
    frm_Main& w = f.start();
    QVERIFY(boxes.calls().empty());

    QCOMPARE(w.sRegPrefix, win64 ? QStringLiteral("SOFTWARE\\Wow6432Node\\Microsoft\\")
                                 : QStringLiteral("SOFTWARE\\Microsoft\\"));

    auto* optFs9 = w.findChild<QRadioButton*>("opt_FS9");
    auto* optFsx = w.findChild<QRadioButton*>("opt_FSX");
    auto* combo = w.findChild<QComboBox*>("combo_SimFolder");
    QVERIFY(optFs9 && optFsx && combo);
    QCOMPARE(optFs9->isEnabled(), fs9);
    QCOMPARE(optFs9->isChecked(), fs9 && !fsx);
    QCOMPARE(optFsx->isEnabled(), fsx);
    QCOMPARE(optFsx->isChecked(), fsx);

    StatusPanels* bar = w.ui.StatusBar1;
    QCOMPARE(bar->panelText(2), QString());
    QCOMPARE(bar->panelPictureText(2), fs9 ? QStringLiteral("found") : QStringLiteral("n/a"));
    QCOMPARE(bar->panelBackColor(2), fs9 ? kGreen : kRed);
    QCOMPARE(bar->panelPictureText(3), QStringLiteral("ATC"));
    QCOMPARE(bar->panelBackColor(3), fs9 && airlines ? kGreen : kRed);
    QCOMPARE(bar->panelPictureText(5), fsx ? QStringLiteral("found") : QStringLiteral("n/a"));
    QCOMPARE(bar->panelBackColor(5), fsx ? kGreen : kRed);
    QCOMPARE(bar->panelPictureText(6), QStringLiteral("ATC"));
    QCOMPARE(bar->panelBackColor(6), fsx && airlines ? kGreen : kRed);
    for (int panel : {2, 3, 5, 6}) {
        QCOMPARE(bar->panelForeColor(panel), kWhite);
        QCOMPARE(bar->panelAlignment(panel), 2);
    }

    QCOMPARE(combo->isEnabled(), fsx);
    if (fsx) {
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QStringLiteral("Airplanes"));
        QCOMPARE(combo->itemText(1), QStringLiteral("Rotorcraft"));
        QCOMPARE(w.sSimFolders, (QStringList{f.prefix().fsxRoot() + "/SimObjects/Airplanes",
                                             f.prefix().fsxRoot() + "/SimObjects/Rotorcraft"}));
        QCOMPARE(w.sFSXSimObjectsPath, f.prefix().fsxRoot() + "/SimObjects");
        QCOMPARE(globals::gsEffectsFSXPath, f.prefix().fsxRoot() + "/Effects");
    } else {
        QCOMPARE(combo->count(), 0);
        QVERIFY(w.sFSXSimObjectsPath.isEmpty());
    }
    if (fs9) {
        QCOMPARE(w.sFS9AircraftPath, f.prefix().fs9Root() + "/Aircraft");
        QCOMPARE(globals::gsEffectsFS9Path, f.prefix().fs9Root() + "/Effects");
    }

    QCOMPARE(globals::gbAirlinesFS9Found, fs9 && airlines);
    QCOMPARE(globals::gbAirlinesFSXFound, fsx && airlines);
    if (fs9 && airlines) {
        QCOMPARE(globals::gsAirlinesFS9Path, f.prefix().fs9Root() + "/Aircraft/airlines.cfg");
        QCOMPARE(globals::gsAirlinesFS9, (QStringList{"HEATHERJET", "MOSSLINE", ""}));
    }
    if (fsx && airlines) {
        QCOMPARE(globals::gsAirlinesFSXPath, f.prefix().fsxRoot() + "/airlines.cfg");
        QCOMPARE(globals::gsAirlinesFSX, (QStringList{"HEATHERJET", "QUILLCARGO", ""}));
    }
}

void TestFrmMainStartup::simFolderListFromDisk()
{
    PrefixSpec spec;
    spec.fsx = true;
    MainWindowFixture f(spec);
    // Only names without an extension are simulation-object folders.
    testutil::makeDir(f.prefix().fsxRoot() + "/SimObjects/Boats");
    testutil::makeDir(f.prefix().fsxRoot() + "/SimObjects/Boats.old");
    testutil::writeFile(f.prefix().fsxRoot() + "/SimObjects/readme", "x");
    frm_Main& w = f.start();

    QStringList items;
    for (int i = 0; i < w.ui.combo_SimFolder->count(); ++i)
        items << w.ui.combo_SimFolder->itemText(i);
    QCOMPARE(items, (QStringList{"Airplanes", "Boats", "Rotorcraft"}));
    QCOMPARE(w.sSimFolders.size(), 3);
    QCOMPARE(w.sSimFolders.at(1), f.prefix().fsxRoot() + "/SimObjects/Boats");
    QVERIFY(w.ui.combo_SimFolder->isEnabled());
}

void TestFrmMainStartup::simFolderListFromFsxCfg()
{
    PrefixSpec spec;
    spec.fsx = true;
    spec.fsxCfgMain = {"SimObjectPaths.0=SimObjects\\Airplanes", "Other=1", "SimObjectPaths.1=C:\\Addons\\AI",
                       "SimObjectPaths.2=SimObjects\\Missing"};
    MainWindowFixture f(spec);
    testutil::makeDir(f.prefix().driveC() + "/Addons/AI");
    frm_Main& w = f.start();

    // Exactly the stored values of the folders that exist, in file order;
    // the disk listing is replaced.
    auto* combo = w.findChild<QComboBox*>("combo_SimFolder");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("SimObjects\\Airplanes"));
    QCOMPARE(combo->itemText(1), QStringLiteral("C:\\Addons\\AI"));
    QCOMPARE(w.sSimFolders, (QStringList{f.prefix().fsxRoot() + "/SimObjects/Airplanes",
                                         f.prefix().driveC() + "/Addons/AI"}));
    QVERIFY(combo->isEnabled());
    QCOMPARE(w.sFsxCfgPath, f.prefix().appData() + "/Microsoft/FSX/fsx.cfg");
    QCOMPARE(w.oIniFsx.path(), w.sFsxCfgPath);
}

void TestFrmMainStartup::simFolderListKeepsIndexesInStep()
{
    PrefixSpec spec;
    spec.fsx = true;
    spec.fsxCfgMain = {"SimObjectPaths.0=SimObjects\\Airplanes", "SimObjectPaths.1=simobjects\\airplanes",
                       "SimObjectPaths.2=SimObjects\\Rotorcraft", "SimObjectPaths.3=SimObjects\\Airplanes"};
    MainWindowFixture f(spec);
    frm_Main& w = f.start();

    // However duplicates are treated, row i of the list and folder i belong together.
    QCOMPARE(w.ui.combo_SimFolder->count(), w.sSimFolders.size());
    QVERIFY(w.ui.combo_SimFolder->count() >= 2);
    for (int i = 0; i < w.ui.combo_SimFolder->count(); ++i) {
        const QString shown = w.ui.combo_SimFolder->itemText(i).toLower();
        const QString folder = w.sSimFolders.at(i).toLower();
        QVERIFY2(QDir(w.sSimFolders.at(i)).exists(), qPrintable(w.sSimFolders.at(i)));
        QVERIFY2(folder.endsWith(shown.mid(shown.indexOf(u'\\') + 1)), qPrintable(shown + " / " + folder));
    }
}

void TestFrmMainStartup::danglingDriveLinks()
{
    PrefixSpec spec;
    spec.fs9 = spec.fsx = true;
    spec.fsxCfgMain = {"SimObjectPaths.0=SimObjects\\Airplanes"};
    QTemporaryDir tmp;
    const QString aircraft = makeAircraft(tmp.path() + "/Heather");
    MainWindowFixture f(spec, {{"Path", aircraft}});
    // Every drive of the prefix points nowhere.
    const QString c = f.prefix().path() + "/dosdevices/c:";
    QVERIFY(QFile::remove(c));
    QVERIFY(QFile::link(f.prefix().path() + "/no-such-drive", c));
    QVERIFY(QFile::link(f.prefix().path() + "/no-such-drive-either", f.prefix().path() + "/dosdevices/d:"));

    BoxRecorder boxes;
    frm_Main& w = f.start();
    QVERIFY(boxes.calls().empty());
    QVERIFY(!w.ui.opt_FS9->isEnabled());
    QVERIFY(!w.ui.opt_FSX->isEnabled());
    QVERIFY(!w.ui.combo_SimFolder->isEnabled());
    for (int panel : {2, 3, 5, 6})
        QCOMPARE(w.ui.StatusBar1->panelBackColor(panel), kRed);
    // The rest of the start-up still ran: the remembered folder is shown.
    QCOMPARE(w.folderPath(), aircraft);
    QCOMPARE(w.ui.ListView1->rowCount(), 2);
    QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Heather One"));
}

void TestFrmMainStartup::analyzeOptions_data()
{
    QTest::addColumn<QString>("stored"); // null: absent
    QTest::addColumn<QString>("expected");

    QTest::newRow("absent") << QString() << flags("1", 23);
    QTest::newRow("22 flags ending in 0")
        << flags("1", 21) + kBar + "0" << flags("1", 21) + kBar + "0" + kBar + "1";
    QTest::newRow("5 flags") << QStringList{"0", "1", "0", "0", "1"}.join(kBar)
                             << QStringList{"0", "1", "0", "0", "1"}.join(kBar) + kBar + flags("1", 18);
    QTest::newRow("23 flags") << flags("0", 23) << flags("0", 23);
    QTest::newRow("24 flags") << flags("0", 24) << flags("0", 24);
    QTest::newRow("present but empty") << QStringLiteral("") << flags("1", 23);
}

void TestFrmMainStartup::analyzeOptions()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);

    QMap<QString, QString> settings;
    if (!stored.isNull())
        settings.insert("AnalyzeOptions", stored);
    MainWindowFixture f({}, settings);
    f.start();
    QCOMPARE(testutil::storedSetting("AnalyzeOptions"), expected);
    QCOMPARE(globals::gsAnalyzeOptions, expected);
    QCOMPARE(globals::gsAnalyzeFlags, expected.split(kBar));
}

void TestFrmMainStartup::switches_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("on");

    const struct
    {
        const char* key;
        const char* menu;
    } items[] = {{"ToolTips", "mnuToolTips"},     {"IsMerrow", "mnuRememberLastPath"},
                 {"AutoBackup", "mnuAutoBackup"}, {"Update", "mnuConfirm"},
                 {"Editor", "mnuEditor"},         {"Resizeable", "mnuResizable"}};
    for (const auto& it : items) {
        QTest::addRow("%s=0", it.key) << it.key << it.menu << "0" << false;
        QTest::addRow("%s=1", it.key) << it.key << it.menu << "1" << true;
        // Any number other than zero is on.
        QTest::addRow("%s=-1", it.key) << it.key << it.menu << "-1" << true;
        QTest::addRow("%s=2", it.key) << it.key << it.menu << "2" << true;
    }
}

namespace {

bool flagOf(const frm_Main& w, const QString& key)
{
    if (key == u"ToolTips")
        return globals::gbToolTips;
    if (key == u"IsMerrow")
        return globals::gbRememberPath;
    if (key == u"AutoBackup")
        return w.bAutoBackup;
    if (key == u"Update")
        return w.bConfirm;
    if (key == u"Editor")
        return globals::gbUseEditor;
    return w.bResizable;
}

} // namespace

void TestFrmMainStartup::switches()
{
    QFETCH(QString, key);
    QFETCH(QString, menu);
    QFETCH(QString, value);
    QFETCH(bool, on);

    BoxRecorder boxes;
    MainWindowFixture f({}, {{key, value}});
    frm_Main& w = f.start();
    QVERIFY(boxes.calls().empty());
    auto* item = w.findChild<QAction*>(menu);
    QVERIFY(item);
    QCOMPARE(item->isChecked(), on);
    QCOMPARE(flagOf(w, key), on);
    // Reading is not writing.
    QCOMPARE(testutil::storedSetting(key), value);
}

void TestFrmMainStartup::resizable_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("off") << "0";
    QTest::newRow("on") << "1";
}

void TestFrmMainStartup::resizable()
{
    QFETCH(QString, value);
    const bool on = value == u"1";
    MainWindowFixture f({}, {{"Resizeable", value}});
    frm_Main& w = f.start();
    QCOMPARE(w.minimumSize() != w.maximumSize(), on);
    QCOMPARE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint), on);
    QCOMPARE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint), on);
}

void TestFrmMainStartup::tooltipsOff()
{
    MainWindowFixture off({}, {{"ToolTips", "0"}});
    frm_Main& w = off.start();
    QVERIFY(w.ui.combo_SimFolder->toolTip().isEmpty());
    QVERIFY(w.ui.cmd_DirUp->toolTip().isEmpty());
    QVERIFY(!w.ui.StatusBar1->tagTipsEnabled());
}

void TestFrmMainStartup::switchNotANumber_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("box");

    // Read before the simulators are looked for: the start-up stops with the box.
    QTest::newRow("ToolTips=yes") << "ToolTips"
                                  << "yes" << true;
    QTest::newRow("IsMerrow=on") << "IsMerrow"
                                 << "on" << true;
    QTest::newRow("IsMerrow empty") << "IsMerrow"
                                    << "" << true;
    // Read after: that one statement is skipped, the start-up goes on.
    QTest::newRow("AutoBackup=abc") << "AutoBackup"
                                    << "abc" << false;
    QTest::newRow("Update=x") << "Update"
                              << "x" << false;
    QTest::newRow("Editor=?") << "Editor"
                              << "?" << false;
    QTest::newRow("Resizeable=maybe") << "Resizeable"
                                      << "maybe" << false;
}

void TestFrmMainStartup::switchNotANumber()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, box);

    QTemporaryDir tmp;
    const QString aircraft = makeAircraft(tmp.path() + "/Heather");
    // Every other option differs from its default, so a skipped read shows.
    QMap<QString, QString> settings{
        {"ToolTips", "0"}, {"IsMerrow", "1"},   {"AutoBackup", "0"}, {"Update", "0"},
        {"Editor", "0"},   {"Resizeable", "1"}, {"Path", aircraft},  {"DataGrid", "0" + kBar + "-1"}};
    settings.insert(key, value);
    PrefixSpec spec;
    spec.fsx = true;
    MainWindowFixture f(spec, settings);

    BoxRecorder boxes;
    frm_Main& w = f.start();

    if (box) {
        QCOMPARE(boxes.calls().size(), size_t(1));
        const msgbox::Call& call = boxes.calls().front();
        QVERIFY2(call.prompt.contains(QStringLiteral("Procedure Form_Load")), qPrintable(call.prompt));
        QCOMPARE(call.style & 0xF, int(msgbox::vbOKOnly));
        QCOMPARE(call.style & 0x70, 0); // no icon
        QCOMPARE(call.title, msgbox::programTitle());
        // What ran before the error stays; nothing after it ran.
        QCOMPARE(testutil::storedSetting("AnalyzeOptions"), flags("1", 23));
        QVERIFY(!w.ui.StatusBar1->hasPanelPicture(5));
        QVERIFY(!w.ui.opt_FSX->isEnabled());
        QCOMPARE(w.ui.ListView1->rowCount(), 0);
        QVERIFY(w.ui.ListView1->columnWidth(3) > 0);
        return;
    }

    QVERIFY2(boxes.calls().empty(), qPrintable(boxes.prompts().join(" | ")));
    // Each option keeps flag and check mark together ...
    const struct
    {
        const char* key;
        QAction* item;
        bool flag;
    } options[] = {{"AutoBackup", w.ui.mnuAutoBackup, w.bAutoBackup},
                   {"Update", w.ui.mnuConfirm, w.bConfirm},
                   {"Editor", w.ui.mnuEditor, globals::gbUseEditor},
                   {"Resizeable", w.ui.mnuResizable, w.bResizable}};
    for (const auto& o : options) {
        QVERIFY2(o.item->isChecked() == o.flag, o.key);
        // ... and the options that could be read were read.
        if (key != QLatin1String(o.key))
            QVERIFY2(o.flag == (QLatin1String(o.key) == u"Resizeable"), o.key);
    }
    QVERIFY(!globals::gbToolTips);
    QCOMPARE(w.ui.ListView1->columnWidth(3), 0);
    QVERIFY(w.ui.StatusBar1->hasPanelPicture(5));
    QCOMPARE(w.folderPath(), aircraft);
    QCOMPARE(w.ui.ListView1->rowCount(), 2);
    QVERIFY(w.bAirReady);
}

void TestFrmMainStartup::dataGrid_data()
{
    QTest::addColumn<QString>("stored"); // null: absent
    QTest::addColumn<QList<int>>("hidden");

    QList<int> all;
    for (int c = 2; c < 17; ++c)
        all << c;
    QStringList last(15, "0");
    last[14] = "-1";
    QStringList beyond(17, "0");
    beyond[15] = beyond[16] = "-1";

    QTest::newRow("absent") << QString() << QList<int>{};
    QTest::newRow("0|-1|0 hides parking_code") << "0" + kBar + "-1" + kBar + "0" << QList<int>{3};
    QTest::newRow("first flag") << "-1" << QList<int>{2};
    QTest::newRow("last flag") << last.join(kBar) << QList<int>{16};
    QTest::newRow("all fifteen") << flags("-1", 15) << all;
    QTest::newRow("flags past the fifteenth") << beyond.join(kBar) << QList<int>{};
    QTest::newRow("1 is not -1") << "1" + kBar + "1" << QList<int>{};
}

void TestFrmMainStartup::dataGrid()
{
    QFETCH(QString, stored);
    QFETCH(QList<int>, hidden);

    QMap<QString, QString> settings;
    if (!stored.isNull())
        settings.insert("DataGrid", stored);
    MainWindowFixture f({}, settings);
    frm_Main& w = f.start();
    for (int c = 0; c < ListView::ColumnCount; ++c) {
        const int width = w.ui.ListView1->columnWidth(c);
        QVERIFY2(hidden.contains(c) ? width == 0 : width > 0,
                 qPrintable(QStringLiteral("column %1 width %2").arg(c).arg(width)));
    }
    QCOMPARE(globals::gsDataGrid, stored.isNull() ? flags("0", 15) : stored);
    QVERIFY(!modSettings::HasSetting("DataGrid") || !stored.isNull());
}

void TestFrmMainStartup::hiddenColumnSurvivesTheStartFolderLoad()
{
    QTemporaryDir tmp;
    const QString aircraft = makeAircraft(tmp.path() + "/Heather");
    MainWindowFixture f({}, {{"Path", aircraft}, {"DataGrid", "0" + kBar + "-1"}});
    frm_Main& w = f.start();
    QCOMPARE(w.ui.ListView1->rowCount(), 2);
    QCOMPARE(w.ui.ListView1->columnWidth(3), 0);
    QVERIFY(w.ui.ListView1->columnWidth(2) > 0);
}

void TestFrmMainStartup::startFolder_data()
{
    QTest::addColumn<QString>("remember"); // null: absent (on)
    QTest::addColumn<bool>("programFolder");

    QTest::newRow("remember by default") << QString() << false;
    QTest::newRow("remember on") << "1" << false;
    QTest::newRow("remember off") << "0" << true;
}

void TestFrmMainStartup::startFolder()
{
    QFETCH(QString, remember);
    QFETCH(bool, programFolder);

    QTemporaryDir tmp;
    const QString aircraft = makeAircraft(tmp.path() + "/Heather");
    QMap<QString, QString> settings{{"Path", aircraft}};
    if (!remember.isNull())
        settings.insert("IsMerrow", remember);
    BoxRecorder boxes;
    MainWindowFixture f({}, settings);
    frm_Main& w = f.start();
    QVERIFY(boxes.calls().empty());
    QVERIFY(!w.bLoading);

    if (programFolder) {
        QCOMPARE(w.folderPath(), QDir::cleanPath(QCoreApplication::applicationDirPath()));
        // The program's folder was loaded: it is no aircraft folder.
        QCOMPARE(w.ui.ListView1->rowCount(), 0);
        QCOMPARE(w.ui.StatusBar1->panelPictureText(8), QStringLiteral("AC Folder"));
        QCOMPARE(w.ui.StatusBar1->panelBackColor(8), kRed);
    } else {
        QCOMPARE(w.folderPath(), aircraft);
        QCOMPARE(w.ui.ListView1->rowCount(), 2);
        QCOMPARE(w.ui.ListView1->selectedRow(), 0);
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Heather One"));
        QCOMPARE(w.ui.txt_general_atc_type->text(), QStringLiteral("HEATHER"));
        QCOMPARE(w.ui.StatusBar1->panelBackColor(8), kGreen);
        QVERIFY(w.ui.SSTab1->isEnabled());
        QVERIFY(aircraft.startsWith(w.ui.Drive1->drive()));
    }
    QCOMPARE(testutil::storedSetting("Path"), aircraft);
}

void TestFrmMainStartup::rememberedFolderGone()
{
    QTemporaryDir tmp;
    const QString gone = tmp.path() + "/Heather";
    BoxRecorder boxes;
    MainWindowFixture f({}, {{"Path", gone}});
    frm_Main& w = f.start();

    QVERIFY(boxes.calls().empty());
    QVERIFY(w.folderPath() != gone);
    QCOMPARE(w.ui.ListView1->rowCount(), 0);
    QVERIFY(!w.ui.StatusBar1->hasPanelPicture(8));
    QVERIFY(!w.bLoading);
    QVERIFY(w.bAirReady);
    QCOMPARE(testutil::storedSetting("Path"), gone);

    // The window is usable: the folder turns up again and is loaded.
    makeAircraft(gone);
    QVERIFY(w.ui.Dir1->setPath(gone));
    QCOMPARE(w.ui.ListView1->rowCount(), 2);
    QCOMPARE(w.ui.StatusBar1->panelPictureText(9), QStringLiteral("AC Status: OK"));
}

void TestFrmMainStartup::rememberedRoot()
{
    // A path of three characters or fewer is a root: the drive change is not
    // held back and the folder itself is loaded all the same.
    BoxRecorder boxes;
    MainWindowFixture f({}, {{"Path", "/"}});
    frm_Main& w = f.start();
    QVERIFY(boxes.calls().empty());
    QCOMPARE(w.folderPath(), QStringLiteral("/"));
    QCOMPARE(w.ui.Drive1->drive(), QStringLiteral("/"));
    QVERIFY(!w.bLoading);
    QVERIFY(w.ui.StatusBar1->hasPanelPicture(8));
    QCOMPARE(w.ui.StatusBar1->panelPictureText(10), QString());
    QCOMPARE(w.ui.StatusBar1->panelText(10), QStringLiteral("0 aircraft variations defined"));
    QVERIFY(!w.ui.cmd_DirUp->isEnabled());
}

QTEST_MAIN(TestFrmMainStartup)
#include "tst_frmmain_startup.moc"
