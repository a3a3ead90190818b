// assimp_import_bench FILE: the comparison for mesh_import_bench, one import
// of the same file with the Open Asset Import Library (Debian's
// libassimp-dev), post-processing off. Built only when that library is
// installed; zelvane itself never uses it.

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: assimp_import_bench FILE\n");
        return 2;
    }
    const auto peakMiB = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return static_cast<double>(usage.ru_maxrss) / 1024.0;
    };
    Assimp::Importer importer;
    const double before = peakMiB();
    const auto start = std::chrono::steady_clock::now();
    const aiScene* scene = importer.ReadFile(argv[1], 0);
    const auto end = std::chrono::steady_clock::now();
    if (!scene) {
        std::fprintf(stderr, "assimp_import_bench: %s\n", importer.GetErrorString());
        return 1;
    }
    long long faces = 0, vertices = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        faces += scene->mMeshes[i]->mNumFaces;
        vertices += scene->mMeshes[i]->mNumVertices;
    }
    std::printf("assimp:   %.3f s, peak %.1f MiB (%.1f MiB before the import); %u meshes, %lld faces, %lld vertices\n",
                std::chrono::duration<double>(end - start).count(), peakMiB(), before, scene->mNumMeshes, faces,
                vertices);
    return 0;
}
