#include "report/CheckedAlloc.h"

#include "report/ErrorLog.h"

#include <cstdlib>

namespace zelvane {

void* CheckedAlloc(std::size_t bytes)
{
    // malloc(0) may legally return null, which must not look like exhaustion.
    void* memory = std::malloc(bytes ? bytes : 1);
    if (!memory)
        FatalError("Out of memory");
    return memory;
}

} // namespace zelvane
