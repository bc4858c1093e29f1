// What the main window's lists and grid columns offer after the start-up and
// after folder loads: the simulation-folder list, and the last grid column
// that the user may have hidden.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/ListView.h"

#include "ConfigHome.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QListWidget>
#include <QTest>

using testutil::MainWindowFixture;
using testutil::PrefixSpec;

namespace {

const QString kBar = QStringLiteral("\u00A6");

// An aircraft folder with two entries and no model, so nothing else is looked up.
QString makeAircraft(const QString& folder)
{
    testutil::writeFile(folder + "/aircraft.cfg",
                        "[fltsim.0]\r\ntitle=Heather One\r\n[fltsim.1]\r\ntitle=Heather Two\r\n");
    return folder;
}

} // namespace

class TestFrmMainLists : public QObject
{
    Q_OBJECT

private slots:
    void simFolderListUsableOnlyWithItems_data();
    void simFolderListUsableOnlyWithItems();
    void lastColumnAfterFolderLoads_data();
    void lastColumnAfterFolderLoads();

private:
    testutil::OwnConfigHome m_config;
};

void TestFrmMainLists::simFolderListUsableOnlyWithItems_data()
{
    QTest::addColumn<bool>("emptySimObjects");
    QTest::addColumn<QStringList>("fsxCfgMain"); // empty: no fsx.cfg
    QTest::addColumn<int>("items");
    QTest::newRow("fsx.cfg names only missing folders")
        << false << QStringList{"SimObjectPaths.0=SimObjects\\Missing"} << 0;
    QTest::newRow("fsx.cfg without folder keys") << false << QStringList{"Other=1"} << 0;
    QTest::newRow("empty SimObjects, fsx.cfg names a folder")
        << true << QStringList{"SimObjectPaths.0=C:\\Addons\\AI"} << 1;
    QTest::newRow("empty SimObjects, no fsx.cfg") << true << QStringList{} << 0;
}

void TestFrmMainLists::simFolderListUsableOnlyWithItems()
{
    QFETCH(bool, emptySimObjects);
    QFETCH(QStringList, fsxCfgMain);
    QFETCH(int, items);
    PrefixSpec spec;
    spec.fsx = true;
    spec.fsxCfgMain = fsxCfgMain;
    MainWindowFixture f(spec);
    testutil::makeDir(f.prefix().driveC() + "/Addons/AI");
    if (emptySimObjects) {
        QVERIFY(QDir(f.prefix().fsxRoot() + "/SimObjects").removeRecursively());
        testutil::makeDir(f.prefix().fsxRoot() + "/SimObjects");
    }
    frm_Main& w = f.start();
    QCOMPARE(w.ui.combo_SimFolder->count(), items);
    QCOMPARE(w.ui.combo_SimFolder->isEnabled(), items > 0);
}

void TestFrmMainLists::lastColumnAfterFolderLoads_data()
{
    QTest::addColumn<QString>("stored");       // "DataGrid"; null: absent
    QTest::addColumn<bool>("hideInTheWindow"); // the user marks "texture" in the column options
    QTest::addColumn<bool>("hidden");
    QStringList last(15, "0");
    last[14] = "-1";
    QTest::newRow("shown: sized to fill the grid") << QString() << false << false;
    QTest::newRow("hidden by the setting") << last.join(kBar) << false << true;
    QTest::newRow("hidden in the column options") << QString() << true << true;
}

void TestFrmMainLists::lastColumnAfterFolderLoads()
{
    QFETCH(QString, stored);
    QFETCH(bool, hideInTheWindow);
    QFETCH(bool, hidden);
    QTemporaryDir tmp;
    const QString first = makeAircraft(tmp.path() + "/Heather");
    const QString second = makeAircraft(tmp.path() + "/Moss");
    QMap<QString, QString> settings{{"Path", first}};
    if (!stored.isNull())
        settings.insert("DataGrid", stored);
    MainWindowFixture f({}, settings);
    frm_Main& w = f.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ListView* grid = w.ui.ListView1;
    const int texture = ListView::ColumnCount - 1;
    if (hideInTheWindow) {
        w.ui.mnuDataGrid->trigger();
        auto* options = w.findChild<QListWidget*>("List1");
        QVERIFY(options && options->isVisible());
        options->setCurrentRow(14);
        QTest::keyClick(options, Qt::Key_Space);
        QCOMPARE(grid->columnWidth(texture), 0);
    }
    QVERIFY(w.ui.Dir1->setPath(second));
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->columnWidth(texture) == 0, hidden);
    if (!hidden) {
        int others = 0;
        for (int c = 0; c < texture; ++c)
            others += grid->columnWidth(c);
        QVERIFY(grid->columnWidth(texture) >= grid->header()->sectionSizeHint(texture));
        QVERIFY(others + grid->columnWidth(texture) >= grid->viewport()->width());
    }
}

QTEST_MAIN(TestFrmMainLists)
#include "tst_frmmain_lists.moc"
