// make_sample_meshes OUT: the sample game's "Meshes" folder (SampleMeshes.h).

#include "tools/SampleMeshes.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_meshes OUT\n");
        return 2;
    }
    const std::string error = zelvane::WriteSampleMeshes(argv[1]);
    if (!error.empty()) {
        std::fprintf(stderr, "make_sample_meshes: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
