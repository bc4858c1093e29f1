#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The rules of the report options window: how the stored "AnalyzeOptions"
// text becomes 23 check boxes and how the boxes become the text again. Pure
// text work; the window reads and writes the settings store.
namespace AnalyzeOptions {

inline constexpr int kCount = 23;

// Options 9, 10 and 11 compare atc_airline values against an airlines.cfg.
bool isAirlineOption(int index);

// What reading the setting gives when the key is missing: 22 flags "1".
QString missingKeyDefault();

struct Box
{
    bool checked = false;
    bool enabled = true;
};

struct Loaded
{
    std::array<Box, kCount> boxes{};
    QString options;                  // the program's new gsAnalyzeOptions
    std::optional<QStringList> flags; // the new gsAnalyzeFlags; unset: keep them
    bool save = false;                // `options` must be stored (the setting was empty)
};

// The boxes for the stored text. Without any airlines.cfg the airline boxes
// are unticked and disabled whatever the text holds. A box is ticked when its
// flag's number is 1; flags missing at the end count as "1".
Loaded load(const QString& stored, bool airlinesFound);

// The stored text for the boxes: "1" or "0" per box, joined by "¦".
QString build(const std::array<bool, kCount>& ticked);

// The flags of a stored text, split at "¦" and brought to 23 with "1" when
// shorter (validation reads every index).
QStringList flagsOf(const QString& text);

// The number flag `index` holds, read the way the program reads numbers
// from text (blanks skipped, the leading number counts: "1", " 1" and "01"
// are all 1); 0 for a flag past the end.
double flagValue(const QStringList& flags, int index);

// An option is on when its flag's number is 1.
bool isOn(const QStringList& flags, int index);

} // namespace AnalyzeOptions
