#include "WineFixture.h"

#include "TestUtil.h"

#include <QDir>
#include <QFile>

namespace testutil {

namespace {
const char* kFs9 = "Program Files (x86)/Microsoft Games/Flight Simulator 9";
const char* kFsx = "Program Files (x86)/Microsoft Games/Microsoft Flight Simulator X";
} // namespace

FakePrefix::FakePrefix(const PrefixSpec& spec)
{
    const QString p = m_dir.path();
    makeDir(p + "/dosdevices");
    makeDir(driveC());
    QFile::link("../drive_c", p + "/dosdevices/c:");

    const QByteArray node = spec.win64 ? "Software\\\\Wow6432Node\\\\Microsoft" : "Software\\\\Microsoft";
    QByteArray reg = registryFile("\\\\Machine", spec.win64 ? "#arch=win64\n\n" : "#arch=win32\n\n");
    if (spec.fs9 || spec.fs9Dangling) {
        reg += "[" + node + "\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] 1700000000\n";
        reg += "\"EXE Path\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Flight Simulator 9" +
               QByteArray(spec.fs9Dangling ? "-gone" : "") + "\"\n\n";
    }
    if (spec.fsx || spec.fsxDangling) {
        reg += "[" + node + "\\\\Microsoft Games\\\\Flight Simulator\\\\10.0] 1700000000\n";
        reg += "\"SetupPath\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Microsoft Flight Simulator X" +
               QByteArray(spec.fsxDangling ? "-gone" : "") + "\\\\\"\n\n";
    }
    writeFile(p + "/system.reg", reg);
    writeFile(p + "/user.reg",
              "WINE REGISTRY Version 2\n#arch=win64\n\n"
              "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1700000000\n"
              "\"AppData\"=\"C:\\\\users\\\\tester\\\\AppData\\\\Roaming\"\n");
    makeDir(appData());

    if (spec.fs9) {
        makeDir(fs9Root() + "/Aircraft");
        makeDir(fs9Root() + "/Effects");
        if (spec.fs9Airlines)
            writeFile(fs9Root() + "/Aircraft/airlines.cfg", "HEATHERJET\r\nMOSSLINE\r\n");
    }
    if (spec.fsx) {
        makeDir(fsxRoot() + "/SimObjects/Airplanes");
        makeDir(fsxRoot() + "/SimObjects/Rotorcraft");
        makeDir(fsxRoot() + "/Effects");
        if (spec.fsxAirlines)
            writeFile(fsxRoot() + "/airlines.cfg", "HEATHERJET\r\nQUILLCARGO\r\n");
        if (!spec.fsxCfgMain.isEmpty())
            writeFile(appData() + "/Microsoft/FSX/fsx.cfg",
                      "[Main]\r\n" + spec.fsxCfgMain.join("\r\n").toLatin1() + "\r\n");
    }

    m_hadPrefix = qEnvironmentVariableIsSet("WINEPREFIX");
    m_oldPrefix = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", p.toLocal8Bit());
}

FakePrefix::~FakePrefix()
{
    if (m_hadPrefix)
        qputenv("WINEPREFIX", m_oldPrefix);
    else
        qunsetenv("WINEPREFIX");
}

QString FakePrefix::fs9Root() const { return driveC() + "/" + kFs9; }
QString FakePrefix::fsxRoot() const { return driveC() + "/" + kFsx; }
QString FakePrefix::appData() const { return driveC() + "/users/tester/AppData/Roaming"; }

QByteArray registryFile(const QByteArray& root, const QByteArray& rest)
{
    return "WINE REGISTRY Version 2\n;; All keys relative to " + root + "\n\n" + rest;
}

PrefixSpec simulatorSpec(bool fs9, bool fsx, bool win64)
{
    PrefixSpec spec;
    spec.win64 = win64;
    spec.fs9 = fs9;
    spec.fsx = fsx;
    return spec;
}

} // namespace testutil
