#include "platform/FileIo.h"

#include "platform/PathResolver.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
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

// Follows symbolic links to the file that is really written.
QString finalTarget(const QString& path)
{
    const QFileInfo fi(path);
    if (fi.isSymLink()) {
        const QString target = fi.canonicalFilePath();
        if (!target.isEmpty())
            return target;
        return fi.symLinkTarget();
    }
    return path;
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

// Creates a temporary file in `dir`, writes `data` and syncs it (unless not
// `durable`). Returns the descriptor's path in *tmpPath; the caller renames or
// unlinks it.
Result writeTemp(const QString& dir, const QString& baseName, const QByteArray& data, mode_t mode,
                 QByteArray* tmpPath, bool durable = true)
{
    QByteArray templ = native(dir) + "/." + native(baseName) + ".fq-XXXXXX";
    const int fd = ::mkstemp(templ.data());
    if (fd < 0)
        return fail(dir, QStringLiteral("cannot create a temporary file"), errno);
    int err = 0;
    if (!writeFully(fd, data.constData(), data.size()))
        err = errno;
    if (!err && ::fchmod(fd, mode) != 0)
        err = errno;
    if (!err && durable && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && !err)
        err = errno;
    if (err) {
        ::unlink(templ.constData());
        return fail(dir, QStringLiteral("cannot write the temporary file"), err);
    }
    *tmpPath = templ;
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

Result writeAtomically(const QString& path, const QByteArray& data)
{
    const ForgetLookups forget;
    const QString target = finalTarget(path);
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

    QByteArray tmp;
    if (Result r = writeTemp(dir, fi.fileName(), data, mode, &tmp); !r)
        return r;
    if (exists) {
        // Keep the owner where we are allowed to; a failure here is harmless.
        [[maybe_unused]] const int ignored = ::chown(tmp.constData(), st.st_uid, st.st_gid);
    }
    if (::rename(tmp.constData(), native(target).constData()) != 0) {
        const int err = errno;
        ::unlink(tmp.constData());
        return fail(target, QStringLiteral("cannot replace the file"), err);
    }
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
    QByteArray tmp;
    if (Result r = writeTemp(dir, fi.fileName(), data, 0600, &tmp, durable); !r)
        return r;
    // rename() replaces the name itself: a link there is dropped, not followed.
    if (::rename(tmp.constData(), native(path).constData()) != 0) {
        const int err = errno;
        ::unlink(tmp.constData());
        return fail(path, QStringLiteral("cannot replace the file"), err);
    }
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
    QByteArray tmp;
    if (Result r = writeTemp(dir, fi.fileName(), data, mode, &tmp); !r)
        return r;
    // link() never replaces an existing name, so a backup that appeared in the
    // meantime stays as it is.
    if (::link(tmp.constData(), native(target).constData()) != 0) {
        const int err = errno;
        if (err == EEXIST) {
            ::unlink(tmp.constData());
            return {};
        }
        // File systems without hard links: fall back to a checked rename.
        if (QFileInfo::exists(target)) {
            ::unlink(tmp.constData());
            return {};
        }
        if (::rename(tmp.constData(), native(target).constData()) != 0) {
            const int err2 = errno;
            ::unlink(tmp.constData());
            return fail(target, QStringLiteral("cannot create the copy"), err2);
        }
    } else {
        ::unlink(tmp.constData());
    }
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

} // namespace platform::fileio
