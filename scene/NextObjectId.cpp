#include "scene/NextObjectId.h"

namespace zelvane {

std::uint32_t NextObjectId()
{
    static std::uint32_t next = 1;
    return next++;
}

} // namespace zelvane
