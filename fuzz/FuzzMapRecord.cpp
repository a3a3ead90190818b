// Decodes arbitrary bytes as a resource map record; whatever decodes must
// survive an encode and a second decode unchanged, and encoding that again
// must give the same bytes.

#include "fuzz/FuzzSupport.h"
#include "resfile/CTGRecord.h"
#include "resfile/IffIndex.h"
#include "resfile/ResHandle.h"
#include "resfile/ResourceMapRecord.h"

#include <algorithm>
#include <memory>
#include <span>
#include <string>

using namespace zelvane;

namespace {

using HandlePtr = std::unique_ptr<ResHandle, decltype(&ResHandle::Dispose)>;

HandlePtr Encode(IffIndex& index)
{
    ResourceMapRecord record(index);
    HandlePtr handle(CTGRecord::Write(record, kMapRecordVersion), &ResHandle::Dispose);
    fuzz::Check(handle != nullptr, "a decoded map could not be encoded");
    return handle;
}

void CheckSame(const IffIndex& a, const IffIndex& b)
{
    fuzz::Check(a.freeBytes == b.freeBytes, "free bytes changed in the round trip");
    fuzz::Check(a.groups.size() == b.groups.size(), "the number of type groups changed in the round trip");
    for (size_t g = 0; g < a.groups.size(); ++g) {
        const IffTypeGroup& x = a.groups[g];
        const IffTypeGroup& y = b.groups[g];
        const std::string where = "group " + std::to_string(g);
        fuzz::Check(x.type == y.type, "a group's type changed in the round trip", where);
        fuzz::Check(x.entries.size() == y.entries.size(), "a group's entry count changed in the round trip", where);
        for (size_t e = 0; e < x.entries.size(); ++e) {
            const IffEntry& p = x.entries[e];
            const IffEntry& q = y.entries[e];
            const std::string at = where + ", entry " + std::to_string(e);
            fuzz::Check(p.offset == q.offset, "an offset changed in the round trip", at);
            fuzz::Check(p.id == q.id, "an id changed in the round trip", at);
            fuzz::Check(p.diskFlags == q.diskFlags && p.memFlags == q.memFlags, "flags changed in the round trip", at);
            fuzz::Check(p.label == q.label, "a label changed in the round trip", at);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HandlePtr input(ResHandle::CreateFrom(std::span<const uint8_t>(data, size)), &ResHandle::Dispose);
    fuzz::Check(input != nullptr, "cannot copy the input into a handle");

    IffIndex decoded;
    ResourceMapRecord reader(decoded);
    if (!CTGRecord::Read(reader, *input))
        return 0;

    HandlePtr encoded = Encode(decoded);
    IffIndex again;
    ResourceMapRecord rereader(again);
    uint32_t version = 1;
    fuzz::Check(CTGRecord::Read(rereader, *encoded, &version), "an encoded map does not decode");
    fuzz::Check(version == kMapRecordVersion, "the encoded map has the wrong version");
    CheckSame(decoded, again);

    HandlePtr reencoded = Encode(again);
    fuzz::Check(reencoded->Size() == encoded->Size() &&
                    std::equal(encoded->Bytes().begin(), encoded->Bytes().end(), reencoded->Bytes().begin()),
                "encoding is not stable");
    return 0;
}
