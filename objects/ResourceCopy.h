#pragma once
// Writing the working object file anew from another container's resources,
// as the clone and the rendering of sprites do: every resource of the
// source is visited, detached, in type and index order, and what is kept is
// added to the new file and written at once.

#include "resfile/CTGObjResFileSet.h"
#include "resfile/CTGResFile.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace zelvane {

// The set the working object file is written through: the ".iff" alone. A
// ".spf" companion would take the sprites, and the file copied beside a
// saved scene is the ".iff" only.
std::unique_ptr<CTGObjResFileSet> MakeWorkingFileTarget();

// Walks every resource of `source`; `visit(type, id, name, converted, data)`
// gets each one detached (the walk disposes of it afterwards) and returns 0
// or the error that ends the walk. Returns 0 or the first error, the
// source's own included.
template <typename Visit>
int32_t WalkResources(CTGResFile& source, Visit visit)
{
    const int16_t types = source.CountTypes();
    if (source.GetLastError() != kResOk)
        return source.GetLastError();
    for (int32_t t = 1; t <= types; ++t) {
        const ResType type = source.GetIndType(t);
        if (source.GetLastError() != kResOk)
            return source.GetLastError();
        const int16_t count = source.CountResources(type);
        if (source.GetLastError() != kResOk)
            return source.GetLastError();
        for (int32_t i = 1; i <= count; ++i) {
            ResHandle* data = source.GetIndResource(type, i, nullptr);
            if (!data)
                return source.GetLastError() != kResOk ? source.GetLastError() : kErrNoSuchResource;
            const bool converted = source.IsConverted(data);
            int16_t id = 0;
            std::string name;
            source.GetResId(data, id);
            source.GetResName(data, name);
            if (source.DetachResource(data) != kResOk)
                return source.GetLastError();
            const int32_t error = visit(type, id, name, converted, data);
            ResHandle::Dispose(data);
            if (error != kResOk)
                return error;
        }
    }
    return kResOk;
}

// Adds a copy of `bytes` to `target` as a new resource and writes it.
// Returns 0 or the target's error.
int32_t AddAndWrite(CTGResFile& target, std::span<const uint8_t> bytes, ResType type, int16_t id,
                    const std::string& name, bool converted);

} // namespace zelvane
