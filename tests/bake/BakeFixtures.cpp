#include "tests/bake/BakeFixtures.h"

#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "objects/PreviewTile.h"
#include "pngio/PngCodec.h"
#include "resfile/CTGFileSystem.h"
#include "scene/COGLBox.h"
#include "scene/COGLPlane.h"
#include "scene/COGLPointLight.h"
#include "tools/SampleGame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace zelvane::test {

// ---- the stage ----

BakeStage::BakeStage(StageLights lights) : context_(HeadlessGLContext::Create(64, 64, error_))
{
    if (!context_)
        return;
    active_ = std::make_unique<ActiveGLContextScope>(*context_);
    context_->BeginGL();
    scene_ = std::make_unique<COGLScene>();
    if (lights == StageLights::None)
        return;
    // The editor's lights, without the floor and walls.
    for (const Vector3 at : {Vector3{-6, 8, 6}, Vector3{6, 8, -6}, Vector3{9, 3, 0}})
        scene_->AddLight(std::make_unique<COGLPointLight>(at.x, at.y, at.z));
}

BakeStage::~BakeStage()
{
    if (!context_)
        return;
    scene_.reset();
    context_->EndGL();
    active_.reset();
}

COGLObject& BakeStage::AddBox()
{
    return scene_->AddObject(std::make_unique<COGLBox>());
}

COGLObject& BakeStage::AddFloorTile()
{
    auto plane = std::make_unique<COGLPlane>();
    plane->SetScale(0.5f, 0.5f, 1.0f);
    plane->RotateAxisAngle({1.0f, 0.0f, 0.0f}, 90.0f); // as the floor lies
    plane->SetPosition(0.0f, 0.0f, 0.0f);
    // Darker than the lights can wash out to white.
    plane->SetDiffuse(0.2f, 0.35f, 0.25f, 1.0f);
    plane->SetAmbient(0.1f, 0.15f, 0.1f, 1.0f);
    return scene_->AddObject(std::move(plane));
}

// ---- the working object file ----

const std::string& SampleGameFolder()
{
    static const TempDir folder;
    static const std::string path = [] {
        if (!WriteSampleGame(folder.Path()).error.empty())
            std::abort();
        return folder.Path().string();
    }();
    return path;
}

WorkingFile::WorkingFile(const std::string& sampleFile) : path_(folder_.File("zeltemp.iff"))
{
    IReporter& previous = CurrentReporter();
    RecordingReporter quiet;
    SetReporter(&quiet);
    ObjectCatalog catalog;
    catalog.Rebuild(SampleGameFolder());
    const CObjectEntry* chosen = nullptr;
    for (const auto& file : catalog.Files())
        if (std::filesystem::path(file->Path()).filename() == std::filesystem::path(sampleFile).stem())
            chosen = file->ListedObjects().front();
    EXPECT_NE(chosen, nullptr) << sampleFile;
    if (chosen) {
        CloneOptions options;
        options.targetPath = path_;
        EXPECT_TRUE(CloneObject(*chosen, options).succeeded);
    }
    catalog.Clear();
    CTGFileSystem::Instance().Reset();
    file_ = OpenWorkingObjectFile(path_);
    SetReporter(&previous);
    EXPECT_NE(file_, nullptr);
}

WorkingFile::~WorkingFile() = default;

void WorkingFile::Reopen()
{
    file_.reset();
    IReporter& previous = CurrentReporter();
    RecordingReporter quiet;
    SetReporter(&quiet);
    file_ = OpenWorkingObjectFile(path_);
    SetReporter(&previous);
    ASSERT_NE(file_, nullptr);
}

ObjectPreview WorkingFile::Compose(int imageIndex, Rgb background)
{
    const CObjectEntry& object = Object();
    std::vector<std::span<const uint8_t>> members;
    for (const CObjectEntry* member : object.Members())
        members.push_back(member->Definition().Bytes());
    const std::vector<PreviewTile> tiles = PreviewTilesOf(object.Definition().Bytes(), members);
    return ComposeObjectPreview(file_->Container(), tiles, imageIndex, background);
}

BakeRequest WorkingFile::Request(BakeStage& stage)
{
    BakeRequest request;
    request.scene = &stage.Scene();
    request.objects = BakeableObjects(stage.Scene());
    request.file = file_.get();
    request.filePath = path_;
    request.object = &Object();
    return request;
}

// ---- pictures ----

void SavePicture(const std::string& name, const PlainImage& colour, const PlainImage* mask)
{
    const char* folder = std::getenv("ZELVANE_BAKE_PICTURES");
    if (!folder || !*folder || colour.IsNull())
        return;
    PngImage png;
    png.width = static_cast<uint32_t>(colour.Width());
    png.height = static_cast<uint32_t>(colour.Height());
    png.channels = mask ? PngChannels::Rgba : PngChannels::Rgb;
    for (int y = 0; y < colour.Height(); ++y)
        for (int x = 0; x < colour.Width(); ++x) {
            const Rgb c = colour.PixelColour(x, y);
            png.pixels.insert(png.pixels.end(), {c.red, c.green, c.blue});
            if (mask)
                png.pixels.push_back(mask->PixelByte(x, y));
        }
    std::string error;
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(WritePngFile((std::filesystem::path(folder) / (name + ".png")).string(), png, error)) << error;
}

void SavePicture(const std::string& name, const BakedImage& image)
{
    const char* folder = std::getenv("ZELVANE_BAKE_PICTURES");
    if (!folder || !*folder || image.width == 0)
        return;
    PngImage png;
    png.width = static_cast<uint32_t>(image.width);
    png.height = static_cast<uint32_t>(image.height);
    png.channels = PngChannels::Rgba;
    for (const BakedPixel& p : image.pixels)
        png.pixels.insert(png.pixels.end(), {p.red, p.green, p.blue, p.alpha});
    std::string error;
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(WritePngFile((std::filesystem::path(folder) / (name + ".png")).string(), png, error)) << error;
}

} // namespace zelvane::test
