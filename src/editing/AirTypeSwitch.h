#pragma once

#include <QString>

#include <array>

// The aircraft-type switch: three option buttons that write a new type into
// the type record of the aircraft's .air file at once.
namespace AirTypeSwitch {

enum class Member
{
    Normal,
    Helicopter,
    AI,
};

struct MemberInfo
{
    Member member;
    qint16 type;           // the value written
    int airTypeIndex;      // the reader's index of that type (1 Normal, 2 Helicopter, 3 AI)
    const char* question;  // asked while the confirm option is on
    const char* procedure; // the click handler's name
};

inline constexpr int kMemberCount = 3;

// All members in the order of the Member enumeration.
const std::array<MemberInfo, kMemberCount>& members();
const MemberInfo& info(Member member);

// The message for an air file outside the aircraft folder (links resolved).
QString outsideMessage(const QString& airFile);

// The message for an air file that could not be written.
QString failureMessage(const QString& airFile);

enum class Status
{
    Written,
    Missing,      // no regular file at that path: nothing to switch
    Outside,      // outside the aircraft folder (links resolved): the user is told
    NotShown,     // not the file the buttons were read from
    NoTypeRecord, // the chain (now) holds no usable type record, or is damaged
    Failed,       // could not be made writable, read or written
};

struct Outcome
{
    Status status = Status::Written;
    QString error;        // why, for Failed
    int airTypeIndex = 0; // after a write: the type the file now reads as (1 to 3), 0 when no known type
};

// Writes `type` into `airFile`, but only when it is a regular file that lies
// inside `aircraftFolder` and is the file `shownFile` whose type the buttons
// show (both compared after resolving links). A chain without a type record,
// or a damaged one, is never written. A written file is read back, so the
// caller knows the type it now holds.
Outcome write(const QString& airFile, const QString& shownFile, const QString& aircraftFolder, qint16 type);

} // namespace AirTypeSwitch
