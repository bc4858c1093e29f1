// Balloon tooltips: the set-up a window runs in its load, and what hovering
// a control with a tool shows.
#include "shared/BalloonTip.h"

#include <QApplication>
#include <QCheckBox>
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

QTEST_MAIN(TestBalloonTip)
#include "tst_balloontip.moc"
