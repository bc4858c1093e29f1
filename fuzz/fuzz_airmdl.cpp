// Feeds arbitrary bytes to the .air record walk and the .mdl header decode.
// Besides the sanitizers' checks it asserts what the callers rely on: a found
// type record lies inside the data, carries id 0x105 and the type its bytes
// hold, and patching the type in place finds the same record again. The same
// bytes as a file: the reads of the file find what the decoders find in the
// bytes, and the writes change the type's two bytes or the radius byte and
// nothing else, or refuse and leave the file as it was.
#include "FuzzSupport.h"

#include "mainwindow/AirMdlFormat.h"

#include <QtEndian>

#include <cstdint>
#include <cstdlib>

namespace {

using fuzz::check;

void checkFiles(QByteArrayView bytes)
{
    const QString air = fuzz::scratchFile(QStringLiteral("model.air"));
    fuzz::put(air, bytes);
    const auto record = airmdl::findTypeRecord(bytes);
    const airmdl::AirRead read = airmdl::readAirType(air);
    check(read.status == (record ? airmdl::AirStatus::Found : airmdl::AirStatus::NoTypeRecord),
          "the file's walk and the bytes' walk disagree");
    if (record)
        check(read.record.offset == record->offset && read.record.type == record->type,
              "the file's walk finds another record");
    QByteArray patched = bytes.toByteArray();
    if (record)
        qToLittleEndian<qint16>(qint16(0x0B0A), patched.data() + record->offset + 8);
    const airmdl::WriteResult wrote = airmdl::writeAirType(air, qint16(0x0B0A));
    check(wrote.status == (record ? airmdl::WriteStatus::Written : airmdl::WriteStatus::NotApplicable),
          "writing the type fails or writes a file without a type record");
    check(fuzz::contents(air) == patched, "writing the type changed other bytes");

    const QString mdl = fuzz::scratchFile(QStringLiteral("model.mdl"));
    fuzz::put(mdl, bytes);
    const auto header = airmdl::decodeMdlHeader(bytes.first(qMin<qsizetype>(bytes.size(), 29)));
    const airmdl::MdlRead head = airmdl::readMdlHeader(mdl);
    check(head.status == (header ? airmdl::MdlStatus::Decoded : airmdl::MdlStatus::Unreadable),
          "the file's header and the bytes' header disagree");
    if (header)
        check(head.header.tag == header->tag && head.header.version == header->version &&
                  head.header.radiusText == header->radiusText && head.header.radius == header->radius,
              "the file's header reads otherwise than the bytes' header");
    const bool editable = header && header->radiusEditable();
    QByteArray radius = bytes.toByteArray();
    if (editable)
        radius[28] = char(0xA5);
    check(airmdl::writeMdlRadius(mdl, quint8(0xA5)).status ==
              (editable ? airmdl::WriteStatus::Written : airmdl::WriteStatus::NotApplicable),
          "writing the radius fails or writes a model without a radius byte");
    check(fuzz::contents(mdl) == radius, "writing the radius changed other bytes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    if (const auto r = airmdl::findTypeRecord(bytes)) {
        if (r->offset < 0 || r->offset + 12 > bytes.size())
            std::abort();
        if (qFromLittleEndian<qint32>(bytes.data() + r->offset) != airmdl::kTypeRecordId)
            std::abort();
        if (qFromLittleEndian<qint32>(bytes.data() + r->offset + 8) != r->type)
            std::abort();
        QByteArray patched = bytes.toByteArray();
        qToLittleEndian<qint16>(qint16(0x0B0A), patched.data() + r->offset + 8);
        const auto again = airmdl::findTypeRecord(patched);
        if (!again || again->offset != r->offset || (again->type & 0xFFFF) != 0x0B0A)
            std::abort();
    }

    if (const auto h = airmdl::decodeMdlHeader(bytes)) {
        if (bytes.size() < 12 || (h->radiusEditable() && bytes.size() < 29))
            std::abort();
        if (h->radiusEditable() && *h->radius != static_cast<quint8>(bytes[28]))
            std::abort();
    } else if (bytes.size() >= 29) {
        std::abort(); // 29 bytes always hold a readable header
    }

    checkFiles(bytes);
    return 0;
}
