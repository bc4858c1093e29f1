#pragma once

#include <QString>
#include <QStringView>

// Text rules of the internal text editor, free of widgets: the line ends a
// file keeps when it is saved again, the case-blind search and the captions of
// the recent-file menu items.
namespace editortext {

// How the lines of a file end on disk.
enum class LineEnd
{
    CrLf,
    Lf,
    Cr
};

// The line end a file's text uses most (CR LF wins a tie, then LF); CR LF for
// text without any line end, as a new Windows file gets.
LineEnd detectLineEnd(QStringView fileText);

// The text with every CR LF, lone CR and lone LF turned into one LF, the form
// the editor holds lines in.
QString toEditorText(QStringView fileText);

// The editor's LF-separated text with `lineEnd` between its lines.
QString withLineEnds(QStringView editorText, LineEnd lineEnd);

// The editor's LF-separated text with the line ends of the file it was
// loaded from (`fileText`, as decoded): a line the edit left alone keeps its
// own end, a changed line the end of the line it replaces, and a new line
// `newLines`. A last line without an end stays without one.
QString withOwnLineEnds(QStringView fileText, QStringView editorText, LineEnd newLines);

// Index of the first character Windows-1252 cannot store; -1 when all can.
qsizetype firstUnencodable(QStringView text);

// Index of the first occurrence of `what` at or after `from` (0-based), letter
// case ignored; -1 when there is none or `what` is empty. A negative `from`
// searches from the first character.
qsizetype findText(QStringView text, QStringView what, qsizetype from);

// Where "Find Again" searches from (0-based): the last character of the
// current selection, so a hit may overlap the previous one; the first
// character when nothing is selected at the very start of the text.
qsizetype findAgainStart(qsizetype selectionStart, qsizetype selectionLength);

// The caption of recent-file item `number` (1..4): "&1 /path/file.txt".
QString mruCaption(int number, QStringView path);

// The file path of a recent-file caption: the caption from its fourth
// character on.
QString mruPath(QStringView caption);

// The caption an item takes when it moves down to position `number`: the new
// prefix followed by everything after the old caption's first blank.
QString mruMovedCaption(int number, QStringView caption);

} // namespace editortext
