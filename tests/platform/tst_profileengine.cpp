#include "platform/ProfileEngine.h"

#include "TestUtil.h"

#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <ctime>
#include <QTest>

using namespace platform::profile;

namespace {
constexpr Buffer kValue{4096};
constexpr Buffer kList{8192};

QString nulList(const QStringList& names)
{
    QString s;
    for (const QString& n : names)
        s += n + QChar(0);
    return s;
}
} // namespace

class TestProfileEngine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString file(const QByteArray& bytes, const QString& name = QStringLiteral("aircraft.cfg"))
    {
        const QString f = m_tmp.path() + "/" + name;
        testutil::writeFile(f, bytes);
        return f;
    }

private slots:
    void init() { clearCache(); }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain") << QByteArray("[fltsim.0]\r\ntitle=Plane\r\n") << "fltsim.0" << "title" << "Plane";
        QTest::newRow("case of names") << QByteArray("[FltSim.0]\r\nTITLE=Plane\r\n") << "FLTSIM.0" << "title" << "Plane";
        QTest::newRow("blanks around =") << QByteArray("[s]\r\n \t key \t=\t value \v\r\n") << "s" << "key" << "value";
        QTest::newRow("first = splits") << QByteArray("[s]\nk=a=b\n") << "s" << "k" << "a=b";
        QTest::newRow("double quotes") << QByteArray("[s]\nk=\" a b \"\n") << "s" << "k" << " a b ";
        QTest::newRow("single quotes") << QByteArray("[s]\nk='x'\n") << "s" << "k" << "x";
        QTest::newRow("mismatched quotes") << QByteArray("[s]\nk=\"x'\n") << "s" << "k" << "\"x'";
        QTest::newRow("lone quote") << QByteArray("[s]\nk=\"\n") << "s" << "k" << "\"";
        QTest::newRow("empty value") << QByteArray("[s]\nk=\n") << "s" << "k" << "";
        QTest::newRow("no inline comments") << QByteArray("[s]\ntitle=My Plane // livery\n") << "s" << "title"
                                            << "My Plane // livery";
        QTest::newRow("semicolon line is comment") << QByteArray("[s]\n;k=1\nk=2\n") << "s" << "k" << "2";
        QTest::newRow("indented comment") << QByteArray("[s]\n  ;k=1\n") << "s" << "k" << "";
        QTest::newRow("hash is text") << QByteArray("[s]\n#k=1\n") << "s" << "#k" << "1";
        QTest::newRow("first key wins") << QByteArray("[s]\nk=1\nK=2\n") << "s" << "k" << "1";
        QTest::newRow("first section wins") << QByteArray("[s]\na=1\n[S]\na=2\nb=3\n") << "s" << "b" << "";
        QTest::newRow("first section value") << QByteArray("[s]\na=1\n[S]\na=2\n") << "S" << "a" << "1";
        QTest::newRow("key without = unreadable") << QByteArray("[s]\nk\n") << "s" << "k" << "";
        QTest::newRow("empty key name") << QByteArray("[s]\n=v\n") << "s" << "" << "v";
        QTest::newRow("lines before header unreachable") << QByteArray("k=1\n[s]\n") << "s" << "k" << "";
        QTest::newRow("header trailing text") << QByteArray("[s] junk\nk=1\n") << "s" << "k" << "1";
        QTest::newRow("header first bracket") << QByteArray("[a]b]\nk=1\n") << "a" << "k" << "1";
        QTest::newRow("header without bracket") << QByteArray("[ open \nk=1\n") << "open" << "k" << "1";
        QTest::newRow("empty section name") << QByteArray("[]\nk=1\n") << "" << "k" << "1";
        QTest::newRow("indented header") << QByteArray("  [s]\nk=1\n") << "s" << "k" << "1";
        QTest::newRow("cr only lines") << QByteArray("[s]\rk=1\r") << "s" << "k" << "1";
        QTest::newRow("no final line end") << QByteArray("[s]\r\nk=last") << "s" << "k" << "last";
        QTest::newRow("caller names lose spaces") << QByteArray("[s]\nk=1\n") << "  s " << " k  " << "1";
        QTest::newRow("utf8 bom hides first header") << QByteArray("\xEF\xBB\xBF[s]\nk=1\n") << "s" << "k" << "";
        QTest::newRow("cp1252 value") << QByteArray("[s]\nk=Caf\xE9 \x80\n") << "s" << "k" << "Café €";
        QTest::newRow("undefined cp1252 byte") << QByteArray("[s]\nk=a\x81z\n") << "s" << "k" << "a\u0081z";
        QTest::newRow("nul ends the value") << QByteArray("[s]\nk=ab\0cd\n", 13) << "s" << "k" << "ab";
        QTest::newRow("missing section") << QByteArray("[s]\nk=1\n") << "t" << "k" << "";
        QTest::newRow("missing key") << QByteArray("[s]\nk=1\n") << "s" << "x" << "";
    }
    void reads()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QString f = file(content);
        QCOMPARE(getString(section, key, QStringLiteral(""), kValue, f), expected);
    }

    void utf16File()
    {
        QByteArray b("\xFF\xFE");
        for (char16_t c : u"[s]\r\nk=\u4e00x\r\n")
            if (c) {
                b.append(static_cast<char>(c & 0xFF));
                b.append(static_cast<char>(c >> 8));
            }
        const QString f = file(b);
        QCOMPARE(getString("s", "k", "", kValue, f), QStringView(u"\u4e00x").toString());
        QVERIFY(writeString("s", "n", QStringView(u"\u00e9\u4e01").toString(), f).ok);
        QCOMPARE(getString("s", "n", "", kValue, f), QStringView(u"\u00e9\u4e01").toString());
        QVERIFY(testutil::readFile(f).startsWith(b));
    }

    void lists_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section"); // null: section names
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("sections in file order with duplicates")
            << QByteArray("[b]\n[A]\n[b]\n[]\n") << QString() << QStringList{"b", "A", "b", ""};
        QTest::newRow("keys spelled as in file")
            << QByteArray("[s]\nTitle=1\n;c=1\nnoeq\nmodel=2\n=x\nmodel=3\n") << "S"
            << QStringList{"Title", "model", "", "model"};
        QTest::newRow("keys of first section only")
            << QByteArray("[s]\na=1\n[s]\nb=2\n") << "s" << QStringList{"a"};
        QTest::newRow("section without keys") << QByteArray("[s]\n[t]\nk=1\n") << "s" << QStringList{};
        QTest::newRow("missing section") << QByteArray("[s]\n") << "x" << QStringList{};
        QTest::newRow("empty file") << QByteArray() << QString() << QStringList{};
    }
    void lists()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QStringList, expected);
        const QString f = file(content);
        QCOMPARE(getString(section, QString(), "", kList, f), nulList(expected));
    }

    void missingFileGivesDefaultAndEmptyLists()
    {
        const QString f = m_tmp.path() + "/none.cfg";
        QCOMPARE(getString("s", "k", "dflt", kValue, f), QStringLiteral("dflt"));
        QCOMPARE(getString(QString(), QString(), "", kList, f), QString());
        QCOMPARE(getString("s", QString(), "", kList, f), QString());
    }

    void truncation_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("expected");
        // Names "ab" and "cd": the list is "ab\0cd\0" (6), needing 7 with its end.
        QTest::newRow("fits with room") << 8 << QString("ab") + QChar(0) + "cd" + QChar(0);
        QTest::newRow("fits exactly") << 7 << QString("ab") + QChar(0) + "cd" + QChar(0);
        // Otherwise size - 2 characters come back: the cut name has no NUL after it.
        QTest::newRow("names fill buffer") << 6 << QString("ab") + QChar(0) + "c";
        QTest::newRow("cut after first nul") << 5 << QString("ab") + QChar(0);
        QTest::newRow("cut inside first") << 4 << QString("ab");
        QTest::newRow("tiny") << 2 << QString();
    }
    void truncation()
    {
        QFETCH(int, size);
        QFETCH(QString, expected);
        const QString f = file("[s]\nab=1\ncd=2\n");
        QCOMPARE(getString("s", QString(), "", Buffer{size}, f), expected);
    }

    void longValueIsCut()
    {
        const QByteArray v(5000, 'x');
        const QString f = file("[s]\nk=" + v + "\n");
        QCOMPARE(getString("s", "k", "", kValue, f).size(), 4095);
        const QByteArray huge(200000, 'y');
        const QString g = file("[s]\nk=" + huge + "\nz=1\n", "g.cfg");
        QCOMPARE(getString("s", "k", "", kValue, g).size(), 4095);
        QCOMPARE(getString("s", "z", "", kValue, g), QStringLiteral("1"));
    }

    void writes_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");   // null: delete the section
        QTest::addColumn<QString>("value"); // null: delete the key
        QTest::addColumn<QByteArray>("after");

        const QString null;
        QTest::newRow("replace keeps up to =")
            << QByteArray("[s]\r\ntitle = Old // c\r\nx=1\r\n") << "s" << "title" << "New"
            << QByteArray("[s]\r\ntitle =New\r\nx=1\r\n");
        QTest::newRow("replace keeps file spelling")
            << QByteArray("[FLTSIM.0]\r\nTitle=a\r\n") << "fltsim.0" << "title" << "b"
            << QByteArray("[FLTSIM.0]\r\nTitle=b\r\n");
        QTest::newRow("replace empty value")
            << QByteArray("[s]\nk=v\n") << "s" << "k" << "" << QByteArray("[s]\nk=\n");
        QTest::newRow("replace first of duplicates")
            << QByteArray("[s]\nk=1\nk=2\n") << "s" << "k" << "9" << QByteArray("[s]\nk=9\nk=2\n");
        QTest::newRow("add after last key before comments and blanks")
            << QByteArray("[s]\r\na=1\r\n; note\r\n\r\n[t]\r\n") << "s" << "b" << "2"
            << QByteArray("[s]\r\na=1\r\nb=2\r\n; note\r\n\r\n[t]\r\n");
        QTest::newRow("add to empty section after header")
            << QByteArray("[s]\n\n[t]\n") << "s" << "k" << "v" << QByteArray("[s]\nk=v\n\n[t]\n");
        QTest::newRow("add into lf file uses lf")
            << QByteArray("[s]\na=1\n") << "s" << "b" << "2" << QByteArray("[s]\na=1\nb=2\n");
        QTest::newRow("add into mixed file uses crlf")
            << QByteArray("[s]\na=1\r\n") << "s" << "b" << "2" << QByteArray("[s]\na=1\r\nb=2\r\n");
        QTest::newRow("add after last line without end")
            << QByteArray("[s]\r\na=1") << "s" << "b" << "2" << QByteArray("[s]\r\na=1\r\nb=2");
        QTest::newRow("replace on last line without end adds the file's line end")
            << QByteArray("[SectionName]\r\nTestKey=TestValue") << "SectionName" << "TestKey" << "V2"
            << QByteArray("[SectionName]\r\nTestKey=V2\r\n");
        QTest::newRow("add to duplicate goes to first")
            << QByteArray("[s]\na=1\n[s]\nb=2\n") << "s" << "c" << "3"
            << QByteArray("[s]\na=1\nc=3\n[s]\nb=2\n");
        QTest::newRow("new section at end")
            << QByteArray("[s]\r\na=1\r\n") << "general" << "atc_type" << "BOEING"
            << QByteArray("[s]\r\na=1\r\n[general]\r\natc_type=BOEING\r\n");
        QTest::newRow("new section after missing line end")
            << QByteArray("[s]\na=1") << "t" << "k" << "v" << QByteArray("[s]\na=1\n[t]\nk=v\n");
        QTest::newRow("value written as given")
            << QByteArray("[s]\n") << "s" << "k" << " \"q\" // c " << QByteArray("[s]\nk= \"q\" // c \n");
        QTest::newRow("delete key line")
            << QByteArray("[s]\r\na=1\r\nb=2\r\n") << "s" << "A" << null << QByteArray("[s]\r\nb=2\r\n");
        QTest::newRow("delete last key keeps header")
            << QByteArray("[s]\na=1\n[t]\n") << "s" << "a" << null << QByteArray("[s]\n[t]\n");
        QTest::newRow("delete missing key no change")
            << QByteArray("[s]\na=1\n") << "s" << "zz" << null << QByteArray("[s]\na=1\n");
        QTest::newRow("delete section keeps comments and blanks")
            << QByteArray("[a]\nx=1\n[s]\nk=1\n; c\n\nm=2\n[t]\ny=1\n") << "S" << null << null
            << QByteArray("[a]\nx=1\n; c\n\n[t]\ny=1\n");
        QTest::newRow("delete first duplicate section only")
            << QByteArray("[s]\na=1\n[s]\nb=2\n") << "s" << null << null << QByteArray("[s]\nb=2\n");
        QTest::newRow("delete missing section no change")
            << QByteArray("[s]\na=1\n") << "q" << null << null << QByteArray("[s]\na=1\n");
        QTest::newRow("odd bytes elsewhere untouched")
            << QByteArray("x\0y\r\n[s]\r\na=1\r\r\n\x81\x8D=\x9D\n", 22) << "s" << "a" << "2"
            << QByteArray("x\0y\r\n[s]\r\na=2\r\r\n\x81\x8D=\x9D\n", 22);
        // A NUL ends a section's name, not its header line: the line's bytes stay.
        QTest::newRow("nul in header: replace")
            << QByteArray("[s\0x] y\r\na=1\r\n", 14) << "s" << "a" << "2" << QByteArray("[s\0x] y\r\na=2\r\n", 14);
        QTest::newRow("nul in header: add after a last line without end")
            << QByteArray("[s\0x]z", 6) << "s" << "k" << "v" << QByteArray("[s\0x]z\r\nk=v", 11);
        QTest::newRow("nul in header: delete section")
            << QByteArray("[s\0x]\na=1\n[s\0y]\nb=2\n", 20) << "s" << null << null << QByteArray("[s\0y]\nb=2\n", 10);
        QTest::newRow("nul in header: key name beginning with [ reparses")
            << QByteArray("[s\0x]\na=1\n", 10) << "s" << "[k" << "v" << QByteArray("[s\0x]\na=1\n[k=v\n", 15);
        QByteArray everyByte;
        for (int b = 0; b < 256; ++b)
            everyByte += char(b);
        QTest::newRow("every byte value untouched")
            << QByteArray("[s]\na=1\n") + everyByte << "s" << "a" << "2" << QByteArray("[s]\na=2\n") + everyByte;
    }
    void writes()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        const QString f = file(before);
        const WriteResult r = writeString(section, key, value, f);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(testutil::readFile(f), after);
    }

    // A section name that stands more than once: each copy is read and
    // written by its occurrence; every other line stays byte for byte.
    void sectionCopies_data()
    {
        QTest::addColumn<int>("occurrence");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value"); // null: delete the key
        QTest::addColumn<QString>("read");  // the copy's value before the write
        QTest::addColumn<QByteArray>("after"); // empty: the write is refused

        const QByteArray head = "[s]\r\na=1\r\n[t]\r\nx=0\r\n";
        QTest::newRow("first copy") << 0 << "a" << "9" << "1" << QByteArray("[s]\r\na=9\r\n[t]\r\nx=0\r\n[S]\r\na=2\r\n; c\r\n[s]\r\nb=3");
        QTest::newRow("second copy, other spelling")
            << 1 << "A" << "9" << "2" << head + "[S]\r\na=9\r\n; c\r\n[s]\r\nb=3";
        QTest::newRow("second copy, new key before its comment")
            << 1 << "n" << "v" << "" << head + "[S]\r\na=2\r\nn=v\r\n; c\r\n[s]\r\nb=3";
        QTest::newRow("second copy, key deleted") << 1 << "a" << QString() << "2" << head + "[S]\r\n; c\r\n[s]\r\nb=3";
        QTest::newRow("third copy, last line") << 2 << "b" << "5" << "3" << head + "[S]\r\na=2\r\n; c\r\n[s]\r\nb=5\r\n";
        QTest::newRow("third copy, new key after last line")
            << 2 << "c" << "4" << "" << head + "[S]\r\na=2\r\n; c\r\n[s]\r\nb=3\r\nc=4";
        QTest::newRow("fourth copy does not exist") << 3 << "a" << "1" << "" << QByteArray();
    }
    void sectionCopies()
    {
        QFETCH(int, occurrence);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, read);
        QFETCH(QByteArray, after);
        const QByteArray before = "[s]\r\na=1\r\n[t]\r\nx=0\r\n[S]\r\na=2\r\n; c\r\n[s]\r\nb=3";
        const QString f = file(before, "copies.cfg");
        QCOMPARE(getString("s", key, "", kValue, f, occurrence), read);
        const WriteResult r = writeString("s", key, value, f, occurrence);
        QCOMPARE(r.ok, !after.isEmpty());
        QCOMPARE(testutil::readFile(f), after.isEmpty() ? before : after);
        if (r.ok && !value.isNull())
            QCOMPARE(getString("s", key, "", kValue, f, occurrence), value);
    }

    // A batch edits the parsed file in place; what it lands must be exactly
    // what the same writes made one by one would have made.
    void batchMatchesSingleWrites_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("utf16");
        const QByteArray body = ";top\r\n[s]\r\na=1\r\n\r\n[t]\r\nk=1\r\n; c\r\n[S]\r\na=2";
        QTest::newRow("crlf, no final line end") << body << false;
        QTest::newRow("lf") << QByteArray(body).replace("\r\n", "\n") + "\n" << false;
        QTest::newRow("cr only") << QByteArray(body).replace("\r\n", "\r") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("utf-16") << body << true;
    }
    void batchMatchesSingleWrites()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, utf16);
        if (utf16) {
            QByteArray wide("\xFF\xFE");
            for (char c : before)
                wide += QByteArray(1, c) + QByteArray(1, '\0');
            before = wide + "x"; // an odd last byte stays too
        }
        struct W
        {
            const char* section;
            const char* key;
            const char* value;
            int occurrence;
        };
        const QList<W> writes = {{"s", "a", "9", 0},    {"s", "a", "8", 1},   {"s", "b", "2", 1},
                                 {"t", "[odd", "v", 0}, {"t", "k", nullptr, 0}, {"new", "n", "1", 0},
                                 {"t", nullptr, nullptr, 0}, {"s", "c", "3", 0}, {"new", "m", "2", 0},
                                 {"s", "a", "7", 1}};
        const auto apply = [&](const QString& f) {
            QList<bool> done;
            for (const W& w : writes) {
                const QString key = w.key ? QString::fromLatin1(w.key) : QString();
                const QString value = w.value ? QString::fromLatin1(w.value) : QString();
                done.append(writeString(QString::fromLatin1(w.section), key, value, f, w.occurrence).ok);
            }
            return done;
        };
        const QString one = file(before, "one.cfg");
        const QList<bool> doneOne = apply(one);
        const QString all = file(before, "all.cfg");
        {
            Batch b(all);
            QCOMPARE(apply(all), doneOne);
            QCOMPARE(getString("s", "a", "", kValue, all, 1), getString("s", "a", "", kValue, one, 1));
            QCOMPARE(testutil::readFile(all), before);
            QVERIFY(b.commit().ok);
        }
        QCOMPARE(testutil::readFile(all), testutil::readFile(one));
    }

    void createsNewFileButNotFolder()
    {
        const QString f = m_tmp.path() + "/new.cfg";
        QVERIFY(writeString("s", "k", "v", f).ok);
        QCOMPARE(testutil::readFile(f), QByteArray("[s]\r\nk=v\r\n"));
        const QString g = m_tmp.path() + "/nofolder/new.cfg";
        QVERIFY(!writeString("s", "k", "v", g).ok);
        QVERIFY(!QFileInfo::exists(g));
    }

    void refusedWritesChangeNothing_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("read-only file") << "v";
        QTest::newRow("unencodable text") << QStringView(u"\u4e00").toString();
        QTest::newRow("line break in value") << "a\r\n[evil]";
    }
    void refusedWritesChangeNothing()
    {
        QFETCH(QString, value);
        const QByteArray before("[s]\r\nk=old\r\n");
        const QString f = file(before);
        if (QString(QTest::currentDataTag()) == "read-only file")
            testutil::setMode(f, 0444);
        const WriteResult r = writeString("s", "k", value, f);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QCOMPARE(testutil::readFile(f), before);
        testutil::setMode(f, 0644);
    }

    void resolvesNameWithoutCase()
    {
        const QString real = file("[s]\nk=1\n", "Sub/Aircraft.CFG");
        const QString asked = m_tmp.path() + "/sub/aircraft.cfg";
        QCOMPARE(getString("s", "k", "", kValue, asked), QStringLiteral("1"));
        QVERIFY(writeString("s", "k", "2", asked).ok);
        QCOMPARE(testutil::readFile(real), QByteArray("[s]\nk=2\n"));
        QVERIFY(!QFileInfo::exists(asked) || QFileInfo(asked).canonicalFilePath() == QFileInfo(real).canonicalFilePath());
    }

    void seesChangesMadeByOthers()
    {
        const QString f = file("[s]\nk=1\n");
        QCOMPARE(getString("s", "k", "", kValue, f), QStringLiteral("1"));
        // Same size, rewritten behind the cache's back.
        testutil::writeFile(f, "[s]\nk=2\n");
        QCOMPARE(getString("s", "k", "", kValue, f), QStringLiteral("2"));
        QVERIFY(writeString("s", "k", "3", f).ok);
        QCOMPARE(getString("s", "k", "", kValue, f), QStringLiteral("3"));
    }

    void batchLandsWholeOrNotAtAll()
    {
        const QByteArray before("[s]\r\na=1\r\n");
        const QString f = file(before, "batch.cfg");
        {
            Batch b(f);
            QVERIFY(writeString("s", "a", "2", f).ok);
            QVERIFY(writeString("t", "k", "v", f).ok);
            // Reads see the pending content, the file is still the old one.
            QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("2"));
            QCOMPARE(testutil::readFile(f), before);
        } // dropped without commit
        QCOMPARE(testutil::readFile(f), before);
        QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("1"));
        {
            Batch b(f);
            QVERIFY(writeString("s", "a", "2", f).ok);
            QVERIFY(writeString("t", "k", "v", f).ok);
            QVERIFY(b.commit().ok);
        }
        QCOMPARE(testutil::readFile(f), QByteArray("[s]\r\na=2\r\n[t]\r\nk=v\r\n"));
        // A read-only file refuses the commit and stays as it was.
        testutil::setMode(f, 0444);
        {
            Batch b(f);
            QVERIFY(writeString("s", "a", "3", f).ok);
            QVERIFY(!b.commit().ok);
        }
        testutil::setMode(f, 0644);
        QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("2"));
        // Other files are written directly while a batch runs.
        const QString g = file("[x]\r\n", "other.cfg");
        {
            Batch b(f);
            QVERIFY(writeString("x", "y", "1", g).ok);
            QCOMPARE(testutil::readFile(g), QByteArray("[x]\r\ny=1\r\n"));
        }
    }

    void nestedBatchIsInertAndSaysSo()
    {
        const QString f = file("[s]\r\na=1\r\n", "nested.cfg");
        Batch outer(f);
        QVERIFY(writeString("s", "a", "2", f).ok);
        {
            Batch inner(f);
            QVERIFY(!inner.commit().ok); // never reports a write it did not make
        }
        // The outer batch still holds its pending write and lands it.
        QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("2"));
        QCOMPARE(testutil::readFile(f), QByteArray("[s]\r\na=1\r\n"));
        QVERIFY(outer.commit().ok);
        QCOMPARE(testutil::readFile(f), QByteArray("[s]\r\na=2\r\n"));
    }

    void freshFilesAreNotCachedBlindly()
    {
        // Two versions of the same size with the same time stamp: only a file
        // changed long enough ago is trusted by its identity.
        const QString f = file("[s]\r\na=1\r\n", "racy.cfg");
        struct timespec times[2];
        ::clock_gettime(CLOCK_REALTIME, &times[0]);
        times[1] = times[0];
        ::utimensat(AT_FDCWD, QFile::encodeName(f).constData(), times, 0);
        QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("1"));
        testutil::writeFile(f, "[s]\r\na=2\r\n");
        ::utimensat(AT_FDCWD, QFile::encodeName(f).constData(), times, 0);
        QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("2"));
    }

    void snapshotReadsOneVersion()
    {
        const QString f = file("[s]\r\na=1\r\n", "snap.cfg");
        {
            Snapshot snap(f);
            QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("1"));
            testutil::writeFile(f, "[s]\r\na=2\r\n"); // another program
            QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("1"));
            QVERIFY(writeString("s", "a", "3", f).ok); // our own write is seen
            QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("3"));
        }
        testutil::writeFile(f, "[s]\r\na=4\r\n");
        QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("4"));
    }

    // Validation reads the file once and hands the bytes to its snapshot.
    void snapshotParsesTheBytesItIsGiven()
    {
        const QString f = file("[s]\r\na=disk\r\n", "given.cfg");
        clearCache();
        {
            Snapshot snap(f, "[s]\r\na=given\r\n");
            QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("given"));
            QVERIFY(writeString("s", "a", "3", f).ok); // a write ends the given bytes
            QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("3"));
        }
        {
            // A parse the cache holds for the file as it is now comes first.
            Snapshot snap(f, "[s]\r\na=stale\r\n");
            QCOMPARE(getString("s", "a", "", kValue, f), QStringLiteral("3"));
        }
        QCOMPARE(testutil::readFile(f), QByteArray("[s]\r\na=3\r\n"));
    }

    void badInputDoesNotCrash()
    {
        // Binary noise: reads return whatever lines it happens to hold.
        QByteArray noise;
        quint32 x = 12345;
        for (int i = 0; i < 100000; ++i) {
            x = x * 1103515245u + 12345u;
            noise.append(static_cast<char>(x >> 16));
        }
        const QString f = file(noise + "\n[s]\nk=1\n", "noise.cfg");
        QCOMPARE(getString("s", "k", "", kValue, f), QStringLiteral("1"));
        QVERIFY(writeString("s", "k", "2", f).ok);
        QCOMPARE(testutil::readFile(f), noise + "\n[s]\nk=2\n");

        // 20 MB of entries: a write changes only its line.
        QByteArray big;
        big.reserve(21 * 1024 * 1024);
        for (int i = 0; big.size() < 20 * 1024 * 1024; ++i)
            big += "[fltsim." + QByteArray::number(i) + "]\r\ntitle=Plane " + QByteArray::number(i) +
                   "\r\nmodel=\r\ntexture=" + QByteArray(80, 't') + "\r\n";
        const QString g = file(big, "big.cfg");
        QCOMPARE(getString("fltsim.50000", "title", "", kValue, g), QStringLiteral("Plane 50000"));
        QVERIFY(writeString("fltsim.2", "title", "X", g).ok);
        QByteArray expected = big;
        expected.replace("title=Plane 2\r\n", "title=X\r\n");
        QCOMPARE(testutil::readFile(g), expected);
    }
};

QTEST_GUILESS_MAIN(TestProfileEngine)
#include "tst_profileengine.moc"
