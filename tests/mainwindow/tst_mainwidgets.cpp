#include "TestUtil.h"

#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "mainwindow/widgets/VbColors.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

// The main window's custom widgets: grid, drive and folder lists, status
// panels, description box and the colour helpers.
class tst_MainWidgets : public QObject
{
    Q_OBJECT

private slots:
    void listViewColumns();
    void listViewRows_data();
    void listViewRows();
    void listViewTickedIsNotSelected();
    void listViewSpaceTicksCurrentRow();
    void listViewSelectRowScrollsIntoView();
    void listViewSignals();
    void listViewColumnWidths();

    void driveListRealVolumes();
    void driveListOrder();
    void driveListSetDrive_data();
    void driveListSetDrive();
    void driveListChangedOnlyOnRealChange();

    void dirListAncestorsAndSubfolders();
    void dirListSetPath_data();
    void dirListSetPath();
    void dirListEnterAndDoubleClickMove();
    void dirListHighlightWithoutMoving();
    void dirListRefresh();
    void dirListHeld();
    void dirListUnreadableFolder();

    void statusDesignedPanels_data();
    void statusDesignedPanels();
    void statusSetPanel_data();
    void statusSetPanel();
    void statusPanelAt();
    void statusDateAndTime();
    void statusMouse();
    void statusFont();

    void descriptionStaysOneLine();

    void colours_data();
    void colours();
    void backColorShows_data();
    void backColorShows();
};

// ---- ListView ---------------------------------------------------------------

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

void tst_MainWidgets::listViewColumns()
{
    ListView view;
    QCOMPARE(view.columnCount(), 17);
    QStringList titles;
    for (int col = 0; col < view.columnCount(); ++col)
        titles << view.headerItem()->text(col);
    QCOMPARE(titles,
             (QStringList{"fltsim.x", "title", "parking_type", "parking_code", "ui_createdby", "ui_typerole",
                          "ui_manufacturer", "ui_type", "ui_variation", "model", "sim", "atc_id",
                          "atc_flight_number", "atc_airline", "atc_heavy", "atc_model", "texture"}));
    QCOMPARE(view.selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(view.allColumnsShowFocus());
}

void tst_MainWidgets::listViewRows_data()
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

void tst_MainWidgets::listViewRows()
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

void tst_MainWidgets::listViewTickedIsNotSelected()
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

void tst_MainWidgets::listViewSpaceTicksCurrentRow()
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

void tst_MainWidgets::listViewSelectRowScrollsIntoView()
{
    auto view = grid(300);
    QVERIFY(view);
    view->selectRow(250);
    QCOMPARE(view->selectedRow(), 250);
    QCOMPARE(view->currentItem(), view->topLevelItem(250));
    QVERIFY(view->viewport()->rect().intersects(view->visualItemRect(view->topLevelItem(250))));
}

void tst_MainWidgets::listViewSignals()
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

void tst_MainWidgets::listViewColumnWidths()
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

// ---- DriveList --------------------------------------------------------------

void tst_MainWidgets::driveListRealVolumes()
{
    DriveList drives;
    QVERIFY(drives.count() > 0);
    QCOMPARE(drives.volumes().first(), QStringLiteral("/"));
    QCOMPARE(drives.drive(), QStringLiteral("/"));

    QTemporaryDir dir;
    QVERIFY(drives.setDrive(dir.path()));
    QString expected = QStorageInfo(dir.path()).rootPath();
    if (expected.size() > 1 && expected.endsWith(u'/'))
        expected.chop(1);
    if (expected.isEmpty()) // no readable mount table (a chroot): the root holds it
        expected = QStringLiteral("/");
    QCOMPARE(drives.drive(), expected);
}

void tst_MainWidgets::driveListOrder()
{
    DriveList drives;
    drives.setVolumes({"/mnt/b", "/", "/mnt/a/", "/mnt/a", "/boot"}, {"B", "", "A", "A again", ""});
    QCOMPARE(drives.volumes(), (QStringList{"/", "/boot", "/mnt/a", "/mnt/b"}));
    QCOMPARE(drives.itemText(2), QStringLiteral("/mnt/a  [A]"));
    QCOMPARE(drives.itemText(0), QStringLiteral("/"));
}

void tst_MainWidgets::driveListSetDrive_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("drive");
    QTest::newRow("deepest mount wins") << "/home/user/data/x/y" << true << "/home/user/data";
    QTest::newRow("mount point itself") << "/home" << true << "/home";
    QTest::newRow("only whole folder names") << "/homework2/a" << true << "/";
    QTest::newRow("sibling with common prefix") << "/homework/a" << true << "/homework";
    QTest::newRow("prefix of a name is not a parent") << "/home/userx" << true << "/home";
    QTest::newRow("dot-dot leaves the mount") << "/home/user/data/../../../etc" << true << "/";
    QTest::newRow("trailing slash") << "/home/" << true << "/home";
    QTest::newRow("empty path") << "" << false << "/";
}

void tst_MainWidgets::driveListSetDrive()
{
    QFETCH(QString, path);
    QFETCH(bool, found);
    QFETCH(QString, drive);
    DriveList drives;
    drives.setVolumes({"/", "/home", "/home/user/data", "/homework"});
    QCOMPARE(drives.setDrive(path), found);
    QCOMPARE(drives.drive(), drive);
}

void tst_MainWidgets::driveListChangedOnlyOnRealChange()
{
    DriveList drives;
    drives.setVolumes({"/", "/mnt/a", "/mnt/b"});
    QSignalSpy changed(&drives, &DriveList::changed);

    QVERIFY(drives.setDrive("/usr/lib"));
    QCOMPARE(changed.count(), 0); // still "/"
    QVERIFY(drives.setDrive("/mnt/a/x"));
    QCOMPARE(changed.count(), 1);
    QVERIFY(drives.setDrive("/mnt/a/y"));
    QCOMPARE(changed.count(), 1);

    // A user's pick with the keyboard.
    drives.setFocus();
    QTest::keyClick(&drives, Qt::Key_Down);
    QCOMPARE(drives.drive(), QStringLiteral("/mnt/b"));
    QCOMPARE(changed.count(), 2);

    // A new list that keeps the chosen volume changes nothing; one without it
    // falls back to the first volume and says so.
    drives.setVolumes({"/mnt/b", "/"});
    QCOMPARE(changed.count(), 2);
    drives.setVolumes({"/", "/mnt/c"});
    QCOMPARE(drives.drive(), QStringLiteral("/"));
    QCOMPARE(changed.count(), 3);

    // No volume holds a relative-free path when the root is missing.
    drives.setVolumes({"/mnt/c"});
    QCOMPARE(changed.count(), 4);
    QVERIFY(!drives.setDrive("/usr"));
    QCOMPARE(drives.drive(), QStringLiteral("/mnt/c"));
    QCOMPARE(changed.count(), 4);
}

// ---- DirList ----------------------------------------------------------------

namespace {

QStringList itemTexts(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

// The ancestors of a folder from the root down, the folder included.
QStringList chainOf(const QString& path)
{
    QStringList chain;
    QString p = QDir::cleanPath(path);
    for (;;) {
        chain.prepend(p);
        if (p == u"/")
            break;
        p = QFileInfo(p).path();
    }
    return chain;
}

} // namespace

void tst_MainWidgets::dirListAncestorsAndSubfolders()
{
    QTemporaryDir tmp;
    const QString base = tmp.path() + QStringLiteral("/Aircraft");
    for (const char* sub : {"beta", "Alpha", "gamma", "Beta2", ".hidden"})
        testutil::makeDir(base + u'/' + QString::fromLatin1(sub));
    testutil::writeFile(base + QStringLiteral("/aircraft.cfg"), "[fltsim.0]\r\n");

    DirList list;
    QVERIFY(list.setPath(base));
    QCOMPARE(list.path(), QDir::cleanPath(base));
    const QStringList chain = chainOf(base);

    // Subfolders: files and hidden folders left out, sorted without regard to case.
    QCOMPARE(list.listCount(), 4);
    QStringList subs;
    for (int i = 0; i < list.listCount(); ++i)
        subs << QFileInfo(list.listPath(i)).fileName();
    QCOMPARE(subs, (QStringList{"Alpha", "beta", "Beta2", "gamma"}));
    QCOMPARE(list.listPath(0), base + QStringLiteral("/Alpha"));

    // Ancestors: -1 the folder itself, then upwards to the root.
    for (int i = 1; i <= chain.size(); ++i)
        QCOMPARE(list.listPath(-i), chain.at(chain.size() - i));
    QCOMPARE(list.listPath(-int(chain.size()) - 1), QString());
    QCOMPARE(list.listPath(4), QString());

    // What the user sees: "/" first, one name per level, the subfolders last.
    const QStringList texts = itemTexts(list);
    QCOMPARE(texts.size(), chain.size() + 4);
    QCOMPARE(texts.first(), QStringLiteral("/"));
    QCOMPARE(texts.at(chain.size() - 1), QStringLiteral("Aircraft"));
    QCOMPARE(texts.mid(chain.size()), subs);
    QCOMPARE(list.listIndex(), -1);
    QCOMPARE(list.currentItem()->text(), QStringLiteral("Aircraft"));
}

void tst_MainWidgets::dirListSetPath_data()
{
    QTest::addColumn<QString>("target"); // below the fixture folder; "<empty>" is no text at all
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("raised");
    QTest::addColumn<QString>("after");
    QTest::newRow("same folder") << "a" << true << 0 << "a";
    QTest::newRow("same folder, trailing slash") << "a/" << true << 0 << "a";
    QTest::newRow("same folder, dot segments") << "a/../a/." << true << 0 << "a";
    QTest::newRow("subfolder") << "a/b" << true << 1 << "a/b";
    QTest::newRow("parent") << "" << true << 1 << "";
    QTest::newRow("missing folder") << "a/none" << false << 0 << "a";
    QTest::newRow("a file") << "a/file.txt" << false << 0 << "a";
    QTest::newRow("empty text") << "<empty>" << false << 0 << "a";
}

void tst_MainWidgets::dirListSetPath()
{
    QFETCH(QString, target);
    QFETCH(bool, accepted);
    QFETCH(int, raised);
    QFETCH(QString, after);

    QTemporaryDir tmp;
    const QString root = QDir::cleanPath(tmp.path());
    testutil::makeDir(root + QStringLiteral("/a/b"));
    testutil::writeFile(root + QStringLiteral("/a/file.txt"), "x");
    DirList list;
    QVERIFY(list.setPath(root + QStringLiteral("/a")));
    const QStringList before = itemTexts(list);

    QSignalSpy changed(&list, &DirList::changed);
    const QString path = target == u"<empty>" ? QString() : root + u'/' + target;
    QCOMPARE(list.setPath(path), accepted);
    QCOMPARE(changed.count(), raised);
    QCOMPARE(list.path(), QDir::cleanPath(root + u'/' + after));
    if (raised == 0)
        QCOMPARE(itemTexts(list), before);
}

void tst_MainWidgets::dirListEnterAndDoubleClickMove()
{
    QTemporaryDir tmp;
    const QString root = QDir::cleanPath(tmp.path());
    testutil::makeDir(root + QStringLiteral("/one/two"));
    DirList list;
    list.resize(300, 400);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QVERIFY(list.setPath(root));
    QSignalSpy changed(&list, &DirList::changed);

    list.setListIndex(0);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(list.path(), root + QStringLiteral("/one"));
    QCOMPARE(changed.count(), 1);

    const int row = list.count() - 1; // the only subfolder, "two"
    QCOMPARE(list.item(row)->text(), QStringLiteral("two"));
    // A double click is a click followed by the second press.
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(changed.count(), 1); // a single click only highlights
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list.path(), root + QStringLiteral("/one/two"));
    QCOMPARE(changed.count(), 2);

    // Enter on an ancestor moves up; on the current folder it changes nothing.
    list.setListIndex(-3);
    QTest::keyClick(&list, Qt::Key_Enter);
    QCOMPARE(list.path(), root);
    QCOMPARE(changed.count(), 3);
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(changed.count(), 3);
}

void tst_MainWidgets::dirListHighlightWithoutMoving()
{
    QTemporaryDir tmp;
    const QString root = QDir::cleanPath(tmp.path());
    for (const char* sub : {"B737", "A320", "C172"})
        testutil::makeDir(root + u'/' + QString::fromLatin1(sub));
    DirList list;
    QVERIFY(list.setPath(root));
    QSignalSpy changed(&list, &DirList::changed);

    // Highlighting the folder just left, as the "Upwards" button does.
    for (int i = 0; i < list.listCount(); ++i) {
        if (list.listPath(i).section(u'/', -1) == u"B737")
            list.setListIndex(i);
    }
    QCOMPARE(list.listIndex(), 1);
    QCOMPARE(list.currentItem()->text(), QStringLiteral("B737"));
    QCOMPARE(list.path(), root);
    QCOMPARE(changed.count(), 0);

    list.setListIndex(3); // no such entry: the highlight stays
    QCOMPARE(list.listIndex(), 1);
    list.setListIndex(-2);
    QCOMPARE(list.listPath(list.listIndex()), QFileInfo(root).path());
}

void tst_MainWidgets::dirListRefresh()
{
    QTemporaryDir tmp;
    const QString root = QDir::cleanPath(tmp.path());
    testutil::makeDir(root + QStringLiteral("/b"));
    DirList list;
    QVERIFY(list.setPath(root));
    QSignalSpy changed(&list, &DirList::changed);
    list.setListIndex(0);

    testutil::makeDir(root + QStringLiteral("/a"));
    QCOMPARE(list.listCount(), 1);
    list.refresh();
    QCOMPARE(list.listCount(), 2);
    QCOMPARE(list.listPath(0), root + QStringLiteral("/a"));
    QCOMPARE(list.listPath(list.listIndex()), root + QStringLiteral("/b")); // highlight kept on "b"
    QCOMPARE(changed.count(), 0);

    // The current folder vanishing leaves an empty folder list, not a crash.
    QVERIFY(QDir(root).removeRecursively());
    list.refresh();
    QCOMPARE(list.listCount(), 0);
    QCOMPARE(list.listPath(-1), root);
}

void tst_MainWidgets::dirListHeld()
{
    QTemporaryDir tmp;
    const QString root = QDir::cleanPath(tmp.path());
    for (const char* sub : {"/a/x", "/a/y", "/b"})
        testutil::makeDir(root + QString::fromLatin1(sub));
    DirList list;
    QVERIFY(list.setPath(root));
    QSignalSpy changed(&list, &DirList::changed);

    // Held: the folder moves and says so, the list stays as it was.
    list.holdList(true);
    QVERIFY(list.setPath(root + QStringLiteral("/a")));
    QCOMPARE(list.path(), root + QStringLiteral("/a"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(list.listPath(1), root + QStringLiteral("/b"));
    list.holdList(false);
    QCOMPARE(list.listCount(), 2);
    QCOMPARE(list.listPath(1), root + QStringLiteral("/a/y"));

    // Back at the folder it lists while held: released, it lists it afresh.
    list.setListIndex(0);
    list.holdList(true);
    QVERIFY(list.setPath(root));
    QVERIFY(list.setPath(root + QStringLiteral("/a")));
    list.holdList(false);
    QCOMPARE(list.listPath(-1), root + QStringLiteral("/a"));
    QCOMPARE(list.listIndex(), -1);
}

void tst_MainWidgets::dirListUnreadableFolder()
{
    if (testutil::runningAsRoot())
        QSKIP("permissions do not restrict root");
    QTemporaryDir tmp;
    const QString locked = QDir::cleanPath(tmp.path()) + QStringLiteral("/locked");
    testutil::makeDir(locked + QStringLiteral("/inner"));
    testutil::setMode(locked, 0000);
    DirList list;
    const bool moved = list.setPath(locked);
    testutil::setMode(locked, 0700);
    QVERIFY(moved);
    QCOMPARE(list.path(), locked);
    QCOMPARE(list.listCount(), 0);
    QCOMPARE(list.listPath(-1), locked);
    QCOMPARE(list.item(0)->text(), QStringLiteral("/"));
}

// ---- StatusPanels -----------------------------------------------------------

void tst_MainWidgets::statusDesignedPanels_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tag");
    QTest::newRow("1") << 1 << "FS9 :"
                       << "Aircraft configuration status: green 'OK' = great, red 'NOK' = error";
    QTest::newRow("2") << 2 << "n/a"
                       << "\"found\" if FS9 installation detected, else \"n/a\"";
    QTest::newRow("3")
        << 3 << "FS9 ATC"
        << "Green background if FS9 airlines.cfg was found & loaded, else red. Double-click to "
           "edit file.";
    QTest::newRow("4") << 4 << "FSX :"
                       << "";
    QTest::newRow("5") << 5 << "n/a"
                       << "\"found\" if FSX installation detected, else \"n/a\"";
    QTest::newRow("7") << 7 << "Aircraft :"
                       << "";
    QTest::newRow("8") << 8 << "AC Folder"
                       << "Green background if current folder is an aircraft folder, else red";
    QTest::newRow("9") << 9 << ""
                       << "Basic aircraft status. Checks only section and title uniqueness and model files "
                          "availability. Green means passed, red means error. NOTE: You still may have other "
                          "errors in your configuration. Double-click here for a detailed analysis.";
    QTest::newRow("10") << 10 << ""
                        << "Shows how many aircraft are defined in this folder & aircraft.cfg";
    QTest::newRow("12") << 12 << "<time>"
                        << "current time";
    QTest::newRow("no panel 0") << 0 << ""
                                << "";
    QTest::newRow("no panel 13") << 13 << ""
                                 << "";
}

void tst_MainWidgets::statusDesignedPanels()
{
    QFETCH(int, panel);
    QFETCH(QString, text);
    QFETCH(QString, tag);
    StatusPanels status;
    if (text != u"<time>")
        QCOMPARE(status.panelText(panel), text);
    QCOMPARE(status.panelTag(panel), tag);
    QVERIFY(!status.hasPanelPicture(panel));
}

void tst_MainWidgets::statusSetPanel_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("back");
    QTest::addColumn<int>("alignment");
    QTest::newRow("found") << 2 << "found" << paletteGreen() << 2;
    QTest::newRow("ATC red") << 6 << "ATC" << paletteRed() << 2;
    QTest::newRow("n/a status") << 9 << "AC Status: n/a" << paletteGrey() << 2;
    QTest::newRow("left") << 8 << "AC Folder" << paletteGreen() << 0;
    QTest::newRow("right") << 10 << "x" << paletteRed() << 1;
}

void tst_MainWidgets::statusSetPanel()
{
    QFETCH(int, panel);
    QFETCH(QString, text);
    QFETCH(QColor, back);
    QFETCH(int, alignment);
    StatusPanels status;
    status.resize(1100, 26);
    status.show();
    QVERIFY(QTest::qWaitForWindowExposed(&status));
    const QString plain = status.panelText(panel);

    status.setPanel(panel, text, back, paletteWhite(), alignment);
    QVERIFY(status.hasPanelPicture(panel));
    QCOMPARE(status.panelPictureText(panel), text);
    QCOMPARE(status.panelBackColor(panel), back);
    QCOMPARE(status.panelForeColor(panel), paletteWhite());
    QCOMPARE(status.panelAlignment(panel), alignment);
    QCOMPARE(status.panelText(panel), plain); // the picture leaves the plain text alone

    // The picture covers the panel in its back colour.
    const QImage image = status.grab().toImage();
    const QRect r = status.panelRect(panel);
    QCOMPARE(QColor(image.pixel(r.left() + 1, r.top() + 1)), back);
    QCOMPARE(QColor(image.pixel(r.right() - 1, r.bottom() - 1)), back);
    // ... with the text on it in white.
    int whitish = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            whitish += QColor(image.pixel(x, y)).lightness() > 220 ? 1 : 0;
    }
    QVERIFY(whitish > 5);

    status.clearPanelPicture(panel);
    QVERIFY(!status.hasPanelPicture(panel));
    const QImage cleared = status.grab().toImage();
    QVERIFY(QColor(cleared.pixel(r.left() + 1, r.center().y())) != back);

    status.setPanel(0, text, back, paletteWhite(), 2); // no such panel: ignored
    QVERIFY(!status.hasPanelPicture(0));
}

void tst_MainWidgets::statusPanelAt()
{
    StatusPanels status;
    status.resize(1100, 26);
    for (int i = 2; i <= StatusPanels::PanelCount; ++i)
        QVERIFY(status.panelRect(i).left() > status.panelRect(i - 1).right());
    QVERIFY(status.panelRect(12).right() < 1100);

    const QRect third = status.panelRect(3);
    QCOMPARE(status.panelAt(third.left()), 3);
    QCOMPARE(status.panelAt(third.center().x()), 3);
    QCOMPARE(status.panelAt(third.left() + third.width()), 3); // the right edge still counts
    QCOMPARE(status.panelAt(status.panelRect(4).left()), 4);
    QCOMPARE(status.panelAt(-5), 0);
    QCOMPARE(status.panelAt(5000), 0);

    // Panel 10 takes the width the others leave.
    const int narrow = status.panelRect(10).width();
    status.resize(1400, 26);
    QCOMPARE(status.panelRect(10).width(), narrow + 300);
    QCOMPARE(status.panelRect(2).width(), status.panelRect(5).width());
}

void tst_MainWidgets::statusDateAndTime()
{
    StatusPanels status;
    const QLocale locale = QLocale::system();
    QDateTime now(QDate(2024, 2, 29), QTime(23, 59, 59));
    status.setClock([&now] { return now; });
    QCOMPARE(status.panelText(11), locale.toString(QDate(2024, 2, 29), QLocale::ShortFormat));
    QCOMPARE(status.panelText(12), locale.toString(QTime(23, 59, 59), QLocale::ShortFormat));

    // The status bar keeps them current itself.
    now = QDateTime(QDate(2024, 3, 1), QTime(0, 1, 0));
    QTRY_COMPARE_WITH_TIMEOUT(status.panelText(11), locale.toString(QDate(2024, 3, 1), QLocale::ShortFormat),
                              3000);
    QCOMPARE(status.panelText(12), locale.toString(QTime(0, 1, 0), QLocale::ShortFormat));

    // The real clock by default.
    StatusPanels real;
    const QDate today = QDate::currentDate();
    const QString shown = real.panelText(11);
    QVERIFY(shown == locale.toString(today, QLocale::ShortFormat) ||
            shown == locale.toString(today.addDays(-1), QLocale::ShortFormat));
}

void tst_MainWidgets::statusMouse()
{
    StatusPanels status;
    status.resize(1100, 26);
    status.show();
    QVERIFY(QTest::qWaitForWindowExposed(&status));
    QSignalSpy doubleClicked(&status, &StatusPanels::panelDoubleClicked);
    QSignalSpy moved(&status, &StatusPanels::mouseMoved);

    const QPoint over5 = status.panelRect(5).center();
    QMouseEvent move(QEvent::MouseMove, over5, status.mapToGlobal(over5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&status, &move);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.last().at(1).toPoint(), over5);
    QCOMPARE(status.panelAt(moved.last().at(1).toPoint().x()), 5);
    QCOMPARE(moved.last().at(0).value<Qt::MouseButtons>(), Qt::NoButton);

    QTest::mouseDClick(&status, Qt::LeftButton, {}, status.panelRect(6).center());
    QCOMPARE(doubleClicked.count(), 1);
    QCOMPARE(doubleClicked.at(0).at(0).toInt(), 6);
    QTest::mouseDClick(&status, Qt::LeftButton, {}, status.panelRect(9).center());
    QCOMPARE(doubleClicked.at(1).at(0).toInt(), 9);

    // Hovering shows the panel's tag, unless tag tips are switched off; a panel
    // without a tag shows nothing.
    const auto hover = [&status](int panel) {
        const QPoint at = status.panelRect(panel).center();
        QHelpEvent help(QEvent::ToolTip, at, status.mapToGlobal(at));
        QCoreApplication::sendEvent(&status, &help);
    };
    hover(9);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), status.panelTag(9));
    hover(4);
    QTRY_VERIFY(!QToolTip::isVisible());
    status.setTagTipsEnabled(false);
    hover(9);
    QVERIFY(!QToolTip::isVisible());
}

void tst_MainWidgets::statusFont()
{
    StatusPanels status;
    QCOMPARE(status.font().family(), QStringLiteral("Arial"));
    QCOMPARE(status.font().pointSize(), 10);
    QVERIFY(status.font().bold());
    QVERIFY(!status.isSizeGripEnabled());
}

// ---- DescriptionEdit ----------------------------------------------------------

void tst_MainWidgets::descriptionStaysOneLine()
{
    DescriptionEdit edit;
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.setText(QStringLiteral("first\r\nsecond\nthird"));
    QCOMPARE(edit.text(), QStringLiteral("first second third"));

    edit.setFocus();
    edit.moveCursor(QTextCursor::End);
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClick(&edit, Qt::Key_Enter);
    QTest::keyClicks(&edit, QStringLiteral(" x"));
    QCOMPARE(edit.text(), QStringLiteral("first second third x"));

    QGuiApplication::clipboard()->setText(QStringLiteral(" pasted\nline"));
    edit.paste();
    QCOMPARE(edit.text(), QStringLiteral("first second third x pasted line"));

    // The text as shown, worked out without the box.
    for (const QString& s : {QStringLiteral("a\r\nb\rc\u2028d\u2029e"), QStringLiteral("no\u00A0break \uFDD0x\uFDD1y\tz"),
                             QString()}) {
        edit.setText(s);
        QCOMPARE(DescriptionEdit::shownText(s), edit.text());
    }
}

// ---- Colours ------------------------------------------------------------------

void tst_MainWidgets::colours_data()
{
    QTest::addColumn<QColor>("actual");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("bbggrr: red in the low byte") << vbColor(0x0000FF) << QColor(255, 0, 0);
    QTest::newRow("light apricot") << vbColor(0xC0E0FF) << QColor(255, 224, 192);
    QTest::newRow("light yellow") << vbColor(vbcolor::LightYellow) << QColor(255, 255, 192);
    QTest::newRow("grey") << vbColor(vbcolor::Grey) << QColor(224, 224, 224);
    QTest::newRow("high byte ignored") << vbColor(0xFF00FF00) << QColor(0, 255, 0);
    QTest::newRow("palette 2") << paletteGreen() << QColor(0, 128, 0);
    QTest::newRow("palette 4") << paletteRed() << QColor(128, 0, 0);
    QTest::newRow("palette 8") << paletteGrey() << QColor(128, 128, 128);
    QTest::newRow("palette 15") << paletteWhite() << QColor(255, 255, 255);
    QTest::newRow("palette 1 is blue") << qbColor(1) << QColor(0, 0, 128);
    QTest::newRow("palette 7") << qbColor(7) << QColor(192, 192, 192);
    QTest::newRow("outside the palette") << qbColor(16) << QColor(0, 0, 0);
    QTest::newRow("negative index") << qbColor(-1) << QColor(0, 0, 0);
}

void tst_MainWidgets::colours()
{
    QFETCH(QColor, actual);
    QFETCH(QColor, expected);
    QCOMPARE(actual, expected);
}

void tst_MainWidgets::backColorShows_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("enabled");
    for (const char* kind :
         {"QLineEdit", "QLabel", "QCheckBox", "QFrame", "DescriptionEdit", "QListWidget"}) {
        QTest::newRow(kind) << QString::fromLatin1(kind) << true;
        QTest::newRow(qPrintable(QString::fromLatin1(kind) + QStringLiteral(" disabled")))
            << QString::fromLatin1(kind) << false;
    }
}

void tst_MainWidgets::backColorShows()
{
    QFETCH(QString, kind);
    QFETCH(bool, enabled);
    QWidget host;
    QWidget* w = nullptr;
    if (kind == u"QLineEdit")
        w = new QLineEdit(&host);
    else if (kind == u"QLabel")
        w = new QLabel(QStringLiteral("x"), &host);
    else if (kind == u"QCheckBox")
        w = new QCheckBox(QStringLiteral("x"), &host);
    else if (kind == u"QFrame")
        w = new QFrame(&host);
    else if (kind == u"DescriptionEdit")
        w = new DescriptionEdit(&host);
    else
        w = new QListWidget(&host);
    w->setGeometry(0, 0, 160, 60);
    w->setEnabled(enabled);
    host.resize(200, 100);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    for (const quint32 value : {vbcolor::Grey, vbcolor::White, vbcolor::Red}) {
        setBackColor(w, vbColor(value));
        QCOMPARE(backColor(w), vbColor(value));
        // Read back from the screen: a point away from borders, indicator and text.
        const QImage image = w->grab().toImage();
        QCOMPARE(QColor(image.pixel(image.width() - 20, image.height() / 2 + 10)), vbColor(value));
    }
    setBackColor(nullptr, Qt::red); // ignored
    QCOMPARE(backColor(nullptr), QColor());
}

QTEST_MAIN(tst_MainWidgets)
#include "tst_mainwidgets.moc"
