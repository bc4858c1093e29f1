// Validation started from the main window: the questions and stops before the
// folder is examined, batch mode, and where the report goes.
#include "mainwindow/frm_Main.h"
#include "mainwindow/frm_TextEditor.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"

#include "BoxRecorder.h"
#include "MainWindowFixture.h"
#include "SimFiles.h"
#include "TestUtil.h"
#include "UrlRecorder.h"
#include "ValidationFixture.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace {

const QString kAllOn = QStringList(23, "1").join(QChar(0xA6));

} // namespace

using testutil::flagsWith;

class TestMnuValidate : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;

    // A window on an aircraft with two entries, reports going to a temporary folder.
    std::unique_ptr<testutil::MainWindowFixture> start(bool fs9, bool fsx, const QString& flags,
                                                       const QByteArray& cfg = {}, bool editor = true)
    {
        const testutil::PrefixSpec spec = testutil::simulatorSpec(fs9, fsx);
        const QString folder = m_tmp.path() + "/Plane";
        testutil::writeFile(folder + "/aircraft.cfg",
                            cfg.isNull()
                                ? QByteArray("[fltsim.0]\r\ntitle=A\r\natc_airline=HEATHERJET\r\n"
                                             "[fltsim.1]\r\ntitle=A\r\n[effects]\r\nwake=fx_wake\r\n")
                                : cfg);
        auto f = std::make_unique<testutil::MainWindowFixture>(
            spec, QMap<QString, QString>{
                      {"Path", folder}, {"AnalyzeOptions", flags}, {"Editor", editor ? "1" : "0"}});
        f->start();
        globals::gsTempPath = m_tmp.path() + "/temp/";
        testutil::makeDir(globals::gsTempPath);
        QFile::remove(reportPath());
        return f;
    }

    QString reportPath() const { return m_tmp.path() + "/temp/zibcheck.log"; }

private slots:
    void cleanup() { testutil::closeReportWindows(); }

    void linkAtTheReportNameIsReplaced()
    {
        auto f = start(false, false, flagsWith({0}));
        const QString victim = m_tmp.path() + "/victim";
        testutil::writeFile(victim, "keep");
        QVERIFY(QFile::link(victim, reportPath()));
        testutil::BoxRecorder boxes;
        f->window().ui.mnuValidate->trigger();
        QVERIFY(boxes.calls().empty());
        QCOMPARE(testutil::readFile(victim), QByteArray("keep"));
        QVERIFY(!QFileInfo(reportPath()).isSymLink());
        QVERIFY(testutil::readFile(reportPath()).contains("[fltsim.x] sections:"));
    }

    void refusedTemporaryFolderIsToldAtStartAndOnValidation()
    {
        // The runtime folder holds a link where the program's folder belongs.
        QTemporaryDir runtime;
        QVERIFY(QFile::link(m_tmp.path(), runtime.path() + "/fernquill"));
        const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        const QString folder = m_tmp.path() + "/Refused";
        testutil::writeFile(folder + "/aircraft.cfg", "[fltsim.0]\r\ntitle=A\r\n");
        testutil::BoxRecorder boxes;
        testutil::MainWindowFixture f(testutil::PrefixSpec{}, {{"Path", folder}, {"AnalyzeOptions", kAllOn}});
        f.start();
        qputenv("XDG_RUNTIME_DIR", old);
        const QString refusal =
            "The temporary folder " + runtime.path() + "/fernquill cannot be used: it is a symbolic link.";
        QCOMPARE(
            boxes.prompts(),
            QStringList{refusal +
                        "\r\n\r\nValidation reports cannot be written until it is removed or put right."});
        QVERIFY(globals::gsTempPath.isEmpty());

        f.window().ui.mnuValidate->trigger();
        QCOMPARE(boxes.prompts().size(), 2);
        QCOMPARE(boxes.prompts().back(), refusal);
        QVERIFY(!QFileInfo::exists(m_tmp.path() + "/zibcheck.log"));
        QVERIFY(!QFileInfo::exists(folder + "/zibcheck.log"));
    }

    void allOptionsOffStopsAlsoInBatchMode_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::newRow("interactive") << false;
        QTest::newRow("batch") << true;
    }
    void allOptionsOffStopsAlsoInBatchMode()
    {
        QFETCH(bool, batch);
        auto f = start(true, true, QStringList(23, "0").join(QChar(0xA6)));
        testutil::BoxRecorder boxes;
        globals::gbBatchValidate = batch;
        globals::gsSkipMessage.clear();
        f->window().mnuValidate_Click();
        QCOMPARE(boxes.prompts(),
                 QStringList{"You have disabled all analysis reporting options. Exiting here...."});
        QCOMPARE(boxes.calls().front().style, msgbox::vbOKOnly | msgbox::vbInformation);
        QVERIFY(globals::gsSkipMessage.isEmpty());
        QVERIFY(!QFileInfo::exists(reportPath()));
    }

    void simulatorQuestion_data()
    {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("comparedAgainst"); // empty: no report
        QTest::newRow("airline option on, FS9") << flagsWith({0, 9}) << true << int(msgbox::vbYes) << "FS9";
        QTest::newRow("airline option on, FSX") << flagsWith({0, 11}) << true << int(msgbox::vbNo) << "FSX";
        QTest::newRow("effects option on, cancel")
            << flagsWith({0, 21}) << true << int(msgbox::vbCancel) << "";
        QTest::newRow("no airline or effects option") << flagsWith({0, 12}) << false << 0 << "none";
    }
    void simulatorQuestion()
    {
        QFETCH(QString, flags);
        QFETCH(bool, asked);
        QFETCH(int, answer);
        QFETCH(QString, comparedAgainst);
        auto f = start(true, true, flags);
        msgbox::ScriptedAnswers boxes;
        if (asked)
            boxes.button(answer);
        f->window().mnuValidate_Click();
        QCOMPARE(boxes.calls().size(), size_t(asked ? 1 : 0));
        if (asked) {
            const msgbox::Call& c = boxes.calls().front();
            QCOMPARE(c.kind, msgbox::Kind::MsgBoxEx);
            QCOMPARE(c.title,
                     QStringLiteral("Validate Aircraft: Select FS-Version for ATC/Effects Analysis"));
            QCOMPARE(c.prompt, QStringLiteral("Select which flightsim version should be used..."));
            QCOMPARE(c.yesCaption, QStringLiteral("FS9"));
            QCOMPARE(c.noCaption, QStringLiteral("FSX"));
        }
        if (comparedAgainst.isEmpty()) {
            QVERIFY(!QFileInfo::exists(reportPath()));
            return;
        }
        const QByteArray report = testutil::readFile(reportPath());
        QVERIFY(!report.isEmpty());
        if (comparedAgainst != "none")
            QVERIFY(report.contains(
                QByteArray("atc_airlines compared against:     " + comparedAgainst.toLatin1())));
        // The report opens in the program's own editor.
        QVERIFY(frm_TextEditor::existing());
        QCOMPARE(globals::gsEditFile, reportPath());
    }

    void noAirlinesForcesAirlineOptionsOff()
    {
        auto f = start(false, false, kAllOn);
        testutil::BoxRecorder boxes;
        f->window().mnuValidate_Click();
        QVERIFY(boxes.calls().empty());
        QCOMPARE(globals::gsAnalyzeFlags.mid(9, 3), (QStringList{"0", "0", "0"}));
        // Only for this run of the program: the stored options are untouched.
        QCOMPARE(testutil::storedSetting("AnalyzeOptions"), kAllOn);
        const QByteArray report = testutil::readFile(reportPath());
        QVERIFY(!report.contains("atc_airlines"));
        QVERIFY(report.contains("Missing effect files:              0\r\n"));
    }

    void stopsBeforeTheFolder_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("skip");
        QTest::newRow("no aircraft.cfg") << "nocfg"
                                         << "No aircraft.cfg file found in this folder. Exiting here..."
                                         << "No aircraft.cfg file found in folder ";
        QTest::newRow("no entries")
            << "noentries"
            << "An aircraft.cfg file without any [fltsim.x] section found in folder . Exiting here..."
            << "An aircraft.cfg file without any [fltsim.x] section found in folder ";
        // Loaded as a file without entries; validating it says why.
        QTest::newRow("unreadable aircraft.cfg")
            << "unreadable"
            << "The file:<cfg>\r\n\r\n could not be read. Permission denied"
            << "The aircraft.cfg could not be read (Permission denied) in folder ";
    }
    void stopsBeforeTheFolder()
    {
        QFETCH(QString, what);
        QFETCH(QString, message);
        QFETCH(QString, skip);
        if (what == "unreadable" && testutil::runningAsRoot())
            QSKIP("root reads every file");
        const QString cfg = m_tmp.path() + "/Plane/aircraft.cfg";
        message.replace("<cfg>", cfg);
        for (bool batch : {false, true}) {
            auto f = start(true, false, kAllOn,
                           what == "noentries" ? QByteArray("[General]\r\nx=1\r\n") : QByteArray());
            if (what == "nocfg")
                QFile::remove(cfg); // gone after the load
            if (what == "unreadable") {
                testutil::setMode(cfg, 0);
                {
                    testutil::BoxRecorder loadBox; // the load says so too
                    f->window().RunChange();
                    QCOMPARE(loadBox.calls().size(), size_t(1));
                }
                testutil::setMode(cfg, 0644);
            }
            testutil::BoxRecorder boxes;
            globals::gbBatchValidate = batch;
            globals::gsSkipMessage.clear();
            f->window().mnuValidate_Click();
            if (batch) {
                QVERIFY(boxes.calls().empty());
                QCOMPARE(globals::gsSkipMessage, skip);
            } else {
                QCOMPARE(boxes.prompts(), QStringList{message});
                QCOMPARE(boxes.calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
            }
            QVERIFY(!QFileInfo::exists(reportPath()));
            globals::gbBatchValidate = false;
        }
    }

    void batchModeWritesButDoesNotShow()
    {
        auto f = start(true, false, kAllOn);
        testutil::BoxRecorder boxes;
        globals::gbBatchValidate = true;
        globals::gsSkipMessage.clear();
        globals::gsEditFile = "untouched";
        f->window().mnuValidate_Click();
        QVERIFY(boxes.calls().empty());
        QVERIFY(QFileInfo::exists(reportPath()));
        QVERIFY(!frm_TextEditor::existing());
        QCOMPARE(globals::gsEditFile, QStringLiteral("untouched"));
        QVERIFY(globals::gbReportErrors); // the two entries share a title
    }

    void secondStartWhileOneRunsIsRefused()
    {
        auto f = start(true, false, kAllOn);
        testutil::BoxRecorder boxes;
        // The folder walk lets timers run (clicks wait): one starts another validation.
        QTimer::singleShot(0, &f->window(), [&f] { f->window().ui.mnuValidate->trigger(); });
        f->window().ui.mnuValidate->trigger();
        QCOMPARE(boxes.prompts(), QStringList{"Another validation is still running."});
        QCOMPARE(boxes.calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
        QVERIFY(testutil::readFile(reportPath()).contains("[fltsim.x] title duplicate:"));
        QVERIFY(frm_TextEditor::existing());
    }

    void panelNineValidatesOnlyWithEntries()
    {
        auto f = start(true, false, kAllOn);
        testutil::BoxRecorder boxes;
        f->window().StatusBar1_PanelDblClick(9);
        QVERIFY(QFileInfo::exists(reportPath()));
        QVERIFY(frm_TextEditor::existing());
        QVERIFY(frm_TextEditor::existing()->txtData->toPlainText().contains("[fltsim.x] title duplicate:"));
    }

    // Reading through links is fine: a folder whose aircraft.cfg lies
    // elsewhere validates, and a byte-order mark that stays is named in the
    // report with the reason.
    void linkedFolderValidatesAndNamesAKeptMark()
    {
        QTemporaryDir tmp;
        const QString folder = tmp.path() + "/Plane";
        const QString real = tmp.path() + "/Elsewhere/aircraft.cfg";
        const QByteArray cfg = "[fltsim.0]\r\ntitle=A\r\nmodel=x\r\n";
        const QByteArray marked = "\xEF\xBB\xBF[models]\r\nnormal=a\r\n";
        testutil::writeFile(real, cfg);
        testutil::writeFile(folder + "/model.x/a.mdl", testutil::mdlBytes("MDL9", 1));
        testutil::writeFile(folder + "/model.x/Model.cfg", marked);
        testutil::setMode(folder + "/model.x/Model.cfg", 0444);
        QVERIFY(QFile::link(real, folder + "/aircraft.cfg"));
        testutil::BoxRecorder boxes;
        testutil::MainWindowFixture f(testutil::PrefixSpec{},
                                      {{"Path", folder}, {"AnalyzeOptions", kAllOn}, {"Editor", "1"}});
        f.start();
        globals::gsTempPath = tmp.path() + "/temp/";
        testutil::makeDir(globals::gsTempPath);
        f.window().ui.mnuValidate->trigger();
        QVERIFY(boxes.calls().empty());
        const QByteArray report = testutil::readFile(tmp.path() + "/temp/zibcheck.log");
        QVERIFY(report.contains("Models missing in folder:          0\r\n"));
        QVERIFY2(report.contains("Byte-order mark not removed:       ..\\model.x\\Model.cfg --> the file is "
                                 "read-only\r\n\r\n***"),
                 report.constData());
        QCOMPARE(testutil::readFile(folder + "/model.x/Model.cfg"), marked);
        QCOMPARE(testutil::readFile(real), cfg);
    }

    void openCfgMenu()
    {
        auto f = start(true, false, kAllOn);
        testutil::BoxRecorder boxes;
        f->window().mnuCFG_Click();
        QVERIFY(boxes.calls().empty());
        QVERIFY(frm_TextEditor::existing());
        QCOMPARE(globals::giEditorMode, 3);
        QVERIFY(frm_TextEditor::existing()->txtData->toPlainText().startsWith("[fltsim.0]"));

        auto g = start(true, false, kAllOn, "[General]\r\n");
        testutil::BoxRecorder more;
        g->window().mnuCFG_Click();
        QCOMPARE(more.prompts(), QStringList{"No aircraft.cfg file found in this folder. Exiting here..."});
    }

    void closingKeepsTheEditorsUnsavedText()
    {
        auto f = start(true, false, kAllOn);
        f->window().show();
        testutil::BoxRecorder none;
        f->window().mnuCFG_Click();
        frm_TextEditor* e = frm_TextEditor::existing();
        QVERIFY(e);
        e->txtData->appendPlainText("edited");
        QVERIFY(e->bChanged);
        {
            msgbox::ScriptedAnswers answers;
            answers.button(msgbox::vbCancel);
            QVERIFY(!f->window().close());
            QCOMPARE(answers.prompts(), QStringList{"You have changed this text. Do you want to save it?"});
        }
        QVERIFY(f->window().isVisible());
        QCOMPARE(frm_TextEditor::existing(), e);
        QVERIFY(e->txtData->toPlainText().contains("edited"));
    }

    // With the internal editor off the desktop shows the report; when it
    // has no program for text files the user is told so.
    void reportWithoutTheEditor_data()
    {
        QTest::addColumn<bool>("desktopShowsIt");
        QTest::newRow("no program for text files") << false;
        QTest::newRow("the desktop shows it") << true;
    }

    void reportWithoutTheEditor()
    {
        QFETCH(bool, desktopShowsIt);
        auto f = start(false, false, kAllOn, {}, false);
        testutil::UrlRecorder desktop(desktopShowsIt ? QStringList{"file"} : QStringList{});
        // Nothing to start the desktop's program with.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_tmp.path() + "/no-programs"));
        testutil::BoxRecorder boxes;
        f->window().ui.mnuValidate->trigger();
        qputenv("PATH", path);

        QVERIFY(QFileInfo::exists(reportPath()));
        QVERIFY(!frm_TextEditor::existing());
        if (desktopShowsIt) {
            QVERIFY(boxes.calls().empty());
            QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(reportPath())});
            return;
        }
        QCOMPARE(boxes.calls().size(), size_t(1));
        const msgbox::Call& box = boxes.calls().front();
        QCOMPARE(box.prompt,
                 QStringLiteral("The file could not be shown: no program for text files was found.\r\n"
                                "\r\n") +
                     reportPath() +
                     QStringLiteral("\r\n\r\nSwitch on 'Use internal Editor' in the Settings menu to "
                                    "show it in the program's own editor."));
        QCOMPARE(box.style, int(msgbox::vbOKOnly | msgbox::vbExclamation));
    }

    // The editor opened from a status panel cannot read the airlines.cfg
    // found at start-up: the panel's handler reports it in its runtime-error
    // box, and no editor shows an empty text.
    void airlinesPanelWithAFileNoLongerThere_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<bool>("editorOpen"); // on aircraft.cfg before
        QTest::newRow("FS9, no editor yet") << 3 << false;
        QTest::newRow("FSX, editor open") << 6 << true;
    }

    void airlinesPanelWithAFileNoLongerThere()
    {
        QFETCH(int, panel);
        QFETCH(bool, editorOpen);
        auto f = start(true, true, kAllOn);
        frm_Main& w = f->window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        testutil::BoxRecorder boxes;
        if (editorOpen)
            w.mnuCFG_Click();
        QVERIFY(QFile::remove(panel == 3 ? globals::gsAirlinesFS9Path : globals::gsAirlinesFSXPath));
        StatusPanels* bar = w.ui.StatusBar1;
        QTest::mouseDClick(bar, Qt::LeftButton, {}, bar->panelRect(panel).center());

        QCOMPARE(boxes.calls().size(), size_t(1));
        const msgbox::Call& box = boxes.calls().front();
        QVERIFY2(box.prompt.startsWith(u"A runtime error has occured\r\n\r\nError number: 53\r\n"
                                       "Error description: File not found\r\n"
                                       "Procedure StatusBar1_PanelDblClick\r\n"),
                 qPrintable(box.prompt));
        frm_TextEditor* e = frm_TextEditor::existing();
        QCOMPARE(e != nullptr, editorOpen);
        QCOMPARE(globals::giEditorMode, editorOpen ? 3 : 0);
        if (editorOpen)
            QVERIFY(e->txtData->toPlainText().contains("HEATHERJET"));
    }

    void airlinesPanelsOpenTheEditorAndRefreshTheCache()
    {
        auto f = start(true, true, kAllOn);
        testutil::BoxRecorder boxes;
        f->window().StatusBar1_PanelDblClick(3);
        frm_TextEditor* e = frm_TextEditor::existing();
        QVERIFY(e);
        QCOMPARE(globals::giEditorMode, 1);
        QVERIFY(e->txtData->toPlainText().contains("HEATHERJET"));
        // The file changes on disk while the editor is open; closing it
        // re-reads the cache even though nothing was saved.
        testutil::writeFile(globals::gsAirlinesFS9Path, "NEWLINE\r\n");
        e->bChanged = false;
        e->close();
        QCOMPARE(globals::gsAirlinesFS9, (QStringList{"NEWLINE", ""}));
        QCOMPARE(globals::giEditorMode, 0);
    }
};

QTEST_MAIN(TestMnuValidate)
#include "tst_mnuvalidate.moc"
