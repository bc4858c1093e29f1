#include "mainwindow/widgets/ControlEvents.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScopedValueRollback>

namespace {

// The character a key types with Ctrl held: Ctrl+A to Ctrl+Z give 1 to 26,
// Ctrl+Backspace gives DEL (127); 0 for keys that type nothing then.
char16_t controlCharacterOf(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<char16_t>(key - Qt::Key_A + 1);
    if (key == Qt::Key_Backspace)
        return 127;
    return 0;
}

// The character Ctrl+V types: every paste key comes to the handler as it.
constexpr char16_t kPasteCode = 22;

// The Paste item of a text field's own context menu.
QAction* pasteItemOf(const QMenu* menu)
{
    const QList<QAction*> items = menu->actions();
    for (QAction* item : items) {
        if (item->objectName() == u"edit-paste")
            return item;
    }
    for (QAction* item : items) {
        if (item->text().section(u'\t', 0, 0).remove(u'&') == u"Paste")
            return item;
    }
    return nullptr;
}

} // namespace

ControlEvents::ControlEvents(QObject* parent) : QObject(parent) {}

ControlEvents::Handlers& ControlEvents::handlersOf(QWidget* control)
{
    if (!m_handlers.contains(control)) {
        control->installEventFilter(this);
        // A control that goes first takes its handlers with it.
        connect(control, &QObject::destroyed, this, [this](QObject* gone) { m_handlers.remove(gone); });
    }
    return m_handlers[control];
}

void ControlEvents::onKeyPress(QWidget* control, KeyPress handler)
{
    handlersOf(control).keyPress = std::move(handler);
}

void ControlEvents::onGotFocus(QWidget* control, GotFocus handler)
{
    handlersOf(control).gotFocus = std::move(handler);
}

void ControlEvents::onMouseDown(QWidget* control, MouseDown handler)
{
    handlersOf(control).mouseDown = std::move(handler);
}

void ControlEvents::suppressMouseContextMenu(QWidget* control)
{
    handlersOf(control).noMouseContextMenu = true;
}

bool ControlEvents::firstNotice()
{
    return !m_inPiece || m_notices++ == 0;
}

bool ControlEvents::eventFilter(QObject* watched, QEvent* event)
{
    const auto it = m_handlers.constFind(watched);
    if (it == m_handlers.constEnd())
        return false;
    // A copy: a handler may replace the handlers while it runs.
    const Handlers h = *it;
    auto* control = static_cast<QWidget*>(watched);
    if (h.keyPress) {
        auto* edit = qobject_cast<QLineEdit*>(control);
        if (edit && !edit->isReadOnly() && filterPastes(edit, event, h.keyPress))
            return true;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        return h.keyPress && filterKey(control, static_cast<QKeyEvent*>(event), h.keyPress);
    case QEvent::FocusIn:
        if (h.gotFocus)
            h.gotFocus();
        return false;
    case QEvent::MouseButtonPress:
        if (h.mouseDown) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            h.mouseDown(mouse->button(), mouse->position().toPoint());
        }
        return false;
    case QEvent::ContextMenu:
        return h.noMouseContextMenu &&
               static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse;
    default:
        return false;
    }
}

bool ControlEvents::filterKey(QWidget* control, QKeyEvent* event, const KeyPress& handler)
{
    auto* edit = qobject_cast<QLineEdit*>(control);
    if (!edit || edit->isReadOnly())
        return false;

    // A handler may show a message box, during which anything can happen.
    const QPointer<QLineEdit> guard(edit);
    if (event->matches(QKeySequence::Paste)) {
        int key = kPasteCode;
        handler(key);
        if (guard && key == kPasteCode)
            insertFiltered(guard, QGuiApplication::clipboard()->text(), handler);
        else if (guard && key > 0)
            guard->insert(QString(QChar(static_cast<char16_t>(key))));
        return true;
    }

    QString typed;
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        // A shortcut that types a control character (Ctrl+X 24, Ctrl+Z 26,
        // Ctrl+Backspace 127) is a key like any other: the rule may drop it,
        // and with it the cut or undo. Shortcuts without a character
        // (Ctrl+arrows, Ctrl+Insert) reach the field unfiltered.
        const char16_t code = controlCharacterOf(event->key());
        if (code == 0)
            return false;
        typed = QString(QChar(code));
    } else if (event->key() == Qt::Key_Backspace) {
        typed = QString(QChar(8));
    } else {
        typed = event->text();
        if (typed.isEmpty())
            return false;
        for (const QChar c : typed) {
            if (!c.isPrint())
                return false; // Return, Escape, Delete and the like
        }
    }

    if (typed.size() == 1) {
        int key = typed.front().unicode();
        handler(key);
        if (key == typed.front().unicode())
            return false; // the field takes the key as it came
        if (guard && key > 0)
            guard->insert(QString(QChar(static_cast<char16_t>(key))));
        return true;
    }
    // Several characters at once (an input method).
    insertFiltered(edit, typed, handler);
    return true;
}

void ControlEvents::insertFiltered(QLineEdit* edit, const QString& text, const KeyPress& handler)
{
    const QScopedValueRollback<bool> piece(m_inPiece, true);
    const QScopedValueRollback<int> notices(m_notices, 0);
    const QPointer<QLineEdit> guard(edit);
    for (const QChar c : text) {
        if (!c.isPrint())
            continue; // nothing a key types in a one-line field
        int key = c.unicode();
        handler(key);
        if (!guard)
            return;
        if (key > 0)
            guard->insert(QString(QChar(static_cast<char16_t>(key))));
    }
}

bool ControlEvents::filterPastes(QLineEdit* edit, QEvent* event, const KeyPress& handler)
{
    switch (event->type()) {
    case QEvent::ContextMenu: {
        // The field's own menu, whose Paste goes through the handler.
        QMenu* menu = edit->createStandardContextMenu();
        if (!menu)
            return false;
        if (QAction* paste = pasteItemOf(menu)) {
            disconnect(paste, nullptr, edit, nullptr);
            const QPointer<QLineEdit> guard(edit);
            connect(paste, &QAction::triggered, this, [this, guard, handler] {
                if (guard && !guard->isReadOnly())
                    insertFiltered(guard, QGuiApplication::clipboard()->text(), handler);
            });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        // The middle button pastes the selection where the press put the caret.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (mouse->button() != Qt::MiddleButton || !clipboard->supportsSelection())
            return false;
        edit->deselect();
        insertFiltered(edit, clipboard->text(QClipboard::Selection), handler);
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString text = drop->mimeData() ? drop->mimeData()->text() : QString();
        if (text.isNull())
            return false;
        edit->deselect();
        edit->setCursorPosition(edit->cursorPositionAt(drop->position().toPoint()));
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        insertFiltered(edit, text, handler);
        return true;
    }
    case QEvent::InputMethod: {
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (input->commitString().isEmpty())
            return false;
        const QString commit = input->commitString();
        QInputMethodEvent rest(input->preeditString(), input->attributes());
        const QPointer<QLineEdit> guard(edit);
        insertFiltered(edit, commit, handler);
        // What the input method still composes stays on show.
        if (guard && !rest.preeditString().isEmpty())
            QCoreApplication::sendEvent(guard, &rest);
        return true;
    }
    default:
        return false;
    }
}
