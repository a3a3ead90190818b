#include "objects/GuidSource.h"

#include "bytes/ByteReader.h"

#include <array>
#include <sys/random.h>

namespace zelvane {

uint32_t GuidSource::NewGuid()
{
    std::array<uint8_t, 16> uuid{};
    if (::getrandom(uuid.data(), uuid.size(), 0) != static_cast<ssize_t>(uuid.size()))
        return 0;
    // Version 4, variant 1, as any UUID generator would set; only the first 32 bits are kept.
    uuid[6] = static_cast<uint8_t>((uuid[6] & 0x0F) | 0x40);
    uuid[8] = static_cast<uint8_t>((uuid[8] & 0x3F) | 0x80);
    return ByteReader(uuid).u32be();
}

uint32_t GuidSource::NewUnusedGuid(const std::function<bool(uint32_t)>& taken, int attempts)
{
    for (int i = 0; i < attempts; ++i) {
        const uint32_t guid = NewGuid();
        if (guid != 0 && !(taken && taken(guid)))
            return guid;
    }
    return 0;
}

} // namespace zelvane
