// scenefile_bench: saving and opening a scene file that holds a mesh of 2
// million triangles and 1,000 primitives, against cp of the file it makes.
//
// Each operation runs in a process of its own (this program again, with
// --child), so the peak memory it reports (ru_maxrss) is that operation's:
//   save     builds the scene (no OpenGL), then times the document's save:
//            written beside the target, synced, renamed into place;
//   open     times the document's open into an empty scene without a
//            context (reading and checking every record);
//   open-gl  the same with the off-screen context current, as the editor
//            opens a scene: the mesh's list of triangles is compiled too.
// Between them cp of the saved file is timed (warm cache), alone and
// followed by fdatasync of the copy. Medians of --repeat runs.
//
// Usage: scenefile_bench FOLDER [--repeat N] [--triangles N]

#include "bench/BenchFiles.h"
#include "document/SceneFile.h"
#include "report/Reporter.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPlane.h"
#include "scene/COGLScene.h"
#include "scene/HeadlessGLContext.h"
#include "scene/ObjectFactory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace zelvane;
using namespace zelvane::bench;

namespace {

constexpr int kPrimitives = 1000;
// One part: a grid of 128 × 128 squares, two triangles each.
constexpr int kGrid = 128;
constexpr int kTrianglesPerPart = 2 * kGrid * kGrid;

long PeakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The mesh's arrays, alive for the whole child.
struct GridMesh {
    std::vector<std::string> names;
    std::vector<std::vector<MeshFace>> faces;
    std::vector<std::vector<MeshVertex>> vertices;
    std::vector<std::vector<MeshTexCoord>> texCoords;
    std::vector<MeshPart> parts;

    explicit GridMesh(long triangles)
    {
        const long count = (triangles + kTrianglesPerPart - 1) / kTrianglesPerPart;
        for (long p = 0; p < count; ++p) {
            names.push_back("part " + std::to_string(p));
            std::vector<MeshVertex>& v = vertices.emplace_back();
            std::vector<MeshTexCoord>& t = texCoords.emplace_back();
            for (int y = 0; y <= kGrid; ++y)
                for (int x = 0; x <= kGrid; ++x) {
                    v.push_back({static_cast<float>(x), static_cast<float>(y), static_cast<float>(p)});
                    t.push_back({x / static_cast<float>(kGrid), y / static_cast<float>(kGrid)});
                }
            std::vector<MeshFace>& f = faces.emplace_back();
            for (int y = 0; y < kGrid; ++y)
                for (int x = 0; x < kGrid; ++x) {
                    const int a = y * (kGrid + 1) + x, b = a + 1, c = a + kGrid + 1, d = c + 1;
                    f.push_back({{a, b, d}, {a, b, d}});
                    f.push_back({{a, d, c}, {a, d, c}});
                }
        }
        for (std::size_t p = 0; p < names.size(); ++p)
            parts.push_back({names[p].c_str(), faces[p].data(), static_cast<std::int32_t>(faces[p].size()),
                             vertices[p].data(), static_cast<std::int32_t>(vertices[p].size()), texCoords[p].data(),
                             static_cast<std::int32_t>(texCoords[p].size())});
    }

    MeshSet Set() { return {"grid", static_cast<std::int32_t>(parts.size()), parts.data(), 64, 64, 32}; }
};

int ChildSave(const std::string& path, long triangles)
{
    GridMesh grid(triangles);
    COGLScene scene;
    scene.AddObject(std::make_unique<COGLMesh>(grid.Set()));
    const int kinds[] = {0, 2, 3, 8, 9, 10, 11, 13};
    for (int i = 0; i < kPrimitives; ++i) {
        std::unique_ptr<COGLObject> object = CreateObjectOfKind(*KindFromCode(kinds[i % 8]));
        object->SetPosition(static_cast<float>(i % 40), 0.5f, static_cast<float>(i / 40));
        scene.AddObject(std::move(object));
    }
    const long before = PeakKb();
    const Clock::time_point start = Clock::now();
    const bool saved = WriteSceneFile(path, scene).ok();
    const double seconds = Seconds(Clock::now() - start);
    std::printf("%d %.6f %ld %ld\n", saved ? 1 : 0, seconds, before, PeakKb());
    return saved ? 0 : 1;
}

int ChildOpen(const std::string& path, bool withContext)
{
    std::unique_ptr<HeadlessGLContext> context;
    std::unique_ptr<ActiveGLContextScope> active;
    if (withContext) {
        std::string error;
        context = HeadlessGLContext::Create(64, 64, error);
        if (!context) {
            std::fprintf(stderr, "scenefile_bench: %s\n", error.c_str());
            return 1;
        }
        active = std::make_unique<ActiveGLContextScope>(*context);
        context->BeginGL();
    }
    const long before = PeakKb();
    auto scene = std::make_unique<COGLScene>();
    SceneLoadResult details;
    const Clock::time_point start = Clock::now();
    const bool opened = ReadSceneFile(path, *scene, details).ok();
    const double seconds = Seconds(Clock::now() - start);
    std::printf("%d %.6f %ld %ld %zu\n", opened ? 1 : 0, seconds, before, PeakKb(), scene->Objects().size());
    std::fflush(stdout);
    scene.reset();
    if (context)
        context->EndGL();
    return opened ? 0 : 1;
}

struct ChildResult {
    bool ok = false;
    double seconds = 0;
    long before = 0;
    long peak = 0;
};

std::string Quote(const std::string& path);

ChildResult RunChild(const std::string& arguments)
{
    // The program's own path: through a shell, /proc/self/exe would be the shell.
    static const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = Quote(self) + " --child " + arguments;
    ChildResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    int ok = 0;
    result.ok = std::fscanf(pipe, "%d %lf %ld %ld", &ok, &result.seconds, &result.before, &result.peak) == 4 && ok;
    result.ok = pclose(pipe) == 0 && result.ok;
    return result;
}

std::string Quote(const std::string& path)
{
    std::string quoted = "'";
    for (const char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

int main(int argc, char** argv)
{
    // Nothing is shown while measuring; failures come back as exit codes.
    struct Quiet final : IReporter {
        MessageAnswer ShowMessage(std::string_view text, MessageIcon, MessageButtons buttons) override
        {
            std::fprintf(stderr, "scenefile_bench: %.*s\n", static_cast<int>(text.size()), text.data());
            return FirstButton(buttons);
        }
    } quiet;
    SetReporter(&quiet);

    long triangles = 2'000'000;
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0) {
        if (argc >= 6 && std::strcmp(argv[4], "--triangles") == 0)
            triangles = std::atol(argv[5]);
        if (std::strcmp(argv[2], "save") == 0)
            return ChildSave(argv[3], triangles);
        return ChildOpen(argv[3], std::strcmp(argv[2], "open-gl") == 0);
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [--repeat N] [--triangles N]\n", argv[0]);
        return 2;
    }
    int repeat = 3;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--triangles") == 0)
            triangles = std::max(1L, std::atol(argv[i + 1]));
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string path = (folder / "bench.cgs").string();
    const std::string copy = (folder / "bench-copy.cgs").string();
    const std::string size = " --triangles " + std::to_string(triangles);

    std::vector<double> saves, opens, opensGl, copies, copiesSynced;
    ChildResult save, open, openGl;
    for (int run = 0; run < repeat; ++run) {
        std::filesystem::remove(path, ec);
        save = RunChild("save " + Quote(path) + size);
        Warm(path);
        std::filesystem::remove(copy, ec);
        const Clock::time_point copyStart = Clock::now();
        const bool copied = Copy(path, copy);
        copies.push_back(Seconds(Clock::now() - copyStart));
        const bool synced = SyncFile(copy);
        copiesSynced.push_back(Seconds(Clock::now() - copyStart));
        open = RunChild("open " + Quote(path));
        openGl = RunChild("open-gl " + Quote(path));
        if (!save.ok || !copied || !synced || !open.ok || !openGl.ok) {
            std::fprintf(stderr, "scenefile_bench: run %d failed (save %d, cp %d, open %d, open-gl %d)\n", run,
                         save.ok, copied && synced, open.ok, openGl.ok);
            return 1;
        }
        saves.push_back(save.seconds);
        opens.push_back(open.seconds);
        opensGl.push_back(openGl.seconds);
    }
    const double fileMiB = static_cast<double>(std::filesystem::file_size(path, ec)) / 1048576.0;
    std::filesystem::remove(path, ec);
    std::filesystem::remove(copy, ec);

    const double s = Median(saves), o = Median(opens), g = Median(opensGl), cp = Median(copies),
                 cpSync = Median(copiesSynced);
    const long triangleCount = (triangles + kTrianglesPerPart - 1) / kTrianglesPerPart * kTrianglesPerPart;
    std::printf("folder:     %s\n", folder.c_str());
    std::printf("scene:      a mesh of %ld triangles in %ld parts and %d primitives; file %.1f MiB\n", triangleCount,
                triangleCount / kTrianglesPerPart, kPrimitives, fileMiB);
    std::printf("runs:       %d, medians below; peak memory of the last run's process\n", repeat);
    std::printf("save:       %.3f s (written beside, synced, renamed); peak %.0f MiB, %.0f MiB of it the scene\n", s,
                save.peak / 1024.0, save.before / 1024.0);
    std::printf("open:       %.3f s without a context; peak %.0f MiB\n", o, open.peak / 1024.0);
    std::printf("open (GL):  %.3f s with the mesh's list compiled; peak %.0f MiB (%.0f MiB before)\n", g,
                openGl.peak / 1024.0, openGl.before / 1024.0);
    std::printf("cp:         %.3f s (%.3f s with fdatasync of the copy)\n", cp, cpSync);
    std::printf("ratios:     save / (cp + fdatasync) %.2f (target <= 3); open / cp %.2f (target <= 3); "
                "open with GL / cp %.2f\n",
                s / cpSync, o / cp, g / cp);
    return 0;
}
