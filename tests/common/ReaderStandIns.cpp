#include "ReaderStandIns.h"

#include "TestUtil.h"

#include "platform/MdbReader.h"

#include <QDir>
#include <QFile>

namespace testutil {

QByteArray corruptParkingSpecs()
{
    const QByteArray bytes = readFile(QStringLiteral(FQ_TEST_DATA_DIR "/corrupt-parkingspecs.mdb"));
    if (bytes.isEmpty())
        qFatal("cannot read %s", FQ_TEST_DATA_DIR "/corrupt-parkingspecs.mdb");
    return bytes;
}

QString readerStartedMark(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("reader-started"));
}

QString writeBadReader(const QString& folder, BadReader kind)
{
    QByteArray body;
    switch (kind) {
    case BadReader::Hangs:
        body = "exec sleep 120";
        break;
    case BadReader::Crashes:
        body = "kill -SEGV $$";
        break;
    case BadReader::Babbles:
        body = "printf 'Airline,Code\\nFernway,FWY\\n'";
        break;
    case BadReader::Floods:
        body = "exec yes Fernway";
        break;
    case BadReader::Fails:
        body = "exit 1";
        break;
    }
    const QString path = QDir(folder).filePath(QStringLiteral("bad-reader"));
    writeFile(path, "#!/bin/sh\n: >'" + QFile::encodeName(readerStartedMark(folder)) + "'\n" + body + "\n");
    setMode(path, 0755);
    return path;
}

ReaderOverride::ReaderOverride(const QString& program, int timeLimitMs)
    : m_previous(qgetenv("FERNQUILL_MDBREAD")), m_wasSet(qEnvironmentVariableIsSet("FERNQUILL_MDBREAD"))
{
    qputenv("FERNQUILL_MDBREAD", QFile::encodeName(program));
    platform::mdb::setTimeLimitForTests(timeLimitMs);
}

ReaderOverride::~ReaderOverride()
{
    platform::mdb::setTimeLimitForTests(0);
    if (m_wasSet)
        qputenv("FERNQUILL_MDBREAD", m_previous);
    else
        qunsetenv("FERNQUILL_MDBREAD");
}

} // namespace testutil
