// The grid column options window: marks hide columns at once, Save stores
// them as "DataGrid", Close keeps the setting as it was.
#include "mainwindow/frm_ListViewOptions.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modSettings.h"

#include "BoxRecorder.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

using testutil::BoxRecorder;

namespace {

const QString kBar = QStringLiteral("\u00A6");
constexpr int kShown = frm_ListViewOptions::kShownColumnWidth;

// A grid as the main window has it, owned by a stand-in for the main window.
struct Grid
{
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    ListView* grid = new ListView(owner.get());

    Grid() { grid->setDesignedColumnWidths(1000); }

    frm_ListViewOptions* open() { return frm_ListViewOptions::showOptions(grid, owner.get()); }
};

QString flags(const QList<int>& marked)
{
    QStringList list;
    for (int j = 0; j < 15; ++j)
        list << (marked.contains(j) ? "-1" : "0");
    return list.join(kBar);
}

} // namespace

class TestListViewOptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void markHidesAtOnce_data();
    void markHidesAtOnce();
    void clickResetsSizedColumns();
    void openingShowsTheGrid_data();
    void openingShowsTheGrid();
    void save_data();
    void save();
    void allThenClose();
    void tooltips_data();
    void tooltips();
    void saveRefused();

private:
    QTemporaryDir m_config;
};

void TestListViewOptions::initTestCase()
{
    if (!qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

void TestListViewOptions::init()
{
    testutil::resetSettings();
    globals::gsDataGrid = QStringList(15, "0").join(kBar);
    globals::gbToolTips = true;
}

void TestListViewOptions::markHidesAtOnce_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("header");

    QTest::newRow("parking_type") << 0 << "parking_type";
    QTest::newRow("texture") << 14 << "texture";
}

void TestListViewOptions::markHidesAtOnce()
{
    QFETCH(int, item);
    QFETCH(QString, header);

    Grid g;
    frm_ListViewOptions* w = g.open();
    QCOMPARE(w->List1->count(), 15);
    QListWidgetItem* it = w->List1->item(item);
    QCOMPARE(it->text(), header);
    const int column = item + 2;

    it->setCheckState(Qt::Checked);
    QCOMPARE(g.grid->columnWidth(column), 0);
    it->setCheckState(Qt::Unchecked);
    QCOMPARE(g.grid->columnWidth(column), kShown);
    // The first two columns are never touched.
    QCOMPARE(g.grid->columnWidth(0), 1000 / 8);
    QCOMPARE(g.grid->columnWidth(1), 1000 / 2);
}

void TestListViewOptions::clickResetsSizedColumns()
{
    Grid g;
    g.grid->setColumnWidth(5, 260); // sized to its content
    frm_ListViewOptions* w = g.open();
    QCOMPARE(g.grid->columnWidth(5), 260);
    w->List1->item(0)->setCheckState(Qt::Checked);
    QCOMPARE(g.grid->columnWidth(2), 0);
    QCOMPARE(g.grid->columnWidth(5), kShown);
}

void TestListViewOptions::openingShowsTheGrid_data()
{
    QTest::addColumn<QList<int>>("hidden"); // list items whose column has width 0

    QTest::newRow("last column hidden") << QList<int>{14};
    QTest::newRow("first and middle hidden") << QList<int>{0, 7};
}

void TestListViewOptions::openingShowsTheGrid()
{
    QFETCH(QList<int>, hidden);

    Grid g;
    for (int j : hidden)
        g.grid->setColumnWidth(j + 2, 0);
    g.grid->setColumnWidth(4, hidden.contains(2) ? 0 : 333);
    frm_ListViewOptions* w = g.open();
    for (int j = 0; j < 15; ++j)
        QCOMPARE(w->List1->item(j)->checkState() == Qt::Checked, hidden.contains(j));
    // Loading the marks does not apply them.
    QCOMPARE(g.grid->columnWidth(4), 333);

    // Closed and opened again, it reads the grid again.
    w->cmdClose->click();
    QVERIFY(!w->isVisible());
    g.grid->setColumnWidth(3, 0);
    QCOMPARE(g.open(), w);
    QCOMPARE(w->List1->item(1)->checkState(), Qt::Checked);
}

void TestListViewOptions::save_data()
{
    QTest::addColumn<QList<int>>("marked");
    QTest::addColumn<QString>("stored");

    QTest::newRow("first and last") << QList<int>{0, 14}
                                    << "-1¦0¦0¦0¦0¦0¦0¦0¦0¦0¦0¦0¦0¦0¦-1";
    QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}
                         << QStringList(15, "-1").join(kBar);
}

void TestListViewOptions::save()
{
    QFETCH(QList<int>, marked);
    QFETCH(QString, stored);

    BoxRecorder boxes;
    Grid g;
    frm_ListViewOptions* w = g.open();
    for (int j : marked)
        w->List1->item(j)->setCheckState(Qt::Checked);
    w->cmdSave->click();
    QCOMPARE(testutil::storedSetting("DataGrid"), stored);
    QCOMPARE(globals::gsDataGrid, stored);
    QVERIFY(!w->isVisible());
    for (int j = 0; j < 15; ++j)
        QCOMPARE(g.grid->columnWidth(j + 2) == 0, marked.contains(j));
    QVERIFY(boxes.calls().empty());
}

void TestListViewOptions::allThenClose()
{
    Grid g;
    frm_ListViewOptions* w = g.open();
    w->cmd_All->click();
    for (int j = 0; j < 15; ++j)
        QCOMPARE(g.grid->columnWidth(j + 2), 0);
    w->cmdClose->click();
    QVERIFY(!w->isVisible());
    // Hidden for the rest of the run; the setting is as it was.
    for (int j = 0; j < 15; ++j)
        QCOMPARE(g.grid->columnWidth(j + 2), 0);
    QVERIFY(testutil::storedSetting("DataGrid").isNull());
    QCOMPARE(globals::gsDataGrid, flags({}));
}

void TestListViewOptions::tooltips_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("balloons") << true;
    QTest::newRow("off") << false;
}

void TestListViewOptions::tooltips()
{
    QFETCH(bool, on);

    globals::gbToolTips = on;
    Grid g;
    frm_ListViewOptions* w = g.open();
    BalloonTip* tip = balloontips::ToolTipOf(w);
    QCOMPARE(tip != nullptr, on);
    for (QWidget* c : {static_cast<QWidget*>(w->List1), static_cast<QWidget*>(w->cmd_All),
                       static_cast<QWidget*>(w->cmdSave)})
        QVERIFY(c->toolTip().isEmpty());
    if (on) {
        QCOMPARE(tip->toolText(w->cmd_None), QStringLiteral("De-select all options above"));
        QCOMPARE(tip->toolText(w->cmdSave),
                 QStringLiteral("Save current selection and close the form. The settings will be remembered "
                                "when the program is restarted."));
        // Opened again: the balloons keep their texts.
        w->close();
        g.open();
        QCOMPARE(balloontips::ToolTipOf(w), tip);
        QCOMPARE(tip->toolText(w->cmd_None), QStringLiteral("De-select all options above"));
    }
}

void TestListViewOptions::saveRefused()
{
    // A folder where the settings file belongs: nothing can be written.
    const QString file = modSettings::SettingsFilePath();
    QFile::remove(file);
    QVERIFY(QDir().mkpath(file));

    BoxRecorder boxes;
    Grid g;
    frm_ListViewOptions* w = g.open();
    w->List1->item(3)->setCheckState(Qt::Checked);
    w->cmdSave->click();
    QVERIFY(QDir(file).removeRecursively());

    QCOMPARE(boxes.calls().size(), size_t(1));
    QVERIFY(boxes.calls().front().prompt.contains(file));
    QCOMPARE(boxes.calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
    // The window stays, the choice still applies, the program's copy is unchanged.
    QVERIFY(w->isVisible());
    QCOMPARE(g.grid->columnWidth(5), 0);
    QCOMPARE(globals::gsDataGrid, flags({}));
}

QTEST_MAIN(TestListViewOptions)
#include "tst_listviewoptions.moc"
