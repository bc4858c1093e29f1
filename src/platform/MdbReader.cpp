#include "platform/MdbReader.h"

#include "BuildConfig.h"
#include "platform/MdbWire.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

#include <sys/stat.h>

namespace platform::mdb {

namespace {

const QString kReaderName = QStringLiteral("fernquill-mdbread");

#if defined(__SANITIZE_ADDRESS__)
#define FQ_SANITIZED_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FQ_SANITIZED_BUILD 1
#endif
#endif

// A whole table comes back in a fraction of a second; a reader still busy
// after this long is stuck on the file. A sanitizer build's reader is many
// times slower, the more so on a machine busy with a parallel test run.
#ifdef FQ_SANITIZED_BUILD
constexpr int kTimeLimitMs = 30000;
#else
constexpr int kTimeLimitMs = 5000;
#endif
int timeLimitMs = kTimeLimitMs;
// Far more than any parking-code list: a reader that says more has gone astray.
constexpr qsizetype kMaxOutputBytes = 64 * 1024 * 1024;

TableRows failure(const QString& why)
{
    TableRows r;
    r.error = why;
    return r;
}

bool isProgram(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

// Why the reader read nothing, from its exit status.
QString exitReason(int status, const QString& path, const QString& table, const QStringList& columns)
{
    switch (status) {
    case mdbwire::NotAFile:
        return QStringLiteral("%1: no such file").arg(path);
    case mdbwire::NotADatabase:
        return QStringLiteral("%1: not an Access database").arg(path);
    case mdbwire::NoCatalog:
        return QStringLiteral("%1: the table list cannot be read").arg(path);
    case mdbwire::NoTable:
        return QStringLiteral("%1: no table %2").arg(path, table);
    case mdbwire::TableUnreadable:
        return QStringLiteral("%1: table %2 cannot be read").arg(path, table);
    case mdbwire::ColumnsUnreadable:
        return QStringLiteral("%1: the columns of %2 cannot be read").arg(path, table);
    default:
        break;
    }
    const qsizetype column = status - mdbwire::NoColumn;
    if (column >= 0 && column < columns.size())
        return QStringLiteral("%1: table %2 has no column %3").arg(path, table, columns[column]);
    return QStringLiteral("%1: the Access reader failed (exit status %2)").arg(path).arg(status);
}

} // namespace

QString readerProgram()
{
    if (qEnvironmentVariableIsSet("FERNQUILL_MDBREAD"))
        return qEnvironmentVariable("FERNQUILL_MDBREAD");
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (programFolder.isEmpty())
        return {};
    const QString candidates[] = {
        programFolder + u'/' + kReaderName,
        QDir::cleanPath(programFolder + u'/' + QString::fromUtf8(buildconfig::kReaderFolderFromProgram) +
                        u'/' + kReaderName),
    };
    for (const QString& candidate : candidates) {
        if (isProgram(candidate))
            return candidate;
    }
    return {};
}

void setTimeLimitForTests(int milliseconds)
{
    timeLimitMs = milliseconds > 0 ? milliseconds : kTimeLimitMs;
}

TableRows readTable(const QString& path, const QString& table, const QStringList& columns)
{
    // Only a regular file goes to the reader: a FIFO or a device would keep
    // it waiting, and libmdb looks a relative or missing name up along
    // $MDBPATH, so it gets the absolute path.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    struct stat st = {};
    if (::stat(QFile::encodeName(absolute).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return failure(QStringLiteral("%1: no such file").arg(path));
    if (!QFileInfo(absolute).isReadable())
        return failure(QStringLiteral("%1: not readable").arg(path));
    if (columns.isEmpty() || columns.size() > mdbwire::kMaxColumns)
        return failure(QStringLiteral("%1 columns cannot be read at once").arg(columns.size()));

    const QString reader = readerProgram();
    if (reader.isEmpty() || !isProgram(reader))
        return failure(
            QStringLiteral("the Access reader %1 is missing").arg(reader.isEmpty() ? kReaderName : reader));

    QProcess process;
    process.setProgram(reader);
    process.setArguments(QStringList{absolute, table} + columns);
    process.setStandardInputFile(QProcess::nullDevice());
    // libmdb's complaints about a file go where the program's own would.
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QDeadlineTimer deadline(timeLimitMs);
    const auto remaining = [&deadline] {
        return int(std::max<qint64>(0, deadline.remainingTime()));
    };
    const auto stop = [&process](const QString& why) {
        process.kill();
        process.waitForFinished(1000);
        return failure(why);
    };

    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(remaining()))
        return stop(
            QStringLiteral("the Access reader %1 cannot be started: %2").arg(reader, process.errorString()));
    QByteArray output;
    for (;;) {
        if (process.waitForReadyRead(remaining())) {
            output += process.readAllStandardOutput();
            if (output.size() > kMaxOutputBytes)
                return stop(QStringLiteral("%1: the Access reader gave too much").arg(path));
            continue;
        }
        // Nothing more to read: the reader has ended, closed its output, or
        // run out of time.
        if (process.state() != QProcess::NotRunning && !process.waitForFinished(remaining()))
            return stop(QStringLiteral("%1: the Access reader took too long").arg(path));
        break;
    }
    output += process.readAllStandardOutput();
    if (output.size() > kMaxOutputBytes)
        return failure(QStringLiteral("%1: the Access reader gave too much").arg(path));
    if (process.exitStatus() != QProcess::NormalExit)
        return failure(QStringLiteral("%1: the Access reader broke down on the file").arg(path));
    if (process.exitCode() != mdbwire::Ok)
        return failure(exitReason(process.exitCode(), path, table, columns));

    TableRows rows = decodeRows(output, columns.size());
    if (!rows.ok)
        rows.error = path + QStringLiteral(": ") + rows.error;
    return rows;
}

} // namespace platform::mdb
