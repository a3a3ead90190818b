// A mesh with materials baked into the working object's sprites: its face
// groups keep their colour and their texture in every direction.

#include "bake/GameCamera.h"
#include "objects/SpriteDecoder.h"
#include "pngio/PngCodec.h"
#include "scene/COGLMesh.h"
#include "tests/bake/BakeFixtures.h"
#include "tests/scene/TestMesh.h"

#include <gtest/gtest.h>

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

} // namespace
