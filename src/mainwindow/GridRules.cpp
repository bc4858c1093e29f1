#include "mainwindow/GridRules.h"

#include "shared/modSettings.h"

namespace GridRules {

QString deleteCaption(const QList<int>& tickedRows, const QString& selectedRowText)
{
    if (tickedRows.size() == 1)
        return QStringLiteral("&Delete [fltsim.%1]").arg(tickedRows.first());
    if (tickedRows.size() > 1 || selectedRowText.isEmpty())
        return QStringLiteral("&Delete [fltsim.x]");
    return QStringLiteral("&Delete [") + selectedRowText + u']';
}

QList<int> hiddenColumns(const QString& dataGrid)
{
    QList<int> columns;
    const QStringList flags = modSettings::SplitFlags(dataGrid);
    for (int i = 0; i < flags.size() && i < modSettings::kDataGridFlagCount; ++i) {
        if (flags[i].trimmed() == u"-1")
            columns.append(i + 2);
    }
    return columns;
}

} // namespace GridRules
