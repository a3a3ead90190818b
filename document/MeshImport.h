#pragma once
// The Import command's steps once its open dialog has given a file: the
// plug-in reads it, and a mesh object made from the set it fills joins the
// scene, unselected.

#include <cstdint>
#include <memory>
#include <string>

namespace zelvane {

class COGLMesh;
class COGLScene;
class CPlugin;
class CPluginManager;

// Imports `path` with `plugin` as a mesh object (its list made in the active
// context), with the file's materials when the plug-in gives them; texture
// files that do not load are reported once. A file the plug-in cannot read
// gives an empty mesh. Null when the plug-in's set breaks the plug-in
// contract (the user was told).
std::unique_ptr<COGLMesh> ImportMesh(CPluginManager& plugins, const CPlugin& plugin, const std::string& path);

// Imports `path` with `plugin` and adds the mesh to `scene` (its list made in
// the active context). A file the plug-in cannot read gives an empty mesh,
// which is added all the same. Null when the plug-in's set breaks the plug-in
// contract (the user was told; nothing is added).
COGLMesh* ImportIntoScene(CPluginManager& plugins, const CPlugin& plugin, const std::string& path, COGLScene& scene);

// The same with the plug-in of an Import menu command; null also when no
// plug-in has that command.
COGLMesh* RunImport(CPluginManager& plugins, std::uint32_t commandId, const std::string& path, COGLScene& scene);

} // namespace zelvane
