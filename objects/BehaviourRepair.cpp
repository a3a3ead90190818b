#include "objects/BehaviourRepair.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteSpanWriter.h"

namespace zelvane {

namespace {

constexpr uint32_t kInstructionSize = 12;
constexpr uint32_t kCounted16CountPos = 2;
constexpr uint32_t kCounted16Start = 12;
constexpr uint32_t kCounted32Start = 13;
constexpr uint32_t kCounted32CountPos = 9;
constexpr uint32_t kGuidPos = 4;
constexpr uint32_t kOperandKindPos = 8;

bool RefersToGuid(uint16_t opcode, uint8_t operandKind)
{
    const uint16_t code = opcode & 0x7FFF;
    if (code >= 256)
        return false;
    if (code == 31) {
        const uint8_t kind = operandKind & 0x7F;
        return kind == 4 || kind == 7;
    }
    return code == 32 || code == 42;
}

} // namespace

BehaviourLayout LayoutOfBehaviour(std::span<const uint8_t> data)
{
    ByteReader r(data);
    const uint16_t version = r.u16le();
    if (!r.ok())
        return BehaviourLayout::Unknown;
    if (version >= 0x8000 && version <= 0x8002)
        return data.size() >= kCounted16Start ? BehaviourLayout::Counted16 : BehaviourLayout::Unknown;
    if (version == 0x8003)
        return data.size() >= kCounted32Start ? BehaviourLayout::Counted32 : BehaviourLayout::Unknown;
    return BehaviourLayout::Unknown;
}

BehaviourRepairResult RepairBehaviourGuids(std::span<uint8_t> data, const std::map<uint32_t, uint32_t>& guidMap)
{
    BehaviourRepairResult result;
    result.layout = LayoutOfBehaviour(data);
    // The layout guarantees the header is there.
    ByteReader header(data);
    uint32_t start = 0;
    switch (result.layout) {
    case BehaviourLayout::Counted16: {
        header.seek(kCounted16CountPos);
        const int16_t count = header.i16le();
        result.declaredInstructions = count > 0 ? static_cast<uint32_t>(count) : 0;
        start = kCounted16Start;
        break;
    }
    case BehaviourLayout::Counted32:
        header.seek(kCounted32CountPos);
        result.declaredInstructions = header.u32le();
        start = kCounted32Start;
        break;
    case BehaviourLayout::Unknown:
        return result;
    }
    const uint32_t fits = static_cast<uint32_t>((data.size() - start) / kInstructionSize);
    result.instructionsInData = result.declaredInstructions < fits ? result.declaredInstructions : fits;
    for (uint32_t i = 0; i < result.instructionsInData; ++i) {
        const std::span<uint8_t> instruction = data.subspan(start + i * kInstructionSize, kInstructionSize);
        ByteReader in(instruction);
        const uint16_t opcode = in.u16le();
        in.seek(kOperandKindPos);
        if (!RefersToGuid(opcode, in.u8()))
            continue;
        in.seek(kGuidPos);
        const uint32_t oldGuid = in.u32le();
        const auto it = guidMap.find(oldGuid);
        if (it == guidMap.end())
            continue;
        ByteSpanWriter out(instruction);
        out.seek(kGuidPos);
        out.u32le(it->second);
        result.patches.push_back({i, opcode, oldGuid, it->second});
    }
    return result;
}

} // namespace zelvane
