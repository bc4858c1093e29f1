#include "mdbread/MdbDump.h"

#include "platform/MdbWire.h"

#include <algorithm>
#include <memory>

namespace mdbread {

namespace {

struct FreeTable
{
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

// Rows are handed on in pieces of about this size.
constexpr std::size_t kChunk = 64 * 1024;

} // namespace

int dumpTable(MdbHandle* mdb, const std::string& table, const std::vector<std::string>& columns,
              const Sink& sink)
{
    if (columns.empty() || columns.size() > static_cast<std::size_t>(mdbwire::kMaxColumns))
        return mdbwire::Usage;
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        return mdbwire::NoCatalog;
    MdbCatalogEntry* entry = mdb_get_catalogentry_by_name(mdb, table.c_str());
    if (!entry || entry->object_type != MDB_TABLE)
        return mdbwire::NoTable;
    const std::unique_ptr<MdbTableDef, FreeTable> def(mdb_read_table(entry));
    if (!def)
        return mdbwire::TableUnreadable;
    if (!mdb_read_columns(def.get()))
        return mdbwire::ColumnsUnreadable;

    // One buffer per column, as large as libmdb may fill; it writes a
    // terminated UTF-8 text and its length for every row fetched.
    const auto bindSize = static_cast<std::size_t>(MDB_BIND_SIZE);
    std::vector<std::vector<char>> buffers(columns.size(), std::vector<char>(bindSize));
    std::vector<int> lengths(columns.size(), 0);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::string name = columns[i];
        if (mdb_bind_column_by_name(def.get(), name.data(), buffers[i].data(), &lengths[i]) < 0)
            return mdbwire::NoColumn + static_cast<int>(i);
    }
    if (mdb_rewind_table(def.get()) != 0)
        return mdbwire::TableUnreadable;

    std::string out;
    std::vector<std::string_view> values(columns.size());
    std::uint32_t rows = 0;
    while (mdb_fetch_row(def.get())) {
        for (std::size_t i = 0; i < buffers.size(); ++i) {
            const int len = std::clamp<int>(lengths[i], 0, static_cast<int>(mdbwire::kMaxValueBytes));
            values[i] = std::string_view(buffers[i].data(), static_cast<std::size_t>(len));
        }
        mdbwire::appendRow(out, values);
        ++rows;
        if (out.size() >= kChunk) {
            if (!sink(out))
                return mdbwire::OutputFailed;
            out.clear();
        }
    }
    mdbwire::appendEnd(out, rows);
    return sink(out) ? mdbwire::Ok : mdbwire::OutputFailed;
}

} // namespace mdbread
