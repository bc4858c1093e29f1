#include "mainwindow/widgets/TickList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>

TickListDelegate::TickListDelegate(QListWidget* list) : QStyledItemDelegate(list)
{
    list->setItemDelegate(this);
}

bool TickListDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const Qt::ItemFlags flags = model->flags(index);
    if (!(flags & Qt::ItemIsUserCheckable) || !(flags & Qt::ItemIsEnabled))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()))
            return false;
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        break;
    }
    default:
        return false;
    }
    const bool ticked = model->data(index, Qt::CheckStateRole).toInt() == Qt::Checked;
    if (!model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole))
        return false;
    emit toggledByUser(index.row());
    return true;
}

namespace {

class BackgroundClickWatcher : public QObject
{
public:
    BackgroundClickWatcher(QWidget* window, std::function<void()> onClick)
        : QObject(window), m_window(window), m_onClick(std::move(onClick))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::MouseButtonPress)
            m_onClick();
        return false;
    }

private:
    QWidget* m_window;
    std::function<void()> m_onClick;
};

// Watches the whole program only while the popup is shown.
class OutsideClickWatcher : public QObject
{
public:
    OutsideClickWatcher(QWidget* popup, const QList<QWidget*>& exempt, std::function<void()> onClick)
        : QObject(popup), m_popup(popup), m_onClick(std::move(onClick))
    {
        for (QWidget* w : exempt)
            m_exempt.append(w);
        popup->installEventFilter(this);
        if (popup->isVisible())
            qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_popup) {
            if (event->type() == QEvent::Show)
                qApp->installEventFilter(this);
            else if (event->type() == QEvent::Hide)
                qApp->removeEventFilter(this);
        }
        if (event->type() != QEvent::MouseButtonPress &&
            event->type() != QEvent::NonClientAreaMouseButtonPress)
            return false;
        // Widgets only: the same press reaches the window first. A press that
        // a control passes on to its parent comes again, so where it happened
        // is told by its position, not by the receiver.
        auto* receiver = qobject_cast<QWidget*>(watched);
        if (!receiver || !m_popup || !m_popup->isVisible())
            return false;
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (covers(m_popup, receiver, at))
            return false;
        for (const QPointer<QWidget>& w : m_exempt) {
            if (w && covers(w, receiver, at))
                return false;
        }
        m_onClick();
        return false;
    }

private:
    static bool covers(const QWidget* area, const QWidget* receiver, QPoint globalPos)
    {
        return area->isVisible() && receiver->window() == area->window() &&
               QRect(area->mapToGlobal(QPoint(0, 0)), area->size()).contains(globalPos);
    }

    QPointer<QWidget> m_popup;
    QList<QPointer<QWidget>> m_exempt;
    std::function<void()> m_onClick;
};

} // namespace

void watchClicksOutside(QWidget* popup, const QList<QWidget*>& exempt, std::function<void()> onClick)
{
    new OutsideClickWatcher(popup, exempt, std::move(onClick));
}

void watchBackgroundClicks(QWidget* window, std::function<void()> onClick)
{
    new BackgroundClickWatcher(window, std::move(onClick));
}
