#include "editing/AirTypeSwitch.h"

#include "mainwindow/AirMdlFormat.h"
#include "platform/PathResolver.h"

#include <QFileInfo>

namespace AirTypeSwitch {

const std::array<MemberInfo, kMemberCount>& members()
{
    static const std::array<MemberInfo, kMemberCount> table{{
        {Member::Normal, 0, 1, "Are you sure that you want to change this aircraft to type 0 = Normal?",
         "opt_ac_Normal_Click"},
        {Member::Helicopter, 1, 2,
         "Are you sure that you want to change this aircraft to type 1 = Helicopter?",
         "opt_ac_Helicopter_Click"},
        {Member::AI, 2, 3, "Are you sure that you want to change this aircraft to type 2 = AI?",
         "opt_ac_AI_Click"},
    }};
    return table;
}

const MemberInfo& info(Member member)
{
    return members()[static_cast<size_t>(member)];
}

QString outsideMessage(const QString& airFile)
{
    return airFile + QStringLiteral("\r\n\r\n") +
           QStringLiteral("lies outside the aircraft folder. The aircraft type is only changed in files of "
                          "the aircraft folder shown; nothing was written.");
}

QString failureMessage(const QString& airFile)
{
    return airFile + QStringLiteral("\r\n") +
           QStringLiteral(
               " could not be opened for write access. Please make sure that the sim is not running and "
               "no other program access this file.");
}

Outcome write(const QString& airFile, const QString& shownFile, const QString& aircraftFolder, qint16 type)
{
    if (airFile.isEmpty() || !platform::paths::regularFileExists(airFile))
        return {Status::Missing, {}};
    const QString file = QFileInfo(airFile).canonicalFilePath();
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return {Status::Missing, {}};
    if (!platform::paths::liesInside(aircraftFolder, file))
        return {Status::Outside, {}};
    const QString shown = shownFile.isEmpty() ? QString() : QFileInfo(shownFile).canonicalFilePath();
    if (shown != file)
        return {Status::NotShown, {}};

    const airmdl::WriteResult r = airmdl::writeAirType(file, type);
    switch (r.status) {
    case airmdl::WriteStatus::Written: {
        // Bytes 10 and 11 of the record stay as they were: the type reads
        // back as written only while they are zero.
        const airmdl::AirRead back = airmdl::readAirType(file);
        return {Status::Written,
                {},
                back.status == airmdl::AirStatus::Found ? airmdl::airTypeIndex(back.record.type) : 0};
    }
    case airmdl::WriteStatus::NotApplicable:
        return {Status::NoTypeRecord, r.error};
    case airmdl::WriteStatus::Failed:
        break;
    }
    return {Status::Failed, r.error};
}

} // namespace AirTypeSwitch
