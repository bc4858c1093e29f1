// The folder load of the main window as the user sees it: the grid, the
// aircraft-wide fields, the status panels, menus and lists; the editor reset;
// the drive list; folders and files that are not what they should be.
#include "editing/frm_RightClick.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "mainwindow/widgets/VbColors.h"

#include "BoxRecorder.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtEndian>
#include <QTest>
#include <QToolButton>

using testutil::BoxRecorder;
using testutil::MainWindowFixture;

namespace {

const QColor kPanelGreen(0, 128, 0);
const QColor kPanelRed(128, 0, 0);
const QColor kPanelGrey(128, 128, 128);
const QColor kWhite = vbColor(0xFFFFFF);
const QColor kGrey = vbColor(0xE0E0E0);
const QColor kLightYellow = vbColor(0xC0FFFF);
const QColor kJetwayRed = vbColor(255);
const QColor kJetwayGreen = vbColor(0xFF00);

// An FS9 model header: tag "MDL9" and the radius byte at offset 28.
QByteArray mdl9(quint8 radius)
{
    QByteArray b(32, '\x11');
    b.replace(0, 4, "RIFF");
    b.replace(8, 4, "MDL9");
    b[28] = static_cast<char>(radius);
    return b;
}

// An .air file whose one record is the aircraft type.
QByteArray airOfType(qint32 type)
{
    QByteArray b(12, '\0');
    qToLittleEndian<qint32>(0x105, b.data());
    qToLittleEndian<qint32>(4, b.data() + 4);
    qToLittleEndian<qint32>(type, b.data() + 8);
    return b;
}

// The text with Windows line ends, as aircraft.cfg files have them.
QByteArray crlf(const char* text)
{
    return QByteArray(text).replace("\n", "\r\n") + "\r\n";
}

// Three entries with every grid key, the aircraft-wide sections, a model that
// can be read, an .air file and texture and model folders.
QString makeFullAircraft(const QString& folder)
{
    testutil::writeFile(folder + "/aircraft.cfg", crlf(R"([fltsim.0]
title=Heather Jet 100 //first
sim=HJ100
model=
panel=
texture=
atc_airline=HEATHER
atc_flight_number=100
atc_heavy=0
atc_id=HJ-100
atc_parking_types=gate,ramp
atc_parking_codes=HJ
ui_manufacturer=Heather
ui_type=HJ 100
ui_variation=House colours
ui_typerole=Commercial Airliner
ui_createdby=Fernquill tests
description=Short-haul jet //kept as written
atc_model=HJ1

[fltsim.1]
title=Heather Jet 100 Cargo
sim=HJ100
model=freighter
texture=Cargo

[fltsim.2]
title=Heather Jet 200
texture=Blue/Dark

[General]
atc_type=HEATHER
atc_model=HJ1 //g

[airplane_geometry]
wing_span=112.6 //ft

[exits]
exit.0=0.4, 27.0, -4.0, 4.5, 0 //Main door
exit.1=0.4, 27.0, -4.0, 4.5
exit.2=0.5, 10.0, 4.0, 4.5, 1 //Cargo door

[effects]
wake=fx_wake
touchdown=fx_tchdwn, 1)"));
    testutil::writeFile(folder + "/model/model.cfg", "[models]\r\nnormal=hj100.mdl\r\n");
    testutil::writeFile(folder + "/model/hj100.mdl", mdl9(40));
    testutil::makeDir(folder + "/model.freighter");
    testutil::makeDir(folder + "/texture");
    testutil::makeDir(folder + "/texture.Cargo");
    testutil::writeFile(folder + "/HJ100.air", airOfType(0));
    return folder;
}

QString makeCfg(const QString& folder, const QByteArray& cfg)
{
    testutil::writeFile(folder + "/aircraft.cfg", cfg);
    return folder;
}

QStringList itemsOf(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

QStringList itemsOf(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QList<QLineEdit*> exitBoxes(frm_Main& w)
{
    return w.ui.txt_Exit_0 + w.ui.txt_Exit_1 + w.ui.txt_Exit_2;
}

// The thirteen entry fields the reset greys.
QList<QLineEdit*> entryFields(frm_Main& w)
{
    return {w.ui.txt_Title,           w.ui.txt_atc_ParkingCodes, w.ui.txt_ui_CreatedBy,
            w.ui.txt_ui_TypeRole,     w.ui.txt_ui_Manufacturer,  w.ui.txt_ui_Type,
            w.ui.txt_ui_Variation,    w.ui.txt_atc_Id,           w.ui.txt_atc_Flight_Number,
            w.ui.txt_atc_Airline,     w.ui.txt_atc_Model,        w.ui.txt_general_atc_model,
            w.ui.txt_general_atc_type};
}

QList<QAction*> entryMenus(frm_Main& w)
{
    return {w.ui.mnuCFG, w.ui.mnuDelKeys, w.ui.mnuSortKeys, w.ui.mnuRenumber, w.ui.mnuValidate};
}

} // namespace

class TestFrmMainFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fullAircraft();
    void noAircraftCfg();
    void cfgWithoutEntries();
    void gridCells_data();
    void gridCells();
    void status_data();
    void status();
    void folderListings();
    void pathSavedOnlyWithRows();
    void resetClearsTheEditor();
    void resetAndLoadWaitDuringStartup();
    void reloadKeepsNothingOfTheLastRun();
    void manyEntries_data();
    void manyEntries();
    void badInput_data();
    void badInput();
    void driveChange();
    void driveThatCannotBeRead();

private:
    frm_Main& window();
    void load(const QString& folder);

    QTemporaryDir m_config;
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<BoxRecorder> m_boxes;
    std::unique_ptr<MainWindowFixture> m_fixture;
};

void TestFrmMainFolder::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (!qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

void TestFrmMainFolder::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    m_boxes = std::make_unique<BoxRecorder>();
    m_fixture = std::make_unique<MainWindowFixture>();
    m_fixture->start();
}

void TestFrmMainFolder::cleanup()
{
    m_fixture.reset();
    // No load may ask anything: every box that came is a failure of its test.
    if (m_boxes && !m_boxes->calls().empty())
        QFAIL(qPrintable("unexpected boxes: " + m_boxes->prompts().join(" | ")));
    m_boxes.reset();
    m_tmp.reset();
}

frm_Main& TestFrmMainFolder::window()
{
    return m_fixture->window();
}

void TestFrmMainFolder::load(const QString& folder)
{
    frm_Main& w = window();
    if (w.folderPath() == folder)
        w.RunChange();
    else
        QVERIFY2(w.ui.Dir1->setPath(folder), qPrintable(folder));
}

void TestFrmMainFolder::fullAircraft()
{
    frm_Main& w = window();
    const QString folder = makeFullAircraft(m_tmp->path() + "/Heather");
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
    QCOMPARE(itemsOf(w.ui.combo_Texture), (QStringList{"<default>", "Cargo"}));
    QCOMPARE(itemsOf(w.ui.combo_Model), (QStringList{"<default>", "freighter"}));
    QCOMPARE(itemsOf(w.ui.combo_Airfile), QStringList{"HJ100"});
    QCOMPARE(itemsOf(w.ui.lst_Airfile), QStringList{"HJ100"});
    QCOMPARE(w.ui.lst_Airfile->currentRow(), 0);

    QCOMPARE(testutil::storedSetting("Path"), folder);
}

void TestFrmMainFolder::noAircraftCfg()
{
    frm_Main& w = window();
    const QString full = makeFullAircraft(m_tmp->path() + "/Heather");
    load(full);
    const QString bare = m_tmp->path() + "/Bare";
    testutil::makeDir(bare + "/texture.Old");
    testutil::makeDir(bare + "/model");
    testutil::writeFile(bare + "/Spare.air", airOfType(1));
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
    QCOMPARE(itemsOf(w.ui.combo_Texture), QStringList{"Old"});
    QCOMPARE(itemsOf(w.ui.combo_Model), QStringList{"<default>"});
    QCOMPARE(itemsOf(w.ui.combo_Airfile), QStringList{"Spare"});
    QCOMPARE(itemsOf(w.ui.lst_Airfile), QStringList{"Spare"});
    QCOMPARE(w.ui.lst_Airfile->currentRow(), 0);

    // The saved folder is still the one with entries.
    QCOMPARE(testutil::storedSetting("Path"), full);
}

void TestFrmMainFolder::cfgWithoutEntries()
{
    frm_Main& w = window();
    const QString folder = makeCfg(m_tmp->path() + "/Shared", crlf(R"([General]
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
    load(makeCfg(m_tmp->path() + "/Cells", "[fltsim.3]\r\n" + entry + "\r\n"));
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
    load(makeCfg(m_tmp->path() + "/Status", cfg));
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
    const QString folder = makeCfg(m_tmp->path() + "/Lists", "[fltsim.0]\r\ntitle=A\r\n");
    for (const char* dir :
         {"texture", "texture.Blue", "TEXTURE.red", "model", "model.Heavy", "textures", "folder.air"})
        testutil::makeDir(folder + "/" + dir);
    testutil::writeFile(folder + "/B738.air", airOfType(0));
    testutil::writeFile(folder + "/b738.v2.air", airOfType(0));
    testutil::writeFile(folder + "/Other.AIR", airOfType(0));
    testutil::writeFile(folder + "/notes.airx", "x");
    load(folder);

    QCOMPARE(itemsOf(w.ui.combo_Texture), (QStringList{"<default>", "Blue", "red"}));
    QCOMPARE(itemsOf(w.ui.combo_Model), (QStringList{"<default>", "Heavy"}));
    QCOMPARE(itemsOf(w.ui.combo_Airfile), (QStringList{"B738", "b738", "Other"}));
    QCOMPARE(itemsOf(w.ui.lst_Airfile), (QStringList{"B738", "b738", "Other"}));
    QCOMPARE(w.ui.lst_Airfile->currentRow(), 0);

    // A second load lists each once.
    w.RunChange();
    QCOMPARE(w.ui.combo_Texture->count(), 3);
    QCOMPARE(w.ui.lst_Airfile->count(), 3);
}

void TestFrmMainFolder::pathSavedOnlyWithRows()
{
    const QString a = makeCfg(m_tmp->path() + "/A", "[fltsim.0]\r\ntitle=A\r\n");
    const QString none = makeCfg(m_tmp->path() + "/None", "[General]\r\natc_type=X\r\n");
    const QString b = makeCfg(m_tmp->path() + "/B", "[fltsim.0]\r\ntitle=B\r\n");
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

void TestFrmMainFolder::resetClearsTheEditor()
{
    frm_Main& w = window();
    load(makeFullAircraft(m_tmp->path() + "/Heather"));
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

void TestFrmMainFolder::resetAndLoadWaitDuringStartup()
{
    frm_Main& w = window();
    load(makeFullAircraft(m_tmp->path() + "/Heather"));
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

void TestFrmMainFolder::reloadKeepsNothingOfTheLastRun()
{
    frm_Main& w = window();
    load(makeFullAircraft(m_tmp->path() + "/Heather"));
    load(makeCfg(m_tmp->path() + "/Plain", "[fltsim.0]\r\ntitle=Plain\r\n"));
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
    load(makeCfg(m_tmp->path() + "/Many", cfg));

    const int rows = w.ui.ListView1->rowCount();
    QCOMPARE(w.ui.StatusBar1->panelText(10), QString::number(rows) + " aircraft variations defined");
    // More section names than an 8192-character list holds (about 750): every
    // one of them still reaches the grid.
    QCOMPARE(rows, entries);
    QCOMPARE(w.ui.ListView1->rowText(rows - 1, 1), "Livery " + QString::number(rows - 1));
}

void TestFrmMainFolder::badInput_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("unreadable folder") << "unreadable folder";
    QTest::newRow("aircraft.cfg is a folder") << "cfg folder";
    QTest::newRow("binary aircraft.cfg") << "binary";
    QTest::newRow("unreadable aircraft.cfg") << "unreadable cfg";
}

void TestFrmMainFolder::badInput()
{
    QFETCH(QString, kind);
    if (kind.startsWith(u"unreadable") && testutil::runningAsRoot())
        QSKIP("root reads every file");

    frm_Main& w = window();
    const QString good = makeFullAircraft(m_tmp->path() + "/Heather");
    load(good);
    const QString bad = m_tmp->path() + "/Bad";
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

void TestFrmMainFolder::driveChange()
{
    frm_Main& w = window();
    QTemporaryDir volume;
    makeCfg(volume.path(), "[fltsim.0]\r\ntitle=On the drive\r\n[fltsim.1]\r\ntitle=Also there\r\n"
                           "[exits]\r\nexit.0=1,2,3,4,5 //door\r\n");
    load(makeFullAircraft(m_tmp->path() + "/Heather"));

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

void TestFrmMainFolder::driveThatCannotBeRead()
{
    frm_Main& w = window();
    const QString good = makeFullAircraft(m_tmp->path() + "/Heather");
    load(good);
    const QString gone = m_tmp->path() + "/unplugged";
    w.ui.Drive1->setVolumes({"/", gone});
    QVERIFY(w.ui.Drive1->setDrive(gone));

    // The user is told; the folder list, the drive list and the loaded
    // entries stay as they were.
    QCOMPARE(m_boxes->prompts(), QStringList{"The drive " + gone + " could not be opened."});
    QCOMPARE(m_boxes->calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
    m_boxes.reset(new testutil::BoxRecorder);
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

QTEST_MAIN(TestFrmMainFolder)
#include "tst_frmmain_folder.moc"
