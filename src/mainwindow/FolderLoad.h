#pragma once

#include "editing/AircraftCfg.h"
#include "shared/clsIniFile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

// What the folder load reads from an aircraft folder: the grid rows of its
// aircraft.cfg, the aircraft-wide values (effects, wing span, exits, general)
// and the texture, model and .air candidates of the folder. The main window
// turns the result into widget states; everything here works on files only.
namespace FolderLoad {

// Number of sub-items of a grid row (columns 2 to 17).
inline constexpr int kSubItems = 16;

struct GridRow
{
    QString text;                              // section name in capitals, comment stripped
    std::array<QString, kSubItems> subItems{}; // columns 2..17 in grid order
};

struct ExitRead
{
    // Boxes the value gave (a missing part leaves its box as it was).
    std::array<std::optional<QString>, AircraftCfg::kExitBoxCount> boxes{};
    QString comment;       // from "//" on, empty without one
    bool allParts = false; // the line gave all five parts
};

struct Result
{
    bool cfgExists = false;
    QString cfgPath; // the aircraft.cfg found (its real spelling), empty when absent
    QString cfgError; // why an aircraft.cfg that exists could not be read (empty when it could)

    // Section names in file order as enumerated, entry names upper-cased.
    QStringList sections;
    QList<GridRow> rows;
    QStringList descriptions; // raw description of each row, in row order
    bool statusNok = false;   // duplicate entry section or duplicate title
    QString airFile;          // first non-empty sim value in file order, as read

    // Aircraft-wide values; unset when the file holds no such key.
    std::optional<QString> wingSpanOrg; // leading number in the user's locale
    std::array<std::optional<ExitRead>, AircraftCfg::kExitCount> exits{};
    bool jetwaysPossible = false;
    std::optional<QString> generalAtcModel;
    std::optional<QString> generalAtcType;
    std::array<std::optional<AircraftCfg::EffectValue>, AircraftCfg::kEffectSlotCount> effects{};

    // Folder listings, in listing order.
    QStringList textureItems; // "<default>" for "texture", else the suffix after "texture."
    QStringList modelItems;   // "<default>" for "model", else the suffix after "model."
    QStringList airItems;     // .air file names up to their first '.'
};

// Reads the folder. When it holds an aircraft.cfg, `ini` is pointed at it
// (and otherwise left alone, still naming the previous file). Without
// `folderChoices` the texture and model folder lists stay empty.
Result load(const QString& folder, clsIniFile& ini, bool folderChoices = true);
// The same, handing each grid row to `rowSink` as it is read instead of
// keeping it in the result (whose `rows` stay empty), so a large file's rows
// are never all held twice.
Result load(const QString& folder, clsIniFile& ini, bool folderChoices,
            const std::function<void(GridRow&&)>& rowSink);

// The three "current file" texts of an entry section read from the file:
// texture and model ("<default>" when empty), sim ("<none>" when empty).
// `occurrence` picks a copy of a section name that stands more than once.
struct CurrentFiles
{
    QString texture;
    QString model;
    QString airFile;
};
CurrentFiles currentFiles(clsIniFile& ini, const QString& section, int occurrence = 0);

// Removes the temporary files that rewrites ended half-way (the program was
// killed during a write) left in the folder and in its texture and model
// folders, the folders the program writes into; only files the program
// recognises as its own (platform::fileio::removeStaleTemporaries). Returns
// how many went.
int removeLeftovers(const QString& folder);

// The listings alone (also used where no aircraft.cfg exists).
QStringList textureItems(const QString& folder);
QStringList modelItems(const QString& folder);
QStringList airItems(const QString& folder);

} // namespace FolderLoad
