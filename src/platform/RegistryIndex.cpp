#include "platform/RegistryIndex.h"

#include "platform/RegistryText.h"

#include <QMutexLocker>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>

#include <sys/mman.h>

namespace platform::wine {

using namespace regtext;

namespace {

// Keys looked for one pass each before every header is read into a table: a
// pass compares a few bytes per header, the table reads all of them.
constexpr int kScansBeforeTable = 8;

} // namespace

WineRegistry::Index::~Index()
{
    if (mapped)
        ::munmap(mapped, mappedSize);
}

qsizetype WineRegistry::Index::lineEnd(qsizetype from) const
{
    const char* d = bytes.constData();
    const qsizetype n = bytes.size();
    const void* nl = from < n ? std::memchr(d + from, '\n', size_t(n - from)) : nullptr;
    return nl ? static_cast<const char*>(nl) - d : n;
}

qsizetype WineRegistry::Index::lineStart(qsizetype at) const
{
    const char* d = bytes.constData();
    while (at > body && isBlankByte(d[at - 1]))
        --at;
    return at;
}

QByteArrayView WineRegistry::Index::headerLine(qsizetype at) const
{
    return QByteArrayView(bytes.constData() + at, lineEnd(at) - at);
}

std::optional<QString> WineRegistry::Index::headerId(qsizetype at) const
{
    const auto path = headerPath(headerLine(at));
    if (!path)
        return std::nullopt;
    return registryKeyId(*path);
}

bool WineRegistry::Index::scan(bool& win64)
{
    const char* const d = bytes.constData();
    const qsizetype n = bytes.size();
    // Wine writes UTF-8; escapes are plain ASCII, so lines can be found in
    // the bytes and decoded one by one.
    const qsizetype headEnd = lineEnd(0);
    if (QString::fromUtf8(d, headEnd).trimmed() != kHeader)
        return false;
    body = std::min(headEnd + 1, n);

    // Options before the first key: "#arch=" belongs to the file's head.
    const qsizetype first = nextHeader(body);
    const qsizetype firstKeyLine = first < 0 ? n : lineStart(first);
    for (qsizetype p = body; p < firstKeyLine;) {
        const qsizetype end = std::min(lineEnd(p), firstKeyLine);
        qsizetype start = p;
        while (start < end && isBlankByte(d[start]))
            ++start;
        if (start < end && d[start] == '#') {
            const QString opt = QString::fromUtf8(d + start, end - start).trimmed();
            if (opt.startsWith(u"#arch="))
                win64 = QStringView(opt).mid(6) == u"win64";
        }
        p = end + 1;
    }
    return true;
}

qsizetype WineRegistry::Index::nextHeader(qsizetype from) const
{
    // Key headers: lines whose first character other than blanks is '['. A
    // hex list never carries on into such a line, so the lines below each
    // header up to the next one belong to that key alone.
    const char* const d = bytes.constData();
    const qsizetype n = bytes.size();
    for (qsizetype p = std::max(from, body); p < n;) {
        const void* hit = std::memchr(d + p, '[', size_t(n - p));
        if (!hit)
            return -1;
        const qsizetype at = static_cast<const char*>(hit) - d;
        const qsizetype start = lineStart(at);
        if (start == body || d[start - 1] == '\n')
            return at;
        p = at + 1;
    }
    return -1;
}

WineRegistry::Index::Target::Target(QStringView id, bool below)
    : id(id)
    , below(below)
{
    // Bytes a header holds as they are: ASCII other than '\', ']' and line ends.
    for (qsizetype i = 0; i < id.size(); ++i) {
        const char16_t c = id[i].unicode();
        if (c == u'\\') {
            resume.push_back(qsizetype(spelled.size()));
            resume.push_back(qsizetype(spelled.size()));
            idAt.push_back(i);
            idAt.push_back(i);
            spelled += "\\\\";
            continue;
        }
        if (c >= 0x80 || c == u']' || c == u'\n')
            break;
        // Right after a separator a byte-wise read restarts at the separator:
        // it checks what follows a doubled backslash.
        const qsizetype at = qsizetype(spelled.size());
        resume.push_back(at >= 2 && spelled[size_t(at - 1)] == '\\' ? at - 2 : at);
        idAt.push_back(i);
        spelled += char(c);
    }
    const qsizetype end = qsizetype(spelled.size());
    resume.push_back(end >= 2 && spelled[size_t(end - 1)] == '\\' ? end - 2 : end);
    idAt.push_back(idAt.empty() ? 0 : idAt.back() + 1);
}

namespace {

// Eight bytes with 'A' to 'Z' made lower case.
inline quint64 lowerAscii(quint64 x)
{
    constexpr quint64 ones = 0x0101010101010101ULL;
    const quint64 heptets = x & (0x7F * ones);
    const quint64 aboveA = heptets + (0x80 - 'A') * ones; // high bit: >= 'A'
    const quint64 aboveZ = heptets + (0x80 - 'Z' - 1) * ones; // high bit: > 'Z'
    const quint64 upper = aboveA & ~aboveZ & ~x & (0x80 * ones);
    return x | (upper >> 2);
}

} // namespace

WineRegistry::Index::Match WineRegistry::Index::quickMatch(const char* d, qsizetype n, qsizetype from,
                                                           const Target& t)
{
    const QStringView id = t.id;
    const qsizetype m = id.size();

    // The common start of the header and the spelled path, as far as the
    // header's lower-case bytes equal it.
    const qsizetype len = qsizetype(t.spelled.size());
    qsizetype k = 0;
    while (k + 8 <= len && from + k + 8 <= n) {
        quint64 a;
        quint64 b;
        std::memcpy(&a, d + from + k, 8);
        std::memcpy(&b, t.spelled.data() + k, 8);
        // Read as little-endian, the lowest differing bit is in the first differing byte.
        const quint64 diff = lowerAscii(qFromLittleEndian(a)) ^ qFromLittleEndian(b);
        if (diff) {
            k += qsizetype(std::countr_zero(diff) / 8);
            break;
        }
        k += 8;
    }
    if (k + 8 > len || from + k + 8 > n) {
        while (k < len && from + k < n) {
            const uchar c = uchar(d[from + k]);
            if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != uchar(t.spelled[size_t(k)]))
                break;
            ++k;
        }
    }
    k = t.resume[size_t(k)];

    // Byte by byte from there.
    qsizetype i = t.idAt[size_t(k)];
    for (qsizetype p = from + k; p < n;) {
        const uchar b = uchar(d[p]);
        if (b == ']')
            return i == m && !t.below ? Match::Yes : Match::No;
        if (b == '\n')
            return Match::No; // no closing ']': a damaged header names no key
        if (b >= 0x80)
            return Match::Unsure;
        if (b == '\\') {
            // Only the plain separator between two parts is read here.
            if (i == 0 || p + 2 >= n || d[p + 1] != '\\' || d[p + 2] == '\\' || d[p + 2] == ']')
                return Match::Unsure;
            if (i == m || id[i] != u'\\')
                return Match::No;
            ++i;
            p += 2;
            if (t.below && i == m)
                return Match::Yes;
            continue;
        }
        const char16_t c = b >= 'A' && b <= 'Z' ? char16_t(b + 32) : char16_t(b);
        if (i == m || id[i] != c)
            return Match::No;
        ++i;
        ++p;
    }
    return Match::No; // the file ends inside the header: a damaged one
}

const RegKey* WineRegistry::Index::decode(const std::vector<qsizetype>& ats) const
{
    auto key = std::make_unique<RegKey>();
    const QByteArrayView all(bytes);
    const auto path = headerPath(headerLine(ats.front()));
    key->m_path = path.value_or(QString()).split(u'\\', Qt::SkipEmptyParts).join(u'\\');
    const bool fileEndsOpen = !all.endsWith('\n');
    for (const qsizetype at : ats) {
        const qsizetype begin = std::min(lineEnd(at) + 1, all.size());
        const qsizetype next = nextHeader(at + 1);
        const qsizetype end = next < 0 ? all.size() : lineStart(next);
        const QString text = QString::fromUtf8(all.sliced(begin, end - begin));
        // A key written twice: its values are merged.
        readValues(text, fileEndsOpen && end == all.size(), [&key](RegValue v) { key->setValue(std::move(v)); });
    }
    decoded.push_back(std::move(key));
    return decoded.back().get();
}

const RegKey* WineRegistry::Index::key(const QString& id) const
{
    const QMutexLocker lock(&mutex);
    if (const auto it = looked.constFind(id); it != looked.cend())
        return *it;
    std::vector<qsizetype> hs;
    if (!tableBuilt && scans < kScansBeforeTable) {
        ++scans;
        const Target target(id, false);
        const char* const d = bytes.constData();
        for (qsizetype at = nextHeader(body); at >= 0; at = nextHeader(at + 1)) {
            const Match m = quickMatch(d, bytes.size(), at + 1, target);
            if (m == Match::Yes || (m == Match::Unsure && headerId(at) == id))
                hs.push_back(at);
        }
    } else {
        buildTable();
        const qsizetype r = find(id, qHash(QStringView(id), 0));
        for (qsizetype h = r < 0 ? -1 : records[size_t(r)].firstHeader; h >= 0; h = sameNext[size_t(h)])
            hs.push_back(headers[size_t(h)]);
    }
    const RegKey* k = hs.empty() ? nullptr : decode(hs);
    looked.insert(id, k);
    return k;
}

QStringList WineRegistry::Index::childKeyNames(const QString& parent) const
{
    const QMutexLocker lock(&mutex);
    const QString below = parent + u'\\';
    const qsizetype depth = parent.isEmpty() ? 0 : parent.count(u'\\') + 1;
    QStringList names;
    QSet<QString> seen;
    const auto keep = [&](const std::optional<QString>& spelled) {
        // A header of no path at all (such as "[]") names the root, no child.
        const QStringList parts = spelled.value_or(QString()).split(u'\\', Qt::SkipEmptyParts);
        if (parts.size() <= depth)
            return;
        const QString name = parts[depth];
        if (!seen.contains(name.toCaseFolded())) {
            seen.insert(name.toCaseFolded());
            names.append(name);
        }
    };
    if (parent.isEmpty() || tableBuilt || scans >= kScansBeforeTable) {
        buildTable();
        for (const Record& r : records) {
            if (!parent.isEmpty() && !QStringView(ids).mid(r.idBegin, r.idSize).startsWith(below))
                continue;
            keep(headerPath(headerLine(headers[size_t(r.firstHeader)])));
        }
        return names;
    }
    // Headers in file order give the names in the order of the keys' first
    // headers, as the table does.
    ++scans;
    const Target target(below, true);
    const char* const d = bytes.constData();
    for (qsizetype at = nextHeader(body); at >= 0; at = nextHeader(at + 1)) {
        const Match m = quickMatch(d, bytes.size(), at + 1, target);
        if (m == Match::No)
            continue;
        const auto spelled = headerPath(headerLine(at));
        if (!spelled || (m == Match::Unsure && !registryKeyId(*spelled).startsWith(below)))
            continue;
        keep(spelled);
    }
    return names;
}

qsizetype WineRegistry::Index::keyCount() const
{
    const QMutexLocker lock(&mutex);
    buildTable();
    return qsizetype(records.size());
}

qsizetype WineRegistry::Index::find(QStringView id, size_t hash) const
{
    if (table.empty())
        return -1;
    const size_t mask = table.size() - 1;
    for (size_t s = hash & mask;; s = (s + 1) & mask) {
        const qsizetype r = table[s];
        if (r < 0)
            return -1;
        const Record& rec = records[size_t(r)];
        if (rec.hash == hash && QStringView(ids).mid(rec.idBegin, rec.idSize) == id)
            return r;
    }
}

void WineRegistry::Index::place(qsizetype r) const
{
    const size_t mask = table.size() - 1;
    size_t s = records[size_t(r)].hash & mask;
    while (table[s] >= 0)
        s = (s + 1) & mask;
    table[s] = r;
}

// Reads the path of the header line [at, end) and appends its registryKeyId
// to `ids`; false when the path is damaged.
bool WineRegistry::Index::appendId(qsizetype at, qsizetype end) const
{
    const QByteArrayView line(bytes.constData() + at, end - at);
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

void WineRegistry::Index::buildTable() const
{
    if (tableBuilt)
        return;
    tableBuilt = true;
    for (qsizetype at = nextHeader(body); at >= 0; at = nextHeader(at + 1))
        headers.push_back(at);
    sameNext.assign(headers.size(), -1);
    for (qsizetype h = 0; h < qsizetype(headers.size()); ++h) {
        const qsizetype at = headers[size_t(h)];
        const qsizetype idBegin = qsizetype(ids.size());
        if (!appendId(at, lineEnd(at)))
            continue;
        const QStringView id = QStringView(ids).mid(idBegin);
        const size_t hash = qHash(id, 0);
        const qsizetype found = find(id, hash);
        if (found >= 0) {
            ids.resize(size_t(idBegin));
            Record& r = records[size_t(found)];
            sameNext[size_t(r.lastHeader)] = h;
            r.lastHeader = h;
            continue;
        }
        if ((records.size() + 1) * 2 > table.size()) {
            table.assign(std::max<size_t>(64, table.size() * 2), -1);
            for (size_t r = 0; r < records.size(); ++r)
                place(qsizetype(r));
        }
        records.push_back(Record{hash, idBegin, qsizetype(ids.size()) - idBegin, h, h});
        place(qsizetype(records.size()) - 1);
    }
}

} // namespace platform::wine
