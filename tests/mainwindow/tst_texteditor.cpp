#include "mainwindow/frm_TextEditor.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"

#include "DataRows.h"
#include "OddFile.h"
#include "TestUtil.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <sys/stat.h>

using namespace msgbox;

namespace {

const QString kQuestion = "You have changed this text. Do you want to save it?";
const QString kNotFound = "Search text was not found.";

struct Selection
{
    int start;
    int length;
};

Selection selectionOf(const frm_TextEditor* e)
{
    const QTextCursor c = e->txtData->textCursor();
    return {c.selectionStart(), c.selectionEnd() - c.selectionStart()};
}

void typeAtEnd(frm_TextEditor* e, const QString& text)
{
    QTextCursor c = e->txtData->textCursor();
    c.movePosition(QTextCursor::End);
    c.insertText(text);
}

// Closes the window and lets Qt delete it, as the end of its event would.
bool closeEditor(frm_TextEditor* e)
{
    const bool closed = e->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return closed;
}

} // namespace

class TestTextEditor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;

    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_tmp.path() + '/' + name;
        QFile::remove(path); // made anew: an earlier case may have left it read-only
        testutil::writeFile(path, bytes);
        return path;
    }

    frm_TextEditor* openOn(int mode, const QString& path = {})
    {
        globals::giEditorMode = mode;
        globals::gsEditFile = path;
        return frm_TextEditor::showEditor();
    }

private slots:
    void init() { QVERIFY(m_tmp.isValid()); }

    void cleanup()
    {
        delete frm_TextEditor::existing();
        globals::giEditorMode = 0;
        frm_TextEditor::sSearch.clear();
    }

    void menuItems_data()
    {
        const testutil::TextRows<QString, QString, QString> row({"name", "caption", "keys"});
        row("new", "mnuFileNew", "&New", "Ctrl+N");
        row("open", "mnuFileOpen", "&Open...", "Ctrl+O");
        row("save", "mnuFileSave", "&Save", "Ctrl+S");
        row("save as", "mnuFileSaveAs", "Save &As...", "");
        row("exit", "mnuFileExit", "E&xit", "");
        row("select all", "mnuSelectAll", "&Select All", "Ctrl+A");
        row("cut", "mnuEditCut", "Cu&t", "Ctrl+X");
        row("copy", "mnuEditCopy", "&Copy", "Ctrl+C");
        row("paste", "mnuEditPaste", "&Paste", "Ctrl+V");
        row("find", "mnuSearchFind", "&Find...", "Ctrl+F");
        row("find again", "mnuSearchFindAgain", "Find &Again", "F3");
    }
    void menuItems()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, keys);
        frm_TextEditor* e = openOn(0);
        auto* item = e->findChild<QAction*>(name);
        QVERIFY(item);
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->shortcut().toString(), keys);
        QCOMPARE(e->windowTitle(), QString("TextEditor"));
        QVERIFY(QFontInfo(e->txtData->font()).fixedPitch());
        QCOMPARE(e->txtData->font().pointSize(), 10);
        QVERIFY(e->mnuFileMRU[0]->isSeparator() && !e->mnuFileMRU[0]->isVisible());
        QCOMPARE(e->iMRUCount, 0);
    }

    void newAfterChanges_data()
    {
        QTest::addColumn<bool>("onFile");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveName"); // answer of the Save dialog, "-" when none is shown
        QTest::addColumn<bool>("cleared");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("cancel keeps the text")
            << true << int(vbCancel) << "-" << false << QByteArray("a\r\nb");
        QTest::newRow("no clears, nothing saved") << true << int(vbNo) << "-" << true << QByteArray("a\r\nb");
        QTest::newRow("yes saves the file") << true << int(vbYes) << "-" << true << QByteArray("a\r\nb!");
        QTest::newRow("yes on new text, dialog cancelled")
            << false << int(vbYes) << "" << true << QByteArray("a\r\nb");
    }
    void newAfterChanges()
    {
        QFETCH(bool, onFile);
        QFETCH(int, answer);
        QFETCH(QString, saveName);
        QFETCH(bool, cleared);
        QFETCH(QByteArray, onDisk);
        const QString path = file("t.cfg", "a\r\nb");
        frm_TextEditor* e = openOn(onFile ? 3 : 0, path);
        if (!onFile)
            e->txtData->setPlainText("a\nb");
        typeAtEnd(e, "!");
        QVERIFY(e->bChanged);
        ScriptedAnswers script;
        script.button(answer);
        if (saveName != "-")
            script.text(saveName);
        e->mnuFileNew->trigger();
        QCOMPARE(script.calls().at(0).prompt, kQuestion);
        QCOMPARE(script.calls().at(0).style, vbYesNoCancel + vbExclamation);
        QCOMPARE(script.calls().at(0).title, QString("Fernquill"));
        QCOMPARE(e->text().isEmpty(), cleared);
        QCOMPARE(e->sFileName.isEmpty(), cleared || !onFile);
        QCOMPARE(e->bChanged, !cleared);
        QCOMPARE(testutil::readFile(path), onDisk);
    }

    void saveAsAndSaveAskForNames()
    {
        frm_TextEditor* e = openOn(0);
        e->txtData->setPlainText("x\ny");
        ScriptedAnswers script;
        const QString name = m_tmp.path() + "/new.txt";
        script.text(name).text("");
        e->mnuFileSave->trigger(); // a new text is named first
        const Call& dlg = script.calls().at(0);
        QCOMPARE(dlg.kind, Kind::SaveFile);
        QCOMPARE(dlg.dialog.title, QString("Save File"));
        QCOMPARE(dlg.dialog.filter, QString("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"));
        QCOMPARE(dlg.dialog.defaultSuffix, QString(".txt"));
        QCOMPARE(testutil::readFile(name), QByteArray("x\r\ny")); // a new file gets CR LF
        QCOMPARE(e->sFileName, name);
        e->mnuFileSaveAs->trigger(); // cancelled
        QCOMPARE(e->sFileName, name);
        QCOMPARE(script.calls().size(), size_t(2));
    }

    void recentFiles()
    {
        frm_TextEditor* e = openOn(0);
        QStringList paths;
        ScriptedAnswers script;
        for (int i = 1; i <= 5; ++i) {
            paths << file(QString("my file %1.txt").arg(i), QByteArray("file ") + QByteArray::number(i));
            script.text(paths.back());
        }
        script.text(""); // a cancelled Open dialog
        for (int i = 0; i < 6; ++i)
            e->mnuFileOpen->trigger();
        QCOMPARE(script.calls().at(0).dialog.title, QString("Open File"));
        QCOMPARE(e->iMRUCount, 4);
        QVERIFY(e->mnuFileMRU[0]->isVisible());
        auto captions = [e] {
            QStringList out;
            for (int i = 1; i <= 4; ++i)
                out << e->mnuFileMRU[size_t(i)]->text();
            return out;
        };
        const QStringList expected{"&1 " + paths[4], "&2 " + paths[3], "&3 " + paths[2], "&4 " + paths[1]};
        QCOMPARE(captions(), expected);
        QCOMPARE(e->findChild<QAction*>("mnuFileMRU[3]"), e->mnuFileMRU[3]);

        e->mnuFileMRU[3]->trigger();
        QCOMPARE(e->sFileName, paths[2]);
        QCOMPARE(e->text(), QString("file 3"));
        QCOMPARE(captions(), expected); // not moved to the top

        // A recent file that went away is reported; the editor keeps what it has.
        QFile::remove(paths[1]);
        ScriptedAnswers gone;
        gone.button(vbOK);
        e->mnuFileMRU[4]->trigger();
        QCOMPARE(gone.calls().at(0).prompt, QString("ERROR: File not found. [Error #53]"));
        QCOMPARE(gone.calls().at(0).style, vbOKOnly + vbCritical);
        QCOMPARE(e->sFileName, paths[2]);
        QCOMPARE(e->text(), QString("file 3"));
    }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("steps");    // "find:what", "again", "F3:answer", "cursor:n"
        QTest::addColumn<QStringList>("outcomes"); // "start,length" or "not found", one per search
        QTest::newRow("case ignored") << "xxABCxx" << QStringList{"find:abc"} << QStringList{"2,3"};
        QTest::newRow("find, again, again") << "abcabc" << QStringList{"find:abc", "again", "again"}
                                            << QStringList{"0,3", "3,3", "not found"};
        QTest::newRow("hits overlap") << "aaaa" << QStringList{"find:aa", "again", "again", "again"}
                                      << QStringList{"0,2", "1,2", "2,2", "not found"};
        QTest::newRow("again from the very start")
            << "abcx" << QStringList{"find:x", "cursor:0", "again"} << QStringList{"3,1", "3,1"};
        QTest::newRow("across lines")
            << "one\nTWO\ntwo" << QStringList{"find:two", "again"} << QStringList{"4,3", "8,3"};
        QTest::newRow("not found") << "abc" << QStringList{"find:zz"} << QStringList{"not found"};
        // Find Again without a search text asks for one, finds, and goes on from there.
        QTest::newRow("F3 asks, then goes on") << "abcxABCxabc" << QStringList{"F3:abc", "F3:"}
                                               << QStringList{"4,3", "8,3"};
        QTest::newRow("F3 asks, one hit only") << "xabc" << QStringList{"F3:ABC"} << QStringList{"not found"};
        QTest::newRow("F3 asks, cancelled") << "abc" << QStringList{"cursor:1", "F3:"} << QStringList{"1,0"};
    }
    void find()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, outcomes);
        frm_TextEditor* e = openOn(0);
        e->txtData->setPlainText(text);
        e->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e)); // F3 is the menu's shortcut
        QStringList got;
        for (const QString& step : steps) {
            if (step.startsWith("cursor:")) {
                QTextCursor c = e->txtData->textCursor();
                c.setPosition(step.mid(7).toInt());
                e->txtData->setTextCursor(c);
                continue;
            }
            ScriptedAnswers script;
            // Boxes the row does not expect are answered, not fatal, so the row fails cleanly.
            script.setResponder([](const Call& c) {
                return c.kind == Kind::MsgBox ? Answer::withButton(vbOK) : Answer::withText({});
            });
            if (step.startsWith("find:")) {
                script.text(step.mid(5));
                e->mnuSearchFind->trigger();
                QCOMPARE(script.calls().at(0).prompt, QString("Enter the text to find."));
                QCOMPARE(script.calls().at(0).title, QString("Find Text"));
            } else if (step.startsWith("F3:")) {
                const bool asked = frm_TextEditor::sSearch.isEmpty();
                if (!step.mid(3).isEmpty())
                    script.text(step.mid(3));
                QTest::keyClick(e->txtData, Qt::Key_F3);
                QCOMPARE(!script.calls().empty() && script.calls().at(0).kind == Kind::InputBox, asked);
            } else {
                e->mnuSearchFindAgain->trigger();
            }
            if (script.prompts().contains(kNotFound)) {
                QCOMPARE(script.calls().back().style, vbOKOnly + vbExclamation);
                got << "not found";
            } else {
                const Selection s = selectionOf(e);
                got << QString("%1,%2").arg(s.start).arg(s.length);
            }
        }
        QCOMPARE(got, outcomes);
        if (outcomes.back() == "not found")
            QVERIFY(frm_TextEditor::sSearch.isEmpty());
    }

    void findAgainAsksWithoutSearchTextAndRemembersItForTheRun()
    {
        frm_TextEditor* e = openOn(0);
        e->txtData->setPlainText("one two TWO");
        {
            ScriptedAnswers script;
            script.text("TWO");
            e->mnuSearchFindAgain->trigger(); // nothing searched yet: asks, finds and goes on
            QCOMPARE(script.calls().at(0).kind, Kind::InputBox);
            QCOMPARE(selectionOf(e).start, 8);
        }
        e->bChanged = false;
        QVERIFY(closeEditor(e));
        e = openOn(3, file("b.txt", "two, two"));
        ScriptedAnswers none; // no box at all
        e->mnuSearchFindAgain->trigger();
        QCOMPARE(selectionOf(e).start, 0);
        QVERIFY(none.calls().empty());
    }

    void closingReloadsAirlines_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("FSX, changes discarded") << 2 << int(vbNo) << QByteArray("[airline]\r\nA");
        QTest::newRow("FSX, changes saved") << 2 << int(vbYes) << QByteArray("[airline]\r\nA\r\nB");
        QTest::newRow("FS9, changes discarded") << 1 << int(vbNo) << QByteArray("[airline]\r\nA");
        QTest::newRow("cancel keeps the window") << 2 << int(vbCancel) << QByteArray("[airline]\r\nA");
    }
    void closingReloadsAirlines()
    {
        QFETCH(int, mode);
        QFETCH(int, answer);
        QFETCH(QByteArray, onDisk);
        globals::gsAirlinesFS9Path = file("fs9/airlines.cfg", "[airline]\r\nA");
        globals::gsAirlinesFSXPath = file("fsx/AIRLINES.CFG", "[airline]\r\nA");
        globals::gsAirlinesFSXPath.replace("AIRLINES.CFG", "airlines.cfg"); // found regardless of case
        globals::gsAirlinesFS9 = globals::gsAirlinesFSX = QStringList{"stale"};
        frm_TextEditor* e = openOn(mode);
        QCOMPARE(e->text(), QString("[airline]\nA"));
        typeAtEnd(e, "\nB");
        ScriptedAnswers script;
        script.button(answer);
        e->mnuFileExit->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QStringList& edited = mode == 1 ? globals::gsAirlinesFS9 : globals::gsAirlinesFSX;
        const QStringList& other = mode == 1 ? globals::gsAirlinesFSX : globals::gsAirlinesFS9;
        const QString path =
            mode == 1 ? m_tmp.path() + "/fs9/airlines.cfg" : m_tmp.path() + "/fsx/AIRLINES.CFG";
        QCOMPARE(testutil::readFile(path), onDisk);
        QCOMPARE(other, QStringList{"stale"});
        if (answer == vbCancel) {
            QCOMPARE(frm_TextEditor::existing(), e);
            QVERIFY(e->bChanged);
            QCOMPARE(globals::giEditorMode, mode);
            QCOMPARE(edited, QStringList{"stale"});
        } else {
            QVERIFY(!frm_TextEditor::existing());
            QCOMPARE(globals::giEditorMode, 0);
            QCOMPARE(edited, QString::fromLatin1(onDisk).split("\r\n"));
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("afterEdit"); // after "!" is typed at the end
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b)
            high += char(b);
        QTest::newRow("cp1252 0x80-0xFF, CR LF") << high + "\r\nx\r\n" << high + "\r\nx\r\n!";
        QTest::newRow("LF throughout") << QByteArray("a\nb\n") << QByteArray("a\nb\n!");
        QTest::newRow("CR throughout") << QByteArray("a\rb") << QByteArray("a\rb!");
        QTest::newRow("mixed, CR LF most") << QByteArray("a\r\nb\nc\r\n") << QByteArray("a\r\nb\nc\r\n!");
        QTest::newRow("no line end") << QByteArray("abc") << QByteArray("abc!");
        QTest::newRow("empty") << QByteArray() << QByteArray("!");
        QTest::newRow("tabs and no-break spaces") << QByteArray("a\t\xA0z") << QByteArray("a\t\xA0z!");
    }
    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, afterEdit);
        const QString path = file("data.cfg", bytes);
        frm_TextEditor* e = openOn(3, path);
        QVERIFY(!e->bChanged);
        ScriptedAnswers none;
        e->mnuFileSave->trigger();
        QCOMPARE(testutil::readFile(path), bytes);
        typeAtEnd(e, "!");
        e->mnuFileSave->trigger();
        QCOMPARE(testutil::readFile(path), afterEdit);
        QVERIFY(!e->bChanged);
    }

    // A real edit keeps every line's own end, as every other write does;
    // only the lines the edit made get the file's most common one.
    void editsKeepEachLinesEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line"); // caret at the line's start, 0-based
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("keys"); // "\r" Return, "\b" Backspace
        QTest::addColumn<QByteArray>("saved");

        const QByteArray mixed("a\r\nbb\nc\r\n");
        QTest::newRow("changed line keeps its LF") << mixed << 1 << 2 << "X" << QByteArray("a\r\nbbX\nc\r\n");
        QTest::newRow("line broken in two: its second part keeps the end")
            << mixed << 1 << 1 << "\r" << QByteArray("a\r\nb\r\nb\nc\r\n");
        QTest::newRow("two lines joined keep the second one's end")
            << mixed << 2 << 0 << "\b" << QByteArray("a\r\nbbc\r\n");
        QTest::newRow("new line in an LF file with one CR LF")
            << QByteArray("a\nb\r\nc\n") << 0 << 1 << "\rn" << QByteArray("a\nn\nb\r\nc\n");
        QTest::newRow("line with a CR beside the edit")
            << QByteArray("1\n2\r\n3\r4\r\n5\n") << 1 << 0 << "x" << QByteArray("1\nx2\r\n3\r4\r\n5\n");
        QTest::newRow("text added after a last line without an end")
            << QByteArray("a\nb\r\nc") << 2 << 1 << "\rd" << QByteArray("a\nb\r\nc\r\nd");
    }
    void editsKeepEachLinesEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, keys);
        QFETCH(QByteArray, saved);
        const QString path = file("mixed.cfg", bytes);
        frm_TextEditor* e = openOn(3, path);
        e->txtData->setFocus();
        QTextCursor cursor(e->txtData->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        e->txtData->setTextCursor(cursor);
        for (const QChar key : keys) {
            if (key == u'\r')
                QTest::keyClick(e->txtData, Qt::Key_Return);
            else if (key == u'\b')
                QTest::keyClick(e->txtData, Qt::Key_Backspace);
            else
                QTest::keyClicks(e->txtData, QString(key));
        }
        QVERIFY(e->bChanged);
        ScriptedAnswers none;
        e->mnuFileSave->trigger();
        QCOMPARE(testutil::readFile(path), saved);
        QVERIFY(none.calls().empty());
    }

    // Edits far apart: the lines between keep their ends even when lines
    // were added above them and removed below them.
    void ownLineEndsAcrossSeveralEdits_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("edited"); // the editor's text
        QTest::addColumn<QString>("saved");

        QTest::newRow("line added at the top, one removed at the bottom")
            << "a\r\nb\nc\rd\r\ne\n" << "new\na\nb\nc\nd\n" << "new\r\na\r\nb\nc\rd\r\n";
        QTest::newRow("duplicate blank lines, one removed")
            << "[a]\r\n\n\r\nx=1\n\r\n" << "[a]\n\nx=1\n\n" << "[a]\r\n\nx=1\n\r\n";
        QTest::newRow("everything replaced") << "a\nb\r\n" << "x\ny\nz" << "x\ny\r\nz";
        QTest::newRow("all text removed") << "a\r\nb\n" << "" << "";
    }
    void ownLineEndsAcrossSeveralEdits()
    {
        QFETCH(QString, file);
        QFETCH(QString, edited);
        QFETCH(QString, saved);
        QCOMPARE(editortext::withOwnLineEnds(file, edited, editortext::detectLineEnd(file)), saved);
    }

    void fileMenuSeparatorsCarryNoText()
    {
        // Some styles draw a separator's text beside its line.
        frm_TextEditor* e = openOn(0);
        int separators = 0;
        for (const QAction* item : e->mnuFile->actions()) {
            if (item->isSeparator()) {
                ++separators;
                QVERIFY2(item->text().isEmpty(), qPrintable(item->objectName()));
            }
        }
        QCOMPARE(separators, 2);
    }

    void saveKeepsPermissions()
    {
        const QString path = file("perm.cfg", "a\r\n");
        testutil::setMode(path, 0640);
        frm_TextEditor* e = openOn(3, path);
        typeAtEnd(e, "b");
        e->mnuFileSave->trigger();
        QCOMPARE(testutil::readFile(path), QByteArray("a\r\nb"));
        struct stat st
        {
        };
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
    }

    void failedSaves_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("message");
        QTest::newRow("read-only file") << "b" << true << "ERROR: Path/File access error. [Error #75]";
        QTest::newRow("character outside Windows-1252")
            << QString("\nb\u0101") << false
            << "ERROR: Windows-1252 text cannot hold the character \"\u0101\" (line 2). [Error #5]";
        QTest::newRow("emoji")
            << QString("\U0001F600") << false
            << "ERROR: Windows-1252 text cannot hold the character \"\U0001F600\" (line 1). "
               "[Error #5]";
    }
    void failedSaves()
    {
        QFETCH(QString, typed);
        QFETCH(bool, readOnly);
        QFETCH(QString, message);
        const QString path = file("keep.cfg", "a\x80");
        if (readOnly)
            testutil::setMode(path, 0444);
        frm_TextEditor* e = openOn(3, path);
        typeAtEnd(e, typed);
        ScriptedAnswers script;
        script.button(vbOK).button(vbYes).button(vbOK);
        e->mnuFileSave->trigger();
        QCOMPARE(script.calls().at(0).prompt, message);
        QCOMPARE(script.calls().at(0).style, vbOKOnly + vbCritical);
        QVERIFY(e->bChanged);
        QCOMPARE(e->text(), QString("a\u20AC") + typed);
        // Closing with Yes to saving fails the same way; the window keeps the text.
        QVERIFY(!closeEditor(e));
        QCOMPARE(frm_TextEditor::existing(), e);
        QCOMPARE(script.prompts(), (QStringList{message, kQuestion, message}));
        QCOMPARE(testutil::readFile(path), QByteArray("a\x80"));
    }

    // A file opened through a link is saved into the file the link names
    // while that lies in the folder the file was opened from; a link out of
    // it is never written through, and the message names the file.
    void savesThroughLinksOnlyInsideTheFolder_data()
    {
        QTest::addColumn<QString>("target"); // where "Plane/aircraft.cfg" leads
        QTest::addColumn<bool>("written");
        QTest::newRow("beside it") << "Plane/real.cfg" << true;
        QTest::newRow("into a subfolder") << "Plane/cfg/real.cfg" << true;
        QTest::newRow("out of its folder") << "Elsewhere/real.cfg" << false;
    }
    void savesThroughLinksOnlyInsideTheFolder()
    {
        QFETCH(QString, target);
        QFETCH(bool, written);
        QTemporaryDir tmp;
        const QString real = tmp.path() + u'/' + target;
        const QString link = tmp.path() + "/Plane/aircraft.cfg";
        testutil::writeFile(real, "a\r\n");
        testutil::makeDir(QFileInfo(link).absolutePath());
        QVERIFY(QFile::link(real, link));
        frm_TextEditor* e = openOn(3, link);
        typeAtEnd(e, "b");
        ScriptedAnswers script;
        if (!written)
            script.button(vbOK);
        e->mnuFileSave->trigger();
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(testutil::readFile(real), written ? QByteArray("a\r\nb") : QByteArray("a\r\n"));
        QCOMPARE(e->bChanged, !written);
        if (written) {
            QVERIFY(script.calls().empty());
        } else {
            QCOMPARE(script.calls().size(), size_t(1));
            const QString told = script.calls().front().prompt;
            QVERIFY2(told.startsWith("ERROR: " + link + ": ") && told.contains(u"outside the folder") &&
                         told.endsWith(". [Error #75]"),
                     qPrintable(told));
            QCOMPARE(script.calls().front().style, vbOKOnly + vbCritical);
        }
    }

    void unreadableFileOnOpening_data()
    {
        const testutil::TextRows<QString, QString> row({"name", "message"});
        row("missing", "gone.log", "ERROR: File not found. [Error #53]");
        row("missing folder", "nowhere/zibcheck.log", "ERROR: Path not found. [Error #76]");
        row("a folder", ".", "ERROR: Path/File access error. [Error #75]");
    }
    void unreadableFileOnOpening()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        ScriptedAnswers script;
        script.button(vbOK);
        frm_TextEditor* e = openOn(3, m_tmp.path() + '/' + name);
        QCOMPARE(script.prompts(), QStringList{message});
        QVERIFY(e->isVisible());
        QVERIFY(e->sFileName.isEmpty()); // a later Save asks for a name instead of overwriting
        QVERIFY(!e->bChanged);
    }

    void oddFileOnOpening_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        for (const char* kind : testutil::kOddKinds)
            QTest::newRow(kind) << QString::fromLatin1(kind)
                                << (kind == QByteArrayView("folder") ? "ERROR: Path/File access error. [Error #75]"
                                                                     : "ERROR: File not found. [Error #53]");
    }
    void oddFileOnOpening()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const testutil::OddFile odd(m_tmp.path() + "/odd.txt", kind);
        QVERIFY(odd.made());
        ScriptedAnswers script;
        script.button(vbOK);
        frm_TextEditor* e = openOn(3, m_tmp.path() + "/odd.txt");
        QCOMPARE(script.prompts(), QStringList{message});
        QCOMPARE(odd.readerOpens(), 0);
        QVERIFY(e->sFileName.isEmpty());
    }

    void showingAgainLoadsTheNewFile()
    {
        const QString a = file("a.log", "A");
        const QString b = file("b.log", "B");
        frm_TextEditor* e = openOn(3, a);
        typeAtEnd(e, "!");
        ScriptedAnswers script;
        script.button(vbCancel).button(vbNo);
        QCOMPARE(openOn(3, b), e);
        QCOMPARE(e->text(), QString("A!"));
        QCOMPARE(globals::gsEditFile, b);
        QCOMPARE(openOn(3, b), e);
        QCOMPARE(e->text(), QString("B"));
        QCOMPARE(e->sFileName, b);
        QCOMPARE(script.prompts(), (QStringList{kQuestion, kQuestion}));
    }

    void clipboardCommands()
    {
        frm_TextEditor* e = openOn(0);
        e->txtData->setPlainText(QString("one\ntwo") + QChar(0xA0));
        e->mnuSelectAll->trigger();
        QCOMPARE(selectionOf(e).length, 8);
        e->mnuEditCut->trigger();
        QVERIFY(e->text().isEmpty());
        e->mnuEditPaste->trigger();
        e->mnuEditPaste->trigger();
        QCOMPARE(e->text(), QString("one\ntwo\u00A0one\ntwo\u00A0"));
        QTextCursor c = e->txtData->textCursor();
        c.setPosition(4);
        c.setPosition(7, QTextCursor::KeepAnchor);
        e->txtData->setTextCursor(c);
        e->mnuEditCopy->trigger();
        c.setPosition(0);
        e->txtData->setTextCursor(c);
        e->mnuEditPaste->trigger();
        QVERIFY(e->text().startsWith("twoone"));
    }

    void keyboardRunsTheMenuCommands()
    {
        frm_TextEditor* e = openOn(0);
        e->txtData->setPlainText(QString("ab") + QChar(0xA0) + "ab");
        QVERIFY(QTest::qWaitForWindowActive(e));
        e->txtData->setFocus();
        ScriptedAnswers script;
        script.text("AB");
        QTest::keyClick(e->txtData, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(e->txtData, Qt::Key_F3);
        QCOMPARE(selectionOf(e).start, 3);
        QTest::keyClick(e->txtData, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(e->txtData, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), e->text()); // the no-break space stays
        QCOMPARE(script.calls().size(), size_t(1));
    }
};

QTEST_MAIN(TestTextEditor)
#include "tst_texteditor.moc"
