#include "about/UpdateCheck.h"

#include <QTest>

using namespace updatecheck;

Q_DECLARE_METATYPE(updatecheck::Comparison)

class TestUpdateCheck : public QObject
{
    Q_OBJECT
private slots:
    void weekOfYear_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("week");
        QTest::newRow("1 Jan, year starting Sunday") << QDate(2023, 1, 1) << 1;
        QTest::newRow("1 Jan, year starting Saturday") << QDate(2022, 1, 1) << 1;
        QTest::newRow("Saturday after a Sunday start") << QDate(2023, 1, 7) << 1;
        QTest::newRow("first Sunday after a Sunday start") << QDate(2023, 1, 8) << 2;
        QTest::newRow("Sunday right after a Saturday start") << QDate(2022, 1, 2) << 2;
        QTest::newRow("31 Dec, leap year starting Saturday (2000)") << QDate(2000, 12, 31) << 54;
        QTest::newRow("31 Dec, leap year starting Saturday (2028)") << QDate(2028, 12, 31) << 54;
        QTest::newRow("30 Dec, leap year starting Saturday") << QDate(2000, 12, 30) << 53;
        QTest::newRow("31 Dec, common year starting Friday") << QDate(2021, 12, 31) << 53;
        QTest::newRow("29 Feb") << QDate(2024, 2, 29) << 9;
    }
    void weekOfYear()
    {
        QFETCH(QDate, date);
        QFETCH(int, week);
        QCOMPARE(updatecheck::weekOfYear(date), week);
    }

    void checkDue_data()
    {
        QTest::addColumn<QString>("lastCheck");
        QTest::addColumn<int>("week");
        QTest::addColumn<bool>("due");
        QTest::newRow("never checked") << "0" << 1 << true;
        QTest::newRow("same week") << "23" << 23 << false;
        QTest::newRow("next week") << "23" << 24 << true;
        QTest::newRow("week 10 of next year after week 10") << "10" << 10 << false;
        QTest::newRow("blanks around the number") << " 10 " << 10 << false;
        QTest::newRow("not a number") << "ten" << 10 << true;
        QTest::newRow("empty") << "" << 10 << true;
        QTest::newRow("beyond 16 bits") << "65546" << 10 << true;
        QTest::newRow("negative") << "-10" << 10 << true;
    }
    void checkDue()
    {
        QFETCH(QString, lastCheck);
        QFETCH(int, week);
        QFETCH(bool, due);
        QCOMPARE(updatecheck::checkDue(lastCheck, week), due);
    }

    void parseVersionFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("web");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("lines");
        const QString url = "https://www.brackenhold.example/download";
        QTest::newRow("CR LF") << QByteArray(
                                      "Fernquill\r\n2.1.0\r\nhttps://www.brackenhold.example/download\r\n")
                               << "2.1.0" << url << 3;
        QTest::newRow("further lines ignored")
            << QByteArray("x\r\n2.1.0\r\nhttps://www.brackenhold.example/download\r\n9.9.9\r\nmore\r\n")
            << "2.1.0" << url << 3;
        QTest::newRow("no final line end")
            << QByteArray("x\r\n2.1.0\r\nhttps://www.brackenhold.example/download") << "2.1.0" << url << 3;
        QTest::newRow("LF only") << QByteArray("x\n2.1.0\nhttps://www.brackenhold.example/download\n")
                                 << "2.1.0" << url << 3;
        QTest::newRow("CR only") << QByteArray("x\r2.1.0\rhttps://www.brackenhold.example/download\r")
                                 << "2.1.0" << url << 3;
        QTest::newRow("blanks trimmed")
            << QByteArray("x\r\n 2.1.0 \t\r\n  https://www.brackenhold.example/download \r\n") << "2.1.0"
            << url << 3;
        QTest::newRow("empty first line")
            << QByteArray("\r\n2.1.0\r\nhttps://www.brackenhold.example/download\r\n") << "2.1.0" << url << 3;
        QTest::newRow("two lines") << QByteArray("x\r\n2.1.0\r\n") << "2.1.0"
                                   << "" << 2;
        QTest::newRow("one line") << QByteArray("2.1.0") << ""
                                  << "" << 1;
        QTest::newRow("empty file") << QByteArray() << ""
                                    << "" << 0;
        QTest::newRow("Windows-1252 text") << QByteArray("x\r\n2.1.0\xA0\r\nhttps://h.example/caf\xE9\r\n")
                                           << "2.1.0" << QString("https://h.example/caf\u00E9") << 3;
    }
    void parseVersionFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, web);
        QFETCH(QString, address);
        QFETCH(int, lines);
        const VersionFile file = updatecheck::parseVersionFile(bytes);
        QCOMPARE(file.webVersion, web);
        QCOMPARE(file.downloadAddress, address);
        QCOMPARE(file.lineCount, lines);
    }

    void compareVersions_data()
    {
        QTest::addColumn<QString>("web");
        QTest::addColumn<QString>("own");
        QTest::addColumn<Comparison>("result");
        QTest::newRow("2.1.0 vs 2.0.8: newer") << "2.1.0"
                                               << "2.0.8" << Comparison::Newer;
        QTest::newRow("2.0.8 vs 2.0.8: same") << "2.0.8"
                                              << "2.0.8" << Comparison::Same;
        QTest::newRow("1.9.9 vs 2.0.8: ahead") << "1.9.9"
                                               << "2.0.8" << Comparison::Ahead;
        QTest::newRow("2.0.9 vs 2.0.8: revision") << "2.0.9"
                                                  << "2.0.8" << Comparison::Newer;
        QTest::newRow("2.0.10 vs 2.0.9: numbers, not text") << "2.0.10"
                                                            << "2.0.9" << Comparison::Newer;
        QTest::newRow("leading zeros") << "02.00.08"
                                       << "2.0.8" << Comparison::Same;
        QTest::newRow("trailing text in a part") << "2.0.8-beta"
                                                 << "2.0.8" << Comparison::Same;
        QTest::newRow("no digits reads 0") << "x.y.z"
                                           << "2.0.8" << Comparison::Ahead;
        QTest::newRow("empty part reads 0") << "2..9"
                                            << "2.0.8" << Comparison::Newer;
        QTest::newRow("fourth part ignored") << "2.0.8.5"
                                             << "2.0.8" << Comparison::Same;
        QTest::newRow("two parts") << "2.1"
                                   << "2.0.8" << Comparison::Unreadable;
        QTest::newRow("empty") << ""
                               << "2.0.8" << Comparison::Unreadable;
        QTest::newRow("huge numbers do not overflow") << "99999999999999999999999.0.0"
                                                      << "2.0.8" << Comparison::Newer;
    }
    void compareVersions()
    {
        QFETCH(QString, web);
        QFETCH(QString, own);
        QFETCH(Comparison, result);
        QCOMPARE(updatecheck::compareVersions(web, own), result);
    }

    void shortFileIsUnreadable()
    {
        VersionFile file;
        file.webVersion = "9.0.0";
        file.lineCount = 2;
        QCOMPARE(resultOf(file, "2.0.8"), Comparison::Unreadable);
        file.lineCount = 3;
        QCOMPARE(resultOf(file, "2.0.8"), Comparison::Newer);
    }

    void addressToOpen_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("opened");
        const QString site = "https://www.brackenhold.example/";
        QTest::newRow("https") << "https://dl.brackenhold.example/fq.zip"
                               << "https://dl.brackenhold.example/fq.zip";
        QTest::newRow("http, blanks trimmed") << " http://dl.brackenhold.example/ "
                                              << "http://dl.brackenhold.example/";
        QTest::newRow("local file URL") << "file:///etc/passwd" << site;
        QTest::newRow("local program") << "/usr/bin/xterm" << site;
        QTest::newRow("script") << "javascript:alert(1)" << site;
        QTest::newRow("no host") << "https://" << site;
        QTest::newRow("empty (short file)") << "" << site;
    }
    void addressToOpen()
    {
        QFETCH(QString, address);
        QFETCH(QString, opened);
        QCOMPARE(updatecheck::addressToOpen(address, "https://www.brackenhold.example/"), opened);
    }

    void temporaryFolder_data()
    {
        QTest::addColumn<QString>("temp");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("folder");
        QTest::newRow("TEMP set") << "/var/tmp"
                                  << "/opt/fq"
                                  << "/var/tmp/";
        QTest::newRow("TEMP with separator") << "/var/tmp/"
                                             << "/opt/fq"
                                             << "/var/tmp/";
        QTest::newRow("TEMP empty: program folder") << ""
                                                    << "/opt/fq"
                                                    << "/opt/fq/";
        QTest::newRow("TEMP empty, no private folder") << ""
                                                       << ""
                                                       << "";
    }
    void temporaryFolder()
    {
        QFETCH(QString, temp);
        QFETCH(QString, program);
        QFETCH(QString, folder);
        QCOMPARE(updatecheck::temporaryFolder(temp, program), folder);
    }
};

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
