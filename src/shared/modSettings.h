#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The program's options, kept per user in an INI file
// ($XDG_CONFIG_HOME/© Brackenhold Tools/Fernquill.ini, section [Fernquill]).
// Every value is text; every write reaches the file at once.
namespace modSettings {

inline const QString kOrganisation = QStringLiteral("© Brackenhold Tools");
inline const QString kApplication = QStringLiteral("Fernquill");
inline const QString kSection = QStringLiteral("Fernquill");

// The separator of stored flag lists.
inline const QString kFlagSeparator = QStringLiteral("\u00A6");

// The number of flags "AnalyzeOptions" must have.
inline constexpr int kAnalyzeFlagCount = 23;
// The number of flags "DataGrid" has (one per optional grid column).
inline constexpr int kDataGridFlagCount = 15;

enum class Kind
{
    Switch,
    FlagList,
    Text
};

struct KeyInfo
{
    QString key;
    Kind kind;
    QString defaultValue; // what reading an absent key gives
};

// Every key the program stores, with its kind and default, in alphabetical order.
const QList<KeyInfo>& Keys();

// The default of a key of the table; empty text for keys not in it.
QString DefaultFor(const QString& key);

// The stored text of a key, or `defaultValue` when the key is absent. A key
// that is present with empty text reads as empty text.
QString GetSetting(const QString& key, const QString& defaultValue);

// Stores the text at once. False when the file could not be written.
bool SaveSetting(const QString& key, const QString& value);

// The folder to remember ("Path"), stored at once. Drops a held one.
bool SavePath(const QString& folder);

// A batch run loads many folders one after the other: the folder to remember
// is held back while it runs (HoldPath) and stored once when it ends
// (StoreHeldPath, which does nothing when none is held).
void HoldPath(const QString& folder);
bool StoreHeldPath();

// Whether the key is stored at all.
bool HasSetting(const QString& key);

// The file the options live in.
QString SettingsFilePath();

// A switch's text as a truth value: "0" (or any number equal to zero) is off,
// any other number is on; text that is not a number cannot be converted and
// gives no value (start-up reports that as a run-time error).
std::optional<bool> SwitchValue(const QString& text);

// Reads a switch with its default from the table.
std::optional<bool> GetSwitch(const QString& key);

// Stores a switch as "1" or "0".
bool SaveSwitch(const QString& key, bool on);

// Joins flags with "¦", no separator at the ends.
QString JoinFlags(const QStringList& flags);

// Builds a flag list from control states: "1"/"0" for check boxes, or
// "-1"/"0" for selected list rows when `listRows` is set.
QString BuildFlagList(const QList<bool>& states, bool listRows = false);

// Splits a stored flag list at "¦".
QStringList SplitFlags(const QString& list);

struct PaddedFlags
{
    QString value;
    bool changed = false;
};

// Brings a stored "AnalyzeOptions" value to 23 flags by appending "¦1" (a flag
// count is the separators + 1); 23 flags or more stay as they are. An empty
// value counts as absent: it becomes 23 flags "1".
PaddedFlags PadAnalyzeOptions(const QString& value);

// Start-up's reading of "AnalyzeOptions": read with its default, pad, and
// store the padded value at once when padding changed it.
QString LoadAnalyzeOptions();

} // namespace modSettings
