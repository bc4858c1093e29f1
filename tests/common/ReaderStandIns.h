#pragma once

#include <QByteArray>
#include <QString>

// What the Access reader fernquill-mdbread can meet, for tests of the
// program's side: a damaged database and stand-ins for a reader gone wrong.
namespace testutil {

// The damaged parking-code list that crashes libmdb while its rows are
// fetched (tests/data/corrupt-parkingspecs.mdb).
QByteArray corruptParkingSpecs();

// Stand-ins for the reader, each a shell script written into `folder`, and
// the path a run leaves behind to show that it started.
enum class BadReader
{
    Hangs,   // never ends
    Crashes, // dies of a segmentation fault
    Babbles, // ends well, having written text that is no table
    Floods,  // writes without end
    Fails,   // ends with exit status 1, writing nothing
};
QString writeBadReader(const QString& folder, BadReader kind);
QString readerStartedMark(const QString& folder);

// Sets FERNQUILL_MDBREAD, the reader the program runs, and how long the
// program waits for it, for its lifetime: a stand-in that hangs need not keep
// a test waiting for the built-in limit.
class ReaderOverride
{
public:
    explicit ReaderOverride(const QString& program, int timeLimitMs = 3000);
    ~ReaderOverride();
    ReaderOverride(const ReaderOverride&) = delete;
    ReaderOverride& operator=(const ReaderOverride&) = delete;

private:
    QByteArray m_previous;
    bool m_wasSet;
};

} // namespace testutil
