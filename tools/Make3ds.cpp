// make_3ds: writes the benchmark's large 3D Studio scene.
//
//   make_3ds OUT.3ds [--objects N] [--grid N] [--materials N] [--groups N] [--seed N]

#include "tools/LargeThreeDSScene.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace zelvane;

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: make_3ds OUT.3ds [--objects N] [--grid N] [--materials N] [--groups N] [--seed N]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const char* out = argv[1];
    LargeSceneOptions options;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        char* end = nullptr;
        const unsigned long value = std::strtoul(argv[i + 1], &end, 10);
        if (*end != '\0')
            return Usage();
        const auto number = static_cast<uint32_t>(value);
        if (option == "--objects")
            options.objects = number;
        else if (option == "--grid")
            options.grid = number;
        else if (option == "--materials")
            options.materials = number;
        else if (option == "--groups")
            options.groupsPerObject = number;
        else if (option == "--seed")
            options.seed = number;
        else
            return Usage();
    }
    if (argc % 2 != 0)
        return Usage();
    const LargeScene scene = MakeLargeThreeDSScene(options);
    std::FILE* file = std::fopen(out, "wb");
    if (!file || std::fwrite(scene.bytes.data(), 1, scene.bytes.size(), file) != scene.bytes.size() ||
        std::fclose(file) != 0) {
        std::fprintf(stderr, "make_3ds: cannot write %s: %s\n", out, std::strerror(errno));
        return 1;
    }
    std::printf("%s: %llu meshes, %llu vertices, %llu triangles, %zu bytes\n", out,
                static_cast<unsigned long long>(scene.meshes), static_cast<unsigned long long>(scene.vertices),
                static_cast<unsigned long long>(scene.faces), scene.bytes.size());
    return 0;
}
