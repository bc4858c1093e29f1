#include "validation/ValidationSetup.h"

#include "validation/AnalyzeOptions.h"

namespace ValidationSetup {

using AnalyzeOptions::isOn;

bool allOptionsOff(const QStringList& flags)
{
    double sum = 0;
    for (int i = 0; i < flags.size(); ++i)
        sum += AnalyzeOptions::flagValue(flags, i);
    return sum == 0;
}

Choice simulatorChoice(const QStringList& flags, bool fs9, bool fsx, bool batch, bool batchChoosesFS9)
{
    if (fs9 && !fsx)
        return Choice::FS9;
    if (fsx && !fs9)
        return Choice::FSX;
    if (!fs9 && !fsx)
        return Choice::NoAirlines;
    if (batch)
        return batchChoosesFS9 ? Choice::FS9 : Choice::FSX;
    for (int i : {9, 10, 11, 21}) {
        if (isOn(flags, i))
            return Choice::Ask;
    }
    return Choice::FSX;
}

void forceAirlineOptionsOff(QStringList& flags)
{
    while (flags.size() < 12)
        flags.append(QStringLiteral("0"));
    for (int i : {9, 10, 11})
        flags[i] = QStringLiteral("0");
}

void applyChoice(Choice choice, const Simulators& s, FolderValidation::Input& input)
{
    switch (choice) {
    case Choice::FS9:
        input.simulator = FolderValidation::Simulator::FS9;
        input.airlineLines = s.fs9Airlines;
        input.effectsFolder = s.fs9Effects;
        return;
    case Choice::NoAirlines:
        input.simulator = FolderValidation::Simulator::FSX;
        input.airlineLines.clear();
        input.effectsFolder.clear();
        return;
    case Choice::FSX:
    case Choice::Ask:
        input.simulator = FolderValidation::Simulator::FSX;
        input.airlineLines = s.fsxAirlines;
        input.effectsFolder = s.fsxEffects;
        return;
    }
}

QString textureFormat(const QString& modelVersion)
{
    return modelVersion == u"FSX" ? QStringLiteral("*.dds") : QStringLiteral("*.bmp");
}

} // namespace ValidationSetup
