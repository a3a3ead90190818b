// Which ids the rendered graphics take: the clone's own where nothing else
// needs them, free ones where something does, and draw groups that would
// show a replaced sprite wrongly rewritten with it.

#include "bake/BakePlan.h"
#include "objects/CObjectFile.h"
#include "objects/SpriteDecoder.h"
#include "objects/SpriteEncoder.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGIffFile.h"
#include "resfile/IffBuilder.h"
#include "tests/bake/BakeFixtures.h"

#include <gtest/gtest.h>

using namespace zelvane;
using namespace zelvane::test;

namespace {

// An object file made resource by resource.
class FileBuilder {
public:
    // An object (or a group member at `place`) whose draw groups are first..first+count-1.
    void Object(int16_t id, int16_t firstGroup, int16_t groups, int16_t groupId = 0, int16_t place = 0,
                int16_t level = 0)
    {
        ObjectDefinition record;
        record.SetInt32At(objd::kVersion, static_cast<int32_t>(objd::kCurrentVersion));
        record.SetWord(objd::kFirstDrawGroup / 2, firstGroup);
        record.SetWord(objd::kDrawGroupCount / 2, groups);
        record.SetWord(objd::kGroupId / 2, groupId);
        record.SetWord(objd::kGroupPlace / 2, place);
        record.SetWord(objd::kTileLevel / 2, level);
        builder_.AddChunk(kTypeOBJD, id, "object " + std::to_string(id), record.StoredBytes());
    }
    void Group(int16_t id, std::vector<int32_t> sprites)
    {
        DrawGroupImage image;
        for (const int32_t sprite : sprites)
            image.sprites.push_back({sprite, 0, 0, 0, 0, 0, 0, 0});
        CTGDrawGroup group;
        group.Set("group " + std::to_string(id), 20004, {image});
        builder_.AddChunk(kTypeDGRP, id, group.Name(), group.Encode());
    }
    void Sprite(int16_t id, int32_t palette, ResType type = kTypeSPR2)
    {
        SpriteFrame frame;
        frame.colour = PlainImage(2, 2, 1, 7);
        frame.info.paletteId = -1;
        const EncodedSprite sprite = type == kTypeSPR2 ? EncodeSpr2({&frame, 1}, palette) : EncodeSpr({&frame, 1}, palette);
        builder_.AddChunk(type, id, "sprite " + std::to_string(id), sprite.bytes, 0);
    }
    void Palette(int16_t id) { builder_.AddChunk(kTypePALT, id, "palette", zelvane::Palette().Encode(), 0); }

    std::string Path() const { return folder_.File("object.iff"); }

    // The file written and opened with its object lists.
    std::unique_ptr<CObjectFile> Open()
    {
        const std::string path = Path();
        WriteBytes(path, builder_.Build(IffBuilder::Map::Written));
        auto file = std::make_unique<CTGIffFile>();
        EXPECT_EQ(file->OpenContainer(path), kResOk);
        auto objects = std::make_unique<CObjectFile>(path, std::move(file));
        EXPECT_EQ(objects->BuildLists(), kResOk);
        return objects;
    }

private:
    TempDir folder_;
    IffBuilder builder_;
};

BakePlan Plan(CObjectFile& file)
{
    return PlanBake(file.Container(), *file.ListedObjects().front());
}

} // namespace

TEST(BakePlan, TheClonesOwnIdsAreTakenOver)
{
    // The sample chair: draw group 100 shows sprite 200 in palette 200.
    WorkingFile chair("chair.iff");
    const BakePlan single = Plan(chair.File());
    ASSERT_TRUE(single.ok()) << single.error;
    ASSERT_EQ(single.tiles.size(), 1u);
    EXPECT_EQ(single.tiles[0].spot, (TileSpot{0, 0}));
    EXPECT_EQ(single.tiles[0].drawGroups, std::vector<int16_t>{100});
    EXPECT_EQ(single.tiles[0].spriteId, 200);
    EXPECT_EQ(single.paletteId, 200);
    EXPECT_TRUE(single.changedDefinitions.empty());
    // The loveseat's two tiles share the palette.
    WorkingFile loveseat("loveseat.iff");
    const BakePlan pair = Plan(loveseat.File());
    ASSERT_TRUE(pair.ok()) << pair.error;
    ASSERT_EQ(pair.tiles.size(), 2u);
    EXPECT_EQ(pair.tiles[0].spot, (TileSpot{0, 0}));
    EXPECT_EQ(pair.tiles[1].spot, (TileSpot{1, 0}));
    EXPECT_EQ(pair.tiles[0].drawGroups, std::vector<int16_t>{100});
    EXPECT_EQ(pair.tiles[1].drawGroups, std::vector<int16_t>{101});
    EXPECT_EQ(pair.tiles[0].spriteId, 200);
    EXPECT_EQ(pair.tiles[1].spriteId, 201);
    EXPECT_EQ(pair.paletteId, 200);
    EXPECT_EQ(pair.replacedSprites, (std::set<int16_t>{200, 201}));
}

TEST(BakePlan, IdsSomethingElseNeedsAreLeftAndGroupsShowingReplacedSpritesRewritten)
{
    FileBuilder b;
    b.Object(128, 100, 3);
    b.Group(100, {200, 201}); // the base: its first sprite is also shown by another object's group
    b.Group(101, {201});      // shows the sprite taken over: rewritten
    b.Group(102, {205});      // shows another sprite: kept
    b.Group(300, {200});      // not the object's
    b.Sprite(200, 60);
    b.Sprite(201, 50, kTypeSPR);
    b.Sprite(205, 60);
    b.Sprite(500, 60); // stays, with palette 60
    b.Palette(50);
    b.Palette(60);
    const auto file = b.Open();
    const BakePlan plan = Plan(*file);
    ASSERT_TRUE(plan.ok()) << plan.error;
    ASSERT_EQ(plan.tiles.size(), 1u);
    EXPECT_EQ(plan.tiles[0].spriteId, 201);
    EXPECT_EQ(plan.tiles[0].drawGroups, (std::vector<int16_t>{100, 101}));
    EXPECT_EQ(plan.paletteId, 50); // only the replaced 'SPR#' used it
    EXPECT_EQ(plan.paletteName, "palette");

    // When every sprite the base shows is needed elsewhere, and the palette
    // too, free ids are used.
    FileBuilder c;
    c.Object(128, 100, 1);
    c.Group(100, {200});
    c.Group(300, {200});
    c.Sprite(200, 50);
    c.Sprite(500, 100); // stays with palette 100, which does not exist
    c.Palette(50);
    const auto second = c.Open();
    const BakePlan fresh = Plan(*second);
    ASSERT_TRUE(fresh.ok()) << fresh.error;
    EXPECT_EQ(fresh.tiles[0].spriteId, 100);
    EXPECT_EQ(fresh.paletteId, 101);         // 100 is what sprite 500 asks for
}

TEST(BakePlan, TilesWithoutGraphicsGetThemAndOddGroupsAreRefused)
{
    // A master with two members: one without draw groups, one a level up.
    FileBuilder b;
    b.Object(128, 0, 0, 7, -1);
    b.Object(129, 0, 0, 7, 0x0000);
    b.Object(130, 100, 1, 7, 0x0100, 1);
    b.Group(100, {200});
    b.Sprite(200, 50);
    const auto file = b.Open();
    const BakePlan plan = Plan(*file);
    ASSERT_TRUE(plan.ok()) << plan.error;
    ASSERT_EQ(plan.tiles.size(), 1u);
    EXPECT_EQ(plan.tiles[0].definitionId, 129);
    EXPECT_EQ(plan.tiles[0].drawGroups, std::vector<int16_t>{101});
    ASSERT_EQ(plan.changedDefinitions.count(129), 1u);
    EXPECT_EQ(plan.changedDefinitions.at(129).Word(objd::kFirstDrawGroup / 2), 101);
    EXPECT_EQ(plan.changedDefinitions.at(129).Word(objd::kDrawGroupCount / 2), 1);
    EXPECT_EQ(plan.tiles[0].spriteId, 100);
    ASSERT_EQ(plan.notes.size(), 2u);
    EXPECT_EQ(plan.notes[0], "tile (1, 0) lies on level 1 and keeps its graphics: the scene has only the floor's level");

    FileBuilder twice;
    twice.Object(128, 0, 0, 7, -1);
    twice.Object(129, 100, 1, 7, 0x0101);
    twice.Object(130, 101, 1, 7, 0x0101);
    const auto clash = twice.Open();
    EXPECT_EQ(Plan(*clash).error, "two tiles of the object stand at (1, 1)");

    FileBuilder alone;
    alone.Object(128, 0, 0, 7, -1);
    const auto empty = alone.Open();
    EXPECT_EQ(Plan(*empty).error, "the object has no tile on the floor to render into");
}

namespace {

// Every resource of a file: type and id to name, converted flag and bytes.
std::map<std::pair<ResType, int16_t>, std::tuple<std::string, bool, std::vector<uint8_t>>> Resources(const std::string& path)
{
    CTGIffFile file;
    EXPECT_EQ(file.OpenContainer(path), kResOk);
    std::map<std::pair<ResType, int16_t>, std::tuple<std::string, bool, std::vector<uint8_t>>> all;
    for (int32_t t = 1; t <= file.CountTypes(); ++t) {
        const ResType type = file.GetIndType(t);
        for (int32_t i = 1; i <= file.CountResources(type); ++i) {
            ResHandle* data = file.GetIndResource(type, i, nullptr);
            int16_t id = 0;
            std::string name;
            file.GetResId(data, id);
            file.GetResName(data, name);
            all[{type, id}] = {name, file.IsConverted(data), {data->Bytes().begin(), data->Bytes().end()}};
            file.ReleaseResource(data);
        }
    }
    return all;
}

} // namespace

TEST(BakePlan, TheWrittenFileHoldsThePlanAndEverythingElseAsItWas)
{
    BakeStage stage;
    ASSERT_TRUE(stage.ok()) << stage.Error();
    stage.AddBox();
    FileBuilder b;
    b.Object(128, 100, 3);
    b.Group(100, {200, 201});
    b.Group(101, {201});
    b.Group(102, {205});
    b.Group(300, {200});
    b.Sprite(200, 60);
    b.Sprite(201, 50, kTypeSPR);
    b.Sprite(205, 60);
    b.Palette(50);
    b.Palette(60);
    auto file = b.Open();
    const auto before = Resources(b.Path());

    BakeRequest request;
    request.scene = &stage.Scene();
    request.objects = BakeableObjects(stage.Scene());
    request.file = file.get();
    request.filePath = b.Path();
    request.object = file->ListedObjects().front();
    RecordedReports reports;
    ASSERT_EQ(BakeSprites(request).outcome, BakeOutcome::Written);
    file.reset();
    const auto after = Resources(b.Path());

    // The 'SPR#' gave way to an 'SPR2' of twelve frames, stored unconverted
    // under the old name, as the palette.
    EXPECT_EQ(after.count({kTypeSPR, 201}), 0u);
    ASSERT_EQ(after.count({kTypeSPR2, 201}), 1u);
    EXPECT_EQ(std::get<0>(after.at({kTypeSPR2, 201})), "sprite 201");
    EXPECT_FALSE(std::get<1>(after.at({kTypeSPR2, 201})));
    SpriteFrameInfo info;
    ASSERT_TRUE(ReadSpriteFrameInfo(SpriteFormat::Spr2, std::get<2>(after.at({kTypeSPR2, 201})), 0, info).ok());
    EXPECT_EQ(info.frameCount, 12u);
    EXPECT_EQ(info.paletteId, 50);
    EXPECT_NE(after.at({kTypePALT, 50}), before.at({kTypePALT, 50}));
    // The two groups that showed it show it anew, keeping their names.
    for (const int16_t id : {100, 101}) {
        CTGDrawGroup group;
        ASSERT_EQ(group.Decode(std::get<2>(after.at({kTypeDGRP, id}))), kResOk);
        EXPECT_EQ(std::get<0>(after.at({kTypeDGRP, id})), "group " + std::to_string(id));
        ASSERT_EQ(group.ImageCount(), 12u);
        EXPECT_EQ(group.Image(10).sprites.at(0).spriteId, 201);
    }
    // Everything else is as it was.
    for (const auto& [key, value] : before) {
        if (key != std::pair{kTypeSPR, int16_t{201}} && key != std::pair{kTypePALT, int16_t{50}} &&
            key != std::pair{kTypeDGRP, int16_t{100}} && key != std::pair{kTypeDGRP, int16_t{101}}) {
            EXPECT_EQ(after.at(key), value) << ResTypeName(key.first) << " " << key.second;
        }
    }
    EXPECT_EQ(after.size(), before.size());
}
