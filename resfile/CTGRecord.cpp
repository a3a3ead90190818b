#include "resfile/CTGRecord.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"

#include <array>

namespace zelvane {

namespace {

// Byte 0 of the prefix: 0 for a record written little-endian, as this
// program writes them; anything else marks the other byte order.
constexpr uint8_t kLittleEndianMark = 0;
constexpr size_t kVersionPos = 4;

} // namespace

CTGRecord::~CTGRecord() = default;

ResHandle* CTGRecord::Write(CTGRecord& record, uint32_t version)
{
    CTGRecordStream measure;
    record.Serialize(measure, version);
    if (measure.Failed() || measure.Position() > UINT32_MAX - kRecordPrefixSize)
        return nullptr;
    ResHandle* handle = ResHandle::Create(kRecordPrefixSize + measure.Position());
    if (!handle)
        return nullptr;
    ByteSpanWriter prefix(handle->Bytes().first(kRecordPrefixSize));
    prefix.u8(kLittleEndianMark);
    prefix.bytes(std::array<uint8_t, 3>{});
    prefix.u32le(version);
    prefix.u32le(record.GetType());
    CTGRecordStream stream(handle->Data() + kRecordPrefixSize, measure.Position(), StreamMode::Write,
                           StreamSwap::Off);
    record.Serialize(stream, version);
    return handle;
}

bool CTGRecord::Read(CTGRecord& record, const ResHandle& handle, uint32_t* version)
{
    if (handle.Size() < kRecordPrefixSize)
        return false;
    ByteReader prefix(handle.Bytes().first(kRecordPrefixSize));
    const bool swap = prefix.u8() != kLittleEndianMark;
    prefix.seek(kVersionPos);
    const uint32_t storedVersion = prefix.u32(swap ? ByteOrder::Big : ByteOrder::Little);
    if (version)
        *version = storedVersion;
    // The stream never writes in read mode; it takes a mutable pointer only
    // because the same cursor serves all three modes.
    uint8_t* data = const_cast<uint8_t*>(handle.Data());
    CTGRecordStream stream(data + kRecordPrefixSize, handle.Size() - kRecordPrefixSize, StreamMode::Read,
                           swap ? StreamSwap::On : StreamSwap::Off);
    record.Serialize(stream, storedVersion);
    return !stream.Failed();
}

} // namespace zelvane
