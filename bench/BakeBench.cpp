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
// Usage: bake_bench [--triangles N] [--repeat N] [--samples N]

#include "bake/SpriteBake.h"
#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "resfile/CTGFileSystem.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "scene/HeadlessGLContext.h"
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
    for (int i = 1; i + 1 < argc; i += 2) {
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
    auto mesh = std::make_unique<COGLMesh>(sofa.Set());
    mesh->SetScale(1, 1, 1);
    mesh->SetOrientation({});
    mesh->SetPosition(0.0f, 0.4f, -0.5f); // over tiles (0, 0) and (1, 0)
    mesh->SetDiffuse(0.7f, 0.3f, 0.25f, 1.0f);
    std::printf("mesh: %lld triangles over the loveseat's 2 tiles, %d x %d samples a pixel\n",
                static_cast<long long>(mesh->TriangleCount()), samples, samples);
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
