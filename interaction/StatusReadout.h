#pragma once
// The text the status bar's readout pane shows after a drag step: the value
// the current tool changes, in the tool's own format.

#include "document/SelectedItem.h"
#include "interaction/Tool.h"

#include <string>

namespace zelvane {

class COGLObject;
class COGLViewport3D;

// Eight spaces: the pane's text while there is nothing to show.
inline constexpr const char* kEmptyReadout = "        ";

// `target` is what the tools act on: the selected object, or a selected
// light's marker. "X %3.3f, Y %3.3f, Z %3.3f" for Move (the target's
// position), Scale (the selected object's scale) and Pan (the
// camera's center); "Angle %3.0f" for Rotate (the rotation total, with a
// selection); "A %3.3f, E %3.3f, T %3.3f" for Orbit; "Zoom %3.3f" for Zoom
// (at most 10000); "X %3.3f, Y %3.3f" for the texture's offset and scale;
// "%3.3f" for its angle; "FOV %3.3f"; kEmptyReadout for Select and for tools
// without their object.
std::string StatusReadout(Tool tool, const SelectedItem& selection, const COGLObject* target,
                          const COGLViewport3D& viewport, float rotationTotal);

} // namespace zelvane
