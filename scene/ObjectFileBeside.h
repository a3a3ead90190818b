#pragma once
// The object file that lies beside a scene file: the scene file's path with
// the extension ".iff" in place of its own.

#include <string>
#include <string_view>

namespace zelvane {

// "room.cgs" → "room.iff"; a name without an extension gets ".iff" appended
// (a dot in a folder's name is not an extension).
std::string ObjectFilePathBeside(std::string_view sceneFilePath);

} // namespace zelvane
