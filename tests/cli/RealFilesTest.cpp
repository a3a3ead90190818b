// The real object files of ZELVANE_TESTDATA: their maps must agree with a
// scan, their string lists (in every language) and draw groups must read,
// and their texts must survive JSON and an edit.

#include "bytes/ByteReader.h"
#include "resfile/CTGStringList.h"
#include "resfile/LanguageCodePages.h"
#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <set>

namespace zelvane::test {

namespace {

// Sorted dumps of every resource, so map order and file order compare equal.
std::vector<std::string> Resources(const nlohmann::json& listing)
{
    std::vector<std::string> resources;
    for (const auto& member : listing["members"])
        for (auto resource : member["resources"]) {
            resource.erase("index"); // the place within a type follows the index's order
            resources.push_back(member["path"].get<std::string>() + " " + resource.dump());
        }
    std::sort(resources.begin(), resources.end());
    return resources;
}

std::filesystem::path RealFolder()
{
    std::error_code ec;
    const std::filesystem::path folder = TestDataDir() / "iff";
    return !TestDataDir().empty() && std::filesystem::is_directory(folder, ec) ? folder : std::filesystem::path();
}

std::vector<std::string> RealFiles()
{
    std::vector<std::string> files;
    for (const auto& item : std::filesystem::directory_iterator(RealFolder()))
        if (item.path().extension() == ".iff")
            files.push_back(item.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

nlohmann::json RunJson(const std::vector<std::string>& args)
{
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    return nlohmann::json::parse(result.out, nullptr, false);
}

// Ids of the file's resources of one type.
std::vector<int> IdsOf(const std::string& file, const std::string& type)
{
    std::vector<int> ids;
    const nlohmann::json listing = RunJson({"list", "--json", file});
    for (const auto& member : listing["members"])
        for (const auto& resource : member["resources"])
            if (resource["type"] == type)
                ids.push_back(resource["id"]);
    return ids;
}

std::vector<uint8_t> Dump(const std::string& file, const std::string& type, int id)
{
    const CliResult result = RunCli({"dump", file, "-t", type, "--id", std::to_string(id)});
    EXPECT_EQ(result.status, 0) << result.err;
    return {result.out.begin(), result.out.end()};
}

// A little-endian number of 2 or 4 bytes; 0 past the end.
uint32_t Le(const std::vector<uint8_t>& bytes, size_t at, size_t size)
{
    ByteReader r(bytes);
    r.seek(at);
    return size == 2 ? r.u16le() : r.u32le();
}



} // namespace

TEST(RealFiles, ListByMapAndByScanAgree)
{
    if (RealFolder().empty())
        GTEST_SKIP() << "no real object files: ZELVANE_TESTDATA has no iff/ folder";
    const std::vector<std::string> files = RealFiles();
    ASSERT_FALSE(files.empty());
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const CliResult byMap = RunCli({"list", "--json", file});
        const CliResult byScan = RunCli({"list", "--json", "--scan", file});
        ASSERT_EQ(byMap.status, 0) << byMap.err;
        ASSERT_EQ(byScan.status, 0) << byScan.err;
        const std::vector<std::string> mapped = Resources(nlohmann::json::parse(byMap.out));
        EXPECT_FALSE(mapped.empty());
        EXPECT_EQ(mapped, Resources(nlohmann::json::parse(byScan.out)));
    }
}

TEST(RealFiles, EveryStringListOfTheSlippersReads)
{
    if (RealFolder().empty())
        GTEST_SKIP() << "no real object files: ZELVANE_TESTDATA has no iff/ folder";
    const std::string file = (RealFolder() / "k8essbedroomslippersts.iff").string();
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << "k8essbedroomslippersts.iff is not among the real files";

    size_t lists = 0;
    for (const std::string type : {"STR#", "CTSS"})
        for (const int id : IdsOf(file, type)) {
            SCOPED_TRACE(type + " " + std::to_string(id));
            ++lists;
            const nlohmann::json list = RunJson({"strings", "--json", file, "-t", type, "--id", std::to_string(id)});
            EXPECT_EQ(list["type"], type);
            size_t total = 0;
            for (const auto& language : list["languages"])
                total += language["strings"].size();
            EXPECT_GT(total, 0u);
            // These lists are stored in layout -3 with each language's records
            // together, so every record counted in the header is shown once.
            const std::vector<uint8_t> raw = Dump(file, type, id);
            ASSERT_EQ(Le(raw, 0, 2), 0xFFFDu);
            EXPECT_EQ(total, Le(raw, 2, 2));
        }
    EXPECT_EQ(lists, 3u);
    const nlohmann::json catalog = RunJson({"strings", "--json", file, "-t", "CTSS", "--id", "2000"});
    EXPECT_EQ(catalog["languages"][0]["strings"][0]["text"], "\"Essentials\" Slippers");

    // The later variant keeps its STR# in layout -4, in chunks not marked converted.
    const std::string later = (RealFolder() / "fso_firewater.iff").string();
    if (std::filesystem::exists(later)) {
        const nlohmann::json list = RunJson({"strings", "--json", later, "--id", "303"});
        EXPECT_EQ(list["layout"], "-4");
        ASSERT_EQ(list["languages"].size(), 1u);
        EXPECT_EQ(list["languages"][0]["strings"][0]["text"], "CT - burn and spread");
    }
}

namespace {

// The bytes a `strings --json` entry stands for: its "bytes" when given,
// else its text in the slot's code page.
std::string BytesOf(const nlohmann::json& entry, const char* textKey, const char* bytesKey, int slot)
{
    if (entry.contains(bytesKey)) {
        std::string bytes;
        const std::string hex = entry[bytesKey];
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        return bytes;
    }
    const EncodedSlotText encoded = EncodeSlotText(slot, entry[textKey].get<std::string>());
    EXPECT_TRUE(encoded.ok()) << encoded.error;
    return encoded.bytes;
}

} // namespace

// The multi-language lists of the real files (Japanese, Chinese, Korean,
// Thai, Polish, Hebrew and Western texts) come back from their JSON byte for
// byte: each text from its UTF-8 in its slot's code page. A list in layout
// -3 made again from that JSON is the stored resource itself, up to the
// filler after its last record.
TEST(RealFiles, MultiLanguageListsComeBackFromJsonByteForByte)
{
    if (RealFolder().empty())
        GTEST_SKIP() << "no real object files: ZELVANE_TESTDATA has no iff/ folder";
    size_t identical = 0, languagesSeen = 0;
    for (const std::string& file : RealFiles())
        for (const std::string type : {"STR#", "CTSS", "TTAs"})
            for (const int id : IdsOf(file, type)) {
                SCOPED_TRACE(file + " " + type + " " + std::to_string(id));
                const nlohmann::json json = RunJson({"strings", "--json", file, "-t", type, "--id", std::to_string(id)});
                const std::vector<uint8_t> raw = Dump(file, type, id);
                CTGStringList stored;
                ASSERT_EQ(stored.Parse(raw, LoadLanguages::All, FillEmptySlots::No), kResOk);
                CTGStringList again;
                size_t entries = 0;
                for (const auto& language : json["languages"]) {
                    const int slot = language["language"];
                    for (const auto& entry : language["strings"]) {
                        const int index = entry["index"];
                        const std::string text = BytesOf(entry, "text", "bytes", slot);
                        EXPECT_EQ(text, stored.GetString(index, static_cast<uint8_t>(slot)).value_or(""));
                        again.SetString(index, text, static_cast<uint8_t>(slot));
                        if (!entry["comment"].is_null())
                            again.SetComment(index, BytesOf(entry, "comment", "comment_bytes", slot),
                                             static_cast<uint8_t>(slot));
                        ++entries;
                    }
                }
                languagesSeen = std::max<size_t>(languagesSeen, json["languages"].size());
                if (json["layout"] != "-3")
                    continue;
                // What follows the records is filler, 0xA3 or 0 bytes.
                const std::vector<uint8_t> encoded = again.Encode();
                ASSERT_LE(encoded.size(), raw.size());
                EXPECT_TRUE(std::equal(encoded.begin(), encoded.end(), raw.begin()));
                const auto filler = raw.begin() + static_cast<std::ptrdiff_t>(encoded.size());
                EXPECT_TRUE(std::all_of(filler, raw.end(), [](uint8_t b) { return b == 0xA3; }) ||
                            std::all_of(filler, raw.end(), [](uint8_t b) { return b == 0; }));
                identical += std::equal(encoded.begin(), encoded.end(), raw.begin()) && entries > 1;
            }
    EXPECT_GE(languagesSeen, 17u);
    EXPECT_GT(identical, 10u);
}

// The rug's catalog strings are a layout -4 list: shown, and edited through
// set, which stores them in layout -3 in Windows-1252 and leaves its record,
// too short to be written back, as it is.
TEST(RealFiles, ALaterListsCatalogNameIsShownAndEdited)
{
    const std::string rug = (RealFolder() / "k8lidrug.iff").string();
    if (RealFolder().empty() || !std::filesystem::exists(rug))
        GTEST_SKIP() << "the real rug k8lidrug.iff is absent";
    TempDir work;
    const std::string file = work.File("rug.iff");
    std::filesystem::copy_file(rug, file);
    const auto props = [&] {
        std::map<std::string, std::string> values;
        const nlohmann::json shown = RunJson({"props", file, "--id", "16820", "--json"});
        for (const auto& row : shown["properties"])
            values[row["name"]] = row["value"];
        return values;
    };
    EXPECT_EQ(props()["Name"], "\"Long Island Deco\" Rug");
    EXPECT_EQ(props()["Description"], "www.parsimonious.org");

    const std::vector<uint8_t> record = Dump(file, "OBJD", 16820);
    CliResult set = RunCli({"set", "--file", file, "--id", "16820", "Name=Tapis « Deco » café", "Description=Un tapis"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(props()["Name"], "Tapis « Deco » café");
    EXPECT_EQ(props()["Description"], "Un tapis");
    const std::vector<uint8_t> strings = Dump(file, "CTSS", 2004);
    ASSERT_GE(strings.size(), 2u);
    EXPECT_EQ(Le(strings, 0, 2), 0xFFFDu);
    const std::string stored(strings.begin(), strings.end());
    EXPECT_NE(stored.find("Tapis \xAB Deco \xBB caf\xE9"), std::string::npos);
    EXPECT_EQ(Dump(file, "OBJD", 16820), record);

    // Refused whole: a character Windows-1252 lacks, and a record value.
    const std::vector<uint8_t> before = ReadBytes(file);
    set = RunCli({"set", "--file", file, "--id", "16820", "Description=ok", "Name=Dywan łazienkowy"});
    EXPECT_EQ(set.status, 1);
    EXPECT_EQ(set.err, "zelvane-cli: Name: the character 'ł' (U+0142) cannot be stored in US English text (code "
                       "page Windows-1252)\n");
    set = RunCli({"set", "--file", file, "--id", "16820", "Price=300"});
    EXPECT_EQ(set.status, 1);
    EXPECT_NE(set.err.find("OBJD 16820 holds only 214 of its 216 bytes"), std::string::npos) << set.err;
    EXPECT_EQ(ReadBytes(file), before);
}

TEST(RealFiles, EveryDrawGroupReadsAndNamesSpritesOfItsFile)
{
    if (RealFolder().empty())
        GTEST_SKIP() << "no real object files: ZELVANE_TESTDATA has no iff/ folder";
    size_t groups = 0;
    for (const std::string& file : RealFiles()) {
        std::set<int> sprites;
        for (const std::string type : {"SPR#", "SPR2"})
            for (const int id : IdsOf(file, type))
                sprites.insert(id);
        for (const int id : IdsOf(file, "DGRP")) {
            SCOPED_TRACE(file + " DGRP " + std::to_string(id));
            const std::vector<uint8_t> raw = Dump(file, "DGRP", id);
            const uint32_t version = Le(raw, 0, 2);
            const CliResult result = RunCli({"drawgroup", "--json", file, "--id", std::to_string(id)});
            if (version < 20000 || version > 20004) {
                // A later variant: read or refused in one line, never a crash.
                EXPECT_TRUE(result.status == 0 || result.ErrLines().size() == 1) << result.err;
                continue;
            }
            ++groups;
            ASSERT_EQ(result.status, 0) << result.err;
            const nlohmann::json group = nlohmann::json::parse(result.out);
            EXPECT_EQ(group["version"], version);
            const uint32_t stored = version <= 20002 ? Le(raw, 2, 2) : Le(raw, 2, 4);
            EXPECT_EQ(group["images"].size(), stored);
            for (const auto& image : group["images"])
                for (const auto& sprite : image["sprites"])
                    EXPECT_EQ(sprites.count(sprite["spriteId"]), 1u) << sprite.dump();
        }
    }
    EXPECT_GT(groups, 0u);
}

} // namespace zelvane::test
