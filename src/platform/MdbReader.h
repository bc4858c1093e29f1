#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reading Access (Jet) database files through mdbtools' libmdb. Only whole
// tables are read: libmdb's SQL layer gets LIKE, '_' and quoting wrong, so
// callers filter the rows themselves.
namespace platform::mdb {

struct TableRows
{
    bool ok = false;
    QString error;           // why the table could not be read, when !ok
    QList<QStringList> rows; // one list per row, the columns in the order asked for
};

// Reads the text of `columns` from every row of `table` in the database file at
// `path`, rows in the file's order. Table and column names are matched without
// regard to letter case; NULL reads as empty text. Fails, and returns no rows,
// when the file is missing or no Jet database, or the table or a column is
// absent.
TableRows readTable(const QString& path, const QString& table, const QStringList& columns);

} // namespace platform::mdb
