// The folder load of the main window as the user sees it: the grid, the
// aircraft-wide fields, the status panels, menus and lists of a folder with
// entries, without them and without aircraft.cfg.
#include "editing/frm_RightClick.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "mainwindow/widgets/VbColors.h"

#include "FolderLoad.h"
#include "SimFiles.h"
#include "TestUtil.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace testutil::colors;
using testutil::crlf;
using testutil::entryFields;
using testutil::entryMenus;
using testutil::exitBoxes;
using testutil::itemsOf;
using testutil::makeCfg;
using testutil::makeFullAircraft;

namespace {

// The texture, model and air-file lists of the folder shown, its first air
// file chosen.
void verifyLists(frm_Main& w, const QStringList& textures, const QStringList& models,
                 const QStringList& airFiles)
{
    QCOMPARE(itemsOf(w.ui.combo_Texture), textures);
    QCOMPARE(itemsOf(w.ui.combo_Model), models);
    QCOMPARE(itemsOf(w.ui.combo_Airfile), airFiles);
    QCOMPARE(itemsOf(w.ui.lst_Airfile), airFiles);
    QCOMPARE(w.ui.lst_Airfile->currentRow(), 0);
}

} // namespace

class TestFrmMainFolder : public testutil::FolderLoadTest
{
    Q_OBJECT

private slots:
    void fullAircraft();
    void noAircraftCfg();
    void cfgWithoutEntries();
    void gridCells_data();
    void gridCells();
    void status_data();
    void status();
    void folderListings();
    void pathSavedOnlyWithRows();
    void manyEntries_data();
    void manyEntries();
};

void TestFrmMainFolder::fullAircraft()
{
    frm_Main& w = window();
    const QString folder = makeFullAircraft(root() + "/Heather");
    load(folder);

    // The grid: one row per entry, the first selected and shown.
    ListView* grid = w.findChild<ListView*>("ListView1");
    QVERIFY(grid);
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->selectedRow(), 0);
    const QStringList row0{"FLTSIM.0",  "Heather Jet 100", "GATE,RAMP",
                           "HJ",        "Fernquill tests", "Commercial Airliner",
                           "Heather",   "HJ 100",          "House colours",
                           "<default>", "HJ100",           "HJ-100",
                           "100",       "HEATHER",         "0",
                           "HJ1",       "<default>"};
    for (int c = 0; c < ListView::ColumnCount; ++c)
        QCOMPARE(grid->rowText(0, c), row0.at(c));
    QCOMPARE(grid->rowText(1, 9), QStringLiteral("freighter"));
    QCOMPARE(grid->rowText(2, 9), QString());
    QCOMPARE(grid->rowText(2, 16), QStringLiteral("Blue\\Dark"));
    for (int r = 0; r < 3; ++r)
        QVERIFY(!grid->isTicked(r));

    // The entry editor shows row 1.
    auto* title = w.findChild<QLineEdit*>("txt_Title");
    QCOMPARE(title->text(), QStringLiteral("Heather Jet 100"));
    QCOMPARE(backColor(title), kWhite);
    QCOMPARE(w.ui.txt_Description->text(), QStringLiteral("Short-haul jet //kept as written"));
    QCOMPARE(w.sDescriptions, (QStringList{"Short-haul jet //kept as written", "", ""}));
    QCOMPARE(w.ui.txt_CurrentTexture->text(), QStringLiteral("<default>"));
    QCOMPARE(w.ui.txt_CurrentModel->text(), QStringLiteral("<default>"));
    QCOMPARE(w.ui.txt_CurrentAirfile->text(), QStringLiteral("HJ100"));
    QCOMPARE(w.ui.txt_FSXVersion->text(), QStringLiteral("FS8/9"));
    QCOMPARE(w.ui.txt_FS9Radius->text(), QStringLiteral("40"));
    QVERIFY(w.ui.opt_ac_Normal->isChecked() && w.ui.opt_ac_Normal->isEnabled());

    // Aircraft-wide fields.
    QCOMPARE(w.ui.txt_general_atc_type->text(), QStringLiteral("HEATHER"));
    QCOMPARE(w.ui.txt_general_atc_model->text(), QStringLiteral("HJ1 //g"));
    QCOMPARE(w.ui.txt_WingSpan_Org->text(), QStringLiteral("112.6"));
    QCOMPARE(w.ui.txt_WingSpan_New->text(), QString());
    QCOMPARE(w.findChild<QLineEdit*>("txt_Exit_0[4]")->text(), QStringLiteral("0"));
    QCOMPARE(w.findChild<QLineEdit*>("txt_effects[4]")->text(), QStringLiteral("fx_tchdwn"));
    for (QLineEdit* box : exitBoxes(w) + QList<QLineEdit*>{w.ui.txt_general_atc_model,
                                                           w.ui.txt_general_atc_type, w.ui.txt_WingSpan_New})
        QVERIFY2(backColor(box) == kWhite, qPrintable(box->objectName()));
    QCOMPARE(w.ui.txt_Jetways->text(), QStringLiteral("Jetways possible: yes"));
    QCOMPARE(backColor(w.ui.txt_Jetways), kJetwayGreen);

    // Status bar, menus, tabs, navigation.
    StatusPanels* bar = w.ui.StatusBar1;
    QCOMPARE(bar->panelPictureText(8), QStringLiteral("AC Folder"));
    QCOMPARE(bar->panelBackColor(8), kPanelGreen);
    QCOMPARE(bar->panelPictureText(9), QStringLiteral("AC Status: OK"));
    QCOMPARE(bar->panelBackColor(9), kPanelGreen);
    QCOMPARE(bar->panelForeColor(9), QColor(255, 255, 255));
    QCOMPARE(bar->panelAlignment(9), 2);
    QCOMPARE(bar->panelText(10), QStringLiteral("3 aircraft variations defined"));
    for (QAction* item : entryMenus(w))
        QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
    QVERIFY(!w.findChild<QAction*>("mnuvalidateAll")->isEnabled());
    QVERIFY(w.findChild<QTabWidget*>("SSTab1")->isEnabled());
    QVERIFY(w.findChild<QPushButton*>("cmd_DirUp")->isEnabled());
    QCOMPARE(w.rightClick()->mnuDelete->text(), QStringLiteral("&Delete [fltsim.0]"));

    // Lists of the folder.
    verifyLists(w, {"<default>", "Cargo"}, {"<default>", "freighter"}, {"HJ100"});

    QCOMPARE(testutil::storedSetting("Path"), folder);
}

void TestFrmMainFolder::noAircraftCfg()
{
    frm_Main& w = window();
    const QString full = makeFullAircraft(root() + "/Heather");
    load(full);
    const QString bare = root() + "/Bare";
    testutil::makeDir(bare + "/texture.Old");
    testutil::makeDir(bare + "/model");
    testutil::writeFile(bare + "/Spare.air", testutil::airTypeRecord(1));
    load(bare);

    QCOMPARE(w.ui.ListView1->rowCount(), 0);
    QCOMPARE(w.ui.ListView1->selectedRow(), -1);
    StatusPanels* bar = w.findChild<StatusPanels*>("StatusBar1");
    QVERIFY(bar);
    QCOMPARE(bar->panelPictureText(8), QStringLiteral("AC Folder"));
    QCOMPARE(bar->panelBackColor(8), kPanelRed);
    QCOMPARE(bar->panelPictureText(9), QStringLiteral("AC Status: n/a"));
    QCOMPARE(bar->panelBackColor(9), kPanelGrey);
    QCOMPARE(bar->panelText(10), QStringLiteral("0 aircraft variations defined"));
    QCOMPARE(w.ui.txt_Jetways->text(), QStringLiteral("Jetways possible: n/a"));
    QCOMPARE(backColor(w.ui.txt_Jetways), kGrey);
    QVERIFY(!w.ui.cmd_DirUp->isEnabled());
    QVERIFY(!w.ui.SSTab1->isEnabled());
    for (QAction* item : entryMenus(w))
        QVERIFY2(!item->isEnabled(), qPrintable(item->objectName()));
    QVERIFY(w.ui.mnuvalidateAll->isEnabled());
    QCOMPARE(w.rightClick()->mnuDelete->text(), QStringLiteral("&Delete [fltsim.x]"));

    // Nothing of the previous folder stays in the editor.
    for (QLineEdit* field : entryFields(w)) {
        QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
        QVERIFY2(backColor(field) == kGrey, qPrintable(field->objectName()));
    }
    for (QLineEdit* box : exitBoxes(w))
        QVERIFY2(box->text().isEmpty() && backColor(box) == kGrey, qPrintable(box->objectName()));
    QVERIFY(w.sExit0Comment.isEmpty() && w.sExit2Comment.isEmpty());
    QVERIFY(w.ui.txt_WingSpan_Org->text().isEmpty());
    QVERIFY(w.sDescriptions.isEmpty());

    // The folder's own lists are still filled.
    verifyLists(w, {"Old"}, {"<default>"}, {"Spare"});

    // The saved folder is still the one with entries.
    QCOMPARE(testutil::storedSetting("Path"), full);
}

void TestFrmMainFolder::cfgWithoutEntries()
{
    frm_Main& w = window();
    const QString folder = makeCfg(root() + "/Shared", crlf(R"([General]
atc_type=HEATHER
atc_model=HJ1
[airplane_geometry]
wing_span=35.5
[exits]
exit.0=0.4, 27.0, -4.0, 4.5, 0 //Main door
[effects]
touchdown=fx_tchdwn, 1)"));
    load(folder);

    QCOMPARE(w.ui.ListView1->rowCount(), 0);
    StatusPanels* bar = w.ui.StatusBar1;
    QCOMPARE(bar->panelBackColor(8), kPanelGreen);
    // It said "OK" first and "n/a" last.
    QCOMPARE(bar->panelPictureText(9), QStringLiteral("AC Status: n/a"));
    QCOMPARE(bar->panelBackColor(9), kPanelGrey);
    QCOMPARE(bar->panelText(10), QStringLiteral("0 aircraft variations defined"));

    QCOMPARE(w.ui.txt_general_atc_type->text(), QStringLiteral("HEATHER"));
    QCOMPARE(w.ui.txt_general_atc_model->text(), QStringLiteral("HJ1"));
    QCOMPARE(w.ui.txt_WingSpan_Org->text(), QStringLiteral("35.5"));
    QCOMPARE(w.ui.txt_Exit_0.at(1)->text(), QStringLiteral("27.0"));
    QCOMPARE(w.sExit0Comment, QStringLiteral("//Main door"));
    QCOMPARE(w.ui.txt_effects.at(4)->text(), QStringLiteral("fx_tchdwn"));
    QVERIFY(w.ui.chk_Effect.at(4)->isChecked());
    QCOMPARE(w.ui.txt_Jetways->text(), QStringLiteral("Jetways possible: yes"));
    QVERIFY(w.ui.chk_Exit_0->isChecked());

    // Filled, but without entries they keep the inactive look.
    QCOMPARE(backColor(w.ui.txt_general_atc_model), kGrey);
    QCOMPARE(backColor(w.ui.txt_general_atc_type), kGrey);
    for (QLineEdit* box : exitBoxes(w))
        QVERIFY2(backColor(box) == kGrey, qPrintable(box->objectName()));
    QCOMPARE(backColor(w.ui.txt_WingSpan_New), kLightYellow);

    QVERIFY(w.ui.cmd_DirUp->isEnabled());
    QVERIFY(!w.ui.SSTab1->isEnabled());
    for (QAction* item : entryMenus(w))
        QVERIFY2(!item->isEnabled(), qPrintable(item->objectName()));
    QVERIFY(w.ui.mnuvalidateAll->isEnabled());
    QCOMPARE(w.rightClick()->mnuDelete->text(), QStringLiteral("&Delete [fltsim.x]"));
    QVERIFY(testutil::storedSetting("Path").isNull());
}

void TestFrmMainFolder::gridCells_data()
{
    QTest::addColumn<QByteArray>("entry"); // lines after the section line
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");

    QTest::newRow("title, comment stripped") << QByteArray("title=Liner A //note") << 1 << "Liner A";
    QTest::newRow("key names in any case") << QByteArray("TITLE=Liner B") << 1 << "Liner B";
    QTest::newRow("the first of two titles") << QByteArray("title=First\r\ntitle=Second") << 1 << "First";
    QTest::newRow("parking types upper-cased")
        << QByteArray("atc_parking_types=gate,ramp //x") << 2 << "GATE,RAMP";
    QTest::newRow("parking codes") << QByteArray("atc_parking_codes=HJ,QC //x") << 3 << "HJ,QC";
    QTest::newRow("created by") << QByteArray("ui_createdby=Someone") << 4 << "Someone";
    QTest::newRow("type role") << QByteArray("ui_typerole=Glider") << 5 << "Glider";
    QTest::newRow("manufacturer") << QByteArray("ui_manufacturer=Heather") << 6 << "Heather";
    QTest::newRow("type") << QByteArray("ui_type=HJ 100") << 7 << "HJ 100";
    QTest::newRow("variation") << QByteArray("ui_variation=Blue //x") << 8 << "Blue";
    QTest::newRow("model empty") << QByteArray("model=") << 9 << "<default>";
    QTest::newRow("model only a comment") << QByteArray("model= //none") << 9 << "<default>";
    QTest::newRow("model missing") << QByteArray("title=A") << 9 << "";
    QTest::newRow("model with slashes") << QByteArray("model=heavy/v2 //x") << 9 << "heavy\\v2";
    QTest::newRow("sim") << QByteArray("sim=HJ100 //x") << 10 << "HJ100";
    QTest::newRow("atc id") << QByteArray("atc_id=HJ-1") << 11 << "HJ-1";
    QTest::newRow("flight number") << QByteArray("atc_flight_number=42") << 12 << "42";
    QTest::newRow("airline") << QByteArray("atc_airline=HEATHER") << 13 << "HEATHER";
    QTest::newRow("heavy") << QByteArray("atc_heavy=1") << 14 << "1";
    QTest::newRow("atc model") << QByteArray("atc_model=HJ1") << 15 << "HJ1";
    QTest::newRow("texture empty") << QByteArray("texture=") << 16 << "<default>";
    QTest::newRow("texture missing") << QByteArray("title=A") << 16 << "";
    QTest::newRow("texture with slashes") << QByteArray("texture=Blue/Dark") << 16 << "Blue\\Dark";
    QTest::newRow("unknown keys fill nothing") << QByteArray("panel=\r\nsound=x") << 1 << "";
}

void TestFrmMainFolder::gridCells()
{
    QFETCH(QByteArray, entry);
    QFETCH(int, column);
    QFETCH(QString, text);

    frm_Main& w = window();
    load(makeCfg(root() + "/Cells", "[fltsim.3]\r\n" + entry + "\r\n"));
    QCOMPARE(w.ui.ListView1->rowCount(), 1);
    QCOMPARE(w.ui.ListView1->rowText(0, 0), QStringLiteral("FLTSIM.3"));
    QCOMPARE(w.ui.ListView1->rowText(0, column), text);
    // A panel may say NOK for a model that cannot be found; the count is sure.
    QCOMPARE(w.ui.StatusBar1->panelText(10), QStringLiteral("1 aircraft variations defined"));
}

void TestFrmMainFolder::status_data()
{
    QTest::addColumn<QByteArray>("cfg");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("ok");

    QTest::newRow("distinct") << QByteArray("[fltsim.0]\r\ntitle=Liner A\r\n[fltsim.1]\r\ntitle=Liner B\r\n")
                              << 2 << true;
    QTest::newRow("same section in two spellings")
        << QByteArray("[fltsim.0]\r\ntitle=Liner A\r\n[FLTSIM.0]\r\ntitle=Liner B\r\n") << 2 << false;
    QTest::newRow("titles differing in case")
        << QByteArray("[fltsim.0]\r\ntitle=Liner A\r\n[fltsim.1]\r\ntitle=LINER a\r\n") << 2 << false;
    QTest::newRow("one entry with two titles")
        << QByteArray("[fltsim.0]\r\ntitle=Liner A\r\ntitle=Liner B\r\n") << 1 << false;
    // The titles are compared as written, comments included.
    QTest::newRow("titles differing in the comment")
        << QByteArray("[fltsim.0]\r\ntitle=Liner A //x\r\n[fltsim.1]\r\ntitle=Liner A //y\r\n") << 2 << true;
    QTest::newRow("entries without titles")
        << QByteArray("[fltsim.0]\r\nsim=A\r\n[fltsim.1]\r\nsim=B\r\n") << 2 << true;
}

void TestFrmMainFolder::status()
{
    QFETCH(QByteArray, cfg);
    QFETCH(int, rows);
    QFETCH(bool, ok);

    frm_Main& w = window();
    load(makeCfg(root() + "/Status", cfg));
    QCOMPARE(w.ui.ListView1->rowCount(), rows);
    QCOMPARE(w.ui.StatusBar1->panelPictureText(9),
             ok ? QStringLiteral("AC Status: OK") : QStringLiteral("AC Status: NOK"));
    QCOMPARE(w.ui.StatusBar1->panelBackColor(9), ok ? kPanelGreen : kPanelRed);
    QCOMPARE(w.ui.StatusBar1->panelBackColor(8), kPanelGreen);
    for (int r = 0; r < rows; ++r)
        QVERIFY(w.ui.ListView1->rowText(r, 0).startsWith(u"FLTSIM."));
}

void TestFrmMainFolder::folderListings()
{
    frm_Main& w = window();
    const QString folder = makeCfg(root() + "/Lists", "[fltsim.0]\r\ntitle=A\r\n");
    for (const char* dir :
         {"texture", "texture.Blue", "TEXTURE.red", "model", "model.Heavy", "textures", "folder.air"})
        testutil::makeDir(folder + "/" + dir);
    testutil::writeFile(folder + "/B738.air", testutil::airTypeRecord(0));
    testutil::writeFile(folder + "/b738.v2.air", testutil::airTypeRecord(0));
    testutil::writeFile(folder + "/Other.AIR", testutil::airTypeRecord(0));
    testutil::writeFile(folder + "/notes.airx", "x");
    load(folder);

    verifyLists(w, {"<default>", "Blue", "red"}, {"<default>", "Heavy"}, {"B738", "b738", "Other"});

    // A second load lists each once.
    w.RunChange();
    QCOMPARE(w.ui.combo_Texture->count(), 3);
    QCOMPARE(w.ui.lst_Airfile->count(), 3);
}

void TestFrmMainFolder::pathSavedOnlyWithRows()
{
    const QString a = makeCfg(root() + "/A", "[fltsim.0]\r\ntitle=A\r\n");
    const QString none = makeCfg(root() + "/None", "[General]\r\natc_type=X\r\n");
    const QString b = makeCfg(root() + "/B", "[fltsim.0]\r\ntitle=B\r\n");
    QVERIFY(testutil::storedSetting("Path").isNull());
    load(none);
    QVERIFY(testutil::storedSetting("Path").isNull());
    load(a);
    QCOMPARE(testutil::storedSetting("Path"), a);
    load(none);
    QCOMPARE(testutil::storedSetting("Path"), a);
    load(b);
    QCOMPARE(testutil::storedSetting("Path"), b);
}

void TestFrmMainFolder::manyEntries_data()
{
    QTest::addColumn<int>("entries");
    QTest::newRow("700") << 700;
    QTest::newRow("1000") << 1000;
}

void TestFrmMainFolder::manyEntries()
{
    QFETCH(int, entries);
    QByteArray cfg;
    for (int i = 0; i < entries; ++i)
        cfg += "[fltsim." + QByteArray::number(i) + "]\r\ntitle=Livery " + QByteArray::number(i) + "\r\n";
    cfg += "[General]\r\natc_type=HEATHER\r\n";
    frm_Main& w = window();
    load(makeCfg(root() + "/Many", cfg));

    const int rows = w.ui.ListView1->rowCount();
    QCOMPARE(w.ui.StatusBar1->panelText(10), QString::number(rows) + " aircraft variations defined");
    // More section names than an 8192-character list holds (about 750): every
    // one of them still reaches the grid.
    QCOMPARE(rows, entries);
    QCOMPARE(w.ui.ListView1->rowText(rows - 1, 1), "Livery " + QString::number(rows - 1));
}
QTEST_MAIN(TestFrmMainFolder)
#include "tst_frmmain_folder.moc"
