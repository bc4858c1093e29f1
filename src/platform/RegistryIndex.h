#pragma once

// Where the keys of a registry file are. Used by WineRegistry only.
//
// Opening a file only checks its head. A key asked for is looked for in one
// pass over the bytes that compares each header line with the key's path and
// stops at the first byte that differs, so a program that asks for a handful
// of keys never reads the paths of the others nor keeps a list of them. Only
// when many keys are asked for, or all of them are needed, is every header
// read into a hash table. Values are read when their key is first asked.
#include "platform/WineRegistry.h"

#include <QHash>
#include <QMutex>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::wine {

struct WineRegistry::Index
{
    Index() = default;
    Index(const Index&) = delete;
    Index& operator=(const Index&) = delete;
    ~Index();

    // The file's text: a copy, or (mapped != nullptr) a read-only mapping of
    // the file. Wine saves the registry by renaming a new file over the old
    // one, so a mapping keeps showing the file it was made of (a file cut
    // short in place would not be; Wine never does that).
    QByteArray bytes;
    void* mapped = nullptr;
    size_t mappedSize = 0;

    qsizetype body = 0; // where the lines after the file's first one start

    // Checks the file's first line (false when it is not the registry
    // header) and sets win64 from "#arch=" before the first key.
    bool scan(bool& win64);

    const RegKey* key(const QString& id) const;
    QStringList childKeyNames(const QString& parent) const;
    qsizetype keyCount() const;

private:
    // One key of the full table, under the path its first header spells.
    struct Record
    {
        size_t hash = 0;
        qsizetype idBegin = 0; // its registryKeyId in ids
        qsizetype idSize = 0;
        qsizetype firstHeader = -1; // index into headers; more in sameNext
        qsizetype lastHeader = -1;
    };

    enum class Match { No, Yes, Unsure };
    // A key's path as a header most likely spells it, to compare headers with.
    struct Target
    {
        explicit Target(QStringView id, bool below);
        QStringView id;
        bool below; // keys below id (which then ends with '\'), not id itself
        std::string spelled; // the bytes of id's leading plain ASCII part, '\' doubled
        std::vector<qsizetype> resume; // per byte of spelled: where a byte-wise read restarts
        std::vector<qsizetype> idAt; // per byte of spelled: the index into id there
    };
    // Compares the header text at d[from] (after its '[') with the target's
    // path, eight bytes at a time while the header spells it plainly. Unsure
    // when the header needs a real read (escapes, non-ASCII, odd separators).
    static Match quickMatch(const char* d, qsizetype n, qsizetype from, const Target& t);
    // The '[' of the first key header line at or after `from`; -1 when none.
    // The lines of a key run from its header to the next header line.
    qsizetype nextHeader(qsizetype from) const;
    qsizetype lineEnd(qsizetype from) const;
    QByteArrayView headerLine(qsizetype at) const;
    std::optional<QString> headerId(qsizetype at) const; // nullopt: a damaged header
    qsizetype lineStart(qsizetype at) const;
    const RegKey* decode(const std::vector<qsizetype>& ats) const; // the key's header lines
    void buildTable() const;
    bool appendId(qsizetype at, qsizetype end) const;
    qsizetype find(QStringView id, size_t hash) const;
    void place(qsizetype r) const;

    mutable QMutex mutex; // guards everything below
    mutable QHash<QString, const RegKey*> looked; // by registryKeyId; nullptr: no such key
    mutable std::vector<std::unique_ptr<RegKey>> decoded;
    mutable int scans = 0;
    mutable bool tableBuilt = false;
    mutable std::u16string ids;
    mutable std::vector<Record> records; // in file order of their first header
    mutable std::vector<qsizetype> headers; // the '[' of every header line, for the table
    mutable std::vector<qsizetype> sameNext; // per header: the next header of the same key, -1 none
    mutable std::vector<qsizetype> table; // open addressing over records; -1 free
};

} // namespace platform::wine
