#pragma once
// A cube of side 2 scaled to half a unit, standing on the floor at the origin.

#include "scene/COGLObject.h"

namespace zelvane {

class COGLBox : public COGLObject {
public:
    COGLBox();

    // Outlines the cube itself in red, drawn slightly in front of its faces.
    void DrawCage() override;
};

} // namespace zelvane
