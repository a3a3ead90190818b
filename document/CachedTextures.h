#pragma once
// Pictures of imported models that live in the user's cache folder (taken
// out of .glb files and data URIs) go with a scene when it is saved: each is
// copied beside the scene file, where opening the scene finds it by name
// when the cache is gone or the scene has moved to another machine.

#include "report/Result.h"

#include <string>
#include <vector>

namespace zelvane {

class COGLScene;

// The texture files of the scene's meshes (materials and face groups) that
// lie in `cacheFolder` (ending in "/"), each once.
std::vector<std::string> CachedTexturesOf(const COGLScene& scene, const std::string& cacheFolder);

// Copies every cached texture of `scene` into the folder of `scenePath`,
// unless a file of that name and size is there already. A copy that fails is
// a warning naming the picture; the scene file is written all the same.
Status CopyCachedTextures(const COGLScene& scene, const std::string& scenePath, const std::string& cacheFolder);

} // namespace zelvane
