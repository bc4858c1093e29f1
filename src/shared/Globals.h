#pragma once

#include <QString>
#include <QStringList>

// Program-wide variables shared by the windows (one user-interface thread, so
// plain variables are enough). The main window's own state lives in frm_Main.
namespace globals {

// Lines of each simulator's airlines.cfg, the file's path and whether it was
// found and read at start-up.
inline QStringList gsAirlinesFS9;
inline QStringList gsAirlinesFSX;
inline bool gbAirlinesFS9Found = false;
inline bool gbAirlinesFSXFound = false;
inline QString gsAirlinesFS9Path;
inline QString gsAirlinesFSXPath;

// The simulators' "Effects" folders.
inline QString gsEffectsFS9Path;
inline QString gsEffectsFSXPath;

// The "AnalyzeOptions" setting and its flags split at "¦" (index 0..22).
inline QString gsAnalyzeOptions;
inline QStringList gsAnalyzeFlags;

// The "DataGrid" setting.
inline QString gsDataGrid;

// Balloon tooltips on ("ToolTips").
inline bool gbToolTips = true;

// Batch validation state.
inline bool gbBatchValidate = false;
inline QString gsValidateRoot;
inline QString gsSkipMessage;
inline bool gbReportErrors = false;

// What the text editor window opens: 0 nothing, 1 the FS9 airlines.cfg,
// 2 the FSX airlines.cfg, 3 the file named by gsEditFile.
inline int giEditorMode = 0;
inline QString gsEditFile;

// Show text files in the internal editor rather than the desktop's ("Editor").
inline bool gbUseEditor = true;

// The program's own temporary folder, ending with a separator; empty when it
// was refused at start, gsTempPathError then telling why.
inline QString gsTempPath;
inline QString gsTempPathError;

// Open the last folder at start-up ("IsMerrow").
inline bool gbRememberPath = true;

// The empty-folder walk of validation and the folder its entries are relative to.
inline QString gsEmptyFolders;
inline QString gsEmptyFolderBase;

} // namespace globals
