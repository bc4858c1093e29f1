#include "mainwindow/FolderLoad.h"

#include "TestUtil.h"

#include <QLocale>
#include <QTest>

class TestFolderLoad : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    int m_n = 0;

    QString folderWith(const QByteArray& cfg)
    {
        const QString dir = m_tmp.path() + QStringLiteral("/ac%1").arg(++m_n);
        testutil::writeFile(dir + "/aircraft.cfg", cfg);
        return dir;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void noCfgStillListsFolder()
    {
        const QString dir = m_tmp.path() + "/empty";
        testutil::makeDir(dir + "/texture");
        testutil::makeDir(dir + "/Texture.KLM");
        testutil::makeDir(dir + "/model.A300");
        testutil::writeFile(dir + "/texture.cfg", "not a folder");
        testutil::writeFile(dir + "/B738.v2.AIR", "x");
        testutil::writeFile(dir + "/other.air", "x");
        clsIniFile ini;
        ini.setPath("/previous/aircraft.cfg");
        const FolderLoad::Result r = FolderLoad::load(dir, ini);
        QVERIFY(!r.cfgExists);
        QVERIFY(r.rows.isEmpty());
        QCOMPARE(ini.path(), QStringLiteral("/previous/aircraft.cfg"));
        QCOMPARE(r.textureItems, (QStringList{"<default>", "KLM"}));
        QCOMPARE(r.modelItems, (QStringList{"A300"}));
        QCOMPARE(r.airItems, (QStringList{"B738", "other"}));
    }

    void rowsAndSubItems()
    {
        const QString dir = folderWith("[General]\r\natc_type=BOEING // c\r\natc_model=B738\r\n"
                                       "[fltsim.3]\r\nTitle=Liner A // livery\r\nmodel=\r\nsim=B738\r\n"
                                       "atc_parking_types=gate,ramp\r\ntexture=A/B\r\natc_heavy=1\r\n"
                                       "description=Nice // raw\r\n"
                                       "[FLTSIM.7]\r\ntitle=Liner B\r\nsim=OTHER\r\n");
        clsIniFile ini;
        const FolderLoad::Result r = FolderLoad::load(dir, ini);
        QVERIFY(r.cfgExists);
        QCOMPARE(ini.path(), dir + "/aircraft.cfg");
        QCOMPARE(r.rows.size(), 2);
        QCOMPARE(r.rows[0].text, QStringLiteral("FLTSIM.3"));
        QCOMPARE(r.rows[0].subItems[0], QStringLiteral("Liner A"));
        QCOMPARE(r.rows[0].subItems[1], QStringLiteral("GATE,RAMP"));
        QCOMPARE(r.rows[0].subItems[8], QStringLiteral("<default>")); // model present, empty
        QCOMPARE(r.rows[0].subItems[9], QStringLiteral("B738"));
        QCOMPARE(r.rows[0].subItems[13], QStringLiteral("1"));
        QCOMPARE(r.rows[0].subItems[15], QStringLiteral("A\\B"));
        QCOMPARE(r.rows[1].subItems[8], QString()); // no model key: column stays empty
        QCOMPARE(r.descriptions, (QStringList{"Nice // raw", ""}));
        QCOMPARE(r.airFile, QStringLiteral("B738"));
        QCOMPARE(r.generalAtcType, std::optional<QString>("BOEING // c"));
        QCOMPARE(r.generalAtcModel, std::optional<QString>("B738"));
        QVERIFY(!r.statusNok);
        QCOMPARE(r.sections, (QStringList{"General", "FLTSIM.3", "FLTSIM.7"}));
    }

    void duplicates_data()
    {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<bool>("nok");
        QTest::newRow("same section twice") << QByteArray("[fltsim.0]\r\ntitle=A\r\n[FLTSIM.0]\r\ntitle=B\r\n") << true;
        QTest::newRow("titles differing in case") << QByteArray("[fltsim.0]\r\ntitle=Liner A\r\n[fltsim.1]\r\ntitle=LINER a\r\n")
                                                  << true;
        QTest::newRow("two title keys in one section") << QByteArray("[fltsim.0]\r\ntitle=A\r\ntitle=B\r\n") << true;
        QTest::newRow("distinct") << QByteArray("[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=B\r\n") << false;
        QTest::newRow("title with comment vs without")
            << QByteArray("[fltsim.0]\r\ntitle=A // x\r\n[fltsim.1]\r\ntitle=A\r\n") << false;
    }
    void duplicates()
    {
        QFETCH(QByteArray, cfg);
        QFETCH(bool, nok);
        clsIniFile ini;
        QCOMPARE(FolderLoad::load(folderWith(cfg), ini).statusNok, nok);
    }

    void aircraftWideValues()
    {
        const QString dir = folderWith(
            "[fltsim.0]\r\ntitle=A\r\n"
            "[airplane_geometry]\r\nwing_span=112.6 // ft\r\n"
            "[exits]\r\nexit.0=0.4, 27.0, -4.0, 4.5, 0 //Main door\r\nexit.1=0.4, 27.0, -4.0, 4.5\r\n"
            "exit.2=1,2,3,4,1 // rear\r\n"
            "[effects]\r\nwake=fx_wake\r\ntouchdown=fx_tchdwn, 1\r\nfueldump=fx_x\r\n"
            "[General]\r\nwing_span=35\r\n");
        clsIniFile ini;
        const FolderLoad::Result r = FolderLoad::load(dir, ini);
        QCOMPARE(r.wingSpanOrg, std::optional<QString>("35")); // the later section wins
        QVERIFY(r.jetwaysPossible);
        const auto& e0 = *r.exits[0];
        QCOMPARE(*e0.boxes[0], QStringLiteral("0.4"));
        QCOMPARE(*e0.boxes[4], QStringLiteral("0"));
        QCOMPARE(e0.comment, QStringLiteral("//Main door"));
        const auto& e1 = *r.exits[1];
        QVERIFY(!e1.allParts);
        QVERIFY(!e1.boxes[4].has_value());
        QCOMPARE(e1.comment, QString());
        QCOMPARE(r.exits[2]->comment, QStringLiteral("// rear"));
        QCOMPARE(r.effects[0]->file, QStringLiteral("fx_wake"));
        QVERIFY(!r.effects[0]->once);
        QCOMPARE(r.effects[4]->file, QStringLiteral("fx_tchdwn"));
        QVERIFY(r.effects[4]->once);
        QVERIFY(!r.effects[1].has_value());
    }

    void wingSpanInDecimalCommaLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        clsIniFile ini;
        const auto r = FolderLoad::load(folderWith("[airplane_geometry]\r\nwing_span=112.5\r\n"), ini);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(r.wingSpanOrg, std::optional<QString>("112,5"));
        QVERIFY(r.rows.isEmpty());
    }

    void currentFilesFromTheFile()
    {
        clsIniFile ini;
        FolderLoad::load(folderWith("[fltsim.0]\r\ntexture=a/b // c\r\nmodel=\r\n[fltsim.1]\r\nsim=X // y\r\n"), ini);
        const auto f0 = FolderLoad::currentFiles(ini, "FLTSIM.0");
        QCOMPARE(f0.texture, QStringLiteral("a\\b"));
        QCOMPARE(f0.model, QStringLiteral("<default>"));
        QCOMPARE(f0.airFile, QStringLiteral("<none>"));
        const auto f1 = FolderLoad::currentFiles(ini, "FLTSIM.1");
        QCOMPARE(f1.texture, QStringLiteral("<default>"));
        QCOMPARE(f1.airFile, QStringLiteral("X"));
    }

    void cfgNameWithoutCase()
    {
        const QString dir = m_tmp.path() + "/mixed";
        testutil::writeFile(dir + "/Aircraft.CFG", "[fltsim.0]\r\ntitle=A\r\n");
        clsIniFile ini;
        const auto r = FolderLoad::load(dir, ini);
        QVERIFY(r.cfgExists);
        QCOMPARE(ini.path(), dir + "/Aircraft.CFG");
        QCOMPARE(r.rows.size(), 1);
    }

    void cfgThatIsAFolderOrBinary()
    {
        const QString dir = m_tmp.path() + "/odd";
        testutil::makeDir(dir + "/aircraft.cfg");
        clsIniFile ini;
        QVERIFY(!FolderLoad::load(dir, ini).cfgExists);
        QByteArray noise;
        for (int i = 0; i < 5000; ++i)
            noise.append(static_cast<char>((i * 7919) % 256));
        const auto r = FolderLoad::load(folderWith(noise), ini);
        QVERIFY(r.cfgExists);
    }
};

QTEST_GUILESS_MAIN(TestFolderLoad)
#include "tst_folderload.moc"
