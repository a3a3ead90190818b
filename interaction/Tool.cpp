#include "interaction/Tool.h"

#include "interaction/CommandIds.h"

namespace zelvane {

namespace {

struct ToolEntry {
    std::string_view name;
    int command;
    AxisSwitches switches;
};

constexpr std::array<ToolEntry, kToolCount> kTools{{
    {"Move", command::kMove, {true, true, true}},
    // Rotate turns about the vertical until X or Z is chosen.
    {"Rotate", command::kRotate, {false, true, false}},
    {"Scale", command::kScale, {true, true, true}},
    {"Pan", command::kPan, {true, true, true}},
    {"Orbit", command::kOrbit, {true, true, true}},
    {"Zoom", command::kZoom, {true, false, false}},
    {"Select", command::kSelect, {false, false, false}},
    {"Texture Move", command::kTextureMove, {true, true, false}},
    {"Texture Scale", command::kTextureScale, {true, true, true}},
    {"Texture Rotate", command::kTextureRotate, {true, false, false}},
    {"FOV", command::kFieldOfView, {true, true, true}},
}};

const ToolEntry& EntryOf(Tool tool)
{
    return kTools[static_cast<std::size_t>(tool)];
}

} // namespace

std::string_view ToolName(Tool tool)
{
    return EntryOf(tool).name;
}

int ToolCommand(Tool tool)
{
    return EntryOf(tool).command;
}

std::optional<Tool> ToolOfCommand(int commandId)
{
    for (std::size_t i = 0; i < kTools.size(); ++i)
        if (kTools[i].command == commandId)
            return static_cast<Tool>(i);
    return std::nullopt;
}

AxisSwitches InitialSwitches(Tool tool)
{
    return EntryOf(tool).switches;
}

bool NeedsSelectedObject(Tool tool)
{
    switch (tool) {
    case Tool::Move:
    case Tool::Rotate:
    case Tool::Scale:
    case Tool::TextureMove:
    case Tool::TextureScale:
    case Tool::TextureRotate:
        return true;
    default:
        return false;
    }
}

} // namespace zelvane
