// Opens arbitrary bytes as an IFF object file, through the map and by a scan,
// and loads every resource the index lists. Besides the sanitizers it checks
// that what a load hands out is exactly the chunk's bytes in the file, that
// the map chunk never shows, and that reading leaves the file untouched.

#include "bytes/ByteReader.h"
#include "fuzz/FuzzSupport.h"
#include "resfile/CTGIffFile.h"
#include "resfile/IffLayout.h"
#include "resfile/ResErrors.h"

#include <cstring>
#include <string>

using namespace zelvane;

namespace {

uint32_t BigEndian32(const uint8_t* p)
{
    return ByteReader(std::span(p, 4)).u32be();
}

void CheckLoaded(const IffIndex& index, const uint8_t* data, size_t size)
{
    for (const IffTypeGroup& group : index.groups) {
        fuzz::Check(group.type != kTypeMap, "the map chunk is listed as a resource");
        for (const IffEntry& entry : group.entries) {
            if (!entry.data)
                continue;
            const uint64_t start = uint64_t{entry.offset} + kChunkHeaderSize;
            const uint64_t length = entry.data->Size();
            fuzz::Check(start <= size && length <= size - start, "a loaded resource reaches past the file's end",
                        "offset " + std::to_string(entry.offset));
            const uint8_t* header = data + entry.offset;
            fuzz::Check(BigEndian32(header) == group.type, "a resource loaded from a chunk of another type");
            fuzz::Check(BigEndian32(header + 4) == length + kChunkHeaderSize,
                        "a resource's length differs from its chunk's");
            fuzz::Check(length == 0 || std::memcmp(entry.data->Data(), data + start, length) == 0,
                        "a resource's bytes differ from its chunk's");
        }
    }
}

void OpenAndLoadAll(const std::string& path, IndexMode mode, const uint8_t* data, size_t size)
{
    CTGIffFile file;
    if (file.OpenContainer(path, mode) != kResOk)
        return;
    if (mode == IndexMode::ForceScan)
        fuzz::Check(file.IndexSourceUsed() == IndexSource::Scan, "a forced scan used the map");

    const int16_t types = file.CountTypes();
    fuzz::Check(types >= 0 && static_cast<size_t>(types) <= file.Index().groups.size(), "type count out of range");
    for (int32_t t = 1; t <= types; ++t) {
        const ResType type = file.GetIndType(t);
        fuzz::Check(file.GetLastError() == kResOk, "GetIndType failed inside the type count");
        const int16_t count = file.CountResources(type);
        for (int32_t i = 1; i <= count; ++i) {
            ResHandle* handle = file.GetIndResource(type, i, nullptr);
            fuzz::Check((handle != nullptr) == (file.GetLastError() == kResOk),
                        "a load's result disagrees with its error code");
        }
    }
    file.GetIndType(types + 1);
    fuzz::Check(file.GetLastError() == kErrTypeIndexRange, "a type index past the count did not fail");
    CheckLoaded(file.Index(), data, size);
    fuzz::Check(file.CloseContainer() == kResOk, "closing an unchanged file failed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = fuzz::ScratchFolder() + "/input.iff";
    fuzz::WriteWholeFile(path, data, size);
    OpenAndLoadAll(path, IndexMode::PreferMap, data, size);
    OpenAndLoadAll(path, IndexMode::ForceScan, data, size);
    const std::vector<uint8_t> after = fuzz::ReadWholeFile(path);
    fuzz::Check(after.size() == size && (size == 0 || std::memcmp(after.data(), data, size) == 0),
                "opening and reading changed the file");
    return 0;
}
