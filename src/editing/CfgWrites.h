#pragma once

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

// What the user is told when a command's change could not be written.
QString unwrittenMessage(const QString& file, const QString& error);

} // namespace CfgWrites
