#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QString>

#include <optional>

// The rules of the update check: the calendar week that starts an automatic
// check, the version file the maker publishes, the comparison of versions and
// the texts the update window shows.
namespace updatecheck {

// The week of the year, weeks starting on Sunday and the week that holds
// 1 January counting as week 1: 1 to 54.
int weekOfYear(const QDate& date);

// The stored "LastCheck" as a week number; empty when it is not a whole
// number from -32768 to 32767.
std::optional<int> storedWeek(const QString& text);

// Whether an automatic check is due this week: the stored week differs from
// `week`. A stored value that is no number counts as a different week, so the
// check runs and the value is replaced. Only the week is compared, not the
// year: week 10 of next year after a check in week 10 of this year is no
// new week.
bool checkDue(const QString& lastCheck, int week);

// The version file: line 1 is not used, line 2 holds the version on the web
// site, line 3 the address of the download page; further lines are ignored.
struct VersionFile
{
    QString webVersion;
    QString downloadAddress;
    int lineCount = 0; // lines present, up to 3
};

// Reads a version file (Windows-1252). Lines end with CR LF; a lone CR or LF
// ends a line too. Blanks around lines 2 and 3 are dropped.
VersionFile parseVersionFile(QByteArrayView bytes);

// The numeric value of a version part: its leading digits after any leading
// blanks, 0 when there are none. Very long digit runs stop growing at
// 999,999,999.
qint64 numericValue(QStringView part);

enum class Comparison
{
    Newer,      // the web site has a later version
    Same,       // the program is up to date
    Ahead,      // the program's version is later than the web site's
    Unreadable, // the version file holds no comparable version
};

// Compares the web version with the program's, part by part (major, minor,
// revision). A web version of fewer than three parts is Unreadable.
Comparison compareVersions(const QString& webVersion, const QString& currentVersion);

// The result of a downloaded version file: Unreadable also when the file has
// fewer than three lines.
Comparison resultOf(const VersionFile& file, const QString& currentVersion);

// The window's texts.
QString progressText(qint64 bytesRead, qint64 bytesTotal);
QString versionsText(const QString& currentVersion, const QString& webVersion);
QString resultText(Comparison result);
QString connectionErrorText();

// Whether an address is one the update check may use: an http or https URL
// with a host.
bool isWebAddress(const QString& address);

// What Update opens: the download address when it is a web address, else
// `fallback` (the maker's web site), so an odd line in the version file can
// never start a local program or open a local file.
QString addressToOpen(const QString& downloadAddress, const QString& fallback);

// The folder the version file is saved in while it is read: `tempVariable`
// (the TEMP environment variable), or `privateFolder` (the program's own
// temporary folder; an installed program's folder is not writable) when that
// is empty; ending with '/'. Empty when both are.
QString temporaryFolder(const QString& tempVariable, const QString& privateFolder);

// The name the version file is saved under in the temporary folder.
inline constexpr const char* kVersionFileName = "_vclu.txt";

// The largest version file accepted; a larger answer is no version file.
inline constexpr qint64 kMaxVersionFileBytes = 64 * 1024;

} // namespace updatecheck
