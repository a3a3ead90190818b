#include "bytes/ByteReader.h"
#include "resfile/CTGRecord.h"
#include "resfile/CTGRecordStream.h"

#include <gtest/gtest.h>


using namespace zelvane;

TEST(RecordStream, StringsMoveToTheNextEvenPosition)
{
    for (const auto& [text, end] : std::vector<std::pair<std::string, uint32_t>>{{"ab", 4}, {"abc", 4}, {"", 2}}) {
        std::string s = text;
        CTGRecordStream measure;
        measure.String(s);
        EXPECT_EQ(measure.Position(), end) << text;
        std::vector<uint8_t> block(8, 0xA3);
        CTGRecordStream write(block.data(), 8, StreamMode::Write, StreamSwap::Off);
        write.String(s);
        EXPECT_EQ(write.Position(), end);
        EXPECT_EQ(block[end - 1], text.size() % 2 ? 0 : 0xA3) << "the pad byte is not written";
        std::string back;
        CTGRecordStream read(block.data(), 8, StreamMode::Read, StreamSwap::Off);
        read.String(back);
        EXPECT_EQ(back, text);
    }
}

TEST(RecordStream, ReadsFailInsteadOfLeavingTheBlock)
{
    std::vector<uint8_t> block = {1, 2, 3, 'x', 'y'};
    CTGRecordStream read(block.data(), static_cast<uint32_t>(block.size()), StreamMode::Read, StreamSwap::Off);
    uint16_t v16 = 0;
    read.U16(&v16);
    EXPECT_EQ(v16, 0x0201);
    uint32_t v32[2] = {9, 9};
    read.U32(v32, 2);
    EXPECT_TRUE(read.Failed());
    EXPECT_EQ(v32[0], 0u);
    std::string s;
    CTGRecordStream unterminated(block.data() + 3, 2, StreamMode::Read, StreamSwap::Off);
    unterminated.String(s);
    EXPECT_TRUE(unterminated.Failed());
}

namespace {

struct Pair final : CTGRecord {
    uint32_t a = 0;
    uint16_t b = 0;
    void Serialize(CTGRecordStream& s, uint32_t) override
    {
        s.U32(&a);
        s.U16(&b);
    }
    ResType GetType() const override { return MakeResType("TEST"); }
};

} // namespace

TEST(Record, PrefixCarriesVersionAndTypeAndAMarkTurnsSwappingOn)
{
    Pair out;
    out.a = 0x11223344;
    out.b = 0x5566;
    ResHandle* h = CTGRecord::Write(out, 7);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(h->Size(), 12u + 6u);
    EXPECT_EQ(h->Data()[0], 0);
    ByteReader prefix(h->Bytes());
    prefix.seek(8);
    EXPECT_EQ(prefix.u32le(), MakeResType("TEST"));

    Pair in;
    uint32_t version = 0;
    ASSERT_TRUE(CTGRecord::Read(in, *h, &version));
    EXPECT_EQ(version, 7u);
    EXPECT_EQ(in.a, 0x11223344u);
    EXPECT_EQ(in.b, 0x5566);

    h->Data()[0] = 1; // written on a machine of the other byte order
    ASSERT_TRUE(CTGRecord::Read(in, *h, &version));
    EXPECT_EQ(version, 0x07000000u);
    EXPECT_EQ(in.a, 0x44332211u);
    EXPECT_EQ(in.b, 0x6655);

    ASSERT_TRUE(h->Resize(14));
    EXPECT_FALSE(CTGRecord::Read(in, *h)); // fields cut short
    ResHandle::Dispose(h);
}
