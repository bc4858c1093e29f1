#pragma once

#include <QString>
#include <QStringList>

// Finding FSX and FS9 in the Wine prefix at start-up: their installation
// folders from the registry, their airlines.cfg lines, their aircraft and
// effects folders, and the FSX simulation-object folders (from the disk and
// from fsx.cfg). All paths are Linux paths.
namespace SimDetection {

struct Simulator
{
    bool found = false;        // the registry names a folder that exists
    QString root;              // installation folder
    QString aircraftPath;      // FS9: root/Aircraft; FSX: root/SimObjects
    QString effectsPath;       // root/Effects
    QString airlinesPath;      // the airlines.cfg (FS9: in Aircraft; FSX: in the root)
    bool airlinesFound = false;
    QStringList airlines;      // its lines, split at CR LF
};

struct Result
{
    Simulator fsx;
    Simulator fs9;
    // The simulation-object folder list: what the list shows and the folder
    // behind each row (same index).
    QStringList simFolderItems;
    QStringList simFolders;
    bool simFolderListEnabled = false;
    QString fsxCfgPath; // where fsx.cfg is looked for
    bool fsxCfgFound = false;
};

// The registry key prefix of the simulators: below "Wow6432Node" in a 64-bit
// prefix, as the 32-bit simulators see the registry there.
QString registryPrefix(bool is64Bit);

// Reads the registry value (trimmed, one trailing '\' removed) and maps it to
// a Linux path; empty when the value is empty or cannot be mapped.
QString installFolder(const QString& keyPath, const QString& valueName);

// Detects both simulators in the current Wine prefix.
Result detect(const QString& regPrefix);

} // namespace SimDetection
