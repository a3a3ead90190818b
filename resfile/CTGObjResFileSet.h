#pragma once
// The container the application opens object files with: "x.iff", its
// "x.spf" sprite companion and a "x.dir" folder, in that order.

#include "resfile/CTGSpriteResFileSet.h"

namespace zelvane {

class CTGObjResFileSet : public CTGSpriteResFileSet {
public:
    CTGObjResFileSet();
};

} // namespace zelvane
