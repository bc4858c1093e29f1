#include "editing/SectionOps.h"

#include <QSet>

#include <functional>

namespace SectionOps {

namespace {

using platform::profile::FileLine;
using Kind = platform::profile::FileLine::Kind;

bool sameKey(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The lines from `from` up to the next header (or the end).
int sectionEnd(const Lines& lines, int from)
{
    int i = from + 1;
    while (i < lines.size() && lines[i].kind != Kind::Header)
        ++i;
    return i;
}

// Hands each entry section (its lines [from, end)) to `entry` and every line
// outside them to `other`, in file order.
void walkEntrySections(const Lines& lines, const std::function<void(int, int)>& entry,
                       const std::function<void(const FileLine&)>& other)
{
    int i = 0;
    while (i < lines.size()) {
        if (!isEntryHeader(lines[i])) {
            other(lines[i++]);
            continue;
        }
        const int end = sectionEnd(lines, i);
        entry(i, end);
        i = end;
    }
}

// Copies the lines, letting `rewrite` put each entry section (its lines
// [from, end)) into the copy in its own way; other lines stay as they are.
Lines rewriteEntrySections(const Lines& lines, const std::function<void(Lines&, int, int)>& rewrite)
{
    Lines out;
    out.reserve(lines.size());
    walkEntrySections(
        lines, [&](int from, int end) { rewrite(out, from, end); },
        [&](const FileLine& l) { out.append(l); });
    return out;
}

// The names of all section headers, in file order.
QStringList headerNames(const Lines& lines)
{
    QStringList names;
    for (const FileLine& l : lines) {
        if (l.kind == Kind::Header)
            names.append(l.name);
    }
    return names;
}

FileLine keyLine(const QString& key, const QString& value, const QString& end)
{
    FileLine l;
    l.kind = Kind::Key;
    l.name = key;
    l.value = value;
    l.text = key + u'=' + value;
    l.end = end;
    return l;
}

// One entry section with its keys sorted: the header, the new key lines, then
// the section's other lines in their order (where the keys' deletion and
// re-adding leaves them).
void appendSorted(Lines& out, const Lines& lines, int header, int end, const QString& newline)
{
    QList<QStringList> table;
    Lines rest;
    for (int i = header + 1; i < end; ++i) {
        if (lines[i].kind != Kind::Key) {
            rest.append(lines[i]);
            continue;
        }
        // A read of the key finds its first line in the section.
        QString value = valueText(lines[i]);
        for (int j = header + 1; j < i; ++j) {
            if (lines[j].kind == Kind::Key && sameKey(lines[j].name, lines[i].name)) {
                value = valueText(lines[j]);
                break;
            }
        }
        table.append({lines[i].name.toLower(), value});
    }
    if (table.isEmpty()) {
        for (int i = header; i < end; ++i)
            out.append(lines[i]);
        return;
    }

    SortArray(table, 0);
    Lines keys;
    for (const KeyWrite& w : sortedKeyWrites(table)) {
        // A second write of a key replaces the value of the line the first made.
        bool replaced = false;
        for (FileLine& k : keys) {
            if (sameKey(k.name, w.key)) {
                k = keyLine(k.name, w.value, newline);
                replaced = true;
                break;
            }
        }
        if (!replaced)
            keys.append(keyLine(w.key, w.value, newline));
    }

    FileLine head = lines[header];
    // A header on the file's last line gets a line end before the first key;
    // the last key then ends the file as the header did.
    if (head.end.isEmpty() && !keys.isEmpty()) {
        head.end = newline;
        keys.last().end.clear();
    }
    out.append(head);
    out.append(keys);
    out.append(rest);
}

Rewrite readFailure(const QString& file, const platform::profile::FileLines& read)
{
    Rewrite r;
    r.ok = false;
    r.file = file;
    r.error = read.error.isEmpty() ? QStringLiteral("the file does not exist") : read.error;
    return r;
}

Rewrite planned(const QString& file, const Lines& before, const Lines& after)
{
    Rewrite r;
    r.file = file;
    r.text = joinLines(after);
    r.changed = r.text != joinLines(before);
    return r;
}

} // namespace

bool isEntryHeader(const platform::profile::FileLine& line)
{
    return line.kind == Kind::Header && AircraftCfg::isEntrySection(line.name);
}

QList<AircraftCfg::EntryRef> entries(const Lines& lines)
{
    return AircraftCfg::entryRefs(headerNames(lines));
}

QStringList entryKeyNames(const Lines& lines)
{
    QStringList names;
    walkEntrySections(
        lines,
        [&](int from, int end) {
            for (int i = from + 1; i < end; ++i) {
                if (lines[i].kind == Kind::Key)
                    names.append(lines[i].name);
            }
        },
        [](const FileLine&) {});
    return names;
}

Lines deleteEntries(const Lines& lines, const QList<int>& positions)
{
    // The doomed entries as places among all the headers.
    const QList<AircraftCfg::EntryRef> all = entries(lines);
    QSet<int> doomed;
    for (int p : positions) {
        if (p >= 0 && p < all.size())
            doomed.insert(all[p].sectionIndex);
    }
    Lines out;
    out.reserve(lines.size());
    int header = -1;
    bool dropping = false;
    for (const FileLine& l : lines) {
        if (l.kind == Kind::Header)
            dropping = doomed.contains(++header);
        if (dropping && (l.kind == Kind::Header || l.kind == Kind::Key))
            continue;
        out.append(l);
    }
    return out;
}

Lines renumberEntries(const Lines& lines)
{
    Lines out = lines;
    int n = 0;
    for (FileLine& l : out) {
        if (!isEntryHeader(l))
            continue;
        l.name = QStringLiteral("fltsim.%1").arg(n++);
        l.text = u'[' + l.name + u']';
    }
    return out;
}

void SortArray(QList<QStringList>& table, int column)
{
    const qsizetype rows = table.size();
    for (qsizetype gap = rows / 2; gap >= 1; gap /= 2) {
        bool swapped = true;
        while (swapped) {
            swapped = false;
            for (qsizetype i = 0; i + gap < rows; ++i) {
                if (table[i].value(column).compare(table[i + gap].value(column)) > 0) {
                    table.swapItemsAt(i, i + gap);
                    swapped = true;
                }
            }
        }
    }
}

QList<KeyWrite> sortedKeyWrites(QList<QStringList> table)
{
    static const QString done = QStringLiteral("$$$");
    QList<KeyWrite> writes;
    const auto pass = [&](const QString& key, bool emptyAsBlank) {
        for (QStringList& row : table) {
            if (row.value(0) != key)
                continue;
            const QString value = row.value(1);
            writes.append({key, emptyAsBlank && value.isEmpty() ? QStringLiteral(" ") : value});
            row[0] = done;
        }
    };
    pass(QStringLiteral("title"), false);
    pass(QStringLiteral("model"), true);
    pass(QStringLiteral("sim"), true);
    pass(QStringLiteral("texture"), true);
    for (const QStringList& row : table) {
        const QString key = row.value(0);
        if (key != done && !key.isEmpty())
            writes.append({key, row.value(1)});
    }
    return writes;
}

Lines sortEntryKeys(const Lines& lines, const QString& newline)
{
    return rewriteEntrySections(lines, [&](Lines& out, int from, int end) {
        appendSorted(out, lines, from, end, newline);
    });
}

Lines removeKeys(const Lines& lines, const QStringList& keys, int* deletions)
{
    QStringList wanted;
    for (const QString& k : keys)
        wanted.append(platform::profile::callerName(k));
    int count = 0;
    const Lines out = rewriteEntrySections(lines, [&](Lines& kept, int from, int end) {
        QList<bool> gone(end - from, false);
        for (const QString& key : wanted) {
            ++count;
            for (int j = from + 1; j < end; ++j) {
                if (!gone[j - from] && lines[j].kind == Kind::Key && sameKey(lines[j].name, key)) {
                    gone[j - from] = true;
                    break;
                }
            }
        }
        for (int j = from; j < end; ++j) {
            if (!gone[j - from])
                kept.append(lines[j]);
        }
    });
    if (deletions)
        *deletions = count;
    return out;
}

QString valueText(const platform::profile::FileLine& line)
{
    if (line.kind != Kind::Key || line.quote.isNull())
        return line.value;
    return line.quote + line.value + line.quote;
}

QString joinLines(const Lines& lines)
{
    QString text;
    for (const FileLine& l : lines) {
        text += l.text;
        text += l.end;
    }
    return text;
}

const QString kChangedSinceLoad = QStringLiteral(
    "The file has been changed since the folder was loaded; please check the entries and try again.");

Rewrite planRenumber(const QString& cfgPath, const QList<EntryRef>& drop)
{
    const platform::profile::FileLines read = platform::profile::readLines(cfgPath);
    if (!read.exists)
        return readFailure(cfgPath, read);
    // The grid was filled from the file when the folder was loaded; a file
    // changed since then could put another entry at a row's position.
    const QList<AircraftCfg::EntryRef> present = entries(read.lines);
    QList<int> positions;
    for (const EntryRef& ref : drop) {
        if (ref.position < 0 || ref.position >= present.size() ||
            AircraftCfg::rowText(present[ref.position].section) != ref.rowText) {
            Rewrite r;
            r.ok = false;
            r.file = cfgPath;
            r.error = kChangedSinceLoad;
            return r;
        }
        positions.append(ref.position);
    }
    return planned(cfgPath, read.lines, renumberEntries(deleteEntries(read.lines, positions)));
}

Rewrite planSortKeys(const QString& cfgPath)
{
    const platform::profile::FileLines read = platform::profile::readLines(cfgPath);
    if (!read.exists)
        return readFailure(cfgPath, read);
    return planned(cfgPath, read.lines, sortEntryKeys(read.lines, read.newline));
}

Rewrite planRemoveKeys(const QString& cfgPath, const QStringList& keys)
{
    const platform::profile::FileLines read = platform::profile::readLines(cfgPath);
    if (!read.exists)
        return readFailure(cfgPath, read);
    int deletions = 0;
    const Lines after = removeKeys(read.lines, keys, &deletions);
    Rewrite r = planned(cfgPath, read.lines, after);
    r.deletions = deletions;
    return r;
}

platform::profile::WriteResult apply(const Rewrite& plan)
{
    if (!plan.ok)
        return {false, plan.error};
    if (!plan.changed)
        return {};
    return platform::profile::replaceText(plan.file, plan.text);
}

QString gridMismatch(const QString& cfgPath, const QStringList& rowTexts)
{
    const platform::profile::FileLines read = platform::profile::readLines(cfgPath);
    if (!read.exists)
        return read.error.isEmpty() ? QStringLiteral("The file does not exist any more.") : read.error;
    const QList<AircraftCfg::EntryRef> present = entries(read.lines);
    bool same = present.size() == rowTexts.size();
    for (qsizetype i = 0; same && i < present.size(); ++i)
        same = AircraftCfg::rowText(present[i].section) == rowTexts[i];
    return same ? QString() : kChangedSinceLoad;
}

} // namespace SectionOps
