// Changing what the main window shows: the editor reset, a load during the
// start-up, a reload, folders and files that are not what they should be, and
// the drive list.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/DriveList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "mainwindow/widgets/VbColors.h"

#include "BoxRecorder.h"
#include "FolderLoad.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace testutil::colors;
using testutil::BoxRecorder;
using testutil::entryFields;
using testutil::exitBoxes;
using testutil::makeCfg;
using testutil::makeFullAircraft;

class TestFrmMainFolderChange : public testutil::FolderLoadTest
{
    Q_OBJECT

private slots:
    void resetClearsTheEditor();
    void resetAndLoadWaitDuringStartup();
    void reloadKeepsNothingOfTheLastRun();
    void badInput_data();
    void badInput();
    void driveChange();
    void driveThatCannotBeRead();
};

void TestFrmMainFolderChange::resetClearsTheEditor()
{
    frm_Main& w = window();
    load(makeFullAircraft(root() + "/Heather"));
    QVERIFY(w.ui.txt_FS9Radius->text() == u"40" && !w.ui.txt_FS9Radius->isReadOnly());
    w.ui.lstParking->item(2)->setCheckState(Qt::Checked);
    w.iEffect = 4;

    w.ResetValues();

    QCOMPARE(w.ui.ListView1->rowCount(), 0);
    QVERIFY(w.ui.txt_WingSpan_Org->text().isEmpty());
    QVERIFY(w.ui.txt_WingSpan_New->text().isEmpty());
    QCOMPARE(backColor(w.ui.txt_WingSpan_New), kLightYellow);
    for (QLineEdit* field : entryFields(w)) {
        QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
        QVERIFY2(backColor(field) == kGrey, qPrintable(field->objectName()));
    }
    QVERIFY(w.ui.txt_FSXVersion->text().isEmpty());
    QVERIFY(w.ui.txt_FS9Radius->text().isEmpty());
    QVERIFY(w.ui.txt_FS9Radius->isReadOnly());
    QCOMPARE(backColor(w.ui.txt_FS9Radius), kGrey);
    QCOMPARE(backColor(w.findChild<QFrame*>("picCombo")), kGrey);
    QCOMPARE(backColor(w.ui.lblSelections), kGrey);
    QVERIFY(w.ui.lblSelections->text().isEmpty());
    for (QLineEdit* box : exitBoxes(w))
        QVERIFY2(box->text().isEmpty() && backColor(box) == kGrey, qPrintable(box->objectName()));
    for (int i = 0; i < 11; ++i) {
        QVERIFY(w.ui.txt_effects.at(i)->text().isEmpty());
        QCOMPARE(backColor(w.ui.txt_effects.at(i)), kWhite);
        QVERIFY(!w.ui.chk_Effect.at(i)->isChecked());
    }
    QVERIFY(!w.ui.cmd_ParkingCodes->isEnabled());
    QVERIFY(!w.ui.cmdDropDown->isEnabled());
    QCOMPARE(w.ui.txt_Jetways->text(), QStringLiteral("Jetways possible: no"));
    QCOMPARE(backColor(w.ui.txt_Jetways), kJetwayRed);
    for (QCheckBox* box : {w.ui.chk_Exit_0, w.ui.chk_Exit_1, w.ui.chk_Exit_2, w.ui.chk_atc_heavy})
        QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
    QVERIFY(!w.ui.chk_atc_heavy->isEnabled());
    QVERIFY(w.sMdlFile.isEmpty());
    QCOMPARE(w.iEffect, -1);
    for (const char* name : {"opt_ac_Normal", "opt_ac_Helicopter", "opt_ac_AI", "opt_ac_Nok"}) {
        auto* opt = w.findChild<QRadioButton*>(name);
        QVERIFY2(opt && !opt->isChecked() && !opt->isEnabled(), name);
    }
    QVERIFY(w.ui.txt_CurrentModel->text().isEmpty());
    QVERIFY(w.ui.txt_CurrentTexture->text().isEmpty());
    QVERIFY(w.ui.txt_Description->text().isEmpty());
    QVERIFY(w.sAirFile.isEmpty());
    for (QComboBox* combo : {w.ui.combo_Texture, w.ui.combo_Model, w.ui.combo_Airfile})
        QCOMPARE(combo->count(), 0);
    QCOMPARE(w.ui.lst_Airfile->count(), 0);
    QCOMPARE(w.ui.lstParking->count(), 6);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(w.ui.lstParking->item(i)->checkState(), Qt::Unchecked);

    // What the reset leaves to the load.
    QCOMPARE(w.ui.StatusBar1->panelPictureText(9), QStringLiteral("AC Status: OK"));
    QCOMPARE(w.ui.StatusBar1->panelText(10), QStringLiteral("3 aircraft variations defined"));
    QVERIFY(w.ui.mnuValidate->isEnabled());
    QVERIFY(w.ui.cmd_DirUp->isEnabled());
    QVERIFY(w.ui.SSTab1->isEnabled());
    QCOMPARE(w.sDescriptions.size(), 3);
    QCOMPARE(w.sExit0Comment, QStringLiteral("//Main door"));
}

void TestFrmMainFolderChange::resetAndLoadWaitDuringStartup()
{
    frm_Main& w = window();
    load(makeFullAircraft(root() + "/Heather"));
    w.bLoading = true;
    w.ResetValues();
    QCOMPARE(w.ui.ListView1->rowCount(), 3);
    QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Heather Jet 100"));
    QCOMPARE(w.ui.combo_Texture->count(), 2);

    // A load while starting only forgets the descriptions.
    w.Dir1_Change();
    QVERIFY(w.sDescriptions.isEmpty());
    QCOMPARE(w.ui.ListView1->rowCount(), 3);
    QCOMPARE(w.ui.txt_WingSpan_Org->text(), QStringLiteral("112.6"));

    w.bLoading = false;
    w.RunChange();
    QCOMPARE(w.sDescriptions.size(), 3);
    QCOMPARE(w.ui.ListView1->rowCount(), 3);
}

void TestFrmMainFolderChange::reloadKeepsNothingOfTheLastRun()
{
    frm_Main& w = window();
    load(makeFullAircraft(root() + "/Heather"));
    load(makeCfg(root() + "/Plain", "[fltsim.0]\r\ntitle=Plain\r\n"));
    QCOMPARE(w.ui.ListView1->rowCount(), 1);
    QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Plain"));
    QVERIFY(w.ui.txt_general_atc_model->text().isEmpty());
    QVERIFY(w.ui.txt_WingSpan_Org->text().isEmpty());
    QVERIFY(w.ui.txt_effects.at(4)->text().isEmpty());
    QVERIFY(!w.ui.chk_Effect.at(4)->isChecked());
    QCOMPARE(w.ui.txt_Jetways->text(), QStringLiteral("Jetways possible: no"));
    QCOMPARE(w.sDescriptions, QStringList{""});
    QVERIFY(w.ui.txt_FS9Radius->text().isEmpty());
    QVERIFY(w.ui.txt_FS9Radius->isReadOnly());
    QVERIFY(w.ui.combo_Texture->count() == 0 && w.ui.lst_Airfile->count() == 0);
    QVERIFY(!w.ui.opt_ac_Normal->isChecked());
    QCOMPARE(w.ui.StatusBar1->panelText(10), QStringLiteral("1 aircraft variations defined"));
    QCOMPARE(w.ui.txt_CurrentAirfile->text(), QStringLiteral("<none>"));
}

void TestFrmMainFolderChange::badInput_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("unreadable folder") << "unreadable folder";
    QTest::newRow("aircraft.cfg is a folder") << "cfg folder";
    QTest::newRow("binary aircraft.cfg") << "binary";
    QTest::newRow("unreadable aircraft.cfg") << "unreadable cfg";
}

void TestFrmMainFolderChange::badInput()
{
    QFETCH(QString, kind);
    if (kind.startsWith(u"unreadable") && testutil::runningAsRoot())
        QSKIP("root reads every file");

    frm_Main& w = window();
    const QString good = makeFullAircraft(root() + "/Heather");
    load(good);
    const QString bad = root() + "/Bad";
    if (kind == u"unreadable folder") {
        makeCfg(bad, "[fltsim.0]\r\ntitle=Hidden\r\n");
        testutil::setMode(bad, 0000);
    } else if (kind == u"cfg folder") {
        testutil::makeDir(bad + "/aircraft.cfg/fltsim.0");
    } else if (kind == u"binary") {
        QByteArray noise;
        for (int i = 0; i < 20000; ++i)
            noise.append(static_cast<char>((i * 7919 + i / 13) % 256));
        noise.replace(100, 12, "\r\n[fltsim.0");
        testutil::writeFile(bad + "/aircraft.cfg", noise);
    } else {
        makeCfg(bad, "[fltsim.0]\r\ntitle=Locked\r\n");
        testutil::setMode(bad + "/aircraft.cfg", 0000);
    }

    {
        // A file that is there but cannot be read is told, once; other bad
        // input loads without a word.
        BoxRecorder told;
        load(bad);
        if (kind == u"unreadable cfg") {
            QCOMPARE(told.calls().size(), size_t(1));
            QVERIFY(told.prompts().first().contains(" could not be read. "));
        } else {
            QVERIFY2(told.calls().empty(), qPrintable(told.prompts().join(" | ")));
        }
    }
    // Let the temporary folder go again.
    if (kind == u"unreadable folder")
        testutil::setMode(bad, 0755);
    else if (kind == u"unreadable cfg")
        testutil::setMode(bad + "/aircraft.cfg", 0644);

    StatusPanels* bar = w.ui.StatusBar1;
    const int rows = w.ui.ListView1->rowCount();
    QCOMPARE(bar->panelText(10), QString::number(rows) + " aircraft variations defined");
    QCOMPARE(w.ui.SSTab1->isEnabled(), rows > 0);
    QCOMPARE(w.ui.mnuValidate->isEnabled(), rows > 0);
    if (kind == u"unreadable folder" || kind == u"cfg folder") {
        QCOMPARE(rows, 0);
        QCOMPARE(bar->panelBackColor(8), kPanelRed);
        QCOMPARE(bar->panelPictureText(9), QStringLiteral("AC Status: n/a"));
    } else {
        QCOMPARE(bar->panelBackColor(8), kPanelGreen);
    }
    if (kind == u"unreadable cfg") {
        // Nothing could be read, so nothing is claimed about it.
        QCOMPARE(rows, 0);
        QVERIFY(bar->panelPictureText(9) != u"AC Status: OK");
        QCOMPARE(bar->panelPictureText(9), QStringLiteral("AC Status: NOK"));
    }
    QCOMPARE(testutil::storedSetting("Path"), rows > 0 ? bad : good);

    // The window is still usable.
    load(good);
    QCOMPARE(w.ui.ListView1->rowCount(), 3);
    QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Heather Jet 100"));
    QCOMPARE(bar->panelPictureText(9), QStringLiteral("AC Status: OK"));
}

void TestFrmMainFolderChange::driveChange()
{
    frm_Main& w = window();
    QTemporaryDir volume;
    makeCfg(volume.path(), "[fltsim.0]\r\ntitle=On the drive\r\n[fltsim.1]\r\ntitle=Also there\r\n"
                           "[exits]\r\nexit.0=1,2,3,4,5 //door\r\n");
    load(makeFullAircraft(root() + "/Heather"));

    auto* drives = w.findChild<DriveList*>("Drive1");
    QVERIFY(drives);
    drives->setVolumes({"/", volume.path()});
    QCOMPARE(w.ui.ListView1->rowCount(), 3); // listing the volumes again changes nothing
    QVERIFY(drives->setDrive(volume.path()));

    // The drive's folder was loaded: its panels, menus and saved path stay ...
    QCOMPARE(w.folderPath(), volume.path());
    StatusPanels* bar = w.ui.StatusBar1;
    QCOMPARE(bar->panelPictureText(8), QStringLiteral("AC Folder"));
    QCOMPARE(bar->panelBackColor(8), kPanelGreen);
    QCOMPARE(bar->panelPictureText(9), QStringLiteral("AC Status: OK"));
    QCOMPARE(bar->panelText(10), QStringLiteral("2 aircraft variations defined"));
    QVERIFY(w.ui.mnuValidate->isEnabled());
    QVERIFY(!w.ui.mnuvalidateAll->isEnabled());
    QCOMPARE(testutil::storedSetting("Path"), volume.path());
    QCOMPARE(w.sExit0Comment, QStringLiteral("//door"));

    // ... but the reset after it empties grid and editor.
    QCOMPARE(w.ui.ListView1->rowCount(), 0);
    QVERIFY(w.ui.txt_Title->text().isEmpty());
    QCOMPARE(backColor(w.ui.txt_Title), kGrey);
    QVERIFY(w.ui.txt_Exit_0.at(0)->text().isEmpty());
    QCOMPARE(w.ui.txt_Jetways->text(), QStringLiteral("Jetways possible: no"));
    QVERIFY(!w.ui.mnuCFG->isEnabled());
    // With no entry to edit, the entry editor cannot be used.
    QVERIFY(!w.ui.SSTab1->isEnabled());

    // Back to the root volume: its folder is no aircraft folder.
    QVERIFY(drives->setDrive("/"));
    QCOMPARE(w.folderPath(), QStringLiteral("/"));
    QCOMPARE(bar->panelBackColor(8), kPanelRed);
    QVERIFY(!w.ui.cmd_DirUp->isEnabled());
}

void TestFrmMainFolderChange::driveThatCannotBeRead()
{
    frm_Main& w = window();
    const QString good = makeFullAircraft(root() + "/Heather");
    load(good);
    const QString gone = root() + "/unplugged";
    w.ui.Drive1->setVolumes({"/", gone});
    QVERIFY(w.ui.Drive1->setDrive(gone));

    // The user is told; the folder list, the drive list and the loaded
    // entries stay as they were.
    QCOMPARE(boxes().prompts(), QStringList{"The drive " + gone + " could not be opened."});
    QCOMPARE(boxes().calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
    resetBoxes();
    QCOMPARE(w.folderPath(), good);
    QCOMPARE(w.ui.Drive1->drive(), QStringLiteral("/"));
    QCOMPARE(w.ui.ListView1->rowCount(), 3);
    QVERIFY(w.ui.SSTab1->isEnabled());
    QCOMPARE(testutil::storedSetting("Path"), good);

    // The window is still usable.
    w.RunChange();
    QCOMPARE(w.ui.ListView1->rowCount(), 3);
    QVERIFY(w.ui.mnuCFG->isEnabled());
}
QTEST_MAIN(TestFrmMainFolderChange)
#include "tst_frmmain_folderchange.moc"
