#include "editing/EffectsUpdate.h"


#include <algorithm>

namespace EffectsUpdate {

std::optional<QString> changedDescription(const QString& shown, const QString& loaded)
{
    if (shown == loaded)
        return std::nullopt;
    return shown;
}

CfgWrites::Outcome write(clsIniFile& ini, const Request& r)
{
    QList<CfgWrites::KeyWrite> writes;
    if (r.description)
        writes.append({r.section, QStringLiteral("description"), *r.description, r.occurrence});
    const auto& effectSlots = AircraftCfg::effectSlots();
    for (size_t i = 0; i < effectSlots.size(); ++i)
        writes.append({QStringLiteral("effects"), QString::fromLatin1(effectSlots[i].key),
                       AircraftCfg::effectWriteText(r.effects[i].file, r.effects[i].once)});
    return CfgWrites::writeAll(ini, writes);
}

bool isSlot(int slot)
{
    return slot >= 0 && slot < AircraftCfg::kEffectSlotCount;
}

AircraftCfg::EffectValue defaultEffect(int slot)
{
    if (!isSlot(slot))
        return {};
    const AircraftCfg::EffectSlot& s = AircraftCfg::effectSlots()[static_cast<size_t>(slot)];
    return {QString::fromLatin1(s.defaultFile), s.defaultOnce};
}

QString effectNameFromPath(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    QString name = path.mid(cut + 1);
    if (name.right(3).toLower() == u".fx")
        name.chop(3);
    return name;
}

} // namespace EffectsUpdate
