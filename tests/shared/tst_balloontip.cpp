// Balloon tooltips: the set-up a window runs in its load, and what hovering
// a control with a tool shows.
#include "shared/BalloonTip.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString kButtonTip = QStringLiteral("Press here to do it");
const QString kLabelTip = QStringLiteral("What the field means");
const QString kComboTip = QStringLiteral("Pick one");
const QString kBoxTip = QStringLiteral("Tick to run once");

// A small window of the kinds the set-up treats differently.
struct Window
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QPushButton* button = nullptr;
    QLineEdit* edit = nullptr;
    QLabel* label = nullptr;
    QComboBox* combo = nullptr;
    QGroupBox* frame = nullptr;
    QCheckBox* box = nullptr;

    Window()
    {
        window->setObjectName("tst_window");
        auto* layout = new QVBoxLayout(window.get());
        button = new QPushButton("Go", window.get());
        button->setObjectName("cmdGo");
        button->setToolTip(kButtonTip);
        edit = new QLineEdit(window.get());
        edit->setObjectName("txtEmpty");
        label = new QLabel("Name:", window.get());
        label->setToolTip(kLabelTip);
        combo = new QComboBox(window.get());
        combo->setObjectName("comboPick");
        combo->addItems({"one", "two"});
        combo->setToolTip(kComboTip);
        frame = new QGroupBox("Frame", window.get());
        frame->setObjectName("fraBox");
        auto* inner = new QVBoxLayout(frame);
        box = new QCheckBox("Once", frame);
        box->setObjectName("chkOnce");
        box->setToolTip(kBoxTip);
        inner->addWidget(box);
        for (QWidget* w : {static_cast<QWidget*>(button), static_cast<QWidget*>(edit),
                           static_cast<QWidget*>(label), static_cast<QWidget*>(combo),
                           static_cast<QWidget*>(frame)})
            layout->addWidget(w);
    }
};

// Sends the event Qt sends when the mouse rests on a widget.
void hover(QWidget* w)
{
    const QPoint pos = w->rect().center();
    QHelpEvent help(QEvent::ToolTip, pos, w->mapToGlobal(pos));
    QApplication::sendEvent(w, &help);
}

// Shows the window, active, so that resting the mouse raises tooltips.
bool showActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// Rests the pointer on the middle of `w` until its balloon shows.
bool restOn(BalloonTip* tip, QWidget* w, QPoint dx = {})
{
    // From the window's corner: a pointer that is there already does not move.
    QTest::mouseMove(w->window(), QPoint(1, 1));
    QTest::mouseMove(w, w->rect().center() + dx);
    return QTest::qWaitFor([&] { return tip->isShowing() && tip->shownTool() == w; });
}

// What the screen shows at a point, all windows together.
QColor screenPixel(QPoint global)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QImage shot = screen->grabWindow(0, global.x(), global.y(), 1, 1).toImage();
    return shot.isNull() ? QColor() : shot.pixelColor(0, 0);
}

} // namespace

class TestBalloonTip : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QToolTip::hideText(); }

    void setUp_data();
    void setUp();
    void setUpTwiceChangesNothing();
    void hoverShowsTheToolText_data();
    void hoverShowsTheToolText();
    void labelShowsItsPlainTip();
    void updateTipText();
    void longTextWraps_data();
    void longTextWraps();
    void controlThatGoesTakesItsTool();
    void restingPointerKeepsTheBalloon_data();
    void restingPointerKeepsTheBalloon();
    void balloonEnds_data();
    void balloonEnds();
};

void TestBalloonTip::setUp_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("canCreate");

    QTest::newRow("option on") << true << true;
    QTest::newRow("option off") << false << true;
    QTest::newRow("option on, tooltip window cannot be made") << true << false;
}

void TestBalloonTip::setUp()
{
    QFETCH(bool, enabled);
    QFETCH(bool, canCreate);

    Window w;
    int created = 0;
    const balloontips::Creator create = [&](QWidget* window) -> BalloonTip* {
        ++created;
        return canCreate ? new BalloonTip(window) : nullptr;
    };
    BalloonTip* tip = balloontips::SetUpToolTips(w.window.get(), enabled, create);
    QCOMPARE(created, enabled ? 1 : 0);
    QCOMPARE(balloontips::ToolTipOf(w.window.get()), tip);
    // A label keeps its help text whatever happens.
    QCOMPARE(w.label->toolTip(), kLabelTip);

    if (!enabled) {
        QVERIFY(!tip);
        for (QWidget* c : {static_cast<QWidget*>(w.button), static_cast<QWidget*>(w.combo),
                           static_cast<QWidget*>(w.box)})
            QVERIFY2(c->toolTip().isEmpty(), qPrintable(c->objectName()));
        return;
    }
    if (!canCreate) {
        // No tooltip window: the plain tips stay as designed.
        QVERIFY(!tip);
        QCOMPARE(w.button->toolTip(), kButtonTip);
        QCOMPARE(w.combo->toolTip(), kComboTip);
        QCOMPARE(w.box->toolTip(), kBoxTip);
        return;
    }

    QVERIFY(tip);
    QVERIFY(tip->isActive());
    QCOMPARE(tip->title(), QStringLiteral("Fernquill:"));
    QCOMPARE(tip->titleIcon(), int(BalloonTip::InfoIcon));
    QCOMPARE(tip->backColor(), QColor(255, 224, 192));
    QCOMPARE(tip->textColor(), QColor(0, 0, 0));
    QCOMPARE(tip->maxWidth(), 250);
    QCOMPARE(tip->toolText(w.button), kButtonTip);
    QCOMPARE(tip->toolText(w.combo), kComboTip);
    QCOMPARE(tip->toolText(w.box), kBoxTip);
    // An empty help text is a tool all the same.
    QVERIFY(tip->hasTool(w.edit));
    QVERIFY(tip->toolText(w.edit).isEmpty());
    QVERIFY(tip->hasTool(w.frame));
    QVERIFY(!tip->hasTool(w.label));
    // The five controls besides the label; nothing inside the combo box.
    QCOMPARE(tip->toolCount(), 5);
    for (QWidget* c : {static_cast<QWidget*>(w.button), static_cast<QWidget*>(w.combo),
                       static_cast<QWidget*>(w.box)})
        QVERIFY2(c->toolTip().isEmpty(), qPrintable(c->objectName()));
}

void TestBalloonTip::setUpTwiceChangesNothing()
{
    Window w;
    BalloonTip* first = balloontips::SetUpToolTips(w.window.get(), true);
    BalloonTip* second = balloontips::SetUpToolTips(w.window.get(), true);
    QCOMPARE(second, first);
    // The texts moved once are still there, not replaced by the cleared ones.
    QCOMPARE(first->toolText(w.button), kButtonTip);
}

void TestBalloonTip::hoverShowsTheToolText_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown"); // empty: no balloon

    QTest::newRow("button") << "cmdGo" << kButtonTip;
    QTest::newRow("check box inside a frame") << "chkOnce" << kBoxTip;
    QTest::newRow("combo box") << "comboPick" << kComboTip;
    QTest::newRow("empty tool") << "txtEmpty" << QString();
}

void TestBalloonTip::hoverShowsTheToolText()
{
    QFETCH(QString, control);
    QFETCH(QString, shown);

    Window w;
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    BalloonTip* tip = balloontips::SetUpToolTips(w.window.get(), true);
    QWidget* target = w.window->findChild<QWidget*>(control);
    QVERIFY(target);

    hover(target);
    QCOMPARE(tip->isShowing(), !shown.isEmpty());
    QCOMPARE(tip->shownText(), shown);
    // The balloon replaces the plain tip.
    QVERIFY(!QToolTip::isVisible());
    if (!shown.isEmpty()) {
        QCOMPARE(tip->shownTool(), target);
        QVERIFY(tip->balloonWindow()->isVisible());
    }
}

void TestBalloonTip::labelShowsItsPlainTip()
{
    Window w;
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    BalloonTip* tip = balloontips::SetUpToolTips(w.window.get(), true);
    hover(w.label);
    QVERIFY(!tip->isShowing());
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), kLabelTip);
}

void TestBalloonTip::updateTipText()
{
    Window w;
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    BalloonTip* tip = balloontips::SetUpToolTips(w.window.get(), true);
    QSignalSpy updates(tip, &BalloonTip::tipTextUpdated);

    hover(w.button);
    const QPoint where = tip->balloonWindow()->pos();
    tip->updateTipText(w.button, "Another text");
    QCOMPARE(tip->shownText(), QStringLiteral("Another text"));
    QCOMPARE(tip->balloonWindow()->pos(), where);
    QCOMPARE(updates.count(), 1);

    // An empty text takes the balloon away.
    tip->updateTipText(w.button, QString());
    QVERIFY(!tip->isShowing());
    QCOMPARE(updates.count(), 2);

    // A control without a tool is not a tool afterwards either.
    tip->updateTipText(w.label, "Label text");
    QVERIFY(!tip->hasTool(w.label));
    QCOMPARE(updates.count(), 2);
}

void TestBalloonTip::longTextWraps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wraps");

    QTest::newRow("short") << "Short" << false;
    QTest::newRow("long") << QString("This button is only enabled when the currently selected folder is an "
                                     "aircraft folder. By clicking on this button the folder view will move one "
                                     "level upwards.")
                          << true;
}

void TestBalloonTip::longTextWraps()
{
    QFETCH(QString, text);
    QFETCH(bool, wraps);

    Window w;
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    BalloonTip* tip = balloontips::SetUpToolTips(w.window.get(), true);
    tip->updateTipText(w.button, "Short");
    hover(w.button);
    QWidget* balloon = tip->balloonWindow();
    QVERIFY(balloon);
    const int oneLine = balloon->height();
    tip->updateTipText(w.button, text);
    // The text is at most 250 pixels wide; the box adds its margins.
    QVERIFY2(balloon->width() <= 250 + 2 * 8, qPrintable(QString::number(balloon->width())));
    QCOMPARE(balloon->height() > oneLine, wraps);
}

void TestBalloonTip::controlThatGoesTakesItsTool()
{
    Window w;
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    BalloonTip* tip = balloontips::SetUpToolTips(w.window.get(), true);
    hover(w.button);
    const int tools = tip->toolCount();
    delete w.button;
    QCOMPARE(tip->toolCount(), tools - 1);
    QVERIFY(!tip->isShowing());
}

void TestBalloonTip::restingPointerKeepsTheBalloon_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("atScreenBottom"); // no room below: the balloon goes above

    QTest::newRow("button") << "cmdGo" << kButtonTip << false;
    QTest::newRow("check box inside a frame") << "chkOnce" << kBoxTip << false;
    QTest::newRow("combo box") << "comboPick" << kComboTip << false;
    QTest::newRow("check box, window at the screen's bottom") << "chkOnce" << kBoxTip << true;
}

void TestBalloonTip::restingPointerKeepsTheBalloon()
{
    QFETCH(QString, control);
    QFETCH(QString, shown);
    QFETCH(bool, atScreenBottom);

    Window w;
    BalloonTip* tip = balloontips::SetUpToolTips(w.window.get(), true);
    QVERIFY(showActive(w.window.get()));
    const QRect screen = w.window->screen()->availableGeometry();
    if (atScreenBottom)
        w.window->move(screen.left(), screen.bottom() + 1 - w.window->frameGeometry().height());
    QWidget* target = w.window->findChild<QWidget*>(control);
    QVERIFY(restOn(tip, target));
    QCOMPARE(tip->shownText(), shown);
    QVERIFY(!QToolTip::isVisible());

    // Never under the pointer: its appearance takes the pointer from nobody.
    QWidget* balloon = tip->balloonWindow();
    QVERIFY(balloon->isVisible());
    QVERIFY2(!balloon->frameGeometry().contains(QCursor::pos()),
             qPrintable(QStringLiteral("pointer %1,%2").arg(QCursor::pos().x()).arg(QCursor::pos().y())));
    QCOMPARE(balloon->frameGeometry().top() > QCursor::pos().y(), !atScreenBottom);
    // The leave a window system sends when another window appears, with the
    // pointer still on the control, does not end it.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(target, &leave);
    // Nor does moving within the control.
    QTest::mouseMove(target, target->rect().center() + QPoint(1, 1));
    QTest::qWait(1000);
    QVERIFY(tip->isShowing());
    QCOMPARE(tip->shownTool(), target);

    // And the screen shows it: the balloon's colour inside its box's edge.
    const QColor seen = screenPixel(balloon->mapToGlobal(QPoint(4, balloon->height() / 2)));
    if (seen.isValid())
        QCOMPARE(seen, QColor(255, 224, 192));
}

void TestBalloonTip::balloonEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("restingBringsItBack"); // without the pointer leaving first

    QTest::newRow("pointer moves to another control") << "move" << true;
    QTest::newRow("key pressed") << "key" << false;
    QTest::newRow("button clicked") << "click" << false;
    QTest::newRow("the tooltip's time is up") << "time" << false;
}

void TestBalloonTip::balloonEnds()
{
    QFETCH(QString, how);
    QFETCH(bool, restingBringsItBack);

    Window w;
    BalloonTip* tip = balloontips::SetUpToolTips(w.window.get(), true);
    QVERIFY(showActive(w.window.get()));
    QVERIFY(restOn(tip, w.box));
    if (how == u"move") {
        QTest::mouseMove(w.edit); // a tool with an empty text: no balloon of its own
        QVERIFY(!tip->isShowing());
    } else if (how == u"key") {
        QTest::keyClick(w.window.get(), Qt::Key_Shift);
        QVERIFY(!tip->isShowing());
    } else if (how == u"click") {
        QTest::mouseClick(w.box, Qt::LeftButton);
        QVERIFY(!tip->isShowing());
    } else {
        QTest::qWait(BalloonTip::kAutoPopMs / 2);
        QVERIFY(tip->isShowing());
        QTRY_VERIFY_WITH_TIMEOUT(!tip->isShowing(), BalloonTip::kAutoPopMs);
    }

    if (!restingBringsItBack) {
        // Resting on the same control brings it back only after the
        // pointer has left the control.
        QTest::mouseMove(w.box, w.box->rect().center() + QPoint(1, 0));
        QTest::qWait(1500);
        QVERIFY(!tip->isShowing());
        QTest::mouseMove(w.edit);
    }
    QVERIFY(restOn(tip, w.box));
    QCOMPARE(tip->shownText(), kBoxTip);
}

QTEST_MAIN(TestBalloonTip)
#include "tst_balloontip.moc"
