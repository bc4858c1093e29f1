#pragma once

#include "editing/AircraftCfg.h"
#include "editing/CfgWrites.h"
#include "shared/clsIniFile.h"

#include <QString>

#include <array>
#include <optional>

// Writing the effects tab back: the description of the shown entry (only when
// it was changed) and the eleven keys of [effects], and the small rules of the
// effect slots that the pop-up menu applies.
namespace EffectsUpdate {

struct Request
{
    QString section;                    // the entry section, named by the grid row's text
    int occurrence = 0;                 // which copy of that name (a pack may hold a name twice)
    std::optional<QString> description; // written only when set
    std::array<AircraftCfg::EffectValue, AircraftCfg::kEffectSlotCount> effects{};
};

// The description to write: the box's text when it differs from the text the
// entry was shown with (exact, case-sensitive), else nothing, so an unchanged
// line keeps its comment and spelling.
std::optional<QString> changedDescription(const QString& shown, const QString& loaded);

// Writes the request through `ini` in one go: the description, then the
// eleven effect keys in slot order into "effects", empty ones included.
// Either every write lands or the file stays as it was and the outcome says why.
CfgWrites::Outcome write(clsIniFile& ini, const Request& request);

// True for a slot index 0 to 10.
bool isSlot(int slot);

// The slot's default effect: its file name and its "once" flag.
AircraftCfg::EffectValue defaultEffect(int slot);

// The effect name for a chosen file: the path's last component ("\" or "/"
// separate), without a final ".fx" in any letter case.
QString effectNameFromPath(const QString& path);

} // namespace EffectsUpdate
