#pragma once

#include <QPointer>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

class QWidget;

// Proportional resizing of a window: the first resize of a window records it
// and its controls as the 100 % reference; every later resize moves and sizes
// the controls in proportion to the window's inner size and scales their fonts
// with its width.
//
// The windows are built with layouts, which place the controls once: the
// geometry they give is the design geometry. From the first resize on the
// engine places those controls itself and switches the layouts off. What Qt
// places on its own stays with Qt: a main window's menu bar, status bar and
// client area (the client area is the window's inner size), a tab control's
// tab row and pages. Controls on a page are placed in proportion to the page,
// so that they always fit it whatever height the tab row keeps.
//
// Windows and controls are told apart by identity rather than by name (most
// labels here have no name), so a window built again is a new window.
namespace modGlobal {

// A value that is kept out of sight is stored this much higher, so that the
// scaling of a negative Left does not move it into view.
inline constexpr qint32 kHiddenLeftOffset = 75000;

struct FormRecord
{
    QPointer<QWidget> window;
    QString name;
    qint32 left = 0, top = 0, width = 0, height = 0; // frame geometry when registered
    qint32 innerHeight = 0;
    qint32 innerWidth = 0;
};

// Fonts are handled by kind: the eight ordinary kinds scale their size, list
// boxes become "Courier New" bold at the scaled size, the rest keep theirs.
enum class FontKind
{
    Unchanged,
    Scaled,
    ListBox,
};

struct ControlRecord
{
    QPointer<QWidget> control;
    QPointer<QWidget> window;
    QString name;
    qint32 top = 0;
    qint32 left = 0; // FixHiddenLeft applied
    qint32 height = 0;
    qint32 width = 0;
    qint32 fontSize = 0;    // points (or pixels for a pixel-sized font), rounded
    bool pixelFont = false; // the font was sized in pixels
    FontKind fontKind = FontKind::Unchanged;
    bool keepsHeight = false; // combo boxes: the height follows the font
    // Laid out by a layout the engine took over: moved and sized from the
    // first resize on. Other controls only have their fonts scaled.
    bool placed = false;
    // The nearest container around a placed control that the engine does not
    // place (the client area, a tab page): the control's geometry follows the
    // change of its size.
    QPointer<QWidget> area;
    // The area's size when it was registered; none when the area has no record
    // of its own (the client area), which follows the window's percentages.
    std::optional<QSize> areaReference;
};

// Where a control goes at the given percentages.
struct Placement
{
    qint32 left = 0;
    qint32 top = 0;
    qint32 width = 0;
    qint32 height = 0;
    qint32 fontSize = 0;
};

// The records, kept for the run. Windows that are gone lose theirs at the
// next resize of any window.
extern std::vector<FormRecord> gFormRecords;
extern std::vector<ControlRecord> gControlRecords;
// A resize is running; a resize raised meanwhile returns at once.
extern bool gbResizing;

// Places the window's registered controls in proportion to its inner size
// since its first resize and scales their fonts to its width, registering the
// window at its first resize. Nothing happens while a resize runs, or while
// the window has no inner width or height (minimised): a reference taken then
// would be useless.
void ResizeForm(QWidget* window);
// Scales one control's font from its record and, for a placed control, moves
// and sizes it; a control without a record (made after the window was
// registered) stays as it is. A placed control's font grows no larger than
// its new place shows whole (captionfit::NeededSize).
void ResizeControl(QWidget* control, QWidget* window);

// Before the window is laid out: widens every control whose font the engine
// scales, so that at any percentage from minPercent to maxPercent of the
// window's first size (the same for width and height) its caption still shows
// whole with the font scaled by the same percentage.
void ReserveCaptionRoom(QWidget* window, qint32 minPercent, qint32 maxPercent);

qint32 FindFormIndex(const QWidget* window);
// Records the window and its controls as they are laid out now (pages of a
// tab control that are not shown included) and takes the layouts' control of
// their geometry over.
qint32 RegisterForm(QWidget* window);
qint32 FindControlIndex(const QWidget* control, const QWidget* window);
qint32 RegisterControl(QWidget* control, QWidget* window);

// The window's inner width (height) now as a percentage of the registered one,
// registering the window first; 0 when the reference is 0. A main window's
// inner size is its client area, between its menu bar and status bar.
qint32 FormWidthPercent(QWidget* window);
qint32 FormHeightPercent(QWidget* window);
// now * 100, integer-divided by the reference; 0 for a reference of 0.
qint32 Percent(qint32 now, qint32 reference);

// A negative horizontal value plus 75000, else the value.
qint32 FixHiddenLeft(qint32 value);

// The control's place and font at the given width and height percentages:
// each stored value times its percentage, integer-divided by 100; a control
// whose current Left is negative stays 75000 out of sight; a combo box keeps
// its current height.
Placement ScaledPlacement(const ControlRecord& record, qint32 widthPercent, qint32 heightPercent,
                          bool currentLeftNegative, qint32 currentHeight);

// The font kind of a widget.
FontKind FontKindOf(const QWidget* control);

} // namespace modGlobal
