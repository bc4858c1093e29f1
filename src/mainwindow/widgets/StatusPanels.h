#pragma once

#include <QColor>
#include <QDateTime>
#include <QStatusBar>
#include <QString>

#include <array>
#include <functional>

class QTimer;

// The main window's status bar: twelve panels, numbered from 1. Each panel has
// a plain text and a tag (the explanation shown as its tooltip). A panel can
// also be painted as a coloured picture with a text on it (setPanel); the
// picture then covers the whole panel. Panels 11 and 12 show the current date
// and time and keep them current.
class StatusPanels : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int PanelCount = 12;
    static constexpr int DatePanel = 11;
    static constexpr int TimePanel = 12;

    explicit StatusPanels(QWidget* parent = nullptr);

    // Paints the panel as a picture: the text in the fore colour on the back
    // colour, aligned left (0), right (1) or centred (2), vertically centred.
    // The panel's plain text is not changed.
    void setPanel(int panel, const QString& text, const QColor& back, const QColor& fore, int alignment);
    // Removes the picture, so the plain text shows again.
    void clearPanelPicture(int panel);
    bool hasPanelPicture(int panel) const;
    QString panelPictureText(int panel) const;
    QColor panelBackColor(int panel) const;
    QColor panelForeColor(int panel) const;
    int panelAlignment(int panel) const;

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    QString panelTag(int panel) const;
    void setPanelTag(int panel, const QString& tag);

    // The panel's rectangle in the status bar's coordinates; empty for a panel
    // that does not exist.
    QRect panelRect(int panel) const;
    // The first panel whose left <= x <= left + width, or 0 when none.
    int panelAt(int x) const;

    // Whether hovering a panel shows its tag as a tooltip (on by default).
    void setTagTipsEnabled(bool enabled);
    bool tagTipsEnabled() const;

    // Puts the current date and time into panels 11 and 12 now (a timer inside
    // the status bar also does this every second).
    void updateClock();
    // Replaces the clock the date and time panels read (for tests).
    void setClock(std::function<QDateTime()> clock);

signals:
    void panelDoubleClicked(int panel);
    void mouseMoved(Qt::MouseButtons buttons, QPoint pos);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Panel
    {
        QString text;
        QString tag;
        bool picture = false;
        QString pictureText;
        QColor back;
        QColor fore;
        int alignment = 0;
        mutable QRect rect;
    };

    Panel* at(int panel);
    const Panel* at(int panel) const;
    // Lays the panels out for the current width when it changed; works for a
    // hidden status bar too, which receives no resize events.
    void ensureLayout() const;

    std::array<Panel, PanelCount> m_panels;
    bool m_tagTips = true;
    mutable int m_layoutWidth = -1;
    mutable int m_layoutHeight = -1;
    mutable QFont m_layoutFont;
    std::function<QDateTime()> m_clock;
    QTimer* m_clockTimer = nullptr;
};
