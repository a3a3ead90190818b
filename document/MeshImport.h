#pragma once
// The Import command's work once a file is chosen: the plug-in reads it and
// a mesh object is made from the set it fills, with the file's materials.

#include "report/Result.h"

#include <memory>
#include <string>

namespace zelvane {

class COGLMesh;
class CPlugin;
class CPluginManager;
struct ImportedModel;

// Why an import brought no face: the plug-in's notes (a compression it
// cannot decode, a file it cannot read), else "no meshes found".
std::string NothingImportedText(const ImportedModel& model);

// The model path a mesh imported from `path` remembers (MeshSource): made
// absolute, so that the scene finds the model again from anywhere.
std::string ModelPathToRemember(const std::string& path);

// Imports `path` with `plugin` as a mesh object (its list made in the active
// context), with the file's materials when the plug-in gives them. Fails when
// the plug-in's set breaks the plug-in contract, or holds no face to draw
// ("FILE: no meshes found": a file the plug-in could not read, or one of
// another kind; the plug-in's notes instead when it gave some). Materials
// that break the contract, texture files that do not load and the plug-in's
// notes are warnings (one for all the textures). The mesh is set up with
// the units and up axis the plug-in reported (COGLMesh), and remembers the
// model's path.
Result<std::unique_ptr<COGLMesh>> ImportMesh(CPluginManager& plugins, const CPlugin& plugin, const std::string& path);

} // namespace zelvane
