#include "platform/WinePrefix.h"

#include "platform/PathResolver.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace platform::wine {

namespace {

const QString kShellFolders =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
const QString kUserShellFolders =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders");
const QString kProfileList = QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList");

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The folder a drive letter stands for. Wine keeps one link per drive in
// dosdevices; the link's target is used so the paths we show read naturally
// (<prefix>/drive_c rather than <prefix>/dosdevices/c:). A missing or dangling
// link gives the dosdevices name itself, which does not exist.
QString driveRoot(const QString& prefix, QChar letter)
{
    const QString link = prefix + QStringLiteral("/dosdevices/") + letter.toLower() + u':';
    const QFileInfo fi(link);
    if (!fi.isSymLink())
        return link;
    const QString canonical = fi.canonicalFilePath();
    if (canonical.isEmpty() || !QFileInfo(canonical).isDir())
        return link;
    // symLinkTarget() cleans ".." by text; only trust it when it lands where the
    // file system says the link goes.
    const QString target = fi.symLinkTarget();
    if (!target.isEmpty() && QFileInfo(target).canonicalFilePath() == canonical)
        return target;
    return canonical;
}

// The parts of a Windows path below its root, with "." dropped and ".."
// applied; ".." at the root stays at the root, as on Windows.
QStringList cleanParts(QStringView rest)
{
    QStringList parts;
    for (QStringView part : rest.split(u'\\', Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part.toString());
    }
    return parts;
}

bool isFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

QString stringValue(const WineRegistry& reg, const QString& key, const QString& name)
{
    const RegKey* k = reg.key(key);
    const RegValue* v = k ? k->value(name) : nullptr;
    if (!v || (v->type != regtype::Sz && v->type != regtype::ExpandSz))
        return {};
    return v->toText();
}

// The environment a user's programs would see, as far as the registry records
// it: enough to expand the folder paths of User Shell Folders.
QHash<QString, QString> userEnvironment(const QString& prefix)
{
    QHash<QString, QString> env;
    env.insert(QStringLiteral("systemdrive"), QStringLiteral("C:"));
    const auto user = userRegistry(prefix);
    for (const QString& keyName : {QStringLiteral("Environment"), QStringLiteral("Volatile Environment")}) {
        if (const RegKey* k = user->key(keyName)) {
            for (const RegValue& v : k->values()) {
                if (v.type == regtype::Sz || v.type == regtype::ExpandSz)
                    env.insert(v.name.toCaseFolded(), v.toText());
            }
        }
    }
    if (!env.contains(QStringLiteral("userprofile"))) {
        // Older prefixes: the profile list in HKLM, else Wine's default.
        const auto machine = machineRegistry(prefix);
        for (const QString& sid : machine->childKeyNames(kProfileList)) {
            const QString p =
                stringValue(*machine, kProfileList + u'\\' + sid, QStringLiteral("ProfileImagePath"));
            if (!p.isEmpty() && sid.startsWith(u"S-1-5-21-")) {
                env.insert(QStringLiteral("userprofile"), p);
                break;
            }
        }
    }
    if (!env.contains(QStringLiteral("userprofile"))) {
        const QString user = qEnvironmentVariable("USER");
        if (!user.isEmpty())
            env.insert(QStringLiteral("userprofile"), QStringLiteral("C:\\users\\") + user);
    }
    return env;
}

// Expands %NAME% the way Windows does: unknown names stay as written. Values
// may hold variables themselves (%SystemDrive%\users\...), so a few rounds run.
QString expandVariables(QString text, const QHash<QString, QString>& env)
{
    for (int round = 0; round < 4 && text.contains(u'%'); ++round) {
        QString out;
        qsizetype i = 0;
        bool changed = false;
        while (i < text.size()) {
            const qsizetype open = text.indexOf(u'%', i);
            const qsizetype close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
            if (close < 0) {
                out += QStringView(text).mid(i);
                break;
            }
            out += QStringView(text).mid(i, open - i);
            const QString name = text.mid(open + 1, close - open - 1).toCaseFolded();
            const auto it = env.constFind(name);
            if (it != env.cend()) {
                out += *it;
                changed = true;
                i = close + 1;
            } else {
                out += QStringView(text).mid(open, close - open);
                i = close; // the closing '%' may open the next name
            }
        }
        text = out;
        if (!changed)
            break;
    }
    return text;
}

// Profile folders below `windowsRoot` ("C:\users"), the current user's first.
QStringList profileFolders(const QString& prefix, const QString& windowsRoot)
{
    const QString root = toLinuxPath(windowsRoot, prefix);
    if (!isFolder(root))
        return {};
    QStringList names = paths::matchEntries(root, u"*", paths::EntryKind::Dirs);
    const QString me = qEnvironmentVariable("USER");
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!me.isEmpty() && paths::sameName(names[i], me)) {
            names.move(i, 0);
            break;
        }
    }
    QStringList out;
    for (const QString& n : names)
        out.append(paths::join(root, n));
    return out;
}

} // namespace

QString prefixPath()
{
    QString p = qEnvironmentVariable("WINEPREFIX");
    if (p.isEmpty())
        return paths::join(QDir::homePath(), u".wine");
    if (!p.startsWith(u'/'))
        p = QDir::current().absoluteFilePath(p);
    while (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    return p;
}

std::shared_ptr<const WineRegistry> machineRegistry(const QString& prefix)
{
    return WineRegistry::loadCached(paths::join(prefix, u"system.reg"));
}

std::shared_ptr<const WineRegistry> userRegistry(const QString& prefix)
{
    return WineRegistry::loadCached(paths::join(prefix, u"user.reg"));
}

bool isWin64(const QString& prefix)
{
    return machineRegistry(prefix)->isWin64();
}

QString toLinuxPath(QStringView windowsPath, const QString& prefix)
{
    QString p = windowsPath.toString();
    p.replace(u'/', u'\\');
    if (p.startsWith(u"\\\\?\\") || p.startsWith(u"\\??\\")) {
        p.remove(0, 4);
        if (p.startsWith(u"UNC\\", Qt::CaseInsensitive))
            p.replace(0, 3, QStringLiteral("\\"));
    }
    if (p.size() >= 2 && isAsciiLetter(p[0]) && p[1] == u':') {
        const QString root = driveRoot(prefix, p[0]);
        return paths::resolveUnder(root, cleanParts(QStringView(p).mid(2)).join(u'/'));
    }
    if (p.startsWith(u"\\\\")) {
        // \\server\share\...: Wine looks for it below dosdevices/unc.
        const QString root = prefix + QStringLiteral("/dosdevices/unc");
        return paths::resolveUnder(root, cleanParts(QStringView(p).mid(2)).join(u'/'));
    }
    return {};
}

QString roamingAppDataPath(const QString& prefix)
{
    const auto user = userRegistry(prefix);
    const QString recorded = stringValue(*user, kShellFolders, QStringLiteral("AppData"));
    if (!recorded.isEmpty()) {
        const QString p = toLinuxPath(recorded, prefix);
        if (isFolder(p))
            return p;
    }
    const QString configured = stringValue(*user, kUserShellFolders, QStringLiteral("AppData"));
    if (!configured.isEmpty()) {
        const QString p = toLinuxPath(expandVariables(configured, userEnvironment(prefix)), prefix);
        if (isFolder(p))
            return p;
    }
    const QStringList users = profileFolders(prefix, QStringLiteral("C:\\users"));
    for (const QString& dir : users) {
        const QString p = paths::resolveUnder(dir, u"AppData/Roaming");
        if (isFolder(p))
            return p;
    }
    for (const QString& dir : users) {
        const QString p = paths::resolveUnder(dir, u"Application Data");
        if (isFolder(p))
            return p;
    }
    for (const QString& dir : profileFolders(prefix, QStringLiteral("C:\\windows\\profiles"))) {
        const QString p = paths::resolveUnder(dir, u"Application Data");
        if (isFolder(p))
            return p;
    }
    return {};
}

} // namespace platform::wine
