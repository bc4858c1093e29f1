// Reading Access files through libmdb: text of every kind, NULL, many pages,
// every way a file can fail to be the database asked for, a reader process
// that goes wrong, and the strict reading of what the reader says.
#include "platform/MdbReader.h"
#include "platform/MdbWire.h"

#include "MdbWriter.h"
#include "ReaderStandIns.h"
#include "TestUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <optional>

#include <sys/stat.h>

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
        QTest::addColumn<QString>("place");    // "file", "folder" or "fifo" of that name
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
        const QString file = QStringLiteral("file");
        QTest::newRow("missing") << QByteArray() << file << specs;
        QTest::newRow("a folder of that name") << QByteArray() << QStringLiteral("folder") << specs;
        QTest::newRow("a FIFO of that name") << QByteArray() << QStringLiteral("fifo") << specs;
        QTest::newRow("empty file") << QByteArray("") << file << specs;
        QTest::newRow("text file") << QByteArray("Airline,Code\r\nFernway,FWY\r\n") << file << specs;
        QTest::newRow("unknown Jet version") << wrongVersion << file << specs;
        QTest::newRow("header page only") << good.left(4096) << file << specs;
        QTest::newRow("cut before the table") << good.left(4 * 4096) << file << specs;
        QTest::newRow("no such table") << testutil::jet4Database(other) << file << specs;
        QTest::newRow("no Code column") << testutil::jet4Database(noCode) << file << specs;
        // libmdb crashes on these pages while it fetches the rows; in a
        // sanitizer build the reader's report of that crash shows in the log.
        QTest::newRow("damaged page data") << testutil::corruptParkingSpecs() << file << specs;
        QTest::newRow("garbage after the header")
            << good.left(4096) + QByteArray(5 * 4096, '\xA5') << file << specs;
    }

    void failures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, place);
        QFETCH(QString, table);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("parkingspecs.mdb"));
        if (place == u"folder")
            testutil::makeDir(path);
        else if (place == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0); // nobody ever writes to it
        else if (!bytes.isNull())
            testutil::writeFile(path, bytes);
        // What is no regular file never reaches the reader: a stand-in that
        // would hang shows whether it was started.
        const bool regular = place == u"file" && !bytes.isNull();
        std::optional<testutil::ReaderOverride> standIn;
        if (!regular)
            standIn.emplace(testutil::writeBadReader(dir.path(), testutil::BadReader::Hangs));

        const platform::mdb::TableRows read = platform::mdb::readTable(path, table, kColumns);
        QVERIFY(!read.ok);
        QVERIFY(!read.error.isEmpty());
        QVERIFY(read.rows.isEmpty());
        QCOMPARE(QFileInfo::exists(testutil::readerStartedMark(dir.path())), false);
    }

    // Whatever the reader process does, the read fails and the program goes on.
    void readerGoneWrong_data()
    {
        QTest::addColumn<int>("kind"); // a testutil::BadReader, or -1: no reader at that path
        QTest::newRow("reader missing") << -1;
        QTest::newRow("reader hangs") << int(testutil::BadReader::Hangs);
        QTest::newRow("reader crashes") << int(testutil::BadReader::Crashes);
        QTest::newRow("reader writes no table") << int(testutil::BadReader::Babbles);
        QTest::newRow("reader writes without end") << int(testutil::BadReader::Floods);
        QTest::newRow("reader fails") << int(testutil::BadReader::Fails);
    }

    void readerGoneWrong()
    {
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("parkingspecs.mdb"));
        testutil::writeParkingSpecs(path, {{QStringLiteral("Fernway"), QStringLiteral("FWY")}});
        const QString reader = kind < 0 ? dir.filePath(QStringLiteral("no-reader"))
                                        : testutil::writeBadReader(dir.path(), testutil::BadReader(kind));
        {
            const testutil::ReaderOverride use(reader);
            const platform::mdb::TableRows read =
                platform::mdb::readTable(path, QStringLiteral("parkingSpecs"), kColumns);
            QVERIFY(!read.ok);
            QVERIFY(!read.error.isEmpty());
            QVERIFY(read.rows.isEmpty());
        }
        if (kind >= 0)
            QVERIFY(QFileInfo::exists(testutil::readerStartedMark(dir.path())));
        // The next read with the real reader works.
        const platform::mdb::TableRows again =
            platform::mdb::readTable(path, QStringLiteral("parkingSpecs"), kColumns);
        QVERIFY2(again.ok, qPrintable(again.error));
        QCOMPARE(again.rows.size(), 1);
    }

    // What the reader says is taken only when it is one whole table.
    void decodeRows_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QList<QStringList>>("rows");
        const auto le = [](quint32 n) {
            std::string s;
            mdbwire::appendCount(s, n);
            return QByteArray::fromStdString(s);
        };
        const QByteArray fernway = "R" + le(7) + "Fernway" + le(3) + "FWY";
        const QByteArray empty = "R" + le(0) + le(0);
        const QByteArray wide =
            "R" + le(6) + "\xE6\x9D\xB1\xF0\x9F\x9B" + le(1) + "\xAB"; // a character split
        const QList<QStringList> none;
        const QList<QStringList> one{{QStringLiteral("Fernway"), QStringLiteral("FWY")}};

        QTest::newRow("no rows") << "E" + le(0) << true << none;
        QTest::newRow("two rows, one empty")
            << fernway + empty + "E" + le(2) << true << (QList<QStringList>{one[0], {QString(), QString()}});
        QTest::newRow("UTF-8 text")
            << "R" + le(5) + "\xC3\xA9t\xC3\xA9" + le(4) + "\xF0\x9F\x9B\xA9" + "E" + le(1) << true
            << (QList<QStringList>{{QStringLiteral("été"), QStringLiteral("\U0001F6E9")}});
        QTest::newRow("nothing") << QByteArray() << false << none;
        QTest::newRow("no end") << fernway << false << none;
        QTest::newRow("end cut short") << fernway + "E" + le(1).left(3) << false << none;
        QTest::newRow("bytes after the end") << fernway + "E" + le(1) + "R" << false << none;
        QTest::newRow("fewer rows than announced") << fernway + "E" + le(2) << false << none;
        QTest::newRow("more rows than announced") << fernway + fernway + "E" + le(1) << false << none;
        QTest::newRow("a column too few") << "R" + le(7) + "Fernway" + "E" + le(1) << false << none;
        QTest::newRow("length beyond the end") << "R" + le(8) + "Fernway" << false << none;
        QTest::newRow("length above the limit")
            << "R" + le(16384) + QByteArray(16384, 'a') + le(0) + "E" + le(1) << false << none;
        QTest::newRow("length near 4 GB") << "R" + le(0xFFFFFFFFu) + "E" + le(1) << false << none;
        QTest::newRow("unknown record") << "X" + le(0) + "E" + le(0) << false << none;
        QTest::newRow("plain text") << QByteArray("Airline,Code\nFernway,FWY\n") << false << none;
        QTest::newRow("a character cut in two") << wide + "E" + le(1) << false << none;
        QTest::newRow("overlong form") << "R" + le(2) + "\xC0\xAF" + le(0) + "E" + le(1) << false << none;
        QTest::newRow("surrogate") << "R" + le(3) + "\xED\xA0\x80" + le(0) + "E" + le(1) << false << none;
        QTest::newRow("above U+10FFFF")
            << "R" + le(4) + "\xF4\x90\x80\x80" + le(0) + "E" + le(1) << false << none;
    }

    void decodeRows()
    {
        QFETCH(QByteArray, output);
        QFETCH(bool, ok);
        QFETCH(QList<QStringList>, rows);
        const platform::mdb::TableRows decoded = platform::mdb::decodeRows(output, 2);
        QCOMPARE(decoded.ok, ok);
        QCOMPARE(decoded.error.isEmpty(), ok);
        QCOMPARE(decoded.rows, rows);
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
