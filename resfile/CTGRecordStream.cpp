#include "resfile/CTGRecordStream.h"

#include "bytes/ByteOrder.h"

#include <cstring>

namespace zelvane {

CTGRecordStream::CTGRecordStream() = default;

CTGRecordStream::CTGRecordStream(uint8_t* buffer, uint32_t size, StreamMode mode, StreamSwap swap)
    : buffer_(buffer), size_(size), mode_(mode), swap_(static_cast<uint16_t>(swap))
{
}

bool CTGRecordStream::Fits(uint64_t count)
{
    if (mode_ == StreamMode::Measure)
        return !failed_ && count <= UINT32_MAX - position_;
    if (failed_ || position_ > size_ || count > size_ - position_) {
        failed_ = true;
        return false;
    }
    return true;
}

void CTGRecordStream::Scalars(void* values, uint32_t count, uint32_t width, bool mayReverse)
{
    const uint64_t bytes = static_cast<uint64_t>(count) * width;
    if (!Fits(bytes)) {
        if (mode_ == StreamMode::Read)
            std::memset(values, 0, static_cast<size_t>(bytes));
        if (mode_ == StreamMode::Measure)
            failed_ = true;
        return;
    }
    if (mode_ != StreamMode::Measure) {
        auto* items = static_cast<uint8_t*>(values);
        uint8_t* block = buffer_ + position_;
        if (mode_ == StreamMode::Read)
            std::memcpy(items, block, bytes);
        else
            std::memcpy(block, items, bytes);
        if (mayReverse && swap_ != 0) {
            uint8_t* target = mode_ == StreamMode::Read ? items : block;
            for (uint32_t i = 0; i < count; ++i) {
                if (width == 2) {
                    uint16_t v;
                    std::memcpy(&v, target + i * 2, 2);
                    v = Swap16(v);
                    std::memcpy(target + i * 2, &v, 2);
                } else {
                    uint32_t v;
                    std::memcpy(&v, target + i * 4, 4);
                    v = Swap32(v);
                    std::memcpy(target + i * 4, &v, 4);
                }
            }
        }
    }
    position_ += static_cast<uint32_t>(bytes);
}

void CTGRecordStream::U32(uint32_t* values, uint32_t count) { Scalars(values, count, 4, true); }
void CTGRecordStream::U32Raw(uint32_t* values, uint32_t count) { Scalars(values, count, 4, false); }
void CTGRecordStream::U16(uint16_t* values, uint32_t count) { Scalars(values, count, 2, true); }
void CTGRecordStream::Bytes(uint8_t* values, uint32_t count) { Scalars(values, count, 1, false); }

void CTGRecordStream::String(std::string& text)
{
    uint32_t length = 0;
    if (mode_ == StreamMode::Read) {
        if (failed_ || position_ >= size_) {
            failed_ = true;
            text.clear();
            return;
        }
        const void* zero = std::memchr(buffer_ + position_, 0, size_ - position_);
        if (!zero) {
            failed_ = true;
            text.clear();
            return;
        }
        length = static_cast<uint32_t>(static_cast<const uint8_t*>(zero) - (buffer_ + position_));
        text.assign(reinterpret_cast<const char*>(buffer_ + position_), length);
    } else {
        length = static_cast<uint32_t>(text.size());
        if (!Fits(static_cast<uint64_t>(length) + 1)) {
            failed_ = true;
            return;
        }
        if (mode_ == StreamMode::Write) {
            std::memcpy(buffer_ + position_, text.data(), length);
            buffer_[position_ + length] = 0;
        }
    }
    position_ += length + 1;
    // The pad byte is skipped, not written: a new block keeps its fill byte there.
    if (position_ & 1u) {
        if (mode_ != StreamMode::Measure && position_ >= size_) {
            // A string that ends the block exactly needs no pad to be read back.
            position_ = size_;
            return;
        }
        ++position_;
    }
}

} // namespace zelvane
