#include "mainwindow/SimDetection.h"

#include "TestUtil.h"
#include "WineFixture.h"

#include <QDir>
#include <QTest>

using testutil::FakePrefix;
using testutil::PrefixSpec;

class TestSimDetection : public QObject
{
    Q_OBJECT
private slots:
    void which_data()
    {
        QTest::addColumn<bool>("win64");
        QTest::addColumn<bool>("fs9");
        QTest::addColumn<bool>("fsx");
        QTest::newRow("neither") << true << false << false;
        QTest::newRow("only fs9") << true << true << false;
        QTest::newRow("only fsx") << true << false << true;
        QTest::newRow("both, win64") << true << true << true;
        QTest::newRow("both, win32") << false << true << true;
    }
    void which()
    {
        QFETCH(bool, win64);
        QFETCH(bool, fs9);
        QFETCH(bool, fsx);
        FakePrefix prefix(testutil::simulatorSpec(fs9, fsx, win64));
        const auto r = SimDetection::detect(SimDetection::registryPrefix(win64));
        QCOMPARE(r.fs9.found, fs9);
        QCOMPARE(r.fsx.found, fsx);
        QCOMPARE(r.fs9.airlinesFound, fs9);
        QCOMPARE(r.fsx.airlinesFound, fsx);
        if (fs9) {
            QCOMPARE(r.fs9.root, prefix.fs9Root());
            QCOMPARE(r.fs9.aircraftPath, prefix.fs9Root() + "/Aircraft");
            QCOMPARE(r.fs9.airlines, (QStringList{"HEATHERJET", "MOSSLINE", ""}));
        }
        if (fsx) {
            QCOMPARE(r.fsx.root, prefix.fsxRoot()); // the trailing backslash is dropped
            QCOMPARE(r.simFolderItems, (QStringList{"Airplanes", "Rotorcraft"}));
            QVERIFY(r.simFolderListEnabled);
        }
        // The other view of the registry holds nothing.
        const auto other = SimDetection::detect(SimDetection::registryPrefix(!win64));
        QVERIFY(!other.fs9.found && !other.fsx.found);
    }

    void danglingRegistryPaths()
    {
        PrefixSpec spec;
        spec.fs9Dangling = true;
        spec.fsxDangling = true;
        FakePrefix prefix(spec);
        const auto r = SimDetection::detect(SimDetection::registryPrefix(true));
        QVERIFY(!r.fs9.found);
        QVERIFY(!r.fsx.found);
        QVERIFY(r.simFolderItems.isEmpty());
    }

    void missingAirlines()
    {
        PrefixSpec spec;
        spec.fs9 = spec.fsx = true;
        spec.fs9Airlines = spec.fsxAirlines = false;
        FakePrefix prefix(spec);
        const auto r = SimDetection::detect(SimDetection::registryPrefix(true));
        QVERIFY(r.fs9.found && r.fsx.found);
        QVERIFY(!r.fs9.airlinesFound && !r.fsx.airlinesFound);
    }

    void fsxCfgList()
    {
        PrefixSpec spec;
        spec.fsx = true;
        spec.fsxCfgMain = {"SimObjectPaths.0=SimObjects\\Airplanes", "Other=1", "SimObjectPaths.1=C:\\Addons\\AI",
                           "SimObjectPaths.2=SimObjects\\Missing", "SimObjectPaths.3=simobjects\\AIRPLANES"};
        FakePrefix prefix(spec);
        testutil::makeDir(prefix.driveC() + "/Addons/AI");
        const auto r = SimDetection::detect(SimDetection::registryPrefix(true));
        QVERIFY(r.fsxCfgFound);
        QCOMPARE(r.simFolderItems, (QStringList{"SimObjects\\Airplanes", "C:\\Addons\\AI"}));
        QCOMPARE(r.simFolders, (QStringList{prefix.fsxRoot() + "/SimObjects/Airplanes", prefix.driveC() + "/Addons/AI"}));
    }

    void noDriveLink()
    {
        PrefixSpec spec;
        spec.fsx = true;
        FakePrefix prefix(spec);
        QFile::remove(prefix.path() + "/dosdevices/c:");
        QFile::link(prefix.path() + "/nowhere", prefix.path() + "/dosdevices/c:");
        const auto r = SimDetection::detect(SimDetection::registryPrefix(true));
        QVERIFY(!r.fsx.found);
    }
};

QTEST_GUILESS_MAIN(TestSimDetection)
#include "tst_simdetection.moc"
