#include "objects/ObjectDefinition.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"

#include <algorithm>
#include <cassert>

namespace zelvane {

ObjectDefinition::ObjectDefinition() = default;

void ObjectDefinition::KeepAsStored(uint8_t*, uint32_t) {}

ObjectDefinition ObjectDefinition::FromBytes(std::span<const uint8_t> stored)
{
    ObjectDefinition definition;
    const size_t kept = std::min(stored.size(), objd::kRecordSize);
    std::copy_n(stored.begin(), kept, definition.record_.begin());
    if (stored.size() > objd::kRecordSize)
        definition.tail_.assign(stored.begin() + objd::kRecordSize, stored.end());
    definition.storedSize_ = stored.size();

    // A block too short to hold a version has none, not a zero-padded one.
    const uint32_t version = stored.size() >= 4 ? definition.Version() : 0;
    if (version == objd::kOldVersion136 || version == objd::kOldVersion137) {
        // The upgrade zeroes whole words from the old length on, so the odd
        // last byte of an odd-length record goes too.
        definition.SetInt32At(objd::kVersion, static_cast<int32_t>(objd::kCurrentVersion));
        for (size_t n = stored.size() / 2; n < objd::kWordCount; ++n)
            definition.SetWord(n, 0);
    } else {
        definition.complete_ = stored.size() >= objd::kRecordSize;
    }
    return definition;
}

int16_t ObjectDefinition::Word(size_t n) const
{
    assert(n < objd::kWordCount);
    if (n >= objd::kWordCount)
        return 0;
    ByteReader r(record_);
    r.seek(2 * n);
    return r.i16le();
}

void ObjectDefinition::SetWord(size_t n, int16_t value)
{
    assert(n < objd::kWordCount);
    if (n >= objd::kWordCount)
        return;
    ByteSpanWriter w(record_);
    w.seek(2 * n);
    w.u16le(static_cast<uint16_t>(value));
}

int32_t ObjectDefinition::Int32At(size_t offset) const
{
    assert(offset <= objd::kRecordSize - 4);
    if (offset > objd::kRecordSize - 4)
        return 0;
    ByteReader r(record_);
    r.seek(offset);
    return r.i32le();
}

void ObjectDefinition::SetInt32At(size_t offset, int32_t value)
{
    assert(offset <= objd::kRecordSize - 4);
    if (offset > objd::kRecordSize - 4)
        return;
    ByteSpanWriter w(record_);
    w.seek(offset);
    w.u32le(static_cast<uint32_t>(value));
}

std::vector<uint8_t> ObjectDefinition::StoredBytes() const
{
    std::vector<uint8_t> bytes(record_.begin(), record_.end());
    bytes.insert(bytes.end(), tail_.begin(), tail_.end());
    return bytes;
}

} // namespace zelvane
