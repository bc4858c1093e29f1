#pragma once

#include "platform/WineRegistry.h"

#include <QString>

#include <memory>

// The Wine prefix the simulators live in: where it is, what its registry says,
// and how a Windows path inside it becomes a Linux path.
namespace platform::wine {

// The prefix folder: $WINEPREFIX (made absolute, trailing '/' removed), else
// $HOME/.wine.
QString prefixPath();

// The prefix's HKEY_LOCAL_MACHINE (system.reg) and HKEY_CURRENT_USER
// (user.reg), parsed; empty registries when the files are missing.
std::shared_ptr<const WineRegistry> machineRegistry(const QString& prefix = prefixPath());
std::shared_ptr<const WineRegistry> userRegistry(const QString& prefix = prefixPath());

// Whether the prefix is a 64-bit one ("#arch=win64" in system.reg).
bool isWin64(const QString& prefix = prefixPath());

// Maps a Windows path ("C:\Program Files\...", also "\\?\C:\..." and
// "\??\C:\...", '/' accepted as separator) to the Linux path Wine uses: the
// drive through <prefix>/dosdevices/<letter>:, every further part matched
// without regard to case. "." and ".." are applied as Windows does (never above
// the drive's root). A UNC path maps below dosdevices/unc. A missing drive or a
// dangling drive link gives a path below dosdevices that does not exist; a
// relative or empty path gives empty text.
QString toLinuxPath(QStringView windowsPath, const QString& prefix = prefixPath());

// The user's roaming application-data folder as a Linux path, looked up in
// this order: "AppData" of the Shell Folders key in user.reg; "AppData" of the
// User Shell Folders key with %USERPROFILE% (and other variables of the
// Volatile Environment) expanded; drive_c/users/*/AppData/Roaming; then
// drive_c/users/*/Application Data and drive_c/windows/profiles/*/Application
// Data. The first candidate that exists as a folder wins; empty when none does.
QString roamingAppDataPath(const QString& prefix = prefixPath());

} // namespace platform::wine
