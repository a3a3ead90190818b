// render and pick: the default scene drawn off screen into a PNG of the asked
// size with the program's own textures, what a click selects, and bad options.

#include "tests/cli/CliRunner.h"

#include "pngio/PngCodec.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace zelvane::test;

namespace {

struct PngSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

PngSize SizeOfPng(const std::string& path)
{
    zelvane::PngImage image;
    std::string error;
    if (!zelvane::ReadPngFile(path, image, error)) {
        ADD_FAILURE() << path << ": " << error;
        return {};
    }
    return {image.width, image.height};
}

TEST(RenderCommand, DrawsTheDefaultSceneWithTheProgramsTexturesAtTheAskedSize)
{
    TempDir folder;
    const std::string out = folder.File("room.png");
    const CliResult result = RunCli({"render", "-o", out, "--size", "320x200", "--camera", "top", "--mode", "wireframe",
                                     "--grid", "--axis", "--add", "box@1,0.5,2", "--add", "Sphere", "--select", "2"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "") << "the default textures are found beside the program";
    EXPECT_EQ(result.out, out + ": 320 x 200 pixels, 2 objects besides the floor and walls\n");
    const PngSize size = SizeOfPng(out);
    EXPECT_EQ(size.width, 320u);
    EXPECT_EQ(size.height, 200u);

    // Without its textures the room is drawn plain, and the loader says why.
    const CliResult bare = RunCli({"render", "-o", out, "--maps", folder.File("no-maps")});
    EXPECT_EQ(bare.status, 0) << bare.err;
    EXPECT_NE(bare.err.find("Could not load Bitmap."), std::string::npos) << bare.err;
}

TEST(RenderCommand, RefusesBadOptionsWithAReason)
{
    TempDir folder;
    const std::string out = folder.File("x.png");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--size", "800by600"}, "--size is WIDTHxHEIGHT"},
        {{"--size", "0x600"}, "1 to 8192 pixels"},
        {{"--size", "99999x2"}, "1 to 8192 pixels"},
        {{"--add", "teapot@1,2,3"}, "no primitive is called 'teapot'"},
        {{"--add", "box@1,2"}, "the position is X,Y,Z"},
        {{"--add", "box", "--select", "2"}, "--select takes the number of an added primitive, 1 to 1"},
        {{"--cage-size", "2,x,3"}, "--cage-size is W,H,D"},
    };
    for (const auto& [options, reason] : cases) {
        std::vector<std::string> args{"render", "-o", out};
        args.insert(args.end(), options.begin(), options.end());
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 1) << options[1];
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
    }
    EXPECT_NE(RunCli({"render", "-o", out, "--camera", "side"}).status, 0);
    const CliResult unwritable = RunCli({"render", "-o", folder.File("no/such/folder/x.png")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write the PNG"), std::string::npos);
}

TEST(PickCommand, SaysWhatAClickSelects)
{
    // 800 × 600 in the game's view: a box at the origin lands at (400, 318),
    // the light at (9, 3, 0) at (663, 97), and (200, 400) is bare floor.
    CliResult result = RunCli({"pick", "400", "318", "--add", "box@0,0.5,0", "--add", "sphere@4,1,4"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "(400, 318): Box, added primitive 1\n");

    result = RunCli({"pick", "663", "97"});
    EXPECT_EQ(result.out, "(663, 97): the marker of light 'Point' in slot 2; the scene selects nothing\n");
    result = RunCli({"pick", "200", "400", "--mode", "wireframe"});
    EXPECT_EQ(result.out, "(200, 400): nothing\n");

    result = RunCli({"pick", "400", "318", "--add", "cone@0,0.5,0", "--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    const nlohmann::json json = nlohmann::json::parse(result.out, nullptr, false);
    EXPECT_EQ(json["object"]["kind"], "Cone");
    EXPECT_EQ(json["object"]["number"], 1);
    EXPECT_TRUE(json["light"].is_null());

    result = RunCli({"pick", "800", "10"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("outside the 800x600 picture"), std::string::npos) << result.err;
}

TEST(RenderCommand, AddsTextObjectsThatDrawAndPick)
{
    TempDir folder;
    const std::vector<std::string> view = {"--size", "320x240", "--camera", "front", "--zoom", "near"};
    auto render = [&](const std::string& name, std::vector<std::string> extra) {
        std::vector<std::string> args = {"render", "-o", folder.File(name)};
        args.insert(args.end(), view.begin(), view.end());
        args.insert(args.end(), extra.begin(), extra.end());
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 0) << result.err;
        zelvane::PngImage image;
        std::string error;
        EXPECT_TRUE(zelvane::ReadPngFile(folder.File(name), image, error)) << error;
        return image;
    };
    const zelvane::PngImage empty = render("empty.png", {});
    // UTF-8 on the command line, the code page's "é" in the text.
    const zelvane::PngImage text = render("text.png", {"--text", "H\xC3\xA9@0,1,0"});
    ASSERT_EQ(empty.pixels.size(), text.pixels.size());
    ASSERT_EQ(text.channels, zelvane::PngChannels::Rgb);
    std::size_t changed = 0, first = 0;
    for (std::size_t i = 0; i < text.pixels.size(); i += 3)
        if (text.pixels[i] != empty.pixels[i] || text.pixels[i + 1] != empty.pixels[i + 1]) {
            if (changed++ == 0)
                first = i / 3;
        }
    EXPECT_GT(changed, 300u) << "the letters are drawn";

    // A pixel the letters cover picks the text.
    std::vector<std::string> pick = {"pick", std::to_string(first % 320 + 1), std::to_string(first / 320 + 1), "--add",
                                     "box@5,0.5,0", "--text", "H\xC3\xA9@0,1,0"};
    pick.insert(pick.end(), view.begin(), view.end());
    const CliResult picked = RunCli(pick);
    ASSERT_EQ(picked.status, 0) << picked.err;
    EXPECT_NE(picked.out.find(": Text, added primitive 2\n"), std::string::npos) << picked.out;

    const std::pair<std::string, std::string> refusals[] = {
        {"H@1,2", "the position is X,Y,Z"},
        {"\xE4\xB8\xAD", "only the characters of the Western code page"},
        {"\xC3", "only the characters of the Western code page"},
    };
    for (const auto& [argument, reason] : refusals) {
        const CliResult result = RunCli({"render", "-o", folder.File("x.png"), "--text", argument});
        EXPECT_EQ(result.status, 1) << argument;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
    }
    // A text may hold '@' when a position follows; too long a text is cut
    // with the editor's message.
    const CliResult at = RunCli({"render", "-o", folder.File("x.png"), "--text", "a@b@0,0,0", "--text",
                                 std::string(40, 'x')});
    EXPECT_EQ(at.status, 0) << at.err;
    EXPECT_NE(at.err.find("Text too long, truncating."), std::string::npos) << at.err;
}

} // namespace
