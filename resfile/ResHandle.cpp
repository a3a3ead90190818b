#include "resfile/ResHandle.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace zelvane {

namespace {

std::unique_ptr<uint8_t[]> AllocateFilled(uint32_t size)
{
    // Zero-sized resources are legal; keep a real (1-byte) block so Data() is never null.
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[size ? size : 1]);
    if (block)
        std::memset(block.get(), kNewBlockFill, size ? size : 1);
    return block;
}

} // namespace

ResHandle* ResHandle::Create(uint32_t size)
{
    auto block = AllocateFilled(size);
    if (!block)
        return nullptr;
    auto* handle = new (std::nothrow) ResHandle();
    if (!handle)
        return nullptr;
    handle->data_ = std::move(block);
    handle->size_ = size;
    return handle;
}

ResHandle* ResHandle::CreateFrom(std::span<const uint8_t> bytes)
{
    if (bytes.size() > UINT32_MAX)
        return nullptr;
    ResHandle* handle = Create(static_cast<uint32_t>(bytes.size()));
    if (handle && !bytes.empty())
        std::memcpy(handle->Data(), bytes.data(), bytes.size());
    return handle;
}

void ResHandle::Dispose(ResHandle* handle)
{
    delete handle;
}

bool ResHandle::Resize(uint32_t newSize)
{
    auto block = AllocateFilled(newSize);
    if (!block)
        return false;
    std::memcpy(block.get(), data_.get(), std::min(size_, newSize));
    data_ = std::move(block);
    size_ = newSize;
    return true;
}

} // namespace zelvane
