#pragma once
// A movable memory block carrying one resource's data. A container owns every
// handle registered with it until the handle is detached; identity (the
// pointer) is what containers look handles up by.

#include <cstdint>
#include <memory>
#include <span>

namespace zelvane {

inline constexpr uint8_t kNewBlockFill = 0xA3;

class ResHandle {
public:
    // A new block of `size` bytes filled with 0xA3; nullptr when memory runs out.
    static ResHandle* Create(uint32_t size);
    // A new block holding a copy of `bytes`; nullptr when memory runs out.
    static ResHandle* CreateFrom(std::span<const uint8_t> bytes);
    static void Dispose(ResHandle* handle);

    uint8_t* Data() { return data_.get(); }
    const uint8_t* Data() const { return data_.get(); }
    uint32_t Size() const { return size_; }
    std::span<uint8_t> Bytes() { return {data_.get(), size_}; }
    std::span<const uint8_t> Bytes() const { return {data_.get(), size_}; }

    // Reallocates to `newSize`, keeping the common prefix (new bytes are 0xA3).
    // On failure the old block stays and false is returned.
    [[nodiscard]] bool Resize(uint32_t newSize);

private:
    ResHandle() = default;
    std::unique_ptr<uint8_t[]> data_;
    uint32_t size_ = 0;
};

// Size of a possibly absent handle: 0 for none.
inline uint32_t HandleSize(const ResHandle* handle) { return handle ? handle->Size() : 0; }

} // namespace zelvane
