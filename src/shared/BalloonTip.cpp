#include "shared/BalloonTip.h"

#include "shared/FormControls.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kMargin = 8;
constexpr int kStemHeight = 12;
constexpr int kStemWidth = 14;
constexpr int kStemOffset = 18; // from the balloon's left edge to the stem's tip
constexpr int kRadius = 7;
constexpr int kIconSize = 16;
constexpr int kIconGap = 6;
constexpr int kTitleGap = 4;
// The pointer's arrow hangs below its hot spot: the balloon's stem points
// at the arrow's foot, never at the hot spot, so the balloon is never under
// the pointer (a window appearing under it would make the control lose the
// pointer at once).
constexpr int kBelowPointer = 20;
constexpr int kAbovePointer = 2;

} // namespace

// The balloon's own window: paints the box, the stem, the title and the text.
class BalloonPopup : public QWidget
{
public:
    explicit BalloonPopup(QWidget* owner)
        : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                             Qt::WindowTransparentForInput)
    {
        setObjectName(QStringLiteral("BalloonTipWindow"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TranslucentBackground);
        m_autoPop.setSingleShot(true);
        m_autoPop.setInterval(BalloonTip::kAutoPopMs);
        connect(&m_autoPop, &QTimer::timeout, this, &QWidget::hide);
    }

    struct Look
    {
        QString title;
        int icon = 0;
        QColor back;
        QColor text;
        int maxWidth = -1;
    };

    // Shows `text` with the stem's tip at `anchor` (global coordinates).
    void showText(const QString& text, const Look& look, QPoint anchor)
    {
        m_text = text;
        m_look = look;
        m_anchor = anchor;
        layoutAndPlace();
        show();
        raise();
        update();
        m_autoPop.start();
    }

    // Replaces the text, keeping the stem where it points.
    void setText(const QString& text)
    {
        m_text = text;
        layoutAndPlace();
        update();
    }

    QString text() const { return m_text; }

protected:
    // While the balloon shows, a key or a mouse button anywhere in the
    // program ends it, as a tooltip ends on the next input.
    void showEvent(QShowEvent*) override { qApp->installEventFilter(this); }
    void hideEvent(QHideEvent*) override
    {
        qApp->removeEventFilter(this);
        m_autoPop.stop();
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            hide();
            break;
        default:
            break;
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF body = bodyRect();
        QPainterPath path;
        path.addRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
        QPolygonF stem;
        const qreal tip = kStemOffset;
        if (m_stemUp) {
            stem << QPointF(tip, 0.5) << QPointF(tip + 2, body.top() + 1)
                 << QPointF(tip + 2 + kStemWidth, body.top() + 1);
        } else {
            stem << QPointF(tip, height() - 0.5) << QPointF(tip + 2, body.bottom() - 1)
                 << QPointF(tip + 2 + kStemWidth, body.bottom() - 1);
        }
        QPainterPath stemPath;
        stemPath.addPolygon(stem);
        stemPath.closeSubpath();
        path = path.united(stemPath);
        p.fillPath(path, m_look.back);
        p.setPen(QPen(QColor(100, 100, 100), 1));
        p.drawPath(path);

        p.setPen(m_look.text);
        int y = int(body.top()) + kMargin;
        const int x = int(body.left()) + kMargin;
        if (hasTitle()) {
            int titleX = x;
            const QIcon icon = titleIcon();
            if (!icon.isNull()) {
                icon.paint(&p, QRect(x, y + (m_titleHeight - kIconSize) / 2, kIconSize, kIconSize));
                titleX += kIconSize + kIconGap;
            }
            p.setFont(titleFont());
            p.drawText(QRect(titleX, y, width(), m_titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                       m_look.title);
            y += m_titleHeight + kTitleGap;
        }
        p.setFont(font());
        p.drawText(QRect(x, y, m_textSize.width(), m_textSize.height()), textFlags(), m_text);
    }

    void mousePressEvent(QMouseEvent*) override { hide(); }

private:
    bool hasTitle() const { return !m_look.title.isEmpty() || m_look.icon != 0; }

    QFont titleFont() const
    {
        QFont f = font();
        f.setBold(true);
        return f;
    }

    QIcon titleIcon() const
    {
        switch (m_look.icon) {
        case BalloonTip::InfoIcon:
            return style()->standardIcon(QStyle::SP_MessageBoxInformation);
        case BalloonTip::WarningIcon:
            return style()->standardIcon(QStyle::SP_MessageBoxWarning);
        case BalloonTip::ErrorIcon:
            return style()->standardIcon(QStyle::SP_MessageBoxCritical);
        default:
            return {};
        }
    }

    int textFlags() const
    {
        return Qt::AlignLeft | Qt::AlignTop | (m_look.maxWidth > 0 ? Qt::TextWordWrap : 0);
    }

    QRect bodyRect() const
    {
        return m_stemUp ? QRect(0, kStemHeight, width(), height() - kStemHeight)
                        : QRect(0, 0, width(), height() - kStemHeight);
    }

    void layoutAndPlace()
    {
        const QFontMetrics metrics(font());
        const int wrapWidth = m_look.maxWidth > 0 ? m_look.maxWidth : 100000;
        m_textSize = metrics.boundingRect(QRect(0, 0, wrapWidth, 100000), textFlags(), m_text).size();
        int contentWidth = m_textSize.width();
        int contentHeight = m_textSize.height();
        m_titleHeight = 0;
        if (hasTitle()) {
            m_titleHeight = std::max(kIconSize, QFontMetrics(titleFont()).height());
            int titleWidth = QFontMetrics(titleFont()).horizontalAdvance(m_look.title);
            if (m_look.icon != 0)
                titleWidth += kIconSize + kIconGap;
            contentWidth = std::max(contentWidth, titleWidth);
            contentHeight += m_titleHeight + kTitleGap;
        }
        const QSize size(std::max(contentWidth + 2 * kMargin, kStemOffset + kStemWidth + kRadius + 4),
                         contentHeight + 2 * kMargin + kStemHeight);
        resize(size);

        // Below the pointer's arrow, or above the pointer when the screen
        // ends first; either way clear of the pointer.
        const QScreen* screen = QGuiApplication::screenAt(m_anchor);
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        const QRect avail = screen ? screen->availableGeometry() : QRect(m_anchor, size);
        const int below = m_anchor.y() + kBelowPointer;
        m_stemUp = below + size.height() <= avail.bottom() + 1;
        QPoint topLeft(m_anchor.x() - kStemOffset,
                       m_stemUp ? below : m_anchor.y() - kAbovePointer - size.height());
        const int rightmost = std::max(avail.left(), avail.right() + 1 - size.width());
        topLeft.setX(std::clamp(topLeft.x(), avail.left(), rightmost));
        move(topLeft);
    }

    QString m_text;
    Look m_look;
    QPoint m_anchor;
    QSize m_textSize;
    int m_titleHeight = 0;
    bool m_stemUp = true;
    QTimer m_autoPop;
};

BalloonTip::BalloonTip(QWidget* owner) : QObject(owner), m_owner(owner)
{
    setObjectName(QStringLiteral("BalloonTip"));
    const QPalette tips = QApplication::palette("QToolTip");
    m_back = tips.color(QPalette::ToolTipBase);
    m_text = tips.color(QPalette::ToolTipText);
}

BalloonTip::~BalloonTip()
{
    delete m_popup;
}

QColor BalloonTip::fromColorRef(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

void BalloonTip::addTool(QWidget* control, const QString& text)
{
    if (!control)
        return;
    if (!m_tools.contains(control)) {
        control->installEventFilter(this);
        // A control that goes takes its tool with it.
        connect(control, &QObject::destroyed, this, [this, control] {
            m_tools.remove(control);
            if (m_popup && m_popup->isVisible() && !m_shownTool)
                hideBalloon();
        });
    }
    m_tools.insert(control, text);
}

void BalloonTip::updateTipText(QWidget* control, const QString& text)
{
    const auto it = m_tools.find(control);
    if (it == m_tools.end())
        return;
    const bool changed = it.value() != text;
    it.value() = text;
    if (isShowing() && m_shownTool == control) {
        if (text.isEmpty())
            hideBalloon();
        else
            m_popup->setText(text);
    } else if (changed && m_shownTool == control) {
        // A new text is a new tip: resting on the control shows it again.
        m_shownTool = nullptr;
    }
    emit tipTextUpdated(control, text);
}

bool BalloonTip::hasTool(const QWidget* control) const
{
    return m_tools.contains(control);
}

QString BalloonTip::toolText(const QWidget* control) const
{
    return m_tools.value(control);
}

int BalloonTip::toolCount() const
{
    return int(m_tools.size());
}

void BalloonTip::setTitle(const QString& title, int icon)
{
    m_title = title;
    m_icon = icon;
}

void BalloonTip::setBackColor(quint32 colorRef)
{
    m_back = fromColorRef(colorRef);
}

void BalloonTip::setTextColor(quint32 colorRef)
{
    m_text = fromColorRef(colorRef);
}

void BalloonTip::setMaxWidth(int pixels)
{
    m_maxWidth = pixels;
}

void BalloonTip::activate(bool on)
{
    m_active = on;
    if (!on)
        hideBalloon();
}

bool BalloonTip::showFor(QWidget* control, QPoint globalPos)
{
    if (!m_active || !control || !m_tools.contains(control))
        return false;
    const QString text = m_tools.value(control);
    if (text.isEmpty())
        return false;
    // Moving within the control keeps the balloon where it is.
    if (isShowing() && m_shownTool == control && m_popup->text() == text)
        return true;
    if (!m_popup)
        m_popup = new BalloonPopup(m_owner);
    m_shownTool = control;
    m_popup->showText(text, {m_title, m_icon, m_back, m_text, m_maxWidth}, globalPos);
    return true;
}

void BalloonTip::hideBalloon()
{
    if (m_popup)
        m_popup->hide();
    m_shownTool = nullptr;
}

bool BalloonTip::isShowing() const
{
    return m_popup && m_popup->isVisible() && m_shownTool;
}

QWidget* BalloonTip::shownTool() const
{
    return isShowing() ? m_shownTool.data() : nullptr;
}

QString BalloonTip::shownText() const
{
    return isShowing() ? m_popup->text() : QString();
}

QWidget* BalloonTip::balloonWindow() const
{
    return m_popup;
}

bool BalloonTip::pointerStillOn(const QWidget* control) const
{
    if (!control->isVisible())
        return false;
    const QPoint at = QCursor::pos();
    if (!control->rect().contains(control->mapFromGlobal(at)))
        return false;
    // Inside the control's rectangle: what lies under the pointer there, a
    // window of another kind (a message box) covering the control included.
    const QWidget* under = QApplication::widgetAt(at);
    if (!under || under == m_popup)
        return true;
    return under == control || control->isAncestorOf(under);
}

bool BalloonTip::eventFilter(QObject* watched, QEvent* event)
{
    auto* control = qobject_cast<QWidget*>(watched);
    if (!control || !m_tools.contains(control))
        return false;
    switch (event->type()) {
    case QEvent::ToolTip: {
        // The balloon this control showed timed out or gave way to a click
        // or a key: it comes again once the pointer has left and come back.
        if (m_shownTool == control && !isShowing()) {
            event->accept();
            return true;
        }
        auto* help = static_cast<QHelpEvent*>(event);
        if (showFor(control, help->globalPos())) {
            event->accept();
            return true;
        }
        // No balloon text: a help text the program gave the control later
        // still shows the plain way, or the parent gets its turn.
        if (m_shownTool == control)
            hideBalloon();
        return false;
    }
    case QEvent::Leave:
        // Only a pointer that really left ends the balloon: a window that
        // appears or goes elsewhere may make the control lose the pointer
        // while it still rests there.
        if (m_shownTool == control && !pointerStillOn(control))
            hideBalloon();
        return false;
    case QEvent::Hide:
        if (m_shownTool == control)
            hideBalloon();
        return false;
    default:
        // Keys, buttons and the wheel end the balloon wherever they go (the
        // balloon watches them itself).
        return false;
    }
}

namespace balloontips {

BalloonTip* ToolTipOf(const QWidget* window)
{
    return window ? window->findChild<BalloonTip*>(QStringLiteral("BalloonTip"), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

namespace {

// Where a control keeps its designed help text once the set-up has moved it
// into a balloon or cleared it, so a later load can bring it back.
constexpr const char* kDesignedTip = "fernquillDesignedToolTip";

// The control's designed help text. A text the control shows at a load was
// given by the program since the last set-up (which leaves none), so it is
// the newest design.
QString designedTipOf(QWidget* control)
{
    const QString shown = control->toolTip();
    if (!shown.isEmpty() || !control->property(kDesignedTip).isValid())
        control->setProperty(kDesignedTip, shown);
    return control->property(kDesignedTip).toString();
}

} // namespace

BalloonTip* SetUpToolTips(QWidget* window, bool enabled, const Creator& create)
{
    if (!window)
        return nullptr;
    const QList<QWidget*> controls = formcontrols::ControlsOf(window);
    // Labels show their help text the plain way whether balloons are on or not.
    const auto skipped = [](const QWidget* w) { return qobject_cast<const QLabel*>(w) != nullptr; };
    BalloonTip* existing = ToolTipOf(window);

    if (!enabled) {
        // The option went off since the last load: no balloons either.
        delete existing;
        for (QWidget* w : controls) {
            if (!skipped(w)) {
                designedTipOf(w);
                w->setToolTip(QString());
            }
        }
        return nullptr;
    }

    BalloonTip* tip = existing ? existing : create ? create(window) : new BalloonTip(window);
    if (!tip) {
        // No tooltip window: the plain tips as designed.
        for (QWidget* w : controls) {
            if (!skipped(w))
                w->setToolTip(designedTipOf(w));
        }
        return nullptr;
    }
    tip->setBackColor(kBackColor);
    tip->setTextColor(kTextColor);
    tip->setMaxWidth(kMaxWidth);
    tip->activate();
    for (QWidget* w : controls) {
        if (skipped(w))
            continue;
        tip->addTool(w, designedTipOf(w));
        tip->setTitle(kTitle, BalloonTip::InfoIcon);
        w->setToolTip(QString());
    }
    return tip;
}

} // namespace balloontips
