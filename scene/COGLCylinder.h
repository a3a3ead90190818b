#pragma once
// A capped tube of radius 0.1 and length 2 along z, centred on its position.

#include "scene/COGLObject.h"

namespace zelvane {

class COGLCylinder : public COGLObject {
public:
    COGLCylinder();

    void DrawForPicking() override;

protected:
    // For the rod and the cone, which share the cylinder's placement.
    explicit COGLCylinder(ObjectKind kind);

    // The tube runs from z = 0 to 2 in its list: moved back by the scaled half
    // length so that it is centred on the position.
    void ApplyShapeOffset() const override;
};

} // namespace zelvane
