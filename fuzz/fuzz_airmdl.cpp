// Feeds arbitrary bytes to the .air record walk and the .mdl header decode.
// Besides the sanitizers' checks it asserts what the callers rely on: a found
// type record lies inside the data, carries id 0x105 and the type its bytes
// hold, and patching the type in place finds the same record again.
#include "mainwindow/AirMdlFormat.h"

#include <QtEndian>

#include <cstdint>
#include <cstdlib>

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
    return 0;
}
