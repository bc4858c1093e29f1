// One validation run: what it finds in the entries, their files, the
// folders, the airlines and the effects, and when it stops.
#include "validation/FolderValidation.h"

#include "FolderValidationScene.h"
#include "TestUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace FolderValidation;
using namespace testutil;

class TestFolderValidation : public testutil::FolderValidationTest
{
    Q_OBJECT

private slots:
    void numbering_data()
    {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<bool>("outOfOrder");
        QTest::addColumn<QStringList>("misnumbered");
        QTest::newRow("0 1 2") << QList<int>{0, 1, 2} << false << QStringList{};
        QTest::newRow("0 1 3") << QList<int>{0, 1, 3} << true << QStringList{"[fltsim.3]"};
        QTest::newRow("1 0") << QList<int>{1, 0} << true << QStringList{};
        QTest::newRow("2 3") << QList<int>{2, 3} << true << QStringList{"[fltsim.2]", "[fltsim.3]"};
    }
    void numbering()
    {
        QFETCH(QList<int>, numbers);
        QFETCH(bool, outOfOrder);
        QFETCH(QStringList, misnumbered);
        QByteArray cfg;
        for (int n : numbers)
            cfg += goodEntry(n);
        const Result r = run(aircraft(cfg, kGoodFiles));
        QCOMPARE(r.notInSequentialOrder, outOfOrder);
        QCOMPARE(r.misnumbered, misnumbered);
        QCOMPARE(r.misnumberedFound, !misnumbered.isEmpty());
    }

    // A section name that stands twice or three times: each copy is an entry
    // read from its own section (no false duplicates); the numbering finding stays.
    void sharedSectionNames_data()
    {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("duplicateTitles");
        QTest::addColumn<QStringList>("misnumbered");
        const auto e = [](int n, const char* title, const char* texture) {
            return entry(n, QByteArray("title=") + title + "\r\nsim=B738\r\nmodel=\r\ntexture=" + texture +
                                "\r\natc_airline=KLM");
        };
        QTest::newRow("two copies") << e(0, "Z", "a") + e(1, "A", "b") + e(1, "B", "c")
                                    << QStringList{"Z", "A", "B"} << QStringList{"0"}
                                    << QStringList{"[fltsim.1]"};
        QTest::newRow("three copies, two share a title")
            << e(0, "Z", "a") + e(2, "A", "b") + e(2, "B", "c") + e(1, "O", "d") + e(2, "B", "e")
            << QStringList{"Z", "A", "B", "O", "B"} << QStringList{"\"B\" --> fltsim.2", "\"B\" --> fltsim.2"}
            << QStringList{"[fltsim.1]", "[fltsim.2]"};
    }
    void sharedSectionNames()
    {
        QFETCH(QByteArray, cfg);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, duplicateTitles);
        QFETCH(QStringList, misnumbered);
        const Result r = run(aircraft(cfg, {"b738.air", "model/Model.cfg|[models]\r\nnormal=b738\r\n",
                                            "model/b738.mdl", "texture.a/t.bmp", "texture.b/t.bmp",
                                            "texture.c/t.bmp", "texture.d/t.bmp", "texture.e/t.bmp"}));
        QStringList read;
        for (const Entry& entry : r.entries) {
            read.append(entry.title.value_or(QString()));
            QCOMPARE(entry.textureState, kFound);
        }
        QCOMPARE(read, titles);
        QCOMPARE(r.duplicateTitles, duplicateTitles);
        QCOMPARE(r.texturesUsedMoreThanOnce, QStringList{"0"});
        QVERIFY(r.notInSequentialOrder);
        QCOMPARE(r.misnumbered, misnumbered);
    }

    void capitalSectionNamesAreEntries()
    {
        const Result r =
            run(aircraft("[FLTSIM.0]\r\ntitle=A\r\n[Fltsim.1]\r\ntitle=B\r\n[fltsim]\r\ntitle=C\r\n"));
        QCOMPARE(r.entries.size(), 2);
        QCOMPARE(r.entries[1].section, QStringLiteral("fltsim.1"));
        QVERIFY(!r.notInSequentialOrder);
    }

    void titles_data()
    {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<QStringList>("duplicates");
        QTest::addColumn<QStringList>("undefined");
        QTest::newRow("737 then 737-800") << entry(0, "title=Boeing 737") + entry(1, "title=Boeing 737-800")
                                          << QStringList{"0"} << QStringList{};
        QTest::newRow("737-800 then 737") << entry(0, "title=Boeing 737-800") + entry(1, "title=Boeing 737")
                                          << QStringList{"0"} << QStringList{};
        QTest::newRow("two 737") << entry(0, "title=Boeing 737 // a") + entry(1, "title=Boeing 737")
                                 << QStringList{"\"Boeing 737\" --> fltsim.0", "\"Boeing 737\" --> fltsim.1"}
                                 << QStringList{};
        QTest::newRow("two groups, file order")
            << entry(0, "title=B") + entry(1, "title=A") + entry(2, "title=B") + entry(3, "title=A")
            << QStringList{"\"B\" --> fltsim.0", "\"B\" --> fltsim.2", "\"A\" --> fltsim.1",
                           "\"A\" --> fltsim.3"}
            << QStringList{};
        QTest::newRow("letter case differs")
            << entry(0, "title=Liner") + entry(1, "title=LINER") << QStringList{"0"} << QStringList{};
        QTest::newRow("untitled entries are not duplicates")
            << entry(0, "title=") + entry(1, "title= // none") + entry(2, "sim=x") << QStringList{"0"}
            << QStringList{"fltsim.0 --> no 'title=' entry", "fltsim.1 --> no 'title=' entry",
                           "fltsim.2 --> no 'title=' entry"};
    }
    void titles()
    {
        QFETCH(QByteArray, cfg);
        QFETCH(QStringList, duplicates);
        QFETCH(QStringList, undefined);
        const Result r = run(aircraft(cfg));
        QCOMPARE(r.duplicateTitles, duplicates);
        QCOMPARE(r.duplicateTitlesFound, duplicates != QStringList{"0"});
        QCOMPARE(r.undefinedTitles, undefined);
        QCOMPARE(r.undefinedTitleFound, !undefined.isEmpty());
    }

    void textureState_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("aliasing");
        const QString cfg = QStringLiteral("texture.x/texture.cfg|[fltsim]\r\nfallback.1=");
        QTest::newRow("empty value uses texture")
            << QByteArray("texture=") << QStringList{"texture/a.bmp"} << 1 << false;
        QTest::newRow("key missing") << QByteArray() << QStringList{"texture/a.bmp"} << 2 << false;
        QTest::newRow("folder missing")
            << QByteArray("texture=x") << QStringList{"texture/a.bmp"} << 0 << false;
        QTest::newRow("no images, no cfg")
            << QByteArray("texture=x") << QStringList{"texture.x/a.txt"} << 0 << false;
        QTest::newRow("dds counts in bmp mode")
            << QByteArray("texture=x") << QStringList{"texture.x/a.dds"} << 1 << false;
        QTest::newRow("folder named like an image")
            << QByteArray("texture=x") << QStringList{"texture.x/a.bmp/"} << 0 << false;
        QTest::newRow("mixed case from Windows")
            << QByteArray("texture=KLM") << QStringList{"Texture.Klm/T.BMP"} << 1 << false;
        QTest::newRow("sub folder with /")
            << QByteArray("texture=a/Sub") << QStringList{"texture.a/sub/t.bmp"} << 1 << false;
        QTest::newRow("leading backslash")
            << QByteArray("texture=\\x") << QStringList{"texture/x/t.bmp"} << 1 << false;
        QTest::newRow("fallback ..\\texture")
            << QByteArray("texture=x") << QStringList{cfg + "..\\texture", "texture/a.bmp"} << 1 << true;
        QTest::newRow("fallback with / and comment")
            << QByteArray("texture=x") << QStringList{cfg + "../Texture // common", "texture/a.bmp"} << 1
            << true;
        QTest::newRow("fallback empty")
            << QByteArray("texture=x") << QStringList{cfg, "texture/a.bmp"} << 0 << true;
        QTest::newRow("fallback without images")
            << QByteArray("texture=x") << QStringList{cfg + "..\\texture", "texture/"} << 0 << true;
        QTest::newRow("fallback below the texture folder")
            << QByteArray("texture=x") << QStringList{cfg + "common", "texture.x/common/a.dds"} << 1 << true;
        QTest::newRow("fallback two levels up")
            << QByteArray("texture=x") << QStringList{cfg + "..\\..\\shared", "../shared/a.bmp"} << 1 << true;
        QTest::newRow("fallback above the root")
            << QByteArray("texture=x")
            << QStringList{cfg + QString("..\\").repeated(60) + "texture", "texture/a.bmp"} << 0 << true;
        QTest::newRow("Texture.CFG in capitals")
            << QByteArray("texture=x")
            << QStringList{"texture.x/Texture.CFG|[FLTSIM]\r\nFallback.1=..\\texture", "texture/a.bmp"} << 1
            << true;
    }
    void textureState()
    {
        QFETCH(QByteArray, key);
        QFETCH(QStringList, files);
        QFETCH(int, state);
        QFETCH(bool, aliasing);
        const QString ac = aircraft(entry(0, "title=A\r\n" + key), files);
        const Result r = run(ac);
        QCOMPARE(r.status, Status::Ok);
        QCOMPARE(r.entries[0].textureState, state);
        QCOMPARE(r.textureAliasingUsed, aliasing);
        QCOMPARE(r.aliasingNote, aliasing ? QString::fromUtf16(kAliasingNote) : QString());
        QCOMPARE(r.undefinedTextureFound, state == 2);
        if (state == 0)
            QCOMPARE(r.missingTextures,
                     QStringList{"fltsim.0 -->  ..\\texture." + r.entries[0].texture.value()});
        else
            QCOMPARE(r.missingTextures, QStringList{"0"});
    }

    void modelState_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("state");
        QTest::newRow("default folder")
            << QByteArray("model=") << QStringList{"model/Model.cfg|[models]\r\nnormal=a", "model/a.mdl"}
            << 1;
        QTest::newRow("key missing") << QByteArray() << QStringList{} << 2;
        QTest::newRow("folder missing") << QByteArray("model=X") << QStringList{} << 0;
        QTest::newRow("no Model.cfg") << QByteArray("model=x") << QStringList{"model.x/a.mdl"} << 0;
        QTest::newRow("model.cfg and A.MDL from Windows")
            << QByteArray("model=X")
            << QStringList{"Model.X/model.cfg|[Models]\r\nNormal=a.MDL // main", "Model.X/A.MDL"} << 1;
        QTest::newRow("normal names a missing file")
            << QByteArray("model=x") << QStringList{"model.x/Model.cfg|[models]\r\nnormal=b", "model.x/a.mdl"}
            << 0;
        QTest::newRow("alias")
            << QByteArray("model=x")
            << QStringList{"model.x/Model.cfg|[models]\r\nnormal=\r\n[fltsim]\r\nalias=B737\\model // x",
                           "../B737/model/Model.cfg|[models]\r\nnormal=b", "../B737/model/b.mdl"}
            << 1;
        QTest::newRow("alias without Model.cfg")
            << QByteArray("model=x")
            << QStringList{"model.x/Model.cfg|[fltsim]\r\nalias=\\B737\\model", "../B737/model/b.mdl"} << 0;
        QTest::newRow("no normal, no alias")
            << QByteArray("model=x") << QStringList{"model.x/Model.cfg|[models]\r\n"} << 0;
    }
    void modelState()
    {
        QFETCH(QByteArray, key);
        QFETCH(QStringList, files);
        QFETCH(int, state);
        const Result r = run(aircraft(entry(0, "title=A\r\n" + key), files));
        QCOMPARE(r.entries[0].modelState, state);
        QCOMPARE(r.undefinedModelFound, state == 2);
        QCOMPARE(r.missingModels, state == 0
                                      ? QStringList{"fltsim.0 -->  ..\\Model." + r.entries[0].model.value()}
                                      : QStringList{"0"});
    }

    void airFiles()
    {
        const QString ac =
            aircraft(entry(0, "title=A\r\nsim=B738") + entry(1, "title=B\r\nsim=gone") + entry(2, "title=C"),
                     {"B738.AIR", "Other.Air", "notes.txt"});
        const Result r = run(ac);
        QCOMPARE(r.entries[0].airState, 1);
        QCOMPARE(r.entries[1].airState, 0);
        QCOMPARE(r.entries[2].airState, 2);
        QCOMPARE(r.airFilesFound, 2);
        QCOMPARE(r.unusedAirFiles, QStringList{"..\\other.air"});
        QCOMPARE(r.missingAirFiles, QStringList{"fltsim.1 -->  ..\\gone.air"});
        QCOMPARE(r.undefinedAirFiles, QStringList{"fltsim.2 --> no 'sim=' entry"});
    }

    void folderScans()
    {
        const QString ac =
            aircraft(entry(0, "title=A\r\ntexture=a\r\nmodel=m") + entry(1, "title=B\r\ntexture=A"),
                     {"texture.a/t.bmp", "Texture.B/t.bmp", "texture.c/t.dds", "texture.a/Sub/t.bmp",
                      "texture.txt", "model.m/m.mdl", "Model.Old/LOD/x.mdl", "model/"});
        const Result r = run(ac);
        QCOMPARE(r.texturesFound, 3);
        QCOMPARE(r.unusedTextures, (QStringList{"..\\texture.a\\sub", "..\\texture.b"}));
        QCOMPARE(r.texturesUsedMoreThanOnce, (QStringList{"\"a\" --> fltsim.0", "\"a\" --> fltsim.1"}));
        // Entry 1 has no model key: the bare "model" folder counts as used.
        QCOMPARE(r.modelsFound, 3);
        QCOMPARE(r.unusedModels, QStringList{"..\\model.old\\lod"});
        QCOMPARE(r.undefinedModels, QStringList{"fltsim.1 --> no 'model=' entry"});
    }

    void effects_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QStringList>("missing");
        QTest::newRow("wake=1 present") << QByteArray("wake=1") << QStringList{};
        QTest::newRow("touchdown=true") << QByteArray("touchdown=true") << QStringList{"fx_tchdwn.fx"};
        QTest::newRow("engineoilleak=-1") << QByteArray("EngineOilLeak=-1") << QStringList{"fx_oilLeak.fx"};
        QTest::newRow("false and 0") << QByteArray("dirt=false\r\nconcrete=0")
                                     << QStringList{"fx_tchdrt.fx", "fx_sparks.fx"};
        QTest::newRow("fueldump=1") << QByteArray("fueldump=1\r\nsnowskitrack=true") << QStringList{};
        QTest::newRow("contrail, once")
            << QByteArray("contrail=fx_contrail_l, 1") << QStringList{"fx_contrail_l.fx"};
        QTest::newRow("fx_dummy") << QByteArray("wake=FX_Dummy_x") << QStringList{};
        QTest::newRow("name in capitals, .FX")
            << QByteArray("water=FX_Custom.FX // c") << QStringList{"fx_custom.fx"};
        QTest::newRow("present in other case") << QByteArray("water=fx_spray") << QStringList{};
        QTest::newRow("windshield key") << QByteArray("windshield_rain_effect_available=fx_rain\r\n"
                                                      "Windshield_Rain_Effect_Available=fx_rain")
                                        << QStringList{"fx_rain.fx"};
        QTest::newRow("empty value") << QByteArray("wake=") << QStringList{};
        QTest::newRow("empty name before the comma")
            << QByteArray("fueldump=, 0\r\nwater= ,1\r\ndirt=x,") << QStringList{"x.fx"};
        QTest::newRow("later section replaces")
            << QByteArray("startup=1\r\n[effects.more]\r\nstartup=fx_b") << QStringList{"fx_b.fx"};
    }
    void effects()
    {
        QFETCH(QByteArray, section);
        QFETCH(QStringList, missing);
        const QString ac = aircraft("[effects]\r\n" + section + "\r\n" + entry(0, "title=A"));
        QCOMPARE(run(ac).missingEffectFiles, missing);
        // Without an airlines.cfg, or with the option off, nothing is looked for.
        Input in = input(ac);
        in.airlinesFound = false;
        QCOMPARE(validate(in).missingEffectFiles, QStringList{});
        in = input(ac);
        in.flags[21] = QStringLiteral("0");
        QCOMPARE(validate(in).missingEffectFiles, QStringList{});
    }

    void effectDefaults()
    {
        QCOMPARE(EffectFileDefault(u"WATERSPEED"), QStringLiteral("fx_spray"));
        QCOMPARE(EffectFileDefault(u"r_wingtipvortice"), QStringLiteral("fx_wingtipvortice_r"));
        QCOMPARE(EffectFileDefault(u"fueldump"), QString());
    }

    void airlines()
    {
        const QString ac = aircraft(entry(0, "title=A\r\natc_airline=klm // c") +
                                    entry(1, "title=B\r\natc_airline=Nowhere") +
                                    entry(2, "title=C\r\natc_airline=") + entry(3, "title=D"));
        Result r = run(ac);
        QCOMPARE(r.entries[0].atcAirline, std::optional<QString>("KLM"));
        QCOMPARE(r.airlinesFound, 1);
        QCOMPARE(r.unknownAirlines, QStringList{"fltsim.1 -->  atc_airline=NOWHERE"});
        QCOMPARE(r.airlinesWithoutValue,
                 (QStringList{"fltsim.2 -->  atc_airline missing", "fltsim.3 -->  atc_airline missing"}));
        QVERIFY(r.airlineKeyRead);
        Input in = input(ac);
        in.airlinesFound = false;
        r = validate(in);
        QVERIFY(!r.airlineKeyRead);
        QCOMPARE(r.airlinesFound, 0);
        QCOMPARE(r.unknownAirlines, QStringList{});
    }

    void staleReportIsRemoved()
    {
        const QString ac = aircraft(entry(0, "title=A"), {"ZibCheck.LOG"});
        QCOMPARE(run(ac).status, Status::Ok);
        QVERIFY(!QFileInfo::exists(ac + "/ZibCheck.LOG"));
    }

    void stops()
    {
        QCOMPARE(validate(input(aircraft("[general]\r\natc_type=x\r\n[fltsim]\r\ntitle=A\r\n"))).status,
                 Status::NoFltsimSection);
        // An aircraft.cfg that cannot be read ends the run with the reason.
        const QString ac = m_tmp.path() + "/unreadable";
        testutil::makeDir(ac + "/aircraft.cfg");
        const Result r = validate(input(ac));
        QCOMPARE(r.status, Status::FileSystemError);
        QVERIFY(r.error.contains(QStringLiteral("aircraft.cfg")));
        QCOMPARE(validate(input(m_tmp.path() + "/nowhere")).status, Status::FileSystemError);
    }

    void reentryIsRefused()
    {
        const QString ac = aircraft(entry(0, "title=A"), {"texture/"});
        Input in = input(ac);
        Status inner = Status::Ok;
        in.yield = [&] {
            inner = validate(input(ac)).status;
        };
        QCOMPARE(validate(in).status, Status::Ok);
        QCOMPARE(inner, Status::Busy);
    }
};

QTEST_GUILESS_MAIN(TestFolderValidation)
#include "tst_foldervalidation.moc"
