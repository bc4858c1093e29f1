#include "platform/FileIo.h"

#include "TestUtil.h"

#include <QFileInfo>
#include <QTest>

using namespace platform::fileio;

using testutil::modeOf;

class TestFileIo : public QObject
{
    Q_OBJECT
private slots:
    void replacesAndKeepsPermissions()
    {
        QTemporaryDir tmp;
        const QString f = testutil::writeFileIn(tmp, "aircraft.cfg", "old");
        testutil::setMode(f, 0640);
        QVERIFY(writeAtomically(f, "new content").ok);
        QCOMPARE(testutil::readFile(f), QByteArray("new content"));
        QCOMPARE(modeOf(f), 0640u);
        // No temporary file is left behind.
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void createsNewFile()
    {
        QTemporaryDir tmp;
        const QString f = tmp.path() + "/new.cfg";
        QVERIFY(writeAtomically(f, "x").ok);
        QCOMPARE(testutil::readFile(f), QByteArray("x"));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("read-only file") << "readonly";
        QTest::newRow("missing folder") << "nofolder";
        QTest::newRow("folder in the way") << "folder";
    }
    void refusals()
    {
        QFETCH(QString, kind);
        QTemporaryDir tmp;
        QString f = tmp.path() + "/aircraft.cfg";
        if (kind == "readonly") {
            testutil::writeFile(f, "keep");
            testutil::setMode(f, 0444);
        } else if (kind == "nofolder") {
            f = tmp.path() + "/missing/aircraft.cfg";
        } else {
            testutil::makeDir(f);
        }
        const Result r = writeAtomically(f, "changed");
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        if (kind == "readonly")
            QCOMPARE(testutil::readFile(f), QByteArray("keep"));
        if (kind == "nofolder")
            QVERIFY(!QFileInfo::exists(f));
    }

    void readOnlyFolderRefusesEvenWhenFileIsWritable()
    {
        if (testutil::runningAsRoot())
            QSKIP("root may write into read-only folders");
        QTemporaryDir tmp;
        const QString dir = tmp.path() + "/ro";
        testutil::writeFile(dir + "/aircraft.cfg", "keep");
        testutil::setMode(dir, 0555);
        QVERIFY(!writeAtomically(dir + "/aircraft.cfg", "changed").ok);
        testutil::setMode(dir, 0755);
        QCOMPARE(testutil::readFile(dir + "/aircraft.cfg"), QByteArray("keep"));
    }

    void followsSymlinkAndKeepsIt()
    {
        QTemporaryDir tmp;
        const QString real = tmp.path() + "/real.cfg";
        const QString link = tmp.path() + "/aircraft.cfg";
        testutil::writeFile(real, "old");
        QVERIFY(QFile::link(real, link));
        QVERIFY(writeAtomically(link, "new").ok);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(testutil::readFile(real), QByteArray("new"));
    }

    void copyIfAbsentNeverOverwrites()
    {
        QTemporaryDir tmp;
        const QString src = tmp.path() + "/aircraft.cfg";
        const QString bak = tmp.path() + "/aircraft.zib";
        testutil::writeFile(src, "first");
        bool created = false;
        QVERIFY(copyIfAbsent(src, bak, &created).ok);
        QVERIFY(created);
        QCOMPARE(testutil::readFile(bak), QByteArray("first"));
        testutil::writeFile(src, "second");
        QVERIFY(copyIfAbsent(src, bak, &created).ok);
        QVERIFY(!created);
        QCOMPARE(testutil::readFile(bak), QByteArray("first"));
    }

    void patchBytesStaysInside_data()
    {
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("middle") << qint64(2) << QByteArray("XY") << true << QByteArray("abXYef");
        QTest::newRow("last byte") << qint64(5) << QByteArray("Z") << true << QByteArray("abcdeZ");
        QTest::newRow("past end") << qint64(5) << QByteArray("ZZ") << false << QByteArray("abcdef");
        QTest::newRow("negative") << qint64(-1) << QByteArray("Z") << false << QByteArray("abcdef");
    }
    void patchBytesStaysInside()
    {
        QFETCH(qint64, offset);
        QFETCH(QByteArray, data);
        QFETCH(bool, ok);
        QFETCH(QByteArray, after);
        QTemporaryDir tmp;
        const QString f = testutil::writeFileIn(tmp, "m.mdl", "abcdef");
        QCOMPARE(patchBytes(f, offset, data).ok, ok);
        QCOMPARE(testutil::readFile(f), after);
    }

    void clearReadOnlyMakesWritable()
    {
        QTemporaryDir tmp;
        const QString f = testutil::writeFileIn(tmp, "b.air", "x");
        testutil::setMode(f, 0444);
        QVERIFY(isReadOnly(f));
        QVERIFY(clearReadOnly(f).ok);
        QVERIFY(!isReadOnly(f));
    }
};

QTEST_GUILESS_MAIN(TestFileIo)
#include "tst_fileio.moc"
