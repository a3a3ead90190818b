// Rendering the scene into the working object's sprites, judged by what the
// preview composes from the file written: the game's diamond to the pixel,
// the real rug's depth, two tiles that join into the direct render, and a
// file that stays as it was when the bake is cancelled or fails.

#include "bake/BakeFramebuffer.h"
#include "bake/BakeLighting.h"
#include "bake/GameCamera.h"
#include "bake/GameDepth.h"
#include "bake/ObjectSprites.h"
#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"
#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "objects/PreviewTile.h"
#include "objects/SpriteDecoder.h"
#include "objects/SpriteFrameCut.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGIffFile.h"
#include "resfile/FileFaults.h"
#include "scene/COGLPointLight.h"
#include "scene/COGLViewport3D.h"
#include "scene/SceneFrame.h"
#include "tests/bake/BakeFixtures.h"
#include "tools/FurnitureModels.h"
#include "tools/FurnitureSceneObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

class Bake : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(stage_.ok()) << stage_.Error(); }

    BakeResult Run(WorkingFile& work)
    {
        const BakeResult result = BakeSprites(work.Request(stage_));
        EXPECT_EQ(result.outcome, BakeOutcome::Written) << result.error;
        work.Reopen();
        return result;
    }

    BakeStage stage_;
    RecordedReports reports_;
};

// Whether the point (x, y) lies inside the convex polygon `corners` (in
// order, either way round), or too near an edge to tell (`unsure`).
bool Inside(const std::vector<std::array<double, 2>>& corners, double x, double y, double margin, bool& unsure)
{
    double nearest = 1e9;
    bool left = true, right = true;
    for (size_t i = 0; i < corners.size(); ++i) {
        const auto& a = corners[i];
        const auto& b = corners[(i + 1) % corners.size()];
        const double ex = b[0] - a[0], ey = b[1] - a[1];
        const double side = (ex * (y - a[1]) - ey * (x - a[0])) / std::hypot(ex, ey);
        left = left && side >= 0;
        right = right && side <= 0;
        nearest = std::min(nearest, std::fabs(side));
    }
    unsure = nearest < margin;
    return left || right;
}

// The composed preview's footprint (mask of at least half) against a
// polygon given in pixels of the largest zoom from the tile's centre.
void ExpectFootprint(const ObjectPreview& preview, int image, std::vector<std::array<double, 2>> corners,
                     double margin)
{
    const double scale = 1.0 / GameImage::FromIndex(image).Reduction();
    for (auto& c : corners)
        c = {c[0] * scale, c[1] * scale};
    int wrong = 0, checked = 0;
    for (int y = 0; y < preview.mask.Height(); ++y)
        for (int x = 0; x < preview.mask.Width(); ++x) {
            bool unsure = false;
            const bool inside =
                Inside(corners, x - preview.anchorX + 0.5, y - preview.anchorY + 0.5, margin, unsure);
            if (unsure)
                continue;
            ++checked;
            const bool drawn = preview.mask.PixelByte(x, y) >= 128;
            if (drawn != inside && ++wrong <= 5)
                ADD_FAILURE() << "image " << image << ": pixel (" << x - preview.anchorX << ", "
                              << y - preview.anchorY << ") from the tile's centre is "
                              << (drawn ? "drawn" : "not drawn");
        }
    EXPECT_EQ(wrong, 0) << "of " << checked << " pixels in image " << image;
}

// The tile's diamond: left, bottom, right and top corners.
const std::vector<std::array<double, 2>> kDiamond = {{-64, 0}, {0, 32}, {64, 0}, {0, -32}};

} // namespace

TEST_F(Bake, AFlatTileFillsTheGamesDiamondToThePixelInEveryDirectionAndZoom)
{
    stage_.AddFloorTile();
    WorkingFile work("chair.iff");
    Run(work);
    for (int image = 0; image < kGameImages; ++image) {
        const ObjectPreview preview = work.Compose(image);
        SavePicture("tile-" + std::to_string(image), preview.colour, &preview.mask);
        // No pixel centre lies on a diamond edge: there is nothing to be unsure of.
        ExpectFootprint(preview, image, kDiamond, 0.0);
    }
}

TEST_F(Bake, AUnitBoxStandsOnTheDiamondInEveryDirectionAndZoom)
{
    stage_.AddBox();
    WorkingFile work("chair.iff");
    Run(work);
    // One unit up is 90.51 · cos 30° pixels on the screen.
    const double h = GameCamera::kPixelsPerUnit * std::cos(std::numbers::pi / 6);
    const std::vector<std::array<double, 2>> box = {{-64, 0}, {0, 32}, {64, 0}, {64, -h}, {0, -32 - h}, {-64, -h}};
    for (int image = 0; image < kGameImages; ++image) {
        const ObjectPreview preview = work.Compose(image);
        SavePicture("box-" + std::to_string(image), preview.colour, &preview.mask);
        // The top's edges fall anywhere in a pixel: pixels whose centre is
        // within a quarter pixel of an edge may go either way.
        ExpectFootprint(preview, image, box, 0.25);
    }
}

namespace {

// A sprite frame with its draw group placement: the frame's left and
// bottom edges from the tile's centre.
struct PlacedFrame {
    SpriteFrame frame;
    int left = 0;
    int bottom = 0;
};

// The real rug's sprites are 'SPR2' version 1001: a header of version,
// palette id and frame count, then each frame after its own version and
// size. Frame `index` is wrapped as a one-frame version 1000 sprite, whose
// frame layout is the same, and decoded by the sprite decoder.
bool DecodeVersion1001(std::span<const uint8_t> resource, uint32_t index, SpriteFrame& frame)
{
    ByteReader r(resource);
    if (r.u32le() != 1001)
        return false;
    const uint32_t palette = r.u32le();
    const uint32_t count = r.u32le();
    for (uint32_t i = 0; r.ok() && i < count; ++i) {
        r.skip(4);
        const uint32_t size = r.u32le();
        const std::span<const uint8_t> bytes = r.bytes(size);
        if (i != index || !r.ok())
            continue;
        ByteWriter w;
        w.u32le(1000);
        w.u32le(1);
        w.u32le(palette);
        w.u32le(16);
        w.bytes(bytes);
        const std::vector<uint8_t> wrapped = w.take();
        return ReadSpriteFrameInfo(SpriteFormat::Spr2, wrapped, 0, frame.info).ok() &&
               DecodeSpriteFrame(wrapped, kSpriteAllPlanes, frame).ok();
    }
    return false;
}

// Image `image` of draw group `group` (one reference) and its frame.
bool LoadPlaced(CTGResFile& file, int16_t group, int image, PlacedFrame& placed)
{
    CTGDrawGroup dgrp;
    if (dgrp.Load(file, group) != kResOk || static_cast<size_t>(image) >= dgrp.ImageCount() ||
        dgrp.Image(static_cast<size_t>(image)).sprites.size() != 1)
        return false;
    const DrawGroupSprite& reference = dgrp.Image(static_cast<size_t>(image)).sprites.front();
    placed.left = reference.value2;
    placed.bottom = reference.value3;
    ResHandle* data = file.GetResource(kTypeSPR2, static_cast<int16_t>(reference.spriteId), nullptr);
    if (!data)
        return false;
    const std::vector<uint8_t> bytes(data->Bytes().begin(), data->Bytes().end());
    file.ReleaseResource(data);
    if (DecodeVersion1001(bytes, static_cast<uint32_t>(reference.value1), placed.frame))
        return true;
    return LoadSprite(file, static_cast<int16_t>(reference.spriteId), reference.value1, {}, placed.frame) ==
           (kSpriteLoaded | kSpriteAllPlanes);
}

} // namespace

TEST_F(Bake, AFlatTilesDepthRunsAsTheRealRugsInEveryImage)
{
    const std::filesystem::path data = TestDataDir();
    if (data.empty())
        GTEST_SKIP() << "real test files are absent";
    CTGIffFile rug;
    ASSERT_EQ(rug.OpenContainer((data / "iff" / "k8lidrug.iff").string()), kResOk);
    stage_.AddFloorTile();
    WorkingFile work("chair.iff");
    Run(work);
    const int16_t baked = work.Object().Definition().Word(objd::kFirstDrawGroup / 2);
    int compared = 0, worst = 0;
    for (int16_t group = 100; group <= 105; ++group)
        for (int image = 0; image < kGameImages; ++image) {
            PlacedFrame real, ours;
            ASSERT_TRUE(LoadPlaced(rug, group, image, real)) << "rug DGRP " << group << " image " << image;
            ASSERT_TRUE(LoadPlaced(work.File().Container(), baked, image, ours)) << "image " << image;
            const int dx = real.left - ours.left;
            const int dy = (real.bottom - real.frame.info.height) - (ours.bottom - ours.frame.info.height);
            for (int y = 0; y < real.frame.info.height; ++y)
                for (int x = 0; x < real.frame.info.width; ++x) {
                    const int ox = x + dx, oy = y + dy;
                    if (real.frame.alpha.PixelByte(x, y) != 255 || ox < 0 || oy < 0 ||
                        ox >= ours.frame.info.width || oy >= ours.frame.info.height ||
                        ours.frame.alpha.PixelByte(ox, oy) != 255)
                        continue;
                    const int difference = ours.frame.depth.PixelByte(ox, oy) - real.frame.depth.PixelByte(x, y);
                    worst = std::max(worst, std::abs(difference));
                    ++compared;
                }
        }
    EXPECT_GT(compared, 6 * 4 * (2900 + 700 + 160)); // nearly all the rug's opaque pixels
    EXPECT_LE(worst, 6);
    std::cout << compared << " pixels compared, largest difference " << worst << " levels\n";
}

// Real frames carry in their header where they lie in the tile's canvas
// (objects/SpriteFrameCut.h): the same place the draw group puts them,
// measured from a fixed point instead of the tile's centre.
TEST_F(Bake, FrameHeadersPlaceEachFrameInTheTileCanvasAsRealFilesDo)
{
    auto expectCanvas = [](CTGResFile& file, int16_t group, const std::string& what) {
        for (int image = 0; image < kGameImages; ++image) {
            PlacedFrame placed;
            ASSERT_TRUE(LoadPlaced(file, group, image, placed)) << what << " image " << image;
            const int zoomShift = GameImage::FromIndex(image).zoomShift;
            const SpriteFrameInfo& info = placed.frame.info;
            EXPECT_EQ(info.originX - placed.left, tile_canvas::kCentreX >> zoomShift) << what << " image " << image;
            EXPECT_EQ(info.originY + info.height - placed.bottom, tile_canvas::kCentreY >> zoomShift)
                << what << " image " << image;
            EXPECT_GE(info.originX, 0);
            EXPECT_GE(info.originY, 0);
            EXPECT_LE(info.originX + info.width, tile_canvas::kWidth >> zoomShift);
            EXPECT_LE(info.originY + info.height, tile_canvas::kHeight >> zoomShift);
        }
    };
    stage_.AddBox();
    WorkingFile work("chair.iff");
    Run(work);
    expectCanvas(work.File().Container(), work.Object().Definition().Word(objd::kFirstDrawGroup / 2), "baked box");

    const std::filesystem::path data = TestDataDir();
    if (data.empty())
        GTEST_SKIP() << "real test files are absent";
    CTGIffFile rug;
    ASSERT_EQ(rug.OpenContainer((data / "iff" / "k8lidrug.iff").string()), kResOk);
    for (int16_t group = 100; group <= 105; ++group)
        expectCanvas(rug, group, "real rug, draw group " + std::to_string(group));
}

namespace {

// The scene as the editor's view draws it, through the "The Sims" preset
// moved so that tile (0, 0)'s centre is the picture's centre, turned for
// `direction` with the lights turned along, `samples` times finer than the
// largest zoom.
struct DirectRender {
    int half = 0;    // pixels of the largest zoom from the centre to each edge
    int samples = 0; // a side per pixel of the largest zoom
    std::vector<uint8_t> colour;
    std::vector<float> depth;

    // The mean colour and the coverage of pixel (x, y), from the tile's
    // centre, of the image at `zoomShift`.
    double Pixel(int zoomShift, int x, int y, Rgb& mean) const
    {
        const int side = samples << zoomShift;
        const int width = 2 * half * samples;
        double sum[3] = {0, 0, 0};
        int covered = 0;
        for (int j = 0; j < side; ++j)
            for (int i = 0; i < side; ++i) {
                const int sx = ((x << zoomShift) + half) * samples + i;
                const int sy = ((y << zoomShift) + half) * samples + j;
                if (sx < 0 || sy < 0 || sx >= width || sy >= width)
                    continue;
                const size_t s = static_cast<size_t>(sy) * width + sx;
                if (depth[s] >= 1.0f)
                    continue;
                ++covered;
                for (int c = 0; c < 3; ++c)
                    sum[c] += colour[4 * s + c];
            }
        if (covered)
            mean = {static_cast<uint8_t>(std::lround(sum[0] / covered)), static_cast<uint8_t>(std::lround(sum[1] / covered)),
                    static_cast<uint8_t>(std::lround(sum[2] / covered))};
        return static_cast<double>(covered) / (side * side);
    }
};

// Puts the bake's lights into the room: far-away point lights in the
// directions the bake's lights come from in direction 2, the scene's own
// lights switched off. Lights turned with the view stay where the bake has
// them in every direction.
void LightTheRoomAsTheBake(COGLScene& scene)
{
    for (const auto& light : scene.Lights())
        light->SetEnabled(false);
    const BakeLighting& bake = GameLighting();
    const Matrix4 view = GameCamera().ViewMatrix(2);
    for (const BakeLightSource& source : {bake.key, bake.fill}) {
        // Eye to world: the view's rotation transposed.
        const Vector3 e = source.towards;
        const Vector3 towards{static_cast<float>(view[0] * e.x + view[1] * e.y + view[2] * e.z),
                              static_cast<float>(view[4] * e.x + view[5] * e.y + view[6] * e.z),
                              static_cast<float>(view[8] * e.x + view[9] * e.y + view[10] * e.z)};
        const Vector3 at = towards * 10000.0f;
        auto light = std::make_unique<COGLPointLight>(at.x, at.y, at.z);
        light->SetAmbient({0, 0, 0, 1});
        light->SetDiffuse({source.diffuse, source.diffuse, source.diffuse, 1});
        light->SetSpecular({source.specular, source.specular, source.specular, 1});
        scene.AddLight(std::move(light));
    }
    scene.SetAmbient({bake.ambient, bake.ambient, bake.ambient, 1});
}

DirectRender RenderDirectly(COGLScene& scene, int direction, int half, int samples)
{
    DirectRender out{half, samples, {}, {}};
    const int side = 2 * half * samples;
    const double turn = 90.0 * (2 - direction);
    std::vector<Vector3> lights;
    for (const auto& light : scene.Lights()) {
        lights.push_back(light->Marker()->Position());
        const Vector3 at = Matrix4::Rotation(-turn, 0, 1, 0).TransformPoint(lights.back());
        light->Marker()->SetPosition(at.x, at.y, at.z);
    }
    COGLViewport3D viewport;
    viewport.SetRectangle(0, 0, side, side);
    viewport.SetDisplayMode(kDisplayShaded);
    viewport.SetGrid(false);
    viewport.SetAxis(false);
    COGLCamera3D& camera = viewport.Camera();
    camera.SetPresetSims();
    camera.MoveAlongUp(1.0f); // the preset looks at (0, 1, 0): now at the floor's centre
    camera.Orbit(static_cast<float>(turn));
    camera.SetDistance(static_cast<float>(side / (2.0 * samples * GameCamera::kPixelsPerUnit)));
    {
        BakeFramebuffer target(side, side);
        EXPECT_TRUE(target.ok()) << target.Error();
        DrawFrame(viewport, scene);
        target.ReadColour(out.colour);
        target.ReadDepth(out.depth);
    }
    for (size_t i = 0; i < lights.size(); ++i)
        scene.Lights()[i]->Marker()->SetPosition(lights[i].x, lights[i].y, lights[i].z);
    return out;
}

double Psnr(double squaredError, double values)
{
    return 10.0 * std::log10(255.0 * 255.0 * values / std::max(squaredError, 1e-9));
}

// Bakes the scene into the sample loveseat's two tiles and composes every
// image of them against the direct render: the same pixels opaque (no gap,
// no overlap), no pixel drawn by both tiles, and colours that differ from
// the render only as the palette makes them. `strict`: every pixel's colour
// is as near the render's as the palette's nearest colour is (up to a level
// of rounding); else over all pixels at 35 dB or better, and no worse where
// the tiles meet. The room is lit as the bake lights objects, so that the
// direct render also shows that the bake's lights are the view's turned
// along with it.
void ExpectTwoTilesComposeIntoTheRender(BakeStage& stage, bool strict)
{
    WorkingFile work("loveseat.iff");
    const BakeResult result = BakeSprites(work.Request(stage));
    ASSERT_EQ(result.outcome, BakeOutcome::Written) << result.error;
    work.Reopen();
    const auto palette = Palette::Load(work.File().Container(), result.paletteId);
    ASSERT_NE(palette, nullptr);
    const CObjectEntry& loveseat = work.Object();
    ASSERT_EQ(loveseat.Members().size(), 2u);
    std::vector<PreviewTile> tiles;
    for (const CObjectEntry* member : loveseat.Members())
        tiles.push_back(PreviewTile::FromDefinition(member->Definition().Bytes(), TilePlace::InGroup));

    constexpr int kHalf = 200, kSamples = 4;
    LightTheRoomAsTheBake(stage.Scene());
    for (int direction = 0; direction < kGameDirections; ++direction) {
        const DirectRender direct = RenderDirectly(stage.Scene(), direction, kHalf, kSamples);
        for (int zoomShift = 0; zoomShift < kGameZooms; ++zoomShift) {
            const int image = GameImage{direction, zoomShift}.Index();
            const ObjectPreview whole = work.Compose(image);
            const ObjectPreview first = ComposeObjectPreview(work.File().Container(), {&tiles[0], 1}, image);
            const ObjectPreview second = ComposeObjectPreview(work.File().Container(), {&tiles[1], 1}, image);
            SavePicture(std::string(strict ? "box" : "loveseat") + "-2x1-" + std::to_string(image), whole.colour,
                        &whole.mask);
            // Which tile draws a pixel (from tile (0, 0)'s centre): 0, 1, or -1.
            auto drawnBy = [](const ObjectPreview& part, int x, int y) {
                const int px = x + part.anchorX, py = y + part.anchorY;
                return px >= 0 && py >= 0 && px < part.mask.Width() && py < part.mask.Height() &&
                       part.mask.PixelByte(px, py) != 0;
            };
            auto owner = [&](int x, int y) { return drawnBy(first, x, y) ? 0 : drawnBy(second, x, y) ? 1 : -1; };
            double error[2] = {0, 0}; // away from the tiles' border, at it
            int count[2] = {0, 0}, mismatched = 0, shared = 0, worse = 0;
            const int reach = kHalf >> zoomShift;
            for (int y = -reach; y < reach; ++y)
                for (int x = -reach; x < reach; ++x) {
                    Rgb expected;
                    const double coverage = direct.Pixel(zoomShift, x, y, expected);
                    const bool opaque = SpriteAlpha(static_cast<uint8_t>(std::lround(coverage * 255))) == 255;
                    const int px = x + whole.anchorX, py = y + whole.anchorY;
                    const bool inside = px >= 0 && py >= 0 && px < whole.mask.Width() && py < whole.mask.Height();
                    mismatched += opaque != (inside && whole.mask.PixelByte(px, py) == 255);
                    shared += drawnBy(first, x, y) && drawnBy(second, x, y);
                    if (!opaque || !inside)
                        continue;
                    const int own = owner(x, y);
                    const bool border = own >= 0 && (owner(x + 1, y) == 1 - own || owner(x - 1, y) == 1 - own ||
                                                     owner(x, y + 1) == 1 - own || owner(x, y - 1) == 1 - own);
                    const Rgb got = whole.colour.PixelColour(px, py);
                    auto distance2 = [&](Rgb c) {
                        return std::pow(c.red - expected.red, 2) + std::pow(c.green - expected.green, 2) +
                               std::pow(c.blue - expected.blue, 2);
                    };
                    double nearest = 1e9;
                    for (const Rgb& entry : palette->Entries())
                        nearest = std::min(nearest, distance2(entry));
                    worse += distance2(got) > nearest + 3 * 3 * 3; // a level of rounding in each channel
                    error[border] += distance2(got);
                    count[border] += 3;
                }
            EXPECT_EQ(mismatched, 0) << "image " << image << ": pixels opaque in one picture and not the other";
            EXPECT_EQ(shared, 0) << "image " << image << ": pixels drawn by both tiles";
            ASSERT_GT(count[0], 0);
            ASSERT_GT(count[1], 0) << "image " << image << ": the tiles do not meet";
            const double away = Psnr(error[0], count[0]), atBorder = Psnr(error[1], count[1]);
            if (strict) {
                EXPECT_EQ(worse, 0) << "image " << image << ": pixels farther from the render than the palette";
            } else {
                EXPECT_GE(away, 35.0) << "image " << image;
                EXPECT_GE(atBorder, std::min(away, 40.0)) << "image " << image << ": the tiles' border shows";
            }
            std::cout << "image " << image << ": " << count[0] / 3 << " pixels at " << away << " dB, "
                      << count[1] / 3 << " at the tiles' border at " << atBorder << " dB\n";
        }
    }
}

} // namespace

// A 2 × 1 box has no faces that lie in one another, so its render is the
// same whichever way it is drawn: the composed picture is the render's
// colours put through the palette.
TEST_F(Bake, TheTwoTilesOfALongBoxComposeIntoTheDirectRenderExactly)
{
    COGLObject& box = stage_.AddBox();
    box.SetScale(0.5f, 0.5f, 1.0f);
    box.SetPosition(0.0f, 0.5f, -0.5f); // over tiles (0, 0) and (1, 0)
    box.SetDiffuse(0.6f, 0.3f, 0.2f, 1.0f);
    ExpectTwoTilesComposeIntoTheRender(stage_, true);
}

// The sample loveseat's model has faces that lie in one another (cushions on
// the frame), which a different order of drawing resolves differently in a
// few pixels; so its pictures are compared as a whole.
TEST_F(Bake, TheTwoTilesOfALoveseatComposeIntoTheDirectRenderWithoutASeam)
{
    for (auto& object : MakeFurnitureObjects(BuildFurniture(FurnitureKind::Loveseat), 0.05f))
        stage_.Scene().AddObject(std::move(object));
    ExpectTwoTilesComposeIntoTheRender(stage_, false);
}

namespace {

// A progress bar whose Cancel is pressed at step `at` (1-based; 0 never).
class CancelAt final : public IBakeProgress {
public:
    explicit CancelAt(int at) : at_(at) {}
    void Step(int done, int total, std::string_view what) override
    {
        EXPECT_LE(done, total);
        EXPECT_GE(done, last_);
        EXPECT_FALSE(what.empty());
        last_ = done;
        total_ = total;
    }
    bool Cancelled() override { return ++asked_ == at_; }
    int Asked() const { return asked_; }
    int Last() const { return last_; }
    int Total() const { return total_; }

private:
    int at_;
    int asked_ = 0;
    int last_ = 0;
    int total_ = 0;
};

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST_F(Bake, ACancelAtAnyStepOrAFailedWriteLeavesTheWorkingFileAsItWas)
{
    stage_.AddBox().SetPosition(0.0f, 0.5f, -0.5f); // over both of the loveseat's tiles
    WorkingFile work("loveseat.iff");
    const std::vector<uint8_t> before = work.Bytes();
    const std::string folder = std::filesystem::path(work.Path()).parent_path().string();
    const std::vector<std::string> files = FilesIn(folder);

    // Cancel is asked after each of the 8 renders and once the colours are chosen.
    CancelAt counting(0);
    BakeRequest request = work.Request(stage_);
    request.options.render.samples = 1; // what is written does not matter here, only whether
    request.progress = &counting;
    ASSERT_EQ(BakeSprites(request).outcome, BakeOutcome::Written);
    EXPECT_EQ(counting.Asked(), 9);
    EXPECT_EQ(counting.Last(), counting.Total());
    const std::vector<uint8_t> baked = work.Bytes();
    EXPECT_NE(baked, before);
    auto restore = [&] {
        WriteBytes(work.Path(), before);
        work.Reopen();
        request.file = &work.File();
        request.object = &work.Object();
    };

    restore();
    for (int at = 1; at <= counting.Asked(); ++at) {
        CancelAt cancel(at);
        request.progress = &cancel;
        const BakeResult result = BakeSprites(request);
        EXPECT_EQ(result.outcome, BakeOutcome::Cancelled) << "cancelled at " << at;
        EXPECT_EQ(work.Bytes(), before) << "cancelled at " << at;
        EXPECT_EQ(FilesIn(folder), files);
    }
    EXPECT_TRUE(reports_.Recorder().Messages().empty()); // a cancel is no failure

    // Any write of the new file that fails, the first to the last.
    uint64_t writes = 0;
    {
        FileFaults::Arm(0, false);
        request.progress = nullptr;
        const BakeResult counted = BakeSprites(request);
        writes = FileFaults::Count();
        FileFaults::Disarm();
        ASSERT_EQ(counted.outcome, BakeOutcome::Written);
        EXPECT_EQ(work.Bytes(), baked);
        restore();
    }
    ASSERT_GT(writes, 0u);
    for (uint64_t k = 1; k <= writes; ++k) {
        FileFaults::Arm(k, true);
        const BakeResult result = BakeSprites(request);
        FileFaults::Disarm();
        EXPECT_EQ(result.outcome, BakeOutcome::Failed) << "write " << k << " of " << writes;
        EXPECT_TRUE(result.error.starts_with("Could not render the sprites: ")) << result.error;
        EXPECT_EQ(work.Bytes(), before) << "write " << k;
        EXPECT_EQ(FilesIn(folder), files) << "write " << k;
    }
    EXPECT_TRUE(reports_.Recorder().Messages().empty()) << "the result says why; the caller shows it";
}

TEST_F(Bake, TheBakedObjectOpensListsPreviewsAndClonesLikeAnyOther)
{
    stage_.AddBox().SetDiffuse(0.2f, 0.4f, 0.8f, 1.0f);
    WorkingFile work("chair.iff");
    const std::string name = work.Object().ResourceName();
    const BakeResult result = Run(work);
    EXPECT_EQ(result.spriteIds, std::vector<int16_t>{200});
    EXPECT_EQ(result.drawGroupIds, std::vector<int16_t>{100});
    EXPECT_EQ(result.paletteId, 200);

    // In a game folder, the catalog lists it with its new picture, and it clones.
    TempDir game;
    std::filesystem::create_directories(game.Path() / "GameData" / "Objects");
    std::filesystem::copy_file(work.Path(), game.Path() / "GameData" / "Objects" / "baked.iff");
    ObjectCatalog catalog;
    catalog.Rebuild(game.Path().string());
    ASSERT_EQ(catalog.ListedObjects().size(), 1u);
    const CObjectEntry& listed = *catalog.ListedObjects().front();
    EXPECT_EQ(listed.ResourceName(), name);
    const ObjectPreview preview = ComposeObjectPreview(listed.Owner().Container(),
                                                       PreviewTilesOf(listed.Definition().Bytes(), {}));
    EXPECT_TRUE(preview.notes.empty());
    const Rgb front = preview.colour.PixelColour(preview.anchorX - 20, preview.anchorY + 10);
    EXPECT_GT(front.blue, front.red); // the blue box, not the chair
    CloneOptions options;
    TempDir again;
    options.targetPath = again.File("zeltemp.iff");
    ASSERT_TRUE(CloneObject(listed, options).succeeded);
    CTGIffFile clone;
    ASSERT_EQ(clone.OpenContainer(options.targetPath), kResOk);
    SpriteFrame frame;
    EXPECT_EQ(LoadSprite(clone, 200, GameImage::FromIndex(10).SpriteFrame(), {}, frame),
              kSpriteLoaded | kSpriteAllPlanes);
    EXPECT_EQ(frame.info.width, 128); // the box is the tile's width
    catalog.Clear();
    CTGFileSystem::Instance().Reset();
}

TEST_F(Bake, SeenThroughObjectsKeepTheirCoverageAndABakeOfNothingFails)
{
    COGLObject& glass = stage_.AddBox();
    glass.SetTransparent(true);
    glass.SetDiffuse(0.1f, 0.2f, 0.9f, 0.5f);
    COGLObject& hidden = stage_.AddBox();
    hidden.SetPosition(0.0f, 3.0f, 0.0f);
    hidden.Hide();
    EXPECT_EQ(BakeableObjects(stage_.Scene()), std::vector<COGLObject*>{&glass});
    WorkingFile work("chair.iff");
    Run(work);
    SpriteFrame frame;
    ASSERT_EQ(LoadSprite(work.File().Container(), 200, GameImage::FromIndex(10).SpriteFrame(), {}, frame),
              kSpriteLoaded | kSpriteAllPlanes);
    // Half covered: 16 of the 32 levels 'SPR2' keeps, stored as 16 · 8.
    // The tile's centre, from the frame's place in the tile's canvas.
    const int centreX = tile_canvas::kCentreX - frame.info.originX;
    const int centreY = tile_canvas::kCentreY - frame.info.originY;
    EXPECT_EQ(frame.alpha.PixelByte(centreX, centreY), 128);
    EXPECT_LT(frame.depth.PixelByte(centreX, centreY), 255);
    const Rgb colour = frame.colour.PixelColour(centreX, centreY);
    EXPECT_GT(colour.blue, 2 * colour.red); // its own colour, not a mix with black
    // Nothing in the hidden box's place, high above.
    EXPECT_EQ(frame.info.height, 143); // the box: 64 + 78.4 pixels high

    BakeRequest request = work.Request(stage_);
    request.objects.clear();
    EXPECT_EQ(BakeSprites(request).error, "Could not render the sprites: no object of the scene is chosen");
    glass.SetPosition(0.0f, -2.0f, 0.0f);
    const std::vector<uint8_t> before = work.Bytes();
    EXPECT_EQ(BakeSprites(work.Request(stage_)).error,
              "Could not render the sprites: the chosen objects show nothing above the floor");
    EXPECT_EQ(work.Bytes(), before);
    EXPECT_TRUE(reports_.Recorder().Messages().empty());
}
