#include "shared/modSystem.h"

#include "platform/WinePrefix.h"
#include "shared/Globals.h"

#include "TestUtil.h"
#include "WineFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace modSystem;

namespace {

const QByteArray kFs9Key = "Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0";

QByteArray systemReg(const QByteArray& arch, const QByteArray& body)
{
    return testutil::registryFile("\\\\Machine", "#arch=" + arch + "\n\n" + body);
}

} // namespace

class TestModSystem : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_prefix;

    void usePrefix(const QByteArray& arch, const QByteArray& body)
    {
        testutil::writeFile(m_prefix + "/system.reg", systemReg(arch, body));
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        m_prefix = m_tmp->path() + "/prefix";
        testutil::makeDir(m_prefix + "/drive_c");
        testutil::makeDir(m_prefix + "/dosdevices");
        QVERIFY(::symlink("../drive_c", QFile::encodeName(m_prefix + "/dosdevices/c:").constData()) == 0);
        qputenv("WINEPREFIX", QFile::encodeName(m_prefix));
    }

    void queryRegString_data()
    {
        QTest::addColumn<QByteArray>("arch");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("keyPath");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QByteArray wowKey = "[Software\\\\Wow6432Node\\\\" + kFs9Key + "] 1796790195\n";
        const QByteArray plainKey = "[Software\\\\" + kFs9Key + "]\n";
        const QString wow = "SOFTWARE\\Wow6432Node\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
        const QString plain = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
        const QByteArray exe =
            "\"EXE Path\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Flight Simulator 9\"\n";
        const QString exeText = "C:\\Program Files (x86)\\Microsoft Games\\Flight Simulator 9";

        QTest::newRow("win64 Wow6432Node")
            << QByteArray("win64") << wowKey + exe << wow << "EXE Path" << exeText;
        QTest::newRow("win32 plain") << QByteArray("win32") << plainKey + exe << plain << "EXE Path"
                                     << exeText;
        QTest::newRow("win32 has no Wow6432Node")
            << QByteArray("win32") << plainKey + exe << wow << "EXE Path"
            << "";
        QTest::newRow("key and name ignore case")
            << QByteArray("win64") << wowKey + exe << wow.toLower() << "exe path" << exeText;
        QTest::newRow("trailing backslash kept")
            << QByteArray("win64") << wowKey + "\"SetupPath\"=\"C:\\\\FSX\\\\\"\n"
            << wow << "SetupPath"
            << "C:\\FSX\\";
        QTest::newRow("empty REG_SZ") << QByteArray("win64") << wowKey + "\"EXE Path\"=\"\"\n"
                                      << wow << "EXE Path"
                                      << "";
        QTest::newRow("REG_DWORD 5") << QByteArray("win64") << wowKey + "\"n\"=dword:00000005\n"
                                     << wow << "n"
                                     << "5";
        QTest::newRow("REG_DWORD max") << QByteArray("win64") << wowKey + "\"n\"=dword:ffffffff\n"
                                       << wow << "n"
                                       << "4294967295";
        QTest::newRow("REG_EXPAND_SZ") << QByteArray("win64") << wowKey + "\"EXE Path\"=str(2):\"C:\\\\x\"\n"
                                       << wow << "EXE Path"
                                       << "";
        QTest::newRow("REG_MULTI_SZ") << QByteArray("win64") << wowKey + "\"m\"=str(7):\"a\\0\"\n"
                                      << wow << "m"
                                      << "";
        QTest::newRow("REG_BINARY") << QByteArray("win64") << wowKey + "\"b\"=hex:41,00\n"
                                    << wow << "b"
                                    << "";
        QTest::newRow("REG_SZ without NUL")
            << QByteArray("win64") << wowKey + "\"s\"=hex(1):46,00,53,00,39,00\n"
            << wow << "s"
            << "FS9";
        QTest::newRow("REG_SZ of no bytes") << QByteArray("win64") << wowKey + "\"s\"=hex(1):\n"
                                            << wow << "s"
                                            << "";
        QTest::newRow("missing value") << QByteArray("win64") << wowKey + exe << wow << "SetupPath"
                                       << "";
        QTest::newRow("missing key") << QByteArray("win64") << wowKey + exe << wow + "\\Sub"
                                     << "EXE Path"
                                     << "";
        QTest::newRow("damaged file")
            << QByteArray("win64") << wowKey + "\"EXE Path\"=\"C:\\\\Prog" << wow << "EXE Path"
            << "";
    }
    void queryRegString()
    {
        QFETCH(QByteArray, arch);
        QFETCH(QByteArray, body);
        QFETCH(QString, keyPath);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        usePrefix(arch, body);
        QCOMPARE(QueryRegString(keyPath, name), expected);
    }

    void queryValueEx_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");  // expected text, when the result is text
        QTest::addColumn<qint64>("number"); // expected number, -1 when not a number
        QTest::newRow("REG_SZ") << QByteArray("\"v\"=\"abc\"") << "v" << 0 << "abc" << qint64(-1);
        QTest::newRow("REG_DWORD") << QByteArray("\"v\"=dword:0000002a") << "v" << 0 << "" << qint64(42);
        QTest::newRow("short REG_DWORD") << QByteArray("\"v\"=hex(4):05") << "v" << 0 << "" << qint64(5);
        QTest::newRow("long REG_DWORD")
            << QByteArray("\"v\"=hex(4):01,00,00,00,00") << "v" << kStatusMoreData << "keep" << qint64(-1);
        QTest::newRow("REG_EXPAND_SZ")
            << QByteArray("\"v\"=str(2):\"x\"") << "v" << -1 << "keep" << qint64(-1);
        QTest::newRow("REG_QWORD") << QByteArray("\"v\"=hex(b):01,00,00,00,00,00,00,00") << "v" << -1
                                   << "keep" << qint64(-1);
        QTest::newRow("REG_DWORD_BIG_ENDIAN")
            << QByteArray("\"v\"=hex(5):00,00,00,01") << "v" << -1 << "keep" << qint64(-1);
        QTest::newRow("missing value")
            << QByteArray("\"v\"=\"abc\"") << "w" << kStatusFileNotFound << "keep" << qint64(-1);
    }
    void queryValueEx()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, name);
        QFETCH(int, status);
        QFETCH(QString, text);
        QFETCH(qint64, number);
        usePrefix("win32", "[K]\n" + line + "\n");
        const auto machine = platform::wine::machineRegistry();
        RegData value = QStringLiteral("keep");
        QCOMPARE(QueryValueEx(machine->key(u"K"), name, value), status);
        if (number >= 0)
            QCOMPARE(std::get<quint32>(value), quint32(number));
        else
            QCOMPARE(std::get<QString>(value), text);

        RegData untouched = QStringLiteral("keep");
        QCOMPARE(QueryValueEx(nullptr, name, untouched), kStatusInvalidHandle);
        QCOMPARE(std::get<QString>(untouched), "keep");
    }

    void is64Bit_data()
    {
        QTest::addColumn<QByteArray>("arch"); // empty: no system.reg
        QTest::addColumn<bool>("expected");
        QTest::newRow("win64") << QByteArray("win64") << true;
        QTest::newRow("win32") << QByteArray("win32") << false;
        QTest::newRow("no registry") << QByteArray() << false;
    }
    void is64Bit()
    {
        QFETCH(QByteArray, arch);
        QFETCH(bool, expected);
        if (!arch.isEmpty())
            usePrefix(arch, "");
        QCOMPARE(Is64BitOS(), expected);
    }

    void specialFolder()
    {
        testutil::makeDir(m_prefix + "/drive_c/users/pilot/AppData/Roaming/Microsoft/FSX");
        QCOMPARE(GetSpecialFolderPath(kCsidlAppData), m_prefix + "/drive_c/users/pilot/AppData/Roaming");
        QCOMPARE(GetSpecialFolderPath(5), QString()); // other folders are not needed
    }

    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("three lines and a line end") << "a\r\nb\r\nc\r\n" << QStringList({"a", "b", "c", ""});
        QTest::newRow("no final line end") << "a\r\nb" << QStringList({"a", "b"});
        QTest::newRow("lone LF stays") << "a\nb\r\nc" << QStringList({"a\nb", "c"});
        QTest::newRow("lone CR stays") << "a\rb\r\n" << QStringList({"a\rb", ""});
        QTest::newRow("LF CR LF") << "a\n\r\nb" << QStringList({"a\n", "b"});
        QTest::newRow("blank lines kept") << "\r\n\r\n" << QStringList({"", "", ""});
        QTest::newRow("nothing trimmed") << "  ; c \r\n" << QStringList({"  ; c ", ""});
        QTest::newRow("empty file") << "" << QStringList();
    }
    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(SplitAirlineLines(text), lines);
    }

    void reloadAirlines()
    {
        const QString fs9 = m_tmp->path() + "/FS9/Aircraft/airlines.cfg";
        const QString fsx = m_tmp->path() + "/FSX/Airlines.CFG";
        testutil::writeFile(fs9, "KLM\r\nCaf\xe9 \x80 Air\r\n");
        testutil::writeFile(fsx, "one\ntwo");
        globals::gsAirlinesFS9Path = fs9;
        globals::gsAirlinesFSXPath = m_tmp->path() + "/fsx/airlines.cfg"; // spelled differently
        globals::gsAirlinesFS9.clear();
        globals::gsAirlinesFSX = {"stale"};

        QVERIFY(ReloadAirlinesFS9());
        QCOMPARE(globals::gsAirlinesFS9, QStringList({"KLM", "Caf\u00e9 \u20ac Air", ""}));
        QVERIFY(ReloadAirlinesFSX());
        QCOMPARE(globals::gsAirlinesFSX, QStringList({"one\ntwo"}));

        // A file that went away leaves the last lines read.
        QFile::remove(fs9);
        QVERIFY(!ReloadAirlinesFS9());
        QCOMPARE(globals::gsAirlinesFS9.size(), 3);
    }

    void tempPath_data()
    {
        QTest::addColumn<QString>("tmpdir"); // below the fixture folder
        QTest::newRow("plain") << "t";
        QTest::newRow("trailing slash") << "t/";
        QTest::newRow("blanks") << "my temp";
    }
    void tempPath()
    {
        QFETCH(QString, tmpdir);
        testutil::makeDir(m_tmp->path() + "/" + tmpdir);
        const QByteArray old = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_tmp->path() + "/" + tmpdir));
        const QString path = TempPath();
        qputenv("TMPDIR", old);
        QString expected = m_tmp->path() + "/" + tmpdir;
        if (!expected.endsWith('/'))
            expected += '/';
        QCOMPARE(path, expected);
    }

    // Offscreen there is no desktop to hand the address to: the calls must
    // come back at once and not crash.
    // The look-up through xdg-mime, found on the PATH; a script stands in for it.
    void defaultProgramFor_data()
    {
        QTest::addColumn<QByteArray>("script"); // empty: no xdg-mime at all
        QTest::addColumn<QString>("expected");
        QTest::newRow("no xdg-mime") << QByteArray() << "";
        QTest::newRow("a program registered")
            << QByteArray("#!/bin/sh\n[ \"$*\" = \"query default application/pdf\" ] && echo ' okular.desktop'\n")
            << "okular.desktop";
        QTest::newRow("none registered") << QByteArray("#!/bin/sh\nexit 0\n") << "";
        QTest::newRow("xdg-mime fails") << QByteArray("#!/bin/sh\necho x.desktop\nexit 2\n") << "";
    }

    void defaultProgramFor()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, expected);
        const QString bin = m_tmp->path() + "/bin";
        testutil::makeDir(bin);
        if (!script.isEmpty()) {
            testutil::writeFile(bin + "/xdg-mime", script);
            testutil::setMode(bin + "/xdg-mime", 0755);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin));
        const QString got = DefaultProgramFor("application/pdf");
        qputenv("PATH", path);
        QCOMPARE(got, expected);
        // Tests answer it themselves.
        const ScriptedProgramLookup scripted([](const QString& mime) { return mime + ".desktop"; });
        QCOMPARE(DefaultProgramFor("application/pdf"), QString("application/pdf.desktop"));
    }

    void openingDoesNotBlock()
    {
        QElapsedTimer timer;
        timer.start();
        OpenURL(QStringLiteral("file://") + m_tmp->path() + "/none.html");
        OpenWithDesktop(m_tmp->path() + "/none.txt");
        QVERIFY(!OpenURL(QString()));
        QVERIFY(!OpenWithDesktop(QString()));
        QVERIFY(timer.elapsed() < 5000);
    }
};

QTEST_MAIN(TestModSystem)
#include "tst_modsystem.moc"
