#include "objects/BehaviourRepair.h"

namespace zelvane {

namespace {

constexpr uint32_t kInstructionSize = 12;
constexpr uint32_t kCounted16Start = 12;
constexpr uint32_t kCounted32Start = 13;
constexpr uint32_t kCounted32CountPos = 9;
constexpr uint32_t kGuidPos = 4;
constexpr uint32_t kOperandKindPos = 8;

uint32_t Load32(const uint8_t* p)
{
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

void Store32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

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
    if (data.size() < 2)
        return BehaviourLayout::Unknown;
    const uint16_t version = static_cast<uint16_t>(data[0] | (data[1] << 8));
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
    uint32_t start = 0;
    switch (result.layout) {
    case BehaviourLayout::Counted16: {
        const auto count = static_cast<int16_t>(data[2] | (data[3] << 8));
        result.declaredInstructions = count > 0 ? static_cast<uint32_t>(count) : 0;
        start = kCounted16Start;
        break;
    }
    case BehaviourLayout::Counted32:
        result.declaredInstructions = Load32(data.data() + kCounted32CountPos);
        start = kCounted32Start;
        break;
    case BehaviourLayout::Unknown:
        return result;
    }
    const uint32_t fits = static_cast<uint32_t>((data.size() - start) / kInstructionSize);
    result.instructionsInData = result.declaredInstructions < fits ? result.declaredInstructions : fits;
    for (uint32_t i = 0; i < result.instructionsInData; ++i) {
        uint8_t* instruction = data.data() + start + i * kInstructionSize;
        const uint16_t opcode = static_cast<uint16_t>(instruction[0] | (instruction[1] << 8));
        if (!RefersToGuid(opcode, instruction[kOperandKindPos]))
            continue;
        const uint32_t oldGuid = Load32(instruction + kGuidPos);
        const auto it = guidMap.find(oldGuid);
        if (it == guidMap.end())
            continue;
        Store32(instruction + kGuidPos, it->second);
        result.patches.push_back({i, opcode, oldGuid, it->second});
    }
    return result;
}

} // namespace zelvane
