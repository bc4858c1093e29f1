#pragma once

#include <QPoint>
#include <QStringList>
#include <QTreeWidget>

// The entry grid: a report view with one row per [fltsim.N] entry and the 17
// columns "fltsim.x" ... "texture". Every row carries a check box of its own
// ("ticked"), which is independent of the row selection. Rows and columns are
// counted from 0 here; column 0 is the row's own text.
class ListView : public QTreeWidget
{
    Q_OBJECT

public:
    static constexpr int ColumnCount = 17;

    explicit ListView(QWidget* parent = nullptr);

    // The 17 column titles in display order.
    static QStringList columnTitles();

    int rowCount() const;
    // Appends a row; texts[0] is the row text, the rest fill columns 1.. (missing
    // ones stay empty). The new row is not ticked. Returns its index.
    int addRow(const QStringList& texts);
    void clearRows();

    bool isTicked(int row) const;
    void setTicked(int row, bool ticked);
    // Indexes of all ticked rows, ascending.
    QList<int> tickedRows() const;

    // The selected row, or -1 when none is selected.
    int selectedRow() const;
    // Selects the row, makes it current and scrolls it into view; an index out
    // of range clears the selection.
    void selectRow(int row);

    // Text of a cell; empty for a cell that does not exist.
    QString rowText(int row, int col) const;
    void setRowText(int row, int col, const QString& text);

    // Column widths are pixels (QTreeView::columnWidth/setColumnWidth); a width
    // of 0 hides a column. This gives the start-up widths for a grid of the
    // given width: an eighth for "fltsim.x", half for "title", a fifth for the rest.
    void setDesignedColumnWidths(int gridWidth);
    // Sizes a column to the wider of its contents and its title; the last column
    // also fills whatever width the other columns leave free.
    void autoSizeColumn(int col);

signals:
    // A row was clicked (press and release on the same row).
    void clicked();
    void doubleClicked();
    // Any mouse button went down over the grid. pos is in the grid's own
    // coordinates; the selection has already followed the press.
    void mouseDown(Qt::MouseButton button, QPoint pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTreeWidgetItem* row(int index) const;
};
