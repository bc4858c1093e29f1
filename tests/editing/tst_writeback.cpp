// Which writes of "&1. Update" are left out because the field still holds the
// value read, and the read only differs from the line by a pair of quotes.
#include "editing/WriteBack.h"

#include "TestUtil.h"

#include <QTemporaryDir>
#include <QTest>

class TestWriteBack : public QObject
{
    Q_OBJECT

private slots:
    void keepUnchangedQuoted_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("occurrence");
        QTest::addColumn<bool>("written");
        // The first [fltsim.2] holds the quoted line, the second a plain one.
        QTest::newRow("first copy, quoted, same value") << "GATE" << 0 << false;
        QTest::newRow("first copy, other value") << "RAMP" << 0 << true;
        QTest::newRow("second copy, same text but not quoted") << "GATE" << 1 << true;
        QTest::newRow("second copy, quoted there") << "DOCK" << 1 << true;
        QTest::newRow("third copy, quoted, same value") << "DOCK" << 2 << false;
        QTest::newRow("no such copy") << "GATE" << 3 << true;
    }
    void keepUnchangedQuoted()
    {
        QFETCH(QString, value);
        QFETCH(int, occurrence);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString cfg = dir.path() + "/aircraft.cfg";
        testutil::writeFile(cfg, "[fltsim.2]\r\natc_parking_types = \"GATE\"\r\n"
                                 "[fltsim.2]\r\natc_parking_types=GATE\r\n"
                                 "[fltsim.2]\r\natc_parking_types=\"DOCK\"\r\n");
        const QList<CfgWrites::KeyWrite> writes{
            {QStringLiteral("fltsim.2"), QStringLiteral("atc_parking_types"), value, occurrence}};
        QCOMPARE(WriteBack::keepUnchangedQuoted(cfg, writes).size(), written ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestWriteBack)
#include "tst_writeback.moc"
