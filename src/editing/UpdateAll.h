#pragma once

#include "editing/CfgWrites.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The nine "A" buttons of the entry editor: each spreads the value of one edit
// field to the same key of every ticked entry, or of every entry when no grid
// row is ticked. They differ only in the key and the field the value comes from.
namespace UpdateAll {

enum class Member
{
    AtcAirline,
    AtcHeavy,
    AtcModel,
    AtcParkingCodes,
    AtcParkingTypes,
    UiCreatedBy,
    UiManufacturer,
    UiTypeRole,
    UiType,
};

struct MemberInfo
{
    Member member;
    const char* key;       // the entry key written
    const char* procedure; // the click handler's name, for the runtime-error box
};

inline constexpr int kMemberCount = 9;

// All members in the order of the Member enumeration.
const std::array<MemberInfo, kMemberCount>& members();
const MemberInfo& info(Member member);

// One write of key = value into each entry section that gets the value, in
// file order: every entry section when no row is ticked, otherwise those whose
// 0-based position among the entry sections is a ticked row. Other sections
// are never chosen and do not count; a section name that stands twice gets a
// write into each copy that is a target.
QList<CfgWrites::KeyWrite> plan(const QStringList& sectionNames, const QList<int>& tickedRows,
                                const QString& key, const QString& value);

} // namespace UpdateAll
