#include "shared/ProportionalResize.h"

#include "shared/CaptionFit.h"
#include "shared/FormControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStackedLayout>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <utility>

namespace modGlobal {

std::vector<FormRecord> gFormRecords;
std::vector<ControlRecord> gControlRecords;
bool gbResizing = false;

namespace {

// The window's client area: a main window's menu bar and status bar are not
// part of it.
QSize innerSize(const QWidget* window)
{
    QSize size = window->size();
    if (const auto* main = qobject_cast<const QMainWindow*>(window)) {
        if (const QWidget* client = main->centralWidget())
            return client->size().expandedTo(QSize(0, 0));
        const QWidget* menu = main->menuWidget();
        if (menu && menu->isVisibleTo(window))
            size.rheight() -= menu->height();
    }
    return size.expandedTo(QSize(0, 0));
}

qint32 roundHalfEven(double value)
{
    return static_cast<qint32>(std::nearbyint(value));
}

// A control on a tab page follows the page, whose size lags a few points
// behind the window's when the window shrinks: the tab row keeps its height.
constexpr qint32 kPageLag = 4;

qint32 scaled(qint32 stored, qint32 percent)
{
    return static_cast<qint32>(qint64(stored) * percent / 100);
}

// Records of windows that are gone would only ever match nothing.
void forgetClosedWindows()
{
    std::erase_if(gControlRecords, [](const ControlRecord& r) { return !r.window || !r.control; });
    std::erase_if(gFormRecords, [](const FormRecord& r) { return !r.window; });
}

// Lays every container out for its present size, top down: the pages of a tab
// control that are not shown included, whose layouts have not run for the
// page's size yet. What the layouts give is the design geometry.
void settleLayouts(QWidget* parent)
{
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow())
            continue;
        QLayout* layout = w->layout();
        if (auto* stack = qobject_cast<QStackedLayout*>(layout)) {
            if (const QWidget* shown = stack->currentWidget()) {
                for (int i = 0; i < stack->count(); ++i) {
                    if (QWidget* page = stack->widget(i))
                        page->setGeometry(shown->geometry());
                }
            }
        } else if (layout && layout->isEnabled()) {
            layout->invalidate();
            layout->activate();
        }
        settleLayouts(w);
    }
}

// The widgets a layout places, at any depth of its nested layouts.
void collectLaidOut(const QLayout* layout, QList<QWidget*>& out)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QWidget* w = item->widget())
            out.append(w);
        else if (const QLayout* inner = item->layout())
            collectLaidOut(inner, out);
    }
}

// The window's control records by control, as FindControlIndex finds them,
// looked up once for a pass over many controls.
QHash<const QWidget*, qint32> recordIndexes(const QWidget* window)
{
    QHash<const QWidget*, qint32> indexes;
    // From the back, so that the first record of a control is the one kept.
    for (size_t i = gControlRecords.size(); i-- > 0;) {
        const ControlRecord& r = gControlRecords[i];
        if (r.window == window && r.control)
            indexes.insert(r.control.data(), static_cast<qint32>(i));
    }
    return indexes;
}

// Switches off every layout that lays out registered controls and marks those
// controls as placed by the engine. A main window's own layout keeps its menu
// bar, client area and status bar; layouts of Qt's own parts (a tab control's
// pages, a status bar's panels) hold no registered control and stay on.
void takeOverLayouts(QWidget* window, const QList<QWidget*>& controls)
{
    const QHash<const QWidget*, qint32> indexOf = recordIndexes(window);
    const auto isPlaced = [&](const QWidget* control) {
        const qint32 index = indexOf.value(control, -1);
        return index >= 0 && gControlRecords[size_t(index)].placed;
    };
    QList<QWidget*> containers = controls;
    if (!qobject_cast<QMainWindow*>(window))
        containers.prepend(window);
    for (QWidget* container : containers) {
        QLayout* layout = container->layout();
        if (!layout || !layout->isEnabled())
            continue;
        QList<QWidget*> laidOut;
        collectLaidOut(layout, laidOut);
        std::vector<qint32> indexes;
        for (const QWidget* control : laidOut) {
            const qint32 index = indexOf.value(control, -1);
            if (index >= 0)
                indexes.push_back(index);
        }
        if (indexes.empty())
            continue;
        layout->setEnabled(false);
        for (qint32 index : indexes) {
            ControlRecord& r = gControlRecords[size_t(index)];
            r.placed = true;
            // The layout's limits (fixed widths and heights) go with it.
            r.control->setMinimumSize(0, 0);
            r.control->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
    }
    for (ControlRecord& r : gControlRecords) {
        if (r.window != window || !r.placed || !r.control)
            continue;
        QWidget* area = r.control->parentWidget();
        while (area && area != window && isPlaced(area))
            area = area->parentWidget();
        r.area = area;
        const qint32 areaIndex = area && area != window ? indexOf.value(area, -1) : -1;
        if (areaIndex >= 0) {
            const ControlRecord& areaRecord = gControlRecords[size_t(areaIndex)];
            r.areaReference = QSize(areaRecord.width, areaRecord.height);
        } else {
            r.areaReference.reset();
        }
    }
}

// The width and height percentages a placed control follows: those of its
// area since registration (for the client area the window's own).
std::pair<qint32, qint32> areaPercents(const ControlRecord& r, QWidget* window)
{
    if (!r.area || !r.areaReference)
        return {FormWidthPercent(window), FormHeightPercent(window)};
    return {Percent(r.area->width(), r.areaReference->width()),
            Percent(r.area->height(), r.areaReference->height())};
}

// The record's font at `size`: a list box's in "Courier New" bold.
QFont sizedFont(const QWidget* control, const ControlRecord& r, qint32 size)
{
    QFont font = control->font();
    if (r.fontKind == FontKind::ListBox) {
        font.setFamily(QStringLiteral("Courier New"));
        font.setBold(true);
    }
    return captionfit::Resized(font, size, r.pixelFont);
}

// The font size the width percentage gives; at least one unit, however small
// the window gets.
qint32 scaledFontSize(const ControlRecord& r, qint32 widthPercent)
{
    return std::max(1, scaled(r.fontSize, widthPercent));
}

bool fits(QSize need, QSize room)
{
    return !need.isValid() || (need.width() <= room.width() && need.height() <= room.height());
}

// Sets the control's font at `size`, or smaller where its caption would not
// fit `room` whole (a window made wider but not as much higher grows the font
// more than the control's height). What no font makes fit (a check indicator
// taller than the room) does not make the font smaller.
void setScaledFont(QWidget* control, const ControlRecord& r, qint32 size, std::optional<QSize> room)
{
    if (r.fontKind == FontKind::Unchanged || r.fontSize <= 0)
        return;
    QFont font = sizedFont(control, r, size);
    if (room && size > 1 && !fits(captionfit::NeededSize(control, font), *room)) {
        const QSize smallest = captionfit::NeededSize(control, sizedFont(control, r, 1));
        const QSize reachable = room->expandedTo(smallest);
        while (size > 1 && !fits(captionfit::NeededSize(control, font), reachable))
            font = sizedFont(control, r, --size);
    }
    if (font != control->font())
        control->setFont(font);
}

void placeControl(QWidget* control, const ControlRecord& r, QWidget* window)
{
    const auto [w, h] = areaPercents(r, window);
    if (w <= 0 || h <= 0)
        return;
    const qint32 fontSize = scaledFontSize(r, FormWidthPercent(window));
    if (r.keepsHeight) {
        // A combo box's height follows its font, as far as its container has
        // room below it (a window made wider but lower grows the font more than the room).
        setScaledFont(control, r, fontSize, std::nullopt);
        Placement p = ScaledPlacement(r, w, h, control->geometry().left() < 0, control->sizeHint().height());
        if (control->parentWidget()) {
            const qint32 room = control->parentWidget()->height() - p.top;
            if (p.height > room)
                p.height = std::max(room, scaled(r.height, h));
        }
        control->setGeometry(p.left, p.top, p.width, p.height);
        return;
    }
    const Placement p = ScaledPlacement(r, w, h, control->geometry().left() < 0, control->height());
    setScaledFont(control, r, fontSize, QSize(p.width, p.height));
    control->setGeometry(p.left, p.top, p.width, p.height);
}

// Places the controls in an area (and in the areas inside it) again.
void placeIn(QWidget* area, QWidget* window)
{
    gbResizing = true;
    for (size_t i = 0; i < gControlRecords.size(); ++i) {
        const ControlRecord& r = gControlRecords[i];
        if (r.window == window && r.placed && r.control && r.area &&
            (r.area == area || area->isAncestorOf(r.area)))
            placeControl(r.control, r, window);
    }
    gbResizing = false;
}

// Qt sizes the areas itself: the client area when the menu bar wraps, a tab
// page when it is shown. Their controls follow.
class AreaWatcher : public QObject
{
public:
    explicit AreaWatcher(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && !gbResizing)
            placeIn(static_cast<QWidget*>(watched), m_window);
        return false;
    }

private:
    QWidget* m_window;
};

void watchAreas(QWidget* window)
{
    auto* watcher = new AreaWatcher(window);
    QList<QWidget*> areas;
    for (const ControlRecord& r : gControlRecords) {
        if (r.window == window && r.area && r.area != window && !areas.contains(r.area.data()))
            areas.append(r.area.data());
    }
    for (QWidget* area : areas)
        area->installEventFilter(watcher);
}
} // namespace

qint32 Percent(qint32 now, qint32 reference)
{
    if (reference == 0)
        return 0;
    return static_cast<qint32>(qint64(now) * 100 / reference);
}

qint32 FixHiddenLeft(qint32 value)
{
    return value < 0 ? value + kHiddenLeftOffset : value;
}

Placement ScaledPlacement(const ControlRecord& record, qint32 widthPercent, qint32 heightPercent,
                          bool currentLeftNegative, qint32 currentHeight)
{
    Placement p;
    p.left = scaled(record.left, widthPercent);
    if (currentLeftNegative)
        p.left -= kHiddenLeftOffset;
    p.top = scaled(record.top, heightPercent);
    p.width = scaled(record.width, widthPercent);
    p.height = record.keepsHeight ? currentHeight : scaled(record.height, heightPercent);
    p.fontSize = scaled(record.fontSize, widthPercent);
    return p;
}

FontKind FontKindOf(const QWidget* control)
{
    // The folder list is a list of its own kind, not a list box.
    if (qobject_cast<const QListWidget*>(control))
        return control->inherits("DirList") ? FontKind::Unchanged : FontKind::ListBox;
    if (qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control) ||
        qobject_cast<const QGroupBox*>(control) || qobject_cast<const QLineEdit*>(control) ||
        qobject_cast<const QTextEdit*>(control) || qobject_cast<const QPlainTextEdit*>(control) ||
        qobject_cast<const QComboBox*>(control))
        return FontKind::Scaled;
    return FontKind::Unchanged;
}

qint32 FindFormIndex(const QWidget* window)
{
    for (size_t i = 0; i < gFormRecords.size(); ++i) {
        if (gFormRecords[i].window == window)
            return static_cast<qint32>(i);
    }
    return -1;
}

qint32 RegisterForm(QWidget* window)
{
    settleLayouts(window);
    FormRecord r;
    r.window = window;
    r.name = window->objectName();
    const QRect frame = window->frameGeometry();
    r.left = frame.left();
    r.top = frame.top();
    r.width = frame.width();
    r.height = frame.height();
    const QSize inner = innerSize(window);
    r.innerHeight = inner.height();
    r.innerWidth = inner.width();
    gFormRecords.push_back(r);
    const auto index = static_cast<qint32>(gFormRecords.size() - 1);
    const QList<QWidget*> controls = formcontrols::ControlsOf(window);
    for (QWidget* control : controls) {
        if (FindControlIndex(control, window) < 0)
            RegisterControl(control, window);
    }
    takeOverLayouts(window, controls);
    watchAreas(window);
    return index;
}

qint32 FindControlIndex(const QWidget* control, const QWidget* window)
{
    for (size_t i = 0; i < gControlRecords.size(); ++i) {
        const ControlRecord& r = gControlRecords[i];
        if (r.control == control && r.window == window)
            return static_cast<qint32>(i);
    }
    return -1;
}

qint32 RegisterControl(QWidget* control, QWidget* window)
{
    ControlRecord r;
    r.control = control;
    r.window = window;
    r.name = control->objectName();
    const QRect g = control->geometry();
    r.top = g.top();
    r.left = FixHiddenLeft(g.left());
    r.height = g.height();
    r.width = g.width();
    const QFont font = control->font();
    r.pixelFont = font.pointSizeF() <= 0;
    r.fontSize = r.pixelFont ? font.pixelSize() : roundHalfEven(font.pointSizeF());
    r.fontKind = FontKindOf(control);
    r.keepsHeight = qobject_cast<QComboBox*>(control) != nullptr;
    gControlRecords.push_back(r);
    return static_cast<qint32>(gControlRecords.size() - 1);
}

qint32 FormWidthPercent(QWidget* window)
{
    qint32 index = FindFormIndex(window);
    if (index < 0)
        index = RegisterForm(window);
    return Percent(innerSize(window).width(), gFormRecords[size_t(index)].innerWidth);
}

qint32 FormHeightPercent(QWidget* window)
{
    qint32 index = FindFormIndex(window);
    if (index < 0)
        index = RegisterForm(window);
    return Percent(innerSize(window).height(), gFormRecords[size_t(index)].innerHeight);
}

void ResizeControl(QWidget* control, QWidget* window)
{
    const qint32 w = FormWidthPercent(window);
    const qint32 h = FormHeightPercent(window);
    const qint32 index = FindControlIndex(control, window);
    if (index < 0 || w <= 0 || h <= 0)
        return;
    const ControlRecord& r = gControlRecords[size_t(index)];
    // A placed control gets its font with its new place, which bounds it.
    if (r.placed)
        placeControl(control, r, window);
    else
        setScaledFont(control, r, scaledFontSize(r, w), std::nullopt);
}

void ReserveCaptionRoom(QWidget* window, qint32 minPercent, qint32 maxPercent)
{
    for (QWidget* control : formcontrols::ControlsOf(window)) {
        if (FontKindOf(control) != FontKind::Scaled)
            continue;
        const QFont font = control->font();
        const bool pixels = font.pointSizeF() <= 0;
        const qint32 designSize = pixels ? font.pixelSize() : roundHalfEven(font.pointSizeF());
        if (designSize <= 0)
            continue;
        QSize room(0, 0);
        QSize need;
        qint32 needSize = 0;
        for (qint32 percent = std::max(minPercent, kPageLag + 1); percent <= maxPercent; ++percent) {
            const qint32 size = std::max(1, scaled(designSize, percent));
            if (size != needSize) {
                need = captionfit::NeededSize(control, captionfit::Resized(font, size, pixels));
                needSize = size;
            }
            if (!need.isValid())
                break;
            const qint32 roomPercent = percent - kPageLag;
            room = room.expandedTo(QSize(int((qint64(need.width()) * 100 + roomPercent - 1) / roomPercent),
                                         int((qint64(need.height()) * 100 + roomPercent - 1) / roomPercent)));
        }
        room = room.expandedTo(control->minimumSize());
        if (room != control->minimumSize()) {
            control->setMinimumSize(room);
            control->setMaximumSize(control->maximumSize().expandedTo(room));
        }
    }
}

void ResizeForm(QWidget* window)
{
    if (gbResizing || !window)
        return;
    const QSize inner = innerSize(window);
    if (window->isMinimized() || inner.width() <= 0 || inner.height() <= 0)
        return;
    gbResizing = true;
    forgetClosedWindows();
    if (FindFormIndex(window) < 0)
        RegisterForm(window);
    for (QWidget* control : formcontrols::ControlsOf(window))
        ResizeControl(control, window);
    gbResizing = false;
}

} // namespace modGlobal
