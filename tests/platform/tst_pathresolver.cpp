#include "platform/PathResolver.h"
#include "platform/FileIo.h"

#include "TestUtil.h"

#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using namespace platform::paths;

class TestPathResolver : public QObject
{
    Q_OBJECT
private slots:
    void wildcards_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("match");
        QTest::newRow("star ext") << "*.air" << "B738.AIR" << true;
        QTest::newRow("star ext no") << "*.air" << "B738.air.bak" << false;
        QTest::newRow("texture.* own name") << "texture.*" << "texture" << true;
        QTest::newRow("texture.* suffix") << "texture.*" << "Texture.KLM" << true;
        QTest::newRow("texture.* other") << "texture.*" << "textures" << false;
        QTest::newRow("star dot no ext") << "*." << "Airplanes" << true;
        QTest::newRow("star dot with ext") << "*." << "fsx.cfg" << false;
        QTest::newRow("question") << "model.?" << "model.A" << true;
        QTest::newRow("question needs one") << "model.?" << "model." << false;
        QTest::newRow("plain case") << "Model.cfg" << "model.CFG" << true;
        QTest::newRow("latin-1 case") << "\u00e9t\u00e9" << "\u00c9T\u00c9" << true;
        QTest::newRow("star everything") << "*" << "x" << true;
        QTest::newRow("backtracking") << "*a*b" << "xxaxxbxb" << true;
    }
    void wildcards()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, match);
        QCOMPARE(wildcardMatch(pattern, name), match);
    }

    void resolvesEachComponentWithoutCase()
    {
        QTemporaryDir tmp;
        testutil::writeFile(tmp.path() + "/Model.A320/Model.cfg", "x");
        QCOMPARE(resolveUnder(tmp.path(), u"model.a320\\model.cfg"), tmp.path() + "/Model.A320/Model.cfg");
        QCOMPARE(resolveUnder(tmp.path(), u"MODEL.A320/MODEL.CFG"), tmp.path() + "/Model.A320/Model.cfg");
        // A missing tail keeps the caller's spelling.
        QCOMPARE(resolveUnder(tmp.path(), u"model.a320\\x\\y.mdl"), tmp.path() + "/Model.A320/x/y.mdl");
        // Empty components and "." are skipped, ".." goes up.
        QCOMPARE(resolveUnder(tmp.path(), u"model.a320\\\\.\\..\\MODEL.a320"), tmp.path() + "/Model.A320");
    }

    void lookupScopeForgetsWhatWritesChange()
    {
        QTemporaryDir tmp;
        testutil::writeFile(tmp.path() + "/Model/Model.cfg", "x");
        const LookupScope lookups;
        QVERIFY(!fileExists(tmp.path() + "/model/NEW.air"));
        QCOMPARE(resolveUnder(tmp.path(), u"model/new.air"), tmp.path() + "/Model/new.air");
        QVERIFY(platform::fileio::writeNew(tmp.path() + "/Model/New.air", "a"));
        QVERIFY(regularFileExists(tmp.path() + "/model/NEW.air"));
        QCOMPARE(resolveUnder(tmp.path(), u"model/new.air"), tmp.path() + "/Model/New.air");
        QVERIFY(QFile::remove(tmp.path() + "/Model/New.air"));
        forgetLookups();
        QVERIFY(!fileExists(tmp.path() + "/model/NEW.air"));
    }

    // Inside a scope the canonical path is built from the parent's; it must
    // name what QFileInfo names, links and all.
    void canonicalPathMatchesQFileInfo_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("folder itself") << QString();
        QTest::newRow("file") << "real/sub/file.cfg";
        QTest::newRow("link in the middle") << "linkdir/sub/file.cfg";
        QTest::newRow("link as last part") << "real/filelink";
        QTest::newRow("link to a link") << "linkdir/filelink";
        QTest::newRow("dangling link") << "dangling";
        QTest::newRow("missing below a link") << "linkdir/none/file.cfg";
        QTest::newRow("missing") << "real/none";
        QTest::newRow("dot-dot through a link") << "linkdir/sub/../sub/file.cfg";
        QTest::newRow("trailing slash") << "real/sub/";
    }
    void canonicalPathMatchesQFileInfo()
    {
        QFETCH(QString, relative);
        QTemporaryDir tmp;
        testutil::writeFile(tmp.path() + "/real/sub/file.cfg", "x");
        QVERIFY(QFile::link(tmp.path() + "/real", tmp.path() + "/linkdir"));
        QVERIFY(QFile::link("sub/file.cfg", tmp.path() + "/real/filelink"));
        QVERIFY(QFile::link(tmp.path() + "/nowhere", tmp.path() + "/dangling"));
        const QString path = tmp.path() + u'/' + relative;
        const QString expected = QFileInfo(path).canonicalFilePath();
        QCOMPARE(canonicalPath(path), expected);
        const LookupScope lookups;
        QCOMPARE(canonicalPath(tmp.path() + "/real/sub"), QFileInfo(tmp.path() + "/real/sub").canonicalFilePath());
        QCOMPARE(canonicalPath(path), expected);
        QCOMPARE(canonicalPath(path), expected);
    }

    void rememberedValuesLastForTheScope()
    {
        QTemporaryDir tmp;
        const QString file = tmp.path() + "/aircraft.cfg";
        QVERIFY(platform::fileio::writeNew(file, "one"));
        int computed = 0;
        const auto count = [&computed] { return ++computed; };
        QCOMPARE(remembered(QStringLiteral("k"), count), 1);
        QCOMPARE(remembered(QStringLiteral("k"), count), 2); // no scope, nothing kept
        const LookupScope lookups;
        QCOMPARE(remembered(QStringLiteral("k"), count), 3);
        QCOMPARE(remembered(QStringLiteral("k"), count), 3);
        QByteArray bytes;
        QVERIFY(platform::fileio::readAll(file, &bytes));
        QCOMPARE(bytes, QByteArray("one"));
        // A write through the program's file layer leaves nothing stale.
        QVERIFY(platform::fileio::writeAtomically(file, "two"));
        QCOMPARE(remembered(QStringLiteral("k"), count), 4);
        QVERIFY(platform::fileio::readAll(file, &bytes));
        QCOMPARE(bytes, QByteArray("two"));
        // What another program writes meanwhile reaches a fresh read, which the scope then keeps.
        testutil::writeFile(file, "three");
        QVERIFY(platform::fileio::readAllFresh(file, &bytes));
        QCOMPARE(bytes, QByteArray("three"));
        QVERIFY(platform::fileio::readAll(file, &bytes));
        QCOMPARE(bytes, QByteArray("three"));
        forgetLookups();
        QCOMPARE(remembered(QStringLiteral("k"), count), 5);
        // Bytes patched in place (an .air type, a model's radius) count as a write.
        QVERIFY(platform::fileio::patchBytes(file, 0, "T"));
        QCOMPARE(remembered(QStringLiteral("k"), count), 6);
        QVERIFY(platform::fileio::readAll(file, &bytes));
        QCOMPARE(bytes, QByteArray("Three"));
        // A read that fails is not kept.
        QVERIFY(!platform::fileio::readAll(tmp.path() + "/none.cfg", &bytes));
        testutil::writeFile(tmp.path() + "/none.cfg", "late");
        QVERIFY(platform::fileio::readAll(tmp.path() + "/none.cfg", &bytes));
        QCOMPARE(bytes, QByteArray("late"));
    }

    void exactMatchWins()
    {
        QTemporaryDir tmp;
        testutil::writeFile(tmp.path() + "/texture.cfg", "lower");
        testutil::writeFile(tmp.path() + "/Texture.cfg", "upper");
        QCOMPARE(resolveUnder(tmp.path(), u"Texture.cfg"), tmp.path() + "/Texture.cfg");
        QCOMPARE(resolveUnder(tmp.path(), u"texture.cfg"), tmp.path() + "/texture.cfg");
        // Neither spelled exactly: the first in listing order.
        QCOMPARE(resolveUnder(tmp.path(), u"TEXTURE.CFG"), tmp.path() + "/Texture.cfg");
    }

    void fileExistence_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("any");
        QTest::addColumn<bool>("file");
        QTest::addColumn<bool>("folder");
        QTest::newRow("empty path") << QString() << false << false << false;
        QTest::newRow("folder") << "Texture.A" << true << false << true;
        QTest::newRow("folder trailing slash") << "texture.a/" << true << false << true;
        QTest::newRow("file any case") << "TEXTURE.A/Plane_T.BMP" << true << true << false;
        QTest::newRow("wildcard file") << "texture.a/*.bmp" << true << true << false;
        QTest::newRow("wildcard dds none") << "texture.a/*.dds" << false << false << false;
        QTest::newRow("wildcard folder") << "texture.*" << true << false << true;
        QTest::newRow("missing") << "nothing/here" << false << false << false;
        QTest::newRow("missing middle with wildcard") << "nothing/*.bmp" << false << false << false;
    }
    void fileExistence()
    {
        QFETCH(QString, relative);
        QFETCH(bool, any);
        QFETCH(bool, file);
        QFETCH(bool, folder);
        QTemporaryDir tmp;
        testutil::writeFile(tmp.path() + "/Texture.A/plane_t.bmp", "BM");
        const QString path = relative.isNull() ? QString() : tmp.path() + "/" + relative;
        QCOMPARE(fileExists(path), any);
        QCOMPARE(regularFileExists(path), file);
        QCOMPARE(folderExists(path), folder);
    }

    void listingOrderIgnoresCase()
    {
        QTemporaryDir tmp;
        for (const char* n : {"texture.b", "Texture.A", "texture", "TEXTURE.c"})
            testutil::makeDir(tmp.path() + "/" + n);
        testutil::writeFile(tmp.path() + "/texture.cfg", "");
        QCOMPARE(matchEntries(tmp.path(), u"texture.*", EntryKind::Dirs),
                 QStringList({"texture", "Texture.A", "texture.b", "TEXTURE.c"}));
        QCOMPARE(matchEntries(tmp.path(), u"texture.*", EntryKind::Files), QStringList({"texture.cfg"}));
    }

    // A lookup scope reads a folder once for every kind of listing: each
    // kind must list what it lists without one, links and odd entries too.
    void scopedListingsMatchFreshOnes()
    {
        QTemporaryDir tmp;
        const QString d = tmp.path();
        testutil::makeDir(d + "/Dir");
        testutil::writeFile(d + "/file.cfg", "");
        testutil::writeFile(d + "/.hidden", "");
        QVERIFY(QFile::link(d + "/Dir", d + "/dirlink"));
        QVERIFY(QFile::link(d + "/file.cfg", d + "/filelink"));
        QVERIFY(QFile::link(d + "/nowhere", d + "/dangling"));
        QCOMPARE(::mkfifo(QFile::encodeName(d + "/pipe").constData(), 0600), 0);
        for (const EntryKind first : {EntryKind::Files, EntryKind::Dirs, EntryKind::Any}) {
            const QStringList files = matchEntries(d, u"*", EntryKind::Files);
            const QStringList dirs = matchEntries(d, u"*", EntryKind::Dirs);
            const QStringList any = matchEntries(d, u"*", EntryKind::Any);
            const LookupScope lookups;
            // Whichever kind is asked first, the others come from the same reading.
            (void)matchEntries(d, u"*", first);
            QCOMPARE(matchEntries(d, u"*", EntryKind::Files), files);
            QCOMPARE(matchEntries(d, u"*", EntryKind::Dirs), dirs);
            QCOMPARE(matchEntries(d, u"*", EntryKind::Any), any);
        }
    }

    // As NTFS lists them: code values of the characters in capitals, so the
    // signs between 'Z' and 'a' come after every letter.
    void listingOrder_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("letters without regard to case") << "a" << "B";
        QTest::newRow("z before [") << "Z" << "[x]";
        QTest::newRow("lower z before [") << "z" << "[x]";
        QTest::newRow("[ before _") << "[x]" << "_old";
        QTest::newRow("digit before letter") << "9" << "a";
        QTest::newRow("shorter first") << "tex" << "Texture";
        QTest::newRow("same in capitals: code values") << "Ab" << "ab";
    }
    void listingOrder()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(listingLess(first, second));
        QVERIFY(!listingLess(second, first));

        QTemporaryDir tmp;
        for (const QString& n : {second, first})
            testutil::makeDir(tmp.path() + "/" + n);
        QCOMPARE(matchEntries(tmp.path(), u"*", EntryKind::Dirs), QStringList({first, second}));
    }
};

QTEST_GUILESS_MAIN(TestPathResolver)
#include "tst_pathresolver.moc"
