#include "mainwindow/widgets/ListView.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A grid with rows "FLTSIM.0" .. "FLTSIM.<n-1>", shown so that geometry and
// mouse input work.
std::unique_ptr<ListView> grid(int rows)
{
    auto view = std::make_unique<ListView>();
    for (int i = 0; i < rows; ++i)
        view->addRow({QStringLiteral("FLTSIM.%1").arg(i), QStringLiteral("Liner %1").arg(i)});
    view->resize(600, 300);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        return nullptr;
    return view;
}

QPoint rowCentre(ListView* view, int row)
{
    // The "title" cell: clear of the row's check box.
    return view->visualRect(view->indexFromItem(view->topLevelItem(row), 1)).center();
}

} // namespace

// The main window's grid: columns, rows, ticks against selection, signals
// and column widths.
class tst_ListView : public QObject
{
    Q_OBJECT

private slots:
    void listViewColumns()
    {
        ListView view;
        QCOMPARE(view.columnCount(), 17);
        QStringList titles;
        for (int col = 0; col < view.columnCount(); ++col)
            titles << view.headerItem()->text(col);
        QCOMPARE(titles, (QStringList{"fltsim.x", "title", "parking_type", "parking_code", "ui_createdby",
                                      "ui_typerole", "ui_manufacturer", "ui_type", "ui_variation", "model",
                                      "sim", "atc_id", "atc_flight_number", "atc_airline", "atc_heavy",
                                      "atc_model", "texture"}));
        QCOMPARE(view.selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(view.allColumnsShowFocus());
    }

    void listViewRows_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("expected");
        QTest::newRow("row text") << QStringList{"FLTSIM.0", "Liner"} << 0 << "FLTSIM.0";
        QTest::newRow("sub-item") << QStringList{"FLTSIM.0", "Liner"} << 1 << "Liner";
        QTest::newRow("missing sub-item is empty") << QStringList{"FLTSIM.0"} << 16 << "";
        const QStringList eighteen = [] {
            QStringList list;
            for (int i = 0; i < 18; ++i)
                list << QString::number(i);
            return list;
        }();
        QTest::newRow("last column") << eighteen << 16 << "16";
        QTest::newRow("no column 17") << eighteen << 17 << "";
        QTest::newRow("negative column") << eighteen << -1 << "";
    }
    void listViewRows()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, col);
        QFETCH(QString, expected);
        ListView view;
        QCOMPARE(view.addRow(texts), 0);
        QCOMPARE(view.rowCount(), 1);
        QCOMPARE(view.rowText(0, col), expected);
        QCOMPARE(view.rowText(1, 0), QString());
        QVERIFY(!view.isTicked(0));
        QCOMPARE(view.topLevelItem(0)->checkState(0), Qt::Unchecked); // the box is there, unticked
        view.clearRows();
        QCOMPARE(view.rowCount(), 0);
        QCOMPARE(view.selectedRow(), -1);
    }

    void listViewTickedIsNotSelected()
    {
        auto view = grid(5);
        QVERIFY(view);
        QCOMPARE(view->selectedRow(), -1);
        view->setTicked(1, true);
        view->setTicked(3, true);
        view->selectRow(2);
        QCOMPARE(view->selectedRow(), 2);
        QCOMPARE(view->tickedRows(), (QList<int>{1, 3}));
        QVERIFY(!view->isTicked(2));

        // Selecting keeps ticks, ticking keeps the selection.
        view->selectRow(3);
        QCOMPARE(view->tickedRows(), (QList<int>{1, 3}));
        view->setTicked(3, false);
        QCOMPARE(view->selectedRow(), 3);
        QCOMPARE(view->tickedRows(), QList<int>{1});

        // A mouse click on a row selects it without ticking it.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(view.get(), 4));
        QCOMPARE(view->selectedRow(), 4);
        QCOMPARE(view->tickedRows(), QList<int>{1});

        // Out of range: no selection at all; ticks of missing rows are ignored.
        view->selectRow(99);
        QCOMPARE(view->selectedRow(), -1);
        view->setTicked(99, true);
        QVERIFY(!view->isTicked(99));
        view->selectRow(-1);
        QCOMPARE(view->selectedRow(), -1);
    }

    void listViewSpaceTicksCurrentRow()
    {
        auto view = grid(3);
        QVERIFY(view);
        view->selectRow(2);
        view->setFocus();
        QTest::keyClick(view.get(), Qt::Key_Space);
        QVERIFY(view->isTicked(2));
        QCOMPARE(view->selectedRow(), 2);
        QTest::keyClick(view.get(), Qt::Key_Space);
        QVERIFY(!view->isTicked(2));
    }

    void listViewSelectRowScrollsIntoView()
    {
        auto view = grid(300);
        QVERIFY(view);
        view->selectRow(250);
        QCOMPARE(view->selectedRow(), 250);
        QCOMPARE(view->currentItem(), view->topLevelItem(250));
        QVERIFY(view->viewport()->rect().intersects(view->visualItemRect(view->topLevelItem(250))));
    }

    void listViewSignals()
    {
        auto view = grid(4);
        QVERIFY(view);
        QSignalSpy clicked(view.get(), &ListView::clicked);
        QSignalSpy doubleClicked(view.get(), &ListView::doubleClicked);
        QSignalSpy mouseDown(view.get(), &ListView::mouseDown);

        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(view.get(), 1));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(mouseDown.count(), 1);
        QCOMPARE(mouseDown.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);

        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rowCentre(view.get(), 1));
        QCOMPARE(doubleClicked.count(), 1);

        // A right press reports the button and the position in the grid's own
        // coordinates, after the row under it was selected.
        int selectedAtPress = -2;
        connect(view.get(), &ListView::mouseDown, view.get(),
                [&](Qt::MouseButton, QPoint) { selectedAtPress = view->selectedRow(); });
        mouseDown.clear();
        const QPoint inViewport = rowCentre(view.get(), 3);
        QTest::mousePress(view->viewport(), Qt::RightButton, {}, inViewport);
        QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, inViewport);
        QCOMPARE(mouseDown.count(), 1);
        QCOMPARE(mouseDown.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(mouseDown.at(0).at(1).toPoint(), view->viewport()->mapTo(view.get(), inViewport));
        QCOMPARE(selectedAtPress, 3);
    }

    void listViewColumnWidths()
    {
        auto view = grid(2);
        QVERIFY(view);
        view->setDesignedColumnWidths(800);
        QCOMPARE(view->columnWidth(0), 100);
        QCOMPARE(view->columnWidth(1), 400);
        QCOMPARE(view->columnWidth(16), 160);

        // Width 0 hides a column.
        view->setColumnWidth(3, 0);
        QCOMPARE(view->columnWidth(3), 0);

        const QString wide = QStringLiteral("a rather long parking type text");
        view->setRowText(1, 2, wide);
        view->setColumnWidth(2, 10);
        view->autoSizeColumn(2);
        QVERIFY(view->columnWidth(2) >= view->fontMetrics().horizontalAdvance(wide));

        // The last column takes at least the width the others leave free.
        for (int col = 0; col < 16; ++col)
            view->setColumnWidth(col, 20);
        view->autoSizeColumn(16);
        QCOMPARE(view->columnWidth(16), view->viewport()->width() - 16 * 20);
    }
};

QTEST_MAIN(tst_ListView)
#include "tst_listview.moc"
