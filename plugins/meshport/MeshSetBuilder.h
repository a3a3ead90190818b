#pragma once
// Turns what meshport read into the records the host keeps: one MeshPart per
// triangle mesh, in file order, handing the model's arrays over without
// copying them.

#include "plugins/interface/MeshSet.h"
#include "plugins/meshport/ThreeDSModel.h"

namespace zelvane::meshport {

// Fills set.partCount and set.parts from the model's objects and leaves the
// other fields alone. Each part gets a copy of its object's name, its
// vertices, one mapping coordinate per vertex (the file's first ones; (0, 0)
// where the file has none) and its faces, each corner's texture index equal
// to its vertex index. Faces with a corner past the vertex list are dropped,
// so every index the host receives lies inside its array. The model's
// arrays are emptied. Throws std::bad_alloc, having freed what it built.
void HandOverMeshes(ThreeDSModel& model, MeshSet& set);

// Leaves the set with no parts and `parts` pointing to an allocation of zero
// elements, as an import that read nothing must.
void SetEmpty(MeshSet& set);

// Frees every array and string of the set's parts and the part array; for
// callers in this module's own process that own a set (tests, fuzzing). The
// host never calls this: what an import returns is kept for the whole run.
void ReleaseMeshSet(MeshSet& set);

} // namespace zelvane::meshport
