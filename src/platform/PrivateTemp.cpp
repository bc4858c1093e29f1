#include "platform/PrivateTemp.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::privatetemp {

QString folderFor(const QString& runtimeDir, const QString& systemTemp, unsigned uid)
{
    if (!runtimeDir.isEmpty() && QDir::isAbsolutePath(runtimeDir))
        return QDir::cleanPath(runtimeDir + QStringLiteral("/fernquill"));
    const QString base = systemTemp.isEmpty() ? QStringLiteral("/tmp") : systemTemp;
    return QDir::cleanPath(base + QStringLiteral("/fernquill-") + QString::number(uid));
}

QString prepare(const QString& folder, unsigned uid)
{
    const QByteArray native = QFile::encodeName(folder);
    const auto refused = [&folder](const QString& why) {
        return QStringLiteral("The temporary folder %1 cannot be used: %2").arg(folder, why);
    };
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return refused(QString::fromLocal8Bit(std::strerror(errno)));

    // lstat: a link standing at the name is judged itself, never its target.
    struct stat st{};
    if (::lstat(native.constData(), &st) != 0)
        return refused(QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISLNK(st.st_mode))
        return refused(QStringLiteral("it is a symbolic link."));
    if (!S_ISDIR(st.st_mode))
        return refused(QStringLiteral("it is not a folder."));
    if (st.st_uid != static_cast<uid_t>(uid))
        return refused(QStringLiteral("it belongs to another user."));
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return refused(QStringLiteral("other users may write into it."));
    return {};
}

unsigned currentUid()
{
    return static_cast<unsigned>(::geteuid());
}

} // namespace platform::privatetemp
