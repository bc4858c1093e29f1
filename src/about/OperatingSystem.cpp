#include "about/OperatingSystem.h"

#include <iterator>

namespace osinfo {

namespace {

constexpr quint32 kPlatformWin9x = 1;
constexpr quint32 kPlatformNT = 2;
constexpr quint32 kProductWebServer = 17;
constexpr quint32 kUnlicensed = 0xABCDABCD;

bool has(const std::optional<quint16>& mask, quint16 bits)
{
    return mask && (*mask & bits) != 0;
}

QString numberOrUnknown(const std::optional<quint32>& n)
{
    return n ? QString::number(*n) : QStringLiteral("unknown");
}

QString xpPart(const WindowsInfo& info)
{
    QString s = QStringLiteral(" XP");
    if (!info.suiteMask)
        return s;
    if (has(info.suiteMask, 0x40))
        return s + QStringLiteral(" Embedded");
    const std::optional<int> edition = editionCode(info);
    if (!edition)
        return s;
    switch (*edition) {
    case 7:
        return s + QStringLiteral(" Media Center Edition");
    case 8:
        return s + QStringLiteral(" Tablet PC Edition");
    case 0:
        return s + QStringLiteral(" Starter Edition");
    default:
        return s + (has(info.suiteMask, 0x200) ? QStringLiteral(" Home Edition")
                                               : QStringLiteral(" Professional"));
    }
}

QString server2003Part(const WindowsInfo& info)
{
    if (!info.suiteMask)
        return QStringLiteral(" Server 2003");
    QString s;
    if (has(info.suiteMask, 0x2000))
        s = QStringLiteral(" Storage Server 2003");
    else if (has(info.suiteMask, 0x8000))
        s = QStringLiteral(" Home Server");
    else if (has(info.suiteMask, 1 | 32))
        s = QStringLiteral(" Small Business Server 2003");
    else if (has(info.suiteMask, 0x400))
        s = QStringLiteral(" Server 2003 Web Edition");
    else if (has(info.suiteMask, 128))
        s = QStringLiteral(" Server 2003 Datacenter Edition");
    else if (has(info.suiteMask, 2))
        s = QStringLiteral(" Server 2003 Enterprise Edition");
    else
        s = QStringLiteral(" Server 2003 Standard Edition");
    if (info.serverR2 && !has(info.suiteMask, 0x8000))
        s += QStringLiteral(" R2");
    return s;
}

} // namespace

int versionCode(const WindowsInfo& info)
{
    if (!info.platformId || !info.major || !info.minor)
        return 0;
    const quint32 major = *info.major;
    const quint32 minor = *info.minor;
    const std::optional<quint8> type = info.productType;
    // Where only the product type tells workstation and server apart, an
    // unknown type leaves the version undecided.
    const auto byType = [&type](int workstation, int server) {
        if (!type)
            return 0;
        return *type == 1 ? workstation : server;
    };
    if (*info.platformId == kPlatformWin9x && major == 4) {
        switch (minor) {
        case 0:
            return 1;
        case 10:
            return 2;
        case 90:
            return 3;
        default:
            return 0;
        }
    }
    if (*info.platformId != kPlatformNT)
        return 0;
    if (major == 3 && minor == 51)
        return 4;
    if (major == 4)
        return 5;
    if (major == 5 && minor == 0)
        return 6;
    if (major == 5 && minor == 1)
        return 7;
    if (major == 5 && minor == 2)
        return byType(7, 8);
    if (major == 6 && minor == 0)
        return byType(9, 10);
    if (major == 6 && minor == 1)
        return byType(11, 12);
    return 0;
}

std::optional<int> editionCode(const WindowsInfo& info)
{
    if (!info.productType)
        return std::nullopt;
    const quint8 type = *info.productType;
    if (type == 1) {
        if (info.starter)
            return 0;
        if (info.mediaCenter)
            return 7;
        if (info.tabletPc)
            return 8;
        if (!info.suiteMask)
            return std::nullopt;
        return has(info.suiteMask, 0x200) ? 1 : 2;
    }
    if (type == 2 || type == 3) {
        if (!info.suiteMask)
            return std::nullopt;
        if (has(info.suiteMask, 0x8000))
            return 9;
        if (has(info.suiteMask, 2))
            return 4;
        if (has(info.suiteMask, 128))
            return 5;
        if (has(info.suiteMask, 0x400))
            return 6;
        if (has(info.suiteMask, 1 | 32))
            return 10;
        return 3;
    }
    return 0;
}

QString productInfoString(std::optional<quint32> code)
{
    static const char* const kNames[] = {
        "[Unbekannt]",
        "Ultimate",
        "Home Basic",
        "Home Premium",
        "Enterprise",
        "Home Basic N",
        "Business",
        "Standard",
        "Datacenter",
        "Small Business Server",
        "Enterprise",
        "Starter",
        "Datacenter (Core)",
        "Standard (Core)",
        "Enterprise (Core)",
        "for Itanium-Based Systems",
        "Business N",
        "Web Server",
        "Cluster",
        "Home Server",
        "Storage Express",
        "Storage Standard",
        "Storage Workgroup",
        "Storage Enterprise",
        "Server for Small Business",
        "Small Business Server Premium",
        "Home Premium N",
        "Enterprise N",
        "Ultimate N",
    };
    if (!code)
        return QString::fromLatin1(kNames[0]);
    if (*code == kUnlicensed)
        return QStringLiteral("[Unlizenziert]");
    if (*code < std::size(kNames))
        return QString::fromLatin1(kNames[*code]);
    return {};
}

std::optional<QString> servicePackText(const WindowsInfo& info)
{
    if (!info.servicePack)
        return std::nullopt;
    const qsizetype nul = info.servicePack->indexOf(QChar(0));
    return nul < 0 ? *info.servicePack : info.servicePack->left(nul);
}

std::optional<quint32> revision(const WindowsInfo& info)
{
    if (info.build && info.platformId == kPlatformWin9x)
        return *info.build & 0xFFFF;
    return info.build;
}

namespace {

// A server release: the web edition by its name alone, the others followed by
// their product text.
QString serverRelease(const WindowsInfo& info, const QString& webName, const QString& name)
{
    return info.productInfo == kProductWebServer ? webName : name + productInfoString(info.productInfo);
}

} // namespace

QString windowsName(const WindowsInfo& info)
{
    QString name = QStringLiteral("Microsoft Windows");
    const std::optional<quint8> type = info.productType;
    const bool workstation = type == 1;
    const bool server = type == 2 || type == 3;
    switch (versionCode(info)) {
    case 1:
        name += QStringLiteral(" 95");
        if (revision(info) == 1111u)
            name += QStringLiteral(" OSR 2");
        break;
    case 2:
        name += QStringLiteral(" 98");
        break;
    case 3:
        name += QStringLiteral(" Me");
        break;
    case 4:
        name += QStringLiteral(" NT 3.51");
        if (workstation)
            name += QStringLiteral(" Workstation");
        else if (server)
            name += QStringLiteral(" Server");
        break;
    case 5:
        if (!type) {
            name += QStringLiteral(" NT 4.0");
            break;
        }
        name += workstation ? QStringLiteral(" NT Workstation 4.0") : QStringLiteral(" NT Server 4.0");
        if (has(info.suiteMask, 2))
            name += QStringLiteral(" Enterprise Edition");
        break;
    case 6:
        name += QStringLiteral(" 2000");
        if (workstation)
            name += QStringLiteral(" Professional");
        else if (type && info.suiteMask) {
            if (has(info.suiteMask, 128))
                name += QStringLiteral(" Datacenter Server");
            else if (has(info.suiteMask, 2))
                name += QStringLiteral(" Advanced Server");
            else
                name += QStringLiteral(" Server");
        }
        break;
    case 7:
        name += xpPart(info);
        break;
    case 8:
        name += server2003Part(info);
        break;
    case 9:
        name += QStringLiteral(" Vista ") + productInfoString(info.productInfo);
        break;
    case 10:
        name += serverRelease(info, QStringLiteral(" Web Server 2008 "), QStringLiteral(" Server 2008 "));
        break;
    case 11:
        name += QStringLiteral(" 7 ") + productInfoString(info.productInfo);
        break;
    case 12:
        name +=
            serverRelease(info, QStringLiteral(" Web Server 2008 R2"), QStringLiteral(" Server 2008 R2 "));
        break;
    default:
        break;
    }
    return name;
}

QString platformLine(const WindowsInfo& info)
{
    // The service pack: its text and numbers when Windows declares some, "n/a"
    // when it declares none.
    QString servicePack;
    const std::optional<QString> spText = servicePackText(info);
    if (info.servicePackMajor && info.servicePackMinor) {
        if (*info.servicePackMajor + *info.servicePackMinor >= 1)
            servicePack = spText.value_or(QStringLiteral("unknown")) + QStringLiteral(" (") +
                          QString::number(*info.servicePackMajor) + u'.' +
                          QString::number(*info.servicePackMinor) + u')';
        else
            servicePack = QStringLiteral("n/a");
    } else if (!spText) {
        servicePack = QStringLiteral("unknown");
    } else if (spText->isEmpty()) {
        servicePack = QStringLiteral("n/a");
    } else {
        servicePack = *spText + QStringLiteral(" (unknown)");
    }

    const std::optional<quint32> rev = revision(info);
    const QString numbers =
        (!info.major && !info.minor && !rev)
            ? QStringLiteral("unknown")
            : numberOrUnknown(info.major) + u'.' + numberOrUnknown(info.minor) + u'.' + numberOrUnknown(rev);

    QString bits;
    if (!info.is64Bit)
        bits = QStringLiteral(" (bitness unknown)");
    else
        bits = *info.is64Bit ? QStringLiteral(" (64 Bit)") : QStringLiteral(" (32 Bit)");

    return windowsName(info) + QStringLiteral(" - ") + servicePack + QStringLiteral(" - ") + numbers + bits;
}

} // namespace osinfo

OperatingSystem::OperatingSystem() : m_info(platform::host::currentWindowsInfo()) {}

OperatingSystem::OperatingSystem(platform::host::WindowsInfo info) : m_info(std::move(info)) {}
