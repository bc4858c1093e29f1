#pragma once

#include "platform/HostInfo.h"

#include <QString>

#include <optional>

// The Windows installation as the About window describes it: version code,
// edition, name and the one-line summary, decoded from the numbers Windows
// reports (platform id, version, build, service pack, suite mask, product
// type, product code). A number the host does not declare stays unknown and
// is shown as "unknown"; the decoders never fill it in with a guess.
namespace osinfo {

using platform::host::WindowsInfo;

// The version code: 1 Windows 95, 2 98, 3 Me, 4 NT 3.51, 5 NT 4.0, 6 2000,
// 7 XP, 8 Server 2003, 9 Vista, 10 Server 2008, 11 7, 12 Server 2008 R2, 0 any
// other (later versions, or too little known to tell).
int versionCode(const WindowsInfo& info);

// The edition code: 0 Starter (or none), 1 Home, 2 Professional, 3 Standard,
// 4 Enterprise, 5 Datacenter, 6 Web, 7 Media Center, 8 Tablet PC, 9 Home
// Server, 10 Small Business. Empty when the product type or a needed suite
// mask is unknown.
std::optional<int> editionCode(const WindowsInfo& info);

// The edition name of a product code ("Ultimate" for 1); empty text for codes
// without a name, "[Unbekannt]" for 0 and for an unknown code.
QString productInfoString(std::optional<quint32> code);

// "Microsoft Windows" with the version and edition words the numbers allow.
QString windowsName(const WindowsInfo& info);

// The service-pack text up to its first NUL.
std::optional<QString> servicePackText(const WindowsInfo& info);

// The build number as Windows programs see it: its low 16 bits on Windows
// 95/98/Me, where the high ones hold the version.
std::optional<quint32> revision(const WindowsInfo& info);

// The About window's line: name, " - ", service pack, " - ",
// major.minor.revision and the bitness in brackets.
QString platformLine(const WindowsInfo& info);

} // namespace osinfo

// The Windows information of the host, read once when the object is created.
class OperatingSystem
{
public:
    // Reads what the host declares (the Wine prefix's registry).
    OperatingSystem();
    explicit OperatingSystem(platform::host::WindowsInfo info);

    std::optional<bool> Is64BitOS() const { return m_info.is64Bit; }
    int Version() const { return osinfo::versionCode(m_info); }
    bool IsWindowsServer2003R2() const { return m_info.serverR2; }
    QString Name() const { return osinfo::windowsName(m_info); }
    std::optional<quint32> Major() const { return m_info.major; }
    std::optional<quint32> Minor() const { return m_info.minor; }
    std::optional<quint32> Revision() const { return osinfo::revision(m_info); }
    std::optional<QString> ServicePack() const { return osinfo::servicePackText(m_info); }
    std::optional<quint16> ServicePackMajor() const { return m_info.servicePackMajor; }
    std::optional<quint16> ServicePackMinor() const { return m_info.servicePackMinor; }
    std::optional<quint32> ProductInfo() const { return m_info.productInfo; }
    QString ProductInfoString() const { return osinfo::productInfoString(m_info.productInfo); }
    std::optional<quint8> ProductType() const { return m_info.productType; }
    std::optional<quint16> SuiteMask() const { return m_info.suiteMask; }
    std::optional<int> Edition() const { return osinfo::editionCode(m_info); }

    const platform::host::WindowsInfo& info() const { return m_info; }

private:
    platform::host::WindowsInfo m_info;
};
