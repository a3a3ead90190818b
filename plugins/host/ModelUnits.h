#pragma once
// What a plug-in said about a model's units and up axis (MeshModelInfo), as
// the editor keeps it once checked; "unknown" where it said nothing usable.

#include "plugins/interface/MeshModelInfo.h"

#include <string>
#include <vector>

namespace zelvane {

enum class UpAxis { Unknown, Y, Z };

struct ModelUnits {
    float metresPerUnit = 0.0f; // 0: not known
    UpAxis up = UpAxis::Unknown;

    bool operator==(const ModelUnits&) const = default;
};

// The units and axis of `info`, each left unknown when it breaks the rules
// of MeshModelInfo.h (a scale that is not a finite number in (0, 1e6], an
// axis that is not one of the ZELPLUG_UP_* values).
ModelUnits UnitsOf(const MeshModelInfo& info);

// The lines of info.notes (at most ZELPLUG_MAX_NOTES bytes are read; empty
// lines dropped).
std::vector<std::string> NotesOf(const MeshModelInfo& info);

} // namespace zelvane
