#include "platform/MdbReader.h"

#include <QFile>
#include <QFileInfo>

// glib first: mdbtools.h includes it inside its extern "C" block, where g++
// refuses glib's C++ templates.
#include <glib.h>

#include <mdbtools.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace platform::mdb {

namespace {

struct CloseHandle
{
    void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct FreeTable
{
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

TableRows failure(const QString& why)
{
    TableRows r;
    r.error = why;
    return r;
}

} // namespace

TableRows readTable(const QString& path, const QString& table, const QStringList& columns)
{
    // libmdb looks a relative or missing name up along $MDBPATH: hand it only
    // an existing file by its absolute path.
    const QFileInfo info(path);
    if (!info.isFile())
        return failure(QStringLiteral("%1: no such file").arg(path));
    if (!info.isReadable())
        return failure(QStringLiteral("%1: not readable").arg(path));
    const QByteArray fileName = QFile::encodeName(info.absoluteFilePath());

    const std::unique_ptr<MdbHandle, CloseHandle> mdb(mdb_open(fileName.constData(), MDB_NOFLAGS));
    if (!mdb)
        return failure(QStringLiteral("%1: not an Access database").arg(path));
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE))
        return failure(QStringLiteral("%1: the table list cannot be read").arg(path));

    const QByteArray tableName = table.toUtf8();
    MdbCatalogEntry* entry = mdb_get_catalogentry_by_name(mdb.get(), tableName.constData());
    if (!entry || entry->object_type != MDB_TABLE)
        return failure(QStringLiteral("%1: no table %2").arg(path, table));
    const std::unique_ptr<MdbTableDef, FreeTable> def(mdb_read_table(entry));
    if (!def)
        return failure(QStringLiteral("%1: table %2 cannot be read").arg(path, table));
    if (!mdb_read_columns(def.get()))
        return failure(QStringLiteral("%1: the columns of %2 cannot be read").arg(path, table));

    // One buffer per column, as large as libmdb may fill; it writes a
    // terminated UTF-8 text and its length for every row fetched.
    const auto bindSize = static_cast<std::size_t>(MDB_BIND_SIZE);
    std::vector<std::vector<char>> buffers(static_cast<std::size_t>(columns.size()),
                                           std::vector<char>(bindSize));
    std::vector<int> lengths(static_cast<std::size_t>(columns.size()), 0);
    for (qsizetype c = 0; c < columns.size(); ++c) {
        QByteArray name = columns[c].toUtf8();
        const auto i = static_cast<std::size_t>(c);
        if (mdb_bind_column_by_name(def.get(), name.data(), buffers[i].data(), &lengths[i]) < 0)
            return failure(QStringLiteral("%1: table %2 has no column %3").arg(path, table, columns[c]));
    }

    TableRows result;
    if (mdb_rewind_table(def.get()) != 0)
        return failure(QStringLiteral("%1: table %2 cannot be read").arg(path, table));
    while (mdb_fetch_row(def.get())) {
        QStringList row;
        row.reserve(columns.size());
        for (std::size_t i = 0; i < buffers.size(); ++i) {
            const auto len = static_cast<qsizetype>(std::clamp<int>(lengths[i], 0, MDB_BIND_SIZE - 1));
            row.append(QString::fromUtf8(buffers[i].data(), len));
        }
        result.rows.append(row);
    }
    result.ok = true;
    return result;
}

} // namespace platform::mdb
