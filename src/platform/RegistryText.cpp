#include "platform/RegistryText.h"

namespace platform::wine::regtext {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\f' || c == u'\v';
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
        const std::optional<quint32> v = tok.size() > 2 ? std::nullopt : hexNumber(tok);
        if (!v)
            return std::nullopt;
        out.append(char(*v));
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
            const std::optional<quint32> number =
                digits.isEmpty() || digits.size() > 8 ? std::nullopt : hexNumber(digits);
            if (!number)
                return std::nullopt;
            const quint32 n = *number;
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

std::optional<QString> parseQuoted(QStringView line, qsizetype& pos, QChar close)
{
    QString out;
    if (!readQuoted(line, pos, close.unicode(), [&out](char16_t c) { out.append(QChar(c)); }))
        return std::nullopt;
    return out;
}
// Reads the values of one key from its lines (the text below its header up
// to the next header). `lastLineOpen`: the lines end the file and the file
// has no final line end.
void readValues(QStringView text, bool lastLineOpen, const std::function<void(RegValue)>& keep)
{
    QList<QStringView> lines = text.split(u'\n');
    if (!lastLineOpen)
        lines.removeLast(); // the empty text after the final line end is no line
    Parser parser(lines, lastLineOpen);
    for (parser.m_pos = 0; parser.m_pos < lines.size(); ++parser.m_pos) {
        const QStringView line = lines[parser.m_pos];
        qsizetype start = 0;
        while (start < line.size() && isBlank(line[start]))
            ++start;
        // Comments and the options of the key ("#time=", "#class=", "#link")
        // do not matter here; anything but a value line is damage: skip it.
        if (start < line.size() && (line[start] == u'"' || line[start] == u'@')) {
            if (auto v = parser.value(start))
                keep(std::move(*v));
        }
    }
}

// The key path a header line names (the line starts with its '['), or nullopt
// when the path is damaged.
std::optional<QString> headerPath(QByteArrayView line)
{
    const QString text = QString::fromUtf8(line);
    qsizetype pos = 1;
    return parseQuoted(text, pos, u']');
}

} // namespace platform::wine::regtext
