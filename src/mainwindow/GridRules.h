#pragma once

#include <QList>
#include <QString>

// Small rules of the entry grid that more than one command shares.
namespace GridRules {

// The caption of the pop-up menu's delete item: the one ticked row by its
// position ("&Delete [fltsim.3]"), several ticked rows as "[fltsim.x]", and
// without ticks the selected row's own text ("&Delete [FLTSIM.7]"); with
// neither, "[fltsim.x]" again.
QString deleteCaption(const QList<int>& tickedRows, const QString& selectedRowText);

// The grid columns (0-based) that the "DataGrid" setting hides: flag i
// belongs to column i + 2; "-1" hides it; flags past the fifteenth have no
// column.
QList<int> hiddenColumns(const QString& dataGrid);

} // namespace GridRules
