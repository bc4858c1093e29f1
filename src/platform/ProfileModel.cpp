// Parsing a profile file into lines and sections, the look-ups the reads
// make, and writing a document out again.
#include "platform/ProfileModel.h"

#include "platform/Cp1252.h"

namespace platform::profile::detail {

namespace {

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

// Long sections get a hash of their key names; short ones are searched.
constexpr qsizetype kIndexedSection = 24;

} // namespace

QString fold(QStringView s) { return s.toString().toCaseFolded(); }

// Classifies the line [line.start, line.contentEnd) of the text; a header's
// name goes to *header.
void classify(const QString& t, Line& line, QString* header)
{
    const qsizetype e = line.contentEnd;
    qsizetype first = line.start;
    while (first < e && isBlank(t[first]))
        ++first;
    line.kind = LineKind::Text;
    line.eq = 0;
    if (first == e) {
        line.kind = LineKind::Blank;
    } else if (t[first] == u'[') {
        line.kind = LineKind::Header;
        qsizetype close = first + 1;
        while (close < e && t[close] != u']')
            ++close;
        line.eq = static_cast<quint32>(close);
        *header = cutAtNul(trimBlanks(QStringView(t).mid(first + 1, close - first - 1))).toString();
    } else if (t[first] == u';') {
        line.kind = LineKind::Comment;
    } else {
        const qsizetype eq = QStringView(t).mid(first, e - first).indexOf(u'=');
        if (eq >= 0) {
            line.kind = LineKind::Key;
            line.eq = static_cast<quint32>(first + eq);
        }
    }
}

void indexNames(Doc& d)
{
    d.byName.clear();
    d.byName.reserve(d.sections.size());
    for (int i = 0; i < d.sections.size(); ++i)
        d.byName[fold(d.sections[i].name)].append(i);
}

std::shared_ptr<Doc> parse(QByteArray bytes)
{
    auto d = std::make_shared<Doc>();
    const QByteArray b = std::move(bytes);
    if (b.size() >= 2 && static_cast<uchar>(b[0]) == 0xFF && static_cast<uchar>(b[1]) == 0xFE) {
        d->unitBytes = 2;
        d->bomBytes = 2;
        const qsizetype units = (b.size() - 2) / 2;
        d->text.resize(units);
        for (qsizetype i = 0; i < units; ++i) {
            const auto lo = static_cast<uchar>(b[2 + 2 * i]);
            const auto hi = static_cast<uchar>(b[3 + 2 * i]);
            d->text[i] = QChar(static_cast<char16_t>(lo | (hi << 8)));
        }
        if (2 + 2 * units < b.size())
            d->oddTail = b.mid(2 + 2 * units);
    } else {
        d->text = cp1252::decode(b);
    }
    d->fileUnits = d->text.size();

    const QString& t = d->text;
    const qsizetype n = t.size();
    const QChar* c = t.constData();
    bool sawCr = false, sawLf = false;
    QList<Line>* block = &d->preamble;
    qsizetype pos = 0;
    while (pos < n) {
        qsizetype e = pos;
        while (e < n && c[e] != u'\r' && c[e] != u'\n')
            ++e;
        qsizetype next = e;
        if (e < n) {
            if (c[e] == u'\r') {
                sawCr = true;
                next = (e + 1 < n && c[e + 1] == u'\n') ? e + 2 : e + 1;
            } else {
                sawLf = true;
                next = e + 1;
            }
        }
        Line line{static_cast<quint32>(pos), static_cast<quint32>(e), static_cast<quint32>(next), 0,
                  LineKind::Text};
        QString header;
        classify(t, line, &header);
        if (line.kind == LineKind::Header) {
            Section s;
            s.name = std::move(header);
            d->sections.append(std::move(s));
            block = &d->sections.last().lines;
        }
        block->append(line);
        pos = next;
    }
    indexNames(*d);
    d->lfOnly = sawLf && !sawCr;
    return d;
}

QStringView keyName(const Doc& d, const Line& l)
{
    return cutAtNul(trimBlanks(d.view(l.start, l.eq)));
}

namespace {

bool isQuoted(QStringView v)
{
    return v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front();
}

} // namespace

QString keyValue(const Doc& d, const Line& l)
{
    QStringView v = trimBlanks(d.view(l.eq + 1, l.contentEnd));
    if (isQuoted(v))
        v = v.mid(1, v.size() - 2);
    return cutAtNul(v).toString();
}

QChar keyValueQuote(const Doc& d, const Line& l)
{
    const QStringView v = trimBlanks(d.view(l.eq + 1, l.contentEnd));
    // A NUL inside cuts the value short: then the quotes are not its own.
    if (!isQuoted(v) || v.indexOf(QChar(0)) >= 0)
        return {};
    return v.front();
}

int findSection(const Doc& d, const QString& name, int occurrence)
{
    const auto it = d.byName.constFind(fold(name));
    if (it == d.byName.cend() || occurrence < 0 || occurrence >= it->size())
        return -1;
    return it->at(occurrence);
}

int findKey(const Doc& d, const Section& s, const QString& key)
{
    if (s.lines.size() > kIndexedSection) {
        if (!s.keyIndex) {
            auto index = std::make_shared<QHash<QString, int>>();
            // The first key of a name wins: walk from the end so it is inserted last.
            for (int i = static_cast<int>(s.lines.size()) - 1; i >= 1; --i) {
                if (s.lines[i].kind == LineKind::Key)
                    index->insert(fold(keyName(d, s.lines[i])), i);
            }
            s.keyIndex = std::move(index);
        }
        return s.keyIndex->value(fold(key), -1);
    }
    for (int i = 1; i < s.lines.size(); ++i) {
        const Line& l = s.lines[i];
        if (l.kind == LineKind::Key && keyName(d, l).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QByteArray encodeFor(const Doc* d, QStringView s, bool* lossy)
{
    if (d && d->unitBytes == 2) {
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

QByteArray bom(const Doc& d) { return d.bomBytes == 2 ? QByteArray("\xFF\xFE", 2) : QByteArray(); }

QByteArray serialize(const Doc& d)
{
    QByteArray out;
    out.reserve(d.bomBytes + d.text.size() * d.unitBytes + d.oddTail.size() + 16);
    out.append(bom(d));
    // Every line, read or written, in the file's encoding; lines that follow
    // each other in the text go in one piece.
    qsizetype runFrom = 0, runTo = 0;
    const auto flush = [&] {
        if (runTo > runFrom)
            out.append(encodeFor(&d, d.view(runFrom, runTo), nullptr));
        runFrom = runTo = 0;
    };
    forEachLine(d, [&](const Line& l) {
        if (runTo == runFrom || l.start != runTo) {
            flush();
            runFrom = l.start;
        }
        runTo = l.next;
    });
    flush();
    // A UTF-16 file with an odd byte at its end keeps it.
    out.append(d.oddTail);
    return out;
}

} // namespace platform::profile::detail
