#pragma once

#include "platform/FileIo.h"
#include "shared/modGlobal.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Checks an aircraft folder against its aircraft.cfg: entry numbering and
// titles, the texture, model and .air files the entries name, the folders
// and files no entry uses, the airlines, the effect files and the empty
// folders. The main window decides everything around it (options, simulator,
// texture format, messages) and hands the result to ValidationReport; nothing
// here shows a window or touches the program-wide variables.
namespace FolderValidation {

// Number of report options ("AnalyzeOptions").
inline constexpr int kFlagCount = 23;

enum class Simulator
{
    FS9,
    FSX
};

// "FS9" or "FSX", as the report names the simulator.
QString simulatorName(Simulator simulator);

struct Input
{
    QString aircraftFolder;     // the folder shown, a native path
    QString aircraftCfg;        // its aircraft.cfg, already resolved
    QStringList flags;          // the 23 report options, "0" or "1" (9..11 possibly forced to "0")
    bool airlinesFound = false; // at least one simulator's airlines.cfg was found
    Simulator simulator = Simulator::FSX;
    QStringList airlineLines;                        // that simulator's airlines.cfg lines
    QString effectsFolder;                           // that simulator's Effects folder, a native path
    QString textureFormat = QStringLiteral("*.bmp"); // "*.dds" when the shown model is FSX
    std::function<void()> yield;                     // run once per folder of the empty-folder walk
    QString tempFolder; // the program's temporary folder (copies of files read without their mark)
};

// Texture, model and air file states of an entry.
enum FileState : int
{
    kNotFound = 0,
    kFound = 1,
    kKeyMissing = 2
};

enum class AirlineState
{
    None,
    Known,
    Unknown
};

// One [fltsim.N] section. A key that is missing leaves its field unset; an
// empty value is an empty text.
struct Entry
{
    QString section;                   // small letters, no brackets
    std::optional<QString> title;      // comment removed, letters unchanged
    std::optional<QString> model;      // comment removed, small letters, '/' -> '\'
    std::optional<QString> sim;        // comment removed, small letters
    std::optional<QString> texture;    // comment removed, small letters, '/' -> '\'
    std::optional<QString> atcAirline; // comment removed, capitals
    int textureState = kNotFound;
    int modelState = kNotFound;
    int airState = kNotFound;
    int numberingState = 1; // 1 in order or numbered consistently, 0 misnumbered
    AirlineState airlineState = AirlineState::None;
};

enum class Status
{
    Ok,
    NoFltsimSection, // aircraft.cfg holds no [fltsim.x] section
    FileSystemError, // a file or folder could not be read; `error` says which
    Busy,            // another validation is still running (re-entered from the yield)
};

// The note every unused-texture line carries when texture.cfg aliasing is used.
inline constexpr char16_t kAliasingNote[] = u" (fallback.x aliasing used in configuration, maybe valid)";

// Everything one run found. Lists marked "0" hold the single item "0" when
// there is nothing in them; the others are empty then.
struct Result
{
    Status status = Status::Ok;
    QString error;

    // What the run was given, for the report.
    QStringList flags;
    Simulator simulator = Simulator::FSX;
    QString textureFormat;
    QString aircraftFolderText; // native absolute path ending in '/', real letter case

    QList<Entry> entries;

    QStringList undefinedTitles;
    QStringList duplicateTitles{QStringLiteral("0")}; // "0"
    QStringList misnumbered;
    QStringList missingTextures{QStringLiteral("0")}; // "0"
    QStringList undefinedTextures;
    QStringList texturesUsedMoreThanOnce{QStringLiteral("0")}; // "0"
    QStringList unusedTextures{QStringLiteral("0")};           // "0"
    QStringList missingModels{QStringLiteral("0")};            // "0"
    QStringList undefinedModels;
    QStringList unusedModels{QStringLiteral("0")};    // "0"
    QStringList missingAirFiles{QStringLiteral("0")}; // "0"
    QStringList undefinedAirFiles;
    QStringList unusedAirFiles{QStringLiteral("0")}; // "0"
    QStringList airlinesWithoutValue;
    QStringList unknownAirlines;
    QStringList missingEffectFiles;
    QStringList emptyFolders;
    QString emptyFolderBase; // the folder the empty-folder items are relative to, ending in '/'
    // The texture.cfg and Model.cfg files of the aircraft folder that still
    // start with a byte-order mark because it could not be removed: "..\",
    // the path below the aircraft folder, " --> " and why.
    QStringList marksKept;

    int texturesFound = 0;
    int modelsFound = 0;
    int airFilesFound = 0;
    int airlinesFound = 0;

    bool notInSequentialOrder = false;
    bool misnumberedFound = false;
    bool duplicateTitlesFound = false;
    bool undefinedTitleFound = false;
    bool undefinedTextureFound = false;
    bool undefinedModelFound = false;
    bool undefinedAirFileFound = false;
    bool airlineKeyRead = false;
    bool textureAliasingUsed = false;
    QString aliasingNote; // kAliasingNote when aliasing was used, else empty
};

// Runs one validation of the folder. Also removes a stale zibcheck.log from
// the folder and the UTF-8 byte-order marks of the texture.cfg and Model.cfg
// files it reads.
Result validate(const Input& input);

// ---- Effects ----------------------------------------------------------------

// The default effect file (without ".fx") of an effects key whose value is
// true/false or a number; empty for a key without one. The key is compared in
// small letters.
QString EffectFileDefault(QStringView key);

// ---- Folder walks -------------------------------------------------------------

// The folders one walk has entered, by canonical path, and the aircraft
// folder it must stay inside. A symbolic link to a folder is entered only when
// its target lies inside the aircraft folder and was not entered yet, so no
// walk loops or wanders off.
class WalkScope
{
public:
    explicit WalkScope(const QString& aircraftFolder);
    // Whether the folder with this canonical path may be entered; marks it entered.
    bool enter(const QString& canonicalPath, bool viaLink);
    const QString& root() const { return m_root; }

private:
    QString m_root; // canonical path of the aircraft folder
    QSet<QString> m_entered;
};

// One pair of the folder scan: a folder's path and "-1" when it holds a file of
// the pattern, else "0".
struct ScanPair
{
    QString path;
    QString flag;
};
using ScanAccum = QList<ScanPair>;

// The scan as one text, "path¦flag¦path¦flag...". The run keeps the pairs
// apart, so a folder name holding "¦" cannot shift the pairs.
QString ScanAccumText(const ScanAccum& sScanAccum);

// Appends a pair for every folder below `path` (depth first, parent before
// children, each level in Windows listing order) whose flag tells whether it
// holds a file matching `pattern`. Fails when a folder cannot be listed.
platform::fileio::Result AnalyzeTextureFolder(WalkScope& scope, const QString& path, const QString& pattern,
                                              ScanAccum& sScanAccum);
// The same with the pattern "*.mdl".
platform::fileio::Result AnalyzeModelFolder(WalkScope& scope, const QString& path, ScanAccum& sScanAccum);

// Appends "..\" and the path below `base` (parts joined by '\') of every folder
// below and including `path` that holds neither files nor folders, children
// before their parent. Runs `yield` first in every folder. Folders that cannot
// be read are passed over.
void FindEmptyFolders(WalkScope& scope, const QString& path, const QString& base, QStringList& gsEmptyFolders,
                      const std::function<void()>& yield);

// ---- Small file helpers ---------------------------------------------------------

// One profile value read through a 250-character buffer (at most 249 come
// back); empty for a missing file, section or key.
QString ReadIniKey(const QString& section, const QString& key, const QString& file);

struct BomResult
{
    platform::fileio::Result read; // whether the file could be read
    bool bomFound = false;         // it started with EF BB BF
    bool rewritten = false;        // the file was rewritten without the mark
    QString rewriteError;          // why not, when the mark stays
};

// Reads the whole file into `bytes` (without a leading UTF-8 byte-order mark)
// and, when the file starts with one, rewrites it atomically three bytes
// shorter. A file that cannot be rewritten stays as it was, and so does one
// that a link leads to outside `within` (by default the folder that holds
// `path`; see platform::fileio::writeTarget).
BomResult ReadByteArray(const QString& path, QByteArray& bytes, const QString& within = {});

// Removes the item at `index`, later items moving down. Throws
// runtimeerror::RuntimeError 13 "Type Mismatch" when `list` is no list (null)
// and 9 "Subscript out of Range" for an index outside it. Removing the last
// item leaves an empty list.
void ArrayRemoveItem(modGlobal::StringArray* list, qint32 index);

} // namespace FolderValidation
