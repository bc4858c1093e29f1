// The model radius and the wing span of the main window on real widgets: the
// radius byte of the model file after "&1. Update", a model file that cannot
// or must not be written, and the wing-span chains in two locales.
#include "editing/WriteBack.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "AircraftScene.h"
#include "DataRows.h"
#include "OddFile.h"
#include "SimFiles.h"
#include "TestUtil.h"
#include "WindowEdits.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using testutil::ageFile;
using testutil::mdlBytes;
using testutil::mtime;

const QString kRadiusMessage = QStringLiteral(
    "The changed radius value could not be written to the model file. Please make sure that the "
    "file is not opened by the sim or another program");

// A value the radius byte cannot hold is the value's fault, not the file's.
const QString kValueMessage = QStringLiteral(
    "The changed radius value is not a number from 0 to 255 and was not written to the model file.");

using Scene = testutil::AircraftScene;

// A file of the scene whose time was set into the past, so that any write shows.
class AgedFile
{
public:
    explicit AgedFile(const QString& path) : m_path(path)
    {
        ageFile(path);
        m_before = mtime(path);
    }

    QString path() const { return m_path; }

    // Checks that the file still holds `bytes` and was not written.
    void verifyUntouched(const QByteArray& bytes) const
    {
        QCOMPARE(testutil::readFile(m_path), bytes);
        QCOMPARE(mtime(m_path), m_before);
    }

private:
    QString m_path;
    QDateTime m_before;
};

void clickUpdate(frm_Main& w)
{
    QTest::mouseClick(w.ui.cmd_cfg_Update, Qt::LeftButton);
}

} // namespace

class TestFrmMainRadiusSpan : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void radius_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<QString>("typed"); // null: the field is left as shown
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<int>("expectedByte"); // -1: the file is not touched
        QTest::addColumn<bool>("message");
        QTest::newRow("n/a") << QByteArray("MDLX") << QString() << false << -1 << false;
        QTest::newRow("unchanged") << QByteArray("MDL9") << QString() << false << -1 << false;
        QTest::newRow("retyped the same") << QByteArray("MDL9") << "42" << false << -1 << false;
        QTest::newRow("43") << QByteArray("MDL9") << "43" << false << 43 << false;
        QTest::newRow("0 in MDL8") << QByteArray("MDL8") << "0" << false << 0 << false;
        QTest::newRow("255") << QByteArray("MDL9") << "255" << false << 255 << false;
        QTest::newRow("7.5 rounds to 8") << QByteArray("MDL9") << "7.5" << false << 8 << false;
        QTest::newRow("6.5 rounds to 6") << QByteArray("MDL9") << "6.5" << false << 6 << false;
        QTest::newRow("256") << QByteArray("MDL9") << "256" << false << -1 << true;
        QTest::newRow("-1") << QByteArray("MDL9") << "-1" << false << -1 << true;
        QTest::newRow("abc") << QByteArray("MDL9") << "abc" << false << -1 << true;
        QTest::newRow("emptied") << QByteArray("MDL9") << "" << false << -1 << true;
        QTest::newRow("read-only model file") << QByteArray("MDL9") << "99" << true << 99 << false;
    }

    void radius()
    {
        QFETCH(QByteArray, tag);
        QFETCH(QString, typed);
        QFETCH(bool, readOnly);
        QFETCH(int, expectedByte);
        QFETCH(bool, message);
        const QByteArray mdl = mdlBytes(tag, 42);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=\r\n",
                {{"Plane/model/model.cfg", "normal=Plane\r\n"}, {"Plane/model/Plane.mdl", mdl}});
        const AgedFile model(s.folder() + "/model/Plane.mdl");
        if (readOnly)
            testutil::setMode(model.path(), 0444);
        frm_Main& w = s.start();
        QCOMPARE(w.ui.txt_FS9Radius->text(), tag == "MDLX" ? QStringLiteral("n/a") : QStringLiteral("42"));
        if (!typed.isNull())
            w.ui.txt_FS9Radius->setText(typed);
        w.ui.txt_Title->setText(QStringLiteral("Edited"));
        clickUpdate(w);

        if (expectedByte < 0) {
            model.verifyUntouched(mdl);
        } else {
            QByteArray expected = mdl;
            expected[28] = static_cast<char>(expectedByte);
            QCOMPARE(testutil::readFile(model.path()), expected);
            QVERIFY(QFileInfo(model.path()).permissions().testFlag(QFileDevice::WriteOwner));
            QCOMPARE(w.ui.txt_FS9Radius->text(), QString::number(expectedByte));
            QCOMPARE(w.vRadiusOrg, QString::number(expectedByte));
        }
        QCOMPARE(s.answers.calls().size(), size_t(message ? 1 : 0));
        if (message) {
            QCOMPARE(s.answers.calls().front().prompt, kValueMessage);
            QCOMPARE(s.answers.calls().front().style, int(msgbox::vbOKOnly | msgbox::vbCritical));
            QCOMPARE(s.answers.calls().front().title, msgbox::programTitle());
        }
        // The entry keys are written whatever became of the radius.
        QVERIFY(s.cfg().startsWith("[fltsim.0]\r\ntitle=Edited\r\n"));
    }

    void modelOutsideTheFolderIsNeverWritten()
    {
        // model.cfg points two folders up, out of the aircraft folder.
        const QByteArray mdl = mdlBytes("MDL9", 42);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=\r\n",
                {{"Plane/model/model.cfg", "normal=..\\..\\x\r\n"}, {"x.mdl", mdl}});
        const AgedFile outside(s.root() + "/x.mdl");
        frm_Main& w = s.start();
        QCOMPARE(w.ui.txt_FS9Radius->text(), QStringLiteral("42"));
        w.ui.txt_FS9Radius->setText(QStringLiteral("50"));
        w.ui.txt_Title->setText(QStringLiteral("Edited"));
        clickUpdate(w);
        outside.verifyUntouched(mdl);
        // The user asked for a change that was not made: say so, naming the file.
        QCOMPARE(s.answers.prompts(), QStringList{WriteBack::radiusOutsideMessage(w.sMdlFile)});
        QVERIFY(s.answers.prompts().front().startsWith(outside.path()));
        QVERIFY(s.cfg().contains("title=Edited\r\n"));
    }

    void modelFileNoLongerAFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : testutil::kOddKinds)
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void modelFileNoLongerAFile()
    {
        // Between the display and "&1. Update" the model file became a pipe
        // (or socket, device, folder): the message says the file is gone.
        QFETCH(QString, kind);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=\r\n",
                {{"Plane/model/model.cfg", "normal=Plane\r\n"}, {"Plane/model/Plane.mdl", mdlBytes("MDL9", 42)}});
        frm_Main& w = s.start();
        QCOMPARE(w.ui.txt_FS9Radius->text(), QStringLiteral("42"));
        const QString mdl = s.folder() + "/model/Plane.mdl";
        const testutil::OddFile odd(mdl, kind);
        QVERIFY(odd.made());
        w.ui.txt_FS9Radius->setText(QStringLiteral("43"));
        w.ui.txt_Title->setText(QStringLiteral("Edited"));
        clickUpdate(w);
        QCOMPARE(s.answers.prompts(),
                 QStringList{"The model file:" + mdl +
                             "\r\n\r\n could not be found. The changed radius value was not written."});
        QCOMPARE(odd.readerOpens(), 0);
        QVERIFY(s.cfg().contains("title=Edited\r\n"));
    }

    void radiusOfAnotherEntryIsNotWritten()
    {
        // Row 1 has no model of its own: its (emptied) radius field must not
        // reach row 0's model file.
        const QByteArray mdl = mdlBytes("MDL9", 42);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=\r\n[fltsim.1]\r\ntitle=B\r\nmodel=Ghost\r\n",
                {{"Plane/model/model.cfg", "normal=Plane\r\n"}, {"Plane/model/Plane.mdl", mdl}});
        const AgedFile model(s.folder() + "/model/Plane.mdl");
        frm_Main& w = s.start();
        w.ui.ListView1->selectRow(1);
        w.ListView1_DblClick();
        clickUpdate(w);
        model.verifyUntouched(mdl);
        QVERIFY(s.answers.calls().empty());
    }

    // ---- wing span in the user's locale --------------------------------------

    void currentSpanChain_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("span");
        QTest::addColumn<QStringList>("boxes"); // Org, C1, C2, spot
        QTest::newRow("de 35") << "de_DE" << QByteArray("35") << QStringList{"35", "10,668", "5,334", "6"};
        QTest::newRow("en 35") << "en_US" << QByteArray("35") << QStringList{"35", "10.668", "5.334", "6"};
        QTest::newRow("de 100") << "de_DE" << QByteArray("100") << QStringList{"100", "30,48", "15,24", "16"};
        QTest::newRow("en 100") << "en_US" << QByteArray("100") << QStringList{"100", "30.48", "15.24", "16"};
        QTest::newRow("de 35.5 with a comment")
            << "de_DE" << QByteArray("35.5 // ft") << QStringList{"35,5", "10,8204", "5,4102", "6"};
        QTest::newRow("en negative span") << "en_US" << QByteArray("-35") << QStringList{"-35", "", "", ""};
        QTest::newRow("de negative span") << "de_DE" << QByteArray("-35,5") << QStringList{"-35", "", "", ""};
    }

    void currentSpanChain()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, span);
        QFETCH(QStringList, boxes);
        QLocale::setDefault(QLocale(locale));
        Scene s("[fltsim.0]\r\ntitle=A\r\n[airplane_geometry]\r\nwing_span=" + span + "\r\n");
        frm_Main& w = s.start();
        const QStringList shown{w.ui.txt_WingSpan_Org->text(), w.ui.txt_WingSpan_Org_C1->text(),
                                w.ui.txt_WingSpan_Org_C2->text(), w.ui.txt_FSX_Spot_Org->text()};
        QCOMPARE(shown, boxes);
    }

    void newSpanChain_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("emptyGrid");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("boxes"); // C1, C2, spot
        QTest::newRow("de 35") << "de_DE" << false << "35" << QStringList{"10,668", "5,334", "6"};
        QTest::newRow("en 35") << "en_US" << false << "35" << QStringList{"10.668", "5.334", "6"};
        QTest::newRow("de 100") << "de_DE" << false << "100" << QStringList{"30,48", "15,24", "16"};
        QTest::newRow("en 100") << "en_US" << false << "100" << QStringList{"30.48", "15.24", "16"};
        QTest::newRow("de 35,5 ft") << "de_DE" << false << "35,5 ft" << QStringList{"10,8204", "5,4102", "6"};
        QTest::newRow("en 35.5") << "en_US" << false << "35.5" << QStringList{"10.8204", "5.4102", "6"};
        QTest::newRow("de pasted word") << "de_DE" << false << "Spannweite" << QStringList{"", "", ""};
        QTest::newRow("en pasted word") << "en_US" << false << "wide" << QStringList{"", "", ""};
        QTest::newRow("en negative") << "en_US" << false << "-35" << QStringList{"", "", ""};
        QTest::newRow("de empty grid") << "de_DE" << true << "35" << QStringList{"", "", ""};
        QTest::newRow("en empty grid") << "en_US" << true << "100" << QStringList{"", "", ""};
    }

    void newSpanChain()
    {
        QFETCH(QString, locale);
        QFETCH(bool, emptyGrid);
        QFETCH(QString, typed);
        QFETCH(QStringList, boxes);
        QLocale::setDefault(QLocale(locale));
        Scene s(QByteArray(emptyGrid ? "" : "[fltsim.0]\r\ntitle=A\r\n") +
                "[airplane_geometry]\r\nwing_span=20\r\n");
        frm_Main& w = s.start();
        QCOMPARE(w.ui.ListView1->rowCount(), emptyGrid ? 0 : 1);
        QTest::keyClicks(w.ui.txt_WingSpan_New, typed);
        const auto chain = [&w] {
            return QStringList{w.ui.txt_WingSpan_New_C1->text(), w.ui.txt_WingSpan_New_C2->text(),
                               w.ui.txt_FSX_Spot_New->text()};
        };
        if (w.ui.txt_WingSpan_New->text() != typed) // a key filter may refuse characters
            w.ui.txt_WingSpan_New->setText(typed);
        QCOMPARE(chain(), boxes);
        w.ui.txt_WingSpan_New->clear();
        QCOMPARE(chain(), (QStringList{"", "", ""}));
        QVERIFY(s.answers.calls().empty());
    }

    void newSpanWrittenWithPoint_data()
    {
        const testutil::TextRows<QString, QString, QByteArray, QString> row(
            {"locale", "typed", "line", "shownAfter"});
        row("de 35,5", "de_DE", "35,5", "wing_span=35.5\r\n", "35,5");
        row("en 35.5", "en_US", "35.5", "wing_span=35.5\r\n", "35.5");
        row("de whole number", "de_DE", "36", "wing_span=36\r\n", "36");
    }

    void newSpanWrittenWithPoint()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QByteArray, line);
        QFETCH(QString, shownAfter);
        QLocale::setDefault(QLocale(locale));
        Scene s("[fltsim.0]\r\ntitle=A\r\n[airplane_geometry]\r\nwing_span=20\r\nwing_pos_apex_lon=1\r\n");
        frm_Main& w = s.start();
        w.ui.txt_WingSpan_New->setText(typed);
        clickUpdate(w);
        QVERIFY2(s.cfg().contains(QByteArray("[airplane_geometry]\r\n" + line + "wing_pos_apex_lon=1\r\n")),
                 s.cfg().constData());
        QCOMPARE(w.ui.txt_WingSpan_Org->text(), shownAfter);
        QCOMPARE(w.ui.txt_WingSpan_New->text(), QString());
    }
};

QTEST_MAIN(TestFrmMainRadiusSpan)
#include "tst_frmmain_radiusspan.moc"
