// Runs the reading code of fernquill-mdbread on arbitrary bytes as the
// database file, in memory, reading the columns Airline and Code of the
// table parkingSpecs as the program asks for them. It checks the reader's
// own code (bind buffers, lengths, the output it writes); libmdb itself is not
// built for coverage, and a crash inside libmdb is what the reader's process
// exists to contain: the program gets "no table" from it, not a crash. What
// the reader writes for a table it read must be accepted by the program.
#include "mdbread/MdbDump.h"
#include "platform/MdbReader.h"
#include "platform/MdbWire.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct CloseHandle
{
    void operator()(MdbHandle* h) const { mdb_close(h); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> file(data, data + size); // libmdb reads the buffer in place
    const std::unique_ptr<MdbHandle, CloseHandle> mdb(mdb_open_buffer(file.data(), file.size(), MDB_NOFLAGS));
    if (!mdb)
        return 0;
    std::string output;
    const int status =
        mdbread::dumpTable(mdb.get(), "parkingSpecs", {"Airline", "Code"}, [&output](std::string_view bytes) {
            output.append(bytes);
            return true;
        });
    if (status == mdbwire::Ok) {
        const platform::mdb::TableRows table =
            platform::mdb::decodeRows(QByteArrayView(output.data(), qsizetype(output.size())), 2);
        if (!table.ok)
            std::abort();
    }
    return 0;
}
