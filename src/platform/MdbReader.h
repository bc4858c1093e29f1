#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// Reading Access (Jet) database files through mdbtools' libmdb. Only whole
// tables are read: libmdb's SQL layer gets LIKE, '_' and quoting wrong, so
// callers filter the rows themselves.
//
// libmdb trusts the bytes of the file, and a damaged file can crash it or
// make it loop. So it never runs in the program: each read starts the small
// reader fernquill-mdbread, gives it a few seconds, and takes the rows back
// through a pipe. A reader that crashes, hangs, fails or says something
// malformed makes the read fail; the program goes on.
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
// when the path is no regular file, the file is no Jet database, the table or
// a column is absent, or the reader does not give a whole table in time.
TableRows readTable(const QString& path, const QString& table, const QStringList& columns);

// The reader program: $FERNQUILL_MDBREAD when set (the tests and the build's
// own tools, which do not lie beside it), else fernquill-mdbread beside the
// running program or in the installed program's lib/fernquill folder. Empty
// when there is none.
QString readerProgram();

// For tests only: how long a read may take before the reader is stopped, for
// the rest of the run; 0 sets the built-in limit again (five seconds, more in
// a sanitizer build).
void setTimeLimitForTests(int milliseconds);

// The rows in the reader's output (platform/MdbWire.h) when it is one whole,
// well-formed table of `columns` columns with UTF-8 text; else a failure.
TableRows decodeRows(QByteArrayView output, qsizetype columns);

} // namespace platform::mdb
