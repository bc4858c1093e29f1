#include "platform/FileIo.h"

#include "TestUtil.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

    // A write through a link lands in the file the link names only inside the
    // folder the write is meant for: the one given, else the one holding the link.
    void linksStayInsideTheirFolder_data()
    {
        QTest::addColumn<QString>("link");   // the link, below the temporary folder
        QTest::addColumn<QString>("target"); // where it leads
        QTest::addColumn<QString>("file");   // the path written
        QTest::addColumn<QString>("real");   // the file that path reaches
        QTest::addColumn<QString>("within"); // the folder given; empty: the default
        QTest::addColumn<bool>("existing");  // the file reached is there before
        QTest::addColumn<bool>("written");
        const QString cfg = QStringLiteral("Plane/aircraft.cfg");
        const QString tcfg = QStringLiteral("Plane/texture.a/texture.cfg");
        QTest::newRow("beside it") << cfg << "Plane/real.cfg" << cfg << "Plane/real.cfg" << "" << true << true;
        QTest::newRow("into a subfolder")
            << cfg << "Plane/sub/real.cfg" << cfg << "Plane/sub/real.cfg" << "" << true << true;
        QTest::newRow("out of the folder")
            << cfg << "Elsewhere/real.cfg" << cfg << "Elsewhere/real.cfg" << "" << true << false;
        QTest::newRow("into the folder above") << cfg << "real.cfg" << cfg << "real.cfg" << "" << true << false;
        QTest::newRow("to another folder of the folder given")
            << tcfg << "Plane/texture/texture.cfg" << tcfg << "Plane/texture/texture.cfg" << "Plane" << true
            << true;
        QTest::newRow("to another folder, none given")
            << tcfg << "Plane/texture/texture.cfg" << tcfg << "Plane/texture/texture.cfg" << "" << true << false;
        QTest::newRow("through a linked folder out of the folder given")
            << "Plane/texture.out" << "Elsewhere" << "Plane/texture.out/texture.cfg" << "Elsewhere/texture.cfg"
            << "Plane" << true << false;
        QTest::newRow("to nothing yet, inside") << cfg << "Plane/new.cfg" << cfg << "Plane/new.cfg" << "" << false
                                                << true;
        QTest::newRow("to nothing yet, outside")
            << cfg << "Elsewhere/new.cfg" << cfg << "Elsewhere/new.cfg" << "" << false << false;
    }
    void linksStayInsideTheirFolder()
    {
        QFETCH(QString, link);
        QFETCH(QString, target);
        QFETCH(QString, file);
        QFETCH(QString, real);
        QFETCH(QString, within);
        QFETCH(bool, existing);
        QFETCH(bool, written);
        QTemporaryDir tmp;
        const QString root = tmp.path() + u'/';
        testutil::makeDir(QFileInfo(root + link).absolutePath());
        testutil::makeDir(QFileInfo(root + real).absolutePath());
        if (existing)
            testutil::writeFile(root + real, "old");
        QVERIFY(QFile::link(root + target, root + link));

        const Result r = writeAtomically(root + file, "new", within.isEmpty() ? QString() : root + within);
        QCOMPARE(r.ok, written);
        QVERIFY(QFileInfo(root + link).isSymLink());
        if (written) {
            QCOMPARE(testutil::readFile(root + real), QByteArray("new"));
        } else {
            QVERIFY(r.error.startsWith(root + file + QStringLiteral(": ")));
            QVERIFY(r.error.contains(u"outside the folder"));
            QCOMPARE(QFileInfo::exists(root + real), existing);
            if (existing)
                QCOMPARE(testutil::readFile(root + real), QByteArray("old"));
            QCOMPARE(QDir(QFileInfo(root + real).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(),
                     existing ? 1 : 0);
        }
        QCOMPARE(writeTarget(root + file, within.isEmpty() ? QString() : root + within).ok, written);
    }

    // A rewrite that is stopped half-way (here: the file may not grow past
    // 1 KiB) leaves the file as it was and nothing else in the folder, where
    // the file system offers unnamed files.
    void stoppedWriteLeavesNothing_data()
    {
        QTest::addColumn<bool>("copy");
        QTest::newRow("rewrite") << false;
        QTest::newRow("backup copy") << true;
    }
    void stoppedWriteLeavesNothing()
    {
        QFETCH(bool, copy);
        QTemporaryDir tmp;
        const int probe = ::open(QFile::encodeName(tmp.path()).constData(), O_TMPFILE | O_WRONLY, 0600);
        if (probe < 0)
            QSKIP("no unnamed files here: a folder load clears what a stopped write leaves");
        ::close(probe);
        const QByteArray big(64 * 1024, 'n');
        const QByteArray before = copy ? big : QByteArray("old");
        const QString f = testutil::writeFileIn(tmp, "aircraft.cfg", before);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            const struct rlimit limit{1024, 1024};
            const struct rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::signal(SIGXFSZ, SIG_DFL);
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, SIGXFSZ);
            ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
            if (copy)
                copyIfAbsent(f, tmp.path() + "/aircraft.zib");
            else
                writeAtomically(f, big);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{"aircraft.cfg"});
        QCOMPARE(testutil::readFile(f), before);
    }

    // What a folder load clears away: only the program's own leftovers.
    void staleTemporaries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // file, link, folder, or foreign (a file of another user)
        QTest::addColumn<bool>("old");
        QTest::addColumn<bool>("removed");
        QTest::newRow("ours, left behind") << ".aircraft.cfg.fq-Ab12Cd" << "file" << true << true;
        QTest::newRow("ours, of another file") << ".texture.cfg.fq-000000" << "file" << true << true;
        QTest::newRow("ours, still being written") << ".aircraft.cfg.fq-Ab12Cd" << "file" << false << false;
        QTest::newRow("five letters") << ".aircraft.cfg.fq-Ab12C" << "file" << true << false;
        QTest::newRow("seven letters") << ".aircraft.cfg.fq-Ab12Cde" << "file" << true << false;
        QTest::newRow("other letters") << ".aircraft.cfg.fq-Ab_2Cd" << "file" << true << false;
        QTest::newRow("not hidden") << "aircraft.cfg.fq-Ab12Cd" << "file" << true << false;
        QTest::newRow("no file name") << ".fq-Ab12Cd" << "file" << true << false;
        QTest::newRow("a link") << ".aircraft.cfg.fq-Ab12Cd" << "link" << true << false;
        QTest::newRow("a folder") << ".aircraft.cfg.fq-Ab12Cd" << "folder" << true << false;
        QTest::newRow("another user's") << ".aircraft.cfg.fq-Ab12Cd" << "foreign" << true << false;
    }
    void staleTemporaries()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(bool, old);
        QFETCH(bool, removed);
        if (kind == u"foreign" && !testutil::runningAsRoot())
            QSKIP("only root can give a file to another user");
        QTemporaryDir tmp;
        const QString dir = tmp.path() + "/Plane";
        const QString path = dir + u'/' + name;
        const QString victim = tmp.path() + "/victim.cfg";
        testutil::writeFile(victim, "keep");
        if (kind == u"link") {
            testutil::makeDir(dir);
            QVERIFY(QFile::link(victim, path));
        } else if (kind == u"folder") {
            testutil::makeDir(path);
        } else {
            testutil::writeFile(path, "half");
            if (kind == u"foreign")
                QCOMPARE(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        }
        if (old) {
            const struct timespec times[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
            for (const QString& p : {path, victim})
                QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(p).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
        }

        QCOMPARE(removeStaleTemporaries(dir), removed ? 1 : 0);
        struct stat st{};
        QCOMPARE(::lstat(QFile::encodeName(path).constData(), &st) == 0, !removed);
        QCOMPARE(testutil::readFile(victim), QByteArray("keep"));
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
