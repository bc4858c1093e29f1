// The main window's controls follow real resizes of the shown window: placed
// and sized in proportion, the fonts scaled with the width, nothing cut off:
// no caption, no grid row, no number in the wing-span boxes.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/ProportionalResize.h"

#include "AircraftScene.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

bool holds(QRect room, QSize text)
{
    return text.width() <= room.width() && text.height() <= room.height();
}

// Why the control does not show its caption (or text) whole in the room its
// style leaves inside its frame or beside its indicator; empty when it does.
QString clipped(QWidget* w)
{
    const QFontMetrics fm = w->fontMetrics();
    QStyle* style = w->style();
    const auto text = [&](const QString& t) {
        return fm.size(Qt::TextShowMnemonic, t);
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!label->text().isEmpty() && !holds(label->contentsRect(), text(label->text())))
            return QStringLiteral("label");
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        if (!holds(style->subElementRect(QStyle::SE_PushButtonContents, &opt, button), text(button->text())))
            return QStringLiteral("button");
    } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        const bool check = qobject_cast<QCheckBox*>(w);
        auto* button = static_cast<QAbstractButton*>(w);
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        const QRect indicator = style->subElementRect(
            check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &opt, button);
        const QRect contents = style->subElementRect(
            check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &opt, button);
        if (!button->rect().contains(indicator))
            return QStringLiteral("indicator");
        if (!button->text().isEmpty() &&
            (!holds(contents, text(button->text())) || !button->rect().contains(contents)))
            return QStringLiteral("caption");
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
        if (fm.horizontalAdvance(box->title()) > box->width() || fm.height() > box->height())
            return QStringLiteral("title");
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QStyleOptionFrame opt;
        opt.initFrom(edit);
        opt.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit);
        // The text runs two pixels inside the contents on either side.
        const QRect room =
            style->subElementRect(QStyle::SE_LineEditContents, &opt, edit).adjusted(2, 0, -2, 0);
        if (!holds(room, QSize(fm.horizontalAdvance(edit->text()), fm.height())))
            return QStringLiteral("text ") + edit->text();
    }
    return {};
}

} // namespace

class TestFrmMainResize : public QObject
{
    Q_OBJECT

private slots:
    void controlsFollowTheWindow_data();
    void controlsFollowTheWindow();
    void nothingIsCutOff_data();
    void nothingIsCutOff();
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
    // The font follows the width, as far as the control's height shows it whole.
    const int titleScaled = titlePoints * (clientTarget.width() * 100 / clientDesign.width()) / 100;
    if (widthPercent == heightPercent)
        QCOMPARE(w.ui.txt_Title->font().pointSize(), titleScaled);
    else
        QVERIFY(w.ui.txt_Title->font().pointSize() <= titleScaled);
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

void TestFrmMainResize::nothingIsCutOff_data()
{
    QTest::addColumn<int>("widthPercent");
    QTest::addColumn<int>("heightPercent");

    QTest::newRow("75 %") << 75 << 75;
    QTest::newRow("78 %, the next font size") << 78 << 78;
    QTest::newRow("100 %") << 100 << 100;
    QTest::newRow("112 %") << 112 << 112;
    QTest::newRow("150 %") << 150 << 150;
    QTest::newRow("200 %") << 200 << 200;
    QTest::newRow("200 % wide, 100 % high") << 200 << 100;
    QTest::newRow("100 % wide, 75 % high") << 100 << 75;
    QTest::newRow("75 % wide, 200 % high") << 75 << 200;
}

void TestFrmMainResize::nothingIsCutOff()
{
    QFETCH(int, widthPercent);
    QFETCH(int, heightPercent);

    testutil::AircraftScene scene("[fltsim.0]\r\ntitle=Liner\r\natc_parking_types=GATE,RAMP\r\n"
                                  "[fltsim.1]\r\ntitle=________\r\n"
                                  "[fltsim.2]\r\ntitle=gpqy Jg_\r\n"
                                  "[airplane_geometry]\r\nwing_span=111.8300\r\n");
    frm_Main& w = scene.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ui.mnuResizable->trigger();
    QWidget* client = w.centralWidget();
    const QSize clientTarget(client->width() * widthPercent / 100, client->height() * heightPercent / 100);
    const int designPoints = w.ui.txt_Title->font().pointSize();
    w.resize(w.size() + clientTarget - client->size());
    QTRY_COMPARE(client->size(), clientTarget);
    // Scaled alike both ways, every font is the one the width gives.
    const int points = widthPercent == heightPercent ? designPoints * widthPercent / 100 : 0;

    // The underscores of the title in the second row show inside the row,
    // above its grid line.
    ListView* grid = w.ui.ListView1;
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    QVERIFY(cell.height() >= grid->fontMetrics().height() + 1);
    const QImage shot = grid->viewport()->grab().toImage();
    int darkRows = 0;
    for (int y = cell.top(); y < cell.bottom(); ++y) {
        bool dark = false;
        for (int x = cell.left(); x <= cell.right() && !dark; ++x)
            dark = QColor(shot.pixel(x, y)).lightness() < 100;
        darkRows += dark;
    }
    QVERIFY(darkRows > 0);

    // A new span whose metres have fifteen digits.
    QTabBar* tabs = w.ui.SSTab1->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    QTest::keyClicks(w.ui.txt_WingSpan_New, QStringLiteral("0.000123456789012345"));
    QCOMPARE(w.ui.txt_WingSpan_New_C2->text(), QStringLiteral("1.88148146454814E-05"));

    // Every caption and every text of the window shows whole, on every page.
    for (int tab = 0; tab < tabs->count(); ++tab) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        QTRY_VERIFY(w.ui.SSTab1->widget(tab)->isVisible());
        for (QWidget* control : client->findChildren<QWidget*>()) {
            if (!control->isVisible() || control->objectName().startsWith(QLatin1String("qt_")))
                continue;
            const QString why = clipped(control);
            QVERIFY2(why.isEmpty(), qPrintable(control->objectName() + u' ' + why));
            if (points && (qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control) ||
                           qobject_cast<QGroupBox*>(control) || qobject_cast<QLineEdit*>(control)))
                QCOMPARE(control->font().pointSize(), points);
        }
    }
}

QTEST_MAIN(TestFrmMainResize)
#include "tst_frmmain_resize.moc"
