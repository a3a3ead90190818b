#include "scene/ObjectFileBeside.h"

#include "resfile/PathUtil.h"

namespace zelvane {

std::string ObjectFilePathBeside(std::string_view sceneFilePath)
{
    const PathParts parts = SplitPath(sceneFilePath);
    return parts.folder + parts.base + ".iff";
}

} // namespace zelvane
