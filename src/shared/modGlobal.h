#pragma once

#include "platform/FileIo.h"

#include <QString>
#include <QStringList>

#include <optional>

// Small text and list helpers the windows share. None of them keeps state and
// all compare text exactly (letter case included) unless said otherwise.
//
// A list that may be "without storage" (never filled, or emptied) is a
// std::optional<QStringList>: std::nullopt has no storage, an empty list has
// storage but no elements (what splitting an empty text gives). Indexes start
// at 0.
namespace modGlobal {

using StringArray = std::optional<QStringList>;

// Reads a Windows-1252 text file line by line (CRLF, LF or CR ends) into
// `array`, each line passed through StripComment; the array then holds exactly
// one element per line. A missing, hidden (name starting with '.') or empty
// file, or a folder of that name, leaves `array` untouched and is no error.
// A read error leaves `array` untouched too and is returned as a failure.
// Waiting window events run while the file is read. The name is matched
// without regard to letter case.
platform::fileio::Result FileToArray(const QString& fileName, StringArray& array);

// Lets waiting window events other than clicks and keys run, so windows
// repaint and timers fire during long work. The windows repaint what changed
// at most every few tenths of a second of that work, never at its start:
// their paint requests wait meanwhile. While a batch validation runs, which
// lets all events run between its folders, events run at most every few
// milliseconds: painting the windows costs more than validating a folder.
void KeepPainting();

// For the batch: whether events are due again, and that they just ran (or,
// with `reset`, that the next call of KeepPainting runs them at once).
bool EventsDue();
void EventsRan(bool reset = false);

// VB's Trim: the text without leading and trailing blanks (code 32); tabs stay.
QString Trim(const QString& text);

// The text before the first "//", without leading and trailing blanks; the
// whole text trimmed when it holds no "//". Only the blank (code 32) is
// trimmed; tabs stay.
QString StripComment(const QString& text);

// The number of pieces minus one that `text` splits into at `delimiter`
// (left to right, no overlap): 0 for an empty delimiter, -1 for an empty text.
qint32 CountDelimiters(const QString& text, const QString& delimiter);

// The 1-based position of the n-th occurrence of `search` in `text`, where
// overlapping occurrences count; -1 when there are fewer than n, 0 for n = 0.
// Positions are not limited to 16 bits: a match beyond 32767 is reported as is.
int InStrNth(int n, const QString& text, const QString& search);

// Trims blanks from both ends; when `strict`, turns CR LF pairs, tabs and every
// character whose Windows-1252 byte is 0..31 or 127..255 into a blank; then
// folds every run of blanks into one. No second trim is made.
QString CleanText(const QString& text, bool strict);

// The number of ',' characters in the text.
qint32 CountCommas(const QString& text);

// Whether the text reads as a number (VB IsNumeric): blanks around allowed, a
// sign, digits with one '.', an exponent, or a "&H"/"&O" literal.
bool IsNumeric(const QString& text);

// The value in capitals unless it reads as a number: the form IsInArray looks
// values up in.
QString UpperUnlessNumeric(const QString& value);

// Whether `value` equals one whole element of `list`. A non-numeric value is
// first replaced by its capitals in the caller's variable, so it can only match
// elements written in capitals. A list without storage gives false and leaves
// the value as it is.
bool IsInArray(QString& value, const StringArray& list);
// The number form: its decimal text is compared ("3" does not match "13").
bool IsInArray(qint64 value, const StringArray& list);

// As IsInArray, with small letters in place of capitals.
bool IsInArrayLower(QString& value, const StringArray& list);
bool IsInArrayLower(qint64 value, const StringArray& list);

// Whether `search` occurs anywhere in the list's elements joined with "¦",
// wrapped in "¦" and capitalised. `search` itself is used unchanged, so callers
// that want a whole element pass it capitalised and wrapped in "¦".
bool IsInPipeList(const StringArray& list, const QString& search);

// Removes the element at `index`, the later ones moving down. Removing the
// only element leaves the array without storage. An index outside the array,
// or an array without storage, changes nothing.
void RemoveStringArrayItem(StringArray& array, qint32 index);

// True when the array holds storage.
bool IsArrayInitialized(const StringArray& array);
// True when the array's upper bound can be taken (it holds storage).
bool IsArrayAllocated(const StringArray& array);
// The same test as IsArrayAllocated.
bool ArrayHasBounds(const StringArray& array);

} // namespace modGlobal
