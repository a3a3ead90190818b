#include "plugins/host/ModelUnits.h"

#include <cmath>
#include <cstring>

namespace zelvane {

ModelUnits UnitsOf(const MeshModelInfo& info)
{
    ModelUnits units;
    if (std::isfinite(info.metresPerUnit) && info.metresPerUnit > 0.0f && info.metresPerUnit <= 1e6f)
        units.metresPerUnit = info.metresPerUnit;
    if (info.upAxis == ZELPLUG_UP_Y)
        units.up = UpAxis::Y;
    else if (info.upAxis == ZELPLUG_UP_Z)
        units.up = UpAxis::Z;
    return units;
}

std::vector<std::string> NotesOf(const MeshModelInfo& info)
{
    std::vector<std::string> lines;
    if (!info.notes)
        return lines;
    const std::string_view notes(info.notes, ::strnlen(info.notes, ZELPLUG_MAX_NOTES));
    for (size_t start = 0; start < notes.size();) {
        const size_t end = std::min(notes.find('\n', start), notes.size());
        if (end > start)
            lines.emplace_back(notes.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace zelvane
