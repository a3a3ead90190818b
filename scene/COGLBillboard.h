#pragma once
// A plane that always faces the viewer, whatever its orientation, drawn with
// its texture's own colours and alpha (pixels of alpha 0.1 or less are left
// out) and blended over what lies behind it.

#include "scene/COGLPlane.h"

namespace zelvane {

class COGLBillboard : public COGLPlane {
public:
    COGLBillboard();

    // Shaded: blended without depth writes and without a material; textured in
    // replace mode with the alpha test.
    void Draw(DrawFlags flags) override;
    // Keeps the translation of the current matrix and drops its turn and
    // scale, so that the plane faces the screen; the orientation is ignored.
    void ApplyRotation() const override;
};

} // namespace zelvane
