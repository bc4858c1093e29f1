#include "shared/modFileExist.h"

#include "platform/PathResolver.h"

namespace modFileExist {

bool FileExist(const QString& path)
{
    return platform::paths::fileExists(path);
}

} // namespace modFileExist
