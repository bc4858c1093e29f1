// The main window's controls follow real resizes of the shown window: placed
// and sized in proportion, the fonts scaled with the width, nothing cut off.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/ProportionalResize.h"

#include "AircraftScene.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using testutil::AircraftScene;

namespace {

// v scaled by the percentage the area has now of its design size.
int scaledBy(int v, int now, int design)
{
    return v * (now * 100 / design) / 100;
}

QRect scaledRect(const QRect& r, QSize now, QSize design)
{
    return QRect(scaledBy(r.x(), now.width(), design.width()), scaledBy(r.y(), now.height(), design.height()),
                 scaledBy(r.width(), now.width(), design.width()),
                 scaledBy(r.height(), now.height(), design.height()));
}

} // namespace

class TestFrmMainResize : public QObject
{
    Q_OBJECT

private slots:
    void controlsFollowTheWindow_data();
    void controlsFollowTheWindow();
    void openParkingListFollowsItsFrame();
};

void TestFrmMainResize::controlsFollowTheWindow_data()
{
    QTest::addColumn<int>("widthPercent");
    QTest::addColumn<int>("heightPercent");
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("tabFirst");            // the page is shown before the resize
    QTest::addColumn<QStringList>("pageControls"); // controls on that tab's page

    // The page's controls follow the page; the page is shown by a click on its
    // tab before or after the resize.
    QTest::newRow("100 %") << 100 << 100 << 2 << false
                           << QStringList{"txt_WingSpan_New", "chk_Exit_1", "fra_WingSpan"};
    QTest::newRow("150 %, page shown after")
        << 150 << 150 << 2 << false << QStringList{"txt_WingSpan_New", "chk_Exit_1", "fra_WingSpan"};
    QTest::newRow("75 %, page shown before")
        << 75 << 75 << 3 << true << QStringList{"txt_CurrentModel", "lst_Airfile", "opt_ac_AI"};
    QTest::newRow("150 % wide, 75 % high")
        << 150 << 75 << 0 << false << QStringList{"txt_Title", "cmd_Update_all_ui_Type", "picCombo"};
    QTest::newRow("75 % wide, 150 % high")
        << 75 << 150 << 1 << true << QStringList{"txt_effects[3]", "chk_Effect[8]", "txt_Description"};
}

void TestFrmMainResize::controlsFollowTheWindow()
{
    QFETCH(int, widthPercent);
    QFETCH(int, heightPercent);
    QFETCH(int, tab);
    QFETCH(bool, tabFirst);
    QFETCH(QStringList, pageControls);

    AircraftScene scene("[fltsim.0]\r\ntitle=Liner\r\nmodel=\r\ntexture=\r\nsim=\r\n");
    frm_Main& w = scene.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ui.mnuResizable->trigger();
    QVERIFY(w.bResizable);

    // On the client area: the folder list, its button and simulator list (in
    // the navigation column), the grid and the tab control.
    const QStringList clientControls = {"Dir1", "cmd_DirUp", "ListView1", "SSTab1", "combo_SimFolder"};
    QMap<QString, QRect> design;
    for (const QString& name : clientControls + pageControls) {
        QWidget* control = w.findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        design[name] = control->geometry();
    }
    QWidget* client = w.centralWidget();
    QWidget* page = w.ui.SSTab1->widget(tab);
    const QSize clientDesign = client->size();
    const QSize pageDesign = page->size();
    const int titlePoints = w.ui.txt_Title->font().pointSize();
    const QFont folderFont = w.ui.Dir1->font();

    QTabBar* tabs = w.ui.SSTab1->tabBar();
    const auto showPage = [&] {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        QTRY_VERIFY(page->isVisible());
    };
    if (tabFirst)
        showPage();
    const QSize clientTarget(clientDesign.width() * widthPercent / 100,
                             clientDesign.height() * heightPercent / 100);
    const QSize designWindow = w.size();
    w.resize(w.size() + clientTarget - clientDesign);
    // No minimum size holds the window back.
    QTRY_COMPARE(client->size(), clientTarget);
    if (!tabFirst)
        showPage();

    for (const QString& name : clientControls + pageControls) {
        QWidget* control = w.findChild<QWidget*>(name);
        const bool onPage = page->isAncestorOf(control);
        QRect expected = onPage ? scaledRect(design[name], page->size(), pageDesign)
                                : scaledRect(design[name], clientTarget, clientDesign);
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

    // Nothing shown is cut off: every placed control lies inside its parent,
    // the client area above the status bar.
    for (const modGlobal::ControlRecord& r : modGlobal::gControlRecords) {
        if (r.window == &w && r.placed && r.control->isVisible())
            QVERIFY2(r.control->parentWidget()->rect().contains(r.control->geometry()), qPrintable(r.name));
    }
    QVERIFY(client->geometry().bottom() < w.ui.StatusBar1->geometry().top());

    // Back at the design size every control is where it started.
    w.resize(designWindow);
    QTRY_COMPARE(client->size(), clientDesign);
    for (const QString& name : clientControls + pageControls)
        QCOMPARE(w.findChild<QWidget*>(name)->geometry(), design[name]);
}

void TestFrmMainResize::openParkingListFollowsItsFrame()
{
    AircraftScene scene("[fltsim.0]\r\ntitle=Liner\r\natc_parking_types=GATE\r\n");
    frm_Main& w = scene.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ui.mnuResizable->trigger();
    QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
    QTRY_VERIFY(w.ui.lstParking->isVisible());

    w.resize(w.width() * 3 / 2, w.height() * 3 / 2);
    const QPoint under = w.ui.picCombo->mapTo(w.centralWidget(), QPoint(0, w.ui.picCombo->height()));
    QTRY_COMPARE(w.ui.lstParking->pos(), under);
    QCOMPARE(w.ui.lstParking->width(), w.ui.picCombo->width());
}

QTEST_MAIN(TestFrmMainResize)
#include "tst_frmmain_resize.moc"
