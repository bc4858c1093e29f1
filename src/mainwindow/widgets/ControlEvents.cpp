#include "mainwindow/widgets/ControlEvents.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>

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

bool ControlEvents::eventFilter(QObject* watched, QEvent* event)
{
    const auto it = m_handlers.constFind(watched);
    if (it == m_handlers.constEnd())
        return false;
    // A copy: a handler may replace the handlers while it runs.
    const Handlers h = *it;
    auto* control = static_cast<QWidget*>(watched);
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

    QString typed;
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        // A shortcut that types a control character (Ctrl+V is 22, Ctrl+X 24,
        // Ctrl+Backspace 127) is a key like any other: the rule may drop it,
        // and with it the paste, cut or undo. Shortcuts without a character
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

    // A handler may show a message box, during which anything can happen.
    const QPointer<QLineEdit> guard(edit);
    if (typed.size() == 1) {
        int key = typed.front().unicode();
        handler(key);
        if (key == typed.front().unicode())
            return false; // the field takes the key as it came
        if (guard && key > 0)
            guard->insert(QString(QChar(static_cast<char16_t>(key))));
        return true;
    }
    // Several characters at once (an input method): each is filtered against
    // the text the ones before it left.
    for (const QChar c : typed) {
        int key = c.unicode();
        handler(key);
        if (!guard)
            break;
        if (key > 0)
            guard->insert(QString(QChar(static_cast<char16_t>(key))));
    }
    return true;
}
