// The main window's controls follow real resizes of the shown window: placed
// and sized in proportion, the fonts scaled with the width, nothing cut off.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/ProportionalResize.h"

#include "AircraftScene.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

class TestFrmMainResize : public QObject
{
    Q_OBJECT

private slots:
    void controlsFollowTheWindow_data();
    void controlsFollowTheWindow();
};

void TestFrmMainResize::controlsFollowTheWindow_data()
{
    QTest::addColumn<int>("widthPercent");
    QTest::addColumn<int>("heightPercent");
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("tabFirst"); // the tab is clicked before the resize, else after
    QTest::addColumn<QStringList>("pageControls");

    QTest::newRow("100 %") << 100 << 100 << 2 << false
                           << QStringList{"txt_WingSpan_New", "chk_Exit_1", "fra_WingSpan"};
    QTest::newRow("150 %, page shown after")
        << 150 << 150 << 2 << false << QStringList{"txt_WingSpan_New", "chk_Exit_1", "fra_WingSpan"};
    QTest::newRow("75 %, page shown before")
        << 75 << 75 << 3 << true << QStringList{"txt_CurrentModel", "lst_Airfile", "opt_ac_AI"};
    // The parking-type list is open during this one.
    QTest::newRow("150 % wide, 75 % high")
        << 150 << 75 << 0 << true << QStringList{"txt_Title", "cmd_Update_all_ui_Type", "picCombo"};
}

void TestFrmMainResize::controlsFollowTheWindow()
{
    QFETCH(int, widthPercent);
    QFETCH(int, heightPercent);
    QFETCH(int, tab);
    QFETCH(bool, tabFirst);
    QFETCH(QStringList, pageControls);

    testutil::AircraftScene scene("[fltsim.0]\r\ntitle=Liner\r\natc_parking_types=GATE\r\n");
    frm_Main& w = scene.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ui.mnuResizable->trigger();

    // Client area: the folder list, its button and simulator list (in the
    // navigation column), the grid and the tab control. Page controls follow the page.
    const QStringList names =
        QStringList{"Dir1", "cmd_DirUp", "ListView1", "SSTab1", "combo_SimFolder"} + pageControls;
    QMap<QString, QRect> design;
    for (const QString& name : names)
        design[name] = w.findChild<QWidget*>(name)->geometry();
    QWidget* client = w.centralWidget();
    QWidget* page = w.ui.SSTab1->widget(tab);
    const QSize clientDesign = client->size(), pageDesign = page->size(), windowDesign = w.size();
    const int titlePoints = w.ui.txt_Title->font().pointSize();
    const QFont folderFont = w.ui.Dir1->font();

    QTabBar* tabs = w.ui.SSTab1->tabBar();
    const auto showPage = [&] {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        QTRY_VERIFY(page->isVisible());
    };
    if (tabFirst)
        showPage();
    if (tab == 0)
        QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
    const QSize clientTarget(clientDesign.width() * widthPercent / 100,
                             clientDesign.height() * heightPercent / 100);
    w.resize(w.size() + clientTarget - clientDesign);
    QTRY_COMPARE(client->size(), clientTarget); // no minimum size holds the window back
    if (!tabFirst)
        showPage();

    // Each value times the percentage its area has now of its design size.
    const auto scaled = [](QRect r, QSize now, QSize was) {
        const int w = now.width() * 100 / was.width(), h = now.height() * 100 / was.height();
        return QRect(r.x() * w / 100, r.y() * h / 100, r.width() * w / 100, r.height() * h / 100);
    };
    for (const QString& name : names) {
        QWidget* control = w.findChild<QWidget*>(name);
        QRect expected = page->isAncestorOf(control) ? scaled(design[name], page->size(), pageDesign)
                                                     : scaled(design[name], clientTarget, clientDesign);
        // A combo box's height follows its font, as far as its container has room.
        if (qobject_cast<QComboBox*>(control)) {
            const int room = control->parentWidget()->height() - expected.top();
            expected.setHeight(qMin(control->sizeHint().height(), qMax(expected.height(), room)));
        }
        QCOMPARE(control->geometry(), expected);
    }
    QCOMPARE(w.ui.txt_Title->font().pointSize(),
             titlePoints * (clientTarget.width() * 100 / clientDesign.width()) / 100);
    QCOMPARE(w.ui.Dir1->font(), folderFont);
    if (tab == 0) { // the open list stays right under its frame
        QVERIFY(w.ui.lstParking->isVisible());
        QCOMPARE(w.ui.lstParking->pos(), w.ui.picCombo->mapTo(client, QPoint(0, w.ui.picCombo->height())));
    }

    // Nothing shown is cut off: every placed control lies inside its parent,
    // the client area above the status bar.
    for (const modGlobal::ControlRecord& r : modGlobal::gControlRecords) {
        if (r.window == &w && r.placed && r.control->isVisible())
            QVERIFY2(r.control->parentWidget()->rect().contains(r.control->geometry()), qPrintable(r.name));
    }
    QVERIFY(client->geometry().bottom() < w.ui.StatusBar1->geometry().top());

    // Back at the design size every control is where it started.
    w.resize(windowDesign);
    QTRY_COMPARE(client->size(), clientDesign);
    for (const QString& name : names)
        QCOMPARE(w.findChild<QWidget*>(name)->geometry(), design[name]);
    // The window has no minimum size.
    w.resize(200, 150);
    QTRY_COMPARE(w.size(), QSize(200, 150));
}

QTEST_MAIN(TestFrmMainResize)
#include "tst_frmmain_resize.moc"
