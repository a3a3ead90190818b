#pragma once
// Small IFF fixtures shared by the container tests.

#include "resfile/IffBuilder.h"
#include "resfile/ResType.h"
#include "tests/testkit/TestFiles.h"

#include <string>
#include <vector>

namespace zelvane::test {

inline std::vector<uint8_t> Filled(size_t size, uint8_t value)
{
    return std::vector<uint8_t>(size, value);
}

// OBJD 128 "chair", STR# 128 and 129, SPR2 200; optionally with a map.
inline std::vector<uint8_t> SmallObjectFile(IffBuilder::Map map)
{
    IffBuilder b;
    b.AddChunk(kTypeOBJD, 128, "chair", Filled(216, 1));
    b.AddChunk(kTypeSTRList, 128, "names", Filled(10, 2));
    b.AddChunk(kTypeSTRList, 129, "", Filled(3, 3), 0);
    b.AddChunk(kTypeSPR2, 200, "sprite", Filled(500, 4), 0);
    return b.Build(map);
}

} // namespace zelvane::test
