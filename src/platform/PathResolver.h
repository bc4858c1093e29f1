#pragma once

#include <QString>
#include <QStringList>

#include <any>
#include <type_traits>
#include <utility>

// File names as Windows sees them: matched without regard to letter case, one
// path component at a time. Our users' folders come from Windows, so any name
// the program builds from file contents or fixed names ("Model.cfg",
// "aircraft.cfg", "texture.*") goes through here before it touches the disk.
namespace platform::paths {

// Whether two file names are equal without regard to case (Windows style).
bool sameName(QStringView a, QStringView b);

// The order of an NTFS folder listing, where the reports are made: names
// compared by the code values of their characters in capitals ("a", "z",
// "[x]", "_old"). Names that differ only in case (not possible there) follow
// their own code values.
bool listingLess(QStringView a, QStringView b);

// DOS wildcard match of one name ('*' any run, '?' one character, letters
// without regard to case). A pattern ending in ".*" also matches the name
// without the dot ("texture.*" matches "texture"); a pattern ending in "." only
// matches names without an extension ("*." matches "Airplanes").
bool wildcardMatch(QStringView pattern, QStringView name);

// Resolves `relative` (components separated by '\' or '/') below `dir`. Each
// component is matched against the existing entries: an exact match wins, then
// the first entry equal without regard to case. "." is skipped, ".." goes up.
// Components that match nothing are kept as written, so the result names the
// path the caller would create. `dir` itself is used as given.
QString resolveUnder(const QString& dir, QStringView relative);

// Resolves an absolute path component by component, as resolveUnder("/", ...).
QString resolvePath(const QString& absolutePath);

enum class EntryKind { Files = 1, Dirs = 2, Any = 3 };

// Names of the entries of `dir` that match the wildcard pattern, in the order
// a Windows folder listing gives them (listingLess).
// "." and ".." are never listed. Files means regular files and Dirs folders
// (links taken as what they lead to); Any lists every entry.
QStringList matchEntries(const QString& dir, QStringView pattern, EntryKind kind = EntryKind::Any);

// The existence test the program uses everywhere: false for an empty path;
// otherwise true when at least one file or folder matches. The last component
// may hold '*' and '?'; every component is matched without regard to case.
// A trailing separator is ignored, so a folder's path with or without it is
// found.
bool fileExists(const QString& path);

// Like fileExists, but only regular files count (links followed): folders,
// pipes, sockets and devices do not. The test for a file the program opens.
bool regularFileExists(const QString& path);

// Like fileExists, but only folders count.
bool folderExists(const QString& path);

// Whether `path` lies below `folder`, both taken with their links resolved:
// the test every write into an aircraft folder passes first. False when
// either does not exist, and for the folder itself.
bool liesInside(const QString& folder, const QString& path);

// Whether the path, taken as written with links followed, is a folder, or a
// regular file (QFileInfo's isDir() and isFile()).
bool isFolder(const QString& path);
bool isFile(const QString& path);

// The path with every link resolved (QFileInfo::canonicalFilePath()); empty
// when it does not exist.
QString canonicalPath(const QString& path);

// Joins a folder and a name with exactly one '/' between them.
QString join(const QString& dir, QStringView name);

// While one of these lives (on this thread), the lookups above remember what
// they found on disk (whether a path exists and what it is, folder listings),
// so a command that asks about the same folders again and again reads each
// once. Meant for the span of one command that does not write into the
// folders it looks at; every write through platform::fileio and every
// forgetLookups() empties the memory. Nested scopes share the outer one's.
class LookupScope
{
public:
    LookupScope();
    ~LookupScope();
    LookupScope(const LookupScope&) = delete;
    LookupScope& operator=(const LookupScope&) = delete;

private:
    bool m_owner = false;
};

// Whether a LookupScope is under way (lookups are remembered).
bool lookupsRemembered();

// Empties the memory of a LookupScope under way (after a file or folder was
// created, removed or renamed, or when other code may have run).
void forgetLookups();

namespace detail {
// What a LookupScope under way remembers under `key`; null without one.
const std::any* recalled(const QString& key);
// Remembers `value` under `key` while a LookupScope lives; nothing without one.
void keep(const QString& key, std::any value);
} // namespace detail

// A value worked out from what is on disk, remembered under `key` for the
// span of a LookupScope like the lookups above; worked out at every call
// without one. The key names the kind of value and the path it comes from.
template <class Compute>
auto remembered(const QString& key, Compute&& compute)
{
    using T = std::decay_t<std::invoke_result_t<Compute>>;
    if (const std::any* known = detail::recalled(key)) {
        if (const T* value = std::any_cast<T>(known))
            return *value;
    }
    T value = std::forward<Compute>(compute)();
    detail::keep(key, value);
    return value;
}

} // namespace platform::paths
