#include "mainwindow/AirMdlFormat.h"

#include "TestUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtEndian>
#include <QTest>

#include <limits>

using namespace airmdl;

Q_DECLARE_METATYPE(airmdl::WriteStatus)

namespace {

QByteArray le32(qint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<qint32>(v, b.data());
    return b;
}

// One record: id, length (the data's size unless given) and data.
QByteArray rec(qint32 id, const QByteArray& data, std::optional<qint32> length = {})
{
    return le32(id) + le32(length.value_or(static_cast<qint32>(data.size()))) + data;
}

QByteArray typeData(qint32 type)
{
    return le32(type);
}

const QByteArray kTwoOthers = rec(1, QByteArray(10, 'x')) + rec(2, {}); // the type record follows at 26

QByteArray mdl(const QByteArray& tag, qsizetype size, quint8 radius = 0)
{
    QByteArray b(size, '\x11');
    b.replace(8, qMin<qsizetype>(4, size - 8), tag.left(size - 8));
    if (size > 28)
        b[28] = static_cast<char>(radius);
    return b;
}

} // namespace

class TestAirMdlFormat : public QObject
{
    Q_OBJECT
private slots:
    void typeRecord_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("offset"); // -1: no type record
        QTest::addColumn<qint32>("type");
        QTest::addColumn<int>("index");

        QTest::newRow("first record, AI") << rec(0x105, typeData(2)) << 0ll << 2 << 3;
        QTest::newRow("after records of 10 and 0") << kTwoOthers + rec(0x105, typeData(1)) << 26ll << 1 << 2;
        QTest::newRow("normal") << rec(0x105, typeData(0) + "more") << 0ll << 0 << 1;
        QTest::newRow("unknown type 3") << rec(0x105, typeData(3)) << 0ll << 3 << 0;
        QTest::newRow("01 00 05 00 reads 32 bits")
            << rec(0x105, QByteArray("\x01\x00\x05\x00", 4)) << 0ll << 0x00050001 << 0;
        QTest::newRow("negative type") << rec(0x105, typeData(-1)) << 0ll << -1 << 0;
        QTest::newRow("first 0x105 wins")
            << rec(0x105, typeData(1)) + rec(0x105, typeData(2)) << 0ll << 1 << 2;
        QTest::newRow("data runs past the end, type inside") << rec(0x105, typeData(2), 100) << 0ll << 2 << 3;

        const qint64 none = -1;
        QTest::newRow("empty file") << QByteArray() << none << 0 << 0;
        QTest::newRow("no 0x105") << rec(1, "abcd") + rec(0x104, typeData(2)) << none << 0 << 0;
        QTest::newRow("id 0x105 needs all 4 bytes") << rec(0x10105, typeData(2)) << none << 0 << 0;
        QTest::newRow("header cut short") << rec(1, {}) + QByteArray(7, '\0') << none << 0 << 0;
        QTest::newRow("type record header only") << le32(0x105) + le32(4) << none << 0 << 0;
        QTest::newRow("type cut after 3 bytes") << le32(0x105) + le32(4) + "\x02\x00\x00" << none << 0 << 0;
        QTest::newRow("type record of length 3") << rec(0x105, typeData(2), 3) << none << 0 << 0;
        QTest::newRow("type record of length 0") << rec(0x105, typeData(2), 0) << none << 0 << 0;
        QTest::newRow("type record of negative length") << rec(0x105, typeData(2), -4) << none << 0 << 0;
        QTest::newRow("short type record, valid one later")
            << rec(0x105, "\x02\x00", 2) + rec(0x105, typeData(2)) << none << 0 << 0;
        QTest::newRow("length -8 would loop") << rec(1, {}, -8) + rec(0x105, typeData(2)) << none << 0 << 0;
        QTest::newRow("length backwards") << rec(0x105 - 1, {}) + rec(1, {}, -16) << none << 0 << 0;
        QTest::newRow("length INT_MIN") << rec(1, {}, std::numeric_limits<qint32>::min()) << none << 0 << 0;
        QTest::newRow("length INT_MAX") << rec(1, {}, std::numeric_limits<qint32>::max()) << none << 0 << 0;
        QTest::newRow("length past the end hides a record")
            << rec(1, rec(0x105, typeData(2)), 100) << none << 0 << 0;
        QTest::newRow("chain ends exactly at the end") << rec(1, "ab") + rec(2, "cd") << none << 0 << 0;
        // A length of -4 moves on by 4 bytes; the walk runs off the end, it does not loop.
        QTest::newRow("length -4 creeps forward") << rec(1, {}, -4) + le32(-4) + le32(-4) << none << 0 << 0;
    }
    void typeRecord()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, offset);
        QFETCH(qint32, type);
        QFETCH(int, index);

        const std::optional<TypeRecord> r = findTypeRecord(bytes);
        QCOMPARE(r.has_value(), offset >= 0);
        if (r) {
            QCOMPARE(r->offset, offset);
            QCOMPARE(r->type, type);
            QCOMPARE(airTypeIndex(r->type), index);
        }

        // The file reader agrees with the byte walk.
        QTemporaryDir tmp;
        const QString path = testutil::writeFileIn(tmp, "plane.air", bytes);
        const AirRead read = readAirType(path);
        QCOMPARE(read.status, offset >= 0 ? AirStatus::Found : AirStatus::NoTypeRecord);
        if (r) {
            QCOMPARE(read.record.offset, offset);
            QCOMPARE(read.record.type, type);
        }
    }

    void readStatus()
    {
        QTemporaryDir tmp;
        QCOMPARE(readAirType(tmp.path() + "/missing.air").status, AirStatus::Missing);
        testutil::makeDir(tmp.path() + "/folder.air");
        // A folder of that name is no file: missing, like a pipe or a device.
        QCOMPARE(readAirType(tmp.path() + "/folder.air").status, AirStatus::Missing);
        if (testutil::runningAsRoot())
            QSKIP("root reads files without read permission");
        const QString locked = tmp.path() + "/locked.air";
        testutil::writeFile(locked, rec(0x105, typeData(2)));
        testutil::setMode(locked, 0);
        const AirRead r = readAirType(locked);
        QCOMPARE(r.status, AirStatus::Unreadable);
        QVERIFY(!r.error.isEmpty());
    }

    void writeType_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("after"); // equal to before when not written
        QTest::addColumn<WriteStatus>("status");

        const QByteArray first = rec(0x105, typeData(0) + "tail");
        QTest::newRow("AI") << first << 2 << rec(0x105, typeData(2) + "tail") << WriteStatus::Written;
        QTest::newRow("helicopter") << first << 1 << rec(0x105, typeData(1) + "tail") << WriteStatus::Written;
        QTest::newRow("normal") << rec(0x105, typeData(2)) << 0 << rec(0x105, typeData(0))
                                << WriteStatus::Written;
        QTest::newRow("bytes 10 and 11 stay")
            << rec(0x105, QByteArray("\x01\x00\x05\x00", 4)) << 2
            << rec(0x105, QByteArray("\x02\x00\x05\x00", 4)) << WriteStatus::Written;
        QTest::newRow("16-bit negative")
            << rec(0x105, typeData(0)) << -1 << rec(0x105, QByteArray("\xff\xff\x00\x00", 4))
            << WriteStatus::Written;
        const QByteArray later = kTwoOthers + rec(0x105, typeData(0)) + rec(0x105, typeData(0));
        QByteArray laterAfter = later;
        laterAfter[34] = 2;
        QTest::newRow("third record only") << later << 2 << laterAfter << WriteStatus::Written;

        const QByteArray noRecord = rec(1, "abcd") + rec(2, typeData(0));
        QTest::newRow("no type record") << noRecord << 2 << noRecord << WriteStatus::NotApplicable;
        QTest::newRow("empty file") << QByteArray() << 2 << QByteArray() << WriteStatus::NotApplicable;
        const QByteArray looping = rec(1, {}, -8) + rec(0x105, typeData(0));
        QTest::newRow("length -8") << looping << 2 << looping << WriteStatus::NotApplicable;
        const QByteArray pastEnd = rec(1, rec(0x105, typeData(0)), 64);
        QTest::newRow("length past the end") << pastEnd << 2 << pastEnd << WriteStatus::NotApplicable;
        const QByteArray shortType = rec(0x105, "\x00\x00", 2);
        QTest::newRow("type record too short") << shortType << 2 << shortType << WriteStatus::NotApplicable;
    }
    void writeType()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, type);
        QFETCH(QByteArray, after);
        QFETCH(WriteStatus, status);

        QTemporaryDir tmp;
        const QString path = testutil::writeFileIn(tmp, "plane.air", before);
        const WriteResult r = writeAirType(path, static_cast<qint16>(type));
        QCOMPARE(r.status, status);
        QCOMPARE(r.ok(), status == WriteStatus::Written);
        QCOMPARE(r.error.isEmpty(), r.ok());
        QCOMPARE(testutil::readFile(path), after);
    }

    void writeTypeIntoReadOnlyFile()
    {
        QTemporaryDir tmp;
        const QString path = testutil::writeFileIn(tmp, "plane.air", rec(0x105, typeData(0)));
        testutil::setMode(path, 0444);
        QVERIFY(writeAirType(path, 2).ok());
        QCOMPARE(testutil::readFile(path), rec(0x105, typeData(2)));
        QVERIFY(QFileInfo(path).permission(QFile::WriteOwner)); // stays writable
    }

    void writeTypeFailures()
    {
        QTemporaryDir tmp;
        const WriteResult missing = writeAirType(tmp.path() + "/missing.air", 2);
        QCOMPARE(missing.status, WriteStatus::Failed);
        QVERIFY(!missing.error.isEmpty());
        QVERIFY(!QFileInfo::exists(tmp.path() + "/missing.air"));
        testutil::makeDir(tmp.path() + "/folder.air");
        QCOMPARE(writeAirType(tmp.path() + "/folder.air", 2).status, WriteStatus::Failed);
    }

    // Positions beyond the signed 32-bit range end the walk (a sparse file
    // of a little over 2 GiB costs no disk space).
    void positionsBeyond32Bits_data()
    {
        QTest::addColumn<qint32>("firstLength");
        QTest::addColumn<bool>("found");
        // The first record's length puts the type record header at 8 + length.
        QTest::newRow("type ends at 2^31-1") << qint32(0x7FFFFFF3 - 8) << true;
        QTest::newRow("type ends past 2^31-1") << qint32(0x7FFFFFF4 - 8) << false;
        QTest::newRow("header ends past 2^31-1") << qint32(0x7FFFFFF8 - 8) << false;
    }
    void positionsBeyond32Bits()
    {
        QFETCH(qint32, firstLength);
        QFETCH(bool, found);
        QTemporaryDir tmp;
        const QString path = tmp.path() + "/huge.air";
        const qint64 typeOffset = 8 + qint64(firstLength);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(rec(1, {}, firstLength));
            if (!f.resize(0x80000100LL))
                QSKIP("the file system cannot hold a 2 GiB sparse file");
            QVERIFY(f.seek(typeOffset));
            f.write(rec(0x105, typeData(2)));
        }
        const AirRead read = readAirType(path);
        QCOMPARE(read.status, found ? AirStatus::Found : AirStatus::NoTypeRecord);
        const WriteResult w = writeAirType(path, 1);
        QCOMPARE(w.ok(), found);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly) && f.seek(typeOffset + 8));
        QCOMPARE(f.read(4), typeData(found ? 1 : 2));
    }

    // Random and truncated chains: the walk never crashes or loops, the byte
    // and file readers agree, and a write touches exactly the two type bytes
    // or nothing at all.
    void randomChains()
    {
        QRandomGenerator rng(0xF3A1);
        QTemporaryDir tmp;
        const QString path = tmp.path() + "/random.air";
        for (int i = 0; i < 3000; ++i) {
            QByteArray bytes;
            const int records = rng.bounded(6);
            for (int k = 0; k < records; ++k) {
                const qint32 id = rng.bounded(4) == 0 ? 0x105 : static_cast<qint32>(rng.generate());
                QByteArray data(rng.bounded(12), '\0');
                for (char& c : data)
                    c = static_cast<char>(rng.bounded(256));
                std::optional<qint32> length;
                if (rng.bounded(4) == 0)
                    length = rng.bounded(3) == 0 ? static_cast<qint32>(rng.generate()) : rng.bounded(-20, 20);
                bytes += rec(id, data, length);
            }
            bytes.truncate(rng.bounded(bytes.size() + 1));

            const std::optional<TypeRecord> r = findTypeRecord(bytes);
            if (r) {
                QVERIFY(r->offset >= 0 && r->offset + 12 <= bytes.size());
                QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + r->offset), kTypeRecordId);
                QCOMPARE(r->type, qFromLittleEndian<qint32>(bytes.constData() + r->offset + 8));
            }
            if (i % 10 != 0)
                continue;
            testutil::writeFile(path, bytes);
            const AirRead read = readAirType(path);
            QCOMPARE(read.status == AirStatus::Found, r.has_value());
            const WriteResult w = writeAirType(path, 0x0B0A);
            QCOMPARE(w.ok(), r.has_value());
            QByteArray expected = bytes;
            if (r) {
                expected[r->offset + 8] = 0x0A;
                expected[r->offset + 9] = 0x0B;
            }
            QCOMPARE(testutil::readFile(path), expected);
        }
    }

    void truncatedTypeRecord()
    {
        const QByteArray whole = kTwoOthers + rec(0x105, typeData(2));
        for (qsizetype n = 0; n <= whole.size(); ++n) {
            const std::optional<TypeRecord> r = findTypeRecord(whole.left(n));
            QCOMPARE(r.has_value(), n >= 26 + 12);
        }
    }

    void modelHeader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("radius");
        QTest::addColumn<bool>("editable");

        QTest::newRow("MDL9 radius 200") << mdl("MDL9", 64, 0xC8) << true << "FS8/9"
                                         << "200" << true;
        QTest::newRow("MDL8 radius 42") << mdl("MDL8", 29, 42) << true << "FS8/9"
                                        << "42" << true;
        QTest::newRow("MDL8 radius 7, no leading zeros") << mdl("MDL8", 40, 7) << true << "FS8/9"
                                                         << "7" << true;
        QTest::newRow("MDL9 radius 0") << mdl("MDL9", 29, 0) << true << "FS8/9"
                                       << "0" << true;
        QTest::newRow("MDL9 radius 255") << mdl("MDL9", 29, 255) << true << "FS8/9"
                                         << "255" << true;
        QTest::newRow("lower-case mdl9") << mdl("mdl9", 64, 0xC8) << true << "n/a"
                                         << "n/a" << false;
        QTest::newRow("MDLX") << mdl("MDLX", 64, 0xC8) << true << "FSX"
                              << "n/a" << false;
        QTest::newRow("MDLX of 12 bytes") << mdl("MDLX", 12) << true << "FSX"
                                          << "n/a" << false;
        QTest::newRow("other tag of 12 bytes") << mdl("RIFF", 12) << true << "n/a"
                                               << "n/a" << false;
        QTest::newRow("tag with NUL") << mdl(QByteArray("MDL\0", 4), 40) << true << "n/a"
                                      << "n/a" << false;
        QTest::newRow("11 bytes") << mdl("MDLX", 11) << false << ""
                                  << "" << false;
        QTest::newRow("empty") << QByteArray() << false << ""
                               << "" << false;
        QTest::newRow("MDL9 of 28 bytes") << mdl("MDL9", 28) << false << ""
                                          << "" << false;
        QTest::newRow("MDL8 of 12 bytes") << mdl("MDL8", 12) << false << ""
                                          << "" << false;
    }
    void modelHeader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        QFETCH(QString, version);
        QFETCH(QString, radius);
        QFETCH(bool, editable);

        const std::optional<MdlHeader> h = decodeMdlHeader(bytes);
        QCOMPARE(h.has_value(), readable);
        QTemporaryDir tmp;
        const QString path = testutil::writeFileIn(tmp, "plane.mdl", bytes);
        const MdlRead read = readMdlHeader(path);
        QCOMPARE(read.status, readable ? MdlStatus::Decoded : MdlStatus::Unreadable);
        if (!readable) {
            QVERIFY(!read.error.isEmpty());
            return;
        }
        for (const MdlHeader& header : {*h, read.header}) {
            QCOMPARE(header.version, version);
            QCOMPARE(header.radiusText, radius);
            QCOMPARE(header.radiusEditable(), editable);
        }
    }

    void modelFileStatus()
    {
        QTemporaryDir tmp;
        QCOMPARE(readMdlHeader(tmp.path() + "/missing.mdl").status, MdlStatus::Missing);
        testutil::makeDir(tmp.path() + "/folder.mdl");
        QCOMPARE(readMdlHeader(tmp.path() + "/folder.mdl").status, MdlStatus::Missing);
    }

    void writeRadius_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<WriteStatus>("status");

        QTest::newRow("MDL9") << mdl("MDL9", 64, 0xC8) << WriteStatus::Written;
        QTest::newRow("MDL8 of exactly 29 bytes") << mdl("MDL8", 29, 1) << WriteStatus::Written;
        QTest::newRow("MDLX has no radius") << mdl("MDLX", 64, 9) << WriteStatus::NotApplicable;
        QTest::newRow("lower-case mdl8") << mdl("mdl8", 64, 9) << WriteStatus::NotApplicable;
        QTest::newRow("MDL9 of 28 bytes") << mdl("MDL9", 28) << WriteStatus::NotApplicable;
        QTest::newRow("11 bytes") << mdl("MDL9", 11) << WriteStatus::NotApplicable;
    }
    void writeRadius()
    {
        QFETCH(QByteArray, before);
        QFETCH(WriteStatus, status);
        QTemporaryDir tmp;
        const QString path = testutil::writeFileIn(tmp, "plane.mdl", before);
        testutil::setMode(path, 0444); // a read-only model is made writable first
        const WriteResult r = writeMdlRadius(path, 42);
        QCOMPARE(r.status, status);
        QByteArray expected = before;
        if (status == WriteStatus::Written)
            expected[28] = 42;
        QCOMPARE(testutil::readFile(path), expected);
        QVERIFY(QFileInfo(path).permission(QFile::WriteOwner));
    }

    void writeRadiusMissingFile()
    {
        QTemporaryDir tmp;
        const WriteResult r = writeMdlRadius(tmp.path() + "/missing.mdl", 1);
        QCOMPARE(r.status, WriteStatus::Failed);
        QVERIFY(!QFileInfo::exists(tmp.path() + "/missing.mdl"));
    }
};

QTEST_GUILESS_MAIN(TestAirMdlFormat)
#include "tst_airmdlformat.moc"
