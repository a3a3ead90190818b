#include "tests/plugins/ChunkCensus.h"

#include "bytes/ByteReader.h"

#include <algorithm>

namespace zelvane::test {

namespace {

uint32_t Little(const std::vector<uint8_t>& bytes, size_t at, int size)
{
    ByteReader field = ByteReader(bytes).sub(at, static_cast<size_t>(size));
    return size == 2 ? field.u16le() : field.u32le();
}

// Walks the chunks in [begin, end); `census` collects what it finds.
void Walk(const std::vector<uint8_t>& bytes, size_t begin, size_t end, ChunkCensus& census)
{
    size_t at = begin;
    while (at + 6 <= end && census.error.empty()) {
        const uint32_t id = Little(bytes, at, 2);
        const uint32_t length = Little(bytes, at + 2, 4);
        if (length < 6 || length > end - at) {
            census.error = "chunk " + std::to_string(id) + " at " + std::to_string(at) + " does not fit its parent";
            return;
        }
        const size_t data = at + 6, next = at + length;
        switch (id) {
        case 0x4D4D:
        case 0x3D3D:
            Walk(bytes, data, next, census);
            break;
        case 0x4000: { // the name, then sub-chunks
            size_t nameEnd = data;
            while (nameEnd < next && bytes[nameEnd] != 0)
                ++nameEnd;
            const std::string name(bytes.begin() + static_cast<long>(data), bytes.begin() + static_cast<long>(nameEnd));
            const size_t before = census.meshes.size();
            Walk(bytes, std::min(nameEnd + 1, next), next, census);
            for (size_t m = before; m < census.meshes.size(); ++m)
                census.meshes[m].objectName = name;
            break;
        }
        case 0x4100:
            census.meshes.emplace_back();
            Walk(bytes, data, next, census);
            break;
        case 0x4110:
        case 0x4120:
        case 0x4140:
            if (census.meshes.empty() || length < 8) {
                census.error = "list chunk " + std::to_string(id) + " at " + std::to_string(at) + " outside a mesh";
                return;
            }
            (id == 0x4110 ? census.meshes.back().vertices
                          : id == 0x4120 ? census.meshes.back().faces : census.meshes.back().mapping) =
                Little(bytes, data, 2);
            break;
        default:
            break;
        }
        at = next;
    }
}

} // namespace

ChunkCensus CountMeshes(const std::vector<uint8_t>& bytes)
{
    ChunkCensus census;
    Walk(bytes, 0, bytes.size(), census);
    return census;
}

} // namespace zelvane::test
