#include "platform/Cp1252.h"

#include <QTest>

class TestCp1252 : public QObject
{
    Q_OBJECT
private slots:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        const QString text = platform::cp1252::decode(all);
        QCOMPARE(text.size(), 256);
        bool lossy = false;
        QCOMPARE(platform::cp1252::encode(text, &lossy), all);
        QVERIFY(!lossy);
        // No bytes are empty text, not a null string (a null value deletes a key).
        QVERIFY(!platform::cp1252::decode(QByteArray()).isNull());
        QVERIFY(platform::cp1252::decode(QByteArray()).isEmpty());
    }

    void decodesTheHighRange_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("codePoint");
        QTest::newRow("euro") << 0x80 << 0x20AC;
        QTest::newRow("undefined 0x81 stays C1") << 0x81 << 0x0081;
        QTest::newRow("undefined 0x8D") << 0x8D << 0x008D;
        QTest::newRow("undefined 0x8F") << 0x8F << 0x008F;
        QTest::newRow("undefined 0x90") << 0x90 << 0x0090;
        QTest::newRow("undefined 0x9D") << 0x9D << 0x009D;
        QTest::newRow("S caron") << 0x8A << 0x0160;
        QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
        QTest::newRow("broken bar") << 0xA6 << 0x00A6;
        QTest::newRow("copyright") << 0xA9 << 0x00A9;
        QTest::newRow("y diaeresis") << 0xFF << 0x00FF;
    }
    void decodesTheHighRange()
    {
        QFETCH(int, byte);
        QFETCH(int, codePoint);
        QCOMPARE(platform::cp1252::decodeByte(static_cast<unsigned char>(byte)).unicode(), codePoint);
    }

    void unencodableCharactersAreFlagged_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("lossy");
        QTest::newRow("ascii") << QStringLiteral("abc") << QByteArray("abc") << false;
        QTest::newRow("euro") << QStringLiteral("5€") << QByteArray("5\x80") << false;
        QTest::newRow("cjk") << QStringLiteral("a\u4e00b") << QByteArray("a?b") << true;
        QTest::newRow("latin-ext") << QStringLiteral("\u0141") << QByteArray("?") << true;
    }
    void unencodableCharactersAreFlagged()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, lossy);
        bool flagged = false;
        QCOMPARE(platform::cp1252::encode(text, &flagged), bytes);
        QCOMPARE(flagged, lossy);
        QCOMPARE(platform::cp1252::canEncode(text), !lossy);
    }
};

QTEST_GUILESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
