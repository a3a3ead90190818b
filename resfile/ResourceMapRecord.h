#pragma once
// The resource map ('rsmp') as a record: free bytes, then per type group its
// type code and entries (offset, id, flags, label). Decoding validates every
// count against the bytes that remain, so a damaged map fails instead of
// allocating absurd amounts or reading outside its block.

#include "resfile/CTGRecord.h"
#include "resfile/IffIndex.h"

namespace zelvane {

inline constexpr uint32_t kMapRecordVersion = 0;

class ResourceMapRecord final : public CTGRecord {
public:
    explicit ResourceMapRecord(IffIndex& index) : index_(index) {}

    void Serialize(CTGRecordStream& stream, uint32_t version) override;
    ResType GetType() const override { return kTypeMap; }

private:
    IffIndex& index_;
};

} // namespace zelvane
