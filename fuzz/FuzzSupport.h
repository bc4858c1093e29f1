#pragma once

// What the fuzz targets share: a failed check that libFuzzer reports as a
// crash (with the reason printed first), and a folder of the process's own
// for targets that go through files.
#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void check(bool ok, const char* what)
{
    if (!ok)
        fail(what);
}

inline QByteArrayView bytesOf(const uint8_t* data, size_t size)
{
    return QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder below $TMPDIR, removed when the target exits. The writes under
// test sync their files: point TMPDIR at a memory file system (scripts/fuzz.sh
// does) or a disk's sync time is most of every run.
inline QString scratchFile(const QString& name)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/fernquill-fuzz-XXXXXX"));
    check(dir.isValid(), "cannot make a scratch folder");
    return dir.filePath(name);
}

// Puts the bytes into the file as another program would (no temporary file,
// no sync).
inline void put(const QString& path, QByteArrayView bytes)
{
    QFile f(path);
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered),
          "cannot write a scratch file");
    check(f.write(bytes.data(), bytes.size()) == bytes.size(), "cannot write a scratch file");
}

inline QByteArray contents(const QString& path)
{
    QFile f(path);
    check(f.open(QIODevice::ReadOnly | QIODevice::Unbuffered), "cannot read a scratch file");
    return f.readAll();
}

} // namespace fuzz
