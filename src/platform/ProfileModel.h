#pragma once

// The profile engine's inner parts, shared by its source files only: the
// parsed form of a file (lines grouped by section, sections found by name
// through a hash), the edits a write makes to it, and the cache, snapshot and
// batch that decide which parse a call works on.

#include "platform/ProfileEngine.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>

namespace platform::profile::detail {

enum class LineKind : quint8 { Blank, Comment, Header, Key, Text };

// One physical line; positions are units (characters) of Doc::text. Lines
// read from the file lie in its decoded text in file order; lines a write
// made lie after it (Doc::text grows), so a file with many edits is written
// out once, line by line, when it is stored.
struct Line
{
    quint32 start;
    quint32 contentEnd; // where the line end (CR LF, LF or CR) begins
    quint32 next;       // after the line end
    quint32 eq;         // key line: its first '='; header: the end of its name
    LineKind kind;
};

struct Section
{
    QString name;      // trimmed, spelled as in the file, cut at a NUL
    QList<Line> lines; // lines[0] is the header; the lines up to the next header follow
    // Case-folded key name -> index in `lines` of the first key of that name;
    // built on demand for long sections, dropped by every edit of the section.
    mutable std::shared_ptr<const QHash<QString, int>> keyIndex;
};

struct Doc
{
    // Decoding is lossless both ways (every Windows-1252 byte and every
    // UTF-16 unit has a character of its own), so the file's own lines are
    // written back from Doc::text byte for byte and the bytes read are not kept.
    QByteArray oddTail;          // a UTF-16 file's odd last byte, kept as it was
    qsizetype fileUnits = 0;     // units of Doc::text that come from the file
    QString text;                // the file decoded unit by unit, then the text of written lines
    int unitBytes = 1;           // 1 for Windows-1252, 2 for UTF-16LE
    int bomBytes = 0;            // 2 when the file starts with a UTF-16LE byte-order mark
    bool lfOnly = false;         // line ends are LF throughout: new lines get LF too
    QList<Line> preamble;        // lines before the first header
    QList<Section> sections;     // in file order
    QHash<QString, QList<int>> byName; // case-folded name -> its sections, in file order

    QString newline() const { return lfOnly ? QStringLiteral("\n") : QStringLiteral("\r\n"); }
    QStringView view(qsizetype from, qsizetype to) const { return QStringView(text).mid(from, to - from); }
};

// ---- reading (ProfileModel.cpp) ---------------------------------------------

std::shared_ptr<Doc> parse(QByteArray bytes);
// Sets the kind (and '=' or name end) of the line [start, contentEnd) of
// d.text as a read sees it; a header's name goes to *header.
void classify(const QString& text, Line& line, QString* header);

QString fold(QStringView s);
// Rebuilds d.byName from d.sections.
void indexNames(Doc& d);
QStringView keyName(const Doc& d, const Line& l);
QString keyValue(const Doc& d, const Line& l);
// The quote character keyValue took from around the value (null when none).
QChar keyValueQuote(const Doc& d, const Line& l);
// The `occurrence`-th section (counted from 0) of the name, or -1.
int findSection(const Doc& d, const QString& name, int occurrence);
// Index in the section's lines of its first key of the name, or -1.
int findKey(const Doc& d, const Section& s, const QString& key);
// Calls f(line) for every line in file order.
template <typename F> void forEachLine(const Doc& d, F&& f)
{
    for (const Line& l : d.preamble)
        f(l);
    for (const Section& s : d.sections) {
        for (const Line& l : s.lines)
            f(l);
    }
}

// The file's bytes for the document: lines read from the file come out byte
// for byte as they were read, written lines encoded the way the file is.
QByteArray serialize(const Doc& d);
QByteArray encodeFor(const Doc* d, QStringView s, bool* lossy);
// The byte-order mark the file started with (empty without one).
QByteArray bom(const Doc& d);

// ---- editing (ProfileEdit.cpp) ---------------------------------------------
// Each edit checks everything first and changes the document only when it can
// be carried out; `error` says why not.

bool setValue(Doc& d, int section, const QString& key, const QString& value, QString* error);
void deleteKey(Doc& d, int section, const QString& key);
void deleteSection(Doc& d, int section);
bool addSection(Doc& d, const QString& name, const QString& key, const QString& value, QString* error);

// ---- cache, snapshot and batch (ProfileStore.cpp) ---------------------------

// The parsed file as the next read sees it, or null when the file is missing
// or cannot be read; `resolved` gets the file the path names.
std::shared_ptr<const Doc> load(const QString& path, QString* resolved = nullptr);
// A document the caller may edit for a write to `file`: the open batch's
// pending document itself, or a copy of `loaded`.
std::shared_ptr<Doc> editable(const QString& file, const std::shared_ptr<const Doc>& loaded);
// Stores an edited document: into the open batch of the file, or written out
// at once.
WriteResult storeDoc(const QString& file, std::shared_ptr<Doc> doc);
// Stores a whole new content.
WriteResult storeBytes(const QString& file, const QByteArray& bytes);

inline WriteResult failure(const QString& why) { return WriteResult{false, why}; }

} // namespace platform::profile::detail
