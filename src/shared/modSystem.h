#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <variant>

namespace platform::wine {
class RegKey;
}

// Registry, shell and system services for the windows: the simulators'
// registry values, the 64-bit test, the application-data folder, opening web
// addresses and files with the desktop, the airlines.cfg line caches and the
// temporary folder. The registry is the one of the Wine prefix the simulators
// are installed in.
namespace modSystem {

// Status codes as the registry functions return them.
inline constexpr qint32 kStatusSuccess = 0;
inline constexpr qint32 kStatusFileNotFound = 2;  // no such key or value
inline constexpr qint32 kStatusInvalidHandle = 6; // the key is not open
inline constexpr qint32 kStatusMoreData = 234;    // the data does not fit the number
inline constexpr qint32 kStatusOtherType = -1;    // a type the program does not read

// What QueryValueEx hands back: nothing (unchanged), a text or a number.
using RegData = std::variant<std::monostate, QString, quint32>;

// Reads one value of an open key. REG_SZ: `value` becomes the text (without
// its terminating NUL); REG_DWORD: the number; status 0. Any other type: -1
// and `value` unchanged. A missing key or value: its status, `value` unchanged.
qint32 QueryValueEx(const platform::wine::RegKey* key, const QString& valueName, RegData& value);

// A value of HKEY_LOCAL_MACHINE (the prefix's system.reg) as text: the text
// of a REG_SZ, the decimal digits of a REG_DWORD, empty text otherwise.
QString QueryRegString(const QString& keyPath, const QString& valueName);

// Whether the simulators run as 32-bit programs on 64-bit Windows, i.e. the
// prefix is a 64-bit one (their keys then live below "Wow6432Node").
bool Is64BitOS();

// The Linux path of a Windows special folder; 26 (CSIDL_APPDATA) gives the
// roaming application-data folder. Unknown ids and folders that cannot be
// found give empty text.
QString GetSpecialFolderPath(int csidl);
inline constexpr int kCsidlAppData = 26;

// Opens a web address (or a file) in the desktop's program for it. Never
// waits for that program; a desktop without one simply does nothing. Returns
// whether the desktop accepted the request.
bool OpenURL(const QString& url);

// Opens a file in the desktop's program for its kind: our stand-in for
// starting Notepad when the internal editor is off.
bool OpenWithDesktop(const QString& path);

// The desktop's program registered for a kind of file (a MIME type such as
// "application/pdf"), as `xdg-mime query default` names it (its .desktop
// file). Empty when none is registered or xdg-mime is not installed.
QString DefaultProgramFor(const QString& mimeType);

// While one lives, DefaultProgramFor gives its answers and asks nobody.
class ScriptedProgramLookup
{
public:
    explicit ScriptedProgramLookup(std::function<QString(const QString& mimeType)> answer);
    ~ScriptedProgramLookup();
    ScriptedProgramLookup(const ScriptedProgramLookup&) = delete;
    ScriptedProgramLookup& operator=(const ScriptedProgramLookup&) = delete;
};

// Splits the text of airlines.cfg into its lines: at every CR LF pair only,
// nothing trimmed. A lone LF or CR stays inside its line; text that ends with
// CR LF gives a last, empty line; empty text gives no lines at all.
QStringList SplitAirlineLines(const QString& text);

// Reads a whole airlines.cfg (Windows-1252) into its lines.
QStringList ReadAirlineLines(const QByteArray& bytes);

// Read the simulator's airlines.cfg (globals::gsAirlinesFS9Path /
// gsAirlinesFSXPath) again into its line cache. A file that cannot be read
// leaves the cache as it was and gives false.
bool ReloadAirlinesFS9();
bool ReloadAirlinesFSX();

// The system's temporary folder, ending with '/'.
QString TempPath();

// The program's own temporary folder for this user ($XDG_RUNTIME_DIR/fernquill,
// else fernquill-<uid> in TempPath()), created when missing and checked.
// `path` ends with '/'; it is empty, with the reason in `error`, when the
// folder may not be used.
struct TempFolder
{
    QString path;
    QString error;
};
TempFolder PrivateTempFolder();

// Before a temporary file is written into globals::gsTempPath: the folder is
// made again should it have gone, and checked again. Empty when it may be
// used; else the message for the user (globals::gsTempPathError when the
// folder was refused at start).
QString TempFolderProblem();

} // namespace modSystem
