#include "validation/ValidationSetup.h"

#include "ValidationFixture.h"

#include <QTest>

using ValidationSetup::Choice;

using testutil::flagListWith;

class TestValidationSetup : public QObject
{
    Q_OBJECT
private slots:
    void choice_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<bool>("fs9");
        QTest::addColumn<bool>("fsx");
        QTest::addColumn<bool>("batch");
        QTest::addColumn<bool>("batchFS9");
        QTest::addColumn<int>("choice");
        QTest::newRow("only FS9") << flagListWith({9}) << true << false << false << false << int(Choice::FS9);
        QTest::newRow("only FSX") << flagListWith({9}) << false << true << false << false << int(Choice::FSX);
        QTest::newRow("neither") << flagListWith({9}) << false << false << false << false
                                 << int(Choice::NoAirlines);
        QTest::newRow("both, airline option on") << flagListWith({10}) << true << true << false << false
                                                 << int(Choice::Ask);
        QTest::newRow("both, effects option on") << flagListWith({21}) << true << true << false << false
                                                 << int(Choice::Ask);
        QTest::newRow("both, none of them on") << flagListWith({0, 12}) << true << true << false << false
                                               << int(Choice::FSX);
        // An option is on when its number is 1, however it is written.
        QStringList numbered = flagListWith({0});
        numbered[21] = " 01";
        QTest::newRow("both, effects option stored as 01") << numbered << true << true << false << false
                                                           << int(Choice::Ask);
        QTest::newRow("both, batch chose FS9") << flagListWith({9}) << true << true << true << true << int(Choice::FS9);
        QTest::newRow("both, batch chose FSX") << flagListWith({9}) << true << true << true << false << int(Choice::FSX);
    }
    void choice()
    {
        QFETCH(QStringList, flags);
        QFETCH(bool, fs9);
        QFETCH(bool, fsx);
        QFETCH(bool, batch);
        QFETCH(bool, batchFS9);
        QFETCH(int, choice);
        QCOMPARE(int(ValidationSetup::simulatorChoice(flags, fs9, fsx, batch, batchFS9)), choice);
    }

    void appliesTheChosenReference()
    {
        const ValidationSetup::Simulators sims{{"NINE"}, "/fs9/Effects", {"TEN"}, "/fsx/Effects"};
        FolderValidation::Input in;
        ValidationSetup::applyChoice(Choice::FS9, sims, in);
        QCOMPARE(in.simulator, FolderValidation::Simulator::FS9);
        QCOMPARE(in.airlineLines, QStringList{"NINE"});
        QCOMPARE(in.effectsFolder, QStringLiteral("/fs9/Effects"));
        ValidationSetup::applyChoice(Choice::FSX, sims, in);
        QCOMPARE(in.airlineLines, QStringList{"TEN"});
        ValidationSetup::applyChoice(Choice::NoAirlines, sims, in);
        QCOMPARE(in.simulator, FolderValidation::Simulator::FSX);
        QVERIFY(in.airlineLines.isEmpty() && in.effectsFolder.isEmpty());
        QCOMPARE(ValidationSetup::textureFormat("FSX"), QStringLiteral("*.dds"));
        QCOMPARE(ValidationSetup::textureFormat("FS8/9"), QStringLiteral("*.bmp"));
    }

    void allOff()
    {
        QVERIFY(ValidationSetup::allOptionsOff(QStringList(23, "0")));
        QVERIFY(!ValidationSetup::allOptionsOff(flagListWith({22})));
        QStringList leading(23, "0");
        leading[5] = "1x"; // its number is 1
        QVERIFY(!ValidationSetup::allOptionsOff(leading));
        QStringList f = flagListWith({9, 10, 11, 0});
        ValidationSetup::forceAirlineOptionsOff(f);
        QCOMPARE(f, flagListWith({0}));
    }
};

QTEST_GUILESS_MAIN(TestValidationSetup)
#include "tst_validationsetup.moc"
