#include "platform/WineRegistry.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

#include <string_view>

#include <sys/stat.h>

namespace platform::wine {

namespace {

constexpr QLatin1StringView kHeader("WINE REGISTRY Version 2");

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\f' || c == u'\v';
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The bytes Windows keeps for a string value: UTF-16LE with a terminating NUL.
QByteArray utf16leTerminated(QStringView text)
{
    QByteArray out;
    out.reserve((text.size() + 1) * 2);
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    out.append(2, '\0');
    return out;
}

// The control character of a one-letter escape (\a \b \e \f \n \r \t \v), else 0.
char16_t controlEscape(QChar e)
{
    constexpr std::u16string_view letters = u"abefnrtv";
    constexpr char16_t codes[] = {0x07, 0x08, 0x1B, 0x0C, 0x0A, 0x0D, 0x09, 0x0B};
    const auto at = letters.find(e.unicode());
    return at == std::u16string_view::npos ? 0 : codes[at];
}

// Reads a quoted text that starts at line[pos] (just after the opening
// delimiter) and ends at the first unescaped `close`. On success pos is just
// past the closing delimiter.
std::optional<QString> parseQuoted(QStringView line, qsizetype& pos, QChar close)
{
    QString out;
    qsizetype i = pos;
    while (i < line.size()) {
        const QChar c = line[i];
        if (c == close) {
            pos = i + 1;
            return out;
        }
        if (c != u'\\') {
            out.append(c);
            ++i;
            continue;
        }
        if (++i >= line.size())
            return std::nullopt; // a lone backslash at the end: the text is cut off
        const QChar e = line[i];
        if (const char16_t control = controlEscape(e)) {
            out.append(QChar(control));
            ++i;
        } else if (e == u'x') {
            ++i;
            char16_t v = 0;
            int n = 0;
            for (; n < 4 && i < line.size() && hexDigit(line[i]) >= 0; ++n, ++i)
                v = char16_t(v * 16 + hexDigit(line[i]));
            out.append(n == 0 ? QChar(u'x') : QChar(v));
        } else if (e >= u'0' && e <= u'7') {
            char16_t v = 0;
            for (int n = 0; n < 3 && i < line.size() && line[i] >= u'0' && line[i] <= u'7'; ++n, ++i)
                v = char16_t(v * 8 + (line[i].unicode() - u'0'));
            out.append(QChar(v));
        } else {
            out.append(e); // \\ \" \[ \] and any other character stand for themselves
            ++i;
        }
    }
    return std::nullopt;
}

// Hex bytes "01,ab,..." (a trailing comma allowed); nullopt on anything else.
std::optional<QByteArray> parseHexList(QStringView text)
{
    QByteArray out;
    const QList<QStringView> tokens = text.split(u',');
    for (qsizetype t = 0; t < tokens.size(); ++t) {
        const QStringView tok = tokens[t].trimmed();
        if (tok.isEmpty()) {
            if (t == tokens.size() - 1)
                break;
            return std::nullopt;
        }
        if (tok.size() > 2)
            return std::nullopt;
        int v = 0;
        for (QChar c : tok) {
            const int d = hexDigit(c);
            if (d < 0)
                return std::nullopt;
            v = v * 16 + d;
        }
        out.append(char(v));
    }
    return out;
}

// A line that can carry on a hex list: hex digits, commas and blanks, maybe
// ending in '\'. Anything else means the list was cut off and the line is the
// next entry of the file.
bool looksLikeHexContinuation(QStringView line)
{
    QStringView s = line.trimmed();
    if (s.endsWith(u'\\'))
        s.chop(1);
    for (QChar c : s) {
        if (hexDigit(c) < 0 && c != u',' && !isBlank(c))
            return false;
    }
    return true;
}

class Parser
{
public:
    // `lastLineOpen`: the file does not end with a line end, so its last line
    // was cut off (Wine ends every line).
    Parser(const QList<QStringView>& lines, bool lastLineOpen) : m_lines(lines), m_lastLineOpen(lastLineOpen)
    {
    }

    // The value on line m_pos (which starts at `start`); consumes continuation
    // lines. nullopt when the value is damaged.
    std::optional<RegValue> value(qsizetype start)
    {
        const QStringView line = m_lines[m_pos];
        qsizetype pos = start;
        RegValue v;
        if (line[pos] == u'@') {
            ++pos;
        } else {
            ++pos; // the opening quote
            auto name = parseQuoted(line, pos, u'"');
            if (!name)
                return std::nullopt;
            v.name = *name;
        }
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        if (pos >= line.size() || line[pos] != u'=')
            return std::nullopt;
        ++pos;
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        const QStringView rest = line.mid(pos);

        if (rest.startsWith(u'"'))
            return stringValue(v, line, pos + 1, regtype::Sz);
        if (rest.startsWith(u"str:\""))
            return stringValue(v, line, pos + 5, regtype::Sz);
        if (rest.startsWith(u"str(")) {
            const qsizetype close = rest.indexOf(u"):\"");
            if (close < 0)
                return std::nullopt;
            bool ok = false;
            const uint type = rest.mid(4, close - 4).toUInt(&ok, 16);
            if (!ok)
                return std::nullopt;
            return stringValue(v, line, pos + close + 3, type);
        }
        if (rest.startsWith(u"dword:")) {
            const QStringView digits = rest.mid(6).trimmed();
            if (digits.isEmpty() || digits.size() > 8)
                return std::nullopt;
            quint32 n = 0;
            for (QChar c : digits) {
                const int d = hexDigit(c);
                if (d < 0)
                    return std::nullopt;
                n = n * 16 + quint32(d);
            }
            if (cutOff())
                return std::nullopt;
            v.type = regtype::Dword;
            for (int b = 0; b < 4; ++b)
                v.data.append(char((n >> (8 * b)) & 0xFF));
            return v;
        }
        if (rest.startsWith(u"hex:")) {
            v.type = regtype::Binary;
            return hexValue(v, rest.mid(4));
        }
        if (rest.startsWith(u"hex(")) {
            const qsizetype close = rest.indexOf(u"):");
            if (close < 0)
                return std::nullopt;
            bool ok = false;
            v.type = rest.mid(4, close - 4).toUInt(&ok, 16);
            if (!ok)
                return std::nullopt;
            return hexValue(v, rest.mid(close + 2));
        }
        return std::nullopt;
    }

    qsizetype m_pos = 0;

private:
    std::optional<RegValue> stringValue(RegValue v, QStringView line, qsizetype pos, quint32 type)
    {
        auto text = parseQuoted(line, pos, u'"');
        if (!text)
            return std::nullopt;
        v.type = type;
        v.data = utf16leTerminated(*text);
        return v;
    }

    std::optional<RegValue> hexValue(RegValue v, QStringView first)
    {
        QString all;
        QStringView part = first.trimmed();
        while (part.endsWith(u'\\')) {
            all += part.chopped(1);
            if (m_pos + 1 >= m_lines.size() || !looksLikeHexContinuation(m_lines[m_pos + 1]))
                return std::nullopt;
            ++m_pos;
            part = m_lines[m_pos].trimmed();
        }
        all += part;
        auto bytes = parseHexList(all);
        if (!bytes || cutOff())
            return std::nullopt;
        v.data = *bytes;
        return v;
    }

    // A number or hex list on a cut-off last line may have lost digits
    // without showing it; a string would miss its closing quote instead.
    bool cutOff() const { return m_lastLineOpen && m_pos == m_lines.size() - 1; }

    const QList<QStringView>& m_lines;
    bool m_lastLineOpen;
};

} // namespace

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

qsizetype WineRegistry::keyFor(const QString& path)
{
    const QString id = registryKeyId(path);
    const auto it = m_index.constFind(id);
    if (it != m_index.cend())
        return *it; // a key written twice: its values are merged
    m_index.insert(id, m_keys.size());
    RegKey k;
    k.m_path = path.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
    m_keys.append(std::move(k));
    return m_keys.size() - 1;
}

WineRegistry WineRegistry::parse(QByteArrayView bytes)
{
    WineRegistry reg;
    // Wine writes UTF-8; escapes are plain ASCII, so decoding first is safe.
    const QString text = QString::fromUtf8(bytes);
    QList<QStringView> lines = QStringView(text).split(u'\n');
    const bool lastLineOpen = !text.endsWith(u'\n');
    if (!lastLineOpen)
        lines.removeLast(); // the empty text after the final line end is no line
    if (lines.isEmpty() || lines.first().trimmed() != kHeader)
        return reg;
    reg.m_valid = true;
    reg.m_keys.reserve(bytes.count("\n["));
    reg.m_index.reserve(reg.m_keys.capacity());

    Parser parser(lines, lastLineOpen);
    qsizetype current = -1; // key the value lines belong to; -1 none or damaged
    bool seenKey = false;
    for (parser.m_pos = 1; parser.m_pos < lines.size(); ++parser.m_pos) {
        const QStringView line = lines[parser.m_pos];
        qsizetype start = 0;
        while (start < line.size() && isBlank(line[start]))
            ++start;
        if (start >= line.size())
            continue;
        const QChar first = line[start];
        if (first == u';')
            continue;
        if (first == u'#') {
            // Options: "#arch=" belongs to the file's head; "#time=", "#class=",
            // "#link" to the key above, and none of them matters here.
            const QStringView opt = line.mid(start).trimmed();
            if (!seenKey && opt.startsWith(u"#arch="))
                reg.m_win64 = opt.mid(6) == u"win64";
            continue;
        }
        if (first == u'[') {
            seenKey = true;
            qsizetype pos = start + 1;
            const auto path = parseQuoted(line, pos, u']');
            if (!path) {
                current = -1;
                continue;
            }
            current = reg.keyFor(*path);
            continue;
        }
        if ((first == u'"' || first == u'@') && current >= 0) {
            if (auto v = parser.value(start))
                reg.m_keys[current].setValue(std::move(*v));
        }
        // Anything else is damage: skip the line.
    }
    return reg;
}

WineRegistry WineRegistry::load(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return parse(f.readAll());
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
    auto reg = std::make_shared<const WineRegistry>(parse(f.readAll()));
    if (haveStat) {
        const QMutexLocker lock(&mutex);
        cache.insert(path, CacheEntry{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim, reg});
    }
    return reg;
}

const RegKey* WineRegistry::key(QStringView path) const
{
    const auto it = m_index.constFind(registryKeyId(path));
    return it == m_index.cend() ? nullptr : &m_keys[*it];
}

QStringList WineRegistry::childKeyNames(QStringView path) const
{
    const QString parent = registryKeyId(path);
    const qsizetype depth = parent.isEmpty() ? 0 : parent.count(u'\\') + 1;
    QStringList names;
    QSet<QString> seen;
    for (const RegKey& k : m_keys) {
        const QString id = registryKeyId(k.path());
        if (!parent.isEmpty() && !id.startsWith(parent + u'\\'))
            continue;
        const QStringList parts = k.path().split(u'\\');
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
