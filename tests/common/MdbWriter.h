#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Writes small Access (Jet 4) database files for tests: one user table of
// text columns, no indexes, the bare system catalog libmdb needs. The layout
// is the one scripts/make_parkingspecs.py writes, byte for byte.
namespace testutil {

struct MdbTextColumn
{
    QString name;
    int maxChars = 255; // TEXT(n); longer values stop the test run
};

// A value of std::nullopt is NULL.
using MdbRow = QList<std::optional<QString>>;

struct MdbTable
{
    QString name;
    QList<MdbTextColumn> columns;
    QList<MdbRow> rows;
};

// The database file holding `table`.
QByteArray jet4Database(const MdbTable& table);

// The table parkingSpecs (Airline TEXT(255), Code TEXT(50)) with one row per
// airline/code pair.
MdbTable parkingSpecsTable(const QList<std::pair<QString, QString>>& rows);

// Writes parkingspecs.mdb with those rows to `path`.
void writeParkingSpecs(const QString& path, const QList<std::pair<QString, QString>>& rows);

} // namespace testutil
