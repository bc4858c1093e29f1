#include "mainwindow/AirMdlFormat.h"

#include "platform/FileIo.h"
#include "platform/PathResolver.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

namespace airmdl {

namespace {

const QString kNotAvailable = QStringLiteral("n/a");

enum class WalkEnd
{
    Found,
    NoRecord,
    ReadError
};

struct WalkResult
{
    WalkEnd end = WalkEnd::NoRecord;
    TypeRecord record;
};

// Whether `width` bytes at `offset` lie inside a file of `size` bytes and at
// positions a signed 32-bit file position reaches.
bool readable(qint64 offset, qint64 width, qint64 size)
{
    return offset >= 0 && offset + width <= size && offset + width <= kMaxFilePosition;
}

// The one walk over the record chain, shared by the byte, read and write
// paths so that all three agree on which record holds the type.
// `readAt(offset, out, n)` reads n bytes that are known to lie inside the file.
template <typename ReadAt> WalkResult walkChain(qint64 size, ReadAt&& readAt)
{
    qint64 pos = 0;
    for (;;) {
        // A header that does not lie wholly inside the file ends the walk.
        if (!readable(pos, 8, size))
            return {};
        char header[8];
        if (!readAt(pos, header, 8))
            return {WalkEnd::ReadError, {}};
        const qint32 id = qFromLittleEndian<qint32>(header);
        const qint32 length = qFromLittleEndian<qint32>(header + 4);
        if (id == kTypeRecordId) {
            // The type needs four data bytes; a shorter record has no type.
            if (length < 4 || !readable(pos + 8, 4, size))
                return {};
            char type[4];
            if (!readAt(pos + 8, type, 4))
                return {WalkEnd::ReadError, {}};
            return {WalkEnd::Found, {pos, qFromLittleEndian<qint32>(type)}};
        }
        // A length of -8 or less would visit records again; a length reaching
        // past the end means the chain is damaged. Either way: no type record.
        const qint64 next = pos + 8 + length;
        if (next <= pos || next > size)
            return {};
        pos = next;
    }
}

WalkResult walkBytes(QByteArrayView data)
{
    return walkChain(data.size(), [&](qint64 offset, char* out, qint64 n) {
        std::memcpy(out, data.data() + offset, static_cast<size_t>(n));
        return true;
    });
}

WalkResult walkFile(QFile& file)
{
    return walkChain(file.size(), [&](qint64 offset, char* out, qint64 n) {
        return file.seek(offset) && file.read(out, n) == n;
    });
}

QString describe(const QString& path, const QFile& file)
{
    return path + QStringLiteral(": ") + file.errorString();
}

// Whether a file of that path is there to read: a regular file, links
// followed. A folder, pipe, socket or device counts as no file at all.
bool present(const QString& path)
{
    return platform::fileio::regularFileIdentity(path).has_value();
}

// Opens an existing regular file for reading, without ever waiting; a failure
// is reported in `error`.
bool openForReading(const QString& path, QFile& file, QString* error)
{
    if (const platform::fileio::Result r = platform::fileio::openRegular(path, &file); !r) {
        *error = r.error;
        return false;
    }
    return true;
}

WriteResult failed(QString why)
{
    return {WriteStatus::Failed, std::move(why)};
}

} // namespace

std::optional<TypeRecord> findTypeRecord(QByteArrayView data)
{
    const WalkResult r = walkBytes(data);
    if (r.end != WalkEnd::Found)
        return std::nullopt;
    return r.record;
}

int airTypeIndex(qint32 type)
{
    switch (type) {
    case 0:
        return 1;
    case 1:
        return 2;
    case 2:
        return 3;
    default:
        return 0;
    }
}

namespace {

AirRead readAirTypeFromDisk(const QString& path)
{
    AirRead result;
    if (!present(path)) {
        result.status = AirStatus::Missing;
        return result;
    }
    QFile file;
    if (!openForReading(path, file, &result.error)) {
        result.status = AirStatus::Unreadable;
        return result;
    }
    const WalkResult walk = walkFile(file);
    switch (walk.end) {
    case WalkEnd::Found:
        result.status = AirStatus::Found;
        result.record = walk.record;
        break;
    case WalkEnd::NoRecord:
        result.status = AirStatus::NoTypeRecord;
        break;
    case WalkEnd::ReadError:
        result.status = AirStatus::Unreadable;
        result.error = describe(path, file);
        break;
    }
    return result;
}

} // namespace

AirRead readAirType(const QString& path)
{
    // A folder load reads the same file for the first entry and for the file
    // list; within one lookup scope the file is read once.
    return platform::paths::remembered(QStringLiteral("air-type\n") + path,
                                       [&path] { return readAirTypeFromDisk(path); });
}

WriteResult writeAirType(const QString& path, qint16 type)
{
    if (!present(path))
        return failed(path + QStringLiteral(": the file does not exist"));
    if (platform::fileio::Result r = platform::fileio::clearReadOnly(path); !r)
        return failed(r.error);

    WalkResult walk;
    {
        QFile file;
        QString error;
        if (!openForReading(path, file, &error))
            return failed(error);
        walk = walkFile(file);
        if (walk.end == WalkEnd::ReadError)
            return failed(describe(path, file));
    }
    if (walk.end != WalkEnd::Found)
        return {WriteStatus::NotApplicable, path + QStringLiteral(": the file has no aircraft type record")};

    char bytes[2];
    qToLittleEndian<qint16>(type, bytes);
    if (platform::fileio::Result r =
            platform::fileio::patchBytes(path, walk.record.offset + 8, QByteArray(bytes, 2));
        !r)
        return failed(r.error);
    return {};
}

std::optional<MdlHeader> decodeMdlHeader(QByteArrayView data)
{
    if (data.size() < kMdlTagOffset + 4)
        return std::nullopt;
    MdlHeader header;
    header.tag = data.sliced(kMdlTagOffset, 4).toByteArray();
    if (header.tag == "MDL8" || header.tag == "MDL9") {
        if (data.size() < kMdlRadiusOffset + 1)
            return std::nullopt;
        const auto radius = static_cast<quint8>(data[kMdlRadiusOffset]);
        header.version = QStringLiteral("FS8/9");
        header.radius = radius;
        header.radiusText = QString::number(radius);
    } else if (header.tag == "MDLX") {
        header.version = QStringLiteral("FSX");
        header.radiusText = kNotAvailable;
    } else {
        header.version = kNotAvailable;
        header.radiusText = kNotAvailable;
    }
    return header;
}

namespace {

// The header read with the reason it could not be decoded told apart:
// a file too short for its header has no radius byte to write.
struct HeaderRead
{
    MdlRead read;
    bool tooShort = false;
};

HeaderRead readHeader(const QString& path)
{
    HeaderRead r;
    if (!present(path)) {
        r.read.status = MdlStatus::Missing;
        return r;
    }
    r.read.status = MdlStatus::Unreadable;
    QFile file;
    if (!openForReading(path, file, &r.read.error))
        return r;
    const QByteArray head = file.read(kMdlRadiusOffset + 1);
    if (file.error() != QFileDevice::NoError) {
        r.read.error = describe(path, file);
        return r;
    }
    const std::optional<MdlHeader> header = decodeMdlHeader(head);
    if (!header) {
        r.tooShort = true;
        r.read.error = path + QStringLiteral(": the file is too short for a model header");
        return r;
    }
    r.read.status = MdlStatus::Decoded;
    r.read.header = *header;
    return r;
}

} // namespace

MdlRead readMdlHeader(const QString& path)
{
    return readHeader(path).read;
}

WriteResult writeMdlRadius(const QString& path, quint8 radius)
{
    if (!present(path))
        return failed(path + QStringLiteral(": the file does not exist"));
    if (platform::fileio::Result r = platform::fileio::clearReadOnly(path); !r)
        return failed(r.error);

    const HeaderRead head = readHeader(path);
    if (head.read.status != MdlStatus::Decoded)
        return {head.tooShort ? WriteStatus::NotApplicable : WriteStatus::Failed, head.read.error};
    if (!head.read.header.radiusEditable())
        return {WriteStatus::NotApplicable, path + QStringLiteral(": the model has no radius byte")};

    if (platform::fileio::Result r =
            platform::fileio::patchBytes(path, kMdlRadiusOffset, QByteArray(1, static_cast<char>(radius)));
        !r)
        return failed(r.error);
    return {};
}

} // namespace airmdl
