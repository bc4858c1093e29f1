#pragma once

#include "editing/AircraftCfg.h"
#include "platform/ProfileEngine.h"

#include <QList>
#include <QString>
#include <QStringList>

// The commands that rewrite many lines of aircraft.cfg at once: deleting and
// renumbering entries, sorting the keys of every entry and removing keys from
// every entry. Each reads the file's lines once, builds the whole new text and
// stores it with one write, so a command lands whole or not at all. Entries
// are addressed by their position among the [fltsim.N] sections, as the grid
// rows are: two sections of the same name stay two entries. Lines a command
// has no business with stay byte for byte, line ends included.
namespace SectionOps {

using Lines = QList<platform::profile::FileLine>;

// ---- pure line work ---------------------------------------------------------

// Whether a line is the header of an entry section ([fltsim.N], as the grid
// counts them).
bool isEntryHeader(const platform::profile::FileLine& line);

// The entry sections in file order, counted as the grid rows are.
QList<AircraftCfg::EntryRef> entries(const Lines& lines);

// The names of the key lines inside entry sections, in file order (a name
// that stands in several sections stands as often).
QStringList entryKeyNames(const Lines& lines);

// Removes the entry sections at `positions` (counted from 0 among the entry
// sections): their header and key lines go; comment, blank and other lines
// stay where they stand.
Lines deleteEntries(const Lines& lines, const QList<int>& positions);

// Gives every entry header the whole line "[fltsim.N]", N counting the entry
// headers from 0; the line keeps its line end, every other line stays as it is.
Lines renumberEntries(const Lines& lines);

// In-place shell sort with halving gaps of a table of rows, on the cells of
// `column`, ascending by character codes. A pass is repeated while it swaps.
void SortArray(QList<QStringList>& table, int column);

struct KeyWrite
{
    QString key;
    QString value;
};

// The writes that lay out one entry's keys from its key table (rows of lower-
// case key name and value, already sorted): title, model, sim and texture
// first (an empty model, sim or texture is written as one blank), then every
// other key in table order. A key named "$$$" or "" is not written again.
QList<KeyWrite> sortedKeyWrites(QList<QStringList> table);

// Rewrites the keys of every entry section in sorted order, every key name in
// lower case; each key keeps its value text (valueText). A key that stands
// twice keeps its first value, once. Comment, blank and other lines of a
// section follow its keys; sections without keys and all other sections stay
// as they are.
Lines sortEntryKeys(const Lines& lines, const QString& newline);

// Deletes, in every entry section, the first line of each of `keys` (letter
// case ignored). `deletions` counts one for each key in each entry section,
// whether or not the section held it.
Lines removeKeys(const Lines& lines, const QStringList& keys, int* deletions);

// The value text a key line holds: the value a read returns, or, when the read
// took a pair of quotes away, the value with those quotes. A key that is only
// moved or left as it was keeps this text.
QString valueText(const platform::profile::FileLine& line);

// The lines joined back into the file's text.
QString joinLines(const Lines& lines);

// ---- commands on a file -------------------------------------------------------

// A grid row that a command is to drop: its position and its text, which must
// still name the entry at that position in the file.
struct EntryRef
{
    int position = 0;
    QString rowText;
};

// What a command would write.
struct Rewrite
{
    bool ok = true;       // false: the file could not be read, or no longer matches the grid
    QString file;         // the file the command works on
    QString error;        // why not
    bool changed = false; // the new text differs from the file's
    QString text;         // the new text
    int deletions = 0;    // removeKeysIn: the deletions counted
};

// Drops the given entries and renumbers the rest.
Rewrite planRenumber(const QString& cfgPath, const QList<EntryRef>& drop = {});
// Sorts the keys of every entry.
Rewrite planSortKeys(const QString& cfgPath);
// Removes the keys (trimmed, letter case ignored) from every entry.
Rewrite planRemoveKeys(const QString& cfgPath, const QStringList& keys);

// Writes a planned rewrite in one go; a plan that changes nothing writes nothing.
platform::profile::WriteResult apply(const Rewrite& plan);


// Why the entries of the file no longer stand where the grid shows them (a
// different number of entries, or another section at a row's place); empty
// when they still do. Commands that address entries by grid row check it
// before they write.
QString gridMismatch(const QString& cfgPath, const QStringList& rowTexts);

} // namespace SectionOps
