#pragma once

#include "platform/FileIo.h"
#include "validation/FolderValidation.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// zibcheck.log: the result of one folder validation as the user reads it.
// Windows-1252 text, CR LF after every line, 35-character labels, the options
// switching blocks on and off. Pure text work apart from writeReport().
namespace ValidationReport {

inline constexpr int kLabelWidth = 35;

struct Report
{
    QByteArray bytes;          // the file's exact content
    bool reportErrors = false; // a finding was printed (the caller's gbReportErrors)
};

// The report of a successful run. `date` and `time` are the texts the header
// shows (the caller's clock in the system's short formats, see nowTexts()).
Report build(const FolderValidation::Result& result, const QString& date, const QString& time);

// The same as lines, without line ends, before encoding.
QStringList buildLines(const FolderValidation::Result& result, const QString& date, const QString& time,
                       bool* reportErrors = nullptr);

// The header line: program version, date, time and the aircraft folder.
QString headerText(const QString& aircraftFolder, const QString& date, const QString& time);

// The separator: "-:" repeated half the header's length times, halves rounded
// to the even number.
QString separatorLine(qsizetype headerLength);

// A label padded with blanks to 35 characters.
QString label(const QString& text);

struct DateTimeTexts
{
    QString date;
    QString time;
};

// A moment in the system's short date and time formats.
DateTimeTexts nowTexts(const QDateTime& moment = QDateTime::currentDateTime());

// The report's name in the temporary folder.
inline const QString kFileName = QStringLiteral("zibcheck.log");

// Writes the report file as a new file renamed over the name: atomic, and
// never through a link that stands there (platform::fileio::writeNew). A
// report, which each run writes anew, need not be forced to the disk
// (`durable` false).
platform::fileio::Result writeReport(const QString& path, const QByteArray& bytes, bool durable = true);

// Why a folder has no report when its file could not be written ("... in folder ").
QString unwrittenSkipMessage(const QString& error);

} // namespace ValidationReport
