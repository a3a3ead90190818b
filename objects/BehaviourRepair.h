#pragma once
// Repairs the GUID references of behaviour code ('BHAV') after objects got
// new GUIDs. Two header layouts are known: versions 0x8000 to 0x8002 keep a
// 16-bit instruction count at byte 2 and start their 12-byte instructions at
// byte 12; version 0x8003 keeps a 32-bit count at byte 9 and starts them at
// byte 13. Behaviours of any other version are left untouched, and only
// instructions wholly inside the data are looked at.

#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace zelvane {

enum class BehaviourLayout { Counted16, Counted32, Unknown };

struct GuidPatch {
    uint32_t instruction = 0; // 0-based
    uint16_t opcode = 0;
    uint32_t oldGuid = 0;
    uint32_t newGuid = 0;
};

struct BehaviourRepairResult {
    BehaviourLayout layout = BehaviourLayout::Unknown;
    uint32_t declaredInstructions = 0;
    uint32_t instructionsInData = 0; // fewer than declared when the data is cut short
    std::vector<GuidPatch> patches;
};

BehaviourLayout LayoutOfBehaviour(std::span<const uint8_t> data);

// Replaces, in place, every GUID operand found in `guidMap` by its new GUID:
// opcode 31 when its operand byte at instruction byte 8 (bit 7 ignored) is 4
// or 7, opcodes 32 and 42 always (opcodes count by their low 15 bits).
BehaviourRepairResult RepairBehaviourGuids(std::span<uint8_t> data, const std::map<uint32_t, uint32_t>& guidMap);

} // namespace zelvane
