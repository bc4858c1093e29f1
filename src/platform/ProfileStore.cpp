// Which parse of a file a call works on: the parse cache (by path, device,
// inode, size and nanosecond modification time), the snapshot of one command
// and the batch that gathers the writes of one command.
#include "platform/ProfileModel.h"

#include "platform/FileIo.h"
#include "platform/PathResolver.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <ctime>
#include <optional>
#include <utility>
#include <sys/stat.h>

namespace platform::profile {

namespace detail {

namespace {

struct BatchState
{
    QString file;                 // the resolved file the batch collects writes for
    std::shared_ptr<Doc> pending; // null while nothing was written; edited in place
    bool active = false;
};

BatchState& batch()
{
    static BatchState b;
    return b;
}

struct SnapshotState
{
    QString path; // the path as the caller names it
    std::shared_ptr<const Doc> parsed;
    std::optional<QByteArray> bytes; // the file as the caller read it, parsed at the first read
    bool active = false;
};

SnapshotState& snapshot()
{
    static SnapshotState s;
    return s;
}

using Identity = fileio::FileIdentity;

struct CacheEntry
{
    Identity id;
    std::shared_ptr<const Doc> parsed;
};

// Files of any size are kept: a file that is not kept is parsed again by
// every read, which turns a command's linear work quadratic.
constexpr qsizetype kMaxCacheEntries = 16;

QHash<QString, CacheEntry>& cache()
{
    static QHash<QString, CacheEntry> c;
    return c;
}

bool statFile(const QString& path, Identity* id)
{
    const std::optional<Identity> found = fileio::regularFileIdentity(path);
    if (found)
        *id = *found;
    return found.has_value();
}

// The cached parse of the file when the cache holds it in this version.
std::shared_ptr<const Doc> cachedParse(const QString& file, const Identity& id)
{
    const auto& c = cache();
    const auto it = c.constFind(file);
    return it != c.cend() && it->id == id ? it->parsed : nullptr;
}

void remember(const QString& file, const Identity& id, const std::shared_ptr<const Doc>& parsed)
{
    auto& c = cache();
    if (c.size() >= kMaxCacheEntries && !c.contains(file))
        c.clear();
    c.insert(file, CacheEntry{id, parsed});
}

// A file changed within the last moments may change again within the same
// tick of the file system's clock, with the same size: its identity would not
// tell the versions apart, so such a parse is not kept.
bool racy(const Identity& id)
{
    constexpr qint64 kWindowNs = 20'000'000;
    struct timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const qint64 age = (qint64(now.tv_sec) - id.mtimeSec) * 1'000'000'000 + (qint64(now.tv_nsec) - id.mtimeNsec);
    return age < kWindowNs;
}

// The file the path names: as written when it exists, else matched without
// regard to case one component at a time.
QString resolve(const QString& path, Identity* id, bool* exists)
{
    if (statFile(path, id)) {
        *exists = true;
        return path;
    }
    const QString r = QFileInfo(path).isAbsolute() ? paths::resolvePath(path)
                                                   : paths::resolveUnder(QStringLiteral("."), path);
    *exists = statFile(r, id);
    return r;
}

QString resolvedName(const QString& path)
{
    Identity id;
    bool exists = false;
    return resolve(path, &id, &exists);
}

std::shared_ptr<const Doc> loadFromDisk(const QString& path, QString* resolved)
{
    Identity id;
    bool exists = false;
    const QString file = resolve(path, &id, &exists);
    if (resolved)
        *resolved = file;
    if (const BatchState& b = batch(); b.active && b.pending && b.file == file)
        return b.pending;
    if (!exists)
        return nullptr;
    if (auto parsed = cachedParse(file, id))
        return parsed;
    QByteArray bytes;
    // Read from disk: the identity taken before and after must describe these bytes.
    if (!fileio::readAllFresh(file, &bytes))
        return nullptr;
    // The file may have changed between stat and read; take the identity
    // again so a stale parse is never kept under a newer identity.
    Identity after;
    const bool stable = statFile(file, &after) && after == id && after.size == bytes.size();
    std::shared_ptr<const Doc> parsed = parse(std::move(bytes));
    if (stable && !racy(id))
        remember(file, id, parsed);
    return parsed;
}

WriteResult writeOut(const QString& file, const QByteArray& bytes)
{
    cache().remove(file);
    const fileio::Result r = fileio::writeAtomically(file, bytes);
    if (!r)
        return failure(r.error);
    // What we just wrote is known: keep its parse under the new identity.
    if (Identity id; statFile(file, &id) && id.size == bytes.size())
        remember(file, id, parse(bytes));
    return {};
}

// The snapshot's first parse from the bytes its owner read: a parse the cache
// holds for the file as it is now (or the writes a batch gathers) comes first.
std::shared_ptr<const Doc> loadGiven(const QString& path, QByteArray bytes)
{
    if (const BatchState& b = batch(); b.active && b.pending)
        return loadFromDisk(path, nullptr);
    if (Identity id; statFile(path, &id)) {
        if (auto parsed = cachedParse(path, id))
            return parsed;
    }
    return parse(std::move(bytes));
}

} // namespace

std::shared_ptr<const Doc> load(const QString& path, QString* resolved)
{
    SnapshotState& snap = snapshot();
    if (!snap.active || resolved || path != snap.path)
        return loadFromDisk(path, resolved);
    if (!snap.parsed) {
        if (snap.bytes)
            snap.parsed = loadGiven(path, *std::exchange(snap.bytes, std::nullopt));
        else
            snap.parsed = loadFromDisk(path, nullptr);
    }
    return snap.parsed;
}

std::shared_ptr<Doc> editable(const QString& file, const std::shared_ptr<const Doc>& loaded)
{
    if (const BatchState& b = batch(); b.active && b.pending && b.file == file && b.pending == loaded)
        return b.pending;
    return std::make_shared<Doc>(*loaded);
}

WriteResult storeDoc(const QString& file, std::shared_ptr<Doc> doc)
{
    snapshot().parsed.reset();
    snapshot().bytes.reset();
    if (BatchState& b = batch(); b.active && b.file == file) {
        b.pending = std::move(doc);
        return {};
    }
    // The written document's lines point into its grown text; the cache
    // keeps a fresh parse of the bytes instead, as a read would make it.
    return writeOut(file, serialize(*doc));
}

WriteResult storeBytes(const QString& file, const QByteArray& bytes)
{
    snapshot().parsed.reset();
    snapshot().bytes.reset();
    if (BatchState& b = batch(); b.active && b.file == file) {
        b.pending = parse(bytes);
        return {};
    }
    return writeOut(file, bytes);
}

} // namespace detail

void clearCache() { detail::cache().clear(); }

Snapshot::Snapshot(const QString& path)
{
    detail::SnapshotState& s = detail::snapshot();
    if (s.active)
        return;
    m_owner = true;
    s.active = true;
    s.path = path;
    s.parsed.reset();
    s.bytes.reset();
}

Snapshot::Snapshot(const QString& path, QByteArray bytes) : Snapshot(path)
{
    if (m_owner)
        detail::snapshot().bytes = std::move(bytes);
}

Snapshot::~Snapshot()
{
    if (!m_owner)
        return;
    detail::SnapshotState& s = detail::snapshot();
    s.active = false;
    s.parsed.reset();
    s.bytes.reset();
}

Batch::Batch(const QString& path)
{
    detail::BatchState& b = detail::batch();
    if (b.active)
        return;
    m_owner = true;
    b.active = true;
    b.file = detail::resolvedName(path);
    b.pending.reset();
}

Batch::~Batch()
{
    if (!m_owner)
        return;
    detail::BatchState& b = detail::batch();
    b.active = false;
    b.pending.reset();
}

WriteResult Batch::commit()
{
    if (!m_owner)
        return detail::failure(QStringLiteral("another batch of writes to a profile file is open"));
    m_owner = false;
    detail::BatchState& b = detail::batch();
    if (!b.active)
        return {};
    b.active = false;
    const std::shared_ptr<detail::Doc> pending = std::move(b.pending);
    b.pending.reset();
    if (!pending)
        return {};
    return detail::writeOut(b.file, detail::serialize(*pending));
}

} // namespace platform::profile
