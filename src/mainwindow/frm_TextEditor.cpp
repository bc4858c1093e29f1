#include "mainwindow/frm_TextEditor.h"

#include "mainwindow/MainUiBuild.h"
#include "platform/Cp1252.h"
#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modSystem.h"
#include "shared/RuntimeError.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace msgbox;

QString frm_TextEditor::sSearch;

namespace {

QPointer<frm_TextEditor> g_editor;

const QString kChangedQuestion = QStringLiteral("You have changed this text. Do you want to save it?");
const QString kNotFound = QStringLiteral("Search text was not found.");

struct FileError
{
    int number;
    QString description;
};

FileError fileError(int number)
{
    return {number, runtimeerror::standardDescription(number)};
}

// The classic error a failed read of `path` raises.
FileError readFailure(const QString& path)
{
    const QFileInfo fi(path);
    // A pipe, socket or device is never read: to the editor it is no file.
    if (fi.isFile() || fi.isDir())
        return fileError(runtimeerror::kPathFileAccess);
    if (!QFileInfo(fi.absolutePath()).isDir())
        return fileError(runtimeerror::kPathNotFound);
    return fileError(runtimeerror::kFileNotFound);
}

// The classic error a failed write of `path` raises (a read-only file gives
// "Path/File access error").
FileError writeFailure(const QString& path)
{
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return fileError(runtimeerror::kPathNotFound);
    return fileError(runtimeerror::kPathFileAccess);
}

void showError(const FileError& error)
{
    MsgBox(QStringLiteral("ERROR: ") + error.description + QStringLiteral(". [Error #") +
               QString::number(error.number) + u']',
           vbOKOnly + vbCritical);
}

FileDialog dialogSettings(const QString& title, const QString& startIn)
{
    return {title, QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"), startIn,
            QStringLiteral(".txt")};
}

// Names from Windows (the simulators' files) are matched without regard to case.
QString diskPath(const QString& path)
{
    return QDir::isAbsolutePath(path) ? platform::paths::resolvePath(path) : path;
}

QAction* menuItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& keys = {})
{
    QAction* action = formcontrols::named(menu->addAction(caption), name);
    action->setShortcut(keys);
    return action;
}

} // namespace

// ---- lifecycle -----------------------------------------------------------------

frm_TextEditor* frm_TextEditor::instance(QWidget* owner)
{
    if (!g_editor)
        g_editor = new frm_TextEditor(owner);
    return g_editor;
}

frm_TextEditor* frm_TextEditor::existing()
{
    return g_editor;
}

frm_TextEditor* frm_TextEditor::showEditor(QWidget* owner, LoadFailure onFailure)
{
    const bool open = g_editor != nullptr;
    frm_TextEditor* editor = instance(owner);
    const int previousMode = editor->m_mode;
    editor->m_loadFailureRaises = onFailure == LoadFailure::Raise;
    try {
        if (open)
            editor->reopen();
        else
            editor->Form_Load();
    } catch (...) {
        // The opener reports it: a window made for the file goes again, one
        // that was open keeps its text and its file.
        if (open) {
            editor->m_loadFailureRaises = false;
            editor->m_mode = previousMode;
            globals::giEditorMode = previousMode;
        } else {
            globals::giEditorMode = 0;
            delete editor;
        }
        throw;
    }
    editor->m_loadFailureRaises = false;
    editor->show();
    editor->raise();
    editor->activateWindow();
    return editor;
}

frm_TextEditor::frm_TextEditor(QWidget* owner) : QMainWindow(owner)
{
    // A window of its own even when owned by the main window: modeless.
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frm_TextEditor"));
    setWindowTitle(QStringLiteral("TextEditor"));
    buildUi();
    resize(760, 560);
}

frm_TextEditor::~frm_TextEditor()
{
    if (g_editor == this)
        g_editor = nullptr;
}

void frm_TextEditor::buildUi()
{
    txtData = new QPlainTextEdit(this);
    txtData->setObjectName(QStringLiteral("txtData"));
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(10);
    }
    txtData->setFont(font);
    // Configuration files and reports are line by line: long lines scroll.
    txtData->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtData->setTabStopDistance(QFontMetricsF(font).horizontalAdvance(u' ') * 8);
    // The text box fills the window whatever its size.
    setCentralWidget(txtData);
    connect(txtData, &QPlainTextEdit::textChanged, this, &frm_TextEditor::txtData_Change);

    QMenuBar* bar = menuBar();
    mnuFile = formcontrols::named(bar->addMenu(QStringLiteral("&File")), QStringLiteral("mnuFile"));
    mnuFileNew = menuItem(mnuFile, QStringLiteral("mnuFileNew"), QStringLiteral("&New"),
                          QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileOpen = menuItem(mnuFile, QStringLiteral("mnuFileOpen"), QStringLiteral("&Open..."),
                           QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileSave = menuItem(mnuFile, QStringLiteral("mnuFileSave"), QStringLiteral("&Save"),
                           QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFileSaveAs = menuItem(mnuFile, QStringLiteral("mnuFileSaveAs"), QStringLiteral("Save &As..."));
    mnuFileMRU[0] =
        formcontrols::named(mnuFile->addSeparator(), mainui::arrayName(QStringLiteral("mnuFileMRU"), 0));
    mnuFileMRU[0]->setVisible(false);
    // Separators carry no text: some styles would show it beside the line.
    mnuFileSep = formcontrols::named(mnuFile->addSeparator(), QStringLiteral("mnuFileSep"));
    mnuFileExit = menuItem(mnuFile, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit"));

    mnuEdit = formcontrols::named(bar->addMenu(QStringLiteral("&Edit")), QStringLiteral("mnuEdit"));
    mnuSelectAll = menuItem(mnuEdit, QStringLiteral("mnuSelectAll"), QStringLiteral("&Select All"),
                            QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuEditCut = menuItem(mnuEdit, QStringLiteral("mnuEditCut"), QStringLiteral("Cu&t"),
                          QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuEditCopy = menuItem(mnuEdit, QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"),
                           QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditPaste = menuItem(mnuEdit, QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"),
                            QKeySequence(Qt::CTRL | Qt::Key_V));

    mnuSearch = formcontrols::named(bar->addMenu(QStringLiteral("&Search")), QStringLiteral("mnuSearch"));
    mnuSearchFind = menuItem(mnuSearch, QStringLiteral("mnuSearchFind"), QStringLiteral("&Find..."),
                             QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuSearchFindAgain = menuItem(mnuSearch, QStringLiteral("mnuSearchFindAgain"),
                                  QStringLiteral("Find &Again"), QKeySequence(Qt::Key_F3));

    // The text box would handle the edit keys itself; let the menu commands have them.
    txtData->installEventFilter(this);

    connect(mnuFileNew, &QAction::triggered, this, &frm_TextEditor::mnuFileNew_Click);
    connect(mnuFileOpen, &QAction::triggered, this, &frm_TextEditor::mnuFileOpen_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frm_TextEditor::mnuFileSave_Click);
    connect(mnuFileSaveAs, &QAction::triggered, this, &frm_TextEditor::mnuFileSaveAs_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frm_TextEditor::mnuFileExit_Click);
    connect(mnuSelectAll, &QAction::triggered, this, &frm_TextEditor::mnuSelectAll_Click);
    connect(mnuEditCut, &QAction::triggered, this, &frm_TextEditor::mnuEditCut_Click);
    connect(mnuEditCopy, &QAction::triggered, this, &frm_TextEditor::mnuEditCopy_Click);
    connect(mnuEditPaste, &QAction::triggered, this, &frm_TextEditor::mnuEditPaste_Click);
    connect(mnuSearchFind, &QAction::triggered, this, &frm_TextEditor::mnuSearchFind_Click);
    connect(mnuSearchFindAgain, &QAction::triggered, this, &frm_TextEditor::mnuSearchFindAgain_Click);
}

void frm_TextEditor::Form_Load()
{
    loadModeFile();
    bChanged = false;
}

void frm_TextEditor::loadModeFile()
{
    QString path;
    switch (globals::giEditorMode) {
    case 1:
        path = globals::gsAirlinesFS9Path;
        m_reloadFS9 = true;
        break;
    case 2:
        path = globals::gsAirlinesFSXPath;
        m_reloadFSX = true;
        break;
    case 3:
        path = globals::gsEditFile;
        break;
    default:
        return;
    }
    m_mode = globals::giEditorMode;
    // A file that cannot be read is reported; the window stays, empty.
    if (!path.isEmpty() && !LoadFile(diskPath(path)))
        clearText();
}

// Shown again while open: the opener wants another file (a fresh report, the
// other airlines.cfg), so load it once the user has decided about the changes.
void frm_TextEditor::reopen()
{
    if (globals::giEditorMode < 1 || globals::giEditorMode > 3)
        return;
    bool bGoOn = false;
    CheckSaveChanges(bGoOn);
    if (!bGoOn) {
        globals::giEditorMode = m_mode;
        return;
    }
    loadModeFile();
    bChanged = false;
}

void frm_TextEditor::Form_QueryUnload(bool& Cancel)
{
    bool bGoOn = false;
    CheckSaveChanges(bGoOn);
    Cancel = !bGoOn;
}

void frm_TextEditor::Form_Unload()
{
    // Validation must see what was saved (or find the cache as the file is).
    if (m_reloadFS9)
        modSystem::ReloadAirlinesFS9();
    if (m_reloadFSX)
        modSystem::ReloadAirlinesFSX();
    globals::giEditorMode = 0;
    // The next opening builds a fresh window even before this one is deleted.
    if (g_editor == this)
        g_editor = nullptr;
}

bool frm_TextEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtData && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* item : {mnuSelectAll, mnuEditCut, mnuEditCopy, mnuEditPaste}) {
            if (item->shortcut() == pressed)
                return true; // not overridden: the menu item's shortcut runs
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frm_TextEditor::closeEvent(QCloseEvent* event)
{
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

// ---- text and files ------------------------------------------------------------

QString frm_TextEditor::text() const
{
    // The raw text keeps no-break spaces, which plain text would turn into blanks.
    QString raw = txtData->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, u'\n');
    raw.replace(QChar::LineSeparator, u'\n');
    return raw;
}

void frm_TextEditor::txtData_Change()
{
    bChanged = true;
}

void frm_TextEditor::clearText()
{
    sFileName.clear();
    txtData->clear();
    m_lineEnd = editortext::LineEnd::CrLf;
    m_fileBytes.clear();
    m_fileText.clear();
    m_haveFileBytes = false;
    bChanged = false;
}

bool frm_TextEditor::LoadFile(const QString& path)
{
    QByteArray bytes;
    if (!platform::fileio::readAll(path, &bytes)) {
        const FileError error = readFailure(path);
        if (m_loadFailureRaises)
            throw runtimeerror::RuntimeError(error.number, error.description);
        showError(error);
        return false;
    }
    const QString fileText = platform::cp1252::decode(bytes);
    sFileName = path;
    m_lineEnd = editortext::detectLineEnd(fileText);
    m_fileBytes = bytes;
    m_fileText = editortext::toEditorText(fileText);
    m_haveFileBytes = true;
    txtData->setPlainText(m_fileText);
    bChanged = false;
    return true;
}

void frm_TextEditor::CheckSaveChanges(bool& bGoOn)
{
    if (!bChanged) {
        bGoOn = true;
        return;
    }
    switch (MsgBox(kChangedQuestion, vbYesNoCancel + vbExclamation)) {
    case vbYes:
        // A cancelled Save dialog goes on (the user chose not to name the
        // file); a save that failed keeps the text rather than losing it.
        bGoOn = SaveFile() != SaveResult::Failed;
        break;
    case vbNo:
        bChanged = false;
        bGoOn = true;
        break;
    default:
        bGoOn = false;
        break;
    }
}

frm_TextEditor::SaveResult frm_TextEditor::SaveFile()
{
    if (sFileName.isEmpty()) {
        const QString name = GetSaveFileName(this, dialogSettings(QStringLiteral("Save File"), {}));
        if (name.isEmpty())
            return SaveResult::Cancelled;
        sFileName = name;
    }

    const QString current = text();
    QByteArray bytes;
    if (m_haveFileBytes && current == m_fileText) {
        bytes = m_fileBytes;
    } else {
        // Never let a character the file cannot hold turn into '?' unnoticed.
        const qsizetype bad = editortext::firstUnencodable(current);
        if (bad >= 0) {
            const qsizetype line = current.left(bad).count(u'\n') + 1;
            const qsizetype width = current.at(bad).isHighSurrogate() && bad + 1 < current.size() ? 2 : 1;
            QTextCursor cursor(txtData->document());
            cursor.setPosition(int(bad));
            cursor.setPosition(int(bad + width), QTextCursor::KeepAnchor);
            txtData->setTextCursor(cursor);
            showError({runtimeerror::kInvalidCall,
                       QStringLiteral("Windows-1252 text cannot hold the character \"%1\" (line %2)")
                           .arg(current.mid(bad, width))
                           .arg(line)});
            return SaveResult::Failed;
        }
        // Each line keeps the end it has in the file; new lines get the
        // file's most common one.
        bytes = platform::cp1252::encode(
            m_haveFileBytes ? editortext::withOwnLineEnds(platform::cp1252::decode(m_fileBytes), current, m_lineEnd)
                            : editortext::withLineEnds(current, m_lineEnd));
    }

    // A file opened through a link is saved into the file the link names, as
    // long as that lies in the folder the file was opened from; a link that
    // leads out of it is never written through, and the message names it.
    if (const auto target = platform::fileio::writeTarget(sFileName); !target) {
        showError({runtimeerror::kPathFileAccess, target.error});
        return SaveResult::Failed;
    }
    if (!platform::fileio::writeAtomically(sFileName, bytes)) {
        showError(writeFailure(sFileName));
        return SaveResult::Failed;
    }
    m_fileBytes = bytes;
    m_fileText = current;
    m_haveFileBytes = true;
    bChanged = false;
    return SaveResult::Saved;
}

// ---- File menu -----------------------------------------------------------------

void frm_TextEditor::mnuFileNew_Click()
{
    bool bGoOn = false;
    CheckSaveChanges(bGoOn);
    if (bGoOn)
        clearText();
}

void frm_TextEditor::mnuFileOpen_Click()
{
    bool bGoOn = false;
    CheckSaveChanges(bGoOn);
    if (!bGoOn)
        return;
    const QString startIn = sFileName.isEmpty() ? QString() : QFileInfo(sFileName).absolutePath();
    const QString name = GetOpenFileName(this, dialogSettings(QStringLiteral("Open File"), startIn));
    if (name.isEmpty())
        return;
    if (LoadFile(name))
        AddToMRU(sFileName);
}

void frm_TextEditor::mnuFileSave_Click()
{
    SaveFile();
}

void frm_TextEditor::mnuFileSaveAs_Click()
{
    const QString previous = sFileName;
    sFileName.clear();
    SaveFile();
    if (sFileName.isEmpty())
        sFileName = previous;
}

void frm_TextEditor::mnuFileMRU_Click(int index)
{
    if (index < 1 || index > iMRUCount)
        return;
    bool bGoOn = false;
    CheckSaveChanges(bGoOn);
    if (!bGoOn)
        return;
    // The recent list keeps its order; a file that went away is reported.
    LoadFile(editortext::mruPath(mnuFileMRU[size_t(index)]->text()));
}

void frm_TextEditor::AddToMRU(const QString& sFile)
{
    mnuFileMRU[0]->setVisible(true);
    if (iMRUCount < 4) {
        const int index = iMRUCount + 1;
        auto* item = new QAction(this);
        item->setObjectName(mainui::arrayName(QStringLiteral("mnuFileMRU"), index));
        mnuFile->insertAction(mnuFileSep, item);
        connect(item, &QAction::triggered, this, [this, index] { mnuFileMRU_Click(index); });
        mnuFileMRU[size_t(index)] = item;
        iMRUCount = index;
    }
    for (int i = iMRUCount - 1; i >= 1; --i)
        mnuFileMRU[size_t(i + 1)]->setText(editortext::mruMovedCaption(i + 1, mnuFileMRU[size_t(i)]->text()));
    mnuFileMRU[1]->setText(editortext::mruCaption(1, sFile));
    mnuFileMRU[1]->setVisible(true);
}

void frm_TextEditor::mnuFileExit_Click()
{
    close();
}

// ---- Edit menu -----------------------------------------------------------------

void frm_TextEditor::mnuSelectAll_Click()
{
    txtData->selectAll();
}

void frm_TextEditor::mnuEditCut_Click()
{
    mnuEditCopy_Click();
    txtData->textCursor().removeSelectedText();
}

void frm_TextEditor::mnuEditCopy_Click()
{
    QString selected = txtData->textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, u'\n');
    selected.replace(QChar::LineSeparator, u'\n');
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(selected);
}

void frm_TextEditor::mnuEditPaste_Click()
{
    txtData->textCursor().insertText(QGuiApplication::clipboard()->text());
}

// ---- Search menu ---------------------------------------------------------------

void frm_TextEditor::searchFrom(qsizetype from)
{
    const qsizetype found = editortext::findText(text(), sSearch, from);
    if (found < 0) {
        sSearch.clear();
        MsgBox(kNotFound, vbOKOnly + vbExclamation);
        return;
    }
    QTextCursor cursor(txtData->document());
    cursor.setPosition(int(found));
    cursor.setPosition(int(found + sSearch.size()), QTextCursor::KeepAnchor);
    txtData->setTextCursor(cursor);
    txtData->ensureCursorVisible();
}

void frm_TextEditor::mnuSearchFind_Click()
{
    sSearch = InputBox(QStringLiteral("Enter the text to find."), QStringLiteral("Find Text"));
    if (sSearch.isEmpty())
        return;
    searchFrom(0);
}

void frm_TextEditor::mnuSearchFindAgain_Click()
{
    // Without a search text the user is asked first; the search then goes on
    // from the hit that finds, as any Find Again does. Nothing to search for
    // (cancelled, or not found and so forgotten) ends it there.
    if (sSearch.isEmpty()) {
        mnuSearchFind_Click();
        if (sSearch.isEmpty())
            return;
    }
    const QTextCursor cursor = txtData->textCursor();
    const qsizetype start = cursor.selectionStart();
    searchFrom(editortext::findAgainStart(start, cursor.selectionEnd() - start));
}
