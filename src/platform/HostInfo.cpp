#include "platform/HostInfo.h"

#include "platform/WinePrefix.h"
#include "platform/WineRegistry.h"

#include <QStringList>

#include <array>
#include <utility>

namespace platform::host {

using platform::wine::RegKey;
using platform::wine::RegValue;
using platform::wine::WineRegistry;
namespace regtype = platform::wine::regtype;

namespace {

const QString kNtVersionKey = QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion");
const QString k9xVersionKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion");

std::optional<QString> text(const RegKey* key, QStringView name)
{
    if (!key)
        return std::nullopt;
    const RegValue* v = key->value(name);
    if (!v || (v->type != regtype::Sz && v->type != regtype::ExpandSz))
        return std::nullopt;
    return v->toText();
}

std::optional<quint32> dword(const RegKey* key, QStringView name)
{
    if (!key)
        return std::nullopt;
    const RegValue* v = key->value(name);
    if (!v || v->type != regtype::Dword)
        return std::nullopt;
    return v->toDword();
}

std::optional<quint32> number(const std::optional<QString>& s)
{
    if (!s)
        return std::nullopt;
    bool ok = false;
    const uint n = s->trimmed().toUInt(&ok);
    return ok ? std::optional<quint32>(n) : std::nullopt;
}

// A key below "System\CurrentControlSet". In a prefix that key is a link to
// "System\ControlSet001" and the keys below it are stored under the target.
const RegKey* controlSetKey(const WineRegistry& machine, const QString& below)
{
    if (const RegKey* k = machine.key(QString(QStringLiteral("System\\CurrentControlSet\\") + below)))
        return k;
    if (const RegKey* link = machine.key(u"System\\CurrentControlSet")) {
        if (const RegValue* v = link->value(u"SymbolicLinkValue")) {
            QString target = v->toText();
            const QString root = QStringLiteral("\\Registry\\Machine\\");
            if (target.startsWith(root, Qt::CaseInsensitive)) {
                target = target.mid(root.size());
                if (const RegKey* k = machine.key(QString(target + u'\\' + below)))
                    return k;
            }
        }
    }
    return machine.key(QString(QStringLiteral("System\\ControlSet001\\") + below));
}

std::optional<quint8> productTypeOf(const std::optional<QString>& name)
{
    if (!name)
        return std::nullopt;
    if (name->compare(u"WinNT", Qt::CaseInsensitive) == 0)
        return quint8(1);
    if (name->compare(u"LanmanNT", Qt::CaseInsensitive) == 0)
        return quint8(2);
    if (name->compare(u"ServerNT", Qt::CaseInsensitive) == 0)
        return quint8(3);
    return std::nullopt;
}

std::optional<quint16> suiteMaskOf(const RegKey* options)
{
    static const std::array<std::pair<const char16_t*, quint16>, 15> kSuites = {{
        {u"Small Business", 0x1},
        {u"Enterprise", 0x2},
        {u"BackOffice", 0x4},
        {u"CommunicationServer", 0x8},
        {u"Terminal Server", 0x10},
        {u"Small Business(Restricted)", 0x20},
        {u"EmbeddedNT", 0x40},
        {u"DataCenter", 0x80},
        {u"Personal", 0x200},
        {u"Blade", 0x400},
        {u"Embedded(Restricted)", 0x800},
        {u"Security Appliance", 0x1000},
        {u"Storage Server", 0x2000},
        {u"Compute Server", 0x4000},
        {u"WH Server", 0x8000},
    }};
    if (!options)
        return std::nullopt;
    const RegValue* v = options->value(u"ProductSuite");
    if (!v)
        return std::nullopt;
    QStringList names;
    if (v->type == regtype::MultiSz)
        names = v->toMultiString();
    else if (v->type == regtype::Sz)
        names = QStringList{v->toText()};
    else
        return std::nullopt;
    quint16 mask = 0;
    for (const QString& name : names) {
        for (const auto& [suite, bit] : kSuites) {
            if (name.compare(QStringView(suite), Qt::CaseInsensitive) == 0)
                mask |= bit;
        }
    }
    return mask;
}

// "4.10.2222" -> 4, 10, 2222; parts that are missing or no number stay empty.
void readDottedVersion(const QString& s, WindowsInfo& info, bool withBuild)
{
    const QStringList parts = s.trimmed().split(u'.');
    info.major = number(parts.value(0));
    info.minor = parts.size() > 1 ? number(parts.at(1)) : std::nullopt;
    if (withBuild)
        info.build = parts.size() > 2 ? number(parts.at(2)) : std::nullopt;
}

void readNt(const WineRegistry& machine, const RegKey* nt, WindowsInfo& info)
{
    info.platformId = 2;
    if (const auto major = dword(nt, u"CurrentMajorVersionNumber")) {
        info.major = major;
        info.minor = dword(nt, u"CurrentMinorVersionNumber");
    } else if (const auto v = text(nt, u"CurrentVersion")) {
        readDottedVersion(*v, info, false);
    }
    info.build = number(text(nt, u"CurrentBuildNumber"));
    if (!info.build)
        info.build = number(text(nt, u"CurrentBuild"));
    info.servicePack = text(nt, u"CSDVersion");
    info.productName = text(nt, u"ProductName");

    if (const auto sp = dword(controlSetKey(machine, QStringLiteral("Control\\Windows")), u"CSDVersion")) {
        info.servicePackMajor = quint16((*sp >> 8) & 0xFF);
        info.servicePackMinor = quint16(*sp & 0xFF);
    }
    const RegKey* options = controlSetKey(machine, QStringLiteral("Control\\ProductOptions"));
    info.productType = productTypeOf(text(options, u"ProductType"));
    info.suiteMask = suiteMaskOf(options);

    if (info.major) {
        if (*info.major >= 6) {
            if (const auto edition = text(nt, u"EditionID"))
                info.productInfo = productCodeForEdition(*edition);
        } else {
            info.productInfo = 0;
        }
    }
}

} // namespace

std::optional<quint32> productCodeForEdition(const QString& editionId)
{
    static const std::array<std::pair<const char16_t*, quint32>, 23> kEditions = {{
        {u"Ultimate", 1},
        {u"HomeBasic", 2},
        {u"HomePremium", 3},
        {u"Enterprise", 4},
        {u"HomeBasicN", 5},
        {u"Business", 6},
        {u"ServerStandard", 7},
        {u"ServerDatacenter", 8},
        {u"ServerSBSStandard", 9},
        {u"ServerEnterprise", 10},
        {u"Starter", 11},
        {u"ServerDatacenterCore", 12},
        {u"ServerStandardCore", 13},
        {u"ServerEnterpriseCore", 14},
        {u"ServerEnterpriseIA64", 15},
        {u"BusinessN", 16},
        {u"ServerWeb", 17},
        {u"HomePremiumN", 26},
        {u"EnterpriseN", 27},
        {u"UltimateN", 28},
        {u"Professional", 48},
        {u"ProfessionalN", 49},
        {u"Core", 101},
    }};
    const QString id = editionId.trimmed();
    for (const auto& [name, code] : kEditions) {
        if (id.compare(QStringView(name), Qt::CaseInsensitive) == 0)
            return code;
    }
    return std::nullopt;
}

WindowsInfo readWindowsInfo(const WineRegistry& machine)
{
    WindowsInfo info;
    if (!machine.isValid())
        return info;
    info.is64Bit = machine.isWin64();

    const RegKey* nt = machine.key(kNtVersionKey);
    const bool ntDeclared = dword(nt, u"CurrentMajorVersionNumber") || text(nt, u"CurrentVersion");
    if (ntDeclared) {
        readNt(machine, nt, info);
        return info;
    }
    const RegKey* old = machine.key(k9xVersionKey);
    if (const auto v = text(old, u"VersionNumber")) {
        info.platformId = 1;
        readDottedVersion(*v, info, true);
        info.servicePack = text(old, u"SubVersionNumber");
        info.productName = text(old, u"ProductName");
        info.servicePackMajor = 0;
        info.servicePackMinor = 0;
        info.suiteMask = 0;
        info.productType = 0;
        info.productInfo = 0;
    }
    return info;
}

WindowsInfo currentWindowsInfo()
{
    return readWindowsInfo(*platform::wine::machineRegistry());
}

} // namespace platform::host
