#pragma once
// `scene FILE [--json]`: the textures and objects of a scene file (.cgs) as
// the editor reads them; and the reading itself, which `render` shares.

#include <CLI/CLI.hpp>

#include <string>

namespace zelvane {
class COGLScene;
struct SceneLoadResult;
} // namespace zelvane

namespace zelvane::cli {

void AddSceneCommand(CLI::App& app, int& status);

// Reads the scene file `path` into `scene` as the editor opens it, but
// leaving the working object file alone; nobody is asked for textures that
// are not where the file says or beside it, and each such texture is named
// on stderr. Empty, or why the file could not be read (what was read stays).
std::string LoadSceneWithWarnings(const std::string& path, COGLScene& scene, SceneLoadResult& result);

} // namespace zelvane::cli
