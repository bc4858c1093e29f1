#pragma once

#include <QString>

// The program's own temporary folder. The system's temporary folder is shared
// by every user of the machine, and a fixed name there (a report, the version
// file) can be taken by anyone: a link planted at it would have its target
// overwritten. So every temporary file goes into one folder that only the
// user can write, checked before it is used.
namespace platform::privatetemp {

// Where that folder is: "fernquill" in `runtimeDir` ($XDG_RUNTIME_DIR) when it
// is an absolute path, else "fernquill-<uid>" in `systemTemp`. No separator
// at the end.
QString folderFor(const QString& runtimeDir, const QString& systemTemp, unsigned uid);

// Creates `folder` (mode 0700) when it is missing, then checks it: it must be
// a real folder (no link), belong to `uid`, and let no other user write into
// it. Empty when it may be used; else a sentence that names the folder and
// says what is wrong with it.
QString prepare(const QString& folder, unsigned uid);

// The user id of the process.
unsigned currentUid();

} // namespace platform::privatetemp
