// Reading Access files through libmdb: text of every kind, NULL, many pages,
// and every way a file can fail to be the database asked for.
#include "platform/MdbReader.h"

#include "MdbWriter.h"
#include "TestUtil.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using testutil::MdbRow;
using testutil::MdbTable;

namespace {

const QStringList kColumns = {QStringLiteral("Airline"), QStringLiteral("Code")};

QList<QStringList> expectedRows(const MdbTable& table)
{
    QList<QStringList> rows;
    for (const MdbRow& row : table.rows) {
        QStringList texts;
        for (const auto& value : row)
            texts.append(value.value_or(QString())); // NULL reads as empty text
        rows.append(texts);
    }
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(testutil::MdbTable)

class TestMdbReader : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryRow_data()
    {
        QTest::addColumn<MdbTable>("table");
        const auto specs = [](const QList<MdbRow>& rows) {
            MdbTable t = testutil::parkingSpecsTable({});
            t.rows = rows;
            return t;
        };
        QTest::newRow("no rows") << specs({});
        QTest::newRow("apostrophes, accents, symbols")
            << specs({{QStringLiteral("O'Hare Express"), QStringLiteral("OHX")},
                      {QStringLiteral("Aérolignes Brumeuses"), QStringLiteral("ABR")},
                      {QStringLiteral("Bracken & Moor © 100%"), QStringLiteral("B_M")}});
        QTest::newRow("wide characters, short texts")
            << specs({{QStringLiteral("東京エア"), QStringLiteral("ĀB")},
                      {QStringLiteral("ab"), QStringLiteral("Z")},
                      {QString(QChar(0x20AC)) + QStringLiteral(" Euro Air"), QStringLiteral("EUR")}});
        QTest::newRow("empty and NULL") << specs({{QString(), QStringLiteral("E")},
                                                  {std::nullopt, std::nullopt},
                                                  {QStringLiteral("X"), QString()}});
        QTest::newRow("full-length texts") << specs(
            {{QString(255, u'w'), QString(50, u'c')}, {QString(255, QChar(0x00E9)), QStringLiteral("ZZ")}});

        QList<MdbRow> many;
        for (int i = 0; i < 2000; ++i)
            many.append(
                {QStringLiteral("Airline number %1 of the long list").arg(i), QStringLiteral("C%1").arg(i)});
        QTest::newRow("many pages") << specs(many);
    }

    void readsEveryRow()
    {
        QFETCH(MdbTable, table);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("parkingspecs.mdb"));
        testutil::writeFile(path, testutil::jet4Database(table));

        const platform::mdb::TableRows read =
            platform::mdb::readTable(path, QStringLiteral("parkingSpecs"), kColumns);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.rows, expectedRows(table));
    }

    void namesIgnoreCaseAndColumnsComeInTheOrderAsked()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("db.mdb"));
        testutil::writeParkingSpecs(path, {{QStringLiteral("Fernway"), QStringLiteral("FWY")}});
        const platform::mdb::TableRows read = platform::mdb::readTable(
            path, QStringLiteral("PARKINGSPECS"), {QStringLiteral("code"), QStringLiteral("AIRLINE")});
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.rows, (QList<QStringList>{{QStringLiteral("FWY"), QStringLiteral("Fernway")}}));
    }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file at all
        QTest::addColumn<bool>("asFolder");
        QTest::addColumn<QString>("table");

        const QByteArray good = testutil::jet4Database(
            testutil::parkingSpecsTable({{QStringLiteral("Fernway"), QStringLiteral("FWY")}}));
        MdbTable other = testutil::parkingSpecsTable({{QStringLiteral("Fernway"), QStringLiteral("FWY")}});
        other.name = QStringLiteral("airlines");
        MdbTable noCode = testutil::parkingSpecsTable({});
        noCode.columns = {{QStringLiteral("Airline"), 255}, {QStringLiteral("Carrier"), 50}};
        QByteArray wrongVersion = good;
        wrongVersion[0x14] = 0x07;

        const QString specs = QStringLiteral("parkingSpecs");
        QTest::newRow("missing") << QByteArray() << false << specs;
        QTest::newRow("a folder of that name") << QByteArray() << true << specs;
        QTest::newRow("empty file") << QByteArray("") << false << specs;
        QTest::newRow("text file") << QByteArray("Airline,Code\r\nFernway,FWY\r\n") << false << specs;
        QTest::newRow("unknown Jet version") << wrongVersion << false << specs;
        QTest::newRow("header page only") << good.left(4096) << false << specs;
        QTest::newRow("cut before the table") << good.left(4 * 4096) << false << specs;
        QTest::newRow("no such table") << testutil::jet4Database(other) << false << specs;
        QTest::newRow("no Code column") << testutil::jet4Database(noCode) << false << specs;
    }

    void failures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, asFolder);
        QFETCH(QString, table);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("parkingspecs.mdb"));
        if (asFolder)
            testutil::makeDir(path);
        else if (!bytes.isNull())
            testutil::writeFile(path, bytes);

        const platform::mdb::TableRows read = platform::mdb::readTable(path, table, kColumns);
        QVERIFY(!read.ok);
        QVERIFY(!read.error.isEmpty());
        QVERIFY(read.rows.isEmpty());
    }

    // The bundled list is written by scripts/make_parkingspecs.py; the test
    // writer must give the very same bytes for the same rows, so the two
    // writers keep agreeing and the bundled file stays readable.
    void bundledDatabaseMatchesTheTestWriter()
    {
        // A compiler cache may name this file relative to the build folder,
        // the parent of the test programs' folder.
        const QDir build(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
        const QString bundled = QDir::cleanPath(
            build.absoluteFilePath(QStringLiteral(__FILE__ "/../../../data/parkingspecs.mdb")));
        if (!QFileInfo::exists(bundled))
            QSKIP("the sources' data folder is not reachable from here");
        const platform::mdb::TableRows read =
            platform::mdb::readTable(bundled, QStringLiteral("parkingSpecs"), kColumns);
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.rows.size() >= 30);
        QList<std::pair<QString, QString>> rows;
        for (const QStringList& row : read.rows) {
            QVERIFY(!row[0].isEmpty());
            QVERIFY(!row[1].isEmpty() && row[1].size() <= 5 && !row[1].contains(u','));
            rows.append({row[0], row[1]});
        }
        QCOMPARE(testutil::jet4Database(testutil::parkingSpecsTable(rows)), testutil::readFile(bundled));
    }
};

QTEST_GUILESS_MAIN(TestMdbReader)
#include "tst_mdbreader.moc"
