#pragma once
// The record protocol: an object that serializes its fields through a
// CTGRecordStream, stored in a ResHandle behind a 12-byte prefix (byte-order
// mark, three zero bytes, version, type code).

#include "resfile/CTGRecordStream.h"
#include "resfile/ResHandle.h"
#include "resfile/ResType.h"

#include <cstdint>

namespace zelvane {

inline constexpr uint32_t kRecordPrefixSize = 12;

class CTGRecord {
public:
    virtual ~CTGRecord();
    // Reads, writes or measures the fields, according to the stream's mode.
    virtual void Serialize(CTGRecordStream& stream, uint32_t version) = 0;
    virtual ResType GetType() const = 0;

    // Measures, then writes into a new handle; nullptr when memory runs out.
    static ResHandle* Write(CTGRecord& record, uint32_t version);
    // Reads the record from a handle; byte 0 not 0 turns byte reversal on.
    // False when the handle is shorter than the prefix or the fields do not fit.
    [[nodiscard]] static bool Read(CTGRecord& record, const ResHandle& handle, uint32_t* version = nullptr);
};

} // namespace zelvane
