#pragma once

#include "platform/FileIo.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The rules of aircraft.cfg as the program reads and writes it: how sections
// are recognised, how each value is cleaned on reading, the value syntax of
// exits and effects and the texts the writers put into the file. Everything
// here is pure text work except the one-time backup copy.
namespace AircraftCfg {

// ---- Sections -------------------------------------------------------------

enum class SectionKind
{
    Entry,   // [fltsim.N], one grid row each
    Effects, // name starting with "effects"
    General, // exactly "general"
    Other,
};

// Entry section: the first 7 characters, lower-cased, are "fltsim.".
bool isEntrySection(QStringView name);
// Effects section: the first 7 characters, lower-cased, are "effects".
bool isEffectsSection(QStringView name);
// General section: the whole name, lower-cased, is "general".
bool isGeneralSection(QStringView name);
// Kind of a section name. A general section is also read for the keys of
// other sections (wing_span, exits).
SectionKind sectionKind(QStringView name);

// ---- Entry keys -----------------------------------------------------------

enum class ReadRule
{
    Stripped,      // comment stripped
    StrippedUpper, // comment stripped, capitals
    FileFolder,    // comment stripped, '/' turned into '\', empty shown as "<default>"
    Raw,           // the value as it stands
};

struct EntryKey
{
    const char* key;     // lower-case key name
    int column;          // grid column counted from 1 (1 is the section name); 0 for none
    ReadRule rule;
};

inline constexpr int kEntryKeyCount = 17;

// The entry keys in grid-column order (description last: it has no column).
const std::array<EntryKey, kEntryKeyCount>& entryKeys();

// Index into entryKeys() of a key name as the file spells it (letter case
// ignored), or -1 for a key the grid does not show.
int entryKeyIndex(QStringView keyName);

// The text shown for the value of the entry key `index` (see entryKeys()).
// An index outside the table gives the comment-stripped value.
QString readEntryValue(int index, const QString& value);

// The text a file key (model, texture) shows: comment stripped, every '/'
// turned into '\', "<default>" when nothing is left.
QString fileFolderText(const QString& value);
// The value written for a picked file folder: "<default>" becomes one blank.
QString fileFolderWriteText(const QString& shown);

// VB Val: the number at the start of the text. Blanks, tabs and line feeds are
// skipped wherever they stand; a sign, digits with '.' as decimal point and an
// exponent (E or D) are read, or a "&H"/"&O" literal. 0 when there is none.
double leadingNumber(QStringView text);

// Whether atc_heavy ticks its box: the number at the start of the text is 1.
bool atcHeavyTicked(const QString& value);
// The atc_heavy value written for the box.
QString atcHeavyWriteText(bool ticked);

// ---- Wing span ------------------------------------------------------------

// The text written for wing_span: every ',' turned into '.'.
QString wingSpanWriteText(const QString& typed);

// ---- Exits ----------------------------------------------------------------

inline constexpr int kExitCount = 3;
inline constexpr int kExitBoxCount = 5;
using ExitBoxes = std::array<QString, kExitBoxCount>;

struct ExitValue
{
    ExitBoxes boxes;       // boxes 0..4; empty where the value has no part
    QString comment;       // from the first "//" to the end, "//" included
    bool allParts = false; // the value gave five parts (jetways possible)
    int parts = 0;         // how many of the five boxes the value gave (an empty part counts)
};

// 0, 1 or 2 for the keys exit.0, exit.1, exit.2 (letter case ignored), else -1.
int exitIndex(QStringView keyName);

// Splits an exit value into its five boxes and its comment. The boxes come
// from the text before the comment, split at every ','; each part is trimmed
// of blanks and tabs and cut before the first blank left inside; parts beyond
// the fifth are ignored, missing ones leave their boxes empty.
ExitValue parseExit(const QString& value);

// True when all five boxes hold text: only then is the exit written.
bool exitComplete(const ExitBoxes& boxes);

// The value written for an exit: a blank, the boxes joined by ", " (',' inside
// a box turned into '.'), 12 blanks, then the exit's own comment.
QString exitWriteText(const ExitBoxes& boxes, const QString& comment);

// ---- Effects --------------------------------------------------------------

struct EffectSlot
{
    const char* key;         // key in the "effects" section
    const char* defaultFile; // file name without ".fx"
    bool defaultOnce;        // the default runs only once
};

inline constexpr int kEffectSlotCount = 11;

// The effect slots in slot order.
const std::array<EffectSlot, kEffectSlotCount>& effectSlots();

// Slot of an effect key (letter case ignored), or -1.
int effectSlotIndex(QStringView keyName);

struct EffectValue
{
    QString file; // raw text before the first ',' (the whole value without one)
    bool once = false;
};

// Reads an effect value: file part as it stands, "once" when the value
// without blanks holds ",1".
EffectValue parseEffect(const QString& value);

// The value written for an effect slot: the file, plus ",1" when once.
QString effectWriteText(const QString& file, bool once);

// ---- Rows and sections ----------------------------------------------------

// One entry section as the file holds it: its name and which copy of that
// name it is (0 for the first, the one the profile functions find). Packs are
// published with a section name twice; every copy is an entry of its own.
struct EntryRef
{
    QString section;
    int occurrence = 0;
    int sectionIndex = 0; // its place among all the section names
};

// The entry sections among all section names, in file order: grid row r
// (counted from 0) stands for element r. Copies of a name are counted without
// regard to letter case, as the profile functions match names.
QList<EntryRef> entryRefs(const QStringList& sectionNames);

// The entry at grid row `row` (counted from 0), if there is such a row.
std::optional<EntryRef> entryAt(const QStringList& sectionNames, int row);

// The text a grid row shows for its section: capitals, comment stripped.
QString rowText(const QString& sectionName);

// ---- Backup copy ----------------------------------------------------------

// The backup's path: the file's path without its last four characters,
// followed by ".zib" (aircraft.cfg -> aircraft.zib).
QString backupPathFor(const QString& cfgPath);

// Copies the file to its backup unless a backup exists already (found without
// regard to letter case); an existing backup is never touched. Only a regular
// file counts as a backup: anything else at the name (a link, even a dangling
// one, or a folder) is a failure naming it, as is a copy that cannot be made.
// `created` tells whether this call made the copy.
platform::fileio::Result makeBackupOnce(const QString& cfgPath, bool* created = nullptr);

} // namespace AircraftCfg
