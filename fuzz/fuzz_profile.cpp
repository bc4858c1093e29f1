// Feeds arbitrary bytes to the profile engine as the content of a file. It
// checks every read against the lines of the file (section list, key lists,
// values, lists cut to a buffer), then makes one write (replace a value,
// delete a key, add a key, add a section or delete a section; the input
// picks which): afterwards the file must hold exactly the old bytes with that
// one line replaced, added or removed, every other line byte for byte. Or it
// makes three writes one by one and again gathered in a batch: both must
// give the same bytes.
#include "FuzzSupport.h"

#include "platform/Cp1252.h"
#include "platform/ProfileEngine.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace profile = platform::profile;
using fuzz::check;
using profile::FileLine;

namespace {

const QString kValue = QStringLiteral("fq");
const QString kNewKey = QStringLiteral("FqNewKey");
const QString kNewSection = QStringLiteral("FqNewSection");
constexpr profile::Buffer kWide{1 << 20};

QString nonNull(const QString& s)
{
    return s.isNull() ? QStringLiteral("") : s;
}
bool sameName(const QString& a, const QString& b)
{
    return a.toCaseFolded() == b.toCaseFolded();
}
// A name a caller can pass as it is: callers' names lose their blanks, and a
// name read from the file has none at its ends unless a NUL cut it short.
bool callable(const QString& name)
{
    return profile::callerName(name) == name;
}

// The file as readLines gives it, with each line's place in the bytes.
struct Layout
{
    QByteArray bytes;
    profile::FileLines file;
    QList<qsizetype> at; // where each line starts; at.last(): where the lines end
    bool utf16 = false;

    int count() const { return int(file.lines.size()); }
    const FileLine& operator[](int i) const { return file.lines[i]; }

    QByteArray encode(const QString& text) const
    {
        if (!utf16)
            return platform::cp1252::encode(text);
        QByteArray out;
        for (QChar c : text) {
            out.append(char(c.unicode() & 0xFF));
            out.append(char(c.unicode() >> 8));
        }
        return out;
    }
    QByteArray line(int i) const { return bytes.mid(at[i], at[i + 1] - at[i]); }
    QByteArray before(int i) const { return bytes.left(at[i]); } // a UTF-16 file's mark included
    QByteArray from(int i) const { return bytes.mid(at[i]); }    // an odd last byte included
    QByteArray body() const { return bytes.left(at.last()); }
    QByteArray tail() const { return bytes.mid(at.last()); }

    // The header line of the first section of the name; -1 when none.
    int section(const QString& name) const
    {
        for (int i = 0; i < count(); ++i) {
            if (file.lines[i].kind == FileLine::Kind::Header && sameName(file.lines[i].name, name))
                return i;
        }
        return -1;
    }
    // The line after the section's last one.
    int sectionEnd(int header) const
    {
        int e = header + 1;
        while (e < count() && file.lines[e].kind != FileLine::Kind::Header)
            ++e;
        return e;
    }
    // The first key line of the name in the section; -1 when none.
    int key(int header, const QString& name) const
    {
        for (int i = header + 1, e = sectionEnd(header); i < e; ++i) {
            if (file.lines[i].kind == FileLine::Kind::Key && sameName(file.lines[i].name, name))
                return i;
        }
        return -1;
    }
};

void putBack(const QString& path, QByteArrayView bytes)
{
    fuzz::put(path, bytes);
    profile::clearCache(); // the scratch file is rewritten faster than its time stamps tick
}

Layout layoutOf(const QString& path)
{
    Layout l;
    l.bytes = fuzz::contents(path);
    l.file = profile::readLines(path);
    check(l.file.exists, "readLines finds no file");
    l.utf16 = l.bytes.startsWith("\xFF\xFE");
    qsizetype pos = l.utf16 ? 2 : 0;
    for (int i = 0; i < l.count(); ++i) {
        const FileLine& f = l[i];
        check(!f.text.contains(u'\r') && !f.text.contains(u'\n'), "a line holds a line break");
        check(f.end == u"\r\n" || f.end == u"\n" || f.end == u"\r" || (f.end.isEmpty() && i == l.count() - 1),
              "a line end is not CR LF, LF or CR");
        const QByteArray b = l.encode(f.text + f.end);
        check(l.bytes.mid(pos, b.size()) == b, "a line is not the file's bytes");
        l.at.append(pos);
        pos += b.size();
    }
    l.at.append(pos);
    check(l.bytes.size() - pos == (l.utf16 ? (l.bytes.size() - 2) % 2 : 0),
          "the lines do not cover the file");
    return l;
}

// A list as the Windows calls fill a buffer: each name followed by a NUL;
// cut to size - 2 characters when the list and its closing NUL do not fit.
QString windowsList(const QStringList& names, int size)
{
    QString list;
    for (const QString& n : names)
        list += n + QChar(0);
    return list.size() + 1 <= size ? list : list.left(qMax(0, size - 2));
}

void checkReads(const QString& path, const Layout& l)
{
    // One parse for all the reads, as a folder load makes them: a file
    // written moments ago is otherwise parsed again by every read.
    const profile::Snapshot snapshot(path);
    QStringList headers;
    QHash<QString, int> seen; // folded section name -> sections of it so far
    for (int h = 0; h < l.count(); ++h) {
        if (l[h].kind != FileLine::Kind::Header)
            continue;
        const QString name = l[h].name;
        headers.append(name);
        const int occurrence = seen[name.toCaseFolded()]++;
        if (headers.size() > 16 || !callable(name))
            continue;

        QStringList keys;
        QHash<QString, QString> firstValue; // folded key name -> its first key's value
        for (int i = h + 1, e = l.sectionEnd(h); i < e; ++i) {
            if (l[i].kind == FileLine::Kind::Key) {
                keys.append(l[i].name);
                if (!firstValue.contains(l[i].name.toCaseFolded()))
                    firstValue.insert(l[i].name.toCaseFolded(), l[i].value);
            }
        }
        const auto listed = profile::sectionKeys(name, kWide, path, occurrence);
        check(listed.size() == keys.size(), "sectionKeys misses a key line");
        for (int k = 0; k < keys.size(); ++k) {
            const QString& key = keys[k];
            const QString value = firstValue.value(key.toCaseFolded()); // the first key of a name wins
            check(listed[k].first == key, "sectionKeys names a key as the file does not");
            check(listed[k].second == value, "sectionKeys reads a value the file does not hold");
            if (k >= 64 || !callable(key))
                continue;
            check(profile::getString(name, key, QString(), kWide, path, occurrence) == value,
                  "getString reads a value the file does not hold");
            check(profile::getString(name, key, QString(), {3}, path, occurrence) == value.left(2),
                  "getString does not cut a value to its buffer");
        }
        for (int size : {1, 2, 7, 64}) {
            check(profile::getString(name, QString(), QString(), {size}, path, occurrence) ==
                      windowsList(keys, size),
                  "getString lists a section's keys wrongly");
        }
        if (l.key(h, kNewKey) < 0) {
            check(profile::getString(name, kNewKey, QStringLiteral("dflt"), kWide, path, occurrence) ==
                      u"dflt",
                  "a missing key does not read as the default");
        }
    }
    check(profile::sectionNames(path) == headers, "sectionNames misses a section");
    for (int size : {1, 2, 7, 64}) {
        check(profile::getString(QString(), QString(), QString(), {size}, path) == windowsList(headers, size),
              "getString lists the sections wrongly");
    }
}

// Makes one write on the file and compares the file with what the write
// must leave.
template <typename Write>
void expectWrite(const QString& path, Write&& write, const QByteArray& expected, const char* what)
{
    check(bool(write()), "a write was refused");
    if (fuzz::contents(path) != expected)
        fuzz::fail(what);
}

void checkInput(const QByteArray& input)
{
    const QString path = fuzz::scratchFile(QStringLiteral("aircraft.cfg"));
    putBack(path, input);
    const Layout l = layoutOf(path);
    checkReads(path, l);
    const QString nl = l.file.newline;

    // The key lines a write reaches (the first of its name in the first
    // section of its name); the input picks one.
    QList<int> reachable;
    QSet<QString> sections;
    for (int h = 0; h < l.count(); ++h) {
        if (l[h].kind != FileLine::Kind::Header)
            continue;
        const QString folded = l[h].name.toCaseFolded();
        if (sections.contains(folded))
            continue;
        sections.insert(folded);
        if (!callable(l[h].name))
            continue;
        QSet<QString> keys;
        for (int i = h + 1, e = l.sectionEnd(h); i < e; ++i) {
            if (l[i].kind != FileLine::Kind::Key || keys.contains(l[i].name.toCaseFolded()))
                continue;
            keys.insert(l[i].name.toCaseFolded());
            if (callable(l[i].name))
                reachable.append(i);
        }
    }
    const int target = reachable.isEmpty() ? -1 : reachable[int(qHash(input) % size_t(reachable.size()))];
    int header = -1; // the target's section, or the first one that can be named
    for (int i = 0; i < l.count(); ++i) {
        if (l[i].kind == FileLine::Kind::Header && l.section(l[i].name) == i && callable(l[i].name) &&
            (header < 0 || i <= target))
            header = i;
    }
    const QString section = header >= 0 ? nonNull(l[header].name) : QString();
    const QString key = target >= 0 ? nonNull(l[target].name) : QString();
    const bool addKey = header >= 0 && l.key(header, kNewKey) < 0;
    const bool addSection = l.section(kNewSection) < 0;

    // One kind of write per input (each costs a whole-file rewrite), picked
    // by the input too.
    enum
    {
        Replace,
        DeleteKey,
        AddKey,
        AddSection,
        DeleteSection,
        Gathered,
        Kinds
    };
    const auto kind = int(qHash(input, 7) % Kinds);
    if (kind == Replace && target >= 0) {
        // Replaced: the line keeps its bytes up to its '=' and its line end
        // (a last line without one gets the file's).
        const FileLine& t = l[target];
        QByteArray line = l.line(target).left(l.encode(t.text.left(t.text.indexOf(u'=') + 1)).size());
        line += l.encode(kValue) + l.encode(t.end.isEmpty() ? nl : t.end);
        expectWrite(
            path, [&] { return profile::writeString(section, key, kValue, path); },
            l.before(target) + line + l.from(target + 1), "a replaced value changed other bytes");
        check(profile::getString(section, key, QString(), kWide, path) == kValue,
              "a replaced value reads back wrong");
    }
    if (kind == DeleteKey && target >= 0) {
        expectWrite(
            path, [&] { return profile::writeString(section, key, QString(), path); },
            l.before(target) + l.from(target + 1), "deleting a key changed other bytes");
    }
    if (kind == AddKey && addKey) {
        // After the section's last key line, or after its header.
        int anchor = header;
        for (int i = header + 1, e = l.sectionEnd(header); i < e; ++i) {
            if (l[i].kind == FileLine::Kind::Key)
                anchor = i;
        }
        const QString added = kNewKey + u'=' + kValue;
        const QByteArray expected = l[anchor].end.isEmpty()
                                        ? l.body() + l.encode(nl + added) + l.tail()
                                        : l.before(anchor + 1) + l.encode(added + nl) + l.from(anchor + 1);
        expectWrite(
            path, [&] { return profile::writeString(section, kNewKey, kValue, path); }, expected,
            "adding a key changed other bytes");
        check(profile::getString(section, kNewKey, QString(), kWide, path) == kValue,
              "an added key reads back wrong");
    }
    if (kind == AddSection && addSection) {
        const bool open = l.count() > 0 && l[l.count() - 1].end.isEmpty();
        const QByteArray expected = l.body() +
                                    l.encode((open ? nl : QString()) + u'[' + kNewSection + u']' + nl +
                                             kNewKey + u'=' + kValue + nl) +
                                    l.tail();
        expectWrite(
            path, [&] { return profile::writeString(kNewSection, kNewKey, kValue, path); }, expected,
            "adding a section changed other bytes");
        check(profile::getString(kNewSection, kNewKey, QString(), kWide, path) == kValue,
              "a key of an added section reads back wrong");
    }
    if (kind == DeleteSection && header >= 0) {
        // Its header and key lines go; comments and other lines stay.
        QByteArray expected = l.before(header);
        for (int i = header + 1, e = l.sectionEnd(header); i < e; ++i) {
            if (l[i].kind != FileLine::Kind::Key)
                expected += l.line(i);
        }
        expected += l.from(l.sectionEnd(header));
        expectWrite(
            path, [&] { return profile::writeString(section, QString(), QString(), path); }, expected,
            "deleting a section changed other bytes");
    }

    if (kind != Gathered)
        return;
    // The writes one by one, then gathered in a batch: the same bytes.
    const auto writeAll = [&] {
        if (target >= 0)
            check(bool(profile::writeString(section, key, kValue, path)), "a write was refused");
        if (addKey)
            check(bool(profile::writeString(section, kNewKey, kValue, path)), "a write was refused");
        if (addSection)
            check(bool(profile::writeString(kNewSection, kNewKey, kValue, path)), "a write was refused");
    };
    writeAll();
    const QByteArray oneByOne = fuzz::contents(path);
    putBack(path, input);
    {
        profile::Batch batch(path);
        writeAll();
        check(fuzz::contents(path) == input, "a batch wrote before its commit");
        if (target >= 0)
            check(profile::getString(section, key, QString(), kWide, path) == kValue,
                  "a batch hides its writes");
        check(bool(batch.commit()), "a batch was refused");
    }
    check(fuzz::contents(path) == oneByOne, "a batch wrote other bytes than the writes one by one");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    checkInput(fuzz::bytesOf(data, size).toByteArray());
    // Nothing kept from one input to the next: libFuzzer looks for leaks
    // (slowly) after every input that leaves memory allocated.
    profile::clearCache();
    return 0;
}
