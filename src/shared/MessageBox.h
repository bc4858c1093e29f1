#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

class QWidget;

// The one way the program talks to the user in a modal box: message boxes,
// the question with custom button captions, the input box and the Open/Save
// file dialogs. Everything else calls these functions, never QMessageBox or
// QFileDialog directly, so that tests can answer every box from a script
// instead of blocking on it.
namespace msgbox {

// Button sets, icons and default buttons of a message box (add them up).
enum Style : int
{
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

// The button that closed a box.
enum Result : int
{
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// Line break inside prompts (shown as a plain line break).
inline const QString vbCrLf = QStringLiteral("\r\n");

// The program's title, used when a box is given no title.
QString programTitle();

// The results a box of `style` can give, in the order its buttons stand.
QList<int> buttonsOf(int style);

// Shows a message box; returns one of the Result values. An empty title
// means the program's title. Escape (and the close box) answer Cancel where
// the box has one, OK on an OK-only box.
int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = {});

// Asks `question` in a Yes/No box with the question icon; true for Yes.
bool askedYes(const QString& question);

// Yes/No/Cancel question with the question icon whose first two buttons carry
// `yesCaption` and `noCaption`. Returns vbYes (6), vbNo (7) or vbCancel (2,
// also for Escape and the close box).
int MsgBoxEx(QWidget* owner, const QString& title, const QString& prompt, const QString& yesCaption,
             const QString& noCaption);

// Asks for one line of text; empty text when the user cancels.
QString InputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {});

// Settings of an Open or Save dialog. `filter` is written the classic way,
// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*", description and patterns
// alternating; patterns match without regard to case.
struct FileDialog
{
    QString title;
    QString filter;
    QString initialPath;   // folder, or a file whose folder is opened
    QString defaultSuffix; // added to a typed name without extension, e.g. "txt"
};

// Shows the Open / Save dialog; the chosen path, or empty text when cancelled.
QString GetOpenFileName(QWidget* owner, const FileDialog& dialog);
QString GetSaveFileName(QWidget* owner, const FileDialog& dialog);

// The dialog filter in Qt's form ("Text Files (*.txt);;All Files (*)"), with
// each pattern made case-insensitive and "*.*" matching every name.
QString qtFilter(const QString& classicFilter);

// ---- test mode ---------------------------------------------------------------

enum class Kind
{
    MsgBox,
    MsgBoxEx,
    InputBox,
    OpenFile,
    SaveFile
};

// One box as the program asked for it.
struct Call
{
    Kind kind = Kind::MsgBox;
    QString prompt;      // message or input prompt
    QString title;       // as shown (the program's title when none was given)
    int style = 0;       // MsgBox style; MsgBoxEx records vbYesNoCancel + vbQuestion
    QString yesCaption;  // MsgBoxEx
    QString noCaption;   // MsgBoxEx
    QString defaultText; // InputBox
    FileDialog dialog;   // OpenFile / SaveFile
};

// An answer: a button for message boxes, a text for the input box and the
// file dialogs (empty text = cancelled).
struct Answer
{
    enum class Type
    {
        Button,
        Text
    } type = Type::Button;
    int button = vbOK;
    QString text;

    static Answer withButton(int b) { return {Type::Button, b, {}}; }
    static Answer withText(QString t) { return {Type::Text, 0, std::move(t)}; }
};

// While alive, every box is recorded and answered from the queue (first) or
// the responder, never shown. A box for which neither has an answer, or whose
// answer does not fit it (a text for a message box, a button the box does not
// have), stops the test run with a fatal error naming the box, rather than
// blocking. Instances nest; the innermost answers.
class ScriptedAnswers
{
public:
    ScriptedAnswers();
    ~ScriptedAnswers();
    ScriptedAnswers(const ScriptedAnswers&) = delete;
    ScriptedAnswers& operator=(const ScriptedAnswers&) = delete;

    // Queues the answers for the next boxes, in order.
    ScriptedAnswers& button(int result);
    ScriptedAnswers& text(const QString& answer);

    // Answers boxes once the queue is empty.
    void setResponder(std::function<Answer(const Call&)> responder);

    const std::vector<Call>& calls() const { return m_calls; }
    // The prompts of all recorded calls, in order.
    QStringList prompts() const;
    // Answers queued but not used yet.
    qsizetype pending() const { return static_cast<qsizetype>(m_queue.size()); }

    // Used by the box functions.
    Answer answer(const Call& call);

private:
    ScriptedAnswers* m_previous = nullptr;
    std::deque<Answer> m_queue;
    std::function<Answer(const Call&)> m_responder;
    std::vector<Call> m_calls;
};

} // namespace msgbox
