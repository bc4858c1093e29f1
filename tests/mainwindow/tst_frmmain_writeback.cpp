// "&1. Update" on real widgets: the whole aircraft.cfg after the write-back,
// the question, the backup copy and a file that cannot be written.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "AircraftScene.h"
#include "SimFiles.h"
#include "TestUtil.h"
#include "WindowEdits.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using testutil::ageFile;
using testutil::Edits;
using testutil::mtime;

// An aircraft folder and a main window started on it with the given options.
// Boxes are recorded from before the start-up on; unless a test queues
// answers, each box gets its first button.
using Scene = testutil::AircraftScene;

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

// kBase after a write-back of its first entry that changed no field: comments
// of rewritten entry keys go, missing keys are added after the entry's last
// key, exits get their written form.
const QByteArray kBaseWritten =
    QByteArray(kBase)
        .replace("title=Liner A // livery one\r\n", "title=Liner A\r\n")
        .replace("atc_parking_types=gate,ramp\r\n", "atc_parking_types=GATE,RAMP\r\n")
        .replace("ui_createdby = Someone\r\n", "ui_createdby =Someone\r\n")
        .replace("description=Nice // kept\r\n",
                 "description=Nice // kept\r\natc_parking_codes=\r\natc_id=\r\natc_model=\r\n")
        .replace("exit.0=0.4, 10, -3, 0, 0 // main door\r\n",
                 QByteArray("exit.0= 0.4, 10, -3, 0, 0" + kBlank12 + "// main door\r\n"))
        .replace("exit.1=0.4,-10,-3,0,1\r\n", QByteArray("exit.1= 0.4, -10, -3, 0, 1" + kBlank12 + "\r\n"))
        .replace("exit.2 = 0.5, 5, 3, 0, 2   // emergency\r\n",
                 QByteArray("exit.2 = 0.5, 5, 3, 0, 2" + kBlank12 + "// emergency\r\n"));

// The keys the write-back adds to an entry that lacks them, in its order.
const QList<QByteArray> kAddedKeys{"atc_parking_types", "atc_parking_codes", "ui_createdby", "ui_typerole",
                                   "ui_manufacturer",   "ui_type",           "ui_variation", "atc_id",
                                   "atc_flight_number", "atc_airline",       "atc_model"};

// The lines "key=" the write-back adds, but for the keys the entry has.
QByteArray addedKeys(const QList<QByteArray>& present = {}, const QByteArray& eol = "\r\n")
{
    QByteArray lines;
    for (const QByteArray& key : kAddedKeys) {
        if (!present.contains(key))
            lines += key + '=' + eol;
    }
    return lines;
}

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
        QTest::newRow("unchanged fields") << kBase << 0 << Edits{} << kBaseWritten;

        // Edits: an emptied variation, heavy ticked, a new span with a decimal
        // comma, exit.1 incomplete (stays as it was), exit.0 with a decimal
        // comma, an emptied [general] atc_model.
        QTest::newRow("edited fields")
            << kBase << 0
            << Edits{{"txt_Title", "Liner A2"}, {"txt_ui_Variation", ""},      {"txt_atc_Id", "N123"},
                     {"chk_atc_heavy", "1"},    {"txt_WingSpan_New", "118,5"}, {"txt_Exit_0[0]", "0,5"},
                     {"txt_Exit_1[2]", ""},     {"txt_general_atc_model", ""}}
            << QByteArray(kBaseWritten)
                   .replace("atc_model=B738\r\n", "atc_model=\r\n")
                   .replace("title=Liner A\r\n", "title=Liner A2\r\n")
                   .replace("ui_variation=Liner A\r\n", "ui_variation=\r\n")
                   .replace("atc_heavy=0\r\n", "atc_heavy=1\r\n")
                   .replace("atc_id=\r\n", "atc_id=N123\r\n")
                   .replace("wing_span=112.6 // feet\r\n", "wing_span=118.5\r\n")
                   .replace("exit.0= 0.4,", "exit.0= 0.5,")
                   .replace(QByteArray("exit.1= 0.4, -10, -3, 0, 1" + kBlank12 + "\r\n"),
                            "exit.1=0.4,-10,-3,0,1\r\n");

        // Entry sections numbered out of order: the selected row's section is
        // written, the other stays.
        QTest::newRow("[fltsim.3] and [fltsim.7], second row")
            << QByteArray("[fltsim.3]\r\ntitle=Three\r\n[fltsim.7]\r\ntitle=Seven // c\r\natc_heavy=1\r\n")
            << 1 << Edits{{"txt_Title", "Seven new"}}
            << "[fltsim.3]\r\ntitle=Three\r\n[fltsim.7]\r\ntitle=Seven new\r\natc_heavy=1\r\n" + addedKeys() +
                   "[general]\r\natc_model=\r\natc_type=\r\n";

        // A section named just "Fltsim" is no entry; the entry spelled in
        // capitals is written in place.
        QTest::newRow("entry in capitals, [Fltsim] no entry")
            << QByteArray("[Fltsim]\r\ntitle=Not an entry\r\n[FLTSIM.0]\r\nTITLE=A\r\n") << 0
            << Edits{{"txt_Title", "B"}}
            << "[Fltsim]\r\ntitle=Not an entry\r\n[FLTSIM.0]\r\nTITLE=B\r\n" + addedKeys() +
                   "atc_heavy=0\r\n[general]\r\natc_model=\r\natc_type=\r\n";

        // wing_span in [General] is read; the new value goes into a new
        // [airplane_geometry] at the end, the old line stays. The last line
        // has no line end: one is added before the new section.
        QTest::newRow("wing_span only in [General]")
            << QByteArray("[fltsim.0]\r\ntitle=A\r\n[General]\r\natc_type=X\r\nwing_span=35\r\natc_model=Y")
            << 0 << Edits{{"txt_WingSpan_New", "36"}}
            << "[fltsim.0]\r\ntitle=A\r\n" + addedKeys() +
                   "atc_heavy=0\r\n[General]\r\natc_type=X\r\nwing_span=35\r\natc_model=Y\r\n"
                   "[airplane_geometry]\r\nwing_span=36\r\n";

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
                          "ui_type='737'\r\nui_variation=W\r\natc_heavy=0\r\n") +
                   addedKeys({"atc_parking_types", "ui_type", "ui_variation"}) +
                   "[general]\r\natc_model=\"M\"\r\natc_type=T\r\n";

        // A file with LF line ends keeps them, new lines included.
        QTest::newRow("LF line ends")
            << QByteArray("[fltsim.0]\ntitle=A\natc_heavy=1\n\n[general]\natc_model=M\natc_type=T\n") << 0
            << Edits{{"txt_Title", "B"}}
            << "[fltsim.0]\ntitle=B\natc_heavy=1\n" + addedKeys({}, "\n") +
                   "\n[general]\natc_model=M\natc_type=T\n";
    }

    void wholeFile()
    {
        QFETCH(QByteArray, cfg);
        QFETCH(int, row);
        QFETCH(Edits, edits);
        Scene s(cfg);
        frm_Main& w = testutil::runUpdateRow(s, QStringLiteral("cmd_cfg_Update"));
        // The same row is shown again, with the file's values.
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
                {{"Plane/model/model.cfg", "normal=Plane\r\n"},
                 {"Plane/model/Plane.mdl", testutil::mdlBytes("MDLX", 0, 11)}});
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

    void confirmation_data() { testutil::addConfirmationRows(); }

    void confirmation()
    {
        QFETCH(bool, confirm);
        QFETCH(bool, written);
        Scene s(kBase);
        frm_Main& w = testutil::startForConfirmationRow(s);
        ageFile(s.cfgPath());
        const QDateTime before = mtime(s.cfgPath());
        w.ui.txt_Title->setText(QStringLiteral("Edited"));
        w.ui.txt_WingSpan_New->setText(QStringLiteral("50"));
        clickUpdate(w);

        testutil::verifyAskedSure(s.answers, confirm);
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
};

QTEST_MAIN(TestFrmMainWriteBack)
#include "tst_frmmain_writeback.moc"
