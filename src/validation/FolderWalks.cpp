// Folder walks and small file helpers of validation.
#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "platform/ProfileEngine.h"
#include "shared/RuntimeError.h"
#include "validation/FolderListing.h"
#include "validation/FolderValidation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace FolderValidation {

namespace detail {

namespace {

bool readFolder(const QString& dir, QList<DirEntry>& out, QString* error)
{
    out.clear();
    DIR* d = ::opendir(QFile::encodeName(dir).constData());
    if (!d) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(dir, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const int fd = ::dirfd(d);
    int err = 0;
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(d);
        if (!e) {
            err = errno;
            break;
        }
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
            continue;
        DirEntry entry;
        entry.name = QFile::decodeName(n);
        if (e->d_type == DT_DIR) {
            entry.isDir = true;
        } else if (e->d_type == DT_REG) {
            entry.isFile = true;
        } else {
            bool link = e->d_type == DT_LNK;
            struct stat st
            {
            };
            if (e->d_type == DT_UNKNOWN && ::fstatat(fd, n, &st, AT_SYMLINK_NOFOLLOW) == 0)
                link = S_ISLNK(st.st_mode);
            // A link stands for what it points to; a dangling one is neither.
            if (::fstatat(fd, n, &st, 0) == 0) {
                entry.isDir = S_ISDIR(st.st_mode);
                entry.isFile = S_ISREG(st.st_mode);
            }
            entry.isLink = link;
        }
        out.append(std::move(entry));
    }
    ::closedir(d);
    if (err) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(dir, QString::fromLocal8Bit(std::strerror(err)));
        out.clear();
        return false;
    }
    std::sort(out.begin(), out.end(),
              [](const DirEntry& a, const DirEntry& b) { return platform::paths::listingLess(a.name, b.name); });
    return true;
}

} // namespace

bool listFolder(const QString& dir, QList<DirEntry>& out, QString* error)
{
    // A folder that could be read is remembered while a lookup scope lives.
    const QString key = QStringLiteral("dirents\n") + dir;
    if (const std::any* known = platform::paths::detail::recalled(key)) {
        out = std::any_cast<const QList<DirEntry>&>(*known);
        return true;
    }
    if (!readFolder(dir, out, error))
        return false;
    platform::paths::detail::keep(key, out);
    return true;
}

bool holdsFileMatching(const QList<DirEntry>& entries, std::initializer_list<QStringView> patterns)
{
    for (const DirEntry& e : entries) {
        if (!e.isFile)
            continue;
        for (QStringView p : patterns) {
            if (platform::paths::wildcardMatch(p, e.name))
                return true;
        }
    }
    return false;
}

QString joinPath(const QString& dir, const QString& name)
{
    return platform::paths::join(dir, name);
}

QString childCanonical(const QString& parentCanonical, const QString& childPath, const DirEntry& entry)
{
    if (entry.isLink)
        return platform::paths::canonicalPath(childPath);
    return joinPath(parentCanonical, entry.name);
}

platform::fileio::Result analyzeBelow(WalkScope& scope, const QString& path, const QString& canonical,
                                      const QList<DirEntry>& entries, const QString& pattern,
                                      ScanAccum& sScanAccum, const Lister& list)
{
    for (const DirEntry& e : entries) {
        if (!e.isDir)
            continue;
        const QString child = joinPath(path, e.name);
        const QString childCanon = childCanonical(canonical, child, e);
        if (!scope.enter(childCanon, e.isLink))
            continue;
        QList<DirEntry> below;
        QString error;
        if (!list(child, below, &error))
            return platform::fileio::Result::failure(error);
        sScanAccum.append(
            {child, holdsFileMatching(below, {pattern}) ? QStringLiteral("-1") : QStringLiteral("0")});
        if (auto r = analyzeBelow(scope, child, childCanon, below, pattern, sScanAccum, list); !r)
            return r;
    }
    return {};
}

} // namespace detail

using namespace detail;

// ---- Effects ------------------------------------------------------------------

namespace {

struct EffectDefault
{
    const char16_t* key;
    const char16_t* file;
};

// The simulators' own effect for a key that is merely switched on.
constexpr EffectDefault EffectFileDefaults[] = {
    {u"wake", u"fx_wake"},
    {u"water", u"fx_spray"},
    {u"waterspeed", u"fx_spray"},
    {u"dirt", u"fx_tchdrt"},
    {u"concrete", u"fx_sparks"},
    {u"touchdown", u"fx_tchdwn"},
    {u"contrail", u"fx_contrail_l"},
    {u"startup", u"fx_engstrt"},
    {u"landrotorwash", u"fx_rtr_lnd"},
    {u"waterrotorwash", u"fx_rtr_wtr"},
    {u"vaportrail_l", u"fx_vaportrail_l"},
    {u"vaportrail_r", u"fx_vaportrail_r"},
    {u"enginefire", u"fx_engfire"},
    {u"enginedamage", u"fx_engsmoke"},
    {u"engineoilleak", u"fx_oilLeak"},
    {u"skidpavement", u"fx_skidmark"},
    {u"wheelsnowspray", u"fx_wheelsnowspray"},
    {u"wheelwetspray", u"fx_wheelwetspray"},
    {u"wetenginewash", u"fx_wetenginewash"},
    {u"snowenginewash", u"fx_snowenginewash"},
    {u"waterballastdrain", u"fx_waterballastdrain"},
    {u"pistonfailure", u"fx_pistonfailure"},
    {u"l_wingtipvortice", u"fx_wingtipvortice_l"},
    {u"r_wingtipvortice", u"fx_wingtipvortice_r"},
};

} // namespace

QString EffectFileDefault(QStringView key)
{
    const QString lower = key.toString().toLower();
    for (const EffectDefault& d : EffectFileDefaults) {
        if (lower == QStringView(d.key))
            return QString::fromUtf16(d.file);
    }
    return {};
}

// ---- Walks ------------------------------------------------------------------------

WalkScope::WalkScope(const QString& aircraftFolder)
{
    m_root = platform::paths::canonicalPath(aircraftFolder);
    if (m_root.isEmpty())
        m_root = QDir::cleanPath(QFileInfo(aircraftFolder).absoluteFilePath());
    m_entered.insert(m_root);
}

bool WalkScope::enter(const QString& canonicalPath, bool viaLink)
{
    if (canonicalPath.isEmpty())
        return false;
    if (viaLink) {
        const bool inside = m_root == u"/"
                                ? canonicalPath.startsWith(u'/')
                                : canonicalPath == m_root || canonicalPath.startsWith(m_root + u'/');
        if (!inside || m_entered.contains(canonicalPath))
            return false;
    }
    m_entered.insert(canonicalPath);
    return true;
}

QString ScanAccumText(const ScanAccum& sScanAccum)
{
    QStringList parts;
    parts.reserve(sScanAccum.size() * 2);
    for (const ScanPair& p : sScanAccum) {
        parts.append(p.path);
        parts.append(p.flag);
    }
    return parts.join(u'\u00A6');
}

platform::fileio::Result AnalyzeTextureFolder(WalkScope& scope, const QString& path, const QString& pattern,
                                              ScanAccum& sScanAccum)
{
    QList<DirEntry> entries;
    QString error;
    if (!listFolder(path, entries, &error))
        return platform::fileio::Result::failure(error);
    return analyzeBelow(scope, path, platform::paths::canonicalPath(path), entries, pattern, sScanAccum,
                        listFolder);
}

platform::fileio::Result AnalyzeModelFolder(WalkScope& scope, const QString& path, ScanAccum& sScanAccum)
{
    return AnalyzeTextureFolder(scope, path, QStringLiteral("*.mdl"), sScanAccum);
}

namespace {

void findEmpty(WalkScope& scope, const QString& path, const QString& canonical, const QString& base,
               QStringList& out, const std::function<void()>& yield)
{
    if (yield)
        yield();
    QList<DirEntry> entries;
    // A folder that is gone or cannot be read is passed over: what cannot be
    // seen is not reported as empty.
    if (!listFolder(path, entries, nullptr))
        return;
    for (const DirEntry& e : entries) {
        if (!e.isDir)
            continue;
        const QString child = joinPath(path, e.name);
        const QString childCanon = childCanonical(canonical, child, e);
        if (scope.enter(childCanon, e.isLink))
            findEmpty(scope, child, childCanon, base, out, yield);
    }
    if (entries.isEmpty()) {
        QString below = path.mid(base.size());
        below.replace(u'/', u'\\');
        out.append(QStringLiteral("..\\") + below);
    }
}

} // namespace

void FindEmptyFolders(WalkScope& scope, const QString& path, const QString& base, QStringList& gsEmptyFolders,
                      const std::function<void()>& yield)
{
    findEmpty(scope, path, platform::paths::canonicalPath(path), base, gsEmptyFolders, yield);
}

// ---- Small file helpers --------------------------------------------------------------

QString ReadIniKey(const QString& section, const QString& key, const QString& file)
{
    return platform::profile::getString(section, key, QStringLiteral(""), {250}, file);
}

BomResult ReadByteArray(const QString& path, QByteArray& bytes, const QString& within)
{
    BomResult r;
    r.read = platform::fileio::readAll(path, &bytes);
    if (!r.read) {
        bytes.clear();
        return r;
    }
    // The profile functions take a UTF-8 mark for part of the first line,
    // which hides the first section header: take it away.
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        r.bomFound = true;
        bytes.remove(0, 3);
        const platform::fileio::Result w = platform::fileio::writeAtomically(path, bytes, within);
        r.rewritten = w.ok;
        r.rewriteError = w.error;
    }
    return r;
}

void ArrayRemoveItem(modGlobal::StringArray* list, qint32 index)
{
    if (!list)
        throw runtimeerror::RuntimeError(runtimeerror::kTypeMismatch, QStringLiteral("Type Mismatch"));
    if (!list->has_value() || index < 0 || index >= (*list)->size())
        throw runtimeerror::RuntimeError(runtimeerror::kSubscriptOutOfRange,
                                         QStringLiteral("Subscript out of Range"));
    (*list)->removeAt(index);
}

} // namespace FolderValidation
