#pragma once
// Whole scene files (".cgs"): the 8 bytes "CGS1" and version 1, then the
// scene's part. Written beside their place and moved in once complete, so a
// save that fails leaves an earlier file as it was.

#include "report/Result.h"
#include "scene/SceneLoadResult.h"

#include <string>

namespace zelvane {

class COGLScene;

// The texts of the load and save failures, followed by the cause.
inline constexpr const char* kInvalidFilenameText = "Invalid filename.";
inline constexpr const char* kFailedToSaveText = "Failed to save document.";
inline constexpr const char* kFailedToOpenText = "Failed to open document.";

// Whether `path` names a scene file by its extension (".cgs" in any case).
bool IsSceneFileName(const std::string& path);

// Writes `scene` as the scene file `path` (with the wait cursor). Fails with
// "Invalid filename." when the file cannot be made and "Failed to save
// document." when it cannot be written, each with the cause; an earlier file
// of that name is then unchanged. Once written, the pictures its meshes take
// from the user's cache folder are copied beside it (CachedTextures.h); a
// copy that fails is a warning.
Status WriteSceneFile(const std::string& path, const COGLScene& scene);

// Whether `path` can be read and begins as a scene file of a version that is
// read, without reading its records; fails as ReadSceneFile would.
Status ProbeSceneFile(const std::string& path);

// Reads the scene file `path` into `scene` (with the wait cursor), adding to
// what it holds; `details` tells what became of every texture and how many
// objects were read. Fails when the file cannot be read ("Invalid
// filename."), is not a scene file or of version 0, or holds a record that
// cannot be read ("Failed to open document.", which record and why); what was
// read before that record stays in the scene.
Status ReadSceneFile(const std::string& path, COGLScene& scene, SceneLoadResult& details);

} // namespace zelvane
