// Batch validation from the main window: the combined report, the folders it
// leaves clean, where the main window ends up, the simulator choice, and runs
// that are refused or stopped.
#include "mainwindow/frm_Main.h"
#include "mainwindow/frm_TextEditor.h"
#include "mainwindow/widgets/DirList.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "validation/frm_AnalyzeOptions.h"
#include "validation/ValidationSetup.h"
#include "validation/frm_ValidateAll.h"

#include "BoxRecorder.h"
#include "MainWindowFixture.h"
#include "OddFile.h"
#include "TestUtil.h"
#include "ValidationFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

QByteArray framed(const QString& line)
{
    const QByteArray stars(line.size(), '*');
    return stars + "\r\n" + line.toUtf8() + "\r\n" + stars + "\r\n";
}

} // namespace

using testutil::flagsWith;

class TestValidateAll : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    int m_case = 0;
    QString m_root;
    QString m_temp;

    // A root with three folders: Alpha (clean for options 0-2), Bravo (no
    // aircraft.cfg) and Charlie (two entries with one title). The main window
    // shows the root; reports go to a temporary folder outside it.
    std::unique_ptr<testutil::MainWindowFixture> start(const QString& flags, bool fs9 = true,
                                                       bool fsx = false)
    {
        const QString base = m_tmp.path() + "/case" + QString::number(++m_case);
        m_root = base + "/Root";
        testutil::writeFile(m_root + "/Alpha/aircraft.cfg",
                            "[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=B\r\n");
        testutil::writeFile(m_root + "/Bravo/readme.txt", "no aircraft here\r\n");
        testutil::writeFile(m_root + "/Charlie/aircraft.cfg",
                            "[fltsim.0]\r\ntitle=C\r\natc_airline=HEATHERJET\r\n[fltsim.1]\r\ntitle=C\r\n");
        const testutil::PrefixSpec spec = testutil::simulatorSpec(fs9, fsx);
        auto f = std::make_unique<testutil::MainWindowFixture>(
            spec, QMap<QString, QString>{{"Path", m_root}, {"AnalyzeOptions", flags}, {"Editor", "1"}});
        f->start();
        m_temp = base + "/temp/";
        testutil::makeDir(m_temp);
        globals::gsTempPath = m_temp;
        return f;
    }

    QString allReport() const { return m_temp + "zibcheckall.log"; }

    frm_ValidateAll* openBatch(frm_Main& w)
    {
        w.mnuvalidateAll_Click();
        return frm_ValidateAll::existing();
    }

private slots:
    void cleanup() { testutil::closeReportWindows(); }

    void combinedReport_data()
    {
        QTest::addColumn<bool>("errorsOnly");
        QTest::newRow("All aircraft") << false;
        QTest::newRow("Errors only") << true;
    }
    void combinedReport()
    {
        QFETCH(bool, errorsOnly);
        auto f = start(flagsWith({0, 1, 2}));
        frm_ValidateAll* w = openBatch(f->window());
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->txtFolder->text(), m_root);
        QVERIFY(w->OptRep[0]->isChecked());
        if (errorsOnly)
            w->OptRep[1]->click();

        testutil::BoxRecorder boxes;
        w->cmdStart_Click();
        QVERIFY(boxes.calls().empty());
        // The root holds no aircraft: the last folder validated is remembered.
        QCOMPARE(testutil::storedSetting("Path"), m_root + "/Charlie");

        QByteArray all = testutil::readFile(allReport());
        const QList<QByteArray> lines = all.split('\n');
        QVERIFY(lines.size() > 3);
        const QByteArray header = lines[1].chopped(1);
        QVERIFY(header.startsWith("Fernquill V."));
        const QString ending = "Validate all aircraft below folder : \"" + m_root + "\"" +
                               (errorsOnly ? " (error report) *" : " (full report) *");
        QVERIFY(header.endsWith(ending.toUtf8()));
        QVERIFY(all.startsWith(framed(QString::fromUtf8(header))));
        all.remove(0, framed(QString::fromUtf8(header)).size());

        // Charlie's report is the last one validated, and the last block.
        const QByteArray charlie = testutil::readFile(m_temp + "zibcheck.log");
        QVERIFY(charlie.contains(QString("Report for \"" + m_root + "/Charlie").toUtf8()));
        QVERIFY(charlie.contains("[fltsim.x] title unique:           failed"));
        QVERIFY(all.endsWith(charlie));
        all.chop(charlie.size());

        const QByteArray skip = framed("No aircraft.cfg file found in folder " + m_root + "/Bravo *");
        QVERIFY(all.endsWith(skip));
        all.chop(skip.size());

        // Before them, Alpha's clean report, only in the full report.
        if (errorsOnly) {
            QCOMPARE(all, QByteArray());
        } else {
            QVERIFY(all.startsWith("*"));
            QVERIFY(all.contains(QString("Report for \"" + m_root + "/Alpha").toUtf8()));
            QVERIFY(all.contains("[fltsim.x] title unique:           passed"));
            QVERIFY(!all.contains("failed"));
        }

        // Shown like the single report; the main window is back at the root.
        QCOMPARE(globals::gsEditFile, allReport());
        QCOMPARE(globals::giEditorMode, 3);
        QVERIFY(frm_TextEditor::existing());
        QCOMPARE(f->window().folderPath(), m_root);
        QVERIFY(!globals::gbBatchValidate);
        QVERIFY(!w->running());
        QCOMPARE(w->ProgressBar1->maximum(), 3);
        QCOMPARE(w->ProgressBar1->value(), 3);
    }

    void oddAircraftCfgIsReportedAndTheBatchGoesOn_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : testutil::kOddKinds)
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void oddAircraftCfgIsReportedAndTheBatchGoesOn()
    {
        // Alpha's aircraft.cfg is a pipe (or socket, device, folder): the
        // folder gets its line in the report, and the folders after it theirs.
        QFETCH(QString, kind);
        auto f = start(flagsWith({0, 1, 2}));
        const testutil::OddFile odd(m_root + "/Alpha/aircraft.cfg", kind);
        QVERIFY(odd.made());
        frm_ValidateAll* w = openBatch(f->window());
        QVERIFY(w);
        testutil::BoxRecorder boxes;
        w->cmdStart_Click();
        QVERIFY(boxes.calls().empty());
        QVERIFY(!w->running());
        QCOMPARE(odd.readerOpens(), 0);

        const QByteArray all = testutil::readFile(allReport());
        QVERIFY(all.contains(framed("No aircraft.cfg file found in folder " + m_root + "/Alpha *")));
        QVERIFY(all.contains(framed("No aircraft.cfg file found in folder " + m_root + "/Bravo *")));
        QVERIFY(all.contains(QString("Report for \"" + m_root + "/Charlie").toUtf8()));
        QCOMPARE(f->window().folderPath(), m_root);
    }

    void linksAtTheReportNamesAreReplaced()
    {
        auto f = start(flagsWith({0, 1, 2}));
        const QString victim = m_root + "/../victim";
        testutil::writeFile(victim, "keep");
        for (const char* name : {"zibcheck.log", "zibcheckall.log"})
            QVERIFY(QFile::link(victim, m_temp + name));
        frm_ValidateAll* w = openBatch(f->window());
        testutil::BoxRecorder boxes;
        QTest::mouseClick(w->cmdStart, Qt::LeftButton);
        QVERIFY(boxes.calls().empty());
        QCOMPARE(testutil::readFile(victim), QByteArray("keep"));
        QVERIFY(!QFileInfo(allReport()).isSymLink());
        QVERIFY(testutil::readFile(allReport()).contains("Report for"));
    }

    void refusedTemporaryFolderStopsTheBatch()
    {
        auto f = start(flagsWith({0}));
        const QString elsewhere = m_root + "/../elsewhere";
        testutil::makeDir(elsewhere);
        QVERIFY(QDir().rmdir(m_temp) && QFile::link(elsewhere, m_temp.chopped(1)));
        frm_ValidateAll* w = openBatch(f->window());
        testutil::BoxRecorder boxes;
        QTest::mouseClick(w->cmdStart, Qt::LeftButton);
        QCOMPARE(boxes.calls().size(), size_t(1));
        QVERIFY2(boxes.prompts().front().endsWith(u"it is a symbolic link."), qPrintable(boxes.prompts().front()));
        QCOMPARE(QDir(elsewhere).entryList(QDir::Files), QStringList{});
    }

    void staleLogsAreGone()
    {
        auto f = start(flagsWith({0, 1, 2}));
        for (const char* log :
             {"/zibcheck.log", "/Alpha/zibcheck.log", "/Bravo/ZIBCHECK.LOG", "/Charlie/zibcheck.log"})
            testutil::writeFile(m_root + log, "stale\r\n");
        testutil::BoxRecorder boxes;
        openBatch(f->window())->cmdStart_Click();
        for (const char* log :
             {"/zibcheck.log", "/Alpha/zibcheck.log", "/Bravo/ZIBCHECK.LOG", "/Charlie/zibcheck.log"})
            QVERIFY2(!QFileInfo::exists(m_root + log), log);
        QVERIFY(!testutil::readFile(allReport()).contains("stale"));
    }

    // The temporary zibcheck.log holds the last folder's report, or nothing
    // when that folder has none.
    void lastFolderWithoutReportLeavesNoSingleReport()
    {
        auto f = start(flagsWith({0}));
        QVERIFY(QFile::remove(m_root + "/Charlie/aircraft.cfg"));
        testutil::writeFile(m_temp + "zibcheck.log", "earlier\r\n");
        testutil::BoxRecorder boxes;
        openBatch(f->window())->cmdStart_Click();
        QVERIFY(!QFileInfo::exists(m_temp + "zibcheck.log"));
        QVERIFY(testutil::readFile(allReport())
                    .endsWith(framed("No aircraft.cfg file found in folder " + m_root + "/Charlie *")));
    }

    void mainWindowReturnsToItsOwnFolder()
    {
        auto f = start(flagsWith({0, 1, 2}));
        frm_ValidateAll* w = openBatch(f->window());
        // The user moves on in the main window while the batch window stays open.
        const QString elsewhere = m_tmp.path() + "/Elsewhere" + QString::number(m_case);
        testutil::writeFile(elsewhere + "/aircraft.cfg", "[fltsim.0]\r\ntitle=E\r\n");
        QVERIFY(f->window().ui.Dir1->setPath(elsewhere));
        testutil::BoxRecorder boxes;
        w->cmdStart_Click();
        QCOMPARE(f->window().folderPath(), elsewhere);
        QCOMPARE(w->sStartFolder, elsewhere);
        // The header names the root that was validated.
        const QByteArray all = testutil::readFile(allReport());
        QVERIFY(all.contains(
            QString("Validate all aircraft below folder : \"" + m_root + "\" (full report) *").toUtf8()));
        QVERIFY(all.contains("/Alpha"));
        // Asked for again from the new folder, the idle window takes it as root.
        f->window().mnuvalidateAll_Click();
        QCOMPARE(w->txtFolder->text(), elsewhere);
        QCOMPARE(globals::gsValidateRoot, elsewhere);
    }

    void simulatorOptions_data()
    {
        QTest::addColumn<bool>("fs9");
        QTest::addColumn<bool>("fsx");
        QTest::addColumn<QString>("expected"); // frame, FS9, FSX: e/d enabled, + selected
        QTest::newRow("only FS9") << true << false << "e e+ d";
        QTest::newRow("only FSX") << false << true << "e d e+";
        QTest::newRow("both") << true << true << "e e e+";
        QTest::newRow("neither") << false << false << "d d d";
    }
    void simulatorOptions()
    {
        QFETCH(bool, fs9);
        QFETCH(bool, fsx);
        QFETCH(QString, expected);
        auto f = start(flagsWith({0}), fs9, fsx);
        frm_ValidateAll* w = openBatch(f->window());
        const auto state = [](QWidget* c, QRadioButton* o) {
            QString s = c->isEnabled() ? "e" : "d";
            if (o && o->isChecked())
                s += "+";
            return s;
        };
        QCOMPARE(QStringList({state(w->Frame1, nullptr), state(w->OptATC[0], w->OptATC[0]),
                              state(w->OptATC[1], w->OptATC[1])})
                     .join(' '),
                 expected);
    }

    void batchUsesTheChosenSimulator_data()
    {
        QTest::addColumn<bool>("chooseFS9");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("FS9 chosen") << true << QByteArray("FS9");
        QTest::newRow("FSX as preset") << false << QByteArray("FSX");
    }
    void batchUsesTheChosenSimulator()
    {
        QFETCH(bool, chooseFS9);
        QFETCH(QByteArray, name);
        auto f = start(flagsWith({0, 9}), true, true);
        frm_ValidateAll* w = openBatch(f->window());
        if (chooseFS9)
            w->OptATC[0]->click();
        testutil::BoxRecorder boxes;
        w->cmdStart_Click();
        QVERIFY(boxes.calls().empty()); // no simulator question in a batch
        QVERIFY(testutil::readFile(allReport())
                    .contains(QByteArray(QByteArray("atc_airlines compared against:     ") + name)));
    }

    // Each folder's textures are looked for in the format of its first entry's model.
    void textureFormatOfTheFirstEntrysModel_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("FS9 model") << QByteArray("MDL9") << QByteArray("*.bmp");
        QTest::newRow("FSX model") << QByteArray("MDLX") << QByteArray("*.dds");
    }
    void textureFormatOfTheFirstEntrysModel()
    {
        QFETCH(QByteArray, tag);
        QFETCH(QByteArray, format);
        auto f = start(flagsWith({13}));
        testutil::writeFile(m_root + "/Delta/aircraft.cfg", "[fltsim.0]\r\ntitle=D\r\nmodel=\r\n");
        testutil::writeFile(m_root + "/Delta/model/Model.cfg", "[models]\r\nnormal=Plane\r\n");
        testutil::writeFile(m_root + "/Delta/model/Plane.mdl",
                            QByteArray("RIFF\x10\0\0\0", 8) + tag + QByteArray(52, 'h'));
        frm_ValidateAll* w = openBatch(f->window());
        testutil::BoxRecorder boxes;
        QTest::mouseClick(w->cmdStart, Qt::LeftButton);
        QVERIFY(boxes.calls().empty());
        const QByteArray all = testutil::readFile(allReport());
        const qsizetype delta = all.indexOf(QString("Report for \"" + m_root + "/Delta").toUtf8());
        QVERIFY(delta > 0);
        QVERIFY(all.indexOf(QByteArray(" " + format + "\r\n"), delta) > 0);
    }

    void nothingToRun_data()
    {
        QTest::addColumn<bool>("allOff");
        QTest::newRow("root without subfolders") << false;
        QTest::newRow("all report options off") << true;
    }
    void nothingToRun()
    {
        QFETCH(bool, allOff);
        auto f = start(allOff ? QStringList(23, "0").join(QChar(0xA6)) : flagsWith({0}));
        QString root = m_root;
        if (!allOff) {
            root = m_tmp.path() + "/Empty" + QString::number(m_case);
            testutil::writeFile(root + "/aircraft.txt", "a file is no folder\r\n");
            QVERIFY(f->window().ui.Dir1->setPath(root));
        }
        testutil::writeFile(allReport(), "earlier\r\n");
        frm_ValidateAll* w = openBatch(f->window());
        testutil::BoxRecorder boxes;
        w->cmdStart_Click();
        // Said once, before anything is touched.
        QCOMPARE(
            boxes.prompts(),
            QStringList{allOff ? QString("You have disabled all analysis reporting options. Exiting here....")
                               : QString("There are no folders below \"" + root + "\" to validate.")});
        QCOMPARE(boxes.calls().front().style, msgbox::vbOKOnly | msgbox::vbInformation);
        QCOMPARE(testutil::readFile(allReport()), QByteArray("earlier\r\n"));
        QVERIFY(!frm_TextEditor::existing());
        QCOMPARE(f->window().folderPath(), root);
        QCOMPARE(w->ProgressBar1->value(), 0);
    }

    // Without an airlines.cfg a validation turns the airline options off for
    // the rest of the program run; with no other option on, every folder
    // still gets its block and nothing is asked. Folders come in NTFS listing
    // order.
    void airlineOptionsTurnedOff_data()
    {
        QTest::addColumn<bool>("before");
        QTest::newRow("by the first folder") << false;
        QTest::newRow("by an earlier validation") << true;
    }
    void airlineOptionsTurnedOff()
    {
        QFETCH(bool, before);
        auto f = start(flagsWith({9, 10, 11}), false, false);
        if (before)
            ValidationSetup::forceAirlineOptionsOff(globals::gsAnalyzeFlags);
        for (const char* name : {"_old", "[x]"})
            testutil::writeFile(m_root + "/" + name + "/aircraft.cfg", "[fltsim.0]\r\ntitle=A\r\n");
        frm_ValidateAll* w = openBatch(f->window());
        testutil::BoxRecorder boxes;
        QTest::mouseClick(w->cmdStart, Qt::LeftButton);
        QCOMPARE(boxes.prompts(), QStringList());

        const QByteArray all = testutil::readFile(allReport());
        qsizetype at = 0;
        for (const QString folder : {"Alpha", "Bravo", "Charlie", "[x]", "_old"}) {
            const QString block = folder == u"Bravo"
                                      ? QString("No aircraft.cfg file found in folder " + m_root + "/Bravo *")
                                      : QString("Report for \"" + m_root + "/" + folder);
            const qsizetype found = all.indexOf(block.toUtf8(), at);
            QVERIFY2(found > at, qPrintable(folder));
            at = found;
        }
        QVERIFY(!all.contains("atc_airlines"));
    }

    void exitStopsTheRunAfterTheCurrentFolder()
    {
        auto f = start(flagsWith({0, 1, 2}));
        testutil::writeFile(allReport(), "earlier\r\n");
        frm_ValidateAll* w = openBatch(f->window());
        testutil::BoxRecorder boxes;
        // While the first folder is under way: Start again (ignored), then Exit.
        QTimer::singleShot(0, w, [w] {
            w->cmdStart_Click();
            w->cmdStop_Click();
        });
        w->cmdStart_Click();
        QVERIFY(boxes.calls().empty());
        QCOMPARE(w->ProgressBar1->value(), 1);
        QVERIFY(!w->isVisible());
        QVERIFY(!w->running());
        QVERIFY(!globals::gbBatchValidate);
        // No half report, nothing shown, the main window back where it was.
        QCOMPARE(testutil::readFile(allReport()), QByteArray("earlier\r\n"));
        QVERIFY(!frm_TextEditor::existing());
        QCOMPARE(f->window().folderPath(), m_root);

        // The window serves the next run, set up afresh.
        f->window().mnuvalidateAll_Click();
        QVERIFY(w->isVisible());
        QCOMPARE(w->ProgressBar1->value(), 0);
        w->cmdStart_Click();
        QVERIFY(testutil::readFile(allReport()).contains("/Charlie"));
    }

    void menusAndPanelNineOpenTheWindows()
    {
        auto f = start(flagsWith({0}));
        frm_Main& w = f->window();
        testutil::BoxRecorder boxes;
        // An empty grid: panel 9 opens the batch window instead of validating.
        w.StatusBar1_PanelDblClick(9);
        QVERIFY(frm_ValidateAll::existing() && frm_ValidateAll::existing()->isVisible());
        QVERIFY(!QFileInfo::exists(m_temp + "zibcheck.log"));
        QVERIFY(boxes.calls().empty());
        frm_ValidateAll::existing()->close();

        QVERIFY(w.ui.mnuvalidateAll->isEnabled());
        w.ui.mnuvalidateAll->trigger();
        QVERIFY(frm_ValidateAll::existing()->isVisible());
        w.ui.mnuAnalyzeOptions->trigger();
        QVERIFY(frm_AnalyzeOptions::existing() && frm_AnalyzeOptions::existing()->isVisible());
        QCOMPARE(frm_AnalyzeOptions::existing()->parentWidget(), &w);
    }
};

QTEST_MAIN(TestValidateAll)
#include "tst_validateall.moc"
