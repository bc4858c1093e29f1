#include "TestUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace testutil {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write fixture %s", qPrintable(path));
    f.write(bytes);
}

QString writeFileIn(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.path() + u'/' + name;
    writeFile(path, bytes);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void makeDir(const QString& path)
{
    if (!QDir().mkpath(path))
        qFatal("cannot create fixture folder %s", qPrintable(path));
}

void setMode(const QString& path, unsigned mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
}

unsigned modeOf(const QString& path)
{
    struct stat st{};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

unsigned linkModeOf(const QString& path)
{
    struct stat st{};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

bool runningAsRoot() { return ::geteuid() == 0; }

} // namespace testutil
