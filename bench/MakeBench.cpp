// How long `zelvane-cli make` takes from a model to a finished one-tile
// object: the sample game written to a temporary folder, a rounded block of
// about 10,000 triangles written as a .glb, then the command run as a user
// runs it (its own process each time: plug-ins loaded, catalog read, clone,
// import and placement, properties, the bake at 4 × 4 samples, the object
// file and the scene written). Target: under 1 s.
//
//   make_bench --cli PATH [--triangles N] [--repeat N] [--samples N]

#include "tools/GltfWriter.h"
#include "tools/RoundedMesh.h"
#include "tools/SampleGame.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

using namespace zelvane;
namespace fs = std::filesystem;

namespace {

// The block as one glTF mesh of one primitive (metres, +y up).
std::vector<uint8_t> BlockAsGlb(int triangles)
{
    RoundedMeshShape shape;
    shape.triangles = triangles;
    shape.halfX = 0.3f;
    shape.halfY = 0.4f;
    shape.halfZ = 0.25f;
    const RoundedMesh block(shape);
    const MeshPart& part = block.Set().parts[0];
    GltfPrimitive primitive;
    for (int32_t v = 0; v < part.vertexCount; ++v)
        primitive.positions.push_back({part.vertices[v].x, part.vertices[v].y, part.vertices[v].z});
    for (int32_t f = 0; f < part.faceCount; ++f)
        for (const int32_t index : part.faces[f].vertex)
            primitive.indices.push_back(static_cast<uint32_t>(index));
    GltfModelRecord model;
    model.meshes.push_back({"Block", {primitive}});
    GltfNodeRecord node;
    node.name = "Block";
    node.mesh = 0;
    model.nodes.push_back(node);
    model.sceneNodes = {0};
    std::printf("model: %d triangles, %d vertices\n", part.faceCount, part.vertexCount);
    return WriteGlb(model);
}

// Runs the command with its output thrown away; its exit status.
int Run(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

int main(int argc, char** argv)
{
    std::string cli;
    int triangles = 10000;
    int repeat = 7;
    int samples = 4;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--cli"))
            cli = argv[i + 1];
        else if (!std::strcmp(argv[i], "--triangles"))
            triangles = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--repeat"))
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--samples"))
            samples = std::atoi(argv[i + 1]);
    }
    if (cli.empty()) {
        std::fprintf(stderr, "usage: make_bench --cli PATH [--triangles N] [--repeat N] [--samples N]\n");
        return 2;
    }
    char pattern[] = "/tmp/zelvane-make-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return 2;
    const fs::path work = pattern;
    const fs::path game = work / "game";
    if (const SampleGameResult written = WriteSampleGame(game); !written.error.empty()) {
        std::fprintf(stderr, "sample game: %s\n", written.error.c_str());
        return 2;
    }
    const fs::path model = work / "block.glb";
    {
        const std::vector<uint8_t> glb = BlockAsGlb(triangles);
        std::ofstream(model, std::ios::binary).write(reinterpret_cast<const char*>(glb.data()),
                                                     static_cast<std::streamsize>(glb.size()));
    }
    const std::vector<std::string> args = {cli,           "make",     "--game-folder", game.string(),
                                           "--base",      "GameData/Objects/chair.iff", "--model", model.string(),
                                           "--name",      "Block",    "--price",       "100",
                                           "--samples",   std::to_string(samples), "-o", (work / "block.iff").string(),
                                           "--scene",     (work / "block.cgs").string()};
    std::vector<double> seconds;
    for (int run = 0; run <= repeat; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const int status = Run(args);
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (status != 0) {
            std::fprintf(stderr, "make failed with status %d\n", status);
            fs::remove_all(work);
            return 1;
        }
        if (run == 0)
            std::printf("warm-up: %.3f s\n", took);
        else
            seconds.push_back(took);
    }
    fs::remove_all(work);
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[seconds.size() / 2];
    std::printf("make, %zu runs: median %.3f s (%.3f - %.3f)\n", seconds.size(), median, seconds.front(),
                seconds.back());
    std::printf("target: under 1 s: %s\n", median < 1.0 ? "met" : "NOT met");
    return median < 1.0 ? 0 : 1;
}
