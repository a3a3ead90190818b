#pragma once
// modelport's Model handed to the host as the plug-in records: the parts'
// arrays move over as they are, the material table and face groups are
// built, and the units, axis and notes go into the model record.

#include "plugins/interface/MeshMaterials.h"
#include "plugins/interface/MeshModelInfo.h"
#include "plugins/interface/MeshSet.h"
#include "plugins/kit/HandedRecords.h"
#include "plugins/modelport/ModelData.h"

namespace zelvane::modelport {

// Fills set.partCount and set.parts (moving the parts' arrays out of
// `model`), and, when given, `materials` (only when the model has materials
// or groups) and `info`. Leaves the set empty when memory runs out; the
// materials and info are then left as they were.
void HandOver(Model& model, MeshSet& set, MeshMaterials* materials, MeshModelInfo* info) noexcept;

// An empty set, and freeing what HandOver allocated, for callers in this
// module's own process that own the records (tests, fuzzing). The host never
// calls these.
using pluginkit::ReleaseMaterials;
using pluginkit::ReleaseMeshSet;
using pluginkit::SetEmpty;
void ReleaseInfo(MeshModelInfo& info);

} // namespace zelvane::modelport
