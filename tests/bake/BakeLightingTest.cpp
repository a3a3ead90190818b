// The bake's light, judged on what the preview composes from the file
// written: fixed to the game's camera, so that an object looks the same
// whichever way the player turns it; even across a flat surface; bright
// enough, never washed out; and the tops and sides of things as much
// brighter than one another as on real objects.

#include "bake/SpriteRenderer.h"
#include "objects/PreviewTile.h"
#include "scene/COGLBox.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPlane.h"
#include "tests/bake/BakeFixtures.h"
#include "tools/RoundedMesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

using namespace zelvane;
using namespace zelvane::test;

namespace {

double Brightness(Rgb c)
{
    return (c.red + c.green + c.blue) / 3.0;
}

// The opaque pixels of a composed picture.
struct Spread {
    double mean = 0;
    double low = 255;
    double high = 0;
    int pixels = 0;
    int nearWhite = 0; // every channel 245 or more
    int brightestChannel = 0;
};

Spread Measure(const ObjectPreview& picture)
{
    Spread s;
    double sum = 0;
    for (int y = 0; y < picture.mask.Height(); ++y)
        for (int x = 0; x < picture.mask.Width(); ++x) {
            if (picture.mask.PixelByte(x, y) != 255)
                continue;
            const Rgb c = picture.colour.PixelColour(x, y);
            const double b = Brightness(c);
            sum += b;
            s.low = std::min(s.low, b);
            s.high = std::max(s.high, b);
            s.nearWhite += c.red >= 245 && c.green >= 245 && c.blue >= 245;
            s.brightestChannel = std::max({s.brightestChannel, int{c.red}, int{c.green}, int{c.blue}});
            ++s.pixels;
        }
    s.mean = s.pixels ? sum / s.pixels : 0;
    return s;
}

class BakeLight : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(stage_.ok()) << stage_.Error(); }

    void Bake(WorkingFile& work, int samples = 4)
    {
        BakeRequest request = work.Request(stage_);
        request.options.render.samples = samples;
        const BakeResult result = BakeSprites(request);
        ASSERT_EQ(result.outcome, BakeOutcome::Written) << result.error;
        work.Reopen();
    }

    BakeStage stage_;
    RecordedReports reports_;
};

} // namespace

TEST_F(BakeLight, AUniformPlaneIsAsBrightInEveryDirectionAndEvenAcrossEachTile)
{
    auto plane = std::make_unique<COGLPlane>();
    plane->RotateAxisAngle({1.0f, 0.0f, 0.0f}, 90.0f); // lying on the floor, facing up
    plane->SetPosition(0.5f, 0.0f, -0.5f);              // over the table's 2 × 2 tiles
    plane->SetDiffuse(0.35f, 0.35f, 0.35f, 1.0f);      // dark enough that nothing clips
    plane->SetAmbient(0.2f, 0.2f, 0.2f, 1.0f);
    stage_.Scene().AddObject(std::move(plane));
    WorkingFile work("diningtable.iff");
    Bake(work, 2); // a flat colour needs few samples, and four tiles take long
    std::vector<PreviewTile> tiles;
    for (const CObjectEntry* member : work.Object().Members())
        tiles.push_back(PreviewTile::FromDefinition(member->Definition().Bytes(), TilePlace::InGroup));
    ASSERT_EQ(tiles.size(), 4u);

    double darkest = 255, brightest = 0, widest = 0;
    for (int direction = 0; direction < kGameDirections; ++direction) {
        const int image = GameImage{direction, kLargestZoomShift}.Index();
        const ObjectPreview whole = work.Compose(image);
        SavePicture("plane-2x2-" + std::to_string(image), whole.colour, &whole.mask);
        const Spread all = Measure(whole);
        ASSERT_GT(all.pixels, 4 * 3000) << "image " << image;
        darkest = std::min(darkest, all.mean);
        brightest = std::max(brightest, all.mean);
        std::cout << "direction " << direction << ": mean " << all.mean;
        for (const PreviewTile& tile : tiles) {
            const Spread one = Measure(ComposeObjectPreview(work.File().Container(), {&tile, 1}, image));
            widest = std::max(widest, one.high - one.low);
            std::cout << ", tile " << one.low << "-" << one.high;
        }
        std::cout << "\n";
    }
    EXPECT_LE(brightest - darkest, 2.0);
    EXPECT_LE(widest, 12.0);
}

TEST_F(BakeLight, TheDefaultMaterialIsNotWashedOut)
{
    RoundedMeshShape shape;
    shape.triangles = 20000;
    const RoundedMesh rounded(shape);
    auto mesh = std::make_unique<COGLMesh>(rounded.Set()); // the default material
    mesh->SetScale(1, 1, 1);
    mesh->SetOrientation({});
    mesh->SetPosition(0.0f, 0.4f, -0.5f); // over the loveseat's two tiles
    stage_.Scene().AddObject(std::move(mesh));
    WorkingFile work("loveseat.iff");
    Bake(work);
    int pixels = 0, nearWhite = 0;
    for (int image = 0; image < kGameImages; ++image) {
        const ObjectPreview picture = work.Compose(image);
        SavePicture("rounded-" + std::to_string(image), picture.colour, &picture.mask);
        const Spread s = Measure(picture);
        pixels += s.pixels;
        nearWhite += s.nearWhite;
    }
    ASSERT_GT(pixels, 0);
    const double share = static_cast<double>(nearWhite) / pixels;
    std::cout << nearWhite << " of " << pixels << " opaque pixels near white (" << 100 * share << "%)\n";
    EXPECT_LT(share, 0.02);
}

namespace {

// The three faces of a box as the largest picture of `direction` shows them:
// its commonest colours, with where they lie across the picture.
struct Face {
    Rgb colour;
    double meanX = 0;
    int pixels = 0;
};

std::vector<Face> BoxFaces(const ObjectPreview& picture)
{
    std::map<std::array<int, 3>, Face> faces;
    for (int y = 0; y < picture.mask.Height(); ++y)
        for (int x = 0; x < picture.mask.Width(); ++x)
            if (picture.mask.PixelByte(x, y) == 255) {
                const Rgb c = picture.colour.PixelColour(x, y);
                Face& face = faces[{c.red, c.green, c.blue}];
                face.colour = c;
                face.meanX += x;
                ++face.pixels;
            }
    std::vector<Face> common;
    for (auto& [key, face] : faces) {
        face.meanX /= face.pixels;
        common.push_back(face);
    }
    std::sort(common.begin(), common.end(), [](const Face& a, const Face& b) { return a.pixels > b.pixels; });
    common.resize(std::min<size_t>(common.size(), 3));
    return common;
}

} // namespace

// Measured on the real coffee table (by the depth planes' slopes, between
// pixels of one material): its top is 1.2 to 1.6 times as bright as the
// brighter side and 2.1 to 2.3 times as the darker one. A white matte box
// is lit alike, its brighter side the left one (the key light's), with the
// same three colours in every direction although each turn of the view
// carries it elsewhere around the light; and no white matte surface,
// whichever way it faces, reaches 236.
TEST_F(BakeLight, ABoxLooksTheSameInEveryDirectionKeepsTheRealRatiosAndWhiteNeverClips)
{
    COGLObject& box = stage_.AddBox();
    box.SetScale(0.4f, 0.4f, 0.4f);
    box.SetPosition(0.0f, 0.4f, -1.0f); // on the loveseat's second tile
    box.SetAmbient(1, 1, 1, 1);
    box.SetDiffuse(1, 1, 1, 1);
    RoundedMeshShape round;
    round.triangles = 20000;
    round.halfX = round.halfY = round.halfZ = 0.3f;
    round.exponent = 1.0f; // a ball: every way a surface can face
    const RoundedMesh ball(round);
    auto mesh = std::make_unique<COGLMesh>(ball.Set());
    mesh->SetScale(1, 1, 1);
    mesh->SetOrientation({});
    mesh->SetPosition(0.0f, 0.3f, 0.0f); // on the first tile
    mesh->SetAmbient(1, 1, 1, 1);
    mesh->SetDiffuse(1, 1, 1, 1);
    stage_.Scene().AddObject(std::move(mesh));
    WorkingFile work("loveseat.iff");
    Bake(work);

    for (int image = 0; image < kGameImages; ++image) {
        const ObjectPreview picture = work.Compose(image);
        SavePicture("white-" + std::to_string(image), picture.colour, &picture.mask);
        EXPECT_LE(Measure(picture).brightestChannel, 235) << "image " << image;
    }
    // The box alone, on the second tile.
    std::vector<PreviewTile> tiles;
    for (const CObjectEntry* member : work.Object().Members())
        tiles.push_back(PreviewTile::FromDefinition(member->Definition().Bytes(), TilePlace::InGroup));
    ASSERT_EQ(tiles.size(), 2u);
    std::vector<Face> seen; // in direction 0
    for (int direction = 0; direction < kGameDirections; ++direction) {
        const ObjectPreview second = ComposeObjectPreview(work.File().Container(), {&tiles[1], 1},
                                                          GameImage{direction, kLargestZoomShift}.Index());
        std::vector<Face> faces = BoxFaces(second);
        ASSERT_EQ(faces.size(), 3u);
        std::sort(faces.begin(), faces.end(),
                  [](const Face& a, const Face& b) { return Brightness(a.colour) > Brightness(b.colour); });
        if (seen.empty())
            seen = faces;
        for (size_t f = 0; f < faces.size(); ++f)
            EXPECT_EQ(faces[f].colour, seen[f].colour) << "direction " << direction << ", face " << f;
        const double top = Brightness(faces[0].colour);
        const double lit = top / Brightness(faces[1].colour), dark = top / Brightness(faces[2].colour);
        std::cout << "direction " << direction << ": top " << top << ", " << lit << " and " << dark
                  << " times as bright as the sides\n";
        EXPECT_GE(lit, 1.2);
        EXPECT_LE(lit, 1.6);
        EXPECT_GE(dark, 2.1);
        EXPECT_LE(dark, 2.3);
        EXPECT_LT(faces[1].meanX, faces[2].meanX) << "the brighter side is the left one";
    }
}

// The view's "Preview as Baked" draws the four views in the bake's light: a
// box standing on the footprint's tile looks the same in every quarter, each
// face in its own shade, as the bake will make it.
TEST(BakedPreview, ShowsTheFourViewsAlikeInTheBakesLight)
{
    BakeStage stage;
    ASSERT_TRUE(stage.ok()) << stage.Error();
    stage.AddBox().SetDiffuse(0.8f, 0.6f, 0.4f, 1.0f);
    const std::vector<COGLObject*> objects = BakeableObjects(stage.Scene());
    stage.Context().BeginGL();
    DrawBakedPreview(stage.Scene(), objects, 64, 64, 0.25, {0, 0, 0}, 1, 1);
    const PlainImage frame = stage.Context().ReadImage();
    stage.Context().EndGL();

    const ColourRGBA& background = stage.Scene().Background();
    const Rgb clear{static_cast<std::uint8_t>(std::lround(background[0] * 255)),
                    static_cast<std::uint8_t>(std::lround(background[1] * 255)),
                    static_cast<std::uint8_t>(std::lround(background[2] * 255))};
    std::vector<std::map<std::uint32_t, int>> shades(4);
    for (int quarter = 0; quarter < 4; ++quarter)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                // Quarter 0 is the top left; the image's rows are top first.
                const Rgb c = frame.PixelColour((quarter % 2) * 32 + x, (quarter / 2) * 32 + y);
                if (std::abs(c.red - clear.red) + std::abs(c.green - clear.green) + std::abs(c.blue - clear.blue) > 6)
                    ++shades[static_cast<std::size_t>(quarter)][(c.red << 16) | (c.green << 8) | c.blue];
            }
    // The three faces are the most common shades, and the same in every view.
    const auto faces = [](const std::map<std::uint32_t, int>& counts) {
        std::vector<std::pair<int, std::uint32_t>> byCount;
        for (const auto& [colour, count] : counts)
            byCount.emplace_back(count, colour);
        std::sort(byCount.rbegin(), byCount.rend());
        std::vector<std::uint32_t> top;
        for (std::size_t i = 0; i < std::min<std::size_t>(3, byCount.size()); ++i)
            top.push_back(byCount[i].second);
        std::sort(top.begin(), top.end());
        return top;
    };
    ASSERT_EQ(faces(shades[0]).size(), 3u) << "a top and two sides";
    for (int quarter = 1; quarter < 4; ++quarter)
        EXPECT_EQ(faces(shades[static_cast<std::size_t>(quarter)]), faces(shades[0])) << "quarter " << quarter;
}
