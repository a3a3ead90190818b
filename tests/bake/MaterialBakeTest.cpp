// A mesh with materials baked into the working object's sprites: its face
// groups keep their colour and their texture in every direction, each part
// of a texture where it lies on the model.

#include "bake/GameCamera.h"
#include "objects/SpriteDecoder.h"
#include "objects/SpriteFrameCut.h"
#include "pngio/PngCodec.h"
#include "scene/COGLMesh.h"
#include "tests/bake/BakeFixtures.h"
#include "tests/scene/TestMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace zelvane;
using namespace zelvane::test;

namespace {

// A cube of side 0.8 around the origin, four corners a face (each with the
// whole texture), every triangle turned outwards. Faces 0-1 are the top.
TestMesh Cube()
{
    TestMesh mesh;
    mesh.name = "cube";
    mesh.extents = {0.4f, 0.4f, 0.4f};
    TestMeshPart part;
    part.name = "Cube";
    const float h = 0.4f;
    // Top first, then the four sides and the bottom: the face's axis and sign.
    const std::pair<int, float> sides[6] = {{1, h}, {0, h}, {0, -h}, {2, h}, {2, -h}, {1, -h}};
    for (const auto& [axis, at] : sides) {
        const int u = (axis + 1) % 3, v = (axis + 2) % 3;
        const int base = static_cast<int>(part.vertices.size());
        const float corners[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
        for (const auto& corner : corners) {
            float p[3];
            p[axis] = at;
            p[u] = corner[0];
            p[v] = corner[1];
            part.vertices.push_back({p[0], p[1], p[2]});
        }
        part.texCoords.insert(part.texCoords.end(), {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
        for (const std::array<int, 3> triangle : {std::array<int, 3>{0, 1, 2}, std::array<int, 3>{0, 2, 3}}) {
            MeshFace face{{base + triangle[0], base + triangle[1], base + triangle[2]},
                          {base + triangle[0], base + triangle[1], base + triangle[2]}};
            // Outwards: the sides at −h turn the other way.
            const bool flip = at < 0;
            if (flip) {
                std::swap(face.vertex[1], face.vertex[2]);
                std::swap(face.texCoord[1], face.texCoord[2]);
            }
            part.faces.push_back(face);
        }
    }
    mesh.parts.push_back(part);
    return mesh;
}

int Dominant(const SpriteFrame& frame, int channel)
{
    int count = 0;
    for (int y = 0; y < frame.colour.Height(); ++y)
        for (int x = 0; x < frame.colour.Width(); ++x) {
            if (frame.alpha.PixelByte(x, y) < 128)
                continue;
            const Rgb c = frame.colour.PixelColour(x, y);
            const int value[3] = {c.red, c.green, c.blue};
            count += value[channel] > value[(channel + 1) % 3] + 50 && value[channel] > value[(channel + 2) % 3] + 50;
        }
    return count;
}

TEST(MaterialBake, FaceGroupsKeepTheirColourAndTextureInEveryDirection)
{
    BakeStage stage;
    ASSERT_TRUE(stage.ok()) << stage.Error();
    const RecordedReports reports;
    const TempDir dir;
    PngImage blue{4, 4, PngChannels::Rgb, {}};
    for (int i = 0; i < 16; ++i)
        blue.pixels.insert(blue.pixels.end(), {30, 60, 230});
    std::string error;
    ASSERT_TRUE(WritePngFile(dir.File("blue.png"), blue, error)) << error;

    TestMesh cube = Cube();
    ModelMaterials materials;
    ModelMaterial red;
    red.name = "Red";
    red.ambient = red.diffuse = {0.8f, 0.1f, 0.1f};
    ModelMaterial pictured;
    pictured.name = "Blue";
    pictured.texturePath = dir.File("blue.png");
    materials.materials = {red, pictured};
    materials.partGroups = {{{0, {0, 1}}, {1, {2, 3, 4, 5, 6, 7, 8, 9}}}};
    auto made = std::make_unique<COGLMesh>(cube.Set(), materials);
    ASSERT_TRUE(made->MissingTextures().empty());
    made->SetScale(1, 1, 1);
    made->SetOrientation({});
    made->SetPosition(0.0f, 0.4f, 0.0f);
    stage.Scene().AddObject(std::move(made));

    WorkingFile work("chair.iff");
    const BakeResult result = BakeSprites(work.Request(stage));
    ASSERT_EQ(result.outcome, BakeOutcome::Written) << result.error;
    work.Reopen();
    for (int direction = 0; direction < 4; ++direction) {
        // The largest zoom's image of this direction.
        const int image = GameImage{direction, 0}.Index();
        SpriteFrame frame;
        ASSERT_EQ(LoadSprite(work.File().Container(), 200, GameImage::FromIndex(image).SpriteFrame(), {}, frame) &
                      kSpriteAllPlanes,
                  kSpriteAllPlanes);
        EXPECT_GT(Dominant(frame, 0), 200) << "the red top, direction " << direction;
        EXPECT_GT(Dominant(frame, 2), 400) << "the blue texture on the sides, direction " << direction;
    }
}

// A rug lying on the floor of tile (0, 0), 0.9 wide, facing up, the whole
// texture across it.
TestMesh Rug()
{
    TestMesh mesh;
    mesh.name = "rug";
    mesh.extents = {0.45f, 0.0f, 0.45f};
    TestMeshPart part;
    part.name = "Rug";
    const float h = 0.45f;
    part.vertices = {{-h, 0, -h}, {h, 0, -h}, {h, 0, h}, {-h, 0, h}};
    part.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    // Counter-clockwise seen from above (+y).
    part.faces = {{{0, 2, 1}, {0, 2, 1}}, {{0, 3, 2}, {0, 3, 2}}};
    mesh.parts.push_back(part);
    return mesh;
}

TEST(MaterialBake, EachColourOfACheckeredTextureStaysWhereItLiesInEveryDirection)
{
    BakeStage stage;
    ASSERT_TRUE(stage.ok()) << stage.Error();
    const RecordedReports reports;
    const TempDir dir;
    // Four colours in the picture's four quarters.
    const std::uint8_t colours[4][3] = {{220, 30, 30}, {30, 200, 40}, {30, 50, 220}, {230, 220, 30}};
    PngImage checker{8, 8, PngChannels::Rgb, {}};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint8_t* c = colours[(y / 4) * 2 + x / 4];
            checker.pixels.insert(checker.pixels.end(), {c[0], c[1], c[2]});
        }
    std::string error;
    ASSERT_TRUE(WritePngFile(dir.File("checker.png"), checker, error)) << error;

    TestMesh rug = Rug();
    ModelMaterials materials;
    ModelMaterial pictured;
    pictured.name = "Checker";
    pictured.texturePath = dir.File("checker.png");
    materials.materials = {pictured};
    materials.partGroups = {{{0, {0, 1}}}};
    auto made = std::make_unique<COGLMesh>(rug.Set(), materials);
    ASSERT_TRUE(made->MissingTextures().empty());
    made->SetScale(1, 1, 1);
    made->SetOrientation({});
    made->SetPosition(0.0f, 0.01f, 0.0f);
    stage.Scene().AddObject(std::move(made));
    WorkingFile work("chair.iff");
    const BakeResult result = BakeSprites(work.Request(stage));
    ASSERT_EQ(result.outcome, BakeOutcome::Written) << result.error;
    work.Reopen();

    // Which colour (index into `colours`) is nearest a pixel.
    const auto nearest = [&](const Rgb& c) {
        int best = 0;
        double bestDistance = 1e9;
        for (int i = 0; i < 4; ++i) {
            // Shading scales a colour: compare directions, not lengths.
            const double len = std::hypot(c.red, c.green, c.blue) + 1e-9;
            const double ref = std::hypot(colours[i][0], colours[i][1], colours[i][2]);
            const double d = std::hypot(c.red / len - colours[i][0] / ref, c.green / len - colours[i][1] / ref,
                                        c.blue / len - colours[i][2] / ref);
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return best;
    };
    const GameCamera camera;
    const Vector3 quarters[4] = {{-0.22f, 0.01f, -0.22f}, {0.22f, 0.01f, -0.22f}, {0.22f, 0.01f, 0.22f},
                                 {-0.22f, 0.01f, 0.22f}};
    std::vector<int> seenIn0;
    for (int direction = 0; direction < 4; ++direction) {
        SpriteFrame frame;
        ASSERT_EQ(LoadSprite(work.File().Container(), 200, GameImage{direction, 0}.SpriteFrame(), {}, frame) &
                      kSpriteAllPlanes,
                  kSpriteAllPlanes);
        std::vector<int> seen;
        for (const Vector3& quarter : quarters) {
            const ScreenPosition at = camera.Project(direction, quarter);
            const int x = tile_canvas::kCentreX + static_cast<int>(std::lround(at.x)) - frame.info.originX;
            const int y = tile_canvas::kCentreY + static_cast<int>(std::lround(at.y)) - frame.info.originY;
            ASSERT_TRUE(x >= 0 && y >= 0 && x < frame.colour.Width() && y < frame.colour.Height())
                << "direction " << direction << ": " << x << ", " << y;
            ASSERT_EQ(frame.alpha.PixelByte(x, y), 255) << "direction " << direction;
            seen.push_back(nearest(frame.colour.PixelColour(x, y)));
        }
        if (direction == 0) {
            seenIn0 = seen;
            EXPECT_EQ(std::set<int>(seen.begin(), seen.end()).size(), 4u) << "four quarters, four colours";
        }
        EXPECT_EQ(seen, seenIn0) << "direction " << direction << ": each colour stays on its quarter of the rug";
    }
}

} // namespace
