#include "platform/WineRegistry.h"

#include "platform/RegistryText.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

#include <sys/stat.h>

namespace platform::wine {

using namespace regtext;

QString registryKeyId(QStringView path)
{
    QString id;
    id.reserve(path.size());
    for (QChar c : path) {
        if (c != u'\\')
            id += c;
        else if (!id.isEmpty() && !id.endsWith(u'\\'))
            id += c;
    }
    if (id.endsWith(u'\\'))
        id.chop(1);
    return std::move(id).toCaseFolded();
}

QString RegValue::toText() const
{
    QString s;
    s.reserve(data.size() / 2);
    for (qsizetype i = 0; i + 1 < data.size(); i += 2)
        s.append(QChar(char16_t(uchar(data[i]) | (uchar(data[i + 1]) << 8))));
    if (s.endsWith(QChar(0)))
        s.chop(1);
    return s;
}

QStringList RegValue::toMultiString() const
{
    QStringList out;
    for (const QString& s : toText().split(QChar(0))) {
        if (s.isEmpty())
            break;
        out.append(s);
    }
    return out;
}

std::optional<quint32> RegValue::toDword() const
{
    if (data.size() != 4)
        return std::nullopt;
    quint32 n = 0;
    for (int b = 3; b >= 0; --b)
        n = (n << 8) | uchar(data[b]);
    return n;
}

const RegValue* RegKey::value(QStringView name) const
{
    // Keys hold a handful of values; a scan is cheaper than a hash per key.
    for (const RegValue& v : m_values) {
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    }
    return nullptr;
}

void RegKey::setValue(RegValue v)
{
    for (RegValue& old : m_values) {
        if (old.name.compare(v.name, Qt::CaseInsensitive) == 0) {
            old = std::move(v); // a later line for the same name wins
            return;
        }
    }
    m_values.append(std::move(v));
}


struct WineRegistry::Index
{
    // The lines of one header: from the line after it up to the next header.
    struct Segment
    {
        qsizetype begin = 0;
        qsizetype end = 0;
        qsizetype next = -1; // the key's next segment (a key written twice), -1 none
    };
    // One key, under the path its first header spells.
    struct Record
    {
        size_t hash = 0;
        qsizetype idBegin = 0; // its registryKeyId in ids
        qsizetype idSize = 0;
        qsizetype header = 0; // the '[' of its first header
        qsizetype headerEnd = 0;
        qsizetype firstSegment = -1;
        qsizetype lastSegment = -1;
    };

    QByteArray bytes;
    std::u16string ids;
    std::vector<Record> records; // in file order of their first header
    std::vector<Segment> segments;
    std::vector<qsizetype> table; // open addressing over records; -1 free; size a power of two

    QMutex mutex; // guards `decoded`
    std::vector<std::unique_ptr<RegKey>> decoded;

    QStringView id(const Record& r) const { return QStringView(ids).mid(r.idBegin, r.idSize); }

    qsizetype find(QStringView id, size_t hash) const
    {
        if (table.empty())
            return -1;
        const size_t mask = table.size() - 1;
        for (size_t s = hash & mask;; s = (s + 1) & mask) {
            const qsizetype r = table[s];
            if (r < 0)
                return -1;
            if (records[size_t(r)].hash == hash && this->id(records[size_t(r)]) == id)
                return r;
        }
    }

    void place(qsizetype r)
    {
        const size_t mask = table.size() - 1;
        size_t s = records[size_t(r)].hash & mask;
        while (table[s] >= 0)
            s = (s + 1) & mask;
        table[s] = r;
    }

    // The record for the id just appended to `ids` at idBegin; a new one when
    // the id is new, else the earlier one (the appended id is dropped again).
    qsizetype recordFor(qsizetype idBegin, qsizetype header, qsizetype headerEnd)
    {
        const QStringView id = QStringView(ids).mid(idBegin);
        const size_t hash = qHash(id, 0);
        const qsizetype found = find(id, hash);
        if (found >= 0) {
            ids.resize(size_t(idBegin));
            return found;
        }
        if ((records.size() + 1) * 2 > table.size()) {
            table.assign(std::max<size_t>(64, table.size() * 2), -1);
            for (size_t r = 0; r < records.size(); ++r)
                place(qsizetype(r));
        }
        records.push_back(Record{hash, idBegin, qsizetype(ids.size()) - idBegin, header, headerEnd, -1, -1});
        place(qsizetype(records.size()) - 1);
        return qsizetype(records.size()) - 1;
    }

    // Reads the path of the header line [at, lineEnd) and appends its
    // registryKeyId to `ids`; false when the path is damaged.
    bool appendId(qsizetype at, qsizetype lineEnd)
    {
        const QByteArrayView line(bytes.constData() + at, lineEnd - at);
        bool ascii = true;
        for (char c : line)
            ascii = ascii && uchar(c) < 0x80;
        if (!ascii) {
            const auto path = headerPath(line);
            if (!path)
                return false;
            const QString id = registryKeyId(*path);
            ids.append(reinterpret_cast<const char16_t*>(id.constData()), size_t(id.size()));
            return true;
        }
        // Plain ASCII, the usual case: fold while reading, without a detour
        // through QString. Escapes may still give other characters.
        const size_t begin = ids.size();
        bool plain = true;
        qsizetype pos = 1;
        const bool ok = readQuoted(line, pos, u']', [&](char16_t c) {
            if (c == u'\\') {
                if (ids.size() > begin && ids.back() != u'\\')
                    ids.push_back(c);
                return;
            }
            plain = plain && c < 0x80;
            ids.push_back(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
        });
        if (!ok) {
            ids.resize(begin);
            return false;
        }
        if (ids.size() > begin && ids.back() == u'\\')
            ids.pop_back();
        if (!plain) {
            const QString id = QStringView(ids).mid(qsizetype(begin)).toString().toCaseFolded();
            ids.resize(begin);
            ids.append(reinterpret_cast<const char16_t*>(id.constData()), size_t(id.size()));
        }
        return true;
    }
};

WineRegistry WineRegistry::parse(QByteArrayView bytes)
{
    return parseOwned(bytes.toByteArray());
}

WineRegistry WineRegistry::parseOwned(QByteArray bytes)
{
    WineRegistry reg;
    auto idx = std::make_shared<Index>();
    idx->bytes = std::move(bytes);
    const char* const d = idx->bytes.constData();
    const qsizetype n = idx->bytes.size();
    const auto lineEndFrom = [d, n](qsizetype from) {
        const void* nl = from < n ? std::memchr(d + from, '\n', size_t(n - from)) : nullptr;
        return nl ? static_cast<const char*>(nl) - d : n;
    };
    // Wine writes UTF-8; escapes are plain ASCII, so lines can be found in
    // the bytes and decoded one by one.
    const qsizetype headerEnd = lineEndFrom(0);
    if (QString::fromUtf8(d, headerEnd).trimmed() != kHeader)
        return reg;
    reg.m_valid = true;
    const qsizetype body = std::min(headerEnd + 1, n);

    // Key headers: lines whose first character other than blanks is '['. A
    // hex list never carries on into such a line, so the lines below each
    // header up to the next one belong to that key alone.
    qsizetype firstKeyLine = n;
    qsizetype openSegment = -1;
    for (qsizetype p = body; p < n;) {
        const void* hit = std::memchr(d + p, '[', size_t(n - p));
        if (!hit)
            break;
        const qsizetype at = static_cast<const char*>(hit) - d;
        qsizetype lineStart = at;
        while (lineStart > body && isBlankByte(d[lineStart - 1]))
            --lineStart;
        if (lineStart > body && d[lineStart - 1] != '\n') {
            p = at + 1;
            continue;
        }
        const qsizetype lineEnd = lineEndFrom(at);
        firstKeyLine = std::min(firstKeyLine, lineStart);
        if (openSegment >= 0)
            idx->segments[size_t(openSegment)].end = lineStart;
        openSegment = -1;
        const qsizetype idBegin = qsizetype(idx->ids.size());
        if (idx->appendId(at, lineEnd)) {
            // A key written twice: its values are merged.
            Index::Record& r = idx->records[size_t(idx->recordFor(idBegin, at, lineEnd))];
            openSegment = qsizetype(idx->segments.size());
            const qsizetype begin = std::min(lineEnd + 1, n);
            idx->segments.push_back(Index::Segment{begin, n, -1});
            if (r.lastSegment >= 0)
                idx->segments[size_t(r.lastSegment)].next = openSegment;
            else
                r.firstSegment = openSegment;
            r.lastSegment = openSegment;
        }
        p = lineEnd + 1;
    }

    // Options before the first key: "#arch=" belongs to the file's head.
    for (qsizetype p = body; p < firstKeyLine;) {
        const qsizetype lineEnd = std::min(lineEndFrom(p), firstKeyLine);
        qsizetype start = p;
        while (start < lineEnd && isBlankByte(d[start]))
            ++start;
        if (start < lineEnd && d[start] == '#') {
            const QString opt = QString::fromUtf8(d + start, lineEnd - start).trimmed();
            if (opt.startsWith(u"#arch="))
                reg.m_win64 = QStringView(opt).mid(6) == u"win64";
        }
        p = lineEnd + 1;
    }

    idx->decoded.resize(idx->records.size());
    reg.m_d = std::move(idx);
    return reg;
}

const RegKey* WineRegistry::decodedKey(qsizetype record) const
{
    Index& idx = *m_d;
    const QMutexLocker lock(&idx.mutex);
    std::unique_ptr<RegKey>& slot = idx.decoded[size_t(record)];
    if (slot)
        return slot.get();
    const Index::Record& r = idx.records[size_t(record)];
    auto key = std::make_unique<RegKey>();
    const QByteArrayView all(idx.bytes);
    const auto path = headerPath(all.sliced(r.header, r.headerEnd - r.header));
    key->m_path = path.value_or(QString()).split(u'\\', Qt::SkipEmptyParts).join(u'\\');
    const bool fileEndsOpen = !all.endsWith('\n');
    for (qsizetype s = r.firstSegment; s >= 0; s = idx.segments[size_t(s)].next) {
        const Index::Segment& seg = idx.segments[size_t(s)];
        const QString text = QString::fromUtf8(all.sliced(seg.begin, seg.end - seg.begin));
        readValues(text, fileEndsOpen && seg.end == all.size(), [&key](RegValue v) { key->setValue(std::move(v)); });
    }
    slot = std::move(key);
    return slot.get();
}

qsizetype WineRegistry::keyCount() const
{
    return m_d ? qsizetype(m_d->records.size()) : 0;
}

WineRegistry WineRegistry::load(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return parseOwned(f.readAll());
}

namespace {

struct CacheEntry
{
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};
    std::shared_ptr<const WineRegistry> reg;

    bool sameFile(const struct stat& st) const
    {
        return dev == st.st_dev && ino == st.st_ino && size == st.st_size &&
               mtime.tv_sec == st.st_mtim.tv_sec && mtime.tv_nsec == st.st_mtim.tv_nsec &&
               ctime.tv_sec == st.st_ctim.tv_sec && ctime.tv_nsec == st.st_ctim.tv_nsec;
    }
};

} // namespace

std::shared_ptr<const WineRegistry> WineRegistry::loadCached(const QString& path)
{
    static QMutex mutex;
    static QHash<QString, CacheEntry> cache;
    static const auto empty = std::make_shared<const WineRegistry>();

    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        const QMutexLocker lock(&mutex);
        cache.remove(path);
        return empty;
    }
    // The identity of the file actually opened: Wine may rename a new file
    // over the path at any moment.
    struct stat st
    {
    };
    const bool haveStat = ::fstat(f.handle(), &st) == 0;
    {
        const QMutexLocker lock(&mutex);
        const auto it = cache.constFind(path);
        if (haveStat && it != cache.cend() && it->sameFile(st))
            return it->reg;
    }
    auto reg = std::make_shared<const WineRegistry>(parseOwned(f.readAll()));
    if (haveStat) {
        const QMutexLocker lock(&mutex);
        cache.insert(path, CacheEntry{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim, reg});
    }
    return reg;
}

const RegKey* WineRegistry::key(QStringView path) const
{
    if (!m_d)
        return nullptr;
    const QString id = registryKeyId(path);
    const qsizetype r = m_d->find(id, qHash(QStringView(id), 0));
    return r < 0 ? nullptr : decodedKey(r);
}

QStringList WineRegistry::childKeyNames(QStringView path) const
{
    if (!m_d)
        return {};
    const QString parent = registryKeyId(path);
    const QString below = parent + u'\\';
    const qsizetype depth = parent.isEmpty() ? 0 : parent.count(u'\\') + 1;
    QStringList names;
    QSet<QString> seen;
    const QByteArrayView all(m_d->bytes);
    for (const Index::Record& r : m_d->records) {
        if (!parent.isEmpty() && !m_d->id(r).startsWith(below))
            continue;
        const auto spelled = headerPath(all.sliced(r.header, r.headerEnd - r.header));
        const QStringList parts =
            spelled.value_or(QString()).split(u'\\', Qt::SkipEmptyParts).join(u'\\').split(u'\\');
        if (parts.size() <= depth)
            continue;
        const QString name = parts[depth];
        if (!seen.contains(name.toCaseFolded())) {
            seen.insert(name.toCaseFolded());
            names.append(name);
        }
    }
    return names;
}

} // namespace platform::wine
