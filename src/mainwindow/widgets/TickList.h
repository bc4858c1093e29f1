#pragma once

#include <QList>
#include <QObject>
#include <QStyledItemDelegate>

#include <functional>

class QListWidget;

// Makes a list of check-box items behave like a classic check-box list box:
// a click anywhere on an item (or Space on the current one) ticks or unticks
// it, and only those user actions raise toggledByUser. Ticks that code sets
// raise nothing, so filling or clearing the list never runs a click handler.
class TickListDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Installs itself as `list`'s item delegate.
    explicit TickListDelegate(QListWidget* list);

signals:
    void toggledByUser(int row);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};

// Calls `onClick` for every mouse press that reaches `window` itself: a press
// on its background, or one that no control on the way up took.
void watchBackgroundClicks(QWidget* window, std::function<void()> onClick);

// Calls `onClick` for every mouse press anywhere in the program while `popup`
// is shown, except presses on `popup` itself and on the `exempt` controls
// (each with whatever lies inside it). Controls that take no focus, such as
// the tabs of a tab bar, count like any other.
void watchClicksOutside(QWidget* popup, const QList<QWidget*>& exempt, std::function<void()> onClick);
