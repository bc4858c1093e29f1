#pragma once

#include <QColor>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>

class BalloonPopup;
class QWidget;

// The help texts of a window's controls shown as balloons: a rounded box with
// a stem pointing at the mouse, a title with an icon, and the text wrapped to
// a maximum width. One BalloonTip serves one window and holds one tool per
// control; hovering a control with a tool shows that tool's text in place of
// Qt's plain tooltip. It is a child of its window and goes with it.
//
// A balloon stays until the pointer really leaves its control, a key or a
// mouse button is pressed, or kAutoPopMs have passed; after the last two it
// comes again only once the pointer has left the control and come back. It
// appears below the pointer's arrow (above the pointer at the screen's
// bottom), never under the pointer, and lets the mouse through.
class BalloonTip : public QObject
{
    Q_OBJECT

public:
    // The icons a title can carry.
    enum TitleIcon : int
    {
        NoIcon = 0,
        InfoIcon = 1,
        WarningIcon = 2,
        ErrorIcon = 3,
    };

    // How long a balloon stays up while the pointer rests on its control,
    // in milliseconds: the time a Windows tooltip stays.
    static constexpr int kAutoPopMs = 5000;

    // A tooltip window for `owner`; inactive, without tools and with the
    // desktop's tooltip colours until set.
    explicit BalloonTip(QWidget* owner);
    ~BalloonTip() override;

    // Adds (or replaces) the control's tool. An empty text is a tool that
    // shows nothing.
    void addTool(QWidget* control, const QString& text);
    // Replaces the text of an existing tool; a balloon showing for it shows
    // the new text at once (and goes when the text is empty). Unknown
    // controls are ignored.
    void updateTipText(QWidget* control, const QString& text);
    bool hasTool(const QWidget* control) const;
    QString toolText(const QWidget* control) const;
    int toolCount() const;

    void setTitle(const QString& title, int icon);
    QString title() const { return m_title; }
    int titleIcon() const { return m_icon; }

    // Colours are COLORREF values: red in the low byte, blue in the high byte.
    void setBackColor(quint32 colorRef);
    void setTextColor(quint32 colorRef);
    QColor backColor() const { return m_back; }
    QColor textColor() const { return m_text; }

    // The widest the text may be before it wraps, in pixels.
    void setMaxWidth(int pixels);
    int maxWidth() const { return m_maxWidth; }

    // An inactive tooltip shows nothing.
    void activate(bool on = true);
    bool isActive() const { return m_active; }

    // Shows the control's balloon with its stem at `globalPos`, as hovering
    // does; false (and nothing shown) when the control has no tool, its text
    // is empty or the tooltip is inactive.
    bool showFor(QWidget* control, QPoint globalPos);
    void hideBalloon();
    bool isShowing() const;
    QWidget* shownTool() const;
    QString shownText() const;
    // The balloon's own window (null before it was first shown).
    QWidget* balloonWindow() const;

    static QColor fromColorRef(quint32 colorRef);

signals:
    // A tool's text was replaced through updateTipText.
    void tipTextUpdated(QWidget* control, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the pointer is still over `control` (not over a window that
    // covers it).
    bool pointerStillOn(const QWidget* control) const;

    QPointer<QWidget> m_owner;
    QHash<const QWidget*, QString> m_tools;
    QString m_title;
    int m_icon = NoIcon;
    QColor m_back;
    QColor m_text;
    int m_maxWidth = -1;
    bool m_active = false;
    QPointer<BalloonPopup> m_popup;
    QPointer<QWidget> m_shownTool;
};

namespace balloontips {

inline constexpr quint32 kBackColor = 0xC0E0FF; // light apricot
inline constexpr quint32 kTextColor = 0x000000;
inline constexpr int kMaxWidth = 250;
inline const QString kTitle = QStringLiteral("Fernquill:");

// Makes the tooltip window of a window; may give null when it cannot be made.
using Creator = std::function<BalloonTip*(QWidget* window)>;

// The set-up each window runs in its load. With `enabled`: creates the
// window's tooltip window, gives it the program's colours, width and title,
// activates it, moves every control's help text into a tool of its own and
// clears the control's text; labels keep theirs (they show plain tips). When
// the tooltip window cannot be made, every help text stays as designed.
// Without `enabled`: clears the help texts of every control but labels.
// Returns the tooltip window, or null. Each run keeps the designed texts, so
// a window loaded again follows the option as it is then: a window that has
// a tooltip window keeps it while the option stays on, loses it when the
// option went off, and gets its help texts back (as tools or plain tips)
// when it comes on again.
BalloonTip* SetUpToolTips(QWidget* window, bool enabled, const Creator& create = {});

// The tooltip window SetUpToolTips made for a window, or null.
BalloonTip* ToolTipOf(const QWidget* window);

} // namespace balloontips
