#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"
#include "objects/BehaviourRepair.h"

#include <gtest/gtest.h>

using namespace zelvane;

namespace {

struct Instruction {
    uint16_t opcode;
    uint32_t guid;
    uint8_t kind;
};

// A behaviour of the given version with its instructions; `declared` may lie.
std::vector<uint8_t> Behaviour(uint16_t version, const std::vector<Instruction>& code, int64_t declared = -1)
{
    const uint32_t count = declared < 0 ? static_cast<uint32_t>(code.size()) : static_cast<uint32_t>(declared);
    ByteWriter w;
    w.u16le(version);
    if (version == 0x8003) {
        w.u8(0);     // type
        w.u8(2);     // arguments
        w.u8(1);     // locals
        w.fill(4, 0);
        w.u32le(count);
    } else {
        w.u16le(static_cast<uint16_t>(count));
        w.fill(8, 0);
    }
    for (const Instruction& i : code) {
        w.u16le(i.opcode);
        w.u8(0xFE);
        w.u8(0xFD);
        w.u32le(i.guid);
        w.u8(i.kind);
        w.fill(3, 0);
    }
    return w.take();
}

uint32_t GuidAt(const std::vector<uint8_t>& data, size_t start, size_t instruction)
{
    ByteReader r(data);
    r.seek(start + instruction * 12 + 4);
    return r.u32le();
}

const std::map<uint32_t, uint32_t> kMap = {{0x11111111, 0xAAAAAAAA}, {0x22222222, 0xBBBBBBBB}};

} // namespace

TEST(BehaviourRepair, PatchesOnlyGuidOperandsOfTheKnownOpcodes)
{
    std::vector<uint8_t> data = Behaviour(0x8002, {{42, 0x11111111, 0},
                                                  {31, 0x11111111, 0x84},  // kind 4 with bit 7 set
                                                  {31, 0x22222222, 7},
                                                  {31, 0x11111111, 5},     // another operand kind
                                                  {0x8000 | 32, 0x22222222, 0}, // bit 15 ignored
                                                  {42, 0x33333333, 0},     // a GUID nobody cloned
                                                  {300, 0x11111111, 0},    // not a primitive
                                                  {2, 0x11111111, 0}});
    const BehaviourRepairResult result = RepairBehaviourGuids(data, kMap);
    EXPECT_EQ(result.layout, BehaviourLayout::Counted16);
    ASSERT_EQ(result.patches.size(), 4u);
    EXPECT_EQ(GuidAt(data, 12, 0), 0xAAAAAAAAu);
    EXPECT_EQ(GuidAt(data, 12, 1), 0xAAAAAAAAu);
    EXPECT_EQ(GuidAt(data, 12, 2), 0xBBBBBBBBu);
    EXPECT_EQ(GuidAt(data, 12, 3), 0x11111111u);
    EXPECT_EQ(GuidAt(data, 12, 4), 0xBBBBBBBBu);
    EXPECT_EQ(GuidAt(data, 12, 5), 0x33333333u);
    EXPECT_EQ(GuidAt(data, 12, 6), 0x11111111u);
    EXPECT_EQ(GuidAt(data, 12, 7), 0x11111111u);
    EXPECT_EQ(data[12 + 2], 0xFE); // the rest of the instruction is untouched
}

TEST(BehaviourRepair, Version8003UsesItsOwnHeader)
{
    std::vector<uint8_t> data = Behaviour(0x8003, {{2, 0, 0}, {42, 0x22222222, 0}});
    const BehaviourRepairResult result = RepairBehaviourGuids(data, kMap);
    EXPECT_EQ(result.layout, BehaviourLayout::Counted32);
    ASSERT_EQ(result.patches.size(), 1u);
    EXPECT_EQ(result.patches[0].instruction, 1u);
    EXPECT_EQ(GuidAt(data, 13, 1), 0xBBBBBBBBu);
}

TEST(BehaviourRepair, LyingCountsAndUnknownVersionsTouchNothingOutside)
{
    std::vector<uint8_t> data = Behaviour(0x8003, {{42, 0x11111111, 0}}, 0xFFFFFFFF);
    data.resize(data.size() - 1); // the one instruction is cut short too
    const std::vector<uint8_t> before = data;
    BehaviourRepairResult result = RepairBehaviourGuids(data, kMap);
    EXPECT_EQ(result.declaredInstructions, 0xFFFFFFFFu);
    EXPECT_EQ(result.instructionsInData, 0u);
    EXPECT_EQ(data, before);

    data = Behaviour(0x8000, {{42, 0x11111111, 0}}, 30000);
    result = RepairBehaviourGuids(data, kMap);
    EXPECT_EQ(result.instructionsInData, 1u);
    EXPECT_EQ(result.patches.size(), 1u);

    data = Behaviour(0x8004, {{42, 0x11111111, 0}});
    EXPECT_EQ(RepairBehaviourGuids(data, kMap).layout, BehaviourLayout::Unknown);
    EXPECT_EQ(GuidAt(data, 12, 0), 0x11111111u);
    std::vector<uint8_t> tiny = {0x00, 0x80, 1};
    EXPECT_EQ(RepairBehaviourGuids(tiny, kMap).layout, BehaviourLayout::Unknown);
}
