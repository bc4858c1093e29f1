#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Our own implementation of the Windows profile functions
// (GetPrivateProfileStringA / WritePrivateProfileStringA) for the sectioned
// text files the simulators use. It keeps Windows' reading rules (first '=',
// trimmed names and values, one pair of quotes removed, first section and
// first key of a name win, ';' comment lines) and its writing rules (a changed
// line keeps its place and the bytes up to its '=', new keys go after the
// section's last key, new sections at the end). Every line the call does not
// target stays byte for byte, line ends included.
//
// Files are Windows-1252; a file that starts with a UTF-16LE byte-order mark
// is read and written as UTF-16LE. A UTF-8 byte-order mark is not special (as
// on Windows: its bytes belong to the first line).
//
// Reads see every write, including writes by other programs: parsed files are
// cached by path, device, inode, size and nanosecond modification time.
namespace platform::profile {

// Size of the caller's buffer in characters, as the Windows calls take it.
struct Buffer
{
    int size;
};

// Reads a value (section and key given), the key names of a section (key
// null) or the section names of the file (section null). Lists are returned as
// the Windows call fills its buffer: every name followed by a NUL; a list that
// does not fit is cut, its last name cut short and followed by two NULs. A
// value longer than the buffer is cut to size - 1 characters. The returned
// text has exactly the length the Windows call returns as its count. A missing
// file, section or key gives `defaultValue` (cut like a value).
//
// `occurrence` picks among sections that share a name: 0 is the first one,
// the only one Windows searches; 1 the second, and so on. A file may hold a
// section name twice, and each copy can be read and written this way.
QString getString(const QString& section, const QString& key, const QString& defaultValue, Buffer buffer,
                  const QString& path, int occurrence = 0);

struct WriteResult
{
    bool ok = true;
    QString error;
    explicit operator bool() const { return ok; }
};

// Writes a value (all three given), deletes a key (value null) or deletes a
// section (key null). Creates the section at the end of the file and the file
// itself when they are missing (but never a missing folder). A refused write
// (read-only file, missing folder, full disk, a value the file's code page
// cannot hold, a line break inside a name or value) changes nothing and is
// reported. The file is replaced atomically. With an `occurrence` above 0 the
// section is never created: a write to a copy that is not there is refused.
WriteResult writeString(const QString& section, const QString& key, const QString& value, const QString& path,
                        int occurrence = 0);

// The same lists as whole lists (no buffer to cut them): the section names
// of the file, and the key names of a section, each with the value a read of
// that key returns (cut to `valueBuffer` - 1 characters). One look-up for a
// command that reads every key of every section.
QStringList sectionNames(const QString& path);
QList<QPair<QString, QString>> sectionKeys(const QString& section, Buffer valueBuffer, const QString& path,
                                           int occurrence = 0);

// A section or key name as a caller passes it, the way the Windows calls take
// it: only blanks are trimmed from its ends (tabs stay).
QString callerName(const QString& name);

// Drops every cached parse (tests use it; the cache is otherwise invisible).
void clearCache();

// ---- whole-file rewrites --------------------------------------------------
// A command that changes many lines (sorting or deleting keys in every entry)
// reads the lines once here, builds the new text and stores it with one
// replaceText.

// One line of a profile file as the reads classify it.
struct FileLine
{
    enum class Kind { Blank, Comment, Header, Key, Text };
    Kind kind = Kind::Text;
    QString text;  // the line without its line end
    QString end;   // "\r\n", "\n", "\r", or empty for a last line without one
    QString name;  // Header: the section name; Key: the key name, as reads and lists give them
    QString value; // Key: the value as a read returns it, whatever its length
    QChar quote;   // Key: the quote the read took from around the value (null when none)
};

struct FileLines
{
    bool exists = false; // false for a missing file, and for one that cannot be read (error says why)
    QString error;
    QString newline;     // the line end a write gives a new line in this file
    QList<FileLine> lines;
};

// The lines of the file as the next read sees them (the pending content of an
// open batch included).
FileLines readLines(const QString& path);

// Replaces the file's whole content by `text`, encoded the way the file is
// (Windows-1252, or UTF-16LE after its byte-order mark). Goes into the open
// batch of the file when there is one. A missing file is not created; a
// refused write changes nothing and is reported.
WriteResult replaceText(const QString& path, const QString& text);


// Within its scope every read of the file is served from one parse taken at
// the first read, without looking at the disk again: a folder load reads
// thousands of keys, and they should all come from the same version of the
// file. A write through the engine ends the snapshot's reuse (the next read
// parses again). While one snapshot is active a second one does nothing.
class Snapshot
{
public:
    explicit Snapshot(const QString& path);
    // The caller has just read the whole file: the first read parses these
    // bytes (unless the parse cache holds the file as it is now) instead of
    // reading the file a second time.
    Snapshot(const QString& path, QByteArray bytes);
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

private:
    bool m_owner = false;
};

// Gathers the writes to one file in memory and replaces the file once, when
// the batch is committed (each write edits the parsed file in place, so a
// batch costs what its lines cost, not a parse per write): a command that writes many keys either lands whole
// or not at all, and the file is rewritten once instead of once per key.
// Reads of the file during the batch see the pending content. A batch that is
// destroyed without a commit leaves the file as it was. One batch at a time:
// a second batch started while one is open writes nothing and its commit
// fails, so no write is ever reported done that was not.
class Batch
{
public:
    explicit Batch(const QString& path);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    // Writes the pending content (when anything was written). After a commit
    // the batch is over, whatever the result.
    WriteResult commit();

private:
    bool m_owner = false;
};

} // namespace platform::profile
