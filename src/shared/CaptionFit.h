#pragma once

#include <QFont>
#include <QSize>

class QWidget;

// How much room a control needs to show its caption whole in a given font:
// the text plus what the style draws around it (frame, margins, the check
// indicator of a check box or option button).
namespace captionfit {

// A line edit may carry the texts the program itself puts into it (a
// QStringList under this property); its room is measured for the widest.
inline constexpr char kFixedTexts[] = "fixedTexts";

// The size the control needs in `font` for its caption: labels, push buttons,
// check boxes and option buttons, frames' titles; line edits need one line of
// text and the width of their fixed texts. An empty size when the control has
// nothing that could be cut (an empty caption, lists, combo boxes).
QSize NeededSize(const QWidget* control, const QFont& font);

// The font at `size` points, or pixels for a pixel-sized font.
QFont Resized(QFont font, int size, bool pixels);

} // namespace captionfit
