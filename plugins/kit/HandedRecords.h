#pragma once
// The plug-in records' strings and arrays on the C heap: made for the host,
// and freed again by the plug-in's own callers that own a set (tests,
// fuzzing) or when building them fails part-way. The host never frees what
// an import returns; it keeps it for the whole run.

#include "plugins/interface/MeshMaterials.h"
#include "plugins/interface/MeshSet.h"

#include <string>

namespace zelvane::pluginkit {

// A malloc'd copy of `text` with its terminator. Throws std::bad_alloc.
char* CopyText(const std::string& text);

// Frees a part's name and arrays and leaves it empty.
void FreePart(MeshPart& part);

// Leaves the set with no parts and `parts` pointing to an allocation of zero
// elements, as an import that read nothing must.
void SetEmpty(MeshSet& set) noexcept;

// Frees every part and the part array; the set is left with none.
void ReleaseMeshSet(MeshSet& set);

// Frees the material table (names, texture paths) and every part's groups
// with their face lists; the records are left empty.
void ReleaseMaterials(MeshMaterials& materials);

} // namespace zelvane::pluginkit
