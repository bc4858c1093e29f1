// The parking fields of the main window on real widgets: the type drop-down
// (ticks from the caption, the caption from the user's ticks, closing by the
// button, by focus loss and by the background) and the code picker's button.
#include "editing/frm_ParkingCode.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "MainWindowFixture.h"
#include "MdbWriter.h"
#include "ReaderStandIns.h"
#include "TestUtil.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <optional>

namespace {

const QString kMissing = QStringLiteral("The file 'parkingspecs.mdb' is missing in your installation folder. "
                                        "Re-install Fernquill or copy the file back to fix this issue.");

// An aircraft folder with one entry and a main window started and shown on
// it; the entry is on display. Boxes get their first button.
class Scene
{
public:
    explicit Scene(const QByteArray& parkingTypes = "GATE,RAMP", const QByteArray& codes = "AB")
    {
        m_folder = m_tmp.filePath(QStringLiteral("Plane"));
        testutil::writeFile(m_folder + QStringLiteral("/aircraft.cfg"),
                            "[fltsim.0]\r\ntitle=Liner\r\nmodel=\r\natc_parking_types=" + parkingTypes +
                                "\r\natc_parking_codes=" + codes + "\r\n");
        answers.setResponder([](const msgbox::Call& call) {
            return msgbox::Answer::withButton(msgbox::buttonsOf(call.style).value(0, msgbox::vbOK));
        });
        m_fixture = std::make_unique<testutil::MainWindowFixture>(
            testutil::PrefixSpec{}, QMap<QString, QString>{{QStringLiteral("Path"), m_folder}});
        frm_Main& w = m_fixture->start();
        w.sParkingCodeFolder = m_tmp.filePath(QStringLiteral("program"));
        testutil::makeDir(w.sParkingCodeFolder);
        w.show();
        m_active = QTest::qWaitForWindowActive(&w);
    }

    // Whether the window came up active (focus tests need it).
    bool active() const { return m_active; }

    frm_Main& window() { return m_fixture->window(); }
    QString programFolder() const { return m_tmp.filePath(QStringLiteral("program")); }

    QList<bool> ticks()
    {
        QList<bool> t;
        for (int i = 0; i < window().ui.lstParking->count(); ++i)
            t.append(window().ui.lstParking->item(i)->checkState() == Qt::Checked);
        return t;
    }

    // A user's click on the text of list item `i`.
    void clickItem(int i)
    {
        QListWidget* list = window().ui.lstParking;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(i)).center());
    }

    msgbox::ScriptedAnswers answers;

private:
    QTemporaryDir m_tmp;
    QString m_folder;
    std::unique_ptr<testutil::MainWindowFixture> m_fixture;
    bool m_active = false;
};

QList<bool> only(std::initializer_list<int> items)
{
    QList<bool> t(6, false);
    for (int i : items)
        t[i] = true;
    return t;
}

// Opens the list with the button, closes it with `close`, and checks that the
// next click on the button opens it again.
void verifyClosedBy(frm_Main& w, const std::function<void()>& close)
{
    QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
    QVERIFY(w.ui.lstParking->isVisible());
    close();
    QVERIFY(!w.ui.lstParking->isVisible());
    QVERIFY(!w.bDropClosedByButton);
    QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
    QVERIFY(w.ui.lstParking->isVisible());
}

} // namespace

class TestFrmMainParking : public QObject
{
    Q_OBJECT

private slots:
    void openingTicksTheCaptionsTypes_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QList<bool>>("ticks");
        QTest::newRow("two types") << QByteArray("GATE,RAMP") << only({2, 5});
        // The folder load shows the value in capitals: lower case in the file ticks.
        QTest::newRow("lower case in the file") << QByteArray("gate,mil_cargo") << only({2, 3});
        QTest::newRow("a blank before the name") << QByteArray("CARGO, GATE") << only({0});
        QTest::newRow("nothing stored") << QByteArray("") << only({});
    }

    void openingTicksTheCaptionsTypes()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QList<bool>, ticks);
        Scene s(stored);
        QVERIFY(s.active());
        frm_Main& w = s.window();
        QVERIFY(w.ui.cmdDropDown->isEnabled());
        const QString caption = w.ui.lblSelections->text();
        QCOMPARE(caption, QString::fromLatin1(stored).toUpper());

        QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
        QVERIFY(w.ui.lstParking->isVisible());
        QVERIFY(w.ui.lstParking->hasFocus());
        QCOMPARE(s.ticks(), ticks);
        QCOMPARE(w.ui.lblSelections->text(), caption); // ticking by the program is no click
    }

    void userTicksMakeTheCaption()
    {
        Scene s;
        frm_Main& w = s.window();
        QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
        s.clickItem(2); // untick GATE
        QCOMPARE(w.ui.lblSelections->text(), QStringLiteral("RAMP"));
        s.clickItem(0); // tick CARGO: list order, not click order
        QCOMPARE(w.ui.lblSelections->text(), QStringLiteral("CARGO,RAMP"));
        QTest::keyClick(w.ui.lstParking, Qt::Key_Space); // the current item, CARGO
        QCOMPARE(w.ui.lblSelections->text(), QStringLiteral("RAMP"));
        s.clickItem(5);
        QCOMPARE(w.ui.lblSelections->text(), QString());
        QVERIFY(w.ui.lstParking->isVisible());
    }

    void ticksSetByTheProgramLeaveTheCaption()
    {
        Scene s;
        frm_Main& w = s.window();
        w.cmdDropDown_Click();
        w.ui.lblSelections->setText(QStringLiteral("DOCK"));
        w.ui.lstParking->item(1)->setCheckState(Qt::Checked);
        w.ui.lstParking->item(2)->setCheckState(Qt::Unchecked);
        QCOMPARE(w.ui.lblSelections->text(), QStringLiteral("DOCK"));
    }

    void theButtonClosesAnOpenList()
    {
        Scene s;
        frm_Main& w = s.window();
        verifyClosedBy(w, [&w] { QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton); });
    }

    void focusLossCloses_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("flag");
        QTest::newRow("to another field") << "txt_Title" << false;
        QTest::newRow("to the drop-down button") << "cmdDropDown" << true;
    }

    void focusLossCloses()
    {
        QFETCH(QString, target);
        QFETCH(bool, flag);
        Scene s;
        QVERIFY(s.active());
        frm_Main& w = s.window();
        w.cmdDropDown_Click();
        QVERIFY(w.ui.lstParking->hasFocus());
        QWidget* next = w.findChild<QWidget*>(target);
        QVERIFY(next);
        next->setFocus(Qt::MouseFocusReason);
        QVERIFY(!w.ui.lstParking->isVisible());
        QCOMPARE(w.bDropClosedByButton, flag);

        // The button's click that follows the focus loss only clears the flag.
        w.cmdDropDown_Click();
        QCOMPARE(w.ui.lstParking->isVisible(), !flag);
        QVERIFY(!w.bDropClosedByButton);
    }

    void backgroundClickCloses()
    {
        Scene s;
        frm_Main& w = s.window();
        verifyClosedBy(w, [&w] { QTest::mouseClick(w.centralWidget(), Qt::LeftButton, {}, QPoint(2, 2)); });
    }

    // Also on controls that take no focus, so the list never loses it.
    void clickOutsideCloses_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("another tab of SSTab1") << "SSTab1";
        QTest::newRow("the caption beside the button") << "lblSelections";
        QTest::newRow("a row of the grid") << "ListView1";
    }

    void clickOutsideCloses()
    {
        QFETCH(QString, target);
        Scene s;
        QVERIFY(s.active());
        frm_Main& w = s.window();
        QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
        QVERIFY(w.ui.lstParking->hasFocus());
        QWidget* clicked = w.findChild<QWidget*>(target);
        QVERIFY(clicked);
        QPoint at = clicked->rect().center();
        if (target == u"SSTab1") {
            clicked = w.ui.SSTab1->tabBar();
            at = w.ui.SSTab1->tabBar()->tabRect(1).center();
        } else if (target == u"ListView1") {
            clicked = w.ui.ListView1->viewport();
            at = w.ui.ListView1->visualItemRect(w.ui.ListView1->topLevelItem(0)).center();
        }
        QTest::mouseClick(clicked, Qt::LeftButton, {}, at);
        QVERIFY(!w.ui.lstParking->isVisible());
        QVERIFY(!w.bDropClosedByButton);
        if (target == u"SSTab1")
            QCOMPARE(w.ui.SSTab1->currentIndex(), 1);
    }

    // When the program hides the focused list, the focus moves on to the next
    // control; that the next one is the drop-down button must not make the
    // button's next click a mere "close".
    void closingByTheProgramNeverSwallowsTheNextClick_data()
    {
        QTest::addColumn<bool>("byBackground");
        QTest::newRow("background click") << true;
        QTest::newRow("button click") << false;
    }

    void closingByTheProgramNeverSwallowsTheNextClick()
    {
        QFETCH(bool, byBackground);
        Scene s;
        QVERIFY(s.active());
        frm_Main& w = s.window();
        QWidget::setTabOrder(w.ui.lstParking, w.ui.cmdDropDown);
        QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
        QVERIFY(w.ui.lstParking->hasFocus());
        if (byBackground)
            QTest::mouseClick(w.centralWidget(), Qt::LeftButton, {}, QPoint(2, 2));
        else
            QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
        QVERIFY(!w.ui.lstParking->isVisible());
        QVERIFY(w.ui.cmdDropDown->hasFocus());
        QVERIFY(!w.bDropClosedByButton);
        QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
        QVERIFY(w.ui.lstParking->isVisible());
    }

    void missingDatabaseOpensNoPicker()
    {
        Scene s;
        frm_Main& w = s.window();
        QTest::mouseClick(w.ui.cmd_ParkingCodes, Qt::LeftButton);
        QCOMPARE(s.answers.prompts(), QStringList{kMissing});
        QCOMPARE(s.answers.calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
        QVERIFY(!w.findChild<frm_ParkingCode*>());
    }

    void pickerFillsTheCodesFieldModally()
    {
        Scene s;
        frm_Main& w = s.window();
        testutil::writeParkingSpecs(s.programFolder() + QStringLiteral("/ParkingSpecs.mdb"),
                                    {{QStringLiteral("Fernway"), QStringLiteral("FWY")},
                                     {QStringLiteral("Mossline"), QStringLiteral("MSL")}});
        // Drives the picker from inside its modal loop; always closes it.
        QString counterAtOpen;
        QString afterFirstClick;
        QString counterAtEnd;
        QTimer::singleShot(0, &w, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* picker = qobject_cast<frm_ParkingCode*>(modal)) {
                counterAtOpen = picker->txt_parkingcodes->text();
                picker->MSHFlexGrid1_Click(1);
                afterFirstClick = w.ui.txt_atc_ParkingCodes->text();
                picker->MSHFlexGrid1_Click(1);
                picker->MSHFlexGrid1_Click(0);
                counterAtEnd = picker->txt_parkingcodes->text();
                QTest::keyClick(picker, Qt::Key_Escape);
            } else if (modal) {
                modal->close();
            }
        });
        w.cmd_ParkingCodes_Click();
        QCOMPARE(counterAtOpen, QStringLiteral("1 of 5"));
        QCOMPARE(afterFirstClick, QStringLiteral("AB,MSL"));
        QCOMPARE(counterAtEnd, QStringLiteral("2 of 5"));
        QVERIFY(s.answers.calls().empty());
        QCOMPARE(w.ui.txt_atc_ParkingCodes->text(), QStringLiteral("AB,FWY"));
        QVERIFY(!QApplication::activeModalWidget());
    }

    // A list that cannot be read, whatever the reason, gives the error box and
    // an empty picker; the program goes on and its window stays usable.
    void unreadableListLeavesTheWindowUsable_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // the list's bytes; null: a good list
        QTest::addColumn<int>("reader");       // a testutil::BadReader; -1: the real one, -2: none
        QTest::newRow("damaged page data") << testutil::corruptParkingSpecs() << -1;
        QTest::newRow("garbage pages") << QByteArray(6 * 4096, '\x5A') << -1;
        QTest::newRow("reader hangs") << QByteArray() << int(testutil::BadReader::Hangs);
        QTest::newRow("reader missing") << QByteArray() << -2;
    }

    void unreadableListLeavesTheWindowUsable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, reader);
        Scene s;
        QVERIFY(s.active());
        frm_Main& w = s.window();
        const QString list = s.programFolder() + QStringLiteral("/parkingspecs.mdb");
        if (bytes.isNull())
            testutil::writeParkingSpecs(list, {{QStringLiteral("Fernway"), QStringLiteral("FWY")}});
        else
            testutil::writeFile(list, bytes);
        std::optional<testutil::ReaderOverride> use;
        if (reader == -2)
            use.emplace(s.programFolder() + QStringLiteral("/no-reader"));
        else if (reader >= 0)
            use.emplace(testutil::writeBadReader(s.programFolder(), testutil::BadReader(reader)));

        int rowsShown = -1;
        QTimer::singleShot(0, &w, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* picker = qobject_cast<frm_ParkingCode*>(modal)) {
                rowsShown = picker->MSHFlexGrid1->rowCount();
                QTest::keyClick(picker, Qt::Key_Escape);
            } else if (modal) {
                modal->close();
            }
        });
        QTest::mouseClick(w.ui.cmd_ParkingCodes, Qt::LeftButton);
        QCOMPARE(s.answers.prompts(), QStringList{QStringLiteral("Error opening the parking code file")});
        QCOMPARE(s.answers.calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
        QCOMPARE(rowsShown, 0);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(w.ui.txt_atc_ParkingCodes->text(), QStringLiteral("AB"));

        // The parking types still drop down and take ticks.
        QTest::mouseClick(w.ui.cmdDropDown, Qt::LeftButton);
        QVERIFY(w.ui.lstParking->isVisible());
        QCOMPARE(s.ticks(), only({2, 5}));
        s.clickItem(0);
        QCOMPARE(w.ui.lblSelections->text(), QStringLiteral("CARGO,GATE,RAMP"));
    }
};

QTEST_MAIN(TestFrmMainParking)
#include "tst_frmmain_parking.moc"
