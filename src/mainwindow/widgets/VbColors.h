#pragma once

#include <QColor>

class QWidget;

// Colours as the program stores them: one number with red in the low byte and
// blue in the high byte (0xBBGGRR), and the classic 16-colour palette that the
// status panels use.

// Turns a 0xBBGGRR colour value into a QColor.
QColor vbColor(quint32 bbggrr);

// Entry 0 to 15 of the classic 16-colour palette; black for any other index.
QColor qbColor(int index);

// The palette entries the status panels are painted with.
inline QColor paletteGreen()
{
    return qbColor(2);
} // RGB 0,128,0
inline QColor paletteRed()
{
    return qbColor(4);
} // RGB 128,0,0
inline QColor paletteGrey()
{
    return qbColor(8);
} // RGB 128,128,128
inline QColor paletteWhite()
{
    return qbColor(15);
} // RGB 255,255,255

// Field colours of the entry editor, as 0xBBGGRR values.
namespace vbcolor {
inline constexpr quint32 White = 0xFFFFFF;       // a loaded, editable field
inline constexpr quint32 Grey = 0xE0E0E0;        // an empty, inactive field
inline constexpr quint32 LightYellow = 0xC0FFFF; // a locked field or one for a new value
inline constexpr quint32 LightOrange = 0xC0E0FF; // the focused effect field
inline constexpr quint32 Red = 0x0000FF;         // "Jetways possible: no"
inline constexpr quint32 BrightGreen = 0x00FF00; // "Jetways possible: yes"
} // namespace vbcolor

// Sets the background of a control. Text fields, lists and other scrolling
// views colour their editing area; labels, check boxes, option buttons and
// containers colour their whole surface.
void setBackColor(QWidget* widget, const QColor& color);

// The background last set with setBackColor (or the style's default).
QColor backColor(const QWidget* widget);
