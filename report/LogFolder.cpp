#include "report/LogFolder.h"

#include "report/UserFolders.h"

#include <cstdlib>

namespace zelvane {

std::optional<std::string> LogFolder()
{
    if (const char* override = std::getenv("ZELVANE_LOG_DIR"); override && *override) {
        std::string folder = override;
        if (folder.back() != '/')
            folder += '/';
        return folder;
    }
    return UserFolderPath(UserFolder::State);
}

} // namespace zelvane
