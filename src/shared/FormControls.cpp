#include "shared/FormControls.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QWidget>

namespace formcontrols {

namespace {

// A control whose children are Qt's own parts of it, not controls.
bool hasInnerParts(const QWidget* w)
{
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QTabBar*>(w) ||
           qobject_cast<const QStatusBar*>(w);
}

void collect(const QWidget* parent, QList<QWidget*>& out)
{
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow())
            continue;
        if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w) || qobject_cast<QTabBar*>(w))
            continue;
        // Qt's own containers (a tab widget's page stack) hold real controls.
        const bool qtPart = w->objectName().startsWith(QLatin1String("qt_"));
        if (!qtPart)
            out.append(w);
        if (!hasInnerParts(w))
            collect(w, out);
    }
}

} // namespace

QList<QWidget*> ControlsOf(QWidget* window)
{
    QList<QWidget*> controls;
    if (window)
        collect(window, controls);
    return controls;
}

} // namespace formcontrols
