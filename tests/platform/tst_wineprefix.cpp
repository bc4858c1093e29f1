#include "platform/WinePrefix.h"

#include "TestUtil.h"
#include "WineFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace platform::wine;

namespace {

void symlink(const QString& target, const QString& link)
{
    QVERIFY(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0);
}

QByteArray regFile(const QByteArray& body, const QByteArray& arch = "#arch=win64\n")
{
    return testutil::registryFile("\\\\User\\\\S-1-5-21-0-0-0-1000", arch + body);
}

// A prefix as winecfg leaves it: drive_c, and drive links c: and z:.
void makePrefix(const QString& prefix)
{
    testutil::makeDir(prefix + "/drive_c/windows");
    testutil::makeDir(prefix + "/dosdevices");
    symlink("../drive_c", prefix + "/dosdevices/c:");
    symlink("/", prefix + "/dosdevices/z:");
}

// Sets or clears an environment variable for one test and puts it back after.
class EnvGuard
{
public:
    EnvGuard(const char* name, const QByteArray* value) : m_name(name), m_had(qEnvironmentVariableIsSet(name))
    {
        m_old = qgetenv(name);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~EnvGuard()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

class TestWinePrefix : public QObject
{
    Q_OBJECT
private slots:
    void prefixLocation_data()
    {
        QTest::addColumn<QByteArray>("wineprefix"); // "<unset>" clears the variable
        QTest::addColumn<QString>("expected");      // "<home>" and "<cwd>" are replaced
        QTest::newRow("absolute") << QByteArray("/opt/fs9") << "/opt/fs9";
        QTest::newRow("trailing slashes") << QByteArray("/opt/fs9///") << "/opt/fs9";
        QTest::newRow("root") << QByteArray("/") << "/";
        QTest::newRow("unset") << QByteArray("<unset>") << "<home>/.wine";
        QTest::newRow("empty") << QByteArray("") << "<home>/.wine";
        QTest::newRow("relative") << QByteArray("pfx/") << "<cwd>/pfx";
    }
    void prefixLocation()
    {
        QFETCH(QByteArray, wineprefix);
        QFETCH(QString, expected);
        QTemporaryDir home;
        const QByteArray homeBytes = QFile::encodeName(home.path());
        const EnvGuard h("HOME", &homeBytes);
        const EnvGuard w("WINEPREFIX", wineprefix == "<unset>" ? nullptr : &wineprefix);
        expected.replace("<home>", home.path()).replace("<cwd>", QDir::currentPath());
        QCOMPARE(prefixPath(), expected);
    }

    void windowsPaths_data()
    {
        QTest::addColumn<QString>("windows");  // "<tmp>" is the fixture folder written the Windows way
        QTest::addColumn<QString>("expected"); // "<p>" the prefix, "<tmp>" the fixture folder
        QTest::addColumn<bool>("exists");
        const QString fs9 = "<p>/drive_c/Program Files (x86)/Microsoft Games/Flight Simulator 9";
        QTest::newRow("exact") << "C:\\Program Files (x86)\\Microsoft Games\\Flight Simulator 9" << fs9
                               << true;
        QTest::newRow("other case")
            << "c:\\PROGRAM FILES (X86)\\microsoft games\\flight simulator 9\\AIRCRAFT" << fs9 + "/Aircraft"
            << true;
        QTest::newRow("\\\\?\\ prefix") << "\\\\?\\C:\\Program Files (x86)"
                                        << "<p>/drive_c/Program Files (x86)" << true;
        QTest::newRow("\\??\\ prefix") << "\\??\\c:\\program files (x86)"
                                       << "<p>/drive_c/Program Files (x86)" << true;
        QTest::newRow("empty parts") << "C:\\\\Program Files (x86)\\\\\\Microsoft Games\\"
                                     << "<p>/drive_c/Program Files (x86)/Microsoft Games" << true;
        QTest::newRow("forward slashes") << "C:/Program Files (x86)/Microsoft Games"
                                         << "<p>/drive_c/Program Files (x86)/Microsoft Games" << true;
        QTest::newRow("dot dot stays on drive") << "C:\\..\\..\\windows\\.\\..\\Windows"
                                                << "<p>/drive_c/windows" << true;
        QTest::newRow("drive only") << "C:"
                                    << "<p>/drive_c" << true;
        QTest::newRow("drive root") << "C:\\"
                                    << "<p>/drive_c" << true;
        QTest::newRow("missing tail keeps spelling") << "C:\\windows\\No Such\\File.cfg"
                                                     << "<p>/drive_c/windows/No Such/File.cfg" << false;
        QTest::newRow("linked drive") << "F:\\DATA\\fsx.cfg"
                                      << "<tmp>/other/Data/fsx.cfg" << true;
        QTest::newRow("drive z") << "Z:<tmp>\\other\\data"
                                 << "<tmp>/other/Data" << true;
        QTest::newRow("dangling drive link") << "D:\\Games"
                                             << "<p>/dosdevices/d:/Games" << false;
        QTest::newRow("raw device only") << "E:\\x"
                                         << "<p>/dosdevices/e:/x" << false;
        QTest::newRow("no such drive") << "Q:\\x"
                                       << "<p>/dosdevices/q:/x" << false;
        QTest::newRow("unc") << "\\\\server\\share\\x"
                             << "<p>/dosdevices/unc/server/share/x" << false;
        QTest::newRow("\\\\?\\UNC") << "\\\\?\\UNC\\server\\share"
                                    << "<p>/dosdevices/unc/server/share" << false;
        QTest::newRow("relative") << "relative\\path"
                                  << "" << false;
        QTest::newRow("empty") << ""
                               << "" << false;
    }
    void windowsPaths()
    {
        QFETCH(QString, windows);
        QFETCH(QString, expected);
        QFETCH(bool, exists);
        QTemporaryDir tmp;
        const QString prefix = tmp.path() + "/pfx";
        makePrefix(prefix);
        testutil::makeDir(prefix +
                          "/drive_c/Program Files (x86)/Microsoft Games/Flight Simulator 9/Aircraft");
        testutil::writeFile(tmp.path() + "/other/Data/fsx.cfg", "[Main]\r\n");
        symlink(tmp.path() + "/other", prefix + "/dosdevices/f:");
        symlink(tmp.path() + "/gone", prefix + "/dosdevices/d:");
        symlink("/dev/null", prefix + "/dosdevices/e::");
        windows.replace("<tmp>", QString(tmp.path()).replace('/', '\\'));
        expected.replace("<p>", prefix).replace("<tmp>", tmp.path());

        const QString linux = toLinuxPath(windows, prefix);
        QCOMPARE(linux, expected);
        QCOMPARE(QFileInfo::exists(linux), exists);
    }

    void usesWineprefix()
    {
        QTemporaryDir tmp;
        makePrefix(tmp.path());
        const QByteArray env = QFile::encodeName(tmp.path()) + "/";
        const EnvGuard w("WINEPREFIX", &env);
        QCOMPARE(toLinuxPath(u"C:\\WINDOWS"), tmp.path() + "/drive_c/windows");
    }

    void win64_data()
    {
        QTest::addColumn<QByteArray>("systemReg"); // "<none>": no file
        QTest::addColumn<bool>("win64");
        QTest::newRow("win64") << regFile("") << true;
        QTest::newRow("win32") << regFile("", "#arch=win32\n") << false;
        QTest::newRow("old file without arch") << regFile("", "") << false;
        QTest::newRow("no system.reg") << QByteArray("<none>") << false;
        QTest::newRow("not a registry") << QByteArray("#arch=win64\n") << false;
    }
    void win64()
    {
        QFETCH(QByteArray, systemReg);
        QFETCH(bool, win64);
        QTemporaryDir tmp;
        if (systemReg != "<none>")
            testutil::writeFile(tmp.path() + "/system.reg", systemReg);
        QCOMPARE(isWin64(tmp.path()), win64);
    }

    void appData_data()
    {
        QTest::addColumn<QByteArray>("userReg");
        QTest::addColumn<QByteArray>("systemReg");
        QTest::addColumn<QStringList>("folders"); // created below drive_c/
        QTest::addColumn<QByteArray>("user");     // $USER
        QTest::addColumn<QString>("expected");    // below drive_c/, empty for none
        const QByteArray shell =
            "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders]\n";
        const QByteArray userShell =
            "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\User Shell Folders]\n"
            "\"AppData\"=str(2):\"%USERPROFILE%\\\\AppData\\\\Roaming\"\n";
        const QByteArray volatileBob = "[Volatile Environment]\n\"USERPROFILE\"=\"C:\\\\users\\\\bob\"\n";
        const QStringList both = {"users/alice/AppData/Roaming", "users/bob/AppData/Roaming"};

        QTest::newRow("shell folders first")
            << shell + "\"AppData\"=\"C:\\\\users\\\\bob\\\\AppData\\\\Roaming\"\n" + userShell
            << QByteArray() << both << QByteArray("alice") << "users/bob/AppData/Roaming";
        QTest::newRow("shell folders other case")
            << shell + "\"appdata\"=\"c:\\\\USERS\\\\BOB\\\\appdata\\\\roaming\"\n"
            << QByteArray() << both << QByteArray("alice") << "users/bob/AppData/Roaming";
        QTest::newRow("missing folder: user shell folders")
            << shell + "\"AppData\"=\"C:\\\\users\\\\gone\\\\AppData\\\\Roaming\"\n" + userShell + volatileBob
            << QByteArray() << both << QByteArray("alice") << "users/bob/AppData/Roaming";
        QTest::newRow("user profile from profile list")
            << userShell
            << QByteArray("[Software\\\\Microsoft\\\\Windows "
                          "NT\\\\CurrentVersion\\\\ProfileList\\\\S-1-5-21-0-0-0-1000]\n"
                          "\"ProfileImagePath\"=str(2):\"%SystemDrive%\\\\users\\\\dave\"\n")
            << QStringList({"users/alice/AppData/Roaming", "users/dave/AppData/Roaming"})
            << QByteArray("nobody") << "users/dave/AppData/Roaming";
        QTest::newRow("user profile from $USER")
            << QByteArray(
                   "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\User Shell Folders]\n"
                   "\"AppData\"=str(2):\"%userprofile%\\\\Custom\"\n")
            << QByteArray() << QStringList({"users/alice/AppData/Roaming", "users/bob/Custom"})
            << QByteArray("bob") << "users/bob/Custom";
        QTest::newRow("scan: listing order")
            << QByteArray() << QByteArray()
            << QStringList({"users/Public/Documents", "users/bob/AppData/Roaming"}) << QByteArray("nobody")
            << "users/bob/AppData/Roaming";
        QTest::newRow("scan: current user first")
            << QByteArray() << QByteArray() << both << QByteArray("BOB") << "users/bob/AppData/Roaming";
        QTest::newRow("scan: ignores case")
            << QByteArray() << QByteArray() << QStringList({"Users/bob/appdata/ROAMING"}) << QByteArray("bob")
            << "Users/bob/appdata/ROAMING";
        QTest::newRow("scan: Roaming before Application Data")
            << QByteArray() << QByteArray()
            << QStringList({"users/alice/Application Data", "users/bob/AppData/Roaming"})
            << QByteArray("alice") << "users/bob/AppData/Roaming";
        QTest::newRow("scan: Application Data")
            << QByteArray() << QByteArray() << QStringList({"users/bob/Application Data"}) << QByteArray("x")
            << "users/bob/Application Data";
        QTest::newRow("scan: windows profiles")
            << QByteArray() << QByteArray() << QStringList({"windows/profiles/bob/Application Data"})
            << QByteArray("x") << "windows/profiles/bob/Application Data";
        QTest::newRow("nothing") << QByteArray() << QByteArray() << QStringList({"users/bob/Documents"})
                                 << QByteArray("bob") << "";
    }
    void appData()
    {
        QFETCH(QByteArray, userReg);
        QFETCH(QByteArray, systemReg);
        QFETCH(QStringList, folders);
        QFETCH(QByteArray, user);
        QFETCH(QString, expected);
        QTemporaryDir tmp;
        makePrefix(tmp.path());
        testutil::writeFile(tmp.path() + "/user.reg", regFile(userReg));
        testutil::writeFile(tmp.path() + "/system.reg", regFile(systemReg));
        for (const QString& f : folders)
            testutil::makeDir(tmp.path() + "/drive_c/" + f);
        const EnvGuard u("USER", &user);
        QCOMPARE(roamingAppDataPath(tmp.path()),
                 expected.isEmpty() ? QString() : tmp.path() + "/drive_c/" + expected);
    }
};

QTEST_GUILESS_MAIN(TestWinePrefix)
#include "tst_wineprefix.moc"
