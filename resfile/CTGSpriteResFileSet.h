#pragma once
// An object file whose sprites may live in a companion ".spf" file: when both
// "x.iff" and "x.spf" open, new sprite-like resources go to the ".spf" file
// and everything else to the ".iff" file.

#include "resfile/CTGExtResFileSet.h"

namespace zelvane {

class CTGSpriteResFileSet : public CTGExtResFileSet {
public:
    CTGSpriteResFileSet();
    [[nodiscard]] int32_t OpenContainer(std::string_view path) override;
};

} // namespace zelvane
