#include "resfile/ResourceMapRecord.h"

namespace zelvane {

namespace {

// Smallest possible encodings, used to bound counts read from the file.
constexpr uint32_t kMinGroupBytes = 8;  // type, count
constexpr uint32_t kMinEntryBytes = 9;  // offset, id, flags, terminator

} // namespace

void ResourceMapRecord::Serialize(CTGRecordStream& stream, uint32_t)
{
    const bool reading = stream.Mode() == StreamMode::Read;
    stream.U32(&index_.freeBytes);
    uint32_t typeCount = static_cast<uint32_t>(index_.groups.size());
    stream.U32(&typeCount);
    if (reading) {
        if (stream.Failed() || typeCount > stream.Remaining() / kMinGroupBytes) {
            stream.MarkFailed();
            index_.Clear();
            return;
        }
        index_.groups.resize(typeCount);
    }
    for (IffTypeGroup& group : index_.groups) {
        stream.U32(&group.type);
        uint32_t entryCount = static_cast<uint32_t>(group.entries.size());
        stream.U32(&entryCount);
        if (reading) {
            if (stream.Failed() || entryCount > stream.Remaining() / kMinEntryBytes) {
                stream.MarkFailed();
                index_.Clear();
                return;
            }
            group.entries.resize(entryCount);
        }
        for (IffEntry& entry : group.entries) {
            uint16_t id = static_cast<uint16_t>(entry.id);
            stream.U32(&entry.offset);
            stream.U16(&id);
            stream.U16(&entry.diskFlags);
            stream.String(entry.label);
            if (reading) {
                entry.id = static_cast<int16_t>(id);
                entry.memFlags = entry.diskFlags;
            }
        }
        if (stream.Failed()) {
            if (reading)
                index_.Clear();
            return;
        }
    }
}

} // namespace zelvane
