#include "shared/MessageBox.h"
#include "shared/RuntimeError.h"

#include "TestUtil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <stdexcept>

using namespace msgbox;

namespace {

// Runs `act` on the next modal dialog once it is up, so that a real box can be
// answered without a person. Gives up (closing every window) after two seconds
// so that a box that never shows cannot hang the run.
void whenModal(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, tries, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->deleteLater();
            act(modal);
        } else if (++*tries > 200) {
            timer->deleteLater();
            QApplication::closeAllWindows();
        }
    });
    timer->start(10);
}

const char* kChildMode = "FQ_MSGBOX_CHILD";

} // namespace

class TestMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void scriptedMessageBox()
    {
        ScriptedAnswers script;
        script.button(vbYes).button(vbNo);
        QCOMPARE(MsgBox("Are you sure?", vbYesNo + vbQuestion), int(vbYes));
        QCOMPARE(MsgBox("Second", vbYesNo, "Own title"), int(vbNo));
        QCOMPARE(script.calls().size(), size_t(2));
        const Call& first = script.calls()[0];
        QCOMPARE(first.kind, Kind::MsgBox);
        QCOMPARE(first.prompt, QString("Are you sure?"));
        QCOMPARE(first.title, QString("Fernquill"));
        QCOMPARE(first.style, vbYesNo + vbQuestion);
        QCOMPARE(script.calls()[1].title, QString("Own title"));
        QCOMPARE(script.pending(), 0);
    }

    void customCaptions_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("first button") << int(vbYes);
        QTest::newRow("second button") << int(vbNo);
        QTest::newRow("cancel") << int(vbCancel);
    }
    void customCaptions()
    {
        QFETCH(int, answer);
        ScriptedAnswers script;
        script.button(answer);
        QCOMPARE(MsgBoxEx(nullptr, "Validate", "Which simulator?", "FS9", "FSX"), answer);
        const Call& c = script.calls().at(0);
        QCOMPARE(c.kind, Kind::MsgBoxEx);
        QCOMPARE(c.title, QString("Validate"));
        QCOMPARE(c.prompt, QString("Which simulator?"));
        QCOMPARE(c.yesCaption, QString("FS9"));
        QCOMPARE(c.noCaption, QString("FSX"));
        QCOMPARE(c.style, 35); // Yes/No/Cancel with the question icon
    }

    void inputBoxAndDialogs()
    {
        ScriptedAnswers script;
        script.text("needle").text("").text("/tmp/a.fx").text("");
        QCOMPARE(InputBox("Enter the text to find.", "Find Text"), QString("needle"));
        QCOMPARE(InputBox("Again?"), QString()); // cancelled
        const FileDialog open{"Open File", "Effect (*.fx) | *.fx", "/x/aircraft.cfg", {}};
        QCOMPARE(GetOpenFileName(nullptr, open), QString("/tmp/a.fx"));
        QCOMPARE(GetSaveFileName(nullptr, {"Save File", "Text Files (*.txt)|*.txt", {}, ".txt"}), QString());

        QCOMPARE(script.calls()[0].title, QString("Find Text"));
        QCOMPARE(script.calls()[1].title, QString("Fernquill"));
        const Call& o = script.calls()[2];
        QCOMPARE(o.kind, Kind::OpenFile);
        QCOMPARE(o.dialog.filter, QString("Effect (*.fx) | *.fx"));
        QCOMPARE(o.dialog.initialPath, QString("/x/aircraft.cfg"));
        QCOMPARE(script.calls()[3].kind, Kind::SaveFile);
        QCOMPARE(script.calls()[3].dialog.title, QString("Save File"));
    }

    void responderAndNesting()
    {
        ScriptedAnswers outer;
        outer.setResponder(
            [](const Call& c) { return Answer::withButton(c.prompt.contains("delete") ? vbNo : vbOK); });
        QCOMPARE(MsgBox("Really delete?", vbYesNo), int(vbNo));
        {
            ScriptedAnswers inner;
            inner.button(vbCancel);
            QCOMPARE(MsgBox("Inner", vbOKCancel), int(vbCancel));
            QCOMPARE(inner.prompts(), QStringList{"Inner"});
        }
        QCOMPARE(MsgBox("Done"), int(vbOK));
        QCOMPARE(outer.prompts(), (QStringList{"Really delete?", "Done"}));
    }

    void filters_data()
    {
        QTest::addColumn<QString>("classic");
        QTest::addColumn<QString>("qt");
        QTest::newRow("text files") << "Text Files (*.txt)|*.txt|All Files (*.*)|*.*"
                                    << "Text Files (*.txt) (*.[tT][xX][tT]);;All Files (*.*) (*)";
        QTest::newRow("blanks around the bar") << "Effect (*.fx) | *.fx"
                                               << "Effect (*.fx) (*.[fF][xX])";
        QTest::newRow("two patterns") << "Models|*.mdl;*.air"
                                      << "Models (*.[mM][dD][lL] *.[aA][iI][rR])";
        QTest::newRow("none") << ""
                              << "";
    }
    void filters()
    {
        QFETCH(QString, classic);
        QFETCH(QString, qt);
        QCOMPARE(qtFilter(classic), qt);
    }

    void runtimeErrorBox()
    {
        const QString expected = "A runtime error has occured\r\n\r\nError number: 13\r\n"
                                 "Error description: Type mismatch\r\nProcedure ReadAirFile\r\n"
                                 "Line: 42\r\nFormular frm_Main";
        QCOMPARE(runtimeerror::boxText(13, "Type mismatch", "ReadAirFile", 42), expected);
    }

    void runHandlerShowsTheBox()
    {
        ScriptedAnswers script;
        script.button(vbOK);
        int raisedAt = 0;
        bool after = false;
        const bool completed = runtimeerror::runHandler("cmd_cfg_Update_Click", [&] {
            raisedAt = __LINE__ + 1;
            throw runtimeerror::RuntimeError(runtimeerror::kPathFileAccess);
            after = true;
        });
        QVERIFY(!completed);
        QVERIFY(!after);
        const Call& c = script.calls().at(0);
        QCOMPARE(c.style, 0); // OK only, no icon
        QCOMPARE(c.title, QString("Fernquill"));
        QCOMPARE(c.prompt,
                 runtimeerror::boxText(75, "Path/File access error", "cmd_cfg_Update_Click", raisedAt));
    }

    void runHandlerStandardExceptions()
    {
        ScriptedAnswers script;
        script.button(vbOK).button(vbOK);
        QVERIFY(!runtimeerror::runHandler("A", [] { throw std::runtime_error("disk on fire"); }));
        QVERIFY(!runtimeerror::runHandler("B", [] { (void)std::string().at(3); }));
        QVERIFY(runtimeerror::runHandler("C", [] {}));
        QCOMPARE(script.calls().size(), size_t(2)); // a body that ends normally shows nothing
        QVERIFY(
            script.calls()[0].prompt.contains("Error description: disk on fire\r\nProcedure A\r\nLine: 0"));
        QVERIFY(script.calls()[1].prompt.contains("Error number: 9\r\n"));
    }

    // ---- real boxes, answered by a timer ----------------------------------

    void realMessageBox_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("icon");
        QTest::newRow("OK only, Escape") << 0 << "escape" << int(vbOK) << int(QMessageBox::NoIcon);
        QTest::newRow("OK/Cancel, Escape")
            << 1 + 48 << "escape" << int(vbCancel) << int(QMessageBox::Warning);
        QTest::newRow("Yes/No/Cancel, close box")
            << 3 + 32 << "close" << int(vbCancel) << int(QMessageBox::Question);
        QTest::newRow("Yes/No, Enter") << 4 + 16 << "enter" << int(vbYes) << int(QMessageBox::Critical);
        QTest::newRow("Yes/No default 2, Enter")
            << 4 + 256 << "enter" << int(vbNo) << int(QMessageBox::NoIcon);
        QTest::newRow("OK info, Enter") << 64 << "enter" << int(vbOK) << int(QMessageBox::Information);
    }
    void realMessageBox()
    {
        QFETCH(int, style);
        QFETCH(QString, action);
        QFETCH(int, result);
        QFETCH(int, icon);
        QString title, text;
        int shownIcon = -1;
        whenModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            shownIcon = box->icon();
            if (action == "escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else if (action == "close")
                box->close();
            else
                QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(MsgBox("line 1\r\nline 2", style), result);
        QCOMPARE(title, QString("Fernquill"));
        QCOMPARE(text, QString("line 1\nline 2"));
        QCOMPARE(shownIcon, icon);
    }

    void realCustomCaptions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::newRow("first") << "FS9" << int(vbYes);
        QTest::newRow("second") << "FSX" << int(vbNo);
        QTest::newRow("escape") << "escape" << int(vbCancel);
        QTest::newRow("close box") << "close" << int(vbCancel);
    }
    void realCustomCaptions()
    {
        QFETCH(QString, action);
        QFETCH(int, result);
        QStringList captions;
        int shownIcon = -1;
        whenModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            shownIcon = box->icon();
            for (QAbstractButton* b : box->buttons())
                captions << b->text();
            if (action == "escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else if (action == "close")
                box->close();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == action)
                    b->click();
        });
        QCOMPARE(MsgBoxEx(nullptr, "Validate", "Which one?", "FS9", "FSX"), result);
        QCOMPARE(shownIcon, int(QMessageBox::Question));
        QVERIFY(captions.contains("FS9") && captions.contains("FSX") && captions.size() == 3);
        // A second box works the same.
        whenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QCOMPARE(MsgBoxEx(nullptr, "Validate", "Again?", "A", "B"), int(vbCancel));
    }

    void realInputBox()
    {
        whenModal([](QWidget* w) {
            auto* d = qobject_cast<QInputDialog*>(w);
            QVERIFY(d);
            QCOMPARE(d->windowTitle(), QString("Find Text"));
            d->setTextValue("abc");
            d->accept();
        });
        QCOMPARE(InputBox("Enter the text to find.", "Find Text"), QString("abc"));
        whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QCOMPARE(InputBox("Enter the text to find.", "Find Text", "typed"), QString());
    }

    void realOpenDialogStartsInTheFilesFolder()
    {
        QTemporaryDir tmp;
        testutil::writeFile(tmp.path() + "/aircraft.cfg", "x");
        QString folder;
        QStringList filters;
        whenModal([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            QVERIFY(d);
            folder = d->directory().absolutePath();
            filters = d->nameFilters();
            d->reject();
        });
        const FileDialog settings{"Open File", "Effect (*.fx) | *.fx", tmp.path() + "/aircraft.cfg", {}};
        QCOMPARE(GetOpenFileName(nullptr, settings), QString());
        QCOMPARE(folder, QDir(tmp.path()).absolutePath());
        QCOMPARE(filters, QStringList{"Effect (*.fx) (*.[fF][xX])"});
    }

    // ---- a forgotten answer stops the run instead of blocking ------------------

    void unscriptedBoxIsFatal_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no answer") << "none"
                                   << "no scripted answer for message box \"Fernquill\": Lost?";
        QTest::newRow("text for a message box") << "text"
                                                << "scripted text answers message box";
        QTest::newRow("button not on the box") << "button"
                                               << "scripted button 6 is not on message box";
        QTest::newRow("button for an input box") << "input"
                                                 << "scripted button answers input box";
    }
    void unscriptedBoxIsFatal()
    {
        QFETCH(QString, mode);
        QFETCH(QString, message);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kChildMode, mode);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels); // the test log carries the message
        child.start(QCoreApplication::applicationFilePath(), {"childAsksUnscripted"});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0);
        QVERIFY2(child.readAll().contains(message.toUtf8()), qPrintable(message));
    }
    // Runs only inside the child process started above.
    void childAsksUnscripted()
    {
        const QByteArray mode = qgetenv(kChildMode);
        if (mode.isEmpty())
            QSKIP("runs only as the child of unscriptedBoxIsFatal");
        ScriptedAnswers script;
        if (mode == "text")
            script.text("oops");
        else if (mode == "button")
            script.button(vbYes);
        else if (mode == "input")
            script.button(vbOK);
        if (mode == "input")
            InputBox("Lost?");
        else
            MsgBox("Lost?");
        QFAIL("the box did not stop the run");
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
