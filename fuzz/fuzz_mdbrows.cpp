// Feeds arbitrary bytes, as if written by fernquill-mdbread, to the program's
// reading of the reader's output. The first byte picks the number of columns
// (1 to 4), the rest is the output. Besides the sanitizers' checks it asserts
// that an accepted table has that many values in every row and is exactly
// what the reader's own writing of those rows gives, byte for byte: nothing
// in the output is skipped or guessed.
#include "platform/MdbReader.h"
#include "platform/MdbWire.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const qsizetype columns = 1 + data[0] % 4;
    const QByteArrayView output(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    const platform::mdb::TableRows table = platform::mdb::decodeRows(output, columns);
    if (!table.ok) {
        if (!table.rows.isEmpty() || table.error.isEmpty())
            std::abort();
        return 0;
    }
    std::string again;
    for (const QStringList& row : table.rows) {
        if (row.size() != columns)
            std::abort();
        std::vector<QByteArray> utf8;
        for (const QString& value : row)
            utf8.push_back(value.toUtf8());
        std::vector<std::string_view> values;
        for (const QByteArray& value : utf8) {
            if (value.size() > qsizetype(mdbwire::kMaxValueBytes))
                std::abort();
            values.emplace_back(value.constData(), std::size_t(value.size()));
        }
        mdbwire::appendRow(again, values);
    }
    mdbwire::appendEnd(again, std::uint32_t(table.rows.size()));
    if (QByteArrayView(again.data(), qsizetype(again.size())) != output)
        std::abort();
    return 0;
}
