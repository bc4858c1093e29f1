#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A throw-away Wine prefix for a test: registry files, the C: drive link,
// optional FS9/FSX installations with their airlines.cfg, and fsx.cfg. The
// prefix becomes $WINEPREFIX while the object lives.
namespace testutil {

struct PrefixSpec
{
    bool win64 = true;
    bool fs9 = false;
    bool fsx = false;
    bool fs9Airlines = true;
    bool fsxAirlines = true;
    // Lines of fsx.cfg's [Main] section; no fsx.cfg when empty.
    QStringList fsxCfgMain;
    // Registry values pointing at folders that do not exist.
    bool fs9Dangling = false;
    bool fsxDangling = false;
};

class FakePrefix
{
public:
    explicit FakePrefix(const PrefixSpec& spec);
    ~FakePrefix();
    FakePrefix(const FakePrefix&) = delete;
    FakePrefix& operator=(const FakePrefix&) = delete;

    QString path() const { return m_dir.path(); }
    QString driveC() const { return m_dir.path() + "/drive_c"; }
    QString fs9Root() const;  // Linux path of the FS9 folder
    QString fsxRoot() const;  // Linux path of the FSX folder
    QString appData() const;  // roaming AppData

private:
    QTemporaryDir m_dir;
    QByteArray m_oldPrefix;
    bool m_hadPrefix = false;
};

// The text of a Wine registry file whose keys are relative to `root`
// ("\\\\Machine" for system.reg): the header, then `rest`.
QByteArray registryFile(const QByteArray& root, const QByteArray& rest);

// A prefix with the simulators asked for and nothing else out of the ordinary.
PrefixSpec simulatorSpec(bool fs9, bool fsx, bool win64 = true);

} // namespace testutil
