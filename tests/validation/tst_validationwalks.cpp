// The folder walks of a validation run and its small file helpers: the
// scan pairs, empty folders, byte-order marks, single keys and list items.
#include "shared/RuntimeError.h"
#include "validation/FolderValidation.h"

#include "FolderValidationScene.h"
#include "TestUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace FolderValidation;
using namespace testutil;

class TestValidationWalks : public testutil::FolderValidationTest
{
    Q_OBJECT

private slots:
    void scanAccumulator()
    {
        const QString ac =
            aircraft(entry(0, ""), {"texture.a/B/x.bmp", "texture.a/a/", "texture.a/a/deep/y.bmp"});
        WalkScope scope(ac);
        ScanAccum acc;
        QVERIFY(AnalyzeTextureFolder(scope, ac + "/texture.a", QStringLiteral("*.bmp"), acc).ok);
        const QString t = ac + "/texture.a";
        QCOMPARE(ScanAccumText(acc),
                 QStringList({t + "/a", "0", t + "/a/deep", "-1", t + "/B", "-1"}).join(u'\u00A6'));
        // A folder that is gone when the walk reaches it ends the walk.
        QVERIFY(!AnalyzeModelFolder(scope, ac + "/gone", acc).ok);
    }

    void symlinksNeverLoopOrLeave()
    {
        const QString ac = aircraft(entry(0, "title=A\r\ntexture=a"),
                                    {"texture.a/t.bmp", "texture.b/t.bmp", "texture.a/e/"});
        const QString outside = m_tmp.path() + "/outside";
        build(outside, {"x.bmp", "empty/"});
        QVERIFY(QFile::link(ac, ac + "/texture.a/loop"));
        QVERIFY(QFile::link(ac + "/texture.a", ac + "/texture.a/self"));
        QVERIFY(QFile::link(outside, ac + "/texture.out"));
        QVERIFY(QFile::link(ac + "/texture.b", ac + "/texture.a/toB"));
        int yields = 0;
        Input in = input(ac);
        in.yield = [&yields] {
            ++yields;
        };
        const Result r = validate(in);
        QCOMPARE(r.status, Status::Ok);
        // texture.b is reached through the link first and again as itself.
        QCOMPARE(r.unusedTextures, (QStringList{"..\\texture.a\\tob", "..\\texture.b"}));
        QCOMPARE(r.emptyFolders, QStringList{"..\\texture.a\\e"});
        QCOMPARE(yields, 5); // ac, texture.a, texture.a/e, texture.a/toB, texture.b
    }

    void walksInNtfsListingOrder()
    {
        const QString ac = aircraft(entry(0, "title=A"), {"model/_old/", "model/[x]/", "model/z/", "model/a/"});
        QCOMPARE(validate(input(ac)).emptyFolders,
                 QStringList({"..\\model\\a", "..\\model\\z", "..\\model\\[x]", "..\\model\\_old"}));
    }

    void emptyFolders()
    {
        const QString ac = aircraft(entry(0, "title=A"), {"Texture.X/Sub/", "Texture.X/Sub2/Deeper/",
                                                          "model/m.mdl", "panel/.hidden"});
        int yields = 0;
        Input in = input(ac);
        in.yield = [&] {
            // A folder vanishing during the walk is passed over.
            // (the walk reaches it fifth: ac, model, panel, Texture.X, Sub)
            if (++yields == 5)
                QDir(ac + "/Texture.X/Sub").removeRecursively();
        };
        const Result r = validate(in);
        QCOMPARE(r.status, Status::Ok);
        QCOMPARE(r.emptyFolders, QStringList{"..\\Texture.X\\Sub2\\Deeper"});
        QCOMPARE(r.emptyFolderBase, ac + "/");
        QCOMPARE(r.aircraftFolderText, ac + "/");
    }

    void bomOf40000Bytes()
    {
        QByteArray body = "[fltsim]\r\nfallback.1=..\\texture\r\n";
        body += QByteArray(40000 - 3 - body.size(), 'a');
        const QString ac = aircraft(entry(0, "title=A\r\ntexture=x"), {"texture/a.bmp", "texture.x/"});
        testutil::writeFile(ac + "/texture.x/texture.cfg", "\xEF\xBB\xBF" + body);
        const Result r = run(ac);
        QCOMPARE(r.entries[0].textureState, 1);
        const QByteArray after = testutil::readFile(ac + "/texture.x/texture.cfg");
        QCOMPARE(after.size(), 40000 - 3);
        QCOMPARE(after, body);
    }

    void readOnlyBomFileIsLeftAlone()
    {
        const QByteArray bytes = "\xEF\xBB\xBF[models]\r\nnormal=a\r\n";
        const QString ac = aircraft(entry(0, "title=A\r\nmodel=x"), {"model.x/a.mdl"});
        testutil::writeFile(ac + "/model.x/Model.cfg", bytes);
        testutil::setMode(ac + "/model.x/Model.cfg", 0444);
        const Result r = run(ac);
        QCOMPARE(r.status, Status::Ok);
        QCOMPARE(testutil::readFile(ac + "/model.x/Model.cfg"), bytes);
        QCOMPARE(r.entries[0].modelState, 1); // read from a copy without the mark
    }

    // A mark that cannot be removed stays, and the run says where and why; a
    // link inside the aircraft folder is rewritten as the file it names.
    void bomKeptOrRemoved_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("writable") << "writable";
        QTest::newRow("read-only file") << "read-only";
        QTest::newRow("link to a file of the aircraft folder") << "link inside";
        QTest::newRow("link out of the aircraft folder") << "link out";
    }
    void bomKeptOrRemoved()
    {
        QFETCH(QString, kind);
        const QByteArray bytes = "\xEF\xBB\xBF[models]\r\nnormal=a\r\n";
        const QString ac = aircraft(entry(0, "title=A\r\nmodel=x"), {"model.x/a.mdl"});
        const QString cfg = ac + "/model.x/Model.cfg";
        QString real = cfg;
        if (kind == u"link inside")
            real = ac + "/shared/Model.cfg";
        else if (kind == u"link out")
            real = m_tmp.path() + QStringLiteral("/elsewhere%1/Model.cfg").arg(++m_n);
        testutil::writeFile(real, bytes);
        if (real != cfg)
            QVERIFY(QFile::link(real, cfg));
        if (kind == u"read-only")
            testutil::setMode(cfg, 0444);

        const Result r = run(ac);
        QCOMPARE(r.status, Status::Ok);
        QCOMPARE(r.entries[0].modelState, 1);
        QCOMPARE(QFileInfo(cfg).isSymLink(), real != cfg);
        QString told;
        if (kind == u"read-only")
            told = QStringLiteral("the file is read-only");
        else if (kind == u"link out")
            told = QStringLiteral("leads through a link to %1, outside the folder %2; nothing is written there")
                       .arg(QFileInfo(real).canonicalFilePath(), QFileInfo(ac).canonicalFilePath());
        QCOMPARE(testutil::readFile(real), told.isEmpty() ? bytes.mid(3) : bytes);
        QCOMPARE(r.marksKept, told.isEmpty() ? QStringList{} : QStringList{"..\\model.x\\Model.cfg --> " + told});
    }

    // Files outside the aircraft folder are read without their mark but never
    // rewritten; the copy read instead goes into the program's temporary folder.
    void bomOutsideTheFolderStays_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("cfg"); // the file with the mark, relative to the aircraft folder
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("link"); // "name|target": a link in the aircraft folder to an absolute path
        QTest::newRow("..\\ chain to a texture folder")
            << QByteArray("texture=..\\..\\..\\outside\\tex") << "../outside/tex/texture.cfg"
            << QByteArray("[fltsim]\r\nfallback.1=..\\img\r\n") << QStringList{"../outside/img/a.bmp"} << "";
        QTest::newRow("..\\ chain to a model folder")
            << QByteArray("model=..\\..\\..\\outside\\mdl") << "../outside/mdl/Model.cfg"
            << QByteArray("[models]\r\nnormal=b\r\n") << QStringList{"../outside/mdl/b.mdl"} << "";
        QTest::newRow("model folder linked to an absolute path")
            << QByteArray("model=x") << "../../elsewhere/Model.cfg" << QByteArray("[models]\r\nnormal=b\r\n")
            << QStringList{"../../elsewhere/b.mdl"} << "model.x|../../elsewhere";
        QTest::newRow("alias to another aircraft")
            << QByteArray("model=al") << "../B737/model/Model.cfg" << QByteArray("[models]\r\nnormal=b\r\n")
            << QStringList{"model.al/Model.cfg|[fltsim]\r\nalias=B737\\model\r\n", "../B737/model/b.mdl"} << "";
    }
    void bomOutsideTheFolderStays()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QString, cfg);
        QFETCH(QByteArray, body);
        QFETCH(QStringList, files);
        QFETCH(QString, link);
        const QString ac = aircraft(entry(0, "title=A\r\n" + keys), files);
        const QString outside = QDir::cleanPath(ac + u'/' + cfg);
        testutil::writeFile(outside, "\xEF\xBB\xBF" + body);
        if (!link.isEmpty())
            QVERIFY(QFile::link(QDir::cleanPath(ac + u'/' + link.section(u'|', 1)), ac + u'/' + link.section(u'|', 0, 0)));
        Input in = input(ac);
        in.tempFolder = m_tmp.path() + QStringLiteral("/private%1").arg(m_n);
        testutil::makeDir(in.tempFolder);
        const Result r = validate(in);
        QCOMPARE(r.status, Status::Ok);
        QCOMPARE(testutil::readFile(outside), "\xEF\xBB\xBF" + body);
        QCOMPARE(keys.startsWith("texture") ? r.entries[0].textureState : r.entries[0].modelState, 1);
        // Only a file named inside the aircraft folder is the report's business.
        QCOMPARE(r.marksKept.size(), link.isEmpty() ? 0 : 1);
        QCOMPARE(QDir(in.tempFolder).entryList(QDir::Files), QStringList{});
    }

    void readByteArray_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("two bytes") << QByteArray("\xEF\xBB") << QByteArray("\xEF\xBB");
        QTest::newRow("mark only") << QByteArray("\xEF\xBB\xBF") << QByteArray();
        QTest::newRow("no mark") << QByteArray("[a]\r\n") << QByteArray("[a]\r\n");
        QTest::newRow("mark later") << QByteArray("x\xEF\xBB\xBF") << QByteArray("x\xEF\xBB\xBF");
    }
    void readByteArray()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, after);
        const QString path = m_tmp.path() + QStringLiteral("/bom%1.cfg").arg(++m_n);
        testutil::writeFile(path, bytes);
        QByteArray read;
        const BomResult r = ReadByteArray(path, read);
        QVERIFY(r.read.ok);
        QCOMPARE(read, after);
        QCOMPARE(testutil::readFile(path), after);
        QCOMPARE(r.bomFound, bytes != after);
    }

    void readIniKey()
    {
        const QString path = m_tmp.path() + "/key.cfg";
        testutil::writeFile(path, "[Models]\r\nnormal=" + QByteArray(300, 'n') + "\r\n");
        QCOMPARE(ReadIniKey("models", "NORMAL", path), QString(249, u'n'));
        QCOMPARE(ReadIniKey("models", "other", path), QString(""));
        QCOMPARE(ReadIniKey("models", "normal", path + ".gone"), QString(""));
    }

    void arrayRemoveItem_data()
    {
        QTest::addColumn<bool>("isList");
        QTest::addColumn<bool>("storage");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("middle") << true << true << 1 << 0 << QStringList{"a", "c"};
        QTest::newRow("last place") << true << true << 2 << 0 << QStringList{"a", "b"};
        QTest::newRow("index 3 of 3") << true << true << 3 << 9 << QStringList{"a", "b", "c"};
        QTest::newRow("negative") << true << true << -1 << 9 << QStringList{"a", "b", "c"};
        QTest::newRow("no storage") << true << false << 0 << 9 << QStringList{};
        QTest::newRow("not a list") << false << false << 0 << 13 << QStringList{};
    }
    void arrayRemoveItem()
    {
        QFETCH(bool, isList);
        QFETCH(bool, storage);
        QFETCH(int, index);
        QFETCH(int, error);
        QFETCH(QStringList, after);
        modGlobal::StringArray list;
        if (storage)
            list = QStringList{"a", "b", "c"};
        int raised = 0;
        QString description;
        try {
            ArrayRemoveItem(isList ? &list : nullptr, index);
        } catch (const runtimeerror::RuntimeError& e) {
            raised = e.number();
            description = e.description();
        }
        QCOMPARE(raised, error);
        if (error == 9)
            QCOMPARE(description, QStringLiteral("Subscript out of Range"));
        if (error == 13)
            QCOMPARE(description, QStringLiteral("Type Mismatch"));
        QCOMPARE(list.value_or(QStringList{}), after);
        modGlobal::StringArray one = QStringList{"x"};
        ArrayRemoveItem(&one, 0);
        QVERIFY(one.has_value() && one->isEmpty());
    }

};

QTEST_GUILESS_MAIN(TestValidationWalks)
#include "tst_validationwalks.moc"
