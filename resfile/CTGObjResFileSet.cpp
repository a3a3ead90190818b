#include "resfile/CTGObjResFileSet.h"

namespace zelvane {

CTGObjResFileSet::CTGObjResFileSet()
{
    ClearRegistrations();
    RegisterExtension(ContainerKind::Iff, ".iff");
    RegisterExtension(ContainerKind::Iff, ".spf");
    RegisterExtension(ContainerKind::Directory, ".dir");
}

} // namespace zelvane
