#include "mainwindow/widgets/ListView.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kTextPadding = 1;

// Draws the cell borders a Windows report view shows with grid lines on.
class GridLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // A row holds the font's whole height (descenders, underscores) with a
    // pixel to spare above and below, and the grid line under it.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        size.setHeight(std::max(size.height(), opt.fontMetrics.height() + 2 * kTextPadding + 1));
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight));
        const QRect r = option.rect;
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }
};

} // namespace

ListView::ListView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(ColumnCount);
    setHeaderLabels(columnTitles());
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new GridLineDelegate(this));
    // Hidden grid columns have width 0; the header must allow that.
    header()->setMinimumSectionSize(0);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex&) { emit clicked(); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex&) { emit doubleClicked(); });
}

QStringList ListView::columnTitles()
{
    return {QStringLiteral("fltsim.x"),
            QStringLiteral("title"),
            QStringLiteral("parking_type"),
            QStringLiteral("parking_code"),
            QStringLiteral("ui_createdby"),
            QStringLiteral("ui_typerole"),
            QStringLiteral("ui_manufacturer"),
            QStringLiteral("ui_type"),
            QStringLiteral("ui_variation"),
            QStringLiteral("model"),
            QStringLiteral("sim"),
            QStringLiteral("atc_id"),
            QStringLiteral("atc_flight_number"),
            QStringLiteral("atc_airline"),
            QStringLiteral("atc_heavy"),
            QStringLiteral("atc_model"),
            QStringLiteral("texture")};
}

int ListView::rowCount() const
{
    return topLevelItemCount();
}

int ListView::addRow(const QStringList& texts)
{
    auto* item = new QTreeWidgetItem;
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable |
                   Qt::ItemNeverHasChildren);
    item->setCheckState(0, Qt::Unchecked);
    for (int col = 0; col < std::min(int(texts.size()), int(ColumnCount)); ++col)
        item->setText(col, texts.at(col));
    addTopLevelItem(item);
    return topLevelItemCount() - 1;
}

void ListView::clearRows()
{
    clear();
}

QTreeWidgetItem* ListView::row(int index) const
{
    if (index < 0 || index >= topLevelItemCount())
        return nullptr;
    return topLevelItem(index);
}

bool ListView::isTicked(int index) const
{
    const QTreeWidgetItem* item = row(index);
    return item && item->checkState(0) == Qt::Checked;
}

void ListView::setTicked(int index, bool ticked)
{
    if (QTreeWidgetItem* item = row(index))
        item->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

QList<int> ListView::tickedRows() const
{
    QList<int> rows;
    for (int i = 0; i < rowCount(); ++i) {
        if (isTicked(i))
            rows.append(i);
    }
    return rows;
}

int ListView::selectedRow() const
{
    const QList<QTreeWidgetItem*> items = selectedItems();
    if (items.isEmpty())
        return -1;
    return indexOfTopLevelItem(items.first());
}

void ListView::selectRow(int index)
{
    QTreeWidgetItem* item = row(index);
    if (!item) {
        clearSelection();
        setCurrentItem(nullptr);
        return;
    }
    setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollToItem(item);
}

QString ListView::rowText(int index, int col) const
{
    const QTreeWidgetItem* item = row(index);
    if (!item || col < 0 || col >= ColumnCount)
        return {};
    return item->text(col);
}

void ListView::setRowText(int index, int col, const QString& text)
{
    QTreeWidgetItem* item = row(index);
    if (item && col >= 0 && col < ColumnCount)
        item->setText(col, text);
}

void ListView::setDesignedColumnWidths(int gridWidth)
{
    setColumnWidth(0, gridWidth / 8);
    setColumnWidth(1, gridWidth / 2);
    for (int col = 2; col < ColumnCount; ++col)
        setColumnWidth(col, gridWidth / 5);
}

void ListView::autoSizeColumn(int col)
{
    if (col < 0 || col >= ColumnCount)
        return;
    const int contents = sizeHintForColumn(col);
    const int title = header()->sectionSizeHint(col);
    int width = std::max(contents, title);
    if (col == ColumnCount - 1) {
        int others = 0;
        for (int c = 0; c < ColumnCount - 1; ++c)
            others += columnWidth(c);
        width = std::max(width, viewport()->width() - others);
    }
    setColumnWidth(col, width);
}

void ListView::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    const QPoint pos = viewport()->mapTo(this, event->position().toPoint());
    QTreeWidget::mousePressEvent(event);
    emit mouseDown(button, pos);
}
