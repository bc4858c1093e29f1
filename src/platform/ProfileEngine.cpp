#include "platform/ProfileEngine.h"

#include "platform/Cp1252.h"
#include "platform/FileIo.h"
#include "platform/PathResolver.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>

#include <memory>
#include <ctime>
#include <sys/stat.h>

namespace platform::profile {

namespace {

enum class LineKind : quint8 { Blank, Comment, Header, Key, Text };

// One physical line, positions in text units (characters of the decoded text).
struct Line
{
    quint32 start;
    quint32 contentEnd; // where the line end (CR LF, LF or CR) begins
    quint32 eq;         // position of the first '=' of a key line; for a header: end of its name
    LineKind kind;
};

struct Section
{
    QString name; // trimmed, spelled as in the file, cut at a NUL
    int header;   // line index of the header
    int endLine;  // line index of the next header (or the line count)
};

struct Parsed
{
    QByteArray bytes;
    QString text;       // the file decoded unit by unit
    int unitBytes = 1;  // 1 for Windows-1252, 2 for UTF-16LE
    int bomBytes = 0;   // 2 when the file starts with a UTF-16LE byte-order mark
    bool lfOnly = false; // line ends are LF throughout: new lines get LF too
    QList<Line> lines;
    QList<Section> sections;
    QHash<QString, int> firstSection; // case-folded name -> first section of that name

    qsizetype lineEnd(int i) const { return i + 1 < lines.size() ? lines[i + 1].start : text.size(); }
    qsizetype byteOf(qsizetype unit) const { return bomBytes + unit * unitBytes; }
};

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\v'; }

QStringView trimBlanks(QStringView s)
{
    qsizetype a = 0, b = s.size();
    while (a < b && isBlank(s[a]))
        ++a;
    while (b > a && isBlank(s[b - 1]))
        --b;
    return s.mid(a, b - a);
}

// Names and values are C strings to Windows: a NUL ends them.
QStringView cutAtNul(QStringView s)
{
    const qsizetype nul = s.indexOf(QChar(0));
    return nul < 0 ? s : s.left(nul);
}

QString fold(QStringView s) { return s.toString().toCaseFolded(); }

std::unique_ptr<Parsed> parse(QByteArray bytes)
{
    auto p = std::make_unique<Parsed>();
    p->bytes = std::move(bytes);
    const QByteArray& b = p->bytes;
    if (b.size() >= 2 && static_cast<uchar>(b[0]) == 0xFF && static_cast<uchar>(b[1]) == 0xFE) {
        p->unitBytes = 2;
        p->bomBytes = 2;
        const qsizetype units = (b.size() - 2) / 2;
        p->text.resize(units);
        for (qsizetype i = 0; i < units; ++i) {
            const auto lo = static_cast<uchar>(b[2 + 2 * i]);
            const auto hi = static_cast<uchar>(b[3 + 2 * i]);
            p->text[i] = QChar(static_cast<char16_t>(lo | (hi << 8)));
        }
    } else {
        p->text = cp1252::decode(b);
    }

    const QString& t = p->text;
    const qsizetype n = t.size();
    bool sawCr = false, sawLf = false;
    int current = -1;
    qsizetype pos = 0;
    while (pos < n) {
        qsizetype e = pos;
        while (e < n && t[e] != u'\r' && t[e] != u'\n')
            ++e;
        Line line{static_cast<quint32>(pos), static_cast<quint32>(e), 0, LineKind::Text};
        qsizetype next = e;
        if (e < n) {
            if (t[e] == u'\r') {
                sawCr = true;
                next = (e + 1 < n && t[e + 1] == u'\n') ? e + 2 : e + 1;
            } else {
                sawLf = true;
                next = e + 1;
            }
        }
        qsizetype first = pos;
        while (first < e && isBlank(t[first]))
            ++first;
        if (first == e) {
            line.kind = LineKind::Blank;
        } else if (t[first] == u'[') {
            line.kind = LineKind::Header;
            qsizetype close = first + 1;
            while (close < e && t[close] != u']')
                ++close;
            line.eq = static_cast<quint32>(close);
            if (current >= 0)
                p->sections[current].endLine = static_cast<int>(p->lines.size());
            Section s;
            s.name = cutAtNul(trimBlanks(QStringView(t).mid(first + 1, close - first - 1))).toString();
            s.header = static_cast<int>(p->lines.size());
            s.endLine = -1;
            p->sections.append(s);
            current = static_cast<int>(p->sections.size() - 1);
        } else if (t[first] == u';') {
            line.kind = LineKind::Comment;
        } else {
            const qsizetype eq = QStringView(t).mid(first, e - first).indexOf(u'=');
            if (eq >= 0) {
                line.kind = LineKind::Key;
                line.eq = static_cast<quint32>(first + eq);
            }
        }
        p->lines.append(line);
        pos = next;
    }
    if (current >= 0)
        p->sections[current].endLine = static_cast<int>(p->lines.size());
    // The first section of a name is the one Windows searches.
    for (int i = static_cast<int>(p->sections.size()) - 1; i >= 0; --i)
        p->firstSection.insert(fold(p->sections[i].name), i);
    p->lfOnly = sawLf && !sawCr;
    return p;
}

QStringView keyName(const Parsed& p, const Line& l)
{
    return cutAtNul(trimBlanks(QStringView(p.text).mid(l.start, l.eq - l.start)));
}

QString keyValue(const Parsed& p, const Line& l)
{
    QStringView v = trimBlanks(QStringView(p.text).mid(l.eq + 1, l.contentEnd - l.eq - 1));
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return cutAtNul(v).toString();
}

const Section* findSection(const Parsed& p, const QString& name)
{
    const auto it = p.firstSection.constFind(fold(name));
    return it == p.firstSection.cend() ? nullptr : &p.sections[*it];
}

int findKey(const Parsed& p, const Section& s, const QString& key)
{
    for (int i = s.header + 1; i < s.endLine; ++i) {
        const Line& l = p.lines[i];
        if (l.kind == LineKind::Key && keyName(p, l).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// --- batch -----------------------------------------------------------------

struct BatchState
{
    QString file;                       // the resolved file the batch collects writes for
    std::shared_ptr<const Parsed> pending; // null while nothing was written
    bool active = false;
};

BatchState& batch()
{
    static BatchState b;
    return b;
}

struct SnapshotState
{
    QString path; // the path as the caller names it
    std::shared_ptr<const Parsed> parsed;
    bool active = false;
};

SnapshotState& snapshot()
{
    static SnapshotState s;
    return s;
}

// --- cache -----------------------------------------------------------------

struct Identity
{
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    qint64 mtimeSec = 0;
    qint64 mtimeNsec = 0;
    bool operator==(const Identity&) const = default;
};

struct CacheEntry
{
    Identity id;
    std::shared_ptr<const Parsed> parsed;
};

constexpr qsizetype kMaxCachedBytes = 32 * 1024 * 1024;
constexpr qsizetype kMaxCacheEntries = 16;

QHash<QString, CacheEntry>& cache()
{
    static QHash<QString, CacheEntry> c;
    return c;
}

bool statFile(const QString& path, Identity* id)
{
    struct stat st{};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    id->dev = st.st_dev;
    id->ino = st.st_ino;
    id->size = st.st_size;
    id->mtimeSec = st.st_mtim.tv_sec;
    id->mtimeNsec = st.st_mtim.tv_nsec;
    return true;
}

void remember(const QString& file, const Identity& id, const std::shared_ptr<const Parsed>& parsed)
{
    if (parsed->bytes.size() > kMaxCachedBytes)
        return;
    auto& c = cache();
    if (c.size() >= kMaxCacheEntries)
        c.clear();
    c.insert(file, CacheEntry{id, parsed});
}

// A file changed within the last moments may change again within the same
// tick of the file system's clock, with the same size: its identity would not
// tell the versions apart, so such a parse is not kept.
bool racy(const Identity& id)
{
    constexpr qint64 kWindowNs = 20'000'000;
    struct timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const qint64 age = (qint64(now.tv_sec) - id.mtimeSec) * 1'000'000'000 + (qint64(now.tv_nsec) - id.mtimeNsec);
    return age < kWindowNs;
}

// The file the path names: as written when it exists, else matched without
// regard to case one component at a time.
QString resolve(const QString& path, Identity* id, bool* exists)
{
    if (statFile(path, id)) {
        *exists = true;
        return path;
    }
    const QString r = QFileInfo(path).isAbsolute() ? paths::resolvePath(path)
                                                   : paths::resolveUnder(QStringLiteral("."), path);
    *exists = statFile(r, id);
    return r;
}

QString resolvedName(const QString& path)
{
    Identity id;
    bool exists = false;
    return resolve(path, &id, &exists);
}

// The parsed file, or null when the file is missing or cannot be read.
std::shared_ptr<const Parsed> loadFromDisk(const QString& path, QString* resolved);

std::shared_ptr<const Parsed> load(const QString& path, QString* resolved = nullptr)
{
    SnapshotState& snap = snapshot();
    if (!snap.active || resolved || path != snap.path)
        return loadFromDisk(path, resolved);
    if (!snap.parsed)
        snap.parsed = loadFromDisk(path, nullptr);
    return snap.parsed;
}

std::shared_ptr<const Parsed> loadFromDisk(const QString& path, QString* resolved)
{
    Identity id;
    bool exists = false;
    const QString file = resolve(path, &id, &exists);
    if (resolved)
        *resolved = file;
    if (const BatchState& b = batch(); b.active && b.pending && b.file == file)
        return b.pending;
    if (!exists)
        return nullptr;
    auto& c = cache();
    if (const auto it = c.constFind(file); it != c.cend() && it->id == id)
        return it->parsed;
    QByteArray bytes;
    if (!fileio::readAll(file, &bytes))
        return nullptr;
    // The file may have changed between stat and read; take the identity
    // again so a stale parse is never kept under a newer identity.
    Identity after;
    const bool stable = statFile(file, &after) && after == id && after.size == bytes.size();
    std::shared_ptr<const Parsed> parsed = parse(std::move(bytes));
    if (stable && !racy(id))
        remember(file, id, parsed);
    return parsed;
}

// --- writing ---------------------------------------------------------------

QByteArray encodeFor(const Parsed* p, QStringView s, bool* lossy)
{
    if (p && p->unitBytes == 2) {
        QByteArray out;
        out.reserve(s.size() * 2);
        for (QChar c : s) {
            out.append(static_cast<char>(c.unicode() & 0xFF));
            out.append(static_cast<char>(c.unicode() >> 8));
        }
        return out;
    }
    return cp1252::encode(s, lossy);
}

WriteResult failure(const QString& why) { return WriteResult{false, why}; }

WriteResult store(const QString& file, const QByteArray& bytes)
{
    snapshot().parsed.reset();
    if (BatchState& b = batch(); b.active && b.file == file) {
        b.pending = parse(bytes);
        return {};
    }
    cache().remove(file);
    const fileio::Result r = fileio::writeAtomically(file, bytes);
    if (!r)
        return failure(r.error);
    // What we just wrote is known: keep its parse under the new identity.
    if (Identity id; statFile(file, &id) && id.size == bytes.size())
        remember(file, id, parse(bytes));
    return {};
}

// Replaces units [from, to) of the parsed file with `insert` and writes it.
WriteResult splice(const QString& file, const Parsed& p, qsizetype from, qsizetype to, QStringView insert)
{
    bool lossy = false;
    const QByteArray ins = encodeFor(&p, insert, &lossy);
    if (lossy)
        return failure(QStringLiteral("%1: the text holds characters that Windows-1252 cannot store").arg(file));
    QByteArray out;
    out.reserve(p.bytes.size() + ins.size());
    out.append(p.bytes.constData(), p.byteOf(from));
    out.append(ins);
    out.append(p.bytes.constData() + p.byteOf(to), p.bytes.size() - p.byteOf(to));
    return store(file, out);
}

bool hasLineBreak(const QString& s) { return s.contains(u'\r') || s.contains(u'\n'); }

} // namespace

QString getString(const QString& section, const QString& key, const QString& defaultValue, Buffer buffer,
                  const QString& path)
{
    const int size = buffer.size;
    if (size <= 0)
        return {};
    const auto p = load(path);
    const auto cutValue = [size](QString v) {
        if (v.size() > size - 1)
            v.truncate(size - 1);
        return v;
    };
    const auto cutList = [size](const QStringList& names) {
        QString list;
        for (const QString& n : names) {
            list += n;
            list += QChar(0);
        }
        // The list and its closing NUL must fit; otherwise Windows cuts it
        // and reports size - 2 characters.
        if (list.size() + 1 > size)
            list.truncate(qMax(0, size - 2));
        return list;
    };

    if (section.isNull()) {
        QStringList names;
        if (p) {
            for (const Section& s : p->sections)
                names.append(s.name);
        }
        return cutList(names);
    }
    const QString sec = callerName(section);
    const Section* s = p ? findSection(*p, sec) : nullptr;
    if (key.isNull()) {
        QStringList names;
        if (s) {
            for (int i = s->header + 1; i < s->endLine; ++i) {
                if (p->lines[i].kind == LineKind::Key)
                    names.append(keyName(*p, p->lines[i]).toString());
            }
        }
        return cutList(names);
    }
    if (s) {
        const int k = findKey(*p, *s, callerName(key));
        if (k >= 0)
            return cutValue(keyValue(*p, p->lines[k]));
    }
    return cutValue(cutAtNul(defaultValue).toString());
}

WriteResult writeString(const QString& section, const QString& key, const QString& value, const QString& path)
{
    if (section.isNull())
        return failure(QStringLiteral("%1: no section given").arg(path));
    const QString sec = callerName(section);
    const QString k = key.isNull() ? QString() : callerName(key);
    if (hasLineBreak(sec) || hasLineBreak(k) || (!value.isNull() && hasLineBreak(value)))
        return failure(QStringLiteral("%1: a name or value holds a line break").arg(path));

    QString file;
    const auto p = load(path, &file);
    if (!p) {
        if (QFileInfo::exists(file))
            return failure(QStringLiteral("%1: the file cannot be read").arg(file));
        // Deleting from a missing file changes nothing and succeeds.
        if (k.isNull() || value.isNull())
            return {};
        if (!QFileInfo(QFileInfo(file).absolutePath()).isDir())
            return failure(QStringLiteral("%1: the folder does not exist").arg(file));
        bool lossy = false;
        const QByteArray bytes = cp1252::encode(QString(u'[' + sec + u"]\r\n" + k + u'=' + value + u"\r\n"), &lossy);
        if (lossy)
            return failure(QStringLiteral("%1: the text holds characters that Windows-1252 cannot store").arg(file));
        return store(file, bytes);
    }

    const QString nl = p->lfOnly ? QStringLiteral("\n") : QStringLiteral("\r\n");
    const Section* s = findSection(*p, sec);

    if (k.isNull()) { // delete the section: its header and key lines; comments and other lines stay
        if (!s)
            return {};
        QByteArray out;
        qsizetype keptFrom = 0;
        for (int i = s->header; i < s->endLine; ++i) {
            const LineKind kind = p->lines[i].kind;
            if (i != s->header && kind != LineKind::Key)
                continue;
            const qsizetype a = p->lines[i].start;
            out.append(p->bytes.constData() + p->byteOf(keptFrom), p->byteOf(a) - p->byteOf(keptFrom));
            keptFrom = p->lineEnd(i);
        }
        out.append(p->bytes.constData() + p->byteOf(keptFrom), p->bytes.size() - p->byteOf(keptFrom));
        return store(file, out);
    }

    if (value.isNull()) { // delete the key's line
        if (!s)
            return {};
        const int line = findKey(*p, *s, k);
        if (line < 0)
            return {};
        return splice(file, *p, p->lines[line].start, p->lineEnd(line), u"");
    }

    if (!s) { // new section at the end of the file
        QString add;
        const QString& t = p->text;
        if (!t.isEmpty() && t.back() != u'\n' && t.back() != u'\r')
            add += nl;
        add += u'[' + sec + u']' + nl + k + u'=' + value + nl;
        return splice(file, *p, t.size(), t.size(), add);
    }

    const int line = findKey(*p, *s, k);
    if (line >= 0) { // keep the line up to and including its '=', replace the rest
        const Line& l = p->lines[line];
        return splice(file, *p, l.eq + 1, l.contentEnd, value);
    }

    // New key: right after the section's last key line (after the header when
    // it has none), so it stays before trailing comments and blank lines.
    int anchor = s->header;
    for (int i = s->header + 1; i < s->endLine; ++i) {
        if (p->lines[i].kind == LineKind::Key)
            anchor = i;
    }
    const Line& a = p->lines[anchor];
    const qsizetype end = p->lineEnd(anchor);
    if (end > a.contentEnd)
        return splice(file, *p, end, end, QString(k + u'=' + value + nl));
    return splice(file, *p, end, end, QString(nl + k + u'=' + value));
}

QString callerName(const QString& s)
{
    qsizetype a = 0, b = s.size();
    while (a < b && s[a] == u' ')
        ++a;
    while (b > a && s[b - 1] == u' ')
        --b;
    return s.mid(a, b - a);
}

void clearCache() { cache().clear(); }

FileLines readLines(const QString& path)
{
    FileLines out;
    QString file;
    const auto p = load(path, &file);
    if (!p) {
        if (QFileInfo::exists(file))
            out.error = QStringLiteral("%1: the file cannot be read").arg(file);
        return out;
    }
    out.exists = true;
    out.newline = p->lfOnly ? QStringLiteral("\n") : QStringLiteral("\r\n");
    QHash<int, int> sectionAt; // header line -> section
    for (int s = 0; s < p->sections.size(); ++s)
        sectionAt.insert(p->sections[s].header, s);
    out.lines.reserve(p->lines.size());
    for (int i = 0; i < p->lines.size(); ++i) {
        const Line& l = p->lines[i];
        FileLine f;
        f.text = p->text.mid(l.start, l.contentEnd - l.start);
        f.end = p->text.mid(l.contentEnd, p->lineEnd(i) - l.contentEnd);
        switch (l.kind) {
        case LineKind::Blank:
            f.kind = FileLine::Kind::Blank;
            break;
        case LineKind::Comment:
            f.kind = FileLine::Kind::Comment;
            break;
        case LineKind::Header:
            f.kind = FileLine::Kind::Header;
            f.name = p->sections[sectionAt.value(i)].name;
            break;
        case LineKind::Key:
            f.kind = FileLine::Kind::Key;
            f.name = keyName(*p, l).toString();
            f.value = keyValue(*p, l);
            break;
        case LineKind::Text:
            f.kind = FileLine::Kind::Text;
            break;
        }
        out.lines.append(std::move(f));
    }
    return out;
}

WriteResult replaceText(const QString& path, const QString& text)
{
    QString file;
    const auto p = load(path, &file);
    if (!p) {
        return failure(QFileInfo::exists(file) ? QStringLiteral("%1: the file cannot be read").arg(file)
                                               : QStringLiteral("%1: the file does not exist").arg(file));
    }
    bool lossy = false;
    QByteArray out = p->bytes.left(p->bomBytes);
    out += encodeFor(p.get(), text, &lossy);
    if (lossy)
        return failure(QStringLiteral("%1: the text holds characters that Windows-1252 cannot store").arg(file));
    return store(file, out);
}

Snapshot::Snapshot(const QString& path)
{
    SnapshotState& s = snapshot();
    if (s.active)
        return;
    m_owner = true;
    s.active = true;
    s.path = path;
    s.parsed.reset();
}

Snapshot::~Snapshot()
{
    if (!m_owner)
        return;
    SnapshotState& s = snapshot();
    s.active = false;
    s.parsed.reset();
}

Batch::Batch(const QString& path)
{
    BatchState& b = batch();
    if (b.active)
        return;
    m_owner = true;
    b.active = true;
    b.file = resolvedName(path);
    b.pending.reset();
}

Batch::~Batch()
{
    if (!m_owner)
        return;
    BatchState& b = batch();
    b.active = false;
    b.pending.reset();
}

WriteResult Batch::commit()
{
    if (!m_owner)
        return failure(QStringLiteral("another batch of writes to a profile file is open"));
    m_owner = false;
    BatchState& b = batch();
    if (!b.active)
        return {};
    b.active = false;
    const auto pending = std::move(b.pending);
    b.pending.reset();
    if (!pending)
        return {};
    return store(b.file, pending->bytes);
}

} // namespace platform::profile
