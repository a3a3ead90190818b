#pragma once
// Writes the rendered graphics into the working object file in one step:
// the whole file is written anew beside it, with the planned sprites,
// palette, draw groups and definitions in place of the old ones and every
// other resource as it was, and moved over it only when complete
// (resfile/FileReplacement). On any failure the working object file is left
// byte for byte as it was.

#include "bake/BakePlan.h"
#include "bake/ObjectSprites.h"

#include <cstdint>
#include <string>

namespace zelvane {

class CTGResFile;

struct BakeWriteResult {
    int32_t error = 0;   // 0, or the resource library's code
    std::string message; // empty on success, else what failed
    bool ok() const { return error == 0 && message.empty(); }
};

// Reads every resource from `source` (the working object file, open) and
// writes the new file to `targetPath`, which is usually the same file.
BakeWriteResult WriteBake(CTGResFile& source, const std::string& targetPath, const BakePlan& plan,
                          const ObjectSprites& sprites);

} // namespace zelvane
