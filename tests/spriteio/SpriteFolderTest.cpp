// Sprites out to a folder of PNG files and back in: a round trip without
// edits keeps alpha and depth and comes back within the palette's
// quantisation (sample objects and the real files), a recolour shows in the
// preview, painted pixels get a depth, and bad input is refused naming the
// file, with the object file left byte for byte.

#include "objects/CObjectFile.h"
#include "objects/ObjectFileOpener.h"
#include "objects/ObjectPreview.h"
#include "objects/PreviewTile.h"
#include "objects/SpriteLayout.h"
#include "pngio/PngCodec.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGIffFile.h"
#include "spriteio/SpriteFrames.h"
#include "spriteio/png/PngSpriteFolder.h"
#include "tests/testkit/TestFiles.h"
#include "tools/SampleGame.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <fstream>
#include <map>

using namespace zelvane;
using namespace zelvane::test;

namespace {

const std::filesystem::path& SampleGame()
{
    static TempDir folder;
    static const bool written = WriteSampleGame(folder.Path()).error.empty();
    EXPECT_TRUE(written);
    return folder.Path();
}

std::unique_ptr<CObjectFile> Open(const std::string& path)
{
    ObjectFileOpener opener;
    std::string error;
    if (!opener.Open(path, {.companions = Companions::Excluded}, error)) {
        ADD_FAILURE() << path << ": " << error;
        return nullptr;
    }
    auto file = std::make_unique<CObjectFile>(path, opener.TakeContainer());
    EXPECT_EQ(file->BuildLists(), kResOk);
    return file;
}

using Resources = std::map<std::pair<ResType, int16_t>, std::vector<uint8_t>>;

Resources ReadResources(const std::string& path)
{
    CTGIffFile file;
    file.SetOpenReadOnly(true);
    EXPECT_EQ(file.OpenContainer(path), kResOk);
    Resources all;
    for (int32_t t = 1; t <= file.CountTypes(); ++t) {
        const ResType type = file.GetIndType(t);
        for (int32_t i = 1; i <= file.CountResources(type); ++i) {
            ResHandle* data = file.GetIndResource(type, i, nullptr);
            int16_t id = 0;
            file.GetResId(data, id);
            all[{type, id}] = {data->Bytes().begin(), data->Bytes().end()};
            file.ReleaseResource(data);
        }
    }
    static_cast<void>(file.CloseContainer());
    return all;
}

// An object file copied into a work folder, exported into "sprites" there.
struct Exported {
    TempDir work;
    std::string path;
    std::string folder;
    SpriteManifest manifest;
    std::map<int16_t, WholeSprite> before;

    Exported(const std::filesystem::path& source, SpriteLayoutChoice layout = SpriteLayoutChoice::FramePerFile)
        : path(work.File(source.filename().string())), folder(work.File("sprites"))
    {
        std::filesystem::copy_file(source, path);
        const std::unique_ptr<CObjectFile> file = Open(path);
        SpriteExportOptions options;
        options.layout = layout;
        const SpriteExport exported = ExportSprites(*file, options);
        EXPECT_TRUE(exported.ok()) << exported.error;
        std::string subject, error;
        EXPECT_TRUE(WriteSpriteFolder(folder, exported, subject, error)) << subject << ": " << error;
        manifest = exported.manifest;
        for (const ManifestSprite& sprite : manifest.sprites)
            before.emplace(sprite.id, LoadWholeSprite(file->Container(), sprite.id, 4096));
    }

    std::string Picture(size_t sprite, size_t frame) const
    {
        return folder + "/" + manifest.sprites.at(sprite).frames.at(frame).image;
    }

    std::map<int16_t, WholeSprite> After() const
    {
        const std::unique_ptr<CObjectFile> file = Open(path);
        std::map<int16_t, WholeSprite> after;
        for (const ManifestSprite& sprite : manifest.sprites)
            after.emplace(sprite.id, LoadWholeSprite(file->Container(), sprite.id, 4096));
        return after;
    }
};

// Alpha and depth identical, the same pixels drawn, and the PSNR of the
// decoded colours over the pixels that show.
double CompareFrames(const std::map<int16_t, WholeSprite>& before, const std::map<int16_t, WholeSprite>& after)
{
    double squared = 0;
    uint64_t samples = 0;
    for (const auto& [id, old] : before) {
        const WholeSprite& now = after.at(id);
        EXPECT_TRUE(now.ok()) << now.error;
        EXPECT_EQ(now.format, SpriteFormat::Spr2);
        EXPECT_EQ(now.frames.size(), old.frames.size());
        for (size_t f = 0; f < std::min(old.frames.size(), now.frames.size()); ++f) {
            const SpriteFrame& a = old.frames[f];
            const SpriteFrame& b = now.frames[f];
            EXPECT_EQ(b.colour.Width(), a.colour.Width());
            EXPECT_EQ(b.colour.Height(), a.colour.Height());
            if (b.colour.Width() != a.colour.Width() || b.colour.Height() != a.colour.Height())
                continue;
            EXPECT_EQ(b.info.originX, a.info.originX);
            EXPECT_EQ(b.info.originY, a.info.originY);
            EXPECT_EQ(b.info.version, spr2_layout::kVersion);
            EXPECT_TRUE(std::equal(a.alpha.Bits().begin(), a.alpha.Bits().end(), b.alpha.Bits().begin()))
                << "alpha of sprite " << id << " frame " << f;
            EXPECT_TRUE(std::equal(a.depth.Bits().begin(), a.depth.Bits().end(), b.depth.Bits().begin()))
                << "depth of sprite " << id << " frame " << f;
            for (int y = 0; y < a.colour.Height(); ++y)
                for (int x = 0; x < a.colour.Width(); ++x)
                    if (a.alpha.PixelByte(x, y) != 0) {
                        const Rgb p = a.colour.PixelColour(x, y), q = b.colour.PixelColour(x, y);
                        for (const int d : {p.red - q.red, p.green - q.green, p.blue - q.blue})
                            squared += double(d) * d;
                        samples += 3;
                    }
        }
    }
    return squared == 0 ? INFINITY : 10 * std::log10(255.0 * 255.0 * double(samples) / squared);
}

void ExpectRoundTrip(const std::filesystem::path& source, SpriteLayoutChoice layout)
{
    SCOPED_TRACE(source.filename().string());
    Exported exported(source, layout);
    const std::vector<uint8_t> original = ReadBytes(exported.path);
    const Resources resources = ReadResources(exported.path);
    const SpriteImportResult result = ImportSpriteFolder(exported.path, exported.folder);
    ASSERT_TRUE(result.ok()) << result.subject << ": " << result.error;
    EXPECT_EQ(result.previousBytes, original); // what undo writes back
    EXPECT_EQ(result.palettes.size(), exported.manifest.objects.size());
    const double psnr = CompareFrames(exported.before, exported.After());
    std::cout << source.filename().string() << ": " << result.sprites << " sprites, " << result.frames
              << " frames, PSNR " << psnr << " dB\n";
    EXPECT_GE(psnr, 40.0);
    // Every resource but the sprites and palettes keeps its bytes.
    const Resources now = ReadResources(exported.path);
    for (const auto& [key, bytes] : resources)
        if (key.first != kTypeSPR2 && key.first != kTypeSPR && key.first != kTypePALT) {
            EXPECT_EQ(now.count(key) ? now.at(key) : std::vector<uint8_t>{}, bytes)
                << ResTypeName(key.first) << " " << key.second;
        }
    CTGFileSystem::Instance().Reset();
}

PngImage ReadPicture(const std::string& path)
{
    PngImage png;
    std::string error;
    EXPECT_TRUE(ReadPngFile(path, png, error)) << path << ": " << error;
    return png;
}

void WritePicture(const std::string& path, const PngImage& png)
{
    std::string error;
    ASSERT_TRUE(WritePngFile(path, png, error)) << error;
}

ObjectPreview Preview(const std::string& path)
{
    const std::unique_ptr<CObjectFile> file = Open(path);
    const CObjectEntry& object = *file->ListedObjects().front();
    std::vector<std::span<const uint8_t>> members;
    for (const CObjectEntry* member : object.Members())
        members.push_back(member->Definition().Bytes());
    return ComposeObjectPreview(file->Container(), PreviewTilesOf(object.Definition().Bytes(), members));
}

} // namespace

TEST(SpriteFolder, ARoundTripKeepsAlphaDepthOriginsAndEveryOtherResourceAndColoursWithinTheQuantisation)
{
    ExpectRoundTrip(SampleGame() / "GameData/Objects/chair.iff", SpriteLayoutChoice::FramePerFile);
    ExpectRoundTrip(SampleGame() / "GameData/Objects/diningtable.iff", SpriteLayoutChoice::SheetPerObject);
    const std::filesystem::path real = TestDataDir() / "iff";
    if (!std::filesystem::is_directory(real))
        GTEST_SKIP() << "no real files at " << real;
    for (const char* name : {"k8essbedroomslippersts.iff", "k8capchairts.iff", "k8capcoffeetablehd.iff", "k8lidrug.iff"})
        ExpectRoundTrip(real / name, SpriteLayoutChoice::FramePerFile);
    ExpectRoundTrip(real / "k8capcoffeetablehd.iff", SpriteLayoutChoice::SheetPerObject);
}

TEST(SpriteFolder, TheFilesNameObjectTileDirectionAndZoomAndTheSheetHoldsEveryFrameOnce)
{
    Exported frames(SampleGame() / "GameData/Objects/diningtable.iff");
    ASSERT_EQ(frames.manifest.objects.size(), 1u);
    EXPECT_EQ(frames.manifest.objects[0].tiles.size(), 4u);
    // Each frame is named after the first image of its tile's draw group that shows it.
    const ManifestSprite& sprite = frames.manifest.sprites.at(0);
    const ManifestFrame& first = sprite.frames.at(0);
    ASSERT_TRUE(first.shown);
    EXPECT_EQ(first.image, "table-farmhouse-dining-128-t" + std::to_string(first.shown->tile) + "-dir" +
                               std::to_string(first.shown->direction) + "-" + kZoomNames[first.shown->zoomShift] +
                               "-s" + std::to_string(sprite.id) + "-f0.png");
    EXPECT_EQ(first.depth, first.image.substr(0, first.image.size() - 4) + "-depth.png");
    {
        const std::unique_ptr<CObjectFile> file = Open(frames.path);
        const ManifestTile& tile = frames.manifest.objects[0].tiles.at(size_t(first.shown->tile));
        const int16_t groupId = file->FindObject(tile.definitionId)->Definition().Word(3);
        CTGDrawGroup group;
        ASSERT_EQ(group.Load(file->Container(), groupId), kResOk);
        const int index = first.shown->direction + 4 * (2 - first.shown->zoomShift);
        bool shows = false;
        for (const DrawGroupSprite& reference : group.Image(size_t(index)).sprites)
            shows = shows || (reference.spriteId == sprite.id && reference.value1 == 0);
        EXPECT_TRUE(shows);
        for (int before = 0; before < index; ++before)
            for (const DrawGroupSprite& reference : group.Image(size_t(before)).sprites)
                EXPECT_FALSE(reference.spriteId == sprite.id && reference.value1 == 0);
    }
    EXPECT_EQ(ReadPicture(frames.Picture(0, 0)).channels, PngChannels::Rgba);
    EXPECT_EQ(ReadPicture(frames.folder + "/" + first.depth).channels, PngChannels::Grey);

    Exported sheet(SampleGame() / "GameData/Objects/diningtable.iff", SpriteLayoutChoice::SheetPerObject);
    const ManifestSheet& layout = *sheet.manifest.objects.at(0).sheet;
    const PngImage picture = ReadPicture(sheet.folder + "/" + layout.image);
    EXPECT_EQ(picture.width, uint32_t(layout.width));
    EXPECT_EQ(picture.height, uint32_t(layout.height));
    // No two frames overlap, and each shows where the manifest says.
    std::vector<std::array<int, 4>> boxes;
    for (const ManifestSprite& laid : sheet.manifest.sprites)
        for (size_t f = 0; f < laid.frames.size(); ++f) {
            const ManifestFrame& frame = laid.frames[f];
            ASSERT_TRUE(frame.InSheet());
            for (const auto& [x, y, w, h] : boxes)
                EXPECT_TRUE(frame.sheetX >= x + w || x >= frame.sheetX + frame.width || frame.sheetY >= y + h ||
                            y >= frame.sheetY + frame.height);
            boxes.push_back({frame.sheetX, frame.sheetY, frame.width, frame.height});
            const SpriteFrame& planes = sheet.before.at(laid.id).frames[f];
            for (int y = 0; y < frame.height; ++y)
                for (int x = 0; x < frame.width; ++x)
                    ASSERT_EQ(picture.Pixel(uint32_t(frame.sheetX + x), uint32_t(frame.sheetY + y))[3],
                              planes.alpha.PixelByte(x, y));
        }
}

TEST(SpriteFolder, SwappingRedAndBlueInEveryPictureShowsSwappedInThePreview)
{
    Exported exported(SampleGame() / "GameData/Objects/chair.iff");
    const ObjectPreview before = Preview(exported.path);
    for (const ManifestSprite& sprite : exported.manifest.sprites)
        for (size_t f = 0; f < sprite.frames.size(); ++f) {
            const std::string path = exported.folder + "/" + sprite.frames[f].image;
            PngImage png = ReadPicture(path);
            for (size_t p = 0; p + 3 < png.pixels.size(); p += 4)
                std::swap(png.pixels[p], png.pixels[p + 2]);
            WritePicture(path, png);
        }
    const SpriteImportResult result = ImportSpriteFolder(exported.path, exported.folder, {Dithering::On});
    ASSERT_TRUE(result.ok()) << result.subject << ": " << result.error;
    const ObjectPreview after = Preview(exported.path);
    ASSERT_EQ(after.colour.Width(), before.colour.Width());
    ASSERT_EQ(after.colour.Height(), before.colour.Height());
    int opaque = 0, tinted = 0;
    double error = 0;
    for (int y = 0; y < before.colour.Height(); ++y)
        for (int x = 0; x < before.colour.Width(); ++x) {
            if (before.mask.PixelByte(x, y) != 255)
                continue;
            ++opaque;
            ASSERT_EQ(after.mask.PixelByte(x, y), 255);
            const Rgb was = before.colour.PixelColour(x, y), now = after.colour.PixelColour(x, y);
            tinted += std::abs(was.red - was.blue) > 40;
            error += std::abs(now.red - was.blue) + std::abs(now.green - was.green) + std::abs(now.blue - was.red);
        }
    ASSERT_GT(opaque, 500);
    EXPECT_GT(tinted, opaque / 4); // the chair's colours are not grey: swapping shows
    EXPECT_LT(error / (3.0 * opaque), 6.0);
}

TEST(SpriteFolder, PaintedPixelsTakeANeighboursDepthErasedOnesGoAndADepthPictureIsTakenAsPainted)
{
    Exported exported(SampleGame() / "GameData/Objects/chair.iff");
    const int16_t id = exported.manifest.sprites.at(0).id;
    const std::vector<SpriteFrame>& frames = exported.before.at(id).frames;
    // The largest frame, and in it a drawn pixel between a drawn one and a skipped one.
    const size_t chosen = static_cast<size_t>(
        std::max_element(frames.begin(), frames.end(),
                         [](const SpriteFrame& a, const SpriteFrame& b) { return a.colour.Width() < b.colour.Width(); }) -
        frames.begin());
    const size_t other = chosen == 0 ? 1 : 0;
    const SpriteFrame& old = frames[chosen];
    int ex = -1, ey = -1;
    for (int y = 0; y < old.colour.Height() && ex < 0; ++y)
        for (int x = 1; x + 1 < old.colour.Width(); ++x)
            if (!IsSkippedPixel(old, x - 1, y) && !IsSkippedPixel(old, x, y) && IsSkippedPixel(old, x + 1, y)) {
                ex = x;
                ey = y;
                break;
            }
    ASSERT_GE(ex, 1);
    PngImage colour = ReadPicture(exported.Picture(0, chosen));
    uint8_t* painted = colour.pixels.data() + colour.RowBytes() * ey + (ex + 1) * 4;
    painted[0] = 255, painted[1] = painted[2] = 0, painted[3] = 255;
    colour.pixels[colour.RowBytes() * ey + (ex - 1) * 4 + 3] = 0; // erased
    WritePicture(exported.Picture(0, chosen), colour);
    const std::string depthPath = exported.folder + "/" + exported.manifest.sprites[0].frames[chosen].depth;
    PngImage depth = ReadPicture(depthPath);
    depth.pixels[depth.RowBytes() * ey + ex] = 7;
    WritePicture(depthPath, depth);
    // Another frame without its depth picture keeps its depth.
    std::filesystem::remove(exported.folder + "/" + exported.manifest.sprites[0].frames[other].depth);

    const SpriteImportResult result = ImportSpriteFolder(exported.path, exported.folder);
    ASSERT_TRUE(result.ok()) << result.subject << ": " << result.error;
    const std::map<int16_t, WholeSprite> after = exported.After();
    const WholeSprite& now = after.at(id);
    const SpriteFrame& frame = now.frames.at(chosen);
    EXPECT_EQ(frame.depth.PixelByte(ex, ey), 7);
    EXPECT_EQ(frame.alpha.PixelByte(ex + 1, ey), 255);
    EXPECT_EQ(frame.depth.PixelByte(ex + 1, ey), 7); // its neighbour's
    const Rgb red = frame.colour.PixelColour(ex + 1, ey);
    EXPECT_GT(red.red, 200);
    EXPECT_LT(red.green + red.blue, 60);
    EXPECT_TRUE(IsSkippedPixel(frame, ex - 1, ey));
    const SpriteFrame& kept = frames[other];
    EXPECT_TRUE(
        std::equal(kept.depth.Bits().begin(), kept.depth.Bits().end(), now.frames.at(other).depth.Bits().begin()));
}

TEST(SpriteFolder, BadInputIsRefusedNamingTheFileAndNothingIsWritten)
{
    Exported exported(SampleGame() / "GameData/Objects/chair.iff");
    const std::vector<uint8_t> original = ReadBytes(exported.path);
    const std::string manifestPath = exported.folder + "/sprites.json";
    const std::vector<uint8_t> manifest = ReadBytes(manifestPath);
    const std::string picture = exported.Picture(0, 1);
    const std::vector<uint8_t> pictureBytes = ReadBytes(picture);
    const ManifestFrame& frame = exported.manifest.sprites[0].frames[1];
    auto expectRefused = [&](const std::string& subject, const std::string& words) {
        const SpriteImportResult result = ImportSpriteFolder(exported.path, exported.folder);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.subject, subject);
        EXPECT_NE(result.error.find(words), std::string::npos) << result.error;
        EXPECT_EQ(ReadBytes(exported.path), original);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(exported.work.Path()),
                                std::filesystem::directory_iterator()),
                  2); // the object file and the folder: no staging file left
        WriteBytes(manifestPath, manifest);
        WriteBytes(picture, pictureBytes);
    };
    auto editManifest = [&](const std::string& from, const std::string& to) {
        std::string text(manifest.begin(), manifest.end());
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        WriteBytes(manifestPath, {text.begin(), text.end()});
    };

    WriteBytes(picture, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'});
    expectRefused(picture, "not a PNG file");
    PngImage wider = ReadPicture(picture);
    wider.width += 1;
    wider.pixels.resize(wider.RowBytes() * wider.height);
    WritePicture(picture, wider);
    expectRefused(picture, "is " + std::to_string(frame.width + 1) + " x " + std::to_string(frame.height) +
                               " pixels, its frame " + std::to_string(frame.width) + " x " +
                               std::to_string(frame.height) + " pixels: a frame keeps its size");
    // A header that claims 40000 × 40000 pixels is refused before any is decoded.
    std::vector<uint8_t> huge = pictureBytes;
    for (const auto& [at, value] : {std::pair{16, 40000u}, std::pair{20, 40000u}})
        for (int i = 0; i < 4; ++i)
            huge[size_t(at + i)] = uint8_t(value >> (24 - 8 * i));
    const uint32_t crc = static_cast<uint32_t>(crc32(0, huge.data() + 12, 17));
    for (int i = 0; i < 4; ++i)
        huge[size_t(29 + i)] = uint8_t(crc >> (24 - 8 * i));
    WriteBytes(picture, huge);
    expectRefused(picture, "is 40000 x 40000 pixels");
    std::filesystem::remove(picture);
    expectRefused(picture, "no such file");

    editManifest("\"frame\": 1,", "\"frame\": 2,");
    expectRefused(manifestPath, "sprites[0].frames[1].frame: is not 1");
    editManifest("\"width\": " + std::to_string(frame.width) + ",\n          \"height\": " +
                     std::to_string(frame.height) + ",\n          \"origin_x\": " + std::to_string(frame.originX),
                 "\"width\": " + std::to_string(frame.width + 2) + ",\n          \"height\": " +
                     std::to_string(frame.height) + ",\n          \"origin_x\": " + std::to_string(frame.originX));
    expectRefused(manifestPath, "does not match " + exported.path + ": sprite");
    editManifest(exported.manifest.sprites[0].frames[0].image, "../chair.iff");
    expectRefused(manifestPath, "sprites[0].frames[0].image: is not a plain file name in the folder");
    editManifest("\"sprites\": [", "\"sprites\": [{\"id\": 4242, \"type\": \"SPR2\", \"object\": " +
                                       std::to_string(exported.manifest.objects[0].id) +
                                       ", \"frames\": [{\"frame\": 0, \"width\": 1, \"height\": 1, \"origin_x\": 0, "
                                       "\"origin_y\": 0, \"palette_id\": 0, \"image\": \"x.png\"}]},");
    expectRefused(manifestPath, "sprite 4242: no SPR# or SPR2 resource has this id");
    WriteBytes(manifestPath, {'{', '"', 'z'});
    expectRefused(manifestPath, "not JSON");
}

TEST(SpriteFolder, TheManifestReadsBackWhatWasWrittenAndNamesTheFieldAtFault)
{
    SpriteManifest manifest;
    manifest.objectFile = "chair.iff";
    manifest.objects.push_back({128, "Chair", 0x1234ABCD, {{128, 0, 0, 0}}, ManifestSheet{"s.png", "d.png", 100, 80}});
    ManifestSprite sprite{200, "SPR2", 128, {}};
    sprite.frames.push_back({30, 40, 15, 35, 200, ManifestPlace{0, 2, 0}, "", "", 4, 6});
    sprite.frames.push_back({1, 1, 0, 0, -1, std::nullopt, "a.png", "a-depth.png", 0, 0});
    manifest.sprites.push_back(sprite);
    manifest.palettes.push_back({200, Palette()});
    manifest.palettes[0].colours[7] = {1, 2, 3};
    SpriteManifest back;
    std::string error;
    ASSERT_TRUE(ParseSpriteManifest(WriteSpriteManifest(manifest), back, error)) << error;
    EXPECT_EQ(WriteSpriteManifest(back), WriteSpriteManifest(manifest));
    EXPECT_EQ(back.palettes.at(0).colours[7], (Rgb{1, 2, 3}));

    auto refused = [&](const std::string& text) {
        SpriteManifest read;
        EXPECT_FALSE(ParseSpriteManifest(text, read, error)) << text;
        EXPECT_TRUE(read.sprites.empty());
        return error;
    };
    const std::string head = R"({"zelvane_sprites": 1, "object_file": "", "objects": [{"id": 5, "name": "", "guid": "0x0", "tiles": []}],)";
    EXPECT_EQ(refused(R"({"zelvane_sprites": 2})"), "zelvane_sprites: is not version 1 of this manifest");
    EXPECT_EQ(refused(head + R"("sprites": [{"id": 1, "type": "", "object": 6, "frames": []}], "palettes": []})"),
              "sprites[0].object: names no object of the manifest");
    EXPECT_EQ(refused(head + R"("sprites": [{"id": 1, "type": "", "object": 5, "frames": [{"frame": 0, "width": 4097,
              "height": 1, "origin_x": 0, "origin_y": 0, "palette_id": 0, "image": "a.png"}]}], "palettes": []})"),
              "sprites[0].frames[0].width: is not a number from 1 to 4096");
    EXPECT_EQ(refused(head + R"("sprites": [{"id": 1, "type": "", "object": 5, "frames": [{"frame": 0, "width": 1,
              "height": 1, "origin_x": 0, "origin_y": 0, "palette_id": 0}]}], "palettes": []})"),
              "sprites[0].frames[0].image: is missing, and the frame's object has no sheet");
    EXPECT_EQ(refused(head + R"("sprites": [], "palettes": [{"id": 1, "colours": ["12345g"]}]})"),
              "palettes[0].colours[0]: is not a colour written RRGGBB");
    EXPECT_EQ(refused(head + R"("sprites": "x"})"), "sprites: is not a list");
    EXPECT_EQ(refused(std::string(100000, '[')), "nested deeper than 16 levels");
    manifest.objectFile = std::string(40, '[') + "\"" + std::string(40, '{'); // brackets in text do not nest
    EXPECT_TRUE(ParseSpriteManifest(WriteSpriteManifest(manifest), back, error)) << error;
    EXPECT_EQ(back.objectFile, manifest.objectFile);
}
