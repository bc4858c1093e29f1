#pragma once

#include <QList>
#include <QString>

class QWidget;

// What counts as "the controls of a window" for the code that walks them all
// (balloon tooltips, proportional resizing).
namespace formcontrols {

// Every control below the window in creation order, depth first: the widgets
// the window was built from, at any depth of containers (frames, tab pages).
// Left out: the window itself, other windows it owns, menus and the menu bar,
// and the parts Qt builds inside a control (a combo box's list, a scroll
// area's viewport and bars, a tab widget's tab bar, objects named "qt_...").
QList<QWidget*> ControlsOf(QWidget* window);

// Gives what a window is built from (a control, a menu, an action) its object
// name, by which code and tests find it, and hands it back.
template <class T> T* named(T* object, const QString& name)
{
    object->setObjectName(name);
    return object;
}

} // namespace formcontrols
