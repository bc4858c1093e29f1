#include "platform/FileIo.h"

#include "platform/PathResolver.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::fileio {

namespace {

QString errnoText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

Result fail(const QString& path, const QString& what, int err)
{
    return Result::failure(QStringLiteral("%1: %2 (%3)").arg(path, what, errnoText(err)));
}

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// Whether `path` is `folder` or lies below it (both with their links resolved).
bool inFolder(const QString& folder, const QString& path)
{
    if (folder == u"/")
        return path.startsWith(u'/');
    return path == folder || path.startsWith(folder + u'/');
}

bool writeFully(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// The temporary files that a rewrite names: "." + the file's name + ".fq-" +
// six letters or digits (the pattern mkstemp fills in).
constexpr QByteArrayView kTempMark = ".fq-";
constexpr qsizetype kTempLetters = 6;

bool isTempLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isTempName(QByteArrayView name)
{
    if (name.size() < 2 + kTempMark.size() + kTempLetters || name.front() != '.')
        return false;
    if (name.sliced(name.size() - kTempLetters - kTempMark.size(), kTempMark.size()) != kTempMark)
        return false;
    const QByteArrayView letters = name.last(kTempLetters);
    return std::all_of(letters.begin(), letters.end(), isTempLetter);
}

QByteArray tempTemplate(const QString& dir, const QString& baseName)
{
    return native(dir) + "/." + native(baseName) + kTempMark.toByteArray() + QByteArray(kTempLetters, 'X');
}

// A free name of that pattern, for the file mkstemp would otherwise make.
QByteArray tempName(const QString& dir, const QString& baseName)
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = tempTemplate(dir, baseName);
    for (qsizetype i = name.size() - kTempLetters; i < name.size(); ++i)
        name[i] = kLetters[QRandomGenerator::system()->bounded(int(sizeof kLetters - 1))];
    return name;
}

// Writes `data` into the new file open at `fd`, gives it its mode (and the
// owner of the file it replaces, where we may) and, when `durable`, forces it
// to the disk. The error number of the first failure, else 0.
int fillFile(int fd, const QByteArray& data, mode_t mode, const struct stat* owner, bool durable)
{
    int err = 0;
    if (!writeFully(fd, data.constData(), data.size()))
        err = errno;
    if (!err && ::fchmod(fd, mode) != 0)
        err = errno;
    if (!err && owner) {
        // Keep the owner where we are allowed to; a failure here is harmless.
        [[maybe_unused]] const int ignored = ::fchown(fd, owner->st_uid, owner->st_gid);
    }
    if (!err && durable && ::fsync(fd) != 0)
        err = errno;
    return err;
}

// Gives the unnamed file open at `fd` the name `to`. 0 on success, else -1
// with errno set (EEXIST when something has that name).
int nameUnnamed(int fd, const QByteArray& to)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, to.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != ENOENT)
        return -1;
    // No /proc: the descriptor itself, where the process may link by it.
    return ::linkat(fd, "", AT_FDCWD, to.constData(), AT_EMPTY_PATH);
}

enum class Placement
{
    Replace,      // in place of whatever has the name, as rename() does: a link there is replaced, not followed
    KeepExisting, // only when nothing has the name yet, as link() does
};

// Writes `data` as a new file in `dir` and puts it at `target` as `how`
// says. `existed` tells whether KeepExisting found the name taken.
//
// The file is written unnamed where the file system offers that (O_TMPFILE):
// it shows in the folder only once it is whole, so a program ended during
// the write leaves nothing behind. A replacement then has a name of its own
// for the moment between the link and the rename. Elsewhere the file is
// written under a hidden name (".<name>.fq-XXXXXX") that a folder load
// clears away when a rewrite ended half-way left it (removeStaleTemporaries).
Result placeNewFile(const QString& dir, const QString& baseName, const QByteArray& data, mode_t mode,
                    const struct stat* owner, const QString& target, Placement how, bool durable,
                    bool* existed = nullptr)
{
    if (existed)
        *existed = false;
    const QByteArray to = native(target);
    const int unnamed = ::open(native(dir).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (unnamed >= 0) {
        if (const int err = fillFile(unnamed, data, mode, owner, durable); err) {
            ::close(unnamed);
            return fail(dir, QStringLiteral("cannot write the temporary file"), err);
        }
        if (how == Placement::KeepExisting) {
            const int linked = nameUnnamed(unnamed, to);
            const int err = errno;
            if (linked == 0 || err == EEXIST) {
                ::close(unnamed);
                if (existed)
                    *existed = linked != 0;
                return {};
            }
        } else {
            for (int attempt = 0; attempt < 8; ++attempt) {
                const QByteArray tmp = tempName(dir, baseName);
                if (nameUnnamed(unnamed, tmp) != 0) {
                    if (errno == EEXIST)
                        continue;
                    break;
                }
                ::close(unnamed);
                if (::rename(tmp.constData(), to.constData()) != 0) {
                    const int err = errno;
                    ::unlink(tmp.constData());
                    return fail(target, QStringLiteral("cannot replace the file"), err);
                }
                return {};
            }
        }
        // The file system cannot give the file a name: write a named one.
        ::close(unnamed);
    }

    QByteArray tmp = tempTemplate(dir, baseName);
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return fail(dir, QStringLiteral("cannot create a temporary file"), errno);
    int err = fillFile(fd, data, mode, owner, durable);
    if (::close(fd) != 0 && !err)
        err = errno;
    if (err) {
        ::unlink(tmp.constData());
        return fail(dir, QStringLiteral("cannot write the temporary file"), err);
    }
    if (how == Placement::Replace) {
        if (::rename(tmp.constData(), to.constData()) != 0) {
            err = errno;
            ::unlink(tmp.constData());
            return fail(target, QStringLiteral("cannot replace the file"), err);
        }
        return {};
    }
    // link() never replaces an existing name, so a file that appeared in the
    // meantime stays as it is.
    if (::link(tmp.constData(), to.constData()) == 0) {
        ::unlink(tmp.constData());
        return {};
    }
    err = errno;
    // File systems without hard links: fall back to a checked rename.
    if (err == EEXIST || QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
        ::unlink(tmp.constData());
        if (existed)
            *existed = true;
        return {};
    }
    if (::rename(tmp.constData(), to.constData()) != 0) {
        err = errno;
        ::unlink(tmp.constData());
        return fail(target, QStringLiteral("cannot create the copy"), err);
    }
    return {};
}

// Whatever a write leaves on disk, lookups remembered before it are stale.
struct ForgetLookups
{
    ForgetLookups() = default;
    ForgetLookups(const ForgetLookups&) = delete;
    ForgetLookups& operator=(const ForgetLookups&) = delete;
    ~ForgetLookups() { platform::paths::forgetLookups(); }
};

void syncDir(const QString& dir)
{
    const int fd = ::open(native(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Opens a regular file for reading, or says why not. The path is examined
// before the open so that a device is never opened at all, and the open does
// not wait (a pipe without a writer would block it); the descriptor is
// examined again, since the name may have changed hands in between.
int openRegularFd(const QString& path, Result* why)
{
    const QByteArray n = native(path);
    const auto refuse = [&](const struct stat& st) {
        *why = Result::failure(S_ISDIR(st.st_mode) ? QStringLiteral("%1: is a folder").arg(path)
                                                   : QStringLiteral("%1: is not a regular file").arg(path));
        return -1;
    };
    struct stat st{};
    if (::stat(n.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return refuse(st);
    const int fd = ::open(n.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *why = Result::failure(QStringLiteral("%1: %2").arg(path, errnoText(errno)));
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refuse(st);
    }
    // Reads of a regular file never wait; the flag goes so that they are plain.
    if (const int flags = ::fcntl(fd, F_GETFL); flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

// Where a lookup scope keeps a file read whole.
QString bytesKey(const QString& path) { return QStringLiteral("bytes\n") + path; }

} // namespace

FileIdentity identityOf(const struct stat& st)
{
    return {st.st_dev,         st.st_ino,        st.st_size,         st.st_mode,
            st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
}

std::optional<FileIdentity> regularFileIdentity(const QString& path)
{
    struct stat st{};
    if (::stat(native(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return identityOf(st);
}

Result readAll(const QString& path, QByteArray* out)
{
    // Within a lookup scope a file read whole is read once.
    if (const std::any* known = paths::detail::recalled(bytesKey(path))) {
        *out = std::any_cast<const QByteArray&>(*known);
        return {};
    }
    return readAllFresh(path, out);
}

Result openRegular(const QString& path, QFile* file)
{
    Result why;
    const int fd = openRegularFd(path, &why);
    if (fd < 0)
        return why;
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Result::failure(QStringLiteral("%1: %2").arg(path, file->errorString()));
    }
    return {};
}

Result readAllFresh(const QString& path, QByteArray* out)
{
    QFile f;
    if (Result r = openRegular(path, &f); !r)
        return r;
    *out = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return Result::failure(QStringLiteral("%1: %2").arg(path, f.errorString()));
    paths::detail::keep(bytesKey(path), *out);
    return {};
}

bool isReadOnly(const QString& path)
{
    struct stat st{};
    if (::stat(native(path).constData(), &st) != 0)
        return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(native(path).constData(), W_OK) != 0;
}

Result writeTarget(const QString& path, const QString& within, QString* target)
{
    const QFileInfo named(path);
    QString reached = named.absoluteFilePath();
    if (named.isSymLink()) {
        reached = named.canonicalFilePath();
        if (reached.isEmpty()) {
            // A link to nothing yet: the write creates the file it names.
            reached = named.symLinkTarget();
            if (QFileInfo(reached).isSymLink())
                return Result::failure(
                    QStringLiteral("%1: the link leads to another link that leads nowhere").arg(path));
        }
    }
    if (target)
        *target = reached;
    const QString place = QFileInfo(QFileInfo(reached).absolutePath()).canonicalFilePath();
    if (place.isEmpty())
        return {}; // no folder to write into: the write itself says so
    const QString folder = QFileInfo(within.isEmpty() ? named.absolutePath() : within).canonicalFilePath();
    if (folder.isEmpty() || !inFolder(folder, place))
        return Result::failure(QStringLiteral("%1: leads through a link to %2, outside the folder %3; nothing is "
                                              "written there")
                                   .arg(path, reached, folder.isEmpty() ? within : folder));
    return {};
}

Result writeAtomically(const QString& path, const QByteArray& data, const QString& within)
{
    const ForgetLookups forget;
    QString target;
    if (Result r = writeTarget(path, within, &target); !r)
        return r;
    const QFileInfo fi(target);
    const QString dir = fi.absolutePath();
    if (!QFileInfo(dir).isDir())
        return Result::failure(QStringLiteral("%1: the folder does not exist").arg(target));

    mode_t mode = 0666 & ~[] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    struct stat st{};
    bool exists = false;
    if (::stat(native(target).constData(), &st) == 0) {
        exists = true;
        if (!S_ISREG(st.st_mode))
            return Result::failure(QStringLiteral("%1: is not a regular file").arg(target));
        if (isReadOnly(target))
            return Result::failure(QStringLiteral("%1: the file is read-only").arg(target));
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return fail(target, QStringLiteral("cannot examine the file"), errno);
    }

    if (Result r = placeNewFile(dir, fi.fileName(), data, mode, exists ? &st : nullptr, target,
                                Placement::Replace, true);
        !r)
        return r;
    syncDir(dir);
    return {};
}

Result writeNew(const QString& path, const QByteArray& data, bool durable)
{
    const ForgetLookups forget;
    const QFileInfo fi(path);
    const QString dir = fi.absolutePath();
    struct stat st{};
    if (::lstat(native(path).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return Result::failure(QStringLiteral("%1: is a folder").arg(path));
        if (S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return Result::failure(QStringLiteral("%1: the file is read-only").arg(path));
    } else if (errno != ENOENT) {
        return fail(path, QStringLiteral("cannot examine the file"), errno);
    }
    // A replacement takes the name itself: a link there is dropped, not followed.
    if (Result r = placeNewFile(dir, fi.fileName(), data, 0600, nullptr, path, Placement::Replace, durable); !r)
        return r;
    if (durable)
        syncDir(dir);
    return {};
}

Result copyIfAbsent(const QString& source, const QString& target, bool* created)
{
    const ForgetLookups forget;
    if (created)
        *created = false;
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        return {};
    QByteArray data;
    if (Result r = readAllFresh(source, &data); !r)
        return r;
    struct stat st{};
    mode_t mode = 0644;
    if (::stat(native(source).constData(), &st) == 0)
        mode = st.st_mode & 0777;
    const QFileInfo fi(target);
    const QString dir = fi.absolutePath();
    // A backup that appeared in the meantime stays as it is.
    bool existed = false;
    if (Result r = placeNewFile(dir, fi.fileName(), data, mode, nullptr, target, Placement::KeepExisting, true,
                                &existed);
        !r)
        return r;
    if (existed)
        return {};
    syncDir(dir);
    if (created)
        *created = true;
    return {};
}

Result patchBytes(const QString& path, qint64 offset, const QByteArray& data)
{
    const ForgetLookups forget;
    const QByteArray n = native(path);
    // A pipe without a reader would block a plain open.
    const int fd = ::open(n.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(path, QStringLiteral("cannot open the file for writing"), errno);
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || offset < 0 ||
        offset + data.size() > static_cast<qint64>(st.st_size)) {
        ::close(fd);
        return Result::failure(QStringLiteral("%1: the position lies outside the file").arg(path));
    }
    qint64 done = 0;
    int err = 0;
    while (done < data.size()) {
        const ssize_t w = ::pwrite(fd, data.constData() + done, static_cast<size_t>(data.size() - done),
                                   static_cast<off_t>(offset + done));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        done += w;
    }
    if (!err && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && !err)
        err = errno;
    if (err)
        return fail(path, QStringLiteral("cannot write the file"), err);
    return {};
}

Result clearReadOnly(const QString& path)
{
    const ForgetLookups forget;
    struct stat st{};
    const QByteArray n = native(path);
    if (::stat(n.constData(), &st) != 0)
        return fail(path, QStringLiteral("cannot examine the file"), errno);
    if ((st.st_mode & S_IWUSR) != 0)
        return {};
    if (::chmod(n.constData(), (st.st_mode & 07777) | S_IWUSR) != 0)
        return fail(path, QStringLiteral("cannot make the file writable"), errno);
    return {};
}

bool remove(const QString& path)
{
    const ForgetLookups forget;
    return QFile::remove(path);
}

int removeStaleTemporaries(const QString& dir, qint64 minAgeSeconds)
{
    DIR* d = ::opendir(native(dir).constData());
    if (!d)
        return 0;
    const int dfd = ::dirfd(d);
    const uid_t me = ::geteuid();
    const qint64 now = static_cast<qint64>(::time(nullptr));
    int removed = 0;
    while (const dirent* e = ::readdir(d)) {
        if (!isTempName(QByteArrayView(e->d_name)))
            continue;
        struct stat st{};
        if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        // Only a file of ours that nobody has written for a while: a rewrite
        // under way (of this or another run) keeps its file.
        if (!S_ISREG(st.st_mode) || st.st_uid != me || now - static_cast<qint64>(st.st_mtime) < minAgeSeconds)
            continue;
        if (::unlinkat(dfd, e->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(d);
    if (removed > 0)
        platform::paths::forgetLookups();
    return removed;
}

} // namespace platform::fileio
