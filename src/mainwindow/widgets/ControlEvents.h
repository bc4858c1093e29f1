#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QWidget;

// Hands the key presses, focus arrivals and mouse presses of chosen controls
// to handlers, the way the classic controls raised KeyPress, GotFocus and
// MouseDown. One instance serves any number of controls.
class ControlEvents : public QObject
{
    Q_OBJECT

public:
    // Gets the typed character code and may replace it; 0 drops the key.
    using KeyPress = std::function<void(int& keyAscii)>;
    using GotFocus = std::function<void()>;
    using MouseDown = std::function<void(Qt::MouseButton button, QPoint pos)>;

    explicit ControlEvents(QObject* parent = nullptr);

    // Typed characters of a text field (QLineEdit): printable characters,
    // Backspace (8), and the control characters that Ctrl or Meta with a
    // letter types (Ctrl+V is 22): a shortcut the handler drops does nothing,
    // so a dropped Ctrl+V pastes nothing. Every key the desktop pastes with
    // (Ctrl+V, Shift+Insert, the Paste key) comes as Ctrl+V's 22. Editing
    // keys without a character (arrows, Delete, Ctrl+Insert) reach the field
    // unfiltered, and a read-only field is not filtered at all. A replaced
    // character is inserted at the caret as if typed.
    //
    // Text that enters the field in one piece (a paste the handler let
    // through, the context menu's Paste, the middle button's paste of the
    // selection, a drop, an input method's text) goes through the handler
    // character by character, each against the text the ones before it left,
    // as if typed at the caret; characters that cannot be typed (line
    // breaks, tabs) are left out.
    void onKeyPress(QWidget* control, KeyPress handler);
    void onGotFocus(QWidget* control, GotFocus handler);
    // Any mouse button pressed over the control; pos in the control's own
    // coordinates. The control still gets the press (and the focus) itself.
    void onMouseDown(QWidget* control, MouseDown handler);
    // The control's own context menu no longer opens on the right mouse button
    // (the keyboard's menu key still opens it).
    void suppressMouseContextMenu(QWidget* control);

    // For a handler that refuses a key with a message: true for a typed key,
    // and for the first refusal only while a piece of text goes through the
    // handler, so one paste shows one message however many characters it
    // loses.
    bool firstNotice();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterKey(QWidget* control, QKeyEvent* event, const KeyPress& handler);
    // Inserts `text` at the caret of `edit` character by character through
    // the handler.
    void insertFiltered(QLineEdit* edit, const QString& text, const KeyPress& handler);
    bool filterPastes(QLineEdit* edit, QEvent* event, const KeyPress& handler);

    struct Handlers
    {
        KeyPress keyPress;
        GotFocus gotFocus;
        MouseDown mouseDown;
        bool noMouseContextMenu = false;
    };
    Handlers& handlersOf(QWidget* control);

    QHash<QObject*, Handlers> m_handlers;
    // While a piece of text goes through a handler: the refusals told so far.
    bool m_inPiece = false;
    int m_notices = 0;
};
