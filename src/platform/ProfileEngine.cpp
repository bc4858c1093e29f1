// The profile functions themselves: reads and writes by section and key,
// the lines of a file for whole-file rewrites, and a whole-text replacement.
#include "platform/ProfileEngine.h"

#include "platform/Cp1252.h"
#include "platform/ProfileModel.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <utility>

namespace platform::profile {

using namespace detail;

namespace {

bool hasLineBreak(const QString& s) { return s.contains(u'\r') || s.contains(u'\n'); }

QString unreadable(const QString& file) { return QStringLiteral("%1: the file cannot be read").arg(file); }

// The section names of a parsed file in file order (none for no file).
QStringList namesOf(const Doc* p)
{
    QStringList names;
    if (p) {
        names.reserve(p->sections.size());
        for (const Section& s : p->sections)
            names.append(s.name);
    }
    return names;
}

} // namespace

QString getString(const QString& section, const QString& key, const QString& defaultValue, Buffer buffer,
                  const QString& path, int occurrence)
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

    if (section.isNull())
        return cutList(namesOf(p.get()));
    const int index = p ? findSection(*p, callerName(section), occurrence) : -1;
    const Section* s = index >= 0 ? &p->sections[index] : nullptr;
    if (key.isNull()) {
        QStringList names;
        if (s) {
            for (int i = 1; i < s->lines.size(); ++i) {
                if (s->lines[i].kind == LineKind::Key)
                    names.append(keyName(*p, s->lines[i]).toString());
            }
        }
        return cutList(names);
    }
    if (s) {
        const int k = findKey(*p, *s, callerName(key));
        if (k >= 0)
            return cutValue(keyValue(*p, s->lines[k]));
    }
    const qsizetype nul = defaultValue.indexOf(QChar(0));
    return cutValue(nul < 0 ? defaultValue : defaultValue.left(nul));
}

WriteResult writeString(const QString& section, const QString& key, const QString& value, const QString& path,
                        int occurrence)
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
            return failure(unreadable(file));
        // Deleting from a missing file changes nothing and succeeds.
        if (k.isNull() || value.isNull())
            return {};
        if (occurrence > 0)
            return failure(QStringLiteral("%1: the file does not exist").arg(file));
        if (!QFileInfo(QFileInfo(file).absolutePath()).isDir())
            return failure(QStringLiteral("%1: the folder does not exist").arg(file));
        bool lossy = false;
        const QByteArray bytes = cp1252::encode(QString(u'[' + sec + u"]\r\n" + k + u'=' + value + u"\r\n"), &lossy);
        if (lossy)
            return failure(QStringLiteral("%1: the text holds characters that Windows-1252 cannot store").arg(file));
        return storeBytes(file, bytes);
    }

    const int s = findSection(*p, sec, occurrence);
    if (k.isNull() || value.isNull()) { // deleting what is not there changes nothing
        if (s < 0 || (!k.isNull() && findKey(*p, p->sections[s], k) < 0))
            return {};
    } else if (s < 0 && occurrence > 0) {
        return failure(QStringLiteral("%1: the section [%2] is no longer in the file").arg(file, sec));
    }

    const std::shared_ptr<Doc> d = editable(file, p);
    QString error;
    bool ok = true;
    if (k.isNull())
        deleteSection(*d, s);
    else if (value.isNull())
        deleteKey(*d, s, k);
    else if (s < 0)
        ok = addSection(*d, sec, k, value, &error);
    else
        ok = setValue(*d, s, k, value, &error);
    if (!ok)
        return failure(file + QStringLiteral(": ") + error);
    return storeDoc(file, d);
}

QStringList sectionNames(const QString& path)
{
    return namesOf(load(path).get());
}

QList<QPair<QString, QString>> sectionKeys(const QString& section, Buffer valueBuffer, const QString& path,
                                           int occurrence)
{
    QList<QPair<QString, QString>> out;
    const auto p = load(path);
    const int index = p ? findSection(*p, callerName(section), occurrence) : -1;
    if (index < 0)
        return out;
    const Section& s = p->sections[index];
    // The first key of a name gives the value of every key of that name: the
    // first line of each name, found in one pass (as findKey finds it). An
    // entry's few dozen names are compared in a row; a long section is hashed.
    constexpr int kHashFrom = 64;
    const bool hashed = s.lines.size() > kHashFrom;
    QHash<QString, int> firstOf;
    QList<std::pair<QString, int>> seenNames;
    if (hashed)
        firstOf.reserve(s.lines.size());
    else
        seenNames.reserve(s.lines.size());
    out.reserve(s.lines.size());
    for (int i = 1; i < s.lines.size(); ++i) {
        if (s.lines[i].kind != LineKind::Key)
            continue;
        QString name = keyName(*p, s.lines[i]).toString();
        QString folded = name.toCaseFolded();
        int first = i;
        if (hashed) {
            if (const auto seen = firstOf.constFind(folded); seen != firstOf.cend())
                first = *seen;
            else
                firstOf.insert(std::move(folded), i);
        } else {
            const auto seen = std::find_if(seenNames.cbegin(), seenNames.cend(),
                                           [&folded](const auto& n) { return n.first == folded; });
            if (seen != seenNames.cend())
                first = seen->second;
            else
                seenNames.append({std::move(folded), i});
        }
        QString value = valueBuffer.size > 0 ? keyValue(*p, s.lines[first]) : QString();
        if (value.size() > valueBuffer.size - 1)
            value.truncate(qMax(0, valueBuffer.size - 1));
        out.append({std::move(name), std::move(value)});
    }
    return out;
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

FileLines readLines(const QString& path)
{
    FileLines out;
    QString file;
    const auto p = load(path, &file);
    if (!p) {
        if (QFileInfo::exists(file))
            out.error = unreadable(file);
        return out;
    }
    out.exists = true;
    out.newline = p->newline();
    out.lines.reserve(p->preamble.size() + p->sections.size() * 8);
    const auto add = [&](const Line& l, const QString* header) {
        FileLine f;
        f.text = p->view(l.start, l.contentEnd).toString();
        f.end = p->view(l.contentEnd, l.next).toString();
        switch (l.kind) {
        case LineKind::Blank:
            f.kind = FileLine::Kind::Blank;
            break;
        case LineKind::Comment:
            f.kind = FileLine::Kind::Comment;
            break;
        case LineKind::Header:
            f.kind = FileLine::Kind::Header;
            f.name = *header;
            break;
        case LineKind::Key:
            f.kind = FileLine::Kind::Key;
            f.name = keyName(*p, l).toString();
            f.value = keyValue(*p, l);
            f.quote = keyValueQuote(*p, l);
            break;
        case LineKind::Text:
            f.kind = FileLine::Kind::Text;
            break;
        }
        out.lines.append(std::move(f));
    };
    for (const Line& l : p->preamble)
        add(l, nullptr);
    for (const Section& s : p->sections) {
        for (const Line& l : s.lines)
            add(l, &s.name);
    }
    return out;
}

WriteResult replaceText(const QString& path, const QString& text)
{
    QString file;
    const auto p = load(path, &file);
    if (!p) {
        return failure(QFileInfo::exists(file) ? unreadable(file)
                                               : QStringLiteral("%1: the file does not exist").arg(file));
    }
    bool lossy = false;
    QByteArray out = bom(*p);
    out += encodeFor(p.get(), text, &lossy);
    if (lossy)
        return failure(QStringLiteral("%1: the text holds characters that Windows-1252 cannot store").arg(file));
    return storeBytes(file, out);
}

} // namespace platform::profile
