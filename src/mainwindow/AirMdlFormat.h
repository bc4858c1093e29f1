#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The two binary files of an aircraft folder that the editor touches:
// the aircraft type in the `.air` record chain and the model header of an
// `.mdl` file (format tag and, for FS8/FS9 models, the radius byte).
// Nothing else in either file is interpreted or changed.
namespace airmdl {

// ---- .air record chain -------------------------------------------------------

// Id of the record that carries the aircraft type.
inline constexpr qint32 kTypeRecordId = 0x105;
// Every byte the walk reads must lie at a position a signed 32-bit file
// position can address; files beyond that are not walked further.
inline constexpr qint64 kMaxFilePosition = 0x7FFFFFFF;

struct TypeRecord
{
    qint64 offset = -1; // file offset of the record header
    qint32 type = 0;    // the 32-bit type at offset + 8
};

// Walks the record chain of `data` from offset 0 and returns the first record
// with id 0x105 whose type can be read. A damaged chain (length of -8 or less,
// a record reaching past the end) or a type record with fewer than 4 data bytes
// gives no record. Never reads outside `data` and never loops.
std::optional<TypeRecord> findTypeRecord(QByteArrayView data);

// The option button index for a type: 1 Normal (0), 2 Helicopter (1), 3 AI (2);
// 0 for any other value.
int airTypeIndex(qint32 type);

enum class AirStatus
{
    Missing,      // no regular file at that path (a folder, pipe, socket or device is none)
    Unreadable,   // the file cannot be opened or read
    NoTypeRecord, // readable, but no usable type record
    Found,        // record found; see `record`
};

struct AirRead
{
    AirStatus status = AirStatus::Missing;
    TypeRecord record;
    QString error; // why, for Unreadable
};

// Reads the aircraft type of an `.air` file, header by header (large files
// are not loaded whole).
AirRead readAirType(const QString& path);

// ---- writes ------------------------------------------------------------------

enum class WriteStatus
{
    Written,
    NotApplicable, // the file has no place for the value (no type record, no radius byte)
    Failed,        // the file could not be made writable, read or written
};

struct WriteResult
{
    WriteStatus status = WriteStatus::Written;
    QString error; // why, unless Written

    bool ok() const { return status == WriteStatus::Written; }
    explicit operator bool() const { return ok(); }
};

// Writes `type` as 16 bits little-endian over the first two data bytes of the
// type record (record offset 8 and 9); bytes 10 and 11 stay as they are, so the
// 32-bit value reads back as written only while they are zero. The read-only
// permission is cleared first, as the user expects the switch to succeed on a
// read-only file. A file whose chain has no usable type record is not written.
WriteResult writeAirType(const QString& path, qint16 type);

// ---- .mdl header -------------------------------------------------------------

inline constexpr qint64 kMdlTagOffset = 8;
inline constexpr qint64 kMdlRadiusOffset = 28;

struct MdlHeader
{
    QByteArray tag;               // bytes 8..11 as they stand
    QString version;              // "FS8/9", "FSX" or "n/a"
    QString radiusText;           // the radius in decimal, or "n/a"
    std::optional<quint8> radius; // set for "MDL8"/"MDL9": the radius is editable

    bool radiusEditable() const { return radius.has_value(); }
};

// Decodes the header from the first bytes of a model file. Empty when the
// data is too short: fewer than 12 bytes, or fewer than 29 with tag MDL8/MDL9.
// The tag is compared with case ("mdl9" is not an FS8/9 model).
std::optional<MdlHeader> decodeMdlHeader(QByteArrayView data);

enum class MdlStatus
{
    Missing,    // no regular file at that path (a folder, pipe, socket or device is none)
    Unreadable, // cannot be opened or read, or too short for its header
    Decoded,
};

struct MdlRead
{
    MdlStatus status = MdlStatus::Missing;
    MdlHeader header;
    QString error;
};

// Reads and decodes the header of a model file (only the first 29 bytes are read).
MdlRead readMdlHeader(const QString& path);

// Writes the radius byte at offset 28 and nothing else. Clears the read-only
// permission first. Refused (NotApplicable) when the file is shorter than 29
// bytes or its tag is not MDL8/MDL9: such a model has no radius byte.
WriteResult writeMdlRadius(const QString& path, quint8 radius);

} // namespace airmdl
