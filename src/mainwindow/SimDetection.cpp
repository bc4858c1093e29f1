#include "mainwindow/SimDetection.h"

#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "platform/WinePrefix.h"
#include "shared/clsIniFile.h"
#include "shared/modSystem.h"

namespace SimDetection {

namespace {

using platform::paths::folderExists;
using platform::paths::resolveUnder;

void readAirlines(Simulator& sim, const QString& path)
{
    sim.airlinesPath = path;
    QByteArray bytes;
    if (platform::paths::regularFileExists(path) && platform::fileio::readAll(path, &bytes)) {
        sim.airlines = modSystem::ReadAirlineLines(bytes);
        sim.airlinesFound = true;
    }
}

// The FSX folders that fsx.cfg lists under [Main] in keys named
// "SimObjectPaths.N"; a folder listed twice (in any spelling) is listed once.
void readFsxCfg(Result& r)
{
    clsIniFile ini;
    ini.setPath(r.fsxCfgPath);
    ini.setSection(QStringLiteral("Main"));
    QStringList keys;
    qint32 count = 0;
    ini.EnumerateCurrentSection(keys, count);
    r.simFolderItems.clear();
    r.simFolders.clear();
    for (const QString& key : keys) {
        if (!key.toLower().contains(u"simobjectpaths"))
            continue;
        ini.setKey(key);
        const QString stored = ini.Value();
        const QString v = stored.toLower();
        const QString folder = (v.size() >= 2 && v[1] == u':')
                                   ? platform::wine::toLinuxPath(stored)
                                   : resolveUnder(r.fsx.root, v);
        if (folder.isEmpty() || !folderExists(folder))
            continue;
        bool listed = false;
        for (const QString& f : std::as_const(r.simFolders))
            listed = listed || platform::paths::sameName(f, folder);
        if (listed)
            continue;
        r.simFolderItems.append(stored);
        r.simFolders.append(folder);
    }
}

} // namespace

QString registryPrefix(bool is64Bit)
{
    return is64Bit ? QStringLiteral("SOFTWARE\\Wow6432Node\\Microsoft\\") : QStringLiteral("SOFTWARE\\Microsoft\\");
}

QString installFolder(const QString& keyPath, const QString& valueName)
{
    QString v = modSystem::QueryRegString(keyPath, valueName).trimmed();
    if (v.endsWith(u'\\'))
        v.chop(1);
    if (v.isEmpty())
        return {};
    return platform::wine::toLinuxPath(v);
}

Result detect(const QString& regPrefix)
{
    Result r;

    r.fsx.root = installFolder(regPrefix + QStringLiteral("Microsoft Games\\Flight Simulator\\10.0"),
                               QStringLiteral("SetupPath"));
    r.fsx.found = !r.fsx.root.isEmpty() && folderExists(r.fsx.root);
    if (r.fsx.found) {
        readAirlines(r.fsx, resolveUnder(r.fsx.root, u"airlines.cfg"));
        r.fsx.aircraftPath = resolveUnder(r.fsx.root, u"SimObjects");
        r.fsx.effectsPath = resolveUnder(r.fsx.root, u"Effects");

        // Folders below SimObjects whose names have no extension.
        for (const QString& name : platform::paths::matchEntries(r.fsx.aircraftPath, u"*.",
                                                                 platform::paths::EntryKind::Dirs)) {
            r.simFolderItems.append(name);
            r.simFolders.append(platform::paths::join(r.fsx.aircraftPath, name));
        }

        const QString appData = modSystem::GetSpecialFolderPath(modSystem::kCsidlAppData);
        if (!appData.isEmpty()) {
            r.fsxCfgPath = resolveUnder(appData, u"Microsoft\\FSX\\fsx.cfg");
            r.fsxCfgFound = platform::paths::regularFileExists(r.fsxCfgPath);
            if (r.fsxCfgFound)
                readFsxCfg(r);
        }
        // fsx.cfg may have replaced the listing by fewer folders, or by none.
        r.simFolderListEnabled = !r.simFolderItems.isEmpty();
    }

    r.fs9.root = installFolder(regPrefix + QStringLiteral("Microsoft Games\\Flight Simulator\\9.0"),
                               QStringLiteral("EXE Path"));
    r.fs9.found = !r.fs9.root.isEmpty() && folderExists(r.fs9.root);
    if (r.fs9.found) {
        r.fs9.aircraftPath = resolveUnder(r.fs9.root, u"Aircraft");
        r.fs9.effectsPath = resolveUnder(r.fs9.root, u"Effects");
        readAirlines(r.fs9, resolveUnder(r.fs9.aircraftPath, u"airlines.cfg"));
    }
    return r;
}

} // namespace SimDetection
