#pragma once

#include "validation/FolderValidation.h"

#include <QStringList>

// The choices a validation run makes before it looks at the folder: whether
// any report option is on, and which simulator's airlines.cfg and effects
// folder serve as reference.
namespace ValidationSetup {

// True when the numeric values of all report options add up to 0.
bool allOptionsOff(const QStringList& flags);

// What a validation, and a batch before it starts, says when they are.
inline const QString kAllOptionsOffMessage =
    QStringLiteral("You have disabled all analysis reporting options. Exiting here....");

enum class Choice
{
    FS9,
    FSX,
    NoAirlines, // neither airlines.cfg: no airline lines, no effects check
    Ask,        // both found and an airline or effects option is on: ask the user
};

// The simulator of a run from the airline files found. In batch mode the
// batch window's choice decides when both were found.
Choice simulatorChoice(const QStringList& flags, bool fs9AirlinesFound, bool fsxAirlinesFound, bool batch,
                       bool batchChoosesFS9);

// Turns the airline options (9, 10, 11) off.
void forceAirlineOptionsOff(QStringList& flags);

// The reference data of each simulator a run can be checked against.
struct Simulators
{
    QStringList fs9Airlines;
    QString fs9Effects;
    QStringList fsxAirlines;
    QString fsxEffects;
};

// Puts the chosen simulator's name, airline lines and effects folder into
// the run's input (a run without airline files names FSX and has neither).
// `Ask` must have been answered before.
void applyChoice(Choice choice, const Simulators& simulators, FolderValidation::Input& input);

// The texture files a run looks for: DirectX textures for a model in the FSX
// format, bitmaps otherwise.
QString textureFormat(const QString& modelVersion);

} // namespace ValidationSetup
