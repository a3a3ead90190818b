#include "scene/COGLCamera.h"

namespace zelvane {

void COGLCamera::RefreshDerivedVectors(const Matrix4& modelView)
{
    Matrix4 inverse = modelView;
    inverse.Invert(); // a singular matrix stays as read
    eye_ = inverse.TransformPoint(center_);
    up_ = inverse.TransformDirection({0, 1, 0});
    dvUp_ = up_.SnappedToAxis();
    dvRight_ = inverse.TransformDirection({1, 0, 0}).SnappedToAxis();
    dvFace_ = inverse.TransformDirection({0, 0, 1}).SnappedToAxis();
}

} // namespace zelvane
