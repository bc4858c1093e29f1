#include "mainwindow/widgets/TickList.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

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

} // namespace

void watchBackgroundClicks(QWidget* window, std::function<void()> onClick)
{
    new BackgroundClickWatcher(window, std::move(onClick));
}
