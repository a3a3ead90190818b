#include "scene/COGLDisk.h"

namespace zelvane {

COGLDisk::COGLDisk() : COGLPlane(ObjectKind::Disk) {}

} // namespace zelvane
