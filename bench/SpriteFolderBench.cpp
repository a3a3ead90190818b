// sprite_folder_bench: what exporting an object's sprites to PNG files and
// importing them back costs.
//
// The sample game's four-tile dining table (48 frames) is copied into a
// temporary folder and, --repeat times, exported (opening the file, decoding
// every frame, writing the PNG files and the manifest) and imported (reading
// the manifest and every picture, choosing the palette, encoding the
// sprites, writing the file through its replacement). The median of each
// part and of both together is printed; the target is 0.5 s for both.
//
// Usage: sprite_folder_bench [--repeat N] [--sheet] [--dither]

#include "objects/CObjectFile.h"
#include "objects/ObjectFileOpener.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/ResErrors.h"
#include "spriteio/png/PngSpriteFolder.h"
#include "tools/SampleGame.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv)
{
    int repeat = 5;
    SpriteExportOptions exportOptions;
    SpriteImportOptions importOptions;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--sheet") == 0)
            exportOptions.layout = SpriteLayoutChoice::SheetPerObject;
        else if (std::strcmp(argv[i], "--dither") == 0)
            importOptions.dithering = Dithering::On;
        else {
            std::fprintf(stderr, "usage: %s [--repeat N] [--sheet] [--dither]\n", argv[0]);
            return 2;
        }
    }
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "zelvane-sprite-folder-bench";
    std::filesystem::remove_all(work);
    if (const SampleGameResult game = WriteSampleGame(work / "game"); !game.error.empty()) {
        std::fprintf(stderr, "sample game: %s\n", game.error.c_str());
        return 1;
    }
    const std::string path = (work / "table.iff").string();
    std::filesystem::copy_file(work / "game/GameData/Objects/diningtable.iff", path);
    const std::string folder = (work / "sprites").string();

    std::vector<double> exports, imports, both;
    size_t frames = 0;
    for (int run = 0; run < repeat; ++run) {
        const Clock::time_point start = Clock::now();
        {
            ObjectFileOpener opener;
            std::string error;
            if (!opener.Open(path, {}, error)) {
                std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
                return 1;
            }
            CObjectFile file(path, opener.TakeContainer());
            if (file.BuildLists() != kResOk)
                return 1;
            const SpriteExport exported = ExportSprites(file, exportOptions);
            std::string subject;
            if (!exported.ok() || !WriteSpriteFolder(folder, exported, subject, error)) {
                std::fprintf(stderr, "export: %s %s\n", exported.error.c_str(), error.c_str());
                return 1;
            }
            frames = 0;
            for (const ManifestSprite& sprite : exported.manifest.sprites)
                frames += sprite.frames.size();
        }
        const double exported = Seconds(start);
        const Clock::time_point middle = Clock::now();
        const SpriteImportResult result = ImportSpriteFolder(path, folder, importOptions);
        if (!result.ok()) {
            std::fprintf(stderr, "import: %s: %s\n", result.subject.c_str(), result.error.c_str());
            return 1;
        }
        imports.push_back(Seconds(middle));
        exports.push_back(exported);
        both.push_back(Seconds(start));
        CTGFileSystem::Instance().Reset();
    }
    std::printf("four-tile dining table, %zu frames, median of %d runs:\n", frames, repeat);
    std::printf("  export (decode, PNG files, manifest)   %8.1f ms\n", Median(exports) * 1000);
    std::printf("  import (pictures, palette, encode, write) %5.1f ms\n", Median(imports) * 1000);
    std::printf("  both                                   %8.1f ms (target 500 ms)\n", Median(both) * 1000);
    std::filesystem::remove_all(work);
    return Median(both) <= 0.5 ? 0 : 1;
}
