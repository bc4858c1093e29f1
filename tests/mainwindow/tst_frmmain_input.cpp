// The key filters, the exit ticks and the focus guards of the entry editor on
// real widgets, with keys typed as the user types them, in a locale with a
// decimal comma and one with a decimal point.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/VbColors.h"
#include "shared/MessageBox.h"

#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace {

const QString kTooLong = QStringLiteral(
    "A code may not be longer than 5 characters. If you want to efine another parking code, please type a "
    "'comma' (',') now.");
const QString kTooMany = QStringLiteral("You are not allowed to add more than five (5) parkig codes");

QByteArray mdl9(quint8 radius)
{
    QByteArray b = QByteArray("RIFF\x10\0\0\0", 8) + "MDL9";
    b += QByteArray(28 - b.size(), 'h');
    b += static_cast<char>(radius);
    b += QByteArray(35, 'z');
    return b;
}

// Two entries whose model has an editable radius, exits and general keys.
const QByteArray kCfg = "[fltsim.0]\r\ntitle=A\r\nmodel=\r\n"
                        "[fltsim.1]\r\ntitle=B\r\nmodel=\r\n"
                        "[exits]\r\nexit.0=0.4, 10, -3, 0, 0\r\n"
                        "[general]\r\natc_type=T\r\natc_model=M\r\n";

// An aircraft folder and a main window started on it in the given locale.
class Scene
{
public:
    explicit Scene(const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedStates))
    {
        QLocale::setDefault(locale);
        const QString folder = m_tmp.path() + QStringLiteral("/Plane");
        testutil::writeFile(folder + "/aircraft.cfg", kCfg);
        testutil::writeFile(folder + "/model/model.cfg", "normal=Plane\r\n");
        testutil::writeFile(folder + "/model/Plane.mdl", mdl9(42));
        answers.setResponder([](const msgbox::Call& call) {
            return msgbox::Answer::withButton(msgbox::buttonsOf(call.style).value(0, msgbox::vbOK));
        });
        m_fixture = std::make_unique<testutil::MainWindowFixture>(
            testutil::PrefixSpec{}, QMap<QString, QString>{{QStringLiteral("Path"), folder}});
        m_window = &m_fixture->start();
    }

    frm_Main& w() { return *m_window; }

    QLineEdit* box(const QString& name)
    {
        auto* b = m_window->findChild<QLineEdit*>(name);
        if (!b)
            qFatal("no text box %s", qPrintable(name));
        return b;
    }

    // Shows the window, active, with the tab that holds `control` in front.
    bool showFor(QWidget* control)
    {
        m_window->show();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window))
            return false;
        for (int i = 0; i < m_window->ui.SSTab1->count(); ++i) {
            if (m_window->ui.SSTab1->widget(i)->isAncestorOf(control))
                m_window->ui.SSTab1->setCurrentIndex(i);
        }
        return control->isVisible();
    }

    msgbox::ScriptedAnswers answers;

private:
    QTemporaryDir m_tmp;
    std::unique_ptr<testutil::MainWindowFixture> m_fixture;
    frm_Main* m_window = nullptr;
};

// Types the characters one key at a time at the caret.
void type(QLineEdit* box, const QString& keys)
{
    for (const QChar c : keys)
        QTest::keyClick(box, c.toLatin1());
}

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kUs(QLocale::English, QLocale::UnitedStates);

} // namespace

class TestFrmMainInput : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(kUs); }

    void numberBoxes_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret"); // -1: at the end
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");

        QTest::newRow("de span 1 . 5") << kGerman << "txt_WingSpan_New" << "" << -1 << "1.5" << "1,5";
        QTest::newRow("de span second marks ignored") << kGerman << "txt_WingSpan_New" << "" << -1 << "1.5.,7"
                                                      << "1,57";
        QTest::newRow("en span 1 , 5") << kUs << "txt_WingSpan_New" << "" << -1 << "1,5" << "1.5";
        QTest::newRow("en span letters, minus, blank") << kUs << "txt_WingSpan_New" << "" << -1 << "1a- 2" << "12";
        QTest::newRow("de radius minus ignored") << kGerman << "txt_FS9Radius" << "" << -1 << "-4-2" << "42";
        QTest::newRow("en radius after the shown value") << kUs << "txt_FS9Radius" << "42" << -1 << "-0" << "420";
        QTest::newRow("exit minus anywhere, twice") << kUs << "txt_Exit_0[1]" << "" << -1 << "-5-" << "-5-";
        QTest::newRow("exit minus in the middle") << kUs << "txt_Exit_2[3]" << "12" << 1 << "-" << "1-2";
        QTest::newRow("exit minus before the text") << kGerman << "txt_Exit_1[4]" << "7" << 0 << "--" << "--7";
        QTest::newRow("de exit from the file with a point") << kGerman << "txt_Exit_0[0]" << "0.4" << -1 << "5,"
                                                            << "0.45";
        QTest::newRow("de exit mark becomes a comma") << kGerman << "txt_Exit_0[2]" << "" << -1 << "-3.5" << "-3,5";
        // A field without a filter takes everything.
        QTest::newRow("unfiltered atc_model") << kUs << "txt_atc_Model" << "" << -1 << "a-b ,." << "a-b ,.";
    }

    void numberBoxes()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, box);
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        Scene s(locale);
        QLineEdit* b = s.box(box);
        QVERIFY(!b->isReadOnly());
        b->setText(start);
        if (caret >= 0)
            b->setCursorPosition(caret);
        type(b, keys);
        QCOMPARE(b->text(), expected);
        QVERIFY(s.answers.calls().empty());
    }

    void backspaceAlwaysPasses_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("start");
        QTest::newRow("span") << "txt_WingSpan_New" << "1,5";
        QTest::newRow("radius") << "txt_FS9Radius" << "42";
        QTest::newRow("exit with minus signs") << "txt_Exit_1[2]" << "--";
        QTest::newRow("parking code of five characters") << "txt_atc_ParkingCodes" << "AB12C";
        QTest::newRow("five parking codes") << "txt_atc_ParkingCodes" << "A,B,C,D,E";
    }

    void backspaceAlwaysPasses()
    {
        QFETCH(QString, box);
        QFETCH(QString, start);
        Scene s(kGerman);
        QLineEdit* b = s.box(box);
        b->setText(start);
        QTest::keyClick(b, Qt::Key_Backspace);
        QCOMPARE(b->text(), start.chopped(1));
        QVERIFY(s.answers.calls().empty());
    }

    // Ctrl shortcuts type control characters, which only the parking-code
    // rule lets through (until the last code is full).
    void clipboardShortcuts_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("messages");

        const QKeySequence paste(QStringLiteral("Ctrl+V"));
        QTest::newRow("paste into the span") << "txt_WingSpan_New" << "" << paste << "" << QStringList{};
        QTest::newRow("paste into an exit box") << "txt_Exit_1[2]" << "-1" << paste << "-1" << QStringList{};
        QTest::newRow("Meta paste into the radius") << "txt_FS9Radius" << "4" << QKeySequence(Qt::META | Qt::Key_V)
                                                    << "4" << QStringList{};
        QTest::newRow("cut from the span") << "txt_WingSpan_New" << "1,5"
                                           << QKeySequence(QStringLiteral("Shift+Home, Ctrl+X")) << "1,5"
                                           << QStringList{};
        QTest::newRow("Ctrl+Backspace in an exit box") << "txt_Exit_0[0]" << "12"
                                                       << QKeySequence(Qt::CTRL | Qt::Key_Backspace) << "12"
                                                       << QStringList{};
        QTest::newRow("paste into parking codes") << "txt_atc_ParkingCodes" << "AB," << paste << "AB,x-1.5,5"
                                                  << QStringList{};
        QTest::newRow("paste after a full parking code") << "txt_atc_ParkingCodes" << "AB12C" << paste << "AB12C"
                                                         << QStringList{kTooLong};
        QTest::newRow("paste into an unfiltered field") << "txt_atc_Model" << "" << paste << "x-1.5,5"
                                                        << QStringList{};
    }

    void clipboardShortcuts()
    {
        QFETCH(QString, box);
        QFETCH(QString, start);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, expected);
        QFETCH(QStringList, messages);
        Scene s(kGerman);
        QLineEdit* b = s.box(box);
        QVERIFY(s.showFor(b));
        b->setFocus();
        b->setText(start);
        QApplication::clipboard()->setText(QStringLiteral("x-1.5,5"));
        if (QApplication::clipboard()->text() != u"x-1.5,5")
            QSKIP("no clipboard on this platform");
        QTest::keySequence(b, keys);
        QCOMPARE(b->text(), expected);
        QCOMPARE(s.answers.prompts(), messages);
    }

    // Text that enters a filtered box in one piece goes through the box's
    // rule character by character, as if typed; the paste keys are Ctrl+V.
    void everyPasteObeysTheRules_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("messages");

        const QString mixed = QStringLiteral("x-1.5,5");
        QTest::newRow("Shift+Insert into the span") << "Shift+Insert" << "txt_WingSpan_New" << "" << mixed << ""
                                                   << QStringList{};
        QTest::newRow("Shift+Insert into an exit box") << "Shift+Insert" << "txt_Exit_1[2]" << "-1" << mixed
                                                      << "-1" << QStringList{};
        QTest::newRow("Shift+Insert into parking codes") << "Shift+Insert" << "txt_atc_ParkingCodes" << "AB,"
                                                        << mixed << "AB,x-1.5,5" << QStringList{};
        QTest::newRow("Ctrl+V of long codes, one message")
            << "Ctrl+V" << "txt_atc_ParkingCodes" << "" << "ABCDEFG H,IJ" << "ABCDE,IJ" << QStringList{kTooLong};
        QTest::newRow("Shift+Insert of a sixth code") << "Shift+Insert" << "txt_atc_ParkingCodes" << "A,B,C,D"
                                                     << ",E,F,G" << "A,B,C,D,EFG" << QStringList{kTooMany};
        QTest::newRow("menu Paste into the span") << "menu" << "txt_WingSpan_New" << "" << mixed << "1,55"
                                                 << QStringList{};
        QTest::newRow("menu Paste into an exit box") << "menu" << "txt_Exit_0[3]" << "" << mixed << "-1,55"
                                                    << QStringList{};
        QTest::newRow("menu Paste of lines into the radius") << "menu" << "txt_FS9Radius" << "4" << "2\r\n0\tx"
                                                            << "420" << QStringList{};
        QTest::newRow("menu Paste into an unfiltered field") << "menu" << "txt_atc_Model" << "" << mixed << mixed
                                                            << QStringList{};
        QTest::newRow("dropped onto the radius") << "drop" << "txt_FS9Radius" << "42" << "1a-2" << "4212"
                                                << QStringList{};
        QTest::newRow("dropped onto parking codes") << "drop" << "txt_atc_ParkingCodes" << "ABCD" << "EF"
                                                   << "ABCDE" << QStringList{kTooLong};
        QTest::newRow("input method text into the span") << "input method" << "txt_WingSpan_New" << "" << "7x.5"
                                                        << "7,5" << QStringList{};
        QTest::newRow("middle button into the span") << "middle" << "txt_WingSpan_New" << "" << mixed << "1,55"
                                                    << QStringList{};
    }

    void everyPasteObeysTheRules()
    {
        QFETCH(QString, route);
        QFETCH(QString, box);
        QFETCH(QString, start);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(QStringList, messages);
        QClipboard* clipboard = QApplication::clipboard();
        if (route == u"middle" && !clipboard->supportsSelection())
            QSKIP("this platform has no selection to paste");
        Scene s(kGerman);
        QLineEdit* b = s.box(box);
        QVERIFY(s.showFor(b));
        b->setFocus();
        b->setText(start);
        QVERIFY(!b->isReadOnly());
        const QClipboard::Mode mode = route == u"middle" ? QClipboard::Selection : QClipboard::Clipboard;
        clipboard->setText(text, mode);
        if (clipboard->text(mode) != text)
            QSKIP("no clipboard on this platform");
        const QPoint atEnd(b->width() - 4, b->height() / 2);

        if (route == u"menu") {
            // The field's own menu, as the right mouse button opens it.
            QContextMenuEvent menu(QContextMenuEvent::Mouse, atEnd, b->mapToGlobal(atEnd));
            QApplication::sendEvent(b, &menu);
            QWidget* popup = QApplication::activePopupWidget();
            QVERIFY(popup);
            QAction* paste = nullptr;
            for (QAction* action : popup->actions()) {
                if (action->text().remove(u'&').startsWith(u"Paste"))
                    paste = action;
            }
            QVERIFY(paste && paste->isEnabled());
            QTest::mouseClick(popup, Qt::LeftButton, {}, static_cast<QMenu*>(popup)->actionGeometry(paste).center());
            QTRY_VERIFY(!popup->isVisible());
        } else if (route == u"drop") {
            QMimeData data;
            data.setText(text);
            // A drag comes in, then drops, at the end of the text.
            QDragEnterEvent enter(atEnd, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(b, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(atEnd), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(b, &drop);
            QVERIFY(drop.isAccepted());
        } else if (route == u"input method") {
            QInputMethodEvent input;
            input.setCommitString(text);
            QApplication::sendEvent(b, &input);
        } else if (route == u"middle") {
            QTest::mouseClick(b, Qt::MiddleButton, {}, atEnd);
        } else {
            QTest::keySequence(b, QKeySequence(route));
        }
        QCOMPARE(b->text(), expected);
        QCOMPARE(s.answers.prompts(), messages);
    }

    void parkingCodes_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("sixth character") << "AB12C" << "D" << "AB12C" << QStringList{kTooLong};
        QTest::newRow("comma, then a new code") << "AB12C" << ",D" << "AB12C,D" << QStringList{};
        QTest::newRow("sixth code") << "A,B,C,D,E" << "," << "A,B,C,D,E" << QStringList{kTooMany};
        QTest::newRow("blank after a full code") << "AB12C" << " " << "AB12C" << QStringList{kTooLong};
        QTest::newRow("blank elsewhere") << "AB" << " C" << "ABC" << QStringList{};
        QTest::newRow("one message per refused key") << "ABCD" << "EFG" << "ABCDE" << QStringList{kTooLong, kTooLong};
        QTest::newRow("letters keep their case") << "" << "aB1,c" << "aB1,c" << QStringList{};
        QTest::newRow("longer code from the file takes keys") << "ABCDEF" << "G" << "ABCDEFG" << QStringList{};
    }

    void parkingCodes()
    {
        QFETCH(QString, start);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QFETCH(QStringList, messages);
        Scene s;
        QLineEdit* b = s.w().ui.txt_atc_ParkingCodes;
        b->setText(start);
        type(b, keys);
        QCOMPARE(b->text(), expected);
        QCOMPARE(s.answers.prompts(), messages);
        for (const msgbox::Call& call : s.answers.calls()) {
            QCOMPARE(call.style, int(msgbox::vbOKOnly | msgbox::vbInformation));
            QCOMPARE(call.title, msgbox::programTitle());
        }
    }

    void exitTick_data()
    {
        QTest::addColumn<int>("emptied");
        for (int b = 0; b < 5; ++b)
            QTest::addRow("box %d emptied", b) << b;
    }

    void exitTick()
    {
        QFETCH(int, emptied);
        Scene s;
        frm_Main& w = s.w();
        QVERIFY(w.ui.chk_Exit_0->isChecked()); // complete in the file
        QVERIFY(!w.ui.chk_Exit_1->isChecked());
        for (int b = 0; b < 5; ++b) {
            QVERIFY(!w.ui.chk_Exit_1->isChecked());
            type(w.ui.txt_Exit_1[b], QStringLiteral("1"));
        }
        QVERIFY(w.ui.chk_Exit_1->isChecked());
        QTest::keyClick(w.ui.txt_Exit_1[emptied], Qt::Key_Backspace);
        QVERIFY(!w.ui.chk_Exit_1->isChecked());
        QVERIFY(w.ui.chk_Exit_0->isChecked());
        QVERIFY(!w.ui.chk_Exit_2->isChecked());
    }

    void focusGuards_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("state"); // "entry", "no entry" (rows, none shown) or "no rows"
        QTest::addColumn<bool>("toGrid");

        QTest::newRow("title, entry shown") << "txt_Title" << "entry" << false;
        QTest::newRow("title, no entry shown") << "txt_Title" << "no entry" << true;
        QTest::newRow("variation, no entry shown") << "txt_ui_Variation" << "no entry" << true;
        QTest::newRow("parking codes, no entry shown") << "txt_atc_ParkingCodes" << "no entry" << true;
        QTest::newRow("radius, no entry shown") << "txt_FS9Radius" << "no entry" << true;
        QTest::newRow("radius, entry shown") << "txt_FS9Radius" << "entry" << false;
        QTest::newRow("exit box, rows but no entry") << "txt_Exit_0[2]" << "no entry" << false;
        QTest::newRow("exit box, no rows") << "txt_Exit_0[2]" << "no rows" << true;
        QTest::newRow("general atc_type, no rows") << "txt_general_atc_type" << "no rows" << true;
        QTest::newRow("general atc_model, rows") << "txt_general_atc_model" << "no entry" << false;
        QTest::newRow("exit tick, entry shown") << "chk_Exit_1" << "entry" << true;
        QTest::newRow("span box is not guarded") << "txt_WingSpan_New" << "no rows" << false;
    }

    void focusGuards()
    {
        QFETCH(QString, control);
        QFETCH(QString, state);
        QFETCH(bool, toGrid);
        Scene s;
        frm_Main& w = s.w();
        if (state == u"no entry") {
            // A folder load whose entry display did not get to paint the fields.
            setBackColor(w.ui.txt_Title, vbColor(vbcolor::Grey));
        } else if (state == u"no rows") {
            w.ResetValues();
            QCOMPARE(w.ui.ListView1->rowCount(), 0);
        }
        auto* target = w.findChild<QWidget*>(control);
        QVERIFY(target);
        QVERIFY(s.showFor(target));
        w.ui.Dir1->setFocus(); // somewhere unguarded first
        QVERIFY(w.ui.Dir1->hasFocus());
        if (qobject_cast<QLineEdit*>(target))
            QTest::mouseClick(target, Qt::LeftButton);
        else
            target->setFocus(Qt::MouseFocusReason);
        QWidget* expected = toGrid ? static_cast<QWidget*>(w.ui.ListView1) : target;
        QCOMPARE(QApplication::focusWidget(), expected);
    }
};

QTEST_MAIN(TestFrmMainInput)
#include "tst_frmmain_input.moc"
