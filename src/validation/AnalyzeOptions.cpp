#include "validation/AnalyzeOptions.h"

#include "editing/AircraftCfg.h"
#include "shared/modSettings.h"

namespace AnalyzeOptions {

bool isAirlineOption(int index)
{
    return index >= 9 && index <= 11;
}

QString missingKeyDefault()
{
    return modSettings::JoinFlags(QStringList(kCount - 1, QStringLiteral("1")));
}

QStringList flagsOf(const QString& text)
{
    QStringList flags = modSettings::SplitFlags(text);
    while (flags.size() < kCount)
        flags.append(QStringLiteral("1"));
    return flags;
}

double flagValue(const QStringList& flags, int index)
{
    if (index < 0 || index >= flags.size())
        return 0.0;
    // A stored flag is one digit nearly always: its value without the
    // general number reading, which a report asks for hundreds of times.
    const QString& flag = flags[index];
    if (flag.size() == 1 && flag[0] >= u'0' && flag[0] <= u'9')
        return flag[0].unicode() - u'0';
    return AircraftCfg::leadingNumber(flag);
}

bool isOn(const QStringList& flags, int index)
{
    return flagValue(flags, index) == 1.0;
}

Loaded load(const QString& stored, bool airlinesFound)
{
    Loaded out;
    if (!stored.isEmpty()) {
        const QStringList flags = flagsOf(stored);
        for (int i = 0; i < kCount; ++i) {
            Box& box = out.boxes[static_cast<size_t>(i)];
            if (isAirlineOption(i) && !airlinesFound)
                box = {false, false};
            else
                box = {isOn(flags, i), true};
        }
        out.options = stored;
        out.flags = flags;
        return out;
    }

    // An empty setting: every option on (the airline ones only when they can
    // work), stored at once; the flags of the running program stay.
    std::array<bool, kCount> ticked{};
    for (int i = 0; i < kCount; ++i) {
        const bool usable = !isAirlineOption(i) || airlinesFound;
        out.boxes[static_cast<size_t>(i)] = {usable, usable};
        ticked[static_cast<size_t>(i)] = usable;
    }
    out.options = build(ticked);
    out.save = true;
    return out;
}

QString build(const std::array<bool, kCount>& ticked)
{
    QList<bool> states(ticked.begin(), ticked.end());
    return modSettings::BuildFlagList(states);
}

} // namespace AnalyzeOptions
