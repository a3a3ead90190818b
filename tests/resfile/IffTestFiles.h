#pragma once
// Small IFF fixtures shared by the container tests.

#include "resfile/CTGIffFile.h"
#include "resfile/IffBuilder.h"
#include "resfile/ResType.h"
#include "tests/testkit/TestFiles.h"

#include <map>
#include <optional>
#include <string>
#include <tuple>
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

// A resource by type, id and attribute.
using ResourceKey = std::tuple<ResType, int32_t, uint8_t>;

struct Readout {
    std::vector<uint8_t> data;
    std::string name;
    uint32_t offset = 0;
};

// Every resource of the index that loads, as a reader opening the file sees
// it; none when the file does not open.
inline std::optional<std::map<ResourceKey, Readout>> ReadEveryResource(const std::string& path,
                                                                       IndexMode mode = IndexMode::PreferMap)
{
    CTGIffFile file;
    if (file.OpenContainer(path, mode) != kResOk)
        return std::nullopt;
    std::map<ResourceKey, Readout> all;
    for (const IffTypeGroup& group : file.Index().groups)
        for (size_t i = 0; i < group.entries.size(); ++i) {
            const IffEntry& entry = group.entries[i];
            if (ResHandle* data = file.GetIndResource(group.type, static_cast<int32_t>(i + 1), nullptr))
                all[{group.type, entry.id, entry.Attribute()}] = {{data->Bytes().begin(), data->Bytes().end()},
                                                                  entry.label, entry.offset};
        }
    return all;
}

} // namespace zelvane::test
