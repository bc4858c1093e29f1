#include "OddFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace testutil {

namespace {

bool makeSocket(const QByteArray& path)
{
    sockaddr_un addr{};
    if (size_t(path.size()) >= sizeof(addr.sun_path))
        return false;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Bound and closed, the socket stays behind as an entry nobody answers.
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0;
    ::close(fd);
    return bound;
}

} // namespace

OddFile::OddFile(const QString& path, const QString& kind) : m_path(path)
{
    const QByteArray n = QFile::encodeName(path);
    if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
        QDir(path).removeRecursively();
    else
        ::unlink(n.constData());
    if (kind == u"fifo")
        m_made = ::mkfifo(n.constData(), 0644) == 0;
    else if (kind == u"socket")
        m_made = makeSocket(n);
    else if (kind == u"device")
        m_made = ::symlink("/dev/null", n.constData()) == 0;
    else if (kind == u"folder")
        m_made = QDir().mkpath(path);
    if (!m_made) {
        qWarning("cannot make a %s at %s: %s", qPrintable(kind), n.constData(), std::strerror(errno));
        return;
    }
    if (kind != u"fifo")
        return;
    // A writer that opens and closes at once releases a reader waiting in
    // open(); the reader then reads the end of the file. Without a reader
    // the open fails at once (ENXIO).
    m_watch = std::thread([this, n] {
        while (!m_stop.load()) {
            const int fd = ::open(n.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                ++m_opens;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
}

OddFile::~OddFile()
{
    m_stop = true;
    if (m_watch.joinable())
        m_watch.join();
}

} // namespace testutil
