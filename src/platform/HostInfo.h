#pragma once

#include <QString>

#include <optional>

namespace platform::wine {
class WineRegistry;
}

// What the host tells a Windows program about "its" Windows. We run beside
// the simulators' Wine prefix, so the honest answer is the Windows version
// that prefix declares in its machine registry (system.reg), which is also
// what Wine hands to the programs it runs. Every field is empty when the
// prefix does not declare it: nothing is guessed.
//
// Where each field comes from (HKLM keys, value names without regard to case):
//   platformId   2 (NT) when "Software\Microsoft\Windows NT\CurrentVersion"
//                declares a version; 1 (Windows 95/98/Me) when only
//                "Software\Microsoft\Windows\CurrentVersion" "VersionNumber" does
//   major/minor  NT: "CurrentMajorVersionNumber"/"CurrentMinorVersionNumber"
//                (DWORDs, Windows 10 and later; when the major one is present
//                the minor one is never taken from elsewhere, because
//                "CurrentVersion" then says "6.3" for old programs), else
//                "CurrentVersion" ("6.1"); 9x: "VersionNumber" ("4.10.2222")
//   build        NT: "CurrentBuildNumber", else "CurrentBuild"; 9x: the third
//                number of "VersionNumber"
//   servicePack  NT: "CSDVersion" (text); 9x: "SubVersionNumber"
//   servicePackMajor/Minor
//                NT: "System\CurrentControlSet\Control\Windows" "CSDVersion"
//                (DWORD, major in bits 8-15, minor in bits 0-7); 9x: 0 (those
//                systems have no such numbers)
//   productType  "System\CurrentControlSet\Control\ProductOptions" "ProductType":
//                "WinNT" 1 (workstation), "LanmanNT" 2 (domain controller),
//                "ServerNT" 3 (server); 9x: 0
//   suiteMask    the same key's "ProductSuite" list, each name its Windows bit
//                ("Small Business" 0x1, "Enterprise" 0x2, "BackOffice" 0x4,
//                "CommunicationServer" 0x8, "Terminal Server" 0x10,
//                "Small Business(Restricted)" 0x20, "EmbeddedNT" 0x40,
//                "DataCenter" 0x80, "Personal" 0x200, "Blade" 0x400,
//                "Embedded(Restricted)" 0x800, "Security Appliance" 0x1000,
//                "Storage Server" 0x2000, "Compute Server" 0x4000,
//                "WH Server" 0x8000; others add nothing); 9x: 0
//   productInfo  NT 6.0 and later: "EditionID" as its product code ("Ultimate"
//                1, "HomeBasic" 2, "HomePremium" 3, "Enterprise" 4, "HomeBasicN"
//                5, "Business" 6, "ServerStandard" 7, "ServerDatacenter" 8,
//                "ServerSBSStandard" 9, "ServerEnterprise" 10, "Starter" 11,
//                "ServerDatacenterCore" 12, "ServerStandardCore" 13,
//                "ServerEnterpriseCore" 14, "ServerEnterpriseIA64" 15,
//                "BusinessN" 16, "ServerWeb" 17, "HomePremiumN" 26,
//                "EnterpriseN" 27, "UltimateN" 28, "Professional" 48,
//                "ProfessionalN" 49, "Core" 101; other names: unknown);
//                before 6.0: 0, as Windows has no product code there
//   is64Bit      "#arch=win64" in system.reg (a file without the line is a
//                32-bit prefix); unknown when there is no readable system.reg
//   productName  "ProductName", for information only
// "System\CurrentControlSet" is a link in a prefix; its "SymbolicLinkValue"
// is followed, then "System\ControlSet001" is tried.
//
// Wine answers 0 to the system metrics SM_STARTER, SM_MEDIACENTER,
// SM_TABLETPC and SM_SERVERR2, so those four are always false here.
namespace platform::host {

struct WindowsInfo
{
    std::optional<quint32> platformId;
    std::optional<quint32> major;
    std::optional<quint32> minor;
    std::optional<quint32> build;
    std::optional<QString> servicePack;
    std::optional<quint16> servicePackMajor;
    std::optional<quint16> servicePackMinor;
    std::optional<quint16> suiteMask;
    std::optional<quint8> productType;
    std::optional<quint32> productInfo;
    std::optional<bool> is64Bit;
    std::optional<QString> productName;
    bool starter = false;
    bool mediaCenter = false;
    bool tabletPc = false;
    bool serverR2 = false;
};

// The Windows a parsed machine registry (system.reg) declares.
WindowsInfo readWindowsInfo(const platform::wine::WineRegistry& machine);

// The Windows the prefix in use declares ($WINEPREFIX, else ~/.wine).
WindowsInfo currentWindowsInfo();

// The product code Windows uses for an edition name ("Professional" 48); empty
// for names not in the table above.
std::optional<quint32> productCodeForEdition(const QString& editionId);

} // namespace platform::host
