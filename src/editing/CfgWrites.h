#pragma once

#include "editing/AircraftCfg.h"
#include "shared/clsIniFile.h"

#include <QList>
#include <QString>

// Several keys of aircraft.cfg written as one change: a command that touches
// many entries either lands whole or leaves the file as it was.
namespace CfgWrites {

struct KeyWrite
{
    QString section;
    QString key;
    QString value; // written as it stands; an empty text leaves "key=" with nothing after it
    int occurrence = 0; // which copy of a section name that stands more than once (0: the first)
};

struct Outcome
{
    bool ok = true;
    QString file;  // the file that could not be written
    QString error; // why
};

// Writes every key through `ini` into its file, in order, and replaces the
// file once at the end. On any refusal nothing is written and the outcome
// names the file and the reason.
Outcome writeAll(clsIniFile& ini, const QList<KeyWrite>& writes);

// The entry section of grid row `row` (counted from 0) as the file holds it
// now; `rowText` (copy 0) when the file has no such row.
AircraftCfg::EntryRef entryOfRow(clsIniFile& ini, int row, const QString& rowText);

// What the user is told when a command's change could not be written.
QString unwrittenMessage(const QString& file, const QString& error);

} // namespace CfgWrites
