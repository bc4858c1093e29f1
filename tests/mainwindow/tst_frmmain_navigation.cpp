// Folder navigation of the main window: one level up, the simulation-object
// folder list and the two simulator buttons.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "BoxRecorder.h"
#include "ConfigHome.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using testutil::BoxRecorder;
using testutil::MainWindowFixture;
using testutil::PrefixSpec;

namespace {

void makeAircraft(const QString& folder, const QString& title)
{
    testutil::writeFile(folder + "/aircraft.cfg", "[fltsim.0]\r\ntitle=" + title.toLatin1() + "\r\n");
}

QString clean(const QString& path)
{
    return QDir::cleanPath(path);
}

PrefixSpec simulators(bool fs9, bool fsx)
{
    PrefixSpec spec;
    spec.fs9 = fs9;
    spec.fsx = fsx;
    return spec;
}

// A window started on a prefix with the given simulators; every box recorded
// from the start-up on.
struct SimWindow
{
    explicit SimWindow(const PrefixSpec& spec) : fixture(spec) {}

    BoxRecorder boxes;
    MainWindowFixture fixture;
    frm_Main& w = fixture.start();
};

// Rows of the simulator buttons, column "fs9".
void addSimulatorRows()
{
    QTest::addColumn<bool>("fs9");
    QTest::newRow("FSX") << false;
    QTest::newRow("FS9") << true;
}

const QString kFs9Message = QStringLiteral(
    "The FS9 path information in your registry is incorrect. The aircraft folder could not be found.");
const QString kFsxMessage = QStringLiteral(
    "The FSX path information in your registry is incorrect. The SimObject folder could not be found.");

} // namespace

class TestFrmMainNavigation : public QObject
{
    Q_OBJECT

private slots:

    void upwards_data();
    void upwards();
    void simulatorButtonsDuringStartup_data() { addSimulatorRows(); }
    void simulatorButtonsDuringStartup();
    void simulatorButtons_data() { addSimulatorRows(); }
    void simulatorButtons();
    void simulatorFolderRemoved_data();
    void simulatorFolderRemoved();
    void simFolderList();
    void simFolderDeleted();

private:
    testutil::OwnConfigHome m_config;
};

void TestFrmMainNavigation::upwards_data()
{
    QTest::addColumn<QStringList>("siblings");
    QTest::addColumn<QString>("left");

    QTest::newRow("between others") << QStringList{"A320", "B737", "C172"} << "B737";
    QTest::newRow("alone") << QStringList{"B737"} << "B737";
    // Names are compared exactly: only the folder left is highlighted.
    QTest::newRow("same name in other letter case") << QStringList{"b737", "B737"} << "B737";
}

void TestFrmMainNavigation::upwards()
{
    QFETCH(QStringList, siblings);
    QFETCH(QString, left);

    QTemporaryDir tmp;
    const QString airplanes = tmp.path() + "/Sims/FSX/SimObjects/Airplanes";
    for (const QString& name : siblings)
        makeAircraft(airplanes + "/" + name, name);
    BoxRecorder boxes;
    MainWindowFixture f;
    frm_Main& w = f.start();
    w.ui.Dir1->setPath(airplanes + "/" + left);
    QCOMPARE(w.ui.ListView1->rowCount(), 1);
    QVERIFY(w.ui.cmd_DirUp->isEnabled());

    w.ui.cmd_DirUp->click();
    QCOMPARE(w.folderPath(), clean(airplanes));
    // The parent was loaded: it is no aircraft folder.
    QCOMPARE(w.ui.ListView1->rowCount(), 0);
    QVERIFY(!w.ui.cmd_DirUp->isEnabled());
    const int highlighted = w.ui.Dir1->listIndex();
    QVERIFY(highlighted >= 0);
    QCOMPARE(w.ui.Dir1->listPath(highlighted), clean(airplanes + "/" + left));
    QVERIFY(boxes.calls().empty());
}

void TestFrmMainNavigation::simulatorButtonsDuringStartup()
{
    QFETCH(bool, fs9);

    SimWindow sims(simulators(true, true));
    frm_Main& w = sims.w;
    // The start-up selects the button itself; nothing may be loaded then.
    w.bLoading = true;
    const QString before = w.folderPath();
    if (fs9)
        w.opt_FS9_Click();
    else
        w.opt_FSX_Click();
    QCOMPARE(w.folderPath(), before);
    QVERIFY(sims.boxes.calls().empty());
}

void TestFrmMainNavigation::simulatorButtons()
{
    QFETCH(bool, fs9);

    SimWindow sims(simulators(true, true));
    frm_Main& w = sims.w;
    w.ui.combo_SimFolder->setCurrentIndex(0);
    QRadioButton* button = fs9 ? w.ui.opt_FS9 : w.ui.opt_FSX;
    QVERIFY(button->isEnabled());
    button->click();
    QCOMPARE(w.folderPath(), clean(fs9 ? w.sFS9AircraftPath : w.sFSXSimObjectsPath));
    // The simulation-object list no longer names the folder shown.
    QCOMPARE(w.ui.combo_SimFolder->currentIndex(), -1);
    QVERIFY(w.ui.combo_SimFolder->currentText().isEmpty());
    QVERIFY(sims.boxes.calls().empty());
}

void TestFrmMainNavigation::simulatorFolderRemoved_data()
{
    QTest::addColumn<bool>("fs9");
    QTest::addColumn<QString>("message");
    QTest::newRow("FS9") << true << kFs9Message;
    QTest::newRow("FSX") << false << kFsxMessage;
}

void TestFrmMainNavigation::simulatorFolderRemoved()
{
    QFETCH(bool, fs9);
    QFETCH(QString, message);

    QTemporaryDir tmp;
    makeAircraft(tmp.path() + "/Heather", "Heather One");
    SimWindow sims(simulators(true, true));
    frm_Main& w = sims.w;
    const BoxRecorder& boxes = sims.boxes;
    w.ui.Dir1->setPath(tmp.path() + "/Heather");
    QCOMPARE(w.ui.ListView1->rowCount(), 1);

    const QString gone = fs9 ? w.sFS9AircraftPath : w.sFSXSimObjectsPath;
    QVERIFY(QDir(gone).removeRecursively());
    (fs9 ? w.ui.opt_FS9 : w.ui.opt_FSX)->click();

    QCOMPARE(boxes.prompts(), QStringList{message});
    QCOMPARE(boxes.calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
    QCOMPARE(boxes.calls().front().title, msgbox::programTitle());
    // The folder shown stays loaded.
    QCOMPARE(w.folderPath(), clean(tmp.path() + "/Heather"));
    QCOMPARE(w.ui.ListView1->rowCount(), 1);
}

void TestFrmMainNavigation::simFolderList()
{
    SimWindow sims(simulators(false, true));
    frm_Main& w = sims.w;
    const BoxRecorder& boxes = sims.boxes;
    QComboBox* combo = w.ui.combo_SimFolder;
    QCOMPARE(combo->count(), 2);
    QCOMPARE(w.sSimFolders.size(), 2);

    for (int row : {1, 0}) {
        combo->setCurrentIndex(row);
        emit combo->activated(row);
        QCOMPARE(w.folderPath(), clean(w.sSimFolders.at(row)));
    }
    QVERIFY(boxes.calls().empty());
}

void TestFrmMainNavigation::simFolderDeleted()
{
    SimWindow sims(simulators(false, true));
    frm_Main& w = sims.w;
    const BoxRecorder& boxes = sims.boxes;
    QComboBox* combo = w.ui.combo_SimFolder;
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    const QString before = w.folderPath();

    QVERIFY(QDir(w.sSimFolders.at(1)).removeRecursively());
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QCOMPARE(boxes.prompts(),
             QStringList{QStringLiteral("Change directory was not successful. Error: 76\r\nPath not found")});
    QCOMPARE(boxes.calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
    QCOMPARE(w.folderPath(), before);
}

QTEST_MAIN(TestFrmMainNavigation)
#include "tst_frmmain_navigation.moc"
