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

// The fixed notice at the end of the main window's caption.
inline QString captionNotice()
{
    return QStringLiteral("AI aircraft.cfg editor for FS9 and FSX");
}

} // namespace appinfo
