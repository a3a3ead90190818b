// Language slots and their code pages: every non-Western code page read and
// written with texts as the game's lists store them, bytes a code page does
// not define kept visible, characters it cannot hold refused by name, and
// the UTF-8 texts of layout -4 lists brought back to the slot's bytes.

#include "resfile/LanguageCodePages.h"

#include <gtest/gtest.h>

using namespace zelvane;

TEST(LanguageCodePages, EverySlotReadsAndWritesItsOwnCodePage)
{
    EXPECT_STREQ(LanguageOfSlot(0).language, "US English");
    EXPECT_STREQ(LanguageOfSlot(13).codePage, "Windows-1252");
    EXPECT_STREQ(LanguageOfSlot(14).language, "Japanese");
    EXPECT_STREQ(LanguageOfSlot(20).language, "US English");
    EXPECT_STREQ(LanguageOfSlot(-1).language, "US English");

    struct Sample {
        int slot;
        std::string bytes;
        std::string text;
    };
    // Texts as real multi-language lists hold them ("sit", "kick", "hello").
    const Sample samples[] = {
        {2, "F\xE9licitations !", "Félicitations !"},
        {8, "Sparka p\xE5", "Sparka på"},
        {11, "\xF9\xEC\xE5\xED", "שלום"},
        {12, "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},
        {14, "\x83L\x83" "b\x83N", "キック"},
        {14, "\x8D\xC0\x82\xE9", "座る"},
        {15, "Usi\xB9" "d\x9F", "Usiądź"},
        {16, "\xBE\xCD\xD7\xF8", "就坐"},
        {17, "\xA7\xA4\xA4U", "坐下"},
        {18, "\xB9\xD1\xE8\xA7", "นั่ง"},
        {19, "\xBE\xC9\xB1\xE2", "앉기"},
        {0, "plain \\ ASCII ~", "plain \\ ASCII ~"},
    };
    for (const Sample& s : samples) {
        SCOPED_TRACE(LanguageOfSlot(s.slot).language);
        const DecodedSlotText decoded = DecodeSlotText(s.slot, s.bytes);
        EXPECT_EQ(decoded.text, s.text);
        EXPECT_TRUE(decoded.exact);
        const EncodedSlotText encoded = EncodeSlotText(s.slot, s.text);
        EXPECT_TRUE(encoded.ok()) << encoded.error;
        EXPECT_EQ(encoded.bytes, s.bytes);
    }
    // One character, a different byte in each code page.
    EXPECT_EQ(EncodeSlotText(0, "€").bytes, "\x80");
    EXPECT_EQ(EncodeSlotText(12, "€").bytes, "\x88");
}

TEST(LanguageCodePages, BytesOutsideTheCodePageStayVisible)
{
    // Undefined in Windows-1252; a Shift-JIS lead byte at the end and before
    // a byte that cannot follow it.
    DecodedSlotText d = DecodeSlotText(0, "a\x81" "b");
    EXPECT_EQ(d.text, "a\\x81b");
    EXPECT_FALSE(d.exact);
    d = DecodeSlotText(14, "\x83L\x83");
    EXPECT_EQ(d.text, "キ\\x83");
    EXPECT_FALSE(d.exact);
    d = DecodeSlotText(14, "\x83\x7F!");
    EXPECT_EQ(d.text.substr(0, 4), "\\x83");
    EXPECT_EQ(d.text.back(), '!');
    EXPECT_FALSE(d.exact);
    // UTF-8 bytes in an English slot read as the Windows-1252 text they are.
    EXPECT_EQ(DecodeSlotText(0, "t\xC3\xA9").text, "tÃ©");
}

TEST(LanguageCodePages, CharactersACodePageCannotHoldAreRefusedByName)
{
    EncodedSlotText e = EncodeSlotText(0, "Café");
    ASSERT_TRUE(e.ok()) << e.error;
    EXPECT_EQ(e.bytes, "Caf\xE9");

    e = EncodeSlotText(0, "Przyłącz");
    EXPECT_FALSE(e.ok());
    EXPECT_EQ(e.bytes, "");
    EXPECT_EQ(e.error, "the character 'ł' (U+0142) cannot be stored in US English text (code page Windows-1252)");
    EXPECT_EQ(EncodeSlotText(15, "Przyłącz").bytes, "Przy\xB3\xB9" "cz");
    EXPECT_EQ(EncodeSlotText(14, "한").error,
              "the character '한' (U+D55C) cannot be stored in Japanese text (code page Shift-JIS)");
    EXPECT_NE(EncodeSlotText(0, "\xE2\x80\x8B").error.find("U+200B"), std::string::npos);

    EXPECT_EQ(EncodeSlotText(0, "ab\xE9").error, "the text is not UTF-8 (byte 0xE9 at 2)");
    EXPECT_FALSE(EncodeSlotText(0, "\xED\xA0\x80").ok()); // a surrogate
    EXPECT_FALSE(EncodeSlotText(0, "\xC0\xAF").ok());     // an overlong slash
}

// Layout -4 keeps UTF-8: tools widen each code-page byte to the character of
// that value, and later ones write Unicode proper. Both give the slot's bytes.
TEST(LanguageCodePages, Utf8TextsOfLaterListsComeBackAsTheSlotsBytes)
{
    EXPECT_EQ(SlotBytesFromUtf8(14, "\xC2\x97V\xC2\x82\xC3\x94"), "\x97V\x82\xD4");
    EXPECT_EQ(SlotBytesFromUtf8(14, "遊ぶ"), "\x97V\x82\xD4");
    EXPECT_EQ(SlotBytesFromUtf8(15, "Przy\xC2\xB3\xC2\xB9" "cz"), "Przy\xB3\xB9" "cz");
    EXPECT_EQ(SlotBytesFromUtf8(15, "Przyłącz"), "Przy\xB3\xB9" "cz");
    EXPECT_EQ(SlotBytesFromUtf8(2, "Se t\xC3\xA9l\xC3\xA9porter"), "Se t\xE9l\xE9porter");
    EXPECT_EQ(SlotBytesFromUtf8(0, "Go Here"), "Go Here");
    // Nothing is lost: bytes that are not UTF-8, and Unicode the slot cannot hold, stay as they are.
    EXPECT_EQ(SlotBytesFromUtf8(0, "caf\xE9"), "caf\xE9");
    EXPECT_EQ(SlotBytesFromUtf8(0, "ł"), "ł");
}
