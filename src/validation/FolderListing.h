#pragma once

#include "validation/FolderValidation.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>
#include <initializer_list>

// Folder listings of the validation walks. Unlike a QDir listing they say
// when a folder cannot be read, so a folder that vanishes during a run ends
// the run instead of silently reading as empty.
namespace FolderValidation::detail {

struct DirEntry
{
    QString name;
    bool isDir = false;  // a folder, or a link to one
    bool isFile = false; // a regular file, or a link to one
    bool isLink = false; // a symbolic link
};

// Lists `dir` in Windows listing order ("." and ".." left out). Returns false,
// with the reason in *error, when the folder cannot be opened or read.
bool listFolder(const QString& dir, QList<DirEntry>& out, QString* error);

// Whether one of the files of a listing matches one of the DOS patterns.
bool holdsFileMatching(const QList<DirEntry>& entries, std::initializer_list<QStringView> patterns);

// `dir` and `name` joined with one '/'.
QString joinPath(const QString& dir, const QString& name);

// The canonical path of a folder of a listing: for a real folder its parent's
// canonical path and its name; a link is followed.
QString childCanonical(const QString& parentCanonical, const QString& childPath, const DirEntry& entry);

// How a walk lists a folder: listFolder, or a run's kept listings.
using Lister = std::function<bool(const QString& dir, QList<DirEntry>& out, QString* error)>;

// The walk of AnalyzeTextureFolder below a folder whose listing is at hand.
platform::fileio::Result analyzeBelow(WalkScope& scope, const QString& path, const QString& canonical,
                                      const QList<DirEntry>& entries, const QString& pattern,
                                      ScanAccum& sScanAccum, const Lister& list);

} // namespace FolderValidation::detail
