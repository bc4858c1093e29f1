// The edits a write makes to a parsed document, as Windows' profile
// functions make them: a replaced value keeps its line's bytes up to the '=',
// a new key goes after the section's last key, a new section at the end. Each
// edit touches its own lines only, so many writes in one batch cost what
// their lines cost, not a new parse each.
#include "platform/ProfileModel.h"

#include "platform/Cp1252.h"

namespace platform::profile::detail {

namespace {

const QString kLossy = QStringLiteral("the text holds characters that Windows-1252 cannot store");

bool encodable(const Doc& d, QStringView s) { return d.unitBytes == 2 || cp1252::canEncode(s); }

// Adds a line's text after the document's text and returns the line as a
// read classifies it.
Line appendLine(Doc& d, const QString& content, const QString& end, QString* header = nullptr)
{
    Line l{};
    l.start = static_cast<quint32>(d.text.size());
    d.text.append(content);
    l.contentEnd = static_cast<quint32>(d.text.size());
    d.text.append(end);
    l.next = static_cast<quint32>(d.text.size());
    QString name;
    classify(d.text, l, header ? header : &name);
    return l;
}

// Gives a line without a line end (only a last line can lack one) the
// file's line end.
void endLine(Doc& d, Line& l)
{
    if (l.next > l.contentEnd)
        return;
    const LineKind kind = l.kind;
    const quint32 eqOffset = l.eq - l.start;
    const QString content = d.view(l.start, l.contentEnd).toString();
    l = appendLine(d, content, d.newline());
    l.kind = kind;
    l.eq = l.start + eqOffset;
}

Line* lastLine(Doc& d)
{
    if (!d.sections.isEmpty())
        return &d.sections.last().lines.last();
    return d.preamble.isEmpty() ? nullptr : &d.preamble.last();
}

// A written line that a read would not take for what it was meant to be (a
// key name that begins with '[' or ';'): the document is parsed again from
// its bytes, so it is exactly what the next read of the file sees.
void reparse(Doc& d)
{
    std::shared_ptr<Doc> fresh = parse(serialize(d));
    d = std::move(*fresh);
}

} // namespace

bool setValue(Doc& d, int section, const QString& key, const QString& value, QString* error)
{
    Section& s = d.sections[section];
    const int k = findKey(d, s, key);
    if (k >= 0) { // keep the line up to and including its '=', replace the rest
        if (!encodable(d, value)) {
            *error = kLossy;
            return false;
        }
        const Line old = s.lines[k];
        QString end = d.view(old.contentEnd, old.next).toString();
        if (end.isEmpty()) // a last line without a line end gets the file's
            end = d.newline();
        s.lines[k] = appendLine(d, d.view(old.start, old.eq + 1) + value, end);
        return true; // same key name at the same place: the key index stays right
    }

    if (!encodable(d, QString(key + value))) {
        *error = kLossy;
        return false;
    }
    // New key: right after the section's last key line (after the header when
    // it has none), so it stays before trailing comments and blank lines.
    int anchor = 0;
    for (int i = 1; i < s.lines.size(); ++i) {
        if (s.lines[i].kind == LineKind::Key)
            anchor = i;
    }
    Line& a = s.lines[anchor];
    Line added{};
    if (a.next > a.contentEnd) {
        added = appendLine(d, key + u'=' + value, d.newline());
    } else {
        endLine(d, a);
        added = appendLine(d, key + u'=' + value, QString());
    }
    s.lines.insert(anchor + 1, added);
    s.keyIndex.reset();
    if (added.kind != LineKind::Key)
        reparse(d);
    return true;
}

void deleteKey(Doc& d, int section, const QString& key)
{
    Section& s = d.sections[section];
    const int k = findKey(d, s, key);
    if (k < 0)
        return;
    s.lines.remove(k);
    s.keyIndex.reset();
}

void deleteSection(Doc& d, int section)
{
    // Its header and key lines go; comments and other lines stay where they
    // are, which makes them lines of the section before.
    const Section gone = d.sections.takeAt(section);
    QList<Line>& before = section > 0 ? d.sections[section - 1].lines : d.preamble;
    for (int i = 1; i < gone.lines.size(); ++i) {
        if (gone.lines[i].kind != LineKind::Key)
            before.append(gone.lines[i]);
    }
    if (section > 0)
        d.sections[section - 1].keyIndex.reset();
    indexNames(d);
}

bool addSection(Doc& d, const QString& name, const QString& key, const QString& value, QString* error)
{
    if (!encodable(d, QString(name + key + value))) {
        *error = kLossy;
        return false;
    }
    if (Line* last = lastLine(d))
        endLine(d, *last);
    Section s;
    const Line header = appendLine(d, u'[' + name + u']', d.newline(), &s.name);
    const Line line = appendLine(d, key + u'=' + value, d.newline());
    s.lines = {header, line};
    d.byName[fold(s.name)].append(static_cast<int>(d.sections.size()));
    d.sections.append(std::move(s));
    if (line.kind != LineKind::Key)
        reparse(d);
    return true;
}

} // namespace platform::profile::detail
