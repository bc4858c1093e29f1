#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>
#include <sys/stat.h>

// Whole-file reads and writes with the guarantees a user's only copy of a
// livery pack deserves: a rewrite goes to a temporary file beside the target
// and is renamed over it, so a crash leaves the old file whole (and, where the
// file system allows, no temporary file either); the file keeps its
// permissions; a link is never written through to outside the folder the
// write is meant for; a file without write permission is refused the way
// Windows refuses a read-only file; every refusal is reported, never swallowed.
namespace platform::fileio {

struct Result
{
    bool ok = true;
    QString error; // human-readable reason when !ok

    explicit operator bool() const { return ok; }
    static Result failure(QString why) { return {false, std::move(why)}; }
};

// What tells one version of a file from another without reading it: the
// device and inode, the size, the mode, and the modification and change times
// to the nanosecond (the clock behind them may tick only every few
// milliseconds, hence the mode beside them).
struct FileIdentity
{
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    mode_t mode = 0;
    qint64 mtimeSec = 0;
    qint64 mtimeNsec = 0;
    qint64 ctimeSec = 0;
    qint64 ctimeNsec = 0;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity identityOf(const struct stat& st);

// The identity of the regular file at `path` (links followed); none for
// anything else or when it cannot be examined.
std::optional<FileIdentity> regularFileIdentity(const QString& path);

// Opens the regular file at `path` (links followed) for reading. Anything
// else - a folder, a pipe, a socket, a device - is refused without waiting and
// without reading from it, and so is a path that cannot be opened.
Result openRegular(const QString& path, QFile* file);

// Reads the whole file. Fails for anything but a regular file (links
// followed) and for unreadable files; never waits on a pipe or device. While a
// lookup scope lives, a file read whole before is not read again.
Result readAll(const QString& path, QByteArray* out);

// Reads the whole file from disk even within a lookup scope (for callers that
// check the file's identity themselves); the scope keeps what it read.
Result readAllFresh(const QString& path, QByteArray* out);

// Whether the file is read-only in the Windows sense: it exists and no write
// permission bit is set, or the process may not write it.
bool isReadOnly(const QString& path);

// The one test a rewrite passes before its first byte: where a write of
// `path` lands and whether it may. That is `path` itself, or the file a
// symbolic link there leads to (the link stays a link). A write never leaves
// the folder it is meant for: the file reached, with every link on the way
// followed, must lie inside `within` (its subfolders count), or inside the
// folder that holds `path` when `within` is empty. A file reached outside is
// refused with a reason that names `path`. `target` receives the file that
// would be written.
Result writeTarget(const QString& path, const QString& within = {}, QString* target = nullptr);

// Replaces (or creates) the file with `data` atomically. A symbolic link is
// followed, so the file it names is replaced and the link stays, but only to
// a file inside `within` (see writeTarget; by default the folder that holds
// `path`). Refuses a link that leads out of it, a read-only file, a folder in
// the way and a missing parent folder; nothing is written then.
Result writeAtomically(const QString& path, const QByteArray& data, const QString& within = {});

// Writes `data` as a new file (mode 0600) at `path`, for the program's
// temporary files: whatever else stands at the name (a link, a file of any
// owner) is replaced and never written through. A read-only file and a
// folder in the way are refused. `durable` false skips forcing the bytes to
// the disk (for a scratch file that is read back at once and then thrown
// away); the file still appears whole or not at all.
Result writeNew(const QString& path, const QByteArray& data, bool durable = true);

// Copies `source` to `target` only when `target` does not exist yet; the copy
// appears whole or not at all and an existing target is never touched (not
// even when it appears between the test and the copy). `created` tells whether
// this call made the copy.
Result copyIfAbsent(const QString& source, const QString& target, bool* created = nullptr);

// Writes `data` over the bytes at `offset` of an existing file, in place,
// without changing its length. The write is refused when it would reach past
// the end of the file.
Result patchBytes(const QString& path, qint64 offset, const QByteArray& data);

// Gives a read-only file its owner write permission back (Windows: clear the
// read-only attribute). Does nothing for writable files.
Result clearReadOnly(const QString& path);

// Removes a file (not a folder); false when there was none or it could not go.
bool remove(const QString& path);

// How old a temporary file of ours must be before a folder load takes it for
// one that a rewrite left behind (the program was ended during the write).
inline constexpr qint64 kStaleTemporarySeconds = 15 * 60;

// The rewrites above write into a file that shows in no folder until it is
// complete, where the file system offers such files; elsewhere into a hidden
// file beside the target, named "." + the file's name + ".fq-" + six letters
// or digits, which a rewrite ended half-way leaves behind. This removes those
// from `dir` (not from its subfolders): regular files (not links) of that
// name, owned by this user, unchanged for at least `minAgeSeconds`. Anything
// else stays. Returns how many were removed.
int removeStaleTemporaries(const QString& dir, qint64 minAgeSeconds = kStaleTemporarySeconds);

} // namespace platform::fileio
