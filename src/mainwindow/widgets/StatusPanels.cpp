#include "mainwindow/widgets/StatusPanels.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int kGap = 2;
constexpr int kPadding = 8;
constexpr int kSpringPanel = 10; // takes the width the other panels leave

// Widest text each panel is expected to show; the panels are sized for it.
const char* const kSampleTexts[StatusPanels::PanelCount] = {"FS9 :",
                                                            "found",
                                                            "FS9 ATC",
                                                            "FSX :",
                                                            "found",
                                                            "FSX ATC",
                                                            "Aircraft :",
                                                            "AC Folder",
                                                            "AC Status: NOK",
                                                            "0 aircraft variations defined",
                                                            "",
                                                            ""};

int alignmentFlags(int alignment)
{
    switch (alignment) {
    case 1:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
        return Qt::AlignCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

StatusPanels::StatusPanels(QWidget* parent)
    : QStatusBar(parent), m_clock([] { return QDateTime::currentDateTime(); })
{
    setSizeGripEnabled(false);
    setMouseTracking(true);
    QFont font(QStringLiteral("Arial"), 10);
    font.setBold(true);
    setFont(font);

    const QString found = QStringLiteral(" if %1 installation detected, else ");
    const QString quote = QStringLiteral("\"");
    const QString designed[PanelCount][2] = {
        {QStringLiteral("FS9 :"),
         QStringLiteral("Aircraft configuration status: green 'OK' = great, red 'NOK' = error")},
        {QStringLiteral("n/a"), quote + u"found" + quote + found.arg(u"FS9") + quote + u"n/a" + quote},
        {QStringLiteral("FS9 ATC"), QStringLiteral("Green background if FS9 airlines.cfg was found & loaded, "
                                                   "else red. Double-click to edit file.")},
        {QStringLiteral("FSX :"), QString()},
        {QStringLiteral("n/a"), quote + u"found" + quote + found.arg(u"FSX") + quote + u"n/a" + quote},
        {QStringLiteral("FSX ATC"), QStringLiteral("Green background if FSX airlines.cfg was found & loaded, "
                                                   "else red. Double-click to edit file.")},
        {QStringLiteral("Aircraft :"), QString()},
        {QStringLiteral("AC Folder"),
         QStringLiteral("Green background if current folder is an aircraft folder, else red")},
        {QString(),
         QStringLiteral("Basic aircraft status. Checks only section and title uniqueness and model files "
                        "availability. Green means passed, red means error. NOTE: You still may have other "
                        "errors in your configuration. Double-click here for a detailed analysis.")},
        {QString(), QStringLiteral("Shows how many aircraft are defined in this folder & aircraft.cfg")},
        {QString(), QStringLiteral("current date")},
        {QString(), QStringLiteral("current time")},
    };
    for (int i = 0; i < PanelCount; ++i) {
        m_panels[std::size_t(i)].text = designed[i][0];
        m_panels[std::size_t(i)].tag = designed[i][1];
    }

    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(1000);
    connect(m_clockTimer, &QTimer::timeout, this, &StatusPanels::updateClock);
    m_clockTimer->start();
    updateClock();
    setMinimumHeight(QFontMetrics(font).height() + 8);
}

StatusPanels::Panel* StatusPanels::at(int panel)
{
    if (panel < 1 || panel > PanelCount)
        return nullptr;
    return &m_panels[std::size_t(panel - 1)];
}

const StatusPanels::Panel* StatusPanels::at(int panel) const
{
    if (panel < 1 || panel > PanelCount)
        return nullptr;
    return &m_panels[std::size_t(panel - 1)];
}

void StatusPanels::setPanel(int panel, const QString& text, const QColor& back, const QColor& fore,
                            int alignment)
{
    Panel* p = at(panel);
    if (!p)
        return;
    p->picture = true;
    p->pictureText = text;
    p->back = back;
    p->fore = fore;
    p->alignment = alignment;
    update(panelRect(panel));
}

void StatusPanels::clearPanelPicture(int panel)
{
    if (Panel* p = at(panel)) {
        p->picture = false;
        p->pictureText.clear();
        p->back = QColor();
        p->fore = QColor();
        update(panelRect(panel));
    }
}

bool StatusPanels::hasPanelPicture(int panel) const
{
    const Panel* p = at(panel);
    return p && p->picture;
}

QString StatusPanels::panelPictureText(int panel) const
{
    const Panel* p = at(panel);
    return p ? p->pictureText : QString();
}

QColor StatusPanels::panelBackColor(int panel) const
{
    const Panel* p = at(panel);
    return p ? p->back : QColor();
}

QColor StatusPanels::panelForeColor(int panel) const
{
    const Panel* p = at(panel);
    return p ? p->fore : QColor();
}

int StatusPanels::panelAlignment(int panel) const
{
    const Panel* p = at(panel);
    return p ? p->alignment : 0;
}

QString StatusPanels::panelText(int panel) const
{
    const Panel* p = at(panel);
    return p ? p->text : QString();
}

void StatusPanels::setPanelText(int panel, const QString& text)
{
    if (Panel* p = at(panel)) {
        p->text = text;
        update(panelRect(panel));
    }
}

QString StatusPanels::panelTag(int panel) const
{
    const Panel* p = at(panel);
    return p ? p->tag : QString();
}

void StatusPanels::setPanelTag(int panel, const QString& tag)
{
    if (Panel* p = at(panel))
        p->tag = tag;
}

QRect StatusPanels::panelRect(int panel) const
{
    const Panel* p = at(panel);
    if (!p)
        return {};
    ensureLayout();
    return p->rect;
}

int StatusPanels::panelAt(int x) const
{
    ensureLayout();
    for (int i = 1; i <= PanelCount; ++i) {
        const QRect& r = m_panels[std::size_t(i - 1)].rect;
        if (r.left() <= x && x <= r.left() + r.width())
            return i;
    }
    return 0;
}

void StatusPanels::setTagTipsEnabled(bool enabled)
{
    m_tagTips = enabled;
    if (!enabled)
        QToolTip::hideText();
}

bool StatusPanels::tagTipsEnabled() const
{
    return m_tagTips;
}

void StatusPanels::updateClock()
{
    const QDateTime now = m_clock();
    const QLocale locale = QLocale::system();
    const QString date = locale.toString(now.date(), QLocale::ShortFormat);
    const QString time = locale.toString(now.time(), QLocale::ShortFormat);
    if (date != panelText(DatePanel))
        setPanelText(DatePanel, date);
    if (time != panelText(TimePanel))
        setPanelText(TimePanel, time);
}

void StatusPanels::setClock(std::function<QDateTime()> clock)
{
    m_clock = clock ? std::move(clock) : [] {
        return QDateTime::currentDateTime();
    };
    updateClock();
}

void StatusPanels::ensureLayout() const
{
    if (m_layoutWidth == width() && m_layoutHeight == height() && m_layoutFont == font())
        return;
    m_layoutWidth = width();
    m_layoutHeight = height();
    m_layoutFont = font();

    const QFontMetrics metrics(font());
    const QLocale locale = QLocale::system();
    // Sized for a two-digit day and month and a two-digit hour.
    const QString sampleDate = locale.toString(QDate(2000, 12, 28), QLocale::ShortFormat);
    const QString sampleTime = locale.toString(QTime(23, 58), QLocale::ShortFormat);

    std::array<int, PanelCount> widths{};
    int fixed = 0;
    for (int i = 0; i < PanelCount; ++i) {
        QString sample = QString::fromLatin1(kSampleTexts[i]);
        if (i + 1 == DatePanel)
            sample = sampleDate;
        else if (i + 1 == TimePanel)
            sample = sampleTime;
        widths[std::size_t(i)] = metrics.horizontalAdvance(sample) + 2 * kPadding;
        if (i + 1 != kSpringPanel)
            fixed += widths[std::size_t(i)] + kGap;
    }
    const int spring = std::max(widths[kSpringPanel - 1], width() - fixed - 2 * kGap);
    widths[kSpringPanel - 1] = spring;

    int x = kGap;
    const int top = 2;
    const int h = std::max(0, height() - 4);
    for (int i = 0; i < PanelCount; ++i) {
        m_panels[std::size_t(i)].rect = QRect(x, top, widths[std::size_t(i)], h);
        x += widths[std::size_t(i)] + kGap;
    }
}

bool StatusPanels::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int panel = panelAt(help->pos().x());
        const QString tag = panelTag(panel);
        if (m_tagTips && !tag.isEmpty())
            QToolTip::showText(help->globalPos(), tag, this, panelRect(panel));
        else
            QToolTip::hideText();
        return true;
    }
    return QStatusBar::event(event);
}

void StatusPanels::paintEvent(QPaintEvent*)
{
    ensureLayout();
    QPainter painter(this);
    painter.setFont(font());
    for (const Panel& p : m_panels) {
        if (p.picture) {
            painter.fillRect(p.rect, p.back);
            painter.setPen(p.fore);
            painter.drawText(p.rect, alignmentFlags(p.alignment), p.pictureText);
            continue;
        }
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(p.rect.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(p.rect.adjusted(kPadding / 2, 0, -kPadding / 2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         p.text);
    }
}

void StatusPanels::changeEvent(QEvent* event)
{
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        setMinimumHeight(QFontMetrics(font()).height() + 8);
        update();
    }
}

void StatusPanels::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->buttons(), event->position().toPoint());
    QStatusBar::mouseMoveEvent(event);
}

void StatusPanels::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int panel = panelAt(event->position().toPoint().x());
    if (panel > 0)
        emit panelDoubleClicked(panel);
    QStatusBar::mouseDoubleClickEvent(event);
}
