// The program's own temporary folder, and temporary files that are made new
// whatever stood at their names.
#include "platform/FileIo.h"
#include "platform/PrivateTemp.h"

#include "TestUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace platform;

class TestPrivateTemp : public QObject
{
    Q_OBJECT
private slots:
    void folderFor_data()
    {
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<QString>("folder");
        QTest::newRow("runtime folder") << "/run/user/1000/" << "/run/user/1000/fernquill";
        QTest::newRow("no runtime folder") << "" << "/var/tmp/fernquill-1000";
        QTest::newRow("relative runtime folder") << "run" << "/var/tmp/fernquill-1000";
    }
    void folderFor()
    {
        QFETCH(QString, runtime);
        QFETCH(QString, folder);
        QCOMPARE(privatetemp::folderFor(runtime, QStringLiteral("/var/tmp/"), 1000), folder);
    }

    void prepare_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("refusal"); // empty: usable
        QTest::newRow("missing: made") << "missing" << "";
        QTest::newRow("own folder") << "own" << "";
        QTest::newRow("another user's folder") << "foreign" << "it belongs to another user.";
        QTest::newRow("link to an own folder") << "link" << "it is a symbolic link.";
        QTest::newRow("dangling link") << "dangling" << "it is a symbolic link.";
        QTest::newRow("a file") << "file" << "it is not a folder.";
        QTest::newRow("writable by all") << "open" << "other users may write into it.";
    }
    void prepare()
    {
        QFETCH(QString, kind);
        QFETCH(QString, refusal);
        QTemporaryDir tmp;
        const QString folder = tmp.path() + "/fernquill";
        const QString target = tmp.path() + "/target";
        testutil::makeDir(target);
        if (kind == "own" || kind == "foreign" || kind == "open")
            testutil::makeDir(folder);
        if (kind == "open")
            testutil::setMode(folder, 0777);
        if (kind == "link")
            QVERIFY(QFile::link(target, folder));
        if (kind == "dangling")
            QVERIFY(QFile::link(tmp.path() + "/gone", folder));
        if (kind == "file")
            testutil::writeFile(folder, "x");
        // Another user's folder: checked against a uid that is not ours.
        const unsigned uid = privatetemp::currentUid() + (kind == "foreign" ? 1 : 0);

        const QString error = privatetemp::prepare(folder, uid);
        if (refusal.isEmpty()) {
            QCOMPARE(error, QString());
            QVERIFY(QFileInfo(folder).isDir());
            if (kind == "missing")
                QCOMPARE(testutil::linkModeOf(folder), 0700u);
        } else {
            QVERIFY2(error.contains(folder) && error.endsWith(refusal), qPrintable(error));
        }
        QVERIFY(!QFileInfo::exists(tmp.path() + "/gone"));
        QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
    }

    void writeNewReplacesTheName_data()
    {
        QTest::addColumn<QString>("standing"); // what stands at the name
        QTest::addColumn<bool>("ok");
        QTest::newRow("nothing") << "" << true;
        QTest::newRow("own file") << "file" << true;
        QTest::newRow("link to another file") << "link" << true;
        QTest::newRow("dangling link") << "dangling" << true;
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("read-only file") << "readonly" << false;
    }
    void writeNewReplacesTheName()
    {
        QFETCH(QString, standing);
        QFETCH(bool, ok);
        QTemporaryDir tmp;
        const QString name = tmp.path() + "/zibcheck.log";
        const QString victim = tmp.path() + "/victim";
        testutil::writeFile(victim, "keep");
        if (standing == "file" || standing == "readonly")
            testutil::writeFile(name, "old");
        if (standing == "readonly")
            testutil::setMode(name, 0444);
        if (standing == "link")
            QVERIFY(QFile::link(victim, name));
        if (standing == "dangling")
            QVERIFY(QFile::link(tmp.path() + "/gone", name));
        if (standing == "folder")
            testutil::makeDir(name);

        const fileio::Result r = fileio::writeNew(name, "report");
        QCOMPARE(r.ok, ok);
        QCOMPARE(testutil::readFile(victim), QByteArray("keep"));
        QVERIFY(!QFileInfo::exists(tmp.path() + "/gone"));
        if (ok) {
            QVERIFY(!QFileInfo(name).isSymLink());
            QCOMPARE(testutil::readFile(name), QByteArray("report"));
            QCOMPARE(testutil::linkModeOf(name), 0600u);
        } else {
            QVERIFY(!r.error.isEmpty());
        }
        // No temporary file is left behind.
        const auto all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(tmp.path()).entryList(all).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestPrivateTemp)
#include "tst_privatetemp.moc"
