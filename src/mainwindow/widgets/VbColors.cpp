#include "mainwindow/widgets/VbColors.h"

#include <QAbstractScrollArea>
#include <QPalette>
#include <QWidget>

#include <array>

QColor vbColor(quint32 bbggrr)
{
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

QColor qbColor(int index)
{
    static constexpr std::array<quint32, 16> kPalette = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    if (index < 0 || index >= int(kPalette.size()))
        return vbColor(0);
    return vbColor(kPalette[std::size_t(index)]);
}

namespace {

// Scrolling views paint their viewport with the Base role; every other control
// paints its surface with its own background role (Base for a text field,
// Button for a check box, Window for a label or a container).
QPalette::ColorRole backRole(const QWidget* widget)
{
    if (qobject_cast<const QAbstractScrollArea*>(widget))
        return QPalette::Base;
    return widget->backgroundRole();
}

} // namespace

void setBackColor(QWidget* widget, const QColor& color)
{
    if (!widget)
        return;
    const QPalette::ColorRole role = backRole(widget);
    const QPalette& current = widget->palette();
    // Giving a field the colour it was given already changes nothing: skip
    // the palette round trip (a folder load sets a hundred fields this way).
    bool same = true;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        if (!current.isBrushSet(group, role) || current.brush(group, role) != QBrush(color)) {
            same = false;
            break;
        }
    }
    if (!same) {
        QPalette palette = current;
        // All colour groups, so a disabled or unfocused field keeps the colour
        // the program gave it.
        palette.setColor(role, color);
        widget->setPalette(palette);
    }
    // Text fields and views paint their Base area themselves; the others only
    // fill their background when asked to.
    if (role != QPalette::Base && !widget->autoFillBackground())
        widget->setAutoFillBackground(true);
}

QColor backColor(const QWidget* widget)
{
    if (!widget)
        return {};
    return widget->palette().color(QPalette::Active, backRole(widget));
}
