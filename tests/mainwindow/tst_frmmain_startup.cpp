// Start-up of the main window: what an empty settings store gives, simulator
// detection from the Wine prefix and the simulation-folder list.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/modSettings.h"

#include "BoxRecorder.h"
#include "MainWindowFixture.h"
#include "StartupFixture.h"
#include "TestUtil.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidgetItem>

using testutil::BoxRecorder;
using testutil::flags;
using testutil::kGreen;
using testutil::kRed;
using testutil::kWhite;
using testutil::MainWindowFixture;
using testutil::makeAircraft;
using testutil::PrefixSpec;

class TestFrmMainStartup : public testutil::StartupTest
{
    Q_OBJECT

private slots:
    void emptyStore();
    void simulators_data();
    void simulators();
    void simFolderListFromDisk();
    void simFolderListFromFsxCfg();
    void simFolderListKeepsIndexesInStep();
    void danglingDriveLinks();
};

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

    PrefixSpec spec = testutil::simulatorSpec(fs9, fsx, win64);
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

QTEST_MAIN(TestFrmMainStartup)
#include "tst_frmmain_startup.moc"
