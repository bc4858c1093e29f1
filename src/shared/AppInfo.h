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

// The maker's web addresses. To be configured before release: they point at
// the reserved ".example" domain so that nothing is fetched from a stranger's
// server until the real addresses are filled in. The version file holds three
// lines ending with CR LF: anything, the current version ("2.1.0") and the
// address of the download page.
inline constexpr const char* kVersionFileUrl = "https://www.brackenhold.example/fernquill/live/version.txt";
inline constexpr const char* kMakerWebSite = "https://www.brackenhold.example/fernquill/";

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
