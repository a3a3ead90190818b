// preview and sprite: the sample game's objects composed whole at any image
// and on any background, sprite planes written as PNGs, damaged files and
// bad arguments, and the real files.

#include "bytes/ByteWriter.h"
#include "pngio/PngCodec.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/IffBuilder.h"
#include "tests/cli/CliRunner.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleGame.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <optional>

using namespace zelvane;
using namespace zelvane::test;

namespace {

nlohmann::json Json(const std::vector<std::string>& args)
{
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    return nlohmann::json::parse(result.out, nullptr, false);
}

// What a PNG says of its size and channels, and its top left pixel.
struct PngFacts {
    uint32_t width = 0;
    uint32_t height = 0;
    std::optional<PngChannels> channels;
    uint8_t red = 0, green = 0, blue = 0;
};

PngFacts ReadPng(const std::string& path)
{
    PngFacts facts;
    PngImage image;
    std::string error;
    if (!ReadPngFile(path, image, error)) {
        ADD_FAILURE() << path << ": " << error;
        return facts;
    }
    facts.width = image.width;
    facts.height = image.height;
    facts.channels = image.channels;
    const uint8_t* pixel = image.Pixel(0, 0);
    facts.red = pixel[0];
    facts.green = pixel[1];
    facts.blue = pixel[2];
    return facts;
}

class SampleGamePreview : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WriteSampleGame(game_.Path()).error, ""); }
    std::string Object(const std::string& relative) const { return (game_.Path() / relative).string(); }

    TempDir game_;
    TempDir work_;
};

} // namespace

TEST_F(SampleGamePreview, PreviewComposesAMasterWithItsTilesAtAnyImageOnAnyBackground)
{
    const std::string table = Object("GameData/Objects/diningtable.iff");
    const nlohmann::json full = Json({"preview", table, "--id", "128", "--json"});
    EXPECT_EQ(full["tiles"], 4);
    EXPECT_EQ(full["index"], 10);
    EXPECT_TRUE(full["notes"].empty());
    const int width = full["width"], height = full["height"];
    EXPECT_GT(width, 200); // two tiles across
    EXPECT_GT(height, 128);
    EXPECT_GT(full["anchor_x"].get<int>(), 0);
    EXPECT_LT(full["anchor_x"].get<int>(), width);

    const nlohmann::json small = Json({"preview", table, "--id", "128", "--index", "2", "--json"});
    EXPECT_NEAR(small["width"].get<int>() - 16, (width - 16) / 4, 3);

    const std::string out = work_.File("table.png");
    const CliResult written =
        RunCli({"preview", table, "--id", "128", "--index", "6", "--background", "00FF00", "-o", out});
    ASSERT_EQ(written.status, 0) << written.err;
    const nlohmann::json half = Json({"preview", table, "--id", "128", "--index", "6", "--json"});
    const PngFacts png = ReadPng(out);
    EXPECT_EQ(png.width, half["width"].get<uint32_t>());
    EXPECT_EQ(png.height, half["height"].get<uint32_t>());
    EXPECT_EQ(png.channels, PngChannels::Rgb);
    EXPECT_EQ((std::vector<int>{png.red, png.green, png.blue}), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(written.out, out + ": " + std::to_string(png.width) + " x " + std::to_string(png.height) +
                               " pixels, anchor (" + std::to_string(half["anchor_x"].get<int>()) + ", " +
                               std::to_string(half["anchor_y"].get<int>()) + "), 4 tiles\n");

    // The bookcase keeps its sprites in its .spf companion: without it,
    // nothing is drawn and the command says why.
    const std::string bookcase = Object("GameData/Objects/bookcase.iff");
    const nlohmann::json tall = Json({"preview", bookcase, "--id", "128", "--json"});
    EXPECT_TRUE(tall["notes"].empty());
    EXPECT_GT(tall["height"].get<int>(), 2 * tall["width"].get<int>() - 40);
    std::filesystem::remove(Object("GameData/Objects/bookcase.spf"));
    const CliResult bare = RunCli({"preview", bookcase, "--id", "128", "--json"});
    EXPECT_EQ(bare.status, 0);
    EXPECT_EQ(nlohmann::json::parse(bare.out)["width"], 17);
    ASSERT_EQ(bare.ErrLines().size(), 1u);
    EXPECT_NE(bare.ErrLines()[0].find(": warning: DGRP 100"), std::string::npos) << bare.err;
}

TEST_F(SampleGamePreview, SpriteWritesTheColourDepthAndAlphaPlanesOfOneFrame)
{
    const std::string loveseat = Object("GameData/Objects/loveseat.iff");
    const nlohmann::json info = Json({"sprite", loveseat, "--id", "201", "--frame", "10", "--json"});
    EXPECT_EQ(info["format"], "SPR2");
    EXPECT_EQ(info["version"], 1000);
    EXPECT_EQ(info["frames"], 12);
    EXPECT_EQ(info["frame"], 10);
    EXPECT_EQ(info["palette_id"], 200);
    EXPECT_GT(info["colours_used"].get<int>(), 24);
    const int width = info["width"], height = info["height"];
    EXPECT_GT(width, 50);
    EXPECT_GT(height, 50);

    const std::string prefix = work_.File("seat");
    const CliResult written = RunCli({"sprite", loveseat, "--id", "201", "--frame", "10", "-o", prefix});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_NE(written.out.find("SPR2 201 frame 10 of 12: " + std::to_string(width) + " x " + std::to_string(height)),
              std::string::npos);
    for (const char* plane : {"-colour.png", "-depth.png", "-alpha.png"}) {
        const PngFacts png = ReadPng(prefix + plane);
        EXPECT_EQ(png.width, static_cast<uint32_t>(width)) << plane;
        EXPECT_EQ(png.height, static_cast<uint32_t>(height)) << plane;
        EXPECT_EQ(png.channels, std::string(plane) == "-colour.png" ? PngChannels::Rgba : PngChannels::Rgb) << plane;
    }
    // The top left corner lies outside the seat: transparent, farthest.
    EXPECT_EQ(ReadPng(prefix + "-alpha.png").red, 0);
    EXPECT_EQ(ReadPng(prefix + "-depth.png").red, 255);

    // In the companion, and beyond the last frame.
    const CliResult first =
        RunCli({"sprite", Object("GameData/Objects/bookcase.iff"), "--id", "200", "--frame", "99", "--json"});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(nlohmann::json::parse(first.out)["frame"], 0);
    ASSERT_EQ(first.ErrLines().size(), 1u);
    EXPECT_NE(first.ErrLines()[0].find("warning: frame 99 is beyond the sprite's 12: frame 0 is shown"),
              std::string::npos);
}

TEST_F(SampleGamePreview, BadInputSaysWhatIsWrongInOneLine)
{
    // A sprite whose only row holds a command outside the table, drawn by object 128.
    ByteWriter sprite;
    for (uint32_t v : {1000u, 1u, 0u, 16u})
        sprite.u32le(v);
    for (uint16_t v : {2, 2, 7, 0, 0, 0, 0, 0})
        sprite.u16le(v);
    sprite.u16le(0x0004);
    sprite.u16le(0xE001);
    std::vector<uint8_t> record(216, 0);
    record[6] = 100; // word 3: first draw group
    record[8] = 1;   // word 4: one draw group
    CTGDrawGroup group;
    DrawGroupImage image;
    image.sprites.push_back({5, 0, 0, 0, 0, 0, 0, 0});
    group.Set("broken", 20004, std::vector<DrawGroupImage>(12, image));
    IffBuilder builder;
    builder.AddChunk(kTypeOBJD, 128, "broken", record);
    builder.AddChunk(kTypeDGRP, 100, "broken", group.Encode());
    builder.AddChunk(kTypeSPR2, 5, "broken", sprite.data(), 0);
    const std::string broken = work_.File("broken.iff");
    WriteBytes(broken, builder.Build(IffBuilder::Map::Written));

    const std::string chair = Object("GameData/Objects/chair.iff");
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const Case cases[] = {
        {{"preview", work_.File("none.iff"), "--id", "128", "--json"}, "none.iff: no such file"},
        {{"preview", chair, "--id", "999", "--json"}, "chair.iff: no OBJD 999"},
        {{"preview", chair, "--id", "128", "--background", "GG0000", "--json"},
         "GG0000: a background colour is six hex digits"},
        {{"preview", chair, "--id", "128"}, "name the PNG to write with -o"},
        {{"preview", chair, "--id", "128", "-o", work_.File("no/such/folder.png")}, "folder.png: cannot write the PNG"},
        {{"sprite", chair, "--id", "999", "--json"}, "chair.iff: no SPR# or SPR2 resource 999"},
        {{"sprite", broken, "--id", "5", "--json"}, "broken.iff: SPR2 5 frame 0: bad token 0xE001"},
        {{"sprite", work_.File("none.iff"), "--id", "5", "--json"}, "none.iff: no such file"},
    };
    for (const Case& c : cases) {
        const CliResult result = RunCli(c.args);
        EXPECT_NE(result.status, 0) << c.says;
        ASSERT_EQ(result.ErrLines().size(), 1u) << result.err;
        EXPECT_NE(result.ErrLines()[0].find(c.says), std::string::npos) << result.err;
        EXPECT_EQ(result.ErrLines()[0].rfind("zelvane-cli: ", 0), 0u) << result.err;
    }
    EXPECT_NE(RunCli({"preview", chair, "--id", "128", "--index", "12", "--json"}).status, 0);

    // A damaged sprite in a preview is a warning: the rest is still drawn.
    const CliResult preview = RunCli({"preview", broken, "--id", "128", "--json"});
    EXPECT_EQ(preview.status, 0);
    EXPECT_EQ(nlohmann::json::parse(preview.out)["notes"].size(), 1u);
    ASSERT_EQ(preview.ErrLines().size(), 1u);
    EXPECT_NE(preview.ErrLines()[0].find("warning: DGRP 100: SPR2 5 frame 0: bad token"), std::string::npos)
        << preview.err;
}

// The numbers of the real objects as the composer lays them out.
TEST(PreviewCommands, RealObjects)
{
    const std::filesystem::path folder = TestDataDir() / "iff";
    std::error_code ec;
    if (TestDataDir().empty() || !std::filesystem::is_directory(folder, ec))
        GTEST_SKIP() << "no real files";
    struct Expected {
        const char* file;
        int id, tiles, width, height, anchorX, anchorY;
    };
    for (const Expected& e : {Expected{"k8capcoffeetablehd.iff", 16810, 2, 206, 144, 133, 104},
                              Expected{"k8capchairts.iff", 16810, 1, 144, 151, 70, 111},
                              Expected{"k8essbedroomslippersts.iff", 16807, 1, 52, 29, 29, 13},
                              Expected{"k8lidrug.iff", 16820, 6, 316, 167, 191, 133}}) {
        const std::string path = (folder / e.file).string();
        if (!std::filesystem::exists(path))
            continue;
        const nlohmann::json p = Json({"preview", path, "--id", std::to_string(e.id), "--json"});
        EXPECT_EQ(p["tiles"], e.tiles) << e.file;
        EXPECT_EQ(p["width"], e.width) << e.file;
        EXPECT_EQ(p["height"], e.height) << e.file;
        EXPECT_EQ(p["anchor_x"], e.anchorX) << e.file;
        EXPECT_EQ(p["anchor_y"], e.anchorY) << e.file;
        EXPECT_TRUE(p["notes"].empty()) << e.file;
    }
    const std::string chair = (folder / "k8capchairts.iff").string();
    if (std::filesystem::exists(chair)) {
        const nlohmann::json s = Json({"sprite", chair, "--id", "3128", "--frame", "1", "--json"});
        EXPECT_EQ(s["frames"], 6);
        EXPECT_EQ(s["width"], 128);
        EXPECT_EQ(s["height"], 135);
        EXPECT_EQ(s["palette_id"], 104);
    }

    // The rug's sprites are version 1001: listed, shown and drawn as such.
    const std::string rug = (folder / "k8lidrug.iff").string();
    if (std::filesystem::exists(rug)) {
        const nlohmann::json s = Json({"sprite", rug, "--id", "103", "--frame", "11", "--json"});
        EXPECT_EQ(s["version"], 1001);
        EXPECT_EQ(s["frames"], 12);
        EXPECT_EQ(s["frame"], 11);
        EXPECT_EQ(s["palette_id"], 188);
        EXPECT_GT(s["colours_used"].get<int>(), 10);
        int sprites = 0;
        const nlohmann::json listing = Json({"list", "--json", rug});
        for (const auto& resource : listing["members"][0]["resources"])
            if (resource["type"] == "SPR2") {
                EXPECT_EQ(resource["sprite_version"], 1001) << resource.dump();
                ++sprites;
            } else {
                EXPECT_FALSE(resource.contains("sprite_version")) << resource.dump();
            }
        EXPECT_EQ(sprites, 6);
    }
}
