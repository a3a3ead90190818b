#pragma once
// Everything plug-ins handed over, kept for the rest of the process. A
// plug-in allocates a set's arrays from its own heap, so the host never
// frees them; keeping them here (and the names the host gives the sets)
// says so in one place and keeps them reachable for leak checkers.

#include "plugins/interface/MeshMaterials.h"
#include "plugins/interface/MeshSet.h"

#include <cstddef>
#include <string_view>

namespace zelvane {

class ImportedMeshes {
public:
    // Keeps `set`'s part array (and through it every array and string).
    static void Keep(const MeshSet& set);
    // Keeps the material records' arrays (the editor works on a copy).
    static void Keep(const MeshMaterials& materials);
    // Keeps a plug-in's notes text (null is allowed).
    static void KeepNotes(const char* notes);
    // A copy of `name` that lives as long as the process.
    static const char* KeepName(std::string_view name);
    // The sets kept so far.
    static size_t Count();
};

} // namespace zelvane
