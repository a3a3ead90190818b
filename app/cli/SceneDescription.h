#pragma once
// A scene as JSON: what `scene FILE --json` prints, and what `scene
// --from-json` builds a scene file from. The schema is in docs/scene-json.md.
//
// A description names every value a scene file stores (each object's common
// record, a plane's tessellation, a text's letters and font, a mesh's model
// file with the moves of its shape, its materials and face groups' textures,
// the texture records, the cage), so a scene written, described and written
// again comes out byte for byte the same. A script may leave values out: an
// object then comes as the editor's Insert or Import makes it, on the
// footprint of the cage.

#include "plugins/host/CPluginManager.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace zelvane {
class COGLScene;
struct SceneLoadResult;
} // namespace zelvane

namespace zelvane::cli {

// The description of `scene`, read from the scene file `path` with `loaded`
// telling what its records held.
nlohmann::ordered_json DescribeScene(const std::string& path, const COGLScene& scene, const SceneLoadResult& loaded);

// What went wrong with a description: where (a JSON pointer such as
// "/objects/3/position/1") and why.
struct DescriptionFault {
    std::string path;
    std::string message;
};

struct BuiltScene {
    bool ok = false;
    DescriptionFault fault;             // when not ok: the first fault
    std::vector<std::string> warnings;  // textures that do not load, and the like
};

// Builds the scene `spec` describes into `scene` (empty, made in the active
// context, which stays current). Relative model and texture paths are taken
// from `specFolder`. Meshes are imported through `plugins`. Nothing is
// written; on a fault the scene holds what was built before it.
BuiltScene BuildScene(const nlohmann::json& spec, const std::string& specFolder, CPluginManager& plugins,
                      COGLScene& scene);

} // namespace zelvane::cli
