// `strings` and `drawgroup` on lists and draw groups built here.

#include "bytes/ByteWriter.h"
#include "resfile/CTGStringList.h"
#include "resfile/IffBuilder.h"
#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <bit>
#include <map>

namespace zelvane::test {

namespace {

struct Record {
    uint8_t language; // slot + 1
    std::string text;
    std::string comment;
};

// Layout -3.
std::vector<uint8_t> LanguageList(const std::vector<Record>& records)
{
    ByteWriter out;
    out.u16le(0xFFFD);
    out.u16le(static_cast<uint16_t>(records.size()));
    for (const Record& r : records) {
        out.u8(r.language);
        out.text(r.text);
        out.u8(0);
        out.text(r.comment);
        out.u8(0);
    }
    return out.take();
}

// Layout -1: texts only.
std::vector<uint8_t> PlainList(const std::vector<std::string>& texts)
{
    ByteWriter out;
    out.u16le(0xFFFF);
    out.u16le(static_cast<uint16_t>(texts.size()));
    for (const std::string& text : texts) {
        out.text(text);
        out.u8(0);
    }
    return out.take();
}

std::vector<uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

// {text, comment} pairs per language, as `strings --json` reports them.
using Slots = std::map<int, std::vector<std::pair<nlohmann::json, nlohmann::json>>>;

Slots SlotsOf(const nlohmann::json& list)
{
    Slots slots;
    for (const auto& language : list["languages"]) {
        int expectedIndex = 1;
        for (const auto& s : language["strings"]) {
            EXPECT_EQ(s["index"], expectedIndex++);
            slots[language["language"]].emplace_back(s["text"], s["comment"]);
        }
    }
    return slots;
}

nlohmann::json RunJson(const std::vector<std::string>& args)
{
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return nlohmann::json::parse(result.out, nullptr, false);
}

} // namespace

TEST(StringsCommand, ShowsEveryLanguageSlotThatHoldsStrings)
{
    TempDir dir;
    const std::string file = dir.File("lamp.iff");
    IffBuilder iff;
    // Slot 0, the last slot (19), and slot 5 with a comment; slot 5's second
    // run restarts its numbering and so replaces its first string.
    iff.AddChunk(kTypeSTRList, 300, "menu", LanguageList({{1, "On", "switch"}, {1, "Off", ""}, {20, "Aan", ""},
                                                            {6, "Allumer", "old"}, {1, "Dim", ""},
                                                            {6, "Allumer!", "new"}}));
    iff.AddChunk(kTypeCTSS, 2000, "catalog", LanguageList({{1, "Lamp", ""}, {1, "Bright \"lamp\"", "desc"}}));
    WriteBytes(file, iff.Build(IffBuilder::Map::Written));

    const nlohmann::json menu = RunJson({"strings", file, "--id", "300", "--json"});
    EXPECT_EQ(menu["type"], "STR#");
    EXPECT_EQ(menu["name"], "menu");
    EXPECT_EQ(menu["caretText"], false);
    // Slot 0's numbering restarted at "Dim" too.
    const Slots expected = {{0, {{"Dim", ""}, {"Off", ""}}}, {5, {{"Allumer!", "new"}}}, {19, {{"Aan", ""}}}};
    EXPECT_EQ(SlotsOf(menu), expected);

    const nlohmann::json catalog = RunJson({"strings", file, "--id", "2000", "--type", "CTSS", "--json"});
    EXPECT_EQ(SlotsOf(catalog), (Slots{{0, {{"Lamp", ""}, {"Bright \"lamp\"", "desc"}}}}));

    // The table has a row per string with its slot; control characters are escaped.
    WriteBytes(file, [] {
        IffBuilder tabs;
        tabs.AddChunk(kTypeSTRList, 1, "", LanguageList({{1, "a\tb", "c"}, {3, "x", ""}}));
        return tabs.Build(IffBuilder::Map::None);
    }());
    const CliResult table = RunCli({"strings", file, "--id", "1"});
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("2 strings in 2 languages"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("   0  US English  1  a\\x09b  c\n"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("   2  French      1  x\n"), std::string::npos) << table.out;
}

TEST(StringsCommand, ListsWithoutCommentsAndTheCaretTextFallback)
{
    TempDir dir;
    const std::string file = dir.File("sofa.iff");
    IffBuilder iff;
    iff.AddChunk(kTypeSTRList, 128, "plain", PlainList({"one", "two"}));
    iff.AddChunk(kTypeCaretText, 129, "carets", Bytes("ignored ^first^ between ^second^ tail ^cut"));
    iff.AddChunk(kTypeCTSS, 129, "", PlainList({"catalog"}));
    WriteBytes(file, iff.Build(IffBuilder::Map::Written));

    // Layout -1 has no comments: null, not an empty text.
    const nlohmann::json plain = RunJson({"strings", file, "--id", "128", "--json"});
    EXPECT_EQ(SlotsOf(plain), (Slots{{0, {{"one", nullptr}, {"two", nullptr}}}}));

    // No STR# 129: its caret text stands in.
    const nlohmann::json carets = RunJson({"strings", file, "--id", "129", "--json"});
    EXPECT_EQ(carets["caretText"], true);
    EXPECT_EQ(carets["name"], "carets");
    EXPECT_EQ(SlotsOf(carets), (Slots{{0, {{"first", nullptr}, {"second", nullptr}}}}));

    // A CTSS has no fallback.
    const CliResult missing = RunCli({"strings", file, "--id", "128", "-t", "CTSS"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "zelvane-cli: " + file + ": no such resource (CTSS id 128)\n");
}

TEST(StringsCommand, UnreadableListsAndBadArgumentsFailWithOneLine)
{
    TempDir dir;
    const std::string file = dir.File("odd.iff");
    IffBuilder iff;
    const std::vector<uint8_t> layout4 = {0xFC, 0xFF, 0x01, 0x00, 0x01, 'x', 0x00};
    iff.AddChunk(kTypeSTRList, 1, "", layout4);
    iff.AddChunk(kTypeCaretText, 1, "", Bytes("^fallback^"));
    iff.AddChunk(kTypeSTRList, 2, "", layout4);
    iff.AddChunk(kTypeCTSS, 3, "", std::vector<uint8_t>{0xFE}); // shorter than a word
    WriteBytes(file, iff.Build(IffBuilder::Map::Written));

    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const std::vector<Case> cases = {
        {{"--id", "2"}, "resource data in a layout that cannot be read (STR# id 2)"},
        {{"--id", "3", "-t", "CTSS"}, "resource data in a layout that cannot be read (CTSS id 3)"},
        {{"--id", "4"}, "no such resource (STR# id 4)"},
        {{"--id", "1", "-t", "BHAV"}, "'BHAV' is not a string list type (STR#, CTSS or TTAs)"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"strings", file};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "zelvane-cli: " + file + ": " + c.says + "\n");
        EXPECT_EQ(result.out, "");
    }
    // An unreadable STR# with caret text of its id shows the caret text, as the game's lookup would.
    EXPECT_EQ(SlotsOf(RunJson({"strings", file, "--id", "1", "--json"})), (Slots{{0, {{"fallback", nullptr}}}}));
}

// Each slot's text is shown in its own code page; what the text alone
// cannot give back is kept beside it as bytes.
TEST(StringsCommand, TextsAreShownInTheirSlotsCodePagesAndKeptExactInJson)
{
    TempDir dir;
    const std::string file = dir.File("menu.iff");
    IffBuilder iff;
    iff.AddChunk(kTypeTTAs, 128, "menu",
                 LanguageList({{1, "Caf\xE9", "cr\x81me"}, {13, "\xCF\xF0\xE8\xE2\xE5\xF2", ""},
                               {15, "\x83L\x83" "b\x83N", "\x83"}, {17, "\xBE\xCD\xD7\xF8", ""},
                               {18, "\xA7\xA4\xA4U", ""}, {20, "\xBE\xC9\xB1\xE2", ""}}));
    WriteBytes(file, iff.Build(IffBuilder::Map::Written));

    const nlohmann::json list = RunJson({"strings", file, "-t", "TTAs", "--id", "128", "--json"});
    EXPECT_EQ(list["layout"], "-3");
    const Slots expected = {{0, {{"Café", "cr\\x81me"}}}, {12, {{"Привет", ""}}}, {14, {{"キック", "\\x83"}}},
                            {16, {{"就坐", ""}}},           {17, {{"坐下", ""}}},     {19, {{"앉기", ""}}}};
    EXPECT_EQ(SlotsOf(list), expected);
    const auto& english = list["languages"][0];
    EXPECT_EQ(english["name"], "US English");
    EXPECT_EQ(english["code_page"], "Windows-1252");
    EXPECT_FALSE(english["strings"][0].contains("bytes"));
    EXPECT_EQ(english["strings"][0]["comment_bytes"], "6372816D65");
    EXPECT_EQ(list["languages"][2]["code_page"], "Shift-JIS");
    EXPECT_EQ(list["languages"][2]["strings"][0]["comment_bytes"], "83");

    const CliResult table = RunCli({"strings", file, "-t", "TTAs", "--id", "128"});
    EXPECT_NE(table.out.find("TTAs 128 'menu' (layout -3): 6 strings in 6 languages"), std::string::npos) << table.out;
    // Two columns a kana: the comments line up.
    EXPECT_NE(table.out.find("  14  Japanese             1  キック  \\x83\n"), std::string::npos) << table.out;
}

namespace {

std::vector<uint8_t> ShortDrawGroup()
{
    // Version 20001: 16-bit fields and a 32-bit value 4; one image of three
    // references of which only the two tagged 0xFFFD are kept, and an empty image.
    ByteWriter out;
    out.u16le(20001);
    out.u16le(2);
    out.u16le(3);
    out.u8(4);  // direction
    out.u8(0xFF); // zoom -1
    const std::vector<std::array<uint16_t, 6>> sprites = {
        {0xFFFD, 0xFF38 /* -200 */, 7, 0x0003, 0xFFFE, 12},
        {0x0001, 999, 0, 0, 0, 0},
        {0xFFFD, 300, 1, 0x8000, 2, 3},
    };
    for (const auto& s : sprites) {
        for (uint16_t v : s)
            out.u16le(v);
        out.u32le(std::bit_cast<uint32_t>(0.5f));
    }
    out.u16le(0);
    out.u8(16);
    out.u8(3);
    return out.take();
}

std::vector<uint8_t> LongDrawGroup()
{
    ByteWriter out;
    out.u16le(20004);
    out.u32le(1);
    out.u32le(64);         // direction
    out.u32le(2);          // zoom
    out.u32le(1);          // sprites
    out.u32le(0xFFFFFF00); // sprite id -256
    out.u32le(1);
    out.u32le(0xFFFFFFFF);
    out.u32le(3);
    out.u32le(std::bit_cast<uint32_t>(1.25f));
    out.u32le(0x8);        // flags
    out.u32le(0x7FC00000); // a NaN
    out.u32le(std::bit_cast<uint32_t>(-3.0f));
    return out.take();
}

} // namespace

TEST(DrawGroupCommand, ShowsEveryImageAndSpriteReferenceWithAllValues)
{
    TempDir dir;
    const std::string file = dir.File("bed.iff");
    IffBuilder iff;
    iff.AddChunk(kTypeDGRP, 100, "bed short", ShortDrawGroup());
    WriteBytes(file, iff.Build(IffBuilder::Map::Written));
    // The long one lives in the sprite companion, found through the set.
    IffBuilder spf;
    spf.AddChunk(kTypeDGRP, 200, "bed long", LongDrawGroup());
    WriteBytes(dir.File("bed.spf"), spf.Build(IffBuilder::Map::Written));

    const nlohmann::json shortGroup = RunJson({"drawgroup", file, "--id", "100", "--json"});
    EXPECT_EQ(shortGroup["version"], 20001);
    EXPECT_EQ(shortGroup["name"], "bed short");
    ASSERT_EQ(shortGroup["images"].size(), 2u);
    const nlohmann::json& first = shortGroup["images"][0];
    EXPECT_EQ(first["direction"], 4);
    EXPECT_EQ(first["zoom"], -1);
    ASSERT_EQ(first["sprites"].size(), 2u);
    const nlohmann::json expectedFirst = {{"spriteId", -200},
                                          {"value1", 7},
                                          {"value2", -2},
                                          {"value3", 12},
                                          {"value4", {{"raw", "0x3F000000"}, {"float", 0.5}}},
                                          {"value5", {{"raw", "0x00000000"}, {"float", 0.0}}},
                                          {"value6", {{"raw", "0x00000000"}, {"float", 0.0}}},
                                          {"flags", 3}};
    EXPECT_EQ(first["sprites"][0], expectedFirst);
    EXPECT_EQ(first["sprites"][1]["spriteId"], 300);
    EXPECT_EQ(first["sprites"][1]["flags"], -32768);
    EXPECT_EQ(shortGroup["images"][1]["sprites"].size(), 0u);

    const nlohmann::json longGroup = RunJson({"drawgroup", dir.File("bed.iff"), "--id", "200", "--json"});
    EXPECT_EQ(longGroup["version"], 20004);
    const nlohmann::json& sprite = longGroup["images"][0]["sprites"][0];
    EXPECT_EQ(sprite["spriteId"], -256);
    EXPECT_EQ(sprite["value2"], -1);
    EXPECT_EQ(sprite["value4"]["float"], 1.25);
    EXPECT_EQ(sprite["value5"], (nlohmann::json{{"raw", "0x7FC00000"}, {"float", nullptr}}));
    EXPECT_EQ(sprite["value6"]["float"], -3.0);
    EXPECT_EQ(sprite["flags"], 8);

    // The table keeps a row for the image without sprites.
    const CliResult table = RunCli({"drawgroup", file, "--id", "100"});
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out.rfind("DGRP 100 'bed short', version 20001: 2 images, 2 sprite references\n", 0), 0u)
        << table.out;
    EXPECT_NE(table.out.find("\n    1   16     3\n"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("  -200       7      -2      12  0x3F000000       0.5  0x00000000"), std::string::npos)
        << table.out;
}

TEST(DrawGroupCommand, DamagedOrMissingGroupsFailWithOneLine)
{
    TempDir dir;
    const std::string file = dir.File("bed.iff");
    std::vector<uint8_t> cut = LongDrawGroup();
    cut.resize(cut.size() - 1);
    IffBuilder iff;
    iff.AddChunk(kTypeDGRP, 1, "", cut);
    iff.AddChunk(kTypeDGRP, 2, "", Bytes("\x21\x4E\xFF\xFF")); // 20001 with image count -1
    WriteBytes(file, iff.Build(IffBuilder::Map::Written));

    for (const auto& [id, says] : std::vector<std::pair<std::string, std::string>>{
             {"1", "resource data in a layout that cannot be read (DGRP id 1)"},
             {"2", "resource data in a layout that cannot be read (DGRP id 2)"},
             {"3", "no such resource (DGRP id 3)"}}) {
        const CliResult result = RunCli({"drawgroup", file, "--id", id});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "zelvane-cli: " + file + ": " + says + "\n");
        EXPECT_EQ(result.out, "");
    }
}

} // namespace zelvane::test
