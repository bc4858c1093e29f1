#include "mainwindow/widgets/DirList.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kIndentStep = 12;

// Indents each entry by its depth in the folder tree.
class IndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(index.data(kLevelRole).toInt() * kIndentStep, 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += index.data(kLevelRole).toInt() * kIndentStep;
        return size;
    }
};

QString normalised(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

DirList::DirList(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    m_path = normalised(QDir::currentPath());
    rebuild();
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { enter(row(item)); });
}

QString DirList::path() const
{
    return m_path;
}

bool DirList::setPath(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.exists() || !info.isDir())
        return false;
    const QString target = normalised(path);
    if (target == m_path)
        return true;
    m_path = target;
    if (m_held)
        m_stale = true;
    else
        rebuild();
    emit changed();
    return true;
}

void DirList::holdList(bool hold)
{
    m_held = hold;
    if (!hold && m_stale) {
        m_stale = false;
        rebuild();
    }
}

void DirList::refresh()
{
    if (m_held) {
        m_stale = true;
        return;
    }
    const int highlighted = listIndex();
    const QString highlightedPath = listPath(highlighted);
    rebuild();
    // Keep the highlight on the same folder when it is still listed.
    if (highlighted >= 0) {
        const qsizetype again = m_subfolders.indexOf(highlightedPath);
        if (again >= 0)
            setListIndex(int(again));
    } else {
        setListIndex(highlighted);
    }
}

void DirList::rebuild()
{
    m_chain.clear();
    m_subfolders.clear();
    for (QString p = m_path;;) {
        m_chain.prepend(p);
        const QString parent = QFileInfo(p).path();
        if (parent == p || p == u"/")
            break;
        p = parent;
    }

    // An unreadable folder simply lists no subfolders.
    QFileInfoList entries = QDir(m_path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(entries.begin(), entries.end(), [](const QFileInfo& a, const QFileInfo& b) {
        const int c = a.fileName().compare(b.fileName(), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.fileName() < b.fileName();
    });
    for (const QFileInfo& entry : std::as_const(entries))
        m_subfolders.append(normalised(entry.absoluteFilePath()));

    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (qsizetype level = 0; level < m_chain.size(); ++level) {
        const QString& p = m_chain.at(level);
        const QString name = level == 0 ? p : QFileInfo(p).fileName();
        auto* item = new QListWidgetItem(open, name, this);
        item->setData(kLevelRole, int(level));
        item->setToolTip(p);
    }
    for (const QString& p : std::as_const(m_subfolders)) {
        auto* item = new QListWidgetItem(closed, QFileInfo(p).fileName(), this);
        item->setData(kLevelRole, int(m_chain.size()));
        item->setToolTip(p);
    }
    setListIndex(-1);
}

int DirList::listCount() const
{
    return int(m_subfolders.size());
}

int DirList::rowOf(int index) const
{
    // Rows: the chain (root first) then the subfolders; -1 is the chain's last row.
    const int rowNumber = int(m_chain.size()) + index;
    if (rowNumber < 0 || rowNumber >= count())
        return -1;
    return rowNumber;
}

QString DirList::listPath(int index) const
{
    const int r = rowOf(index);
    if (r < 0)
        return {};
    if (r < m_chain.size())
        return m_chain.at(r);
    return m_subfolders.at(r - m_chain.size());
}

int DirList::listIndex() const
{
    const int r = currentRow();
    if (r < 0)
        return -1;
    return r - int(m_chain.size());
}

void DirList::setListIndex(int index)
{
    const int r = rowOf(index);
    if (r < 0)
        return;
    setCurrentRow(r, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(r));
}

void DirList::enter(int rowNumber)
{
    if (rowNumber < 0)
        return;
    setPath(listPath(rowNumber - int(m_chain.size())));
}

void DirList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        enter(currentRow());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}
