// "&1. Update" on real widgets: the whole aircraft.cfg after the write-back,
// the question, the backup copy, the radius byte of the model file, a file
// that cannot be written, and the wing-span chains in two locales.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "AircraftScene.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

using testutil::Files;
// objectName -> text; check boxes take "1" or "0".
using Edits = QMap<QString, QString>;

const QString kRadiusMessage = QStringLiteral(
    "The changed radius value could not be written to the model file. Please make sure that the "
    "file is not opened by the sim or another program");

QByteArray mdlBytes(const QByteArray& tag, quint8 radius, int size = 64)
{
    QByteArray b = QByteArray("RIFF\x10\0\0\0", 8) + tag.left(4);
    b += QByteArray(28 - b.size(), 'h');
    b += static_cast<char>(radius);
    b += QByteArray(std::max(0, size - static_cast<int>(b.size())), 'z');
    return b.left(size);
}

// Sets a file's modification time well into the past, so any rewrite shows.
void ageFile(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC),
                          QFileDevice::FileModificationTime));
}

QDateTime mtime(const QString& path)
{
    return QFileInfo(path).lastModified();
}

// An aircraft folder and a main window started on it with the given options.
// Boxes are recorded from before the start-up on; unless a test queues
// answers, each box gets its first button.
using Scene = testutil::AircraftScene;

void applyEdits(frm_Main& w, const Edits& edits)
{
    for (auto it = edits.cbegin(); it != edits.cend(); ++it) {
        if (auto* box = w.findChild<QLineEdit*>(it.key()))
            box->setText(it.value());
        else if (auto* check = w.findChild<QCheckBox*>(it.key()))
            check->setChecked(it.value() == u"1");
        else if (auto* label = w.findChild<QLabel*>(it.key()))
            label->setText(it.value());
        else
            QFAIL(qPrintable(QStringLiteral("no control %1").arg(it.key())));
    }
}

void clickUpdate(frm_Main& w)
{
    QTest::mouseClick(w.ui.cmd_cfg_Update, Qt::LeftButton);
}

// A file with every kind of line the write-back touches: comments on entry
// keys, keys missing from the entry, blank lines between sections, exits with
// and without comments, and an untouched second entry.
const QByteArray kBase = "[General]\r\n"
                         "atc_type=BOEING // maker\r\n"
                         "atc_model=B738\r\n"
                         "\r\n"
                         "[fltsim.0]\r\n"
                         "title=Liner A // livery one\r\n"
                         "sim=B738\r\n"
                         "model=\r\n"
                         "texture=A\r\n"
                         "atc_parking_types=gate,ramp\r\n"
                         "ui_createdby = Someone\r\n"
                         "ui_typerole=Commercial Airliner\r\n"
                         "ui_manufacturer=Boeing\r\n"
                         "ui_type=737-800\r\n"
                         "ui_variation=Liner A\r\n"
                         "atc_airline=LINER\r\n"
                         "atc_flight_number=100\r\n"
                         "atc_heavy=0\r\n"
                         "description=Nice // kept\r\n"
                         "\r\n"
                         "[fltsim.1]\r\n"
                         "title=Liner B\r\n"
                         "sim=B738\r\n"
                         "\r\n"
                         "[airplane_geometry]\r\n"
                         "wing_span=112.6 // feet\r\n"
                         "\r\n"
                         "[exits]\r\n"
                         "exit.0=0.4, 10, -3, 0, 0 // main door\r\n"
                         "exit.1=0.4,-10,-3,0,1\r\n"
                         "exit.2 = 0.5, 5, 3, 0, 2   // emergency\r\n";

const QByteArray kBlank12 = QByteArray(12, ' ');

} // namespace

class TestFrmMainWriteBack : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void wholeFile_data()
    {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<int>("row");
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<QByteArray>("expected");

        // Nothing edited: comments of rewritten entry keys go, missing keys are
        // added after the entry's last key, exits get their written form.
        QTest::newRow("unchanged fields") << kBase << 0 << Edits{}
                                          << QByteArray("[General]\r\n"
                                                        "atc_type=BOEING // maker\r\n"
                                                        "atc_model=B738\r\n"
                                                        "\r\n"
                                                        "[fltsim.0]\r\n"
                                                        "title=Liner A\r\n"
                                                        "sim=B738\r\n"
                                                        "model=\r\n"
                                                        "texture=A\r\n"
                                                        "atc_parking_types=GATE,RAMP\r\n"
                                                        "ui_createdby =Someone\r\n"
                                                        "ui_typerole=Commercial Airliner\r\n"
                                                        "ui_manufacturer=Boeing\r\n"
                                                        "ui_type=737-800\r\n"
                                                        "ui_variation=Liner A\r\n"
                                                        "atc_airline=LINER\r\n"
                                                        "atc_flight_number=100\r\n"
                                                        "atc_heavy=0\r\n"
                                                        "description=Nice // kept\r\n"
                                                        "atc_parking_codes=\r\n"
                                                        "atc_id=\r\n"
                                                        "atc_model=\r\n"
                                                        "\r\n"
                                                        "[fltsim.1]\r\n"
                                                        "title=Liner B\r\n"
                                                        "sim=B738\r\n"
                                                        "\r\n"
                                                        "[airplane_geometry]\r\n"
                                                        "wing_span=112.6 // feet\r\n"
                                                        "\r\n"
                                                        "[exits]\r\n"
                                                        "exit.0= 0.4, 10, -3, 0, 0" +
                                                        kBlank12 +
                                                        "// main door\r\n"
                                                        "exit.1= 0.4, -10, -3, 0, 1" +
                                                        kBlank12 +
                                                        "\r\n"
                                                        "exit.2 = 0.5, 5, 3, 0, 2" +
                                                        kBlank12 + "// emergency\r\n");

        // Edits: an emptied variation, heavy ticked, a new span with a decimal
        // comma, exit.1 incomplete (stays as it was), exit.0 with a decimal
        // comma, an emptied [general] atc_model.
        QTest::newRow("edited fields")
            << kBase << 0
            << Edits{{"txt_Title", "Liner A2"}, {"txt_ui_Variation", ""},      {"txt_atc_Id", "N123"},
                     {"chk_atc_heavy", "1"},    {"txt_WingSpan_New", "118,5"}, {"txt_Exit_0[0]", "0,5"},
                     {"txt_Exit_1[2]", ""},     {"txt_general_atc_model", ""}}
            << QByteArray("[General]\r\n"
                          "atc_type=BOEING // maker\r\n"
                          "atc_model=\r\n"
                          "\r\n"
                          "[fltsim.0]\r\n"
                          "title=Liner A2\r\n"
                          "sim=B738\r\n"
                          "model=\r\n"
                          "texture=A\r\n"
                          "atc_parking_types=GATE,RAMP\r\n"
                          "ui_createdby =Someone\r\n"
                          "ui_typerole=Commercial Airliner\r\n"
                          "ui_manufacturer=Boeing\r\n"
                          "ui_type=737-800\r\n"
                          "ui_variation=\r\n"
                          "atc_airline=LINER\r\n"
                          "atc_flight_number=100\r\n"
                          "atc_heavy=1\r\n"
                          "description=Nice // kept\r\n"
                          "atc_parking_codes=\r\n"
                          "atc_id=N123\r\n"
                          "atc_model=\r\n"
                          "\r\n"
                          "[fltsim.1]\r\n"
                          "title=Liner B\r\n"
                          "sim=B738\r\n"
                          "\r\n"
                          "[airplane_geometry]\r\n"
                          "wing_span=118.5\r\n"
                          "\r\n"
                          "[exits]\r\n"
                          "exit.0= 0.5, 10, -3, 0, 0" +
                          kBlank12 +
                          "// main door\r\n"
                          "exit.1=0.4,-10,-3,0,1\r\n"
                          "exit.2 = 0.5, 5, 3, 0, 2" +
                          kBlank12 + "// emergency\r\n");

        // Entry sections numbered out of order: the selected row's section is
        // written, the other stays.
        QTest::newRow("[fltsim.3] and [fltsim.7], second row")
            << QByteArray("[fltsim.3]\r\ntitle=Three\r\n[fltsim.7]\r\ntitle=Seven // c\r\natc_heavy=1\r\n")
            << 1 << Edits{{"txt_Title", "Seven new"}}
            << QByteArray("[fltsim.3]\r\ntitle=Three\r\n"
                          "[fltsim.7]\r\ntitle=Seven new\r\natc_heavy=1\r\n"
                          "atc_parking_types=\r\natc_parking_codes=\r\nui_createdby=\r\nui_typerole=\r\n"
                          "ui_manufacturer=\r\nui_type=\r\nui_variation=\r\natc_id=\r\natc_flight_number=\r\n"
                          "atc_airline=\r\natc_model=\r\n"
                          "[general]\r\natc_model=\r\natc_type=\r\n");

        // A section named just "Fltsim" is no entry; the entry spelled in
        // capitals is written in place.
        QTest::newRow("entry in capitals, [Fltsim] no entry")
            << QByteArray("[Fltsim]\r\ntitle=Not an entry\r\n[FLTSIM.0]\r\nTITLE=A\r\n") << 0
            << Edits{{"txt_Title", "B"}}
            << QByteArray("[Fltsim]\r\ntitle=Not an entry\r\n[FLTSIM.0]\r\nTITLE=B\r\n"
                          "atc_parking_types=\r\natc_parking_codes=\r\nui_createdby=\r\nui_typerole=\r\n"
                          "ui_manufacturer=\r\nui_type=\r\nui_variation=\r\natc_id=\r\natc_flight_number=\r\n"
                          "atc_airline=\r\natc_model=\r\natc_heavy=0\r\n"
                          "[general]\r\natc_model=\r\natc_type=\r\n");

        // wing_span in [General] is read; the new value goes into a new
        // [airplane_geometry] at the end, the old line stays. The last line
        // has no line end: one is added before the new section.
        QTest::newRow("wing_span only in [General]")
            << QByteArray("[fltsim.0]\r\ntitle=A\r\n[General]\r\natc_type=X\r\nwing_span=35\r\natc_model=Y")
            << 0 << Edits{{"txt_WingSpan_New", "36"}}
            << QByteArray("[fltsim.0]\r\ntitle=A\r\n"
                          "atc_parking_types=\r\natc_parking_codes=\r\nui_createdby=\r\nui_typerole=\r\n"
                          "ui_manufacturer=\r\nui_type=\r\nui_variation=\r\natc_id=\r\natc_flight_number=\r\n"
                          "atc_airline=\r\natc_model=\r\natc_heavy=0\r\n"
                          "[General]\r\natc_type=X\r\nwing_span=35\r\natc_model=Y\r\n"
                          "[airplane_geometry]\r\nwing_span=36\r\n");

        // Fields that still hold what a read gave after taking a pair of
        // quotes away leave their lines as they stand; an edited one is written.
        QTest::newRow("quoted values unchanged")
            << QByteArray("[fltsim.0]\r\ntitle = \"Liner\" \r\n"
                          "atc_parking_types = \"GATE,RAMP\" ; \"ANY\" / \"DOCK\"\r\n"
                          "ui_type='737'\r\nui_variation=\"V\"\r\natc_heavy=0\r\n"
                          "[general]\r\natc_model=\"M\"\r\natc_type=T\r\n")
            << 0 << Edits{{"txt_ui_Variation", "W"}}
            << QByteArray("[fltsim.0]\r\ntitle = \"Liner\" \r\n"
                          "atc_parking_types = \"GATE,RAMP\" ; \"ANY\" / \"DOCK\"\r\n"
                          "ui_type='737'\r\nui_variation=W\r\natc_heavy=0\r\n"
                          "atc_parking_codes=\r\nui_createdby=\r\nui_typerole=\r\nui_manufacturer=\r\n"
                          "atc_id=\r\natc_flight_number=\r\natc_airline=\r\natc_model=\r\n"
                          "[general]\r\natc_model=\"M\"\r\natc_type=T\r\n");

        // A file with LF line ends keeps them, new lines included.
        QTest::newRow("LF line ends")
            << QByteArray("[fltsim.0]\ntitle=A\natc_heavy=1\n\n[general]\natc_model=M\natc_type=T\n") << 0
            << Edits{{"txt_Title", "B"}}
            << QByteArray("[fltsim.0]\ntitle=B\natc_heavy=1\n"
                          "atc_parking_types=\natc_parking_codes=\nui_createdby=\nui_typerole=\n"
                          "ui_manufacturer=\nui_type=\nui_variation=\natc_id=\natc_flight_number=\n"
                          "atc_airline=\natc_model=\n\n"
                          "[general]\natc_model=M\natc_type=T\n");
    }

    void wholeFile()
    {
        QFETCH(QByteArray, cfg);
        QFETCH(int, row);
        QFETCH(Edits, edits);
        QFETCH(QByteArray, expected);
        Scene s(cfg);
        frm_Main& w = s.start();
        w.ui.ListView1->selectRow(row);
        w.ListView1_DblClick();
        applyEdits(w, edits);
        clickUpdate(w);

        QVERIFY(s.answers.calls().empty());
        QCOMPARE(s.cfg(), expected);
        // The same row is shown again, with the file's values.
        QCOMPARE(w.ui.ListView1->selectedRow(), row);
        const QString title = edits.value("txt_Title", w.ui.ListView1->rowText(row, 1));
        QCOMPARE(w.ui.txt_Title->text(), title);
        QCOMPARE(w.ui.ListView1->rowText(row, 1), title);
        QCOMPARE(w.ui.txt_WingSpan_New->text(), QString());
    }

    void sameRowSelectedAfterwards()
    {
        Scene s("[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=B\r\n[fltsim.2]\r\ntitle=C\r\nui_type=X\r\n");
        frm_Main& w = s.start();
        w.ui.ListView1->selectRow(2);
        w.ListView1_DblClick();
        w.ui.txt_ui_Type->setText(QStringLiteral("Y"));
        clickUpdate(w);
        QCOMPARE(w.ui.ListView1->selectedRow(), 2);
        QCOMPARE(w.ui.ListView1->rowText(2, 7), QStringLiteral("Y"));
        QCOMPARE(w.ui.txt_ui_Type->text(), QStringLiteral("Y"));
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("C"));
        QCOMPARE(w.ui.ListView1->rowText(0, 7), QString());
    }

    // The reload shows only the written row: a message of the entry display
    // (here the unreadable model file of the first entry) comes once for it
    // and not at all for another row.
    void reloadShowsTheEntryOnce_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("boxes");
        QTest::newRow("entry with the message") << 0 << 1;
        QTest::newRow("another entry") << 1 << 0;
    }
    void reloadShowsTheEntryOnce()
    {
        QFETCH(int, row);
        QFETCH(int, boxes);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=\r\n[fltsim.1]\r\ntitle=B\r\n",
                {{"Plane/model/model.cfg", "normal=Plane\r\n"}, {"Plane/model/Plane.mdl", mdlBytes("MDLX", 0, 11)}});
        frm_Main& w = s.start();
        auto* grid = w.ui.ListView1;
        const QPoint cell = grid->visualRect(grid->indexFromItem(grid->topLevelItem(row), 1)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(w.ui.txt_Title->text(), row == 0 ? QStringLiteral("A") : QStringLiteral("B"));
        const size_t before = s.answers.calls().size();
        clickUpdate(w);
        QCOMPARE(s.answers.calls().size() - before, size_t(boxes));
        QCOMPARE(w.ui.ListView1->selectedRow(), row);
    }

    void aFileChangedBehindTheGridIsNotWritten()
    {
        // Another program (or the text editor) changed the entries after the
        // load: the rows no longer name the file's sections, so nothing is
        // written and the user is told.
        Scene s("[fltsim.0]\r\ntitle=Zero\r\n[fltsim.1]\r\ntitle=One\r\n");
        frm_Main& w = s.start();
        const QByteArray changed = "[fltsim.0]\r\ntitle=Zero\r\n";
        testutil::writeFile(s.cfgPath(), changed);
        w.ui.txt_Title->setText(QStringLiteral("Edited"));
        clickUpdate(w);
        QCOMPARE(s.cfg(), changed);
        QCOMPARE(s.answers.calls().size(), size_t(1));
        QVERIFY(s.answers.calls().front().prompt.startsWith("The file:" + s.cfgPath()));
        QVERIFY(s.answers.calls().front().prompt.contains("has been changed since the folder was loaded"));
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Edited"));
    }

    void theShownEntryIsWrittenWhereverTheSelectionIs()
    {
        // The fields belong to the entry that was shown; a single click on
        // another row (or no selection at all) does not redirect them.
        const QByteArray two = "[fltsim.0]\r\ntitle=Zero\r\n[fltsim.1]\r\ntitle=One\r\n";
        for (int otherRow : {1, -1}) {
            Scene s(two);
            frm_Main& w = s.start();
            w.ui.txt_Title->setText(QStringLiteral("Zero edited"));
            w.ui.ListView1->selectRow(otherRow);
            clickUpdate(w);
            QVERIFY(s.cfg().startsWith("[fltsim.0]\r\ntitle=Zero edited\r\n"));
            QVERIFY(s.cfg().contains("[fltsim.1]\r\ntitle=One\r\n"));
            QCOMPARE(w.ui.ListView1->selectedRow(), 0);
            QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Zero edited"));
        }
    }

    void exitCommentsFollowTheLoadedFolder()
    {
        // Folder A's exit.1 has a comment; folder B's has none. After switching
        // to B its exit.1 must be written without A's comment.
        const QByteArray a = "[fltsim.0]\r\ntitle=A\r\n[exits]\r\nexit.1=1, 2, 3, 4, 1 // cargo A\r\n";
        const QByteArray b = "[fltsim.0]\r\ntitle=B\r\n[exits]\r\nexit.1=1, 2, 3, 4, 1\r\n";
        Scene s(a, {{"B/aircraft.cfg", b}}, QStringLiteral("A"));
        frm_Main& w = s.start();
        QCOMPARE(w.sExit1Comment, QStringLiteral("// cargo A"));
        w.ui.Dir1->setPath(s.root() + "/B");
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("B"));
        clickUpdate(w);
        const QByteArray written = testutil::readFile(s.root() + "/B/aircraft.cfg");
        QVERIFY2(written.contains(QByteArray("exit.1= 1, 2, 3, 4, 1" + kBlank12 + "\r\n")),
                 written.constData());
        QVERIFY(!written.contains("cargo A"));
    }

    void confirmation_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("written");
        QTest::newRow("option off: no question") << false << 0 << true;
        QTest::newRow("Yes") << true << int(msgbox::vbYes) << true;
        QTest::newRow("No") << true << int(msgbox::vbNo) << false;
    }

    void confirmation()
    {
        QFETCH(bool, confirm);
        QFETCH(int, answer);
        QFETCH(bool, written);
        Scene s(kBase);
        if (answer)
            s.answers.button(answer);
        frm_Main& w = s.start(confirm, /*autoBackup*/ true);
        ageFile(s.cfgPath());
        const QDateTime before = mtime(s.cfgPath());
        w.ui.txt_Title->setText(QStringLiteral("Edited"));
        w.ui.txt_WingSpan_New->setText(QStringLiteral("50"));
        clickUpdate(w);

        QCOMPARE(s.answers.calls().size(), size_t(confirm ? 1 : 0));
        if (confirm) {
            const msgbox::Call& box = s.answers.calls().front();
            QCOMPARE(box.prompt, QStringLiteral("Are you sure?"));
            QCOMPARE(box.style, int(msgbox::vbYesNo | msgbox::vbQuestion));
            QCOMPARE(box.title, msgbox::programTitle());
        }
        QCOMPARE(s.cfg() != kBase, written);
        QCOMPARE(mtime(s.cfgPath()) != before, written);
        // No backup either when the answer is No.
        QCOMPARE(QFileInfo::exists(s.folder() + "/aircraft.zib"), written);
        // Without a reload the typed values stay in the fields.
        QCOMPARE(w.ui.txt_WingSpan_New->text(), written ? QString() : QStringLiteral("50"));
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Edited"));
    }

    void backupOnce_data()
    {
        QTest::addColumn<bool>("autoBackup");
        QTest::addColumn<QString>("existingName"); // empty: none
        QTest::addColumn<QByteArray>("existing");
        QTest::newRow("made from the original") << true << "" << QByteArray();
        QTest::newRow("existing backup untouched") << true << "aircraft.zib" << QByteArray("old backup\r\n");
        QTest::newRow("existing backup in capitals") << true << "AIRCRAFT.ZIB" << QByteArray("OLD\r\n");
        QTest::newRow("option off: none made") << false << "" << QByteArray();
    }

    void backupOnce()
    {
        QFETCH(bool, autoBackup);
        QFETCH(QString, existingName);
        QFETCH(QByteArray, existing);
        Scene s(kBase);
        const QString backup = s.folder() + u'/' + (existingName.isEmpty() ? "aircraft.zib" : existingName);
        if (!existingName.isEmpty()) {
            testutil::writeFile(backup, existing);
            ageFile(backup);
        }
        const QDateTime backupTime = mtime(backup);
        frm_Main& w = s.start(false, autoBackup);
        for (const char* title : {"First", "Second"}) {
            w.ui.txt_Title->setText(QString::fromLatin1(title));
            clickUpdate(w);
            QVERIFY(s.cfg().contains(QByteArray(QByteArray("title=") + title + "\r\n")));
        }
        QVERIFY(s.answers.calls().empty());
        if (!autoBackup) {
            QVERIFY(!QFileInfo::exists(backup));
        } else if (existingName.isEmpty()) {
            QCOMPARE(testutil::readFile(backup), kBase);
        } else {
            QCOMPARE(testutil::readFile(backup), existing);
            QCOMPARE(mtime(backup), backupTime);
            if (existingName != u"aircraft.zib")
                QVERIFY(!QFileInfo::exists(s.folder() + "/aircraft.zib"));
        }
    }

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
        const QString mdlPath = s.folder() + "/model/Plane.mdl";
        ageFile(mdlPath);
        if (readOnly)
            testutil::setMode(mdlPath, 0444);
        const QDateTime before = mtime(mdlPath);
        frm_Main& w = s.start();
        QCOMPARE(w.ui.txt_FS9Radius->text(), tag == "MDLX" ? QStringLiteral("n/a") : QStringLiteral("42"));
        if (!typed.isNull())
            w.ui.txt_FS9Radius->setText(typed);
        w.ui.txt_Title->setText(QStringLiteral("Edited"));
        clickUpdate(w);

        const QByteArray after = testutil::readFile(mdlPath);
        if (expectedByte < 0) {
            QCOMPARE(after, mdl);
            QCOMPARE(mtime(mdlPath), before);
        } else {
            QByteArray expected = mdl;
            expected[28] = static_cast<char>(expectedByte);
            QCOMPARE(after, expected);
            QVERIFY(QFileInfo(mdlPath).permissions().testFlag(QFileDevice::WriteOwner));
            QCOMPARE(w.ui.txt_FS9Radius->text(), QString::number(expectedByte));
            QCOMPARE(w.vRadiusOrg, QString::number(expectedByte));
        }
        QCOMPARE(s.answers.calls().size(), size_t(message ? 1 : 0));
        if (message) {
            QCOMPARE(s.answers.calls().front().prompt, kRadiusMessage);
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
        const QString outside = s.root() + "/x.mdl";
        ageFile(outside);
        const QDateTime before = mtime(outside);
        frm_Main& w = s.start();
        QCOMPARE(w.ui.txt_FS9Radius->text(), QStringLiteral("42"));
        w.ui.txt_FS9Radius->setText(QStringLiteral("50"));
        w.ui.txt_Title->setText(QStringLiteral("Edited"));
        clickUpdate(w);
        QCOMPARE(testutil::readFile(outside), mdl);
        QCOMPARE(mtime(outside), before);
        // The user asked for a change that was not made: say so.
        QCOMPARE(s.answers.prompts(), QStringList{kRadiusMessage});
        QVERIFY(s.cfg().contains("title=Edited\r\n"));
    }

    void radiusOfAnotherEntryIsNotWritten()
    {
        // Row 1 has no model of its own: its (emptied) radius field must not
        // reach row 0's model file.
        const QByteArray mdl = mdlBytes("MDL9", 42);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=\r\n[fltsim.1]\r\ntitle=B\r\nmodel=Ghost\r\n",
                {{"Plane/model/model.cfg", "normal=Plane\r\n"}, {"Plane/model/Plane.mdl", mdl}});
        const QString mdlPath = s.folder() + "/model/Plane.mdl";
        ageFile(mdlPath);
        const QDateTime before = mtime(mdlPath);
        frm_Main& w = s.start();
        w.ui.ListView1->selectRow(1);
        w.ListView1_DblClick();
        clickUpdate(w);
        QCOMPARE(testutil::readFile(mdlPath), mdl);
        QCOMPARE(mtime(mdlPath), before);
        QVERIFY(s.answers.calls().empty());
    }

    void readOnlyAircraftCfg()
    {
        Scene s(kBase);
        frm_Main& w = s.start();
        testutil::setMode(s.cfgPath(), 0444);
        w.ui.txt_Title->setText(QStringLiteral("Edited"));
        w.ui.txt_WingSpan_New->setText(QStringLiteral("50"));
        clickUpdate(w);

        QCOMPARE(s.cfg(), kBase);
        QCOMPARE(s.answers.calls().size(), size_t(1));
        const msgbox::Call& box = s.answers.calls().front();
        QVERIFY2(box.prompt.startsWith(QStringLiteral("The file:") + s.cfgPath() +
                                       QStringLiteral("\r\n\r\n could not be written.")),
                 qPrintable(box.prompt));
        QCOMPARE(box.style, int(msgbox::vbOKOnly | msgbox::vbCritical));
        QCOMPARE(box.title, msgbox::programTitle());
        // No reload: the edits stay for another try.
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Edited"));
        QCOMPARE(w.ui.txt_WingSpan_New->text(), QStringLiteral("50"));
        QCOMPARE(w.ui.ListView1->rowText(0, 1), QStringLiteral("Liner A"));
        testutil::setMode(s.cfgPath(), 0644);
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
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("shownAfter");
        QTest::newRow("de 35,5") << "de_DE"
                                 << "35,5" << QByteArray("wing_span=35.5\r\n") << "35,5";
        QTest::newRow("en 35.5") << "en_US"
                                 << "35.5" << QByteArray("wing_span=35.5\r\n") << "35.5";
        QTest::newRow("de whole number") << "de_DE"
                                         << "36" << QByteArray("wing_span=36\r\n") << "36";
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

QTEST_MAIN(TestFrmMainWriteBack)
#include "tst_frmmain_writeback.moc"
