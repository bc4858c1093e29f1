#include "editing/EffectsUpdate.h"

#include "platform/ProfileEngine.h"

#include <algorithm>

namespace EffectsUpdate {

std::optional<QString> changedDescription(const QString& shown, const QString& loaded)
{
    if (shown == loaded)
        return std::nullopt;
    return shown;
}

WriteBack::Outcome write(clsIniFile& ini, const Request& r)
{
    platform::profile::Batch batch(ini.path());
    WriteBack::Outcome out;
    const auto put = [&](const QString& section, const QString& key, const QString& value) {
        if (!out.ok)
            return;
        ini.setSection(section);
        ini.setKey(key);
        // An empty value still writes its key ("key=" with nothing after it).
        ini.setValue(value.isNull() ? QStringLiteral("") : value);
        if (!ini.lastWriteOk()) {
            out.ok = false;
            out.file = ini.path();
            out.error = ini.lastError();
        }
    };

    if (r.description)
        put(r.section, QStringLiteral("description"), *r.description);
    const auto& effectSlots = AircraftCfg::effectSlots();
    for (size_t i = 0; i < effectSlots.size(); ++i)
        put(QStringLiteral("effects"), QString::fromLatin1(effectSlots[i].key),
            AircraftCfg::effectWriteText(r.effects[i].file, r.effects[i].once));

    if (!out.ok)
        return out; // the batch goes without a commit: nothing was written
    if (const auto committed = batch.commit(); !committed.ok) {
        out.ok = false;
        out.file = ini.path();
        out.error = committed.error;
    }
    return out;
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
