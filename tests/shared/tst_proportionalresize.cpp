// Proportional resizing: the scaling arithmetic, and the fonts of a window's
// controls following its width from its first resize on.
#include "mainwindow/widgets/DirList.h"
#include "shared/ProportionalResize.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

using modGlobal::ControlRecord;
using modGlobal::Placement;

namespace {

QFont pointFont(const QString& family, int points)
{
    QFont f(family);
    f.setPointSize(points);
    return f;
}

// A window of 400 x 300 pixels with one control of each kind that matters.
struct Window
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLabel* label = nullptr;
    QPushButton* button = nullptr;
    QComboBox* combo = nullptr;
    QListWidget* list = nullptr;
    DirList* folders = nullptr;
    QTreeWidget* grid = nullptr;

    Window()
    {
        // No layout: the window may be made as small as a test wants.
        label = new QLabel("Title:", window.get());
        label->setFont(pointFont("DejaVu Sans", 8));
        button = new QPushButton("Go", window.get());
        button->setFont(pointFont("DejaVu Sans", 10));
        combo = new QComboBox(window.get());
        combo->setFont(pointFont("DejaVu Sans", 8));
        list = new QListWidget(window.get());
        list->setFont(pointFont("DejaVu Serif", 10));
        folders = new DirList(window.get());
        folders->setFont(pointFont("DejaVu Sans", 8));
        grid = new QTreeWidget(window.get());
        grid->setFont(pointFont("DejaVu Sans", 8));
        window->resize(400, 300);
    }
};

} // namespace

class TestProportionalResize : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void placement_data();
    void placement();

    void fontsFollowTheWidth_data();
    void fontsFollowTheWidth();
    void resizeWhileResizingReturns();
    void emptyFirstResizeIsSkipped_data();
    void emptyFirstResizeIsSkipped();
    void controlMadeLaterStaysAsItIs();
    void tinyWindowKeepsAFont();
    void closedWindowsLoseTheirRecords();
};

void TestProportionalResize::cleanup()
{
    modGlobal::gFormRecords.clear();
    modGlobal::gControlRecords.clear();
    modGlobal::gbResizing = false;
}

void TestProportionalResize::placement_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("font");
    QTest::addColumn<bool>("combo");
    QTest::addColumn<int>("widthPercent");
    QTest::addColumn<int>("heightPercent");
    QTest::addColumn<bool>("leftNegative");
    QTest::addColumn<QList<int>>("expected"); // left, top, width, height, font

    // 8000 -> 12000 units wide.
    QTest::newRow("150 %") << 1000 << 400 << 3000 << 300 << 8 << false << 150 << 100 << false
                           << QList<int>{1500, 400, 4500, 300, 12};
    // Parked at -74000: stays out of sight.
    QTest::newRow("parked out of sight") << modGlobal::FixHiddenLeft(-74000) << 0 << 500 << 300 << 8 << false << 150 << 100 << true
                                         << QList<int>{-73500, 0, 750, 300, 12};
    QTest::newRow("integer division truncates") << 3 << 3 << 3 << 3 << 3 << false << 150 << 150 << false
                                                << QList<int>{4, 4, 4, 4, 4};
    QTest::newRow("taller window") << 100 << 200 << 300 << 300 << 8 << false << 100 << 200 << false
                                   << QList<int>{100, 400, 300, 600, 8};
    // The combo box's own height (here 21) follows its font, not the window.
    QTest::newRow("combo box keeps its height") << 100 << 200 << 300 << 21 << 8 << true << 100 << 200 << false
                                                << QList<int>{100, 400, 300, 21, 8};
    QTest::newRow("narrower") << 1000 << 1000 << 1000 << 1000 << 9 << false << 50 << 75 << false
                              << QList<int>{500, 750, 500, 750, 4};
}

void TestProportionalResize::placement()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, font);
    QFETCH(bool, combo);
    QFETCH(int, widthPercent);
    QFETCH(int, heightPercent);
    QFETCH(bool, leftNegative);
    QFETCH(QList<int>, expected);

    ControlRecord r;
    r.left = left;
    r.top = top;
    r.width = width;
    r.height = height;
    r.fontSize = font;
    r.keepsHeight = combo;
    const Placement p = modGlobal::ScaledPlacement(r, widthPercent, heightPercent, leftNegative, height);
    QCOMPARE((QList<int>{p.left, p.top, p.width, p.height, p.fontSize}), expected);
}

void TestProportionalResize::fontsFollowTheWidth_data()
{
    QTest::addColumn<int>("newWidth");
    QTest::addColumn<int>("newHeight");
    QTest::addColumn<int>("labelPoints");
    QTest::addColumn<int>("buttonPoints");

    QTest::newRow("first resize is 100 %") << 400 << 300 << 8 << 10;
    QTest::newRow("150 % wide") << 600 << 300 << 12 << 15;
    QTest::newRow("taller only") << 400 << 600 << 8 << 10;
    QTest::newRow("half as wide") << 200 << 300 << 4 << 5;
}

void TestProportionalResize::fontsFollowTheWidth()
{
    QFETCH(int, newWidth);
    QFETCH(int, newHeight);
    QFETCH(int, labelPoints);
    QFETCH(int, buttonPoints);

    Window w;
    modGlobal::ResizeForm(w.window.get());
    QCOMPARE(modGlobal::FindFormIndex(w.window.get()), 0);
    w.window->resize(newWidth, newHeight);
    modGlobal::ResizeForm(w.window.get());

    QCOMPARE(w.label->font().pointSize(), labelPoints);
    QCOMPARE(w.button->font().pointSize(), buttonPoints);
    QCOMPARE(w.combo->font().pointSize(), labelPoints);
    // Every list box shows "Courier New" in bold from the first resize on.
    QCOMPARE(w.list->font().pointSize(), buttonPoints);
    QCOMPARE(w.list->font().family(), QStringLiteral("Courier New"));
    QVERIFY(w.list->font().bold());
    // Neither the folder list nor the grid is of the kinds whose font changes.
    QCOMPARE(w.folders->font(), pointFont("DejaVu Sans", 8));
    QCOMPARE(w.grid->font().pointSize(), 8);
    // The reference stays the first size.
    QCOMPARE(modGlobal::gFormRecords.size(), size_t(1));
    QCOMPARE(modGlobal::gFormRecords.front().innerWidth, 400);
}

void TestProportionalResize::resizeWhileResizingReturns()
{
    Window w;
    modGlobal::gbResizing = true;
    modGlobal::ResizeForm(w.window.get());
    QCOMPARE(modGlobal::FindFormIndex(w.window.get()), -1);
    QCOMPARE(w.list->font().family(), QStringLiteral("DejaVu Serif"));
    QVERIFY(modGlobal::gbResizing);

    modGlobal::gbResizing = false;
    modGlobal::ResizeForm(w.window.get());
    QCOMPARE(modGlobal::FindFormIndex(w.window.get()), 0);
    QVERIFY(!modGlobal::gbResizing);
}

void TestProportionalResize::emptyFirstResizeIsSkipped_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("no width") << 0 << 300;
    QTest::newRow("no height") << 400 << 0;
}

void TestProportionalResize::emptyFirstResizeIsSkipped()
{
    QFETCH(int, width);
    QFETCH(int, height);

    Window w;
    w.window->resize(width, height);
    modGlobal::ResizeForm(w.window.get());
    QCOMPARE(modGlobal::FindFormIndex(w.window.get()), -1);
    QCOMPARE(w.label->font().pointSize(), 8);

    // The next real size becomes the reference.
    w.window->resize(400, 300);
    modGlobal::ResizeForm(w.window.get());
    QCOMPARE(modGlobal::FormWidthPercent(w.window.get()), 100);
    QCOMPARE(w.label->font().pointSize(), 8);
}

void TestProportionalResize::controlMadeLaterStaysAsItIs()
{
    Window w;
    modGlobal::ResizeForm(w.window.get());
    auto* later = new QLabel("Later", w.window.get());
    later->setFont(pointFont("DejaVu Sans", 8));
    auto* laterList = new QListWidget(w.window.get());
    laterList->setFont(pointFont("DejaVu Serif", 8));

    w.window->resize(800, 300);
    modGlobal::ResizeForm(w.window.get());
    QCOMPARE(w.label->font().pointSize(), 16);
    QCOMPARE(later->font().pointSize(), 8);
    QCOMPARE(laterList->font().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(modGlobal::FindControlIndex(later, w.window.get()), -1);
}

void TestProportionalResize::tinyWindowKeepsAFont()
{
    Window w;
    modGlobal::ResizeForm(w.window.get());
    w.window->resize(20, 300); // 5 %: 8 points would become 0
    modGlobal::ResizeForm(w.window.get());
    QCOMPARE(w.label->font().pointSize(), 1);
    w.window->resize(400, 300);
    modGlobal::ResizeForm(w.window.get());
    QCOMPARE(w.label->font().pointSize(), 8);
}

void TestProportionalResize::closedWindowsLoseTheirRecords()
{
    auto first = std::make_unique<Window>();
    modGlobal::ResizeForm(first->window.get());
    const size_t controls = modGlobal::gControlRecords.size();
    QVERIFY(controls >= 6);
    first.reset();

    Window second;
    modGlobal::ResizeForm(second.window.get());
    QCOMPARE(modGlobal::gFormRecords.size(), size_t(1));
    QCOMPARE(modGlobal::gFormRecords.front().window.data(), second.window.get());
    QCOMPARE(modGlobal::gControlRecords.size(), controls);
}

QTEST_MAIN(TestProportionalResize)
#include "tst_proportionalresize.moc"
