// Start-up of the main window: the folder it opens on, remembered or not.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"

#include "BoxRecorder.h"
#include "MainWindowFixture.h"
#include "OddFile.h"
#include "StartupFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using testutil::BoxRecorder;
using testutil::kGreen;
using testutil::kRed;
using testutil::MainWindowFixture;
using testutil::makeAircraft;

class TestFrmMainStartFolder : public testutil::StartupTest
{
    Q_OBJECT

private slots:
    void startFolder_data();
    void startFolder();
    void rememberedFolderGone();
    void rememberedRoot();
    void rememberedFolderWithOddAircraftCfg_data();
    void rememberedFolderWithOddAircraftCfg();
};

void TestFrmMainStartFolder::startFolder_data()
{
    QTest::addColumn<QString>("remember"); // null: absent (on)
    QTest::addColumn<bool>("programFolder");

    QTest::newRow("remember by default") << QString() << false;
    QTest::newRow("remember on") << "1" << false;
    QTest::newRow("remember off") << "0" << true;
}

void TestFrmMainStartFolder::startFolder()
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

void TestFrmMainStartFolder::rememberedFolderGone()
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

void TestFrmMainStartFolder::rememberedRoot()
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


void TestFrmMainStartFolder::rememberedFolderWithOddAircraftCfg_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* kind : testutil::kOddKinds)
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void TestFrmMainStartFolder::rememberedFolderWithOddAircraftCfg()
{
    // A pipe (or socket, device, folder) named aircraft.cfg is no aircraft.cfg:
    // the window opens on the folder as on one without it, and never reads it.
    QFETCH(QString, kind);
    QTemporaryDir tmp;
    const QString aircraft = makeAircraft(tmp.path() + "/Heather");
    const testutil::OddFile odd(aircraft + "/aircraft.cfg", kind);
    QVERIFY(odd.made());
    BoxRecorder boxes;
    MainWindowFixture f({}, {{"Path", aircraft}});
    frm_Main& w = f.start();

    QVERIFY(boxes.calls().empty());
    QCOMPARE(odd.readerOpens(), 0);
    QCOMPARE(w.folderPath(), aircraft);
    QCOMPARE(w.ui.ListView1->rowCount(), 0);
    QCOMPARE(w.ui.StatusBar1->panelPictureText(9), QStringLiteral("AC Status: n/a"));
    QCOMPARE(w.ui.StatusBar1->panelText(10), QStringLiteral("0 aircraft variations defined"));
    QVERIFY(w.bAirReady);
}

QTEST_MAIN(TestFrmMainStartFolder)
#include "tst_frmmain_startfolder.moc"
