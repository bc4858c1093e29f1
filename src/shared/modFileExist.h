#pragma once

#include <QString>

namespace modFileExist {

// False for an empty path; otherwise true when at least one file or folder
// matches it ('*' and '?' allowed in the last part, letter case ignored). A
// folder's path is found with or without a trailing separator.
bool FileExist(const QString& path);

} // namespace modFileExist
