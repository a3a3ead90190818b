// clone_bench: how long cloning a big multi-tile object takes — a master with
// 10 tiles whose draw groups use 300 sprites in all (about 8 MB), with
// behaviour code that refers to every tile's GUID.
//
// Usage: clone_bench [--repeat N]

#include "bytes/ByteWriter.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectDefinition.h"
#include "report/Reporter.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/IffBuilder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

using namespace zelvane;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTiles = 10;
constexpr int kSpritesPerTile = 30;
constexpr size_t kSpriteBytes = 28 * 1024;

std::vector<uint8_t> Record(uint32_t guid, int16_t group, int16_t place, int16_t drawGroup)
{
    ObjectDefinition r;
    r.SetInt32At(objd::kVersion, static_cast<int32_t>(objd::kCurrentVersion));
    r.SetWord(3, drawGroup);
    r.SetWord(4, drawGroup ? 1 : 0);
    r.SetWord(10, group);
    r.SetWord(11, place);
    r.SetWord(41, 2000);
    r.SetGuid(static_cast<int32_t>(guid));
    return r.StoredBytes();
}

std::vector<uint8_t> BigObject()
{
    std::mt19937 random(7);
    IffBuilder b;
    b.AddChunk(kTypeOBJD, 128, "Banquet table", Record(0x10000000, 1, -1, 0));
    ByteWriter code;
    code.u16le(0x8002);
    code.u16le(kTiles);
    code.fill(8, 0);
    for (int t = 0; t < kTiles; ++t) {
        const int16_t group = static_cast<int16_t>(100 + t);
        b.AddChunk(kTypeOBJD, static_cast<int16_t>(129 + t), "Banquet table tile",
                   Record(0x10000001u + static_cast<uint32_t>(t), 1, static_cast<int16_t>(t << 8), group));
        DrawGroupImage image;
        for (int s = 0; s < kSpritesPerTile; ++s)
            image.sprites.push_back({200 + t * kSpritesPerTile + s, 0, 0, 0, 0, 0, 0, 0});
        CTGDrawGroup dgrp;
        dgrp.Set("tile", 20004, std::vector<DrawGroupImage>(12, image));
        b.AddChunk(kTypeDGRP, group, "tile", dgrp.Encode());
        code.u16le(42);
        code.u16le(0);
        code.u32le(0x10000001u + static_cast<uint32_t>(t));
        code.fill(4, 0);
    }
    std::vector<uint8_t> sprite(kSpriteBytes);
    for (int s = 0; s < kTiles * kSpritesPerTile; ++s) {
        std::generate(sprite.begin(), sprite.end(), [&] { return static_cast<uint8_t>(random()); });
        b.AddChunk(kTypeSPR2, static_cast<int16_t>(200 + s), "sprite", sprite, 0);
    }
    b.AddChunk(kTypeBHAV, 4096, "main", code.data());
    return b.Build(IffBuilder::Map::Written);
}

} // namespace

int main(int argc, char** argv)
{
    const int repeat = argc == 3 && std::strcmp(argv[1], "--repeat") == 0 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zelvane-clone-bench";
    std::filesystem::create_directories(dir);
    const std::string source = (dir / "banquet.iff").string();
    {
        const std::vector<uint8_t> bytes = BigObject();
        std::ofstream(source, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
    }
    auto container = std::make_unique<CTGObjResFileSet>();
    if (container->OpenContainer(source) != kResOk) {
        std::fprintf(stderr, "clone_bench: cannot open %s\n", source.c_str());
        return 1;
    }
    CObjectFile file(source, std::move(container));
    if (file.BuildLists() != kResOk) {
        std::fprintf(stderr, "clone_bench: cannot read the objects of %s\n", source.c_str());
        return 1;
    }
    const CObjectEntry& master = *file.ListedObjects().at(0);

    std::vector<double> times;
    size_t resources = 0, patched = 0;
    for (int run = 0; run <= repeat; ++run) {
        CloneOptions options;
        options.targetPath = (dir / "zeltemp.iff").string();
        const Clock::time_point start = Clock::now();
        const CloneResult result = CloneObject(master, options);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!result.succeeded)
            return 1;
        resources = result.copied.size();
        patched = 0;
        for (const RepairedBehaviour& b : result.behaviours)
            patched += b.patches.size();
        if (run > 0)
            times.push_back(seconds);
    }
    std::sort(times.begin(), times.end());
    std::printf("object:          master + %d tiles, %d sprites of %zu KiB (%.1f MiB file)\n", kTiles,
                kTiles * kSpritesPerTile, kSpriteBytes / 1024,
                static_cast<double>(std::filesystem::file_size(source)) / (1024.0 * 1024.0));
    std::printf("clone:           %zu resources copied, %zu GUID references repaired\n", resources, patched);
    std::printf("time:            median %.3f s over %d runs (min %.3f, max %.3f), into %s\n", times[times.size() / 2],
                repeat, times.front(), times.back(), dir.c_str());
    std::filesystem::remove_all(dir);
    return 0;
}
