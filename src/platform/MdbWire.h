#pragma once

// What fernquill-mdbread, the program's Access reader, writes to its standard
// output, and what its exit status says when it reads nothing. Plain C++: the
// reader is built without Qt.
//
// One record per row: the byte 'R', then for each column asked for a 4-byte
// little-endian byte count and that many bytes of UTF-8 text. After the last
// row: the byte 'E' and the 4-byte little-endian number of rows; nothing
// follows it. Output whose exit status is not 0 is no table.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mdbwire {

inline constexpr char kRowTag = 'R';
inline constexpr char kEndTag = 'E';

// libmdb hands a value over in a buffer of 16384 bytes, its terminator included.
inline constexpr std::uint32_t kMaxValueBytes = 16383;
// The most columns one read asks for.
inline constexpr int kMaxColumns = 32;

// The reader's exit status.
enum Exit : int
{
    Ok = 0,
    Usage = 2,             // wrong arguments
    NotAFile = 3,          // the path is no regular file
    NotADatabase = 4,      // libmdb cannot open it
    NoCatalog = 5,         // the table list cannot be read
    NoTable = 6,           // no such table
    TableUnreadable = 7,   // the table's definition cannot be read
    ColumnsUnreadable = 8, // the table's columns cannot be read
    OutputFailed = 9,      // the rows could not be written
    NoColumn = 16,         // 16 + i: the table has no column i of those asked for
};

inline void appendCount(std::string& out, std::uint32_t n)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((n >> shift) & 0xFFu));
}

// One row's record; each value must hold at most kMaxValueBytes bytes.
inline void appendRow(std::string& out, const std::vector<std::string_view>& values)
{
    out.push_back(kRowTag);
    for (const std::string_view value : values) {
        appendCount(out, static_cast<std::uint32_t>(value.size()));
        out.append(value);
    }
}

inline void appendEnd(std::string& out, std::uint32_t rows)
{
    out.push_back(kEndTag);
    appendCount(out, rows);
}

} // namespace mdbwire
