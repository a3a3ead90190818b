#pragma once
// Turns what meshport read into the records the host keeps: one MeshPart per
// triangle mesh, in file order, handing the model's arrays over without
// copying them.

#include "plugins/interface/MeshMaterials.h"
#include "plugins/interface/MeshSet.h"
#include "plugins/kit/HandedRecords.h"
#include "plugins/meshport/ThreeDSModel.h"

#include <string_view>

namespace zelvane::meshport {

// Fills set.partCount and set.parts from the model's objects and leaves the
// other fields alone. Each part gets a copy of its object's name, its
// vertices, one mapping coordinate per vertex (the file's first ones; (0, 0)
// where the file has none) and its faces, each corner's texture index equal
// to its vertex index. Faces with a corner past the vertex list are dropped,
// so every index the host receives lies inside its array. The model's
// arrays are emptied. Throws std::bad_alloc, having freed what it built.
void HandOverMeshes(ThreeDSModel& model, MeshSet& set);

// Fills `materials` from the model's materials and face groups, once
// HandOverMeshes has built the parts (their faces are the ones kept): the
// whole material table (colours from bytes, shininess percentage × 128,
// specular × its strength, opacity 1 − transparency, texture file resolved
// against the folder of `modelPath`), and, when any face is in a group, for
// every part one group per material its grouped faces use. A file without
// materials and groups leaves `materials` as it is; so does running out of
// memory.
void HandOverMaterials(const ThreeDSModel& model, std::string_view modelPath, MeshMaterials& materials);

// Freeing the records (HandOverMaterials' too) and an empty set, for this
// module's callers: the plug-in kit's.
using pluginkit::ReleaseMaterials;
using pluginkit::ReleaseMeshSet;
using pluginkit::SetEmpty;

} // namespace zelvane::meshport
