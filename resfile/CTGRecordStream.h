#pragma once
// A cursor that reads, writes or measures a record in a memory block, with
// optional byte reversal of 16- and 32-bit values. Reading checks every value
// against the block's size: a read past the end marks the stream failed and
// yields zeros, so a damaged record can never be read outside its block.
// Values go through the project's byte cursors: little-endian as this
// program writes records, big-endian when swapping is on.

#include "bytes/ByteOrder.h"

#include <cstdint>
#include <span>
#include <string>

namespace zelvane {

enum class StreamMode : int32_t { Read = 0, Write = 1, Measure = 2 };
enum class StreamSwap : uint16_t { Off = 0, On = 1 };

class CTGRecordStream {
public:
    // A measuring stream: only the position advances.
    CTGRecordStream();
    CTGRecordStream(uint8_t* buffer, uint32_t size, StreamMode mode, StreamSwap swap);

    StreamMode Mode() const { return mode_; }
    uint32_t Position() const { return position_; }
    uint32_t Size() const { return size_; }
    // Bytes left to read (0 for a measuring stream).
    uint32_t Remaining() const { return position_ <= size_ ? size_ - position_ : 0; }
    // True once a read or write did not fit the block.
    bool Failed() const { return failed_; }
    // For records that find their own fields inconsistent (a count that cannot fit).
    void MarkFailed() { failed_ = true; }

    void U32(uint32_t* values, uint32_t count = 1);
    // Never reversed: for values stored in the writer's order whatever the mark says.
    void U32Raw(uint32_t* values, uint32_t count = 1);
    void U16(uint16_t* values, uint32_t count = 1);
    void Bytes(uint8_t* values, uint32_t count);
    // Reads or writes NUL-terminated text and moves to the next even position.
    // A read without a terminator inside the block fails the stream.
    void String(std::string& text);

private:
    bool Fits(uint64_t count);
    std::span<uint8_t> Block() const { return {buffer_, size_}; }
    template <typename Value> void Scalars(Value* values, uint32_t count, ByteOrder order);

    uint8_t* buffer_ = nullptr;
    uint32_t size_ = 0;
    uint32_t position_ = 0;
    StreamMode mode_ = StreamMode::Measure;
    ByteOrder order_ = ByteOrder::Little;
    bool failed_ = false;
};

} // namespace zelvane
