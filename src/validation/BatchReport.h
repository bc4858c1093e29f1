#pragma once

#include "platform/FileIo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// zibcheckall.log: the reports of a batch validation, one folder after the
// other, below a header naming the root. Windows-1252 text with CR LF line
// ends; a folder's zibcheck.log goes in byte for byte.
namespace BatchReport {

inline const QString kFileName = QStringLiteral("zibcheckall.log");

enum class Mode
{
    AllAircraft, // every folder's report
    ErrorsOnly,  // only reports that hold a finding
};

// "Fernquill V.x.y.z - <date> <time> - Validate all aircraft below folder : "<root>" (full report) *"
// ("(error report)" in ErrorsOnly mode).
QString headerText(const QString& root, Mode mode, const QString& date, const QString& time);

// A line framed by two lines of as many "*" as it has characters.
QStringList framed(const QString& line);

// The block of a folder whose validation stopped early: the reason, the
// folder's path and " *", framed by star lines.
QStringList skipBlock(const QString& skipMessage, const QString& folder);

// What the validation of one folder left behind.
struct FolderOutcome
{
    QString folder;      // full path
    QString skipMessage; // why it stopped early; empty when it did not
    bool reportWritten = false;
    QByteArray report;         // that run's zibcheck.log
    bool reportErrors = false; // the report holds a finding
};

// What one folder adds: its skip block, else its report (in ErrorsOnly mode
// only when it holds a finding), else nothing.
QByteArray blockFor(Mode mode, const FolderOutcome& outcome);

// The whole file: the header, then every folder's block in order.
QByteArray combine(const QString& root, Mode mode, const QString& date, const QString& time,
                   const QList<FolderOutcome>& outcomes);

// The folders directly below `root` as full paths, in the order a Windows
// listing gives them. Empty when root is no readable folder.
QStringList foldersBelow(const QString& root);

// Deletes a "zibcheck.log" (any letter case) lying in `folder`. True when one was removed.
bool removeFolderLog(const QString& folder);

// Writes the file atomically, so a failed write leaves the earlier one whole,
// and never through a link that stands at its name.
platform::fileio::Result write(const QString& path, const QByteArray& bytes);

} // namespace BatchReport
