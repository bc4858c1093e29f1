#include "platform/WineRegistry.h"

#include "TestUtil.h"
#include "WineFixture.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace platform::wine;

namespace {

QByteArray regFile(const QByteArray& body, const QByteArray& arch = "#arch=win64\n")
{
    return testutil::registryFile("\\\\Machine", arch + "\n" + body);
}

// A file with one key holding the given value line.
WineRegistry withValue(const QByteArray& valueLine)
{
    return WineRegistry::parse(regFile("[Test\\\\Key] 1796790195\n#time=1d9f3c2a\n" + valueLine + "\n"));
}

const QByteArray kSample =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] 1796790195\n"
    "#time=1d9f3c2a8b7e6f0\n"
    "\"EXE Path\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Flight Simulator 9\"\n"
    "\"Blob\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
    "  16,17,18\n"
    "\"Level\"=dword:00000009\n"
    "\n"
    "[Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\10.0] 1796790195\n"
    "\"SetupPath\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Microsoft Flight Simulator X\\\\\"\n"
    "\"Lang\"=str(7):\"en\\0de\\0\"\n";

} // namespace

class TestWineRegistry : public QObject
{
    Q_OBJECT
private slots:
    void stringValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("type");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << QByteArray(R"("EXE Path"="C:\\Games\\FS9")") << "EXE Path" << 1u
                               << "C:\\Games\\FS9";
        QTest::newRow("name ignores case") << QByteArray(R"("EXE Path"="x")") << "exe PATH" << 1u << "x";
        QTest::newRow("str:") << QByteArray(R"("a"=str:"x")") << "a" << 1u << "x";
        QTest::newRow("str(2)") << QByteArray(R"("a"=str(2):"%USERPROFILE%\\AppData")") << "a" << 2u
                                << "%USERPROFILE%\\AppData";
        QTest::newRow("str(7)") << QByteArray(R"("a"=str(7):"one\0two\0")") << "a" << 7u
                                << QString::fromLatin1("one\0two\0", 8);
        QTest::newRow("empty") << QByteArray(R"("a"="")") << "a" << 1u << "";
        QTest::newRow("default value") << QByteArray(R"(@="dflt")") << "" << 1u << "dflt";
        QTest::newRow("quote backslash brackets")
            << QByteArray(R"("a"="q\"b\\c\[d\]")") << "a" << 1u << "q\"b\\c[d]";
        QTest::newRow("control escapes")
            << QByteArray(R"("a"="\a\b\t\n\v\f\r\e")") << "a" << 1u << "\x07\x08\t\n\x0b\x0c\r\x1b";
        QTest::newRow("octal") << QByteArray(R"("a"="\101\7a\1011\377")") << "a" << 1u
                               << QString("A\x07"
                                          "aA1") +
                                      QChar(0xFF);
        QTest::newRow("octal zero") << QByteArray(R"("a"="x\0y")") << "a" << 1u
                                    << QString::fromLatin1("x\0y", 3);
        QTest::newRow("hex escape") << QByteArray(R"("a"="\xe9t\xe9")") << "a" << 1u << "\u00e9t\u00e9";
        QTest::newRow("hex four digits") << QByteArray(R"("a"="\x20ac5")") << "a" << 1u << "\u20ac5";
        QTest::newRow("hex stops at non-digit") << QByteArray(R"("a"="\x41g")") << "a" << 1u << "Ag";
        QTest::newRow("hex without digits") << QByteArray(R"("a"="\xg")") << "a" << 1u << "xg";
        QTest::newRow("surrogate pair")
            << QByteArray(R"("a"="\xd83d\xde00")") << "a" << 1u << QString::fromUtf8("\xf0\x9f\x98\x80");
        QTest::newRow("unknown escape") << QByteArray(R"("a"="\q\%")") << "a" << 1u << "q%";
        QTest::newRow("raw utf-8") << QByteArray("\"a\"=\"caf\xc3\xa9\"") << "a" << 1u << "caf\u00e9";
        QTest::newRow("escaped name") << QByteArray(R"("we\"ird\\name"="v")") << "WE\"IRD\\NAME" << 1u << "v";
        QTest::newRow("blanks around =") << QByteArray(R"("a" = "b")") << "a" << 1u << "b";
        QTest::newRow("hex(2) no terminator") << QByteArray(R"("a"=hex(2):61,00,62,00)") << "a" << 2u << "ab";
    }
    void stringValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, name);
        QFETCH(uint, type);
        QFETCH(QString, text);
        const WineRegistry reg = withValue(line);
        const RegKey* key = reg.key(u"test\\key");
        QVERIFY(key);
        const RegValue* v = key->value(name);
        QVERIFY(v);
        QCOMPARE(v->type, type);
        QCOMPARE(v->toText(), text);
    }

    void binaryValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("dword") << QByteArray("\"v\"=dword:0000002a") << 4u << QByteArray("2a000000");
        QTest::newRow("dword short") << QByteArray("\"v\"=dword:5") << 4u << QByteArray("05000000");
        QTest::newRow("dword max") << QByteArray("\"v\"=dword:FFFFFFFF") << 4u << QByteArray("ffffffff");
        QTest::newRow("hex") << QByteArray("\"v\"=hex:01,02,ff") << 3u << QByteArray("0102ff");
        QTest::newRow("hex empty") << QByteArray("\"v\"=hex:") << 3u << QByteArray();
        QTest::newRow("hex(b) qword")
            << QByteArray("\"v\"=hex(b):01,00,00,00,00,00,00,80") << 11u << QByteArray("0100000000000080");
        QTest::newRow("hex(0)") << QByteArray("\"v\"=hex(0):7") << 0u << QByteArray("07");
        QTest::newRow("string has terminator")
            << QByteArray("\"v\"=\"ab\"") << 1u << QByteArray("610062000000");
        QTest::newRow("continued") << QByteArray("\"v\"=hex:01,02,\\\n  03,04") << 3u
                                   << QByteArray("01020304");
        QTest::newRow("continued twice crlf")
            << QByteArray("\"v\"=hex(7):61,00,\\\r\n  62,00,\\\r\n  00,00\r") << 7u
            << QByteArray("610062000000");
    }
    void binaryValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(uint, type);
        QFETCH(QByteArray, hex);
        const WineRegistry reg = withValue(line + "\n\"after\"=\"kept\"");
        const RegValue* v = reg.key(u"Test\\Key")->value(u"v");
        QVERIFY(v);
        QCOMPARE(v->type, type);
        QCOMPARE(v->data.toHex(), hex);
        QCOMPARE(reg.key(u"Test\\Key")->value(u"after")->toText(), "kept");
    }

    void multiStringAndDword()
    {
        const WineRegistry reg = WineRegistry::parse(kSample);
        const RegKey* fsx =
            reg.key(u"Software\\Wow6432Node\\Microsoft\\Microsoft Games\\Flight Simulator\\10.0");
        QVERIFY(fsx);
        QCOMPARE(fsx->value(u"Lang")->toMultiString(), QStringList({"en", "de"}));
        QVERIFY(!fsx->value(u"SetupPath")->toDword());
        QCOMPARE(*reg.key(u"software\\wow6432node\\microsoft\\microsoft games\\flight simulator\\9.0")
                      ->value(u"level")
                      ->toDword(),
                 9u);
    }

    // Each damaged line loses its own value only; the lines around it survive.
    void damagedLines_data()
    {
        QTest::addColumn<QByteArray>("damage");
        QTest::newRow("unterminated string") << QByteArray("\"bad\"=\"abc");
        QTest::newRow("string ends in backslash") << QByteArray("\"bad\"=\"abc\\");
        QTest::newRow("unterminated name") << QByteArray("\"bad=\"abc\"");
        QTest::newRow("no equals") << QByteArray("\"bad\" \"abc\"");
        QTest::newRow("dword letters") << QByteArray("\"bad\"=dword:xyz");
        QTest::newRow("dword nine digits") << QByteArray("\"bad\"=dword:123456789");
        QTest::newRow("dword empty") << QByteArray("\"bad\"=dword:");
        QTest::newRow("hex bad digit") << QByteArray("\"bad\"=hex:1g");
        QTest::newRow("hex three digits") << QByteArray("\"bad\"=hex:123");
        QTest::newRow("hex double comma") << QByteArray("\"bad\"=hex:01,,02");
        QTest::newRow("hex(N) not hex") << QByteArray("\"bad\"=hex(zz):01");
        QTest::newRow("str(N) unterminated") << QByteArray("\"bad\"=str(2:\"x\"");
        QTest::newRow("unknown type") << QByteArray("\"bad\"=foo:12");
        QTest::newRow("continuation into a value") << QByteArray("\"bad\"=hex:01,\\");
        QTest::newRow("binary junk") << QByteArray("\"bad\"=\x01\xff\xfe\0\x80", 11);
        QTest::newRow("stray text") << QByteArray("garbage ] [ here");
    }
    void damagedLines()
    {
        QFETCH(QByteArray, damage);
        const WineRegistry reg = WineRegistry::parse(
            regFile("[K]\n\"before\"=\"1\"\n" + damage + "\n\"after\"=\"2\"\n[K2]\n\"next\"=\"3\"\n"));
        const RegKey* k = reg.key(u"K");
        QVERIFY(k);
        QVERIFY(!k->value(u"bad"));
        QCOMPARE(k->value(u"before")->toText(), "1");
        QCOMPARE(k->value(u"after")->toText(), "2");
        QCOMPARE(reg.key(u"K2")->value(u"next")->toText(), "3");
    }

    void damagedKeyDropsItsValues()
    {
        const WineRegistry reg = WineRegistry::parse(
            regFile("\"orphan\"=\"x\"\n[Broken\\\\Key\n\"a\"=\"x\"\n[Good]\n\"b\"=\"y\"\n"));
        QCOMPARE(reg.keyCount(), 1);
        QCOMPARE(reg.key(u"Good")->value(u"b")->toText(), "y");
    }

    void keys()
    {
        const WineRegistry reg = WineRegistry::parse(
            regFile("[A\\\\B\\\\Odd\\]Name] 123\n#class=\"x\"\n\"v\"=\"1\"\n"
                    "[a\\\\b\\\\C]\n\"v\"=\"old\"\n#link\n[A\\\\B\\\\c]\n\"v\"=\"new\"\n\"w\"=\"2\"\n"));
        const RegKey* odd = reg.key(u"\\a\\\\b\\odd]name\\");
        QVERIFY(odd);
        QCOMPARE(odd->path(), "A\\B\\Odd]Name");
        // A key written twice keeps both sets of values; the later line wins.
        const RegKey* c = reg.key(u"A\\B\\C");
        QCOMPARE(c->value(u"v")->toText(), "new");
        QCOMPARE(c->values().size(), 2);
        QVERIFY(!reg.key(u"A\\B")); // implied parents hold no values
        QCOMPARE(reg.childKeyNames(u"a\\B"), QStringList({"Odd]Name", "C"}));
        QCOMPARE(reg.childKeyNames(u""), QStringList({"A"}));
        QVERIFY(!reg.key(u"A\\B\\Missing"));
    }

    // Header spellings a look-up must see through, whether it compares the
    // headers' bytes or reads every header into a table first.
    void lookupSpellings_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("found");
        QTest::newRow("other case") << QByteArray("Software\\\\Wow6432Node\\\\Microsoft Games\\\\Flight Simulator\\\\10.0")
                                    << "SOFTWARE\\wow6432node\\Microsoft Games\\Flight Simulator\\10.0" << true;
        QTest::newRow("escaped letter") << QByteArray("\\x53oftware\\\\K\\145y") << "software\\key" << true;
        QTest::newRow("empty part") << QByteArray("A\\\\\\\\B") << "a\\b" << true;
        QTest::newRow("outer separators") << QByteArray("\\\\A\\\\B\\\\") << "A\\B" << true;
        QTest::newRow("escape after separator") << QByteArray("A\\\\\\x42") << "a\\b" << true;
        QTest::newRow("non-ASCII") << QByteArray("Caf\xc3\xa9\\\\K") << QString::fromUtf8("CAF\xc3\x89\\k") << true;
        QTest::newRow("longer last part") << QByteArray("A\\\\Bc") << "A\\B" << false;
        QTest::newRow("one more part") << QByteArray("A\\\\B\\\\C") << "A\\B" << false;
        QTest::newRow("differs past the first bytes")
            << QByteArray("Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersionX")
            << "Software\\Microsoft\\Windows NT\\CurrentVersion" << false;
        QTest::newRow("shorter") << QByteArray("Software\\\\Microsoft") << "Software\\Microsoft\\Windows" << false;
    }
    void lookupSpellings()
    {
        QFETCH(QByteArray, header);
        QFETCH(QString, path);
        QFETCH(bool, found);
        const QByteArray bytes = regFile("[Other]\n[" + header + "] 1\n\"v\"=\"1\"\n[Z]\n");
        const WineRegistry scanned = WineRegistry::parse(bytes);
        const WineRegistry afterScans = WineRegistry::parse(bytes);
        for (int i = 0; i < 20; ++i)
            afterScans.key(QStringLiteral("Missing%1").arg(i));
        const WineRegistry table = WineRegistry::parse(bytes);
        QCOMPARE(table.keyCount(), 3); // every header names a key
        for (const WineRegistry* reg : {&scanned, &afterScans, &table}) {
            const RegKey* k = reg->key(path);
            QCOMPARE(k != nullptr, found);
            if (!found)
                continue;
            QCOMPARE(k->value(u"v")->toText(), "1");
            const QString parent = path.section(u'\\', 0, -2);
            const QString last = path.section(u'\\', -1);
            const QStringList children = reg->childKeyNames(parent);
            QCOMPARE(children.size(), 1);
            QCOMPARE(children.first().compare(last, Qt::CaseInsensitive), 0);
        }
    }

    // Child lists of files with odd headers, from the first look-ups (which
    // compare the headers as they pass) and from the table of all headers.
    void childKeyNames_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QStringList>("children");
        QTest::newRow("a header of no path names the root, no child")
            << QByteArray("[A\\\\B]\n[]]\n\"h\"=hex:1\n") << "" << QStringList({"A"});
        QTest::newRow("a header of separators only")
            << QByteArray("[\\\\\\\\]\n[B]\n") << "" << QStringList({"B"});
    }
    void childKeyNames()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, parent);
        QFETCH(QStringList, children);
        const WineRegistry scanned = WineRegistry::parse(regFile(body));
        QCOMPARE(scanned.childKeyNames(parent), children);
        const WineRegistry table = WineRegistry::parse(regFile(body));
        table.keyCount();
        QCOMPARE(table.childKeyNames(parent), children);
    }

    void header_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::newRow("good") << QByteArray("WINE REGISTRY Version 2\n[K]\n\"v\"=\"1\"\n") << true;
        QTest::newRow("crlf") << QByteArray("WINE REGISTRY Version 2\r\n[K]\r\n\"v\"=\"1\"\r\n") << true;
        QTest::newRow("string on open last line")
            << QByteArray("WINE REGISTRY Version 2\n[K]\n\"v\"=\"1\"") << true;
        QTest::newRow("other version") << QByteArray("WINE REGISTRY Version 1\n[K]\n\"v\"=\"1\"\n") << false;
        QTest::newRow("regedit file") << QByteArray("REGEDIT4\n[K]\n\"v\"=\"1\"\n") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("cut in header") << QByteArray("WINE REGIS") << false;
    }
    void header()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        const WineRegistry reg = WineRegistry::parse(bytes);
        QCOMPARE(reg.isValid(), valid);
        QCOMPARE(reg.key(u"K") != nullptr, valid);
        if (valid)
            QCOMPARE(reg.key(u"K")->value(u"v")->toText(), "1");
    }

    void arch_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("win64");
        QTest::newRow("win64") << regFile("[K]\n") << true;
        QTest::newRow("win32") << regFile("[K]\n", "#arch=win32\n") << false;
        QTest::newRow("no arch line") << regFile("[K]\n", "") << false;
        QTest::newRow("crlf") << regFile("[K]\r\n", "#arch=win64\r\n") << true;
        QTest::newRow("after first key") << regFile("[K]\n#arch=win64\n", "") << false;
    }
    void arch()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, win64);
        QCOMPARE(WineRegistry::parse(bytes).isWin64(), win64);
    }

    // A file cut at any byte keeps every value whose line was complete.
    void truncatedAnywhere()
    {
        const WineRegistry full = WineRegistry::parse(kSample);
        struct Probe
        {
            const char* key;
            const char* name;
            qsizetype complete; // offset just past the value's last line
        };
        const auto endOf = [](const QByteArray& marker) {
            return kSample.indexOf('\n', kSample.indexOf(marker)) + 1;
        };
        const QList<Probe> probes = {
            {"Software\\Wow6432Node\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0", "EXE Path",
             endOf("\"EXE Path\"")},
            {"Software\\Wow6432Node\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0", "Blob",
             endOf("  16,17")},
            {"Software\\Wow6432Node\\Microsoft\\Microsoft Games\\Flight Simulator\\10.0", "SetupPath",
             endOf("\"SetupPath\"")},
        };
        for (qsizetype cut = 0; cut <= kSample.size(); ++cut) {
            const WineRegistry reg = WineRegistry::parse(QByteArrayView(kSample).first(cut));
            for (const Probe& p : probes) {
                const RegKey* k = reg.key(QString::fromLatin1(p.key));
                const RegValue* v = k ? k->value(QString::fromLatin1(p.name)) : nullptr;
                if (cut >= p.complete) {
                    QVERIFY2(v, qPrintable(QStringLiteral("cut %1: %2 missing").arg(cut).arg(p.name)));
                    QCOMPARE(v->data,
                             full.key(QString::fromLatin1(p.key))->value(QString::fromLatin1(p.name))->data);
                }
            }
            // The hex list is either whole or missing, never short.
            const RegKey* fs9 = reg.key(QString::fromLatin1(probes[1].key));
            if (const RegValue* blob = fs9 ? fs9->value(u"Blob") : nullptr)
                QCOMPARE(blob->data.size(), 24);
            if (const RegValue* level = fs9 ? fs9->value(u"Level") : nullptr)
                QCOMPARE(*level->toDword(), 9u);
        }
    }

    void binaryGarbageNeverCrashes()
    {
        QRandomGenerator rng(20240611);
        for (int round = 0; round < 300; ++round) {
            QByteArray junk(int(rng.bounded(1, 400)), '\0');
            for (char& c : junk)
                c = char(rng.bounded(256));
            // Junk alone, junk after a header, and a good key after the junk.
            QVERIFY(!WineRegistry::parse(junk).isValid());
            const WineRegistry reg = WineRegistry::parse(regFile(junk + "\n[Good]\n\"v\"=\"ok\"\n"));
            QVERIFY(reg.key(u"Good"));
            QCOMPARE(reg.key(u"Good")->value(u"v")->toText(), "ok");
            // A sample with random bytes overwritten.
            QByteArray mutated = kSample;
            for (int i = 0; i < 8; ++i)
                mutated[int(rng.bounded(int(mutated.size())))] = char(rng.bounded(256));
            const WineRegistry damaged = WineRegistry::parse(mutated);
            damaged.key(u"Software\\Wow6432Node\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0");
            damaged.childKeyNames(u"Software");
            damaged.keyCount();
        }
    }

    void loadAndCache()
    {
        QTemporaryDir tmp;
        const QString path = tmp.path() + "/system.reg";
        QVERIFY(!WineRegistry::loadCached(path)->isValid()); // missing file: empty
        QVERIFY(!WineRegistry::load(path).isValid());

        testutil::writeFile(path, regFile("[K]\n\"v\"=\"one\"\n"));
        const auto first = WineRegistry::loadCached(path);
        QCOMPARE(first->key(u"K")->value(u"v")->toText(), "one");
        QCOMPARE(WineRegistry::loadCached(path), first); // unchanged file: the same parse

        // Wine's way of saving: a new file renamed over the old one.
        testutil::writeFile(path + ".tmp", regFile("[K]\n\"v\"=\"two\"\n"));
        QVERIFY(::rename(QFile::encodeName(path + ".tmp").constData(), QFile::encodeName(path).constData()) ==
                0);
        QCOMPARE(WineRegistry::loadCached(path)->key(u"K")->value(u"v")->toText(), "two");
        QCOMPARE(first->key(u"K")->value(u"v")->toText(), "one"); // earlier readers keep theirs

        QFile::remove(path);
        QVERIFY(!WineRegistry::loadCached(path)->key(u"K"));
    }
};

QTEST_GUILESS_MAIN(TestWineRegistry)
#include "tst_wineregistry.moc"
