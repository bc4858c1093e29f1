// The parking-code picker on real widgets: the list it shows, the filter, the
// counters, clicks on codes with the five-code limit, and a list that cannot
// be read.
#include "editing/frm_ParkingCode.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"

#include "MdbWriter.h"
#include "ReaderStandIns.h"
#include "TestUtil.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {

const QList<std::pair<QString, QString>> kAirlines = {
    {QStringLiteral("Aerotarn"), QStringLiteral("AB")},
    {QStringLiteral("Fen O'Malley Air"), QStringLiteral("CD")},
    {QStringLiteral("Fernway"), QStringLiteral("EF")},
    {QStringLiteral("O'Rourke Island Hopper"), QStringLiteral("GH")},
    {QStringLiteral("Mossline"), QStringLiteral("IJ")},
    {QStringLiteral("Tarnhopper"), QStringLiteral("KL")},
    {QStringLiteral("Quillcargo"), QStringLiteral("ABC")},
};

const QString kLimit = QStringLiteral("You are not allowed to add more than five (5) parkig codes");

// A program folder holding parkingspecs.mdb (or `bytes` in its place) and a
// picker loaded from it that fills `field`.
class Picker
{
public:
    explicit Picker(const QString& codes = {}, const QByteArray& bytes = {})
    {
        testutil::writeFile(m_dir.filePath(QStringLiteral("parkingspecs.mdb")),
                            bytes.isNull() ? testutil::jet4Database(testutil::parkingSpecsTable(kAirlines))
                                           : bytes);
        field.setText(codes);
        answers.setResponder([](const msgbox::Call&) { return msgbox::Answer::withButton(msgbox::vbOK); });
        dialog = std::make_unique<frm_ParkingCode>(&field);
        dialog->Form_Load(m_dir.path());
    }

    // The grid row that shows `code`.
    int rowOf(const QString& code) const
    {
        for (int r = 0; r < dialog->MSHFlexGrid1->rowCount(); ++r) {
            if (dialog->MSHFlexGrid1->item(r, 2)->text() == code)
                return r;
        }
        return -1;
    }

    QStringList airlinesShown() const
    {
        QStringList names;
        for (int r = 0; r < dialog->MSHFlexGrid1->rowCount(); ++r)
            names.append(dialog->MSHFlexGrid1->item(r, 1)->text());
        return names;
    }

    msgbox::ScriptedAnswers answers;
    QLineEdit field;
    std::unique_ptr<frm_ParkingCode> dialog;

private:
    QTemporaryDir m_dir;
};

} // namespace

class TestFrmParkingCode : public QObject
{
    Q_OBJECT

private slots:
    void init() { globals::gbToolTips = true; }

    void loadShowsTheWholeListAndBothCounters()
    {
        Picker p(QStringLiteral("AB,ZZ"));
        QVERIFY(p.answers.calls().empty());
        QVERIFY(p.dialog->isConnected());
        QCOMPARE(p.dialog->windowTitle(), QStringLiteral("Selelct the parking code"));
        QCOMPARE(p.dialog->MSHFlexGrid1->rowCount(), int(kAirlines.size()));
        QCOMPARE(p.airlinesShown().first(), QStringLiteral("Aerotarn"));
        QCOMPARE(p.dialog->MSHFlexGrid1->horizontalHeaderItem(1)->text(), QStringLiteral("Airline"));
        QCOMPARE(p.dialog->MSHFlexGrid1->horizontalHeaderItem(2)->text(), QStringLiteral("Code"));
        QCOMPARE(p.dialog->txt_airlinecodes->text(), QString::number(kAirlines.size()));
        QCOMPARE(p.dialog->txt_parkingcodes->text(), QStringLiteral("2 of 5"));
        QVERIFY(p.dialog->sAppPath.endsWith(u'/'));
    }

    void columnsFitTheirWidestText()
    {
        Picker p;
        const QFontMetrics metrics = p.dialog->fontMetrics();
        const int padding = qRound(120.0 * p.dialog->logicalDpiX() / 1440.0);
        QTableWidget* grid = p.dialog->MSHFlexGrid1;
        QCOMPARE(grid->columnWidth(0), padding); // the empty fixed column
        QVERIFY(grid->columnWidth(1) >=
                metrics.horizontalAdvance(QStringLiteral("O'Rourke Island Hopper")) + padding);
        QVERIFY(grid->columnWidth(2) >= metrics.horizontalAdvance(QStringLiteral("Code")) + padding);
        QVERIFY(grid->columnWidth(1) <
                metrics.horizontalAdvance(QStringLiteral("O'Rourke Island Hopper")) * 2);
    }

    void filter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("an apostrophe") << "o'" << QStringList{"Fen O'Malley Air", "O'Rourke Island Hopper"};
        QTest::newRow("any part, any case")
            << "HOPPER" << QStringList{"O'Rourke Island Hopper", "Tarnhopper"};
        QTest::newRow("underscore is one character") << "m_ss" << QStringList{"Mossline"};
        QTest::newRow("percent spans") << "fer%y" << QStringList{"Fernway"};
        QTest::newRow("nothing matches") << "zz" << QStringList{};
    }

    void filter()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, shown);
        Picker p;
        p.dialog->txt_FilterParkingCodes->setText(filter);
        QCOMPARE(p.airlinesShown(), shown);
        QCOMPARE(p.dialog->txt_airlinecodes->text(), QString::number(shown.size()));

        // Emptying the filter lists everything again.
        p.dialog->txt_FilterParkingCodes->clear();
        QCOMPARE(p.dialog->MSHFlexGrid1->rowCount(), int(kAirlines.size()));
    }

    void clickOnACode_data()
    {
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<bool>("limitMessage");
        QTest::addColumn<QString>("afterSecondClick");
        QTest::newRow("removes a middle code") << "AB,CD,EF"
                                               << "CD"
                                               << "AB,EF"
                                               << "2 of 5" << false << "AB,EF,CD";
        QTest::newRow("removes the only code") << "AB"
                                               << "AB"
                                               << ""
                                               << "0 of 5" << false << "AB";
        QTest::newRow("adds to an empty field") << ""
                                                << "KL"
                                                << "KL"
                                                << "1 of 5" << false << "";
        QTest::newRow("sixth code refused") << "AB,CD,EF,GH,IJ"
                                            << "KL"
                                            << "AB,CD,EF,GH,IJ"
                                            << "5 of 5" << true << "AB,CD,EF,GH,IJ";
        QTest::newRow("one of five removed") << "AB,CD,EF,GH,IJ"
                                             << "EF"
                                             << "AB,CD,GH,IJ"
                                             << "4 of 5" << false << "AB,CD,GH,IJ,EF";
        QTest::newRow("a code inside a longer one is added") << "ABC,CD"
                                                             << "AB"
                                                             << "ABC,CD,AB"
                                                             << "3 of 5" << false << "ABC,CD";
    }

    void clickOnACode()
    {
        QFETCH(QString, codes);
        QFETCH(QString, clicked);
        QFETCH(QString, after);
        QFETCH(QString, counter);
        QFETCH(bool, limitMessage);
        QFETCH(QString, afterSecondClick);
        Picker p(codes);
        const int row = p.rowOf(clicked);
        QVERIFY(row >= 0);

        QTableWidget* grid = p.dialog->MSHFlexGrid1;
        p.dialog->show();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(row, 1)).center());

        QCOMPARE(p.field.text(), after);
        QCOMPARE(p.dialog->txt_parkingcodes->text(), counter);
        if (limitMessage) {
            QCOMPARE(p.answers.prompts(), QStringList{kLimit});
            QCOMPARE(p.answers.calls().front().style, msgbox::vbOKOnly | msgbox::vbInformation);
        } else {
            QVERIFY(p.answers.calls().empty());
        }

        p.dialog->MSHFlexGrid1_Click(row);
        QCOMPARE(p.field.text(), afterSecondClick);
    }

    void unreadableListIsReported_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no database") << QByteArray("not a database at all");
        QTest::newRow("table missing") << [] {
            testutil::MdbTable t = testutil::parkingSpecsTable(kAirlines);
            t.name = QStringLiteral("airlines");
            return testutil::jet4Database(t);
        }();
        // libmdb crashes on it: the reader's crash, not the program's.
        QTest::newRow("damaged page data") << testutil::corruptParkingSpecs();
        QTest::newRow("garbage after the header")
            << testutil::jet4Database(testutil::parkingSpecsTable(kAirlines)).left(4096) +
                   QByteArray(5 * 4096, '\x5A');
    }

    void unreadableListIsReported()
    {
        QFETCH(QByteArray, bytes);
        Picker p(QStringLiteral("AB"), bytes);
        QCOMPARE(p.answers.prompts(), QStringList{QStringLiteral("Error opening the parking code file")});
        QCOMPARE(p.answers.calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
        QVERIFY(!p.dialog->isConnected());
        QCOMPARE(p.dialog->MSHFlexGrid1->rowCount(), 0);
        QVERIFY(p.dialog->txt_airlinecodes->text().isEmpty());
        QVERIFY(p.dialog->txt_parkingcodes->text().isEmpty());
        // Typing a filter then lists nothing, and nothing breaks.
        p.dialog->txt_FilterParkingCodes->setText(QStringLiteral("a"));
        QCOMPARE(p.dialog->MSHFlexGrid1->rowCount(), 0);
        QCOMPARE(p.dialog->txt_airlinecodes->text(), QStringLiteral("0"));
    }

    void escapeAndCloseButtonEndThePicker_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Esc") << true;
        QTest::newRow("Close button") << false;
    }

    void escapeAndCloseButtonEndThePicker()
    {
        QFETCH(bool, escape);
        Picker p(QStringLiteral("AB"));
        QCOMPARE(p.dialog->CancelButton->text(), QStringLiteral("&Close"));
        p.dialog->show();
        if (escape)
            QTest::keyClick(p.dialog.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(p.dialog->CancelButton, Qt::LeftButton);
        QVERIFY(!p.dialog->isVisible());
        QCOMPARE(p.dialog->result(), int(QDialog::Rejected));
        QVERIFY(!p.dialog->isConnected());
        QCOMPARE(p.field.text(), QStringLiteral("AB"));
    }

    void tooltipsOffClearsTheHelpTexts()
    {
        globals::gbToolTips = false;
        Picker p;
        QVERIFY(p.dialog->MSHFlexGrid1->toolTip().isEmpty());
        QVERIFY(p.dialog->CancelButton->toolTip().isEmpty());
        QVERIFY(p.dialog->txt_FilterParkingCodes->toolTip().isEmpty());
    }
};

QTEST_MAIN(TestFrmParkingCode)
#include "tst_frmparkingcode.moc"
