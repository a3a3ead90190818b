#include "resfile/CTGRecord.h"

#include "bytes/ByteOrder.h"

#include <cstring>

namespace zelvane {

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
    uint8_t* data = handle->Data();
    const uint32_t type = record.GetType();
    data[0] = 0;
    data[1] = data[2] = data[3] = 0;
    std::memcpy(data + 4, &version, 4);
    std::memcpy(data + 8, &type, 4);
    CTGRecordStream stream(data + kRecordPrefixSize, measure.Position(), StreamMode::Write, StreamSwap::Off);
    record.Serialize(stream, version);
    return handle;
}

bool CTGRecord::Read(CTGRecord& record, const ResHandle& handle, uint32_t* version)
{
    if (handle.Size() < kRecordPrefixSize)
        return false;
    // The stream never writes in read mode; it takes a mutable pointer only
    // because the same cursor serves all three modes.
    uint8_t* data = const_cast<uint8_t*>(handle.Data());
    const bool swap = static_cast<int8_t>(data[0]) != 0;
    uint32_t storedVersion;
    std::memcpy(&storedVersion, data + 4, 4);
    if (swap)
        storedVersion = Swap32(storedVersion);
    if (version)
        *version = storedVersion;
    CTGRecordStream stream(data + kRecordPrefixSize, handle.Size() - kRecordPrefixSize, StreamMode::Read,
                           swap ? StreamSwap::On : StreamSwap::Off);
    record.Serialize(stream, storedVersion);
    return !stream.Failed();
}

} // namespace zelvane
