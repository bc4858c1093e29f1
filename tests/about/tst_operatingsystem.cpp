#include "about/OperatingSystem.h"
#include "platform/HostInfo.h"
#include "platform/WineRegistry.h"

#include "TestUtil.h"
#include "WineFixture.h"

#include <QTemporaryDir>
#include <QTest>

using platform::host::WindowsInfo;

Q_DECLARE_METATYPE(platform::host::WindowsInfo)

namespace {

// A fully known record.
WindowsInfo known(quint32 platform, quint32 major, quint32 minor, quint32 build, quint8 type, quint16 suite,
                  const QString& sp, quint16 spMajor, quint16 spMinor, quint32 product, bool win64)
{
    return WindowsInfo{.platformId = platform,
                       .major = major,
                       .minor = minor,
                       .build = build,
                       .servicePack = sp,
                       .servicePackMajor = spMajor,
                       .servicePackMinor = spMinor,
                       .suiteMask = suite,
                       .productType = type,
                       .productInfo = product,
                       .is64Bit = win64,
                       .productName = std::nullopt};
}

// A fully known NT record.
WindowsInfo nt(quint32 major, quint32 minor, quint32 build, quint8 type, quint16 suite = 0x100,
               QString sp = QString(), quint16 spMajor = 0, quint16 spMinor = 0, quint32 product = 0,
               bool win64 = true)
{
    return known(2, major, minor, build, type, suite, sp, spMajor, spMinor, product, win64);
}

WindowsInfo win9x(quint32 minor, quint32 build, QString sub = QString())
{
    return known(1, 4, minor, build, 0, 0, sub, 0, 0, 0, false);
}

// UTF-16LE hex list as Wine writes binary registry data.
QByteArray hexUtf16(const QString& s)
{
    QByteArray out;
    for (QChar c : s) {
        out += QByteArray::number(c.unicode() & 0xFF, 16).rightJustified(2, '0') + ',';
        out += QByteArray::number(c.unicode() >> 8, 16).rightJustified(2, '0') + ',';
    }
    out.chop(1);
    return out;
}

QByteArray systemReg(const QByteArray& arch, const QByteArray& body)
{
    return testutil::registryFile("\\\\Machine", arch + "\n\n" + body);
}

// How Wine lays out a Windows 7 prefix: the version values, and the control
// set below a link.
QByteArray wineWin7Body(const QByteArray& edition = "Professional")
{
    return "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1700000000\n"
           "\"CSDVersion\"=\"Service Pack 1\"\n"
           "\"CurrentBuild\"=\"7601\"\n"
           "\"CurrentBuildNumber\"=\"7601\"\n"
           "\"CurrentVersion\"=\"6.1\"\n"
           "\"EditionID\"=\"" +
           edition +
           "\"\n"
           "\"ProductName\"=\"Microsoft Windows 7\"\n\n"
           "[System\\\\ControlSet001\\\\Control\\\\ProductOptions] 1700000000\n"
           "\"ProductType\"=\"WinNT\"\n"
           "\"ProductSuite\"=str(7):\"Terminal Server\\0\"\n\n"
           "[System\\\\ControlSet001\\\\Control\\\\Windows] 1700000000\n"
           "\"CSDVersion\"=dword:00000100\n\n"
           "[System\\\\CurrentControlSet] 1700000000\n#link\n"
           "\"SymbolicLinkValue\"=hex(6):" +
           hexUtf16("\\Registry\\Machine\\System\\ControlSet001") + "\n";
}

} // namespace

class TestOperatingSystem : public QObject
{
    Q_OBJECT
private slots:
    void platformLine_data()
    {
        QTest::addColumn<WindowsInfo>("info");
        QTest::addColumn<QString>("line");

        // Product code 48 (Professional) has no name in the table.
        QTest::newRow("7 Professional SP1 64-bit")
            << nt(6, 1, 7601, 1, 0x100, "Service Pack 1", 1, 0, 48)
            << "Microsoft Windows 7  - Service Pack 1 (1.0) - 6.1.7601 (64 Bit)";
        QTest::newRow("7 Ultimate SP1 64-bit")
            << nt(6, 1, 7601, 1, 0x100, "Service Pack 1", 1, 0, 1)
            << "Microsoft Windows 7 Ultimate - Service Pack 1 (1.0) - 6.1.7601 (64 Bit)";
        QTest::newRow("7 without a service pack")
            << nt(6, 1, 7600, 1, 0x100, "", 0, 0, 3)
            << "Microsoft Windows 7 Home Premium - n/a - 6.1.7600 (64 Bit)";
        QTest::newRow("service-pack text cut at NUL")
            << nt(6, 1, 7601, 1, 0x100, QString("Service Pack 1") + QChar(0) + "junk", 1, 0, 1)
            << "Microsoft Windows 7 Ultimate - Service Pack 1 (1.0) - 6.1.7601 (64 Bit)";
        QTest::newRow("Vista, product code not in the table")
            << nt(6, 0, 6002, 1, 0x100, "Service Pack 2", 2, 0, 0x30)
            << "Microsoft Windows Vista  - Service Pack 2 (2.0) - 6.0.6002 (64 Bit)";
        QTest::newRow("Vista, product code 0")
            << nt(6, 0, 6000, 1, 0x100, "", 0, 0, 0)
            << "Microsoft Windows Vista [Unbekannt] - n/a - 6.0.6000 (64 Bit)";
        QTest::newRow("7, unlicensed") << nt(6, 1, 7601, 1, 0x100, "", 0, 0, 0xABCDABCD)
                                       << "Microsoft Windows 7 [Unlizenziert] - n/a - 6.1.7601 (64 Bit)";
        QTest::newRow("8: version 6.2")
            << nt(6, 2, 9200, 1, 0x100, "", 0, 0, 48) << "Microsoft Windows - n/a - 6.2.9200 (64 Bit)";
        QTest::newRow("10") << nt(10, 0, 19043, 1) << "Microsoft Windows - n/a - 10.0.19043 (64 Bit)";
        QTest::newRow("XP Professional SP3 32-bit")
            << nt(5, 1, 2600, 1, 0x100, "Service Pack 3", 3, 0, 0, false)
            << "Microsoft Windows XP Professional - Service Pack 3 (3.0) - 5.1.2600 (32 Bit)";
        QTest::newRow("XP Home") << nt(5, 1, 2600, 1, 0x300, "", 0, 0, 0, false)
                                 << "Microsoft Windows XP Home Edition - n/a - 5.1.2600 (32 Bit)";
        QTest::newRow("XP x64 (5.2 workstation)")
            << nt(5, 2, 3790, 1, 0x100, "Service Pack 2", 2, 0)
            << "Microsoft Windows XP Professional - Service Pack 2 (2.0) - 5.2.3790 (64 Bit)";
        QTest::newRow("Server 2003 Enterprise")
            << nt(5, 2, 3790, 3, 0x2, "", 0, 0, 0, false)
            << "Microsoft Windows Server 2003 Enterprise Edition - n/a - 5.2.3790 (32 Bit)";
        QTest::newRow("2000 Advanced Server")
            << nt(5, 0, 2195, 3, 0x2, "Service Pack 4", 4, 0, 0, false)
            << "Microsoft Windows 2000 Advanced Server - Service Pack 4 (4.0) - 5.0.2195 (32 Bit)";
        QTest::newRow("NT 4.0 Server Enterprise") << nt(4, 0, 1381, 3, 0x2, "Service Pack 6", 6, 0, 0, false)
                                                  << "Microsoft Windows NT Server 4.0 Enterprise Edition - "
                                                     "Service Pack 6 (6.0) - 4.0.1381 (32 Bit)";
        QTest::newRow("Server 2008 Web")
            << nt(6, 0, 6001, 3, 0x400, "Service Pack 1", 1, 0, 17)
            << "Microsoft Windows Web Server 2008  - Service Pack 1 (1.0) - 6.0.6001 (64 Bit)";
        QTest::newRow("Server 2008 R2 Datacenter")
            << nt(6, 1, 7601, 3, 0x80, "Service Pack 1", 1, 0, 8)
            << "Microsoft Windows Server 2008 R2 Datacenter - Service Pack 1 (1.0) - 6.1.7601 (64 Bit)";
        QTest::newRow("98 SE: build is the low 16 bits") << win9x(10, (4u << 24) | (10u << 16) | 2222u, " A ")
                                                         << "Microsoft Windows 98 - n/a - 4.10.2222 (32 Bit)";
        QTest::newRow("95 OSR 2") << win9x(0, 1111) << "Microsoft Windows 95 OSR 2 - n/a - 4.0.1111 (32 Bit)";

        // What the prefix does not declare is said to be unknown.
        QTest::newRow("nothing declared")
            << WindowsInfo{} << "Microsoft Windows - unknown - unknown (bitness unknown)";
        WindowsInfo noType = nt(6, 1, 7601, 1, 0x100, "Service Pack 1", 1, 0, 1);
        noType.productType.reset();
        QTest::newRow("7 without a product type")
            << noType << "Microsoft Windows - Service Pack 1 (1.0) - 6.1.7601 (64 Bit)";
        WindowsInfo noSpNumbers = nt(6, 1, 7601, 1, 0x100, "Service Pack 1", 0, 0, 1);
        noSpNumbers.servicePackMajor.reset();
        noSpNumbers.servicePackMinor.reset();
        QTest::newRow("service pack without numbers")
            << noSpNumbers << "Microsoft Windows 7 Ultimate - Service Pack 1 (unknown) - 6.1.7601 (64 Bit)";
        WindowsInfo noProduct = nt(6, 1, 7601, 1, 0x100, "", 0, 0, 0);
        noProduct.productInfo.reset();
        noProduct.build.reset();
        QTest::newRow("no edition, no build")
            << noProduct << "Microsoft Windows 7 [Unbekannt] - n/a - 6.1.unknown (64 Bit)";
        WindowsInfo noSuite = nt(5, 1, 2600, 1, 0, "", 0, 0, 0, false);
        noSuite.suiteMask.reset();
        QTest::newRow("XP without a suite mask: no edition word")
            << noSuite << "Microsoft Windows XP - n/a - 5.1.2600 (32 Bit)";
    }
    void platformLine()
    {
        QFETCH(WindowsInfo, info);
        QFETCH(QString, line);
        QCOMPARE(osinfo::platformLine(info), line);
    }

    void codes_data()
    {
        QTest::addColumn<WindowsInfo>("info");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("edition"); // -1: unknown
        QTest::newRow("NT 3.51 workstation") << nt(3, 51, 1057, 1) << 4 << 2;
        QTest::newRow("XP Home") << nt(5, 1, 2600, 1, 0x200) << 7 << 1;
        QTest::newRow("Server 2003 Datacenter") << nt(5, 2, 3790, 3, 0x80) << 8 << 5;
        QTest::newRow("Home Server") << nt(5, 2, 3790, 3, 0x8002) << 8 << 9;
        QTest::newRow("Server 2008") << nt(6, 0, 6001, 2, 0x400) << 10 << 6;
        QTest::newRow("7") << nt(6, 1, 7601, 1) << 11 << 2;
        QTest::newRow("2008 R2 small business") << nt(6, 1, 7601, 3, 0x1) << 12 << 10;
        QTest::newRow("6.3") << nt(6, 3, 9600, 1) << 0 << 2;
        QTest::newRow("9x product type 0") << win9x(10, 2222) << 2 << 0;
        WindowsInfo noType = nt(6, 1, 7601, 1);
        noType.productType.reset();
        QTest::newRow("7 without product type") << noType << 0 << -1;
        WindowsInfo noSuite = nt(6, 1, 7601, 1);
        noSuite.suiteMask.reset();
        QTest::newRow("7 without suite mask") << noSuite << 11 << -1;
        WindowsInfo starter = nt(6, 1, 7601, 1);
        starter.starter = true;
        starter.suiteMask.reset();
        QTest::newRow("starter needs no suite mask") << starter << 11 << 0;
    }
    void codes()
    {
        QFETCH(WindowsInfo, info);
        QFETCH(int, version);
        QFETCH(int, edition);
        const OperatingSystem os(info);
        QCOMPARE(os.Version(), version);
        QCOMPARE(os.Edition().value_or(-1), edition);
    }

    void server2003R2()
    {
        WindowsInfo i = nt(5, 2, 3790, 3, 0x2);
        i.serverR2 = true;
        QCOMPARE(osinfo::windowsName(i), QString("Microsoft Windows Server 2003 Enterprise Edition R2"));
        i.suiteMask = 0x8000;
        QCOMPARE(osinfo::windowsName(i), QString("Microsoft Windows Home Server"));
    }

    void hostInfo_data()
    {
        QTest::addColumn<QByteArray>("reg");
        QTest::addColumn<QString>("line");

        QTest::newRow("Wine, Windows 7, control set below a link")
            << systemReg("#arch=win64", wineWin7Body("Ultimate"))
            << "Microsoft Windows 7 Ultimate - Service Pack 1 (1.0) - 6.1.7601 (64 Bit)";
        QTest::newRow("Wine, Windows 7 Professional, 32-bit prefix")
            << systemReg("#arch=win32", wineWin7Body())
            << "Microsoft Windows 7  - Service Pack 1 (1.0) - 6.1.7601 (32 Bit)";
        QTest::newRow("Windows 10: version numbers win over CurrentVersion")
            << systemReg(
                   "#arch=win64",
                   "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1\n"
                   "\"CSDVersion\"=\"\"\n\"CurrentBuildNumber\"=\"19043\"\n"
                   "\"CurrentMajorVersionNumber\"=dword:0000000a\n"
                   "\"CurrentMinorVersionNumber\"=dword:00000000\n\"CurrentVersion\"=\"6.3\"\n\n"
                   "[System\\\\CurrentControlSet\\\\Control\\\\ProductOptions] "
                   "1\n\"ProductType\"=\"WinNT\"\n\n"
                   "[System\\\\CurrentControlSet\\\\Control\\\\Windows] 1\n\"CSDVersion\"=dword:00000000\n")
            << "Microsoft Windows - n/a - 10.0.19043 (64 Bit)";
        QTest::newRow("XP server: ProductSuite and ServerNT")
            << systemReg(
                   "#arch=win32",
                   "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1\n"
                   "\"CSDVersion\"=\"Service Pack "
                   "2\"\n\"CurrentBuild\"=\"3790\"\n\"CurrentVersion\"=\"5.2\"\n\n"
                   "[System\\\\ControlSet001\\\\Control\\\\ProductOptions] 1\n\"ProductType\"=\"ServerNT\"\n"
                   "\"ProductSuite\"=str(7):\"Enterprise\\0Terminal Server\\0\"\n\n"
                   "[System\\\\ControlSet001\\\\Control\\\\Windows] 1\n\"CSDVersion\"=dword:00000200\n")
            << "Microsoft Windows Server 2003 Enterprise Edition - Service Pack 2 (2.0) - 5.2.3790 (32 Bit)";
        QTest::newRow("Windows 98") << systemReg(
                                           "",
                                           "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1\n"
                                           "\"VersionNumber\"=\"4.10.2222\"\n\"SubVersionNumber\"=\" A \"\n")
                                    << "Microsoft Windows 98 - n/a - 4.10.2222 (32 Bit)";
        QTest::newRow("only CurrentVersion declared")
            << systemReg(
                   "#arch=win64",
                   "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1\n\"CurrentVersion\"=\"6.1\"\n")
            << "Microsoft Windows - unknown - 6.1.unknown (64 Bit)";
        QTest::newRow("numbers that are no numbers")
            << systemReg(
                   "#arch=win64",
                   "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1\n\"CurrentVersion\"=\"six\"\n"
                   "\"CurrentBuildNumber\"=\"n/a\"\n\"CSDVersion\"=\"\"\n")
            << "Microsoft Windows - n/a - unknown (64 Bit)";
        QTest::newRow("no version declared")
            << systemReg("#arch=win64", "") << "Microsoft Windows - unknown - unknown (64 Bit)";
        QTest::newRow("not a registry file")
            << QByteArray("garbage\n") << "Microsoft Windows - unknown - unknown (bitness unknown)";
    }
    void hostInfo()
    {
        QFETCH(QByteArray, reg);
        QFETCH(QString, line);
        const auto registry = platform::wine::WineRegistry::parse(reg);
        QCOMPARE(osinfo::platformLine(platform::host::readWindowsInfo(registry)), line);
    }

    void hostInfoOfThePrefixInUse()
    {
        QTemporaryDir prefix;
        testutil::writeFile(prefix.path() + "/system.reg",
                            systemReg("#arch=win64", wineWin7Body("HomePremium")));
        const QByteArray old = qgetenv("WINEPREFIX");
        qputenv("WINEPREFIX", prefix.path().toLocal8Bit());
        const OperatingSystem os;
        qputenv("WINEPREFIX", old);
        QCOMPARE(os.Name(), QString("Microsoft Windows 7 Home Premium"));
        QCOMPARE(os.ProductInfo(), std::optional<quint32>(3));
        QCOMPARE(os.SuiteMask(), std::optional<quint16>(0x10));
        QCOMPARE(os.ServicePack(), std::optional<QString>("Service Pack 1"));
        QCOMPARE(os.Is64BitOS(), std::optional<bool>(true));
    }
};

QTEST_GUILESS_MAIN(TestOperatingSystem)
#include "tst_operatingsystem.moc"
