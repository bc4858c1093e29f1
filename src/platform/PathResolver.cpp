#include "platform/PathResolver.h"

#include "platform/WildcardMatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <array>
#include <memory>
#include <dirent.h>
#include <sys/stat.h>

namespace platform::paths {

namespace {

bool isSep(QChar c) { return c == u'/' || c == u'\\'; }

QList<QStringView> splitComponents(QStringView path)
{
    QList<QStringView> parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i == path.size() || isSep(path[i])) {
            if (i > start)
                parts.append(path.mid(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

QString parentOf(const QString& dir)
{
    if (dir.isEmpty() || dir == u"/")
        return dir;
    QString d = dir;
    while (d.size() > 1 && d.endsWith(u'/'))
        d.chop(1);
    const qsizetype slash = d.lastIndexOf(u'/');
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return d.left(slash);
}

// Matches the pattern against the name, '*' and '?' as wildcards.
bool globFrom(QStringView p, QStringView n)
{
    return wildcardMatches(p, n, u'*', u'?',
                           [](QChar a, QChar b) { return sameName(QStringView(&a, 1), QStringView(&b, 1)); });
}

struct PathState
{
    bool exists = false;
    bool isDir = false;
    bool isFile = false;
};

// What a LookupScope remembers.
struct Lookups
{
    QHash<QString, PathState> states;
    std::array<QHash<QString, QStringList>, 4> listings; // by EntryKind
    QHash<QString, QString> canonical;
    QHash<QString, std::any> values;
};

thread_local std::unique_ptr<Lookups> t_lookups;

PathState stateOf(const QString& path)
{
    if (t_lookups) {
        if (const auto it = t_lookups->states.constFind(path); it != t_lookups->states.cend())
            return *it;
    }
    // What QFileInfo's exists(), isDir() and isFile() say, in one call.
    PathState st;
    struct stat buf{};
    if (!path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &buf) == 0) {
        st.exists = true;
        st.isDir = S_ISDIR(buf.st_mode);
        st.isFile = S_ISREG(buf.st_mode);
    }
    if (t_lookups)
        t_lookups->states.insert(path, st);
    return st;
}

QStringList readNames(const QString& dir, EntryKind kind)
{
    QDir::Filters filters = QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    if (kind == EntryKind::Files || kind == EntryKind::Any)
        filters |= QDir::Files;
    if (kind == EntryKind::Dirs || kind == EntryKind::Any)
        filters |= QDir::Dirs;
    QStringList names = QDir(dir).entryList(filters, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return listingLess(a, b); });
    return names;
}

// Remembers the three listings of `dir` from one reading of the folder. An
// entry is left out exactly where QDir's filters leave it out: files only
// drop what is a folder (links followed), folders only what is a file; the
// rest (links that lead nowhere, pipes, sockets) stand in both. The kind
// comes from the listing itself; only links (and file systems that do not
// tell) are examined.
void rememberListings(const QString& dir)
{
    QStringList files, dirs, any;
    // An empty name is the current folder, as QDir takes it.
    const QByteArray native = dir.isEmpty() ? QByteArray(".") : QFile::encodeName(dir);
    if (DIR* d = ::opendir(native.constData())) {
        while (const dirent* e = ::readdir(d)) {
            const char* n = e->d_name;
            if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
                continue;
            bool isDir = e->d_type == DT_DIR;
            bool isFile = e->d_type == DT_REG;
            if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
                struct stat st{};
                if (::fstatat(::dirfd(d), n, &st, 0) == 0) {
                    isDir = S_ISDIR(st.st_mode);
                    isFile = S_ISREG(st.st_mode);
                }
            }
            const QString name = QFile::decodeName(n);
            any.append(name);
            if (!isDir)
                files.append(name);
            if (!isFile)
                dirs.append(name);
        }
        ::closedir(d);
    }
    for (QStringList* names : {&files, &dirs, &any}) {
        std::sort(names->begin(), names->end(),
                  [](const QString& a, const QString& b) { return listingLess(a, b); });
    }
    t_lookups->listings[static_cast<size_t>(EntryKind::Files)].insert(dir, files);
    t_lookups->listings[static_cast<size_t>(EntryKind::Dirs)].insert(dir, dirs);
    t_lookups->listings[static_cast<size_t>(EntryKind::Any)].insert(dir, any);
}

QStringList listNames(const QString& dir, EntryKind kind)
{
    if (!t_lookups)
        return readNames(dir, kind);
    QHash<QString, QStringList>& listings = t_lookups->listings[static_cast<size_t>(kind)];
    if (const auto it = listings.constFind(dir); it != listings.cend())
        return *it;
    // The folder is read once for whichever kind is asked next.
    rememberListings(dir);
    return listings.value(dir);
}

} // namespace

bool listingLess(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].toUpper().unicode();
        const char16_t y = b[i].toUpper().unicode();
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool wildcardMatch(QStringView pattern, QStringView name)
{
    if (pattern.endsWith(u".*") && globFrom(pattern.chopped(2), name))
        return true;
    if (pattern.endsWith(u'.') && !pattern.endsWith(u"..")) {
        if (name.contains(u'.'))
            return false;
        return globFrom(pattern.chopped(1), name);
    }
    return globFrom(pattern, name);
}

QString join(const QString& dir, QStringView name)
{
    if (dir.isEmpty())
        return name.toString();
    if (dir.endsWith(u'/'))
        return dir + name;
    return dir + u'/' + name;
}

QString resolveUnder(const QString& dir, QStringView relative)
{
    QString current = dir;
    bool existing = stateOf(current).isDir;
    for (QStringView part : splitComponents(relative)) {
        if (part == u".")
            continue;
        if (part == u"..") {
            current = parentOf(current);
            existing = stateOf(current).isDir;
            continue;
        }
        const QString exact = join(current, part);
        if (!existing || stateOf(exact).exists) {
            current = exact; // an existing part stays existing; a missing one stays missing
            continue;
        }
        QString found;
        const QStringList names = listNames(current, EntryKind::Any);
        for (const QString& n : names) {
            if (sameName(n, part)) {
                found = n;
                break;
            }
        }
        if (found.isEmpty()) {
            current = exact;
            existing = false;
        } else {
            current = join(current, found);
        }
    }
    return current;
}

QString resolvePath(const QString& absolutePath)
{
    if (!absolutePath.startsWith(u'/'))
        return absolutePath;
    return resolveUnder(QStringLiteral("/"), absolutePath);
}

QStringList matchEntries(const QString& dir, QStringView pattern, EntryKind kind)
{
    QStringList out;
    for (const QString& n : listNames(dir, kind)) {
        if (!wildcardMatch(pattern, n))
            continue;
        // The listing's "files" include pipes, sockets, devices and dangling
        // links (and its folders some of them too): only what the kind names
        // counts, a link taken as what it leads to.
        if (kind != EntryKind::Any) {
            const PathState st = stateOf(join(dir, n));
            if (kind == EntryKind::Files ? !st.isFile : !st.isDir)
                continue;
        }
        out.append(n);
    }
    return out;
}

namespace {

bool existsAs(const QString& path, EntryKind kind)
{
    if (path.isEmpty())
        return false;
    QString p = path;
    while (p.size() > 1 && isSep(p.back()))
        p.chop(1);
    qsizetype cut = p.size() - 1;
    while (cut >= 0 && !isSep(p[cut]))
        --cut;
    const QString last = p.mid(cut + 1);
    QString dir = cut < 0 ? QStringLiteral(".") : (cut == 0 ? QStringLiteral("/") : p.left(cut));
    if (dir != u"/" && dir != u".")
        dir = dir.startsWith(u'/') ? resolvePath(dir) : resolveUnder(QStringLiteral("."), dir);
    if (last.isEmpty())
        return kind != EntryKind::Files && stateOf(dir).isDir;
    if (!last.contains(u'*') && !last.contains(u'?')) {
        const PathState exact = stateOf(join(dir, last));
        if (exact.exists && (kind == EntryKind::Any || (kind == EntryKind::Files && exact.isFile) ||
                             (kind == EntryKind::Dirs && exact.isDir)))
            return true;
    }
    if (!stateOf(dir).isDir)
        return false;
    return !matchEntries(dir, last, kind).isEmpty();
}

} // namespace

bool isFolder(const QString& path) { return stateOf(path).isDir; }
bool isFile(const QString& path) { return stateOf(path).isFile; }

QString canonicalPath(const QString& path)
{
    if (!t_lookups)
        return QFileInfo(path).canonicalFilePath();
    if (const auto it = t_lookups->canonical.constFind(path); it != t_lookups->canonical.cend())
        return *it;
    // A clean absolute path whose last part is no link resolves to its
    // parent's canonical path and that name: one lstat instead of a readlink
    // per part, and the parent is remembered for the next name.
    QString result;
    const qsizetype slash = path.lastIndexOf(u'/');
    if (path.size() > 1 && path.startsWith(u'/') && QDir::cleanPath(path) == path) {
        const QString parent = canonicalPath(slash == 0 ? QStringLiteral("/") : path.left(slash));
        struct stat buf{};
        if (parent.isEmpty())
            result.clear(); // no parent, no path
        else if (::lstat(QFile::encodeName(path).constData(), &buf) == 0 && !S_ISLNK(buf.st_mode))
            result = join(parent, QStringView(path).mid(slash + 1));
        else
            result = QFileInfo(path).canonicalFilePath();
    } else {
        result = QFileInfo(path).canonicalFilePath();
    }
    t_lookups->canonical.insert(path, result);
    return result;
}

bool liesInside(const QString& folder, const QString& path)
{
    if (folder.isEmpty() || path.isEmpty())
        return false;
    const QString dir = canonicalPath(folder);
    const QString target = canonicalPath(path);
    if (dir.isEmpty() || target.isEmpty() || target == dir)
        return false;
    return target.startsWith(dir.endsWith(u'/') ? dir : dir + u'/');
}

LookupScope::LookupScope()
{
    if (!t_lookups) {
        t_lookups = std::make_unique<Lookups>();
        m_owner = true;
    }
}

LookupScope::~LookupScope()
{
    if (m_owner)
        t_lookups.reset();
}

bool lookupsRemembered() { return t_lookups != nullptr; }

void forgetLookups()
{
    if (t_lookups)
        *t_lookups = Lookups();
}

namespace detail {

const std::any* recalled(const QString& key)
{
    if (!t_lookups)
        return nullptr;
    const auto it = t_lookups->values.constFind(key);
    return it == t_lookups->values.cend() ? nullptr : &*it;
}

void keep(const QString& key, std::any value)
{
    if (t_lookups)
        t_lookups->values.insert(key, std::move(value));
}

} // namespace detail

bool fileExists(const QString& path) { return existsAs(path, EntryKind::Any); }
bool regularFileExists(const QString& path) { return existsAs(path, EntryKind::Files); }
bool folderExists(const QString& path) { return existsAs(path, EntryKind::Dirs); }

} // namespace platform::paths
