// bake_bench: what rendering the scene into an object's sprites costs.
//
// The sample game's two-tile loveseat is cloned into a working object file
// (in a temporary folder), and the scene holds one imported mesh (COGLMesh,
// as a 3D Studio import makes it) of --triangles triangles: a rounded sofa
// shape over both tiles, a superellipsoid cut into a grid of quads. It is
// baked --repeat times in the bake's own lights (all twelve images,
// --samples × --samples samples a pixel at the largest zoom) on the
// off-screen context, Mesa's software rasteriser, and the median of each
// part is printed: reading the file's ids, finding the mesh on the screen
// (probe), drawing the tiles (to glFinish), reading colour and depth back,
// laying tiles and zooms together, choosing the palette and cutting the
// frames, encoding and writing the file, and the whole bake.
//
// The mesh has materials as an import gives them: its faces in three face
// groups, a red one, one textured with a 256 × 256 PNG checker and one
// textured with a JPEG (written to the temporary folder), unless --plain.
//
// Usage: bake_bench [--triangles N] [--repeat N] [--samples N] [--plain]

#include "bake/SpriteBake.h"
#include "pngio/PngCodec.h"
#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "resfile/CTGFileSystem.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "scene/HeadlessGLContext.h"
#include "scene/JpegPicture.h"
#include "tools/RoundedMesh.h"
#include "tools/SampleGame.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A 256 × 256 checker of 32-pixel squares in two colours.
PlainImage Checker(const Rgb& a, const Rgb& b)
{
    PlainImage image(256, 256, 3);
    image.SetOrder(ChannelOrder::Rgb);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const Rgb& colour = ((x / 32 + y / 32) % 2) ? a : b;
            std::uint8_t* pixel = image.Row(y).data() + 3 * x;
            pixel[0] = colour.red;
            pixel[1] = colour.green;
            pixel[2] = colour.blue;
        }
    return image;
}

// Three materials (red; PNG; JPEG) over thirds of the faces, the textures
// written into `folder`.
ModelMaterials SofaMaterials(const std::filesystem::path& folder, std::int32_t faces)
{
    const std::string png = (folder / "cloth.png").string();
    const std::string jpeg = (folder / "wood.jpg").string();
    const PlainImage cloth = Checker({200, 60, 50}, {240, 220, 190});
    PngImage pngImage{256, 256, PngChannels::Rgb, {}};
    for (int y = 0; y < 256; ++y)
        pngImage.pixels.insert(pngImage.pixels.end(), cloth.Row(y).begin(), cloth.Row(y).end());
    std::string error;
    if (!WritePngFile(png, pngImage, error))
        std::fprintf(stderr, "cannot write %s: %s\n", png.c_str(), error.c_str());
    const std::vector<std::uint8_t> wood = EncodeJpeg(Checker({120, 80, 40}, {170, 120, 70}), 85);
    std::FILE* out = std::fopen(jpeg.c_str(), "wb");
    if (out) {
        std::fwrite(wood.data(), 1, wood.size(), out);
        std::fclose(out);
    }
    ModelMaterials materials;
    ModelMaterial red;
    red.name = "Red";
    red.ambient = red.diffuse = {0.7f, 0.2f, 0.15f};
    ModelMaterial pictured = red;
    pictured.name = "Cloth";
    pictured.texturePath = png;
    ModelMaterial grained = red;
    grained.name = "Wood";
    grained.texturePath = jpeg;
    grained.twoSided = true;
    materials.materials = {red, pictured, grained};
    std::vector<ModelFaceGroup> groups(3);
    for (std::int32_t f = 0; f < faces; ++f)
        groups[static_cast<std::size_t>(f % 3)].faces.push_back(f);
    for (std::size_t g = 0; g < 3; ++g)
        groups[g].material = static_cast<std::int32_t>(g);
    materials.partGroups = {groups};
    return materials;
}

long PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv)
{
    int triangles = 100000, repeat = 5, samples = 4;
    bool plain = false;
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--plain"))
            plain = true;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--plain")) {
            --i;
            continue;
        }
        if (!std::strcmp(argv[i], "--triangles"))
            triangles = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--repeat"))
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--samples"))
            samples = std::atoi(argv[i + 1]);
    }

    // The working object file: the sample loveseat, cloned.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zelvane-bake-bench";
    std::filesystem::remove_all(folder);
    if (!WriteSampleGame(folder / "game").error.empty()) {
        std::fprintf(stderr, "cannot write the sample game\n");
        return 1;
    }
    const std::string working = (folder / "zeltemp.iff").string();
    {
        ObjectCatalog catalog;
        catalog.Rebuild((folder / "game").string());
        for (const CObjectEntry* object : catalog.ListedObjects())
            if (object->ResourceName() == "Sofa - Striped Loveseat") {
                CloneOptions options;
                options.targetPath = working;
                if (!CloneObject(*object, options).succeeded)
                    return 1;
            }
        catalog.Clear();
        CTGFileSystem::Instance().Reset();
    }
    std::unique_ptr<CObjectFile> file = OpenWorkingObjectFile(working);
    if (!file)
        return 1;

    std::string error;
    auto context = HeadlessGLContext::Create(64, 64, error);
    if (!context) {
        std::fprintf(stderr, "no off-screen context: %s\n", error.c_str());
        return 1;
    }
    ActiveGLContextScope active(*context);
    context->BeginGL();
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    // A rounded sofa shape, 0.9 wide across x, 0.8 high, 1.9 along z (two tiles).
    RoundedMeshShape shape;
    shape.triangles = triangles;
    const RoundedMesh sofa(shape);
    auto scene = std::make_unique<COGLScene>();
    auto mesh = plain ? std::make_unique<COGLMesh>(sofa.Set())
                      : std::make_unique<COGLMesh>(sofa.Set(), SofaMaterials(folder, sofa.Set().parts[0].faceCount));
    if (!mesh->MissingTextures().empty())
        std::fprintf(stderr, "a texture did not load: %s\n", mesh->MissingTextures()[0].problem.c_str());
    mesh->SetScale(1, 1, 1);
    mesh->SetOrientation({});
    mesh->SetPosition(0.0f, 0.4f, -0.5f); // over tiles (0, 0) and (1, 0)
    mesh->SetDiffuse(0.7f, 0.3f, 0.25f, 1.0f);
    std::printf("mesh: %lld triangles over the loveseat's 2 tiles, %s, %d x %d samples a pixel\n",
                static_cast<long long>(mesh->TriangleCount()),
                plain ? "no materials" : "3 face groups (a colour, a PNG and a JPEG texture)", samples, samples);
    scene->AddObject(std::move(mesh));

    std::vector<double> total, plan, probe, draw, readBack, merge, palette, write;
    BakeResult last;
    for (int run = 0; run < repeat; ++run) {
        BakeRequest request;
        request.scene = scene.get();
        request.objects = BakeableObjects(*scene);
        request.file = file.get();
        request.filePath = working;
        request.object = file->ListedObjects().front();
        request.options.render.samples = samples;
        last = BakeSprites(request);
        if (last.outcome != BakeOutcome::Written) {
            std::fprintf(stderr, "%s\n", last.error.c_str());
            return 1;
        }
        const BakeTimings& t = last.timings;
        total.push_back(t.total);
        plan.push_back(t.plan);
        probe.push_back(t.render.probe);
        draw.push_back(t.render.draw);
        readBack.push_back(t.render.readBack);
        merge.push_back(t.render.merge);
        palette.push_back(t.palette);
        write.push_back(t.write);
        file = OpenWorkingObjectFile(working);
    }
    std::printf("bake (median of %d): %.3f s\n", repeat, Median(total));
    std::printf("  ids:              %.3f s\n", Median(plan));
    std::printf("  probe:            %.3f s\n", Median(probe));
    std::printf("  draw (8 renders): %.3f s\n", Median(draw));
    std::printf("  read back:        %.3f s\n", Median(readBack));
    std::printf("  tiles and zooms:  %.3f s\n", Median(merge));
    std::printf("  palette, frames:  %.3f s\n", Median(palette));
    std::printf("  encode and write: %.3f s\n", Median(write));
    std::printf("palette: %d colours at %.1f dB; peak memory %ld MB\n", last.coloursUsed, last.psnr, PeakMegabytes());
    scene.reset();
    file.reset();
    context->EndGL();
    std::filesystem::remove_all(folder);
    return 0;
}
