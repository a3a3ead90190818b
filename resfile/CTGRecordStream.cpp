#include "resfile/CTGRecordStream.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"

#include <algorithm>

namespace zelvane {

namespace {

template <typename Value> Value ReadValue(ByteReader& in, ByteOrder order)
{
    if constexpr (sizeof(Value) == 4)
        return in.u32(order);
    else if constexpr (sizeof(Value) == 2)
        return in.u16(order);
    else
        return in.u8();
}

template <typename Value> void WriteValue(ByteSpanWriter& out, Value value, ByteOrder order)
{
    if constexpr (sizeof(Value) == 4)
        out.u32(value, order);
    else if constexpr (sizeof(Value) == 2)
        out.u16(value, order);
    else
        out.u8(value);
}

} // namespace

CTGRecordStream::CTGRecordStream() = default;

CTGRecordStream::CTGRecordStream(uint8_t* buffer, uint32_t size, StreamMode mode, StreamSwap swap)
    : buffer_(buffer), size_(size), mode_(mode), order_(swap == StreamSwap::On ? ByteOrder::Big : ByteOrder::Little)
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

template <typename Value> void CTGRecordStream::Scalars(Value* values, uint32_t count, ByteOrder order)
{
    const uint64_t bytes = uint64_t{count} * sizeof(Value);
    if (!Fits(bytes)) {
        if (mode_ == StreamMode::Read)
            std::fill_n(values, count, Value{0});
        failed_ = true;
        return;
    }
    if (mode_ == StreamMode::Read) {
        ByteReader in = ByteReader(Block()).sub(position_, bytes);
        for (uint32_t i = 0; i < count; ++i)
            values[i] = ReadValue<Value>(in, order);
    } else if (mode_ == StreamMode::Write) {
        ByteSpanWriter out(Block().subspan(position_, bytes));
        for (uint32_t i = 0; i < count; ++i)
            WriteValue<Value>(out, values[i], order);
    }
    position_ += static_cast<uint32_t>(bytes);
}

void CTGRecordStream::U32(uint32_t* values, uint32_t count) { Scalars(values, count, order_); }
void CTGRecordStream::U32Raw(uint32_t* values, uint32_t count) { Scalars(values, count, ByteOrder::Little); }
void CTGRecordStream::U16(uint16_t* values, uint32_t count) { Scalars(values, count, order_); }
void CTGRecordStream::Bytes(uint8_t* values, uint32_t count) { Scalars(values, count, order_); }

void CTGRecordStream::String(std::string& text)
{
    uint32_t length = 0;
    if (mode_ == StreamMode::Read) {
        if (failed_ || position_ >= size_) {
            failed_ = true;
            text.clear();
            return;
        }
        ByteReader in = ByteReader(Block()).sub(position_, size_ - position_);
        text = in.cstring(in.size());
        if (in.position() == text.size()) { // no terminator inside the block
            failed_ = true;
            text.clear();
            return;
        }
        length = static_cast<uint32_t>(text.size());
    } else {
        length = static_cast<uint32_t>(text.size());
        if (!Fits(uint64_t{length} + 1)) {
            failed_ = true;
            return;
        }
        if (mode_ == StreamMode::Write) {
            ByteSpanWriter out(Block().subspan(position_, length + 1));
            out.text(text);
            out.u8(0);
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
