#include "scene/COGLRod.h"

namespace zelvane {

COGLRod::COGLRod() : COGLCylinder(ObjectKind::Rod) {}

} // namespace zelvane
