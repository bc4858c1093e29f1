#include "shared/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

#include <utility>

namespace msgbox {

namespace {

ScriptedAnswers* g_script = nullptr;

const char* kindName(Kind kind)
{
    switch (kind) {
    case Kind::MsgBox:
        return "message box";
    case Kind::MsgBoxEx:
        return "custom-caption question";
    case Kind::InputBox:
        return "input box";
    case Kind::OpenFile:
        return "Open dialog";
    case Kind::SaveFile:
        return "Save dialog";
    }
    return "box";
}

QByteArray describe(const Call& call)
{
    const QString text =
        call.kind == Kind::OpenFile || call.kind == Kind::SaveFile ? call.dialog.title : call.prompt;
    return QStringLiteral("%1 \"%2\": %3")
        .arg(QLatin1String(kindName(call.kind)), call.title.isEmpty() ? call.dialog.title : call.title,
             text.left(200))
        .toLocal8Bit();
}

// Without a widget application a real box cannot be shown; a test that forgot
// to script its answers must fail here rather than crash or hang.
void requireGui(const Call& call)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        qFatal("msgbox: unscripted %s without a GUI application", describe(call).constData());
}

QString shownText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QWidget* parentFor(QWidget* owner)
{
    return owner ? owner : QApplication::activeWindow();
}

// The results and the Qt buttons that give them.
constexpr std::pair<int, QMessageBox::StandardButton> kButtons[] = {
    {vbOK, QMessageBox::Ok},       {vbCancel, QMessageBox::Cancel}, {vbAbort, QMessageBox::Abort},
    {vbRetry, QMessageBox::Retry}, {vbIgnore, QMessageBox::Ignore}, {vbYes, QMessageBox::Yes},
    {vbNo, QMessageBox::No},
};

QMessageBox::StandardButton standardFor(int result)
{
    for (const auto& [r, button] : kButtons) {
        if (r == result)
            return button;
    }
    return QMessageBox::NoButton;
}

// Any other button (none, the close box) counts as Cancel.
int resultFor(QMessageBox::StandardButton button)
{
    for (const auto& [r, b] : kButtons) {
        if (b == button)
            return r;
    }
    return vbCancel;
}

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int showMessageBox(const QString& prompt, int style, const QString& title)
{
    QMessageBox box(parentFor(nullptr));
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(shownText(prompt));
    box.setIcon(iconFor(style));
    const QList<int> results = buttonsOf(style);
    QMessageBox::StandardButtons buttons;
    for (int r : results)
        buttons |= standardFor(r);
    box.setStandardButtons(buttons);
    const int defaultIndex = (style >> 8) & 3;
    box.setDefaultButton(standardFor(results.value(defaultIndex, results.front())));
    if (results.contains(vbCancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (results.size() == 1)
        box.setEscapeButton(standardFor(results.front()));
    box.exec();
    return resultFor(box.standardButton(box.clickedButton()));
}

int showCustomQuestion(QWidget* owner, const QString& title, const QString& prompt, const QString& yes,
                       const QString& no)
{
    QMessageBox box(parentFor(owner));
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(shownText(prompt));
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.button(QMessageBox::Yes)->setText(yes);
    box.button(QMessageBox::No)->setText(no);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    return resultFor(box.standardButton(box.clickedButton()));
}

QString showFileDialog(QWidget* owner, const FileDialog& settings, bool save)
{
    // A file given as the starting place opens its folder with no name filled in.
    const QFileInfo start(settings.initialPath);
    const QString folder = start.isFile() ? start.absolutePath() : settings.initialPath;
    QFileDialog dialog(parentFor(owner), settings.title, folder);
    // Qt's own dialog honours the case-insensitive patterns on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QString filter = qtFilter(settings.filter);
    if (!filter.isEmpty())
        dialog.setNameFilters(filter.split(QStringLiteral(";;")));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The classic dialog replaces an existing file without asking.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        QString suffix = settings.defaultSuffix;
        if (suffix.startsWith(u'.'))
            suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

// A pattern that matches names without regard to case: "*.fx" -> "*.[fF][xX]".
QString caseInsensitivePattern(const QString& pattern)
{
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    QString out;
    for (QChar c : pattern) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (c.unicode() < 128 && lower != upper)
            out += u'[' + QString(lower) + upper + u']';
        else
            out += c;
    }
    return out;
}

Answer scripted(const Call& call)
{
    return g_script->answer(call);
}

} // namespace

QString programTitle()
{
    return QStringLiteral("Fernquill");
}

QList<int> buttonsOf(int style)
{
    switch (style & 0x0F) {
    case vbOKCancel:
        return {vbOK, vbCancel};
    case vbAbortRetryIgnore:
        return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel:
        return {vbYes, vbNo, vbCancel};
    case vbYesNo:
        return {vbYes, vbNo};
    case vbRetryCancel:
        return {vbRetry, vbCancel};
    default:
        return {vbOK};
    }
}

int MsgBox(const QString& prompt, int style, const QString& title)
{
    Call call;
    call.kind = Kind::MsgBox;
    call.prompt = prompt;
    call.title = title.isEmpty() ? programTitle() : title;
    call.style = style;
    if (g_script)
        return scripted(call).button;
    requireGui(call);
    return showMessageBox(call.prompt, style, call.title);
}

bool askedYes(const QString& question)
{
    return MsgBox(question, vbYesNo | vbQuestion) == vbYes;
}

int MsgBoxEx(QWidget* owner, const QString& title, const QString& prompt, const QString& yesCaption,
             const QString& noCaption)
{
    Call call;
    call.kind = Kind::MsgBoxEx;
    call.prompt = prompt;
    call.title = title;
    call.style = vbYesNoCancel + vbQuestion;
    call.yesCaption = yesCaption;
    call.noCaption = noCaption;
    if (g_script)
        return scripted(call).button;
    requireGui(call);
    return showCustomQuestion(owner, title, prompt, yesCaption, noCaption);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    Call call;
    call.kind = Kind::InputBox;
    call.prompt = prompt;
    call.title = title.isEmpty() ? programTitle() : title;
    call.defaultText = defaultText;
    if (g_script)
        return scripted(call).text;
    requireGui(call);
    QInputDialog dialog(parentFor(nullptr));
    dialog.setWindowTitle(call.title);
    dialog.setLabelText(shownText(prompt));
    dialog.setTextValue(defaultText);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

namespace {

QString fileDialog(QWidget* owner, const FileDialog& dialog, bool save)
{
    Call call;
    call.kind = save ? Kind::SaveFile : Kind::OpenFile;
    call.title = dialog.title;
    call.dialog = dialog;
    if (g_script)
        return scripted(call).text;
    requireGui(call);
    return showFileDialog(owner, dialog, save);
}

} // namespace

QString GetOpenFileName(QWidget* owner, const FileDialog& dialog)
{
    return fileDialog(owner, dialog, false);
}

QString GetSaveFileName(QWidget* owner, const FileDialog& dialog)
{
    return fileDialog(owner, dialog, true);
}

QString qtFilter(const QString& classicFilter)
{
    if (classicFilter.trimmed().isEmpty())
        return {};
    const QStringList parts = classicFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        // A description without patterns is its own pattern.
        const QString patternText = i + 1 < parts.size() ? parts[i + 1] : parts[i];
        QStringList patterns;
        for (const QString& p : patternText.split(u';', Qt::SkipEmptyParts)) {
            const QString trimmed = p.trimmed();
            if (!trimmed.isEmpty())
                patterns << caseInsensitivePattern(trimmed);
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        filters << description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

// ---- ScriptedAnswers ---------------------------------------------------------

ScriptedAnswers::ScriptedAnswers() : m_previous(g_script)
{
    g_script = this;
}

ScriptedAnswers::~ScriptedAnswers()
{
    g_script = m_previous;
    if (!m_queue.empty())
        qWarning("msgbox: %lld scripted answer(s) were never asked for",
                 static_cast<long long>(m_queue.size()));
}

ScriptedAnswers& ScriptedAnswers::button(int result)
{
    m_queue.push_back(Answer::withButton(result));
    return *this;
}

ScriptedAnswers& ScriptedAnswers::text(const QString& answer)
{
    m_queue.push_back(Answer::withText(answer));
    return *this;
}

void ScriptedAnswers::setResponder(std::function<Answer(const Call&)> responder)
{
    m_responder = std::move(responder);
}

QStringList ScriptedAnswers::prompts() const
{
    QStringList out;
    for (const Call& c : m_calls)
        out << c.prompt;
    return out;
}

Answer ScriptedAnswers::answer(const Call& call)
{
    m_calls.push_back(call);
    Answer a;
    if (!m_queue.empty()) {
        a = m_queue.front();
        m_queue.pop_front();
    } else if (m_responder) {
        a = m_responder(call);
    } else {
        qFatal("msgbox: no scripted answer for %s", describe(call).constData());
    }

    const bool wantsButton = call.kind == Kind::MsgBox || call.kind == Kind::MsgBoxEx;
    if (wantsButton != (a.type == Answer::Type::Button))
        qFatal("msgbox: scripted %s answers %s", wantsButton ? "text" : "button", describe(call).constData());
    if (wantsButton) {
        const QList<int> offered =
            call.kind == Kind::MsgBoxEx ? QList<int>{vbYes, vbNo, vbCancel} : buttonsOf(call.style);
        if (!offered.contains(a.button))
            qFatal("msgbox: scripted button %d is not on %s", a.button, describe(call).constData());
    }
    return a;
}

} // namespace msgbox
