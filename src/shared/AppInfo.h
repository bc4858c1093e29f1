#pragma once

#include <QString>

// The program's own version, as the caption, the reports and the update check
// show it.
namespace appinfo {

inline constexpr int kMajor = FQ_VERSION_MAJOR;
inline constexpr int kMinor = FQ_VERSION_MINOR;
inline constexpr int kRevision = FQ_VERSION_REVISION;

// "major.minor.revision", for example 1.0.0.
inline QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(kMajor).arg(kMinor).arg(kRevision);
}

// The maker's web addresses, set when the program is built (the CMake cache
// variables FQ_UPDATE_VERSION_URL and FQ_UPDATE_DOWNLOAD_URL). The version
// file holds three lines ending with CR LF: anything, the current version
// ("2.1.0") and the address of the download page. The download page is also
// the maker's web site of the Help menu.
QString versionFileUrl();
QString downloadPageUrl();
// Whether this build can check for updates: both addresses are set.
bool updateAddressesSet();
// For tests only: replaces the built-in addresses for the rest of the run.
void setUpdateAddressesForTests(const QString& versionFile, const QString& downloadPage);

// The name of the program's desktop entry, without ".desktop".
QString desktopId();

// The folder the installed data files (parkingspecs.mdb, the manual) lie in:
// share/fernquill beside the bin folder of the program. A program run from
// its build folder finds them beside itself instead.
QString installedDataFolder();

// The maker's notice in the About window.
inline QString makerNotice()
{
    return QStringLiteral("\u00A9 Brackenhold Tools. All rights reserved.");
}

// The fixed notice at the end of the main window's caption.
inline QString captionNotice()
{
    return QStringLiteral("AI aircraft.cfg editor for FS9 and FSX");
}

} // namespace appinfo
