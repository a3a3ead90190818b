// `sprites export` and `sprites import`.

#include "app/cli/SpritesCommands.h"

#include "app/cli/CliOutput.h"
#include "app/cli/ObjectArguments.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectFileOpener.h"
#include "resfile/ResErrors.h"
#include "spriteio/png/PngSpriteFolder.h"

#include <cmath>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>

namespace zelvane::cli {

namespace {

struct ExportOptions {
    ObjectArgument object;
    std::string out;
    bool sheet = false;
    bool json = false;
};

struct ImportOptions {
    ObjectFileArgument file;
    std::string folder;
    bool dither = false;
    bool json = false;
};

std::string SizeText(int width, int height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

int RunExport(const ExportOptions& options)
{
    std::string path;
    std::string subject;
    std::string error;
    std::optional<int16_t> id;
    if (options.object.id || !options.object.guid.empty()) {
        FoundObject found;
        if (!FindObject(options.object, found, subject, error))
            return Fail(subject, error);
        path = found.path;
        id = found.id;
    } else if (options.object.where.file.empty()) {
        return Fail("object", "name the object file, or the object with --guid");
    } else if (!ResolveObjectPath(options.object.where, path, subject, error)) {
        return Fail(subject, error);
    }

    ObjectFileOpener opener;
    if (!opener.Open(path, {}, error))
        return Fail(path, error);
    CObjectFile objects(path, opener.TakeContainer());
    if (const int32_t code = objects.BuildLists(); code != kResOk)
        return Fail(path, std::string("reading its objects: ") + ResErrorText(code));
    SpriteExportOptions choice;
    choice.objectId = id;
    choice.layout = options.sheet ? SpriteLayoutChoice::SheetPerObject : SpriteLayoutChoice::FramePerFile;
    choice.objectFileName = std::filesystem::path(path).filename().string();
    const SpriteExport exported = ExportSprites(objects, choice);
    if (!exported.ok())
        return Fail(path, exported.error);
    for (const std::string& note : exported.notes)
        Warn(path, note);
    if (!WriteSpriteFolder(options.out, exported, subject, error))
        return Fail(subject, error);

    const SpriteManifest& manifest = exported.manifest;
    if (options.json) {
        nlohmann::ordered_json frames = nlohmann::ordered_json::array();
        for (const ManifestSprite& sprite : manifest.sprites)
            for (size_t f = 0; f < sprite.frames.size(); ++f) {
                const ManifestFrame& frame = sprite.frames[f];
                nlohmann::ordered_json row = {{"sprite", sprite.id},      {"frame", f},
                                              {"object", sprite.object},  {"width", frame.width},
                                              {"height", frame.height},   {"origin_x", frame.originX},
                                              {"origin_y", frame.originY}, {"palette_id", frame.paletteId}};
                if (frame.InSheet()) {
                    row["sheet"] = manifest.FindObject(sprite.object)->sheet->image;
                    row["sheet_x"] = frame.sheetX;
                    row["sheet_y"] = frame.sheetY;
                } else {
                    row["image"] = frame.image;
                    row["depth"] = frame.depth;
                }
                frames.push_back(row);
            }
        PrintJson(std::cout, {{"file", path},
                              {"folder", options.out},
                              {"manifest", kSpriteManifestName},
                              {"objects", manifest.objects.size()},
                              {"sprites", manifest.sprites.size()},
                              {"frames", frames},
                              {"notes", exported.notes}});
        return kExitOk;
    }
    TextTable table({{"SPRITE", Align::Right},
                     {"FRAME", Align::Right},
                     {"SIZE", Align::Right},
                     {"ORIGIN", Align::Right},
                     {"PALETTE", Align::Right},
                     {options.sheet ? "SHEET AT" : "IMAGE"}});
    size_t frameCount = 0;
    for (const ManifestSprite& sprite : manifest.sprites)
        for (size_t f = 0; f < sprite.frames.size(); ++f, ++frameCount) {
            const ManifestFrame& frame = sprite.frames[f];
            const std::string where =
                frame.InSheet() ? manifest.FindObject(sprite.object)->sheet->image + " (" + std::to_string(frame.sheetX) +
                                      ", " + std::to_string(frame.sheetY) + ")"
                                : frame.image;
            table.AddRow({std::to_string(sprite.id), std::to_string(f), SizeText(frame.width, frame.height),
                          std::to_string(frame.originX) + ", " + std::to_string(frame.originY),
                          std::to_string(frame.paletteId), Printable(where)});
        }
    table.Print(std::cout);
    std::cout << options.out << ": " << manifest.sprites.size() << " sprites, " << frameCount << " frames, "
              << exported.images.size() << " PNG files and " << kSpriteManifestName << '\n';
    return kExitOk;
}

std::string PsnrText(double psnr)
{
    if (std::isinf(psnr))
        return "exact";
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << psnr << " dB";
    return text.str();
}

int RunImport(const ImportOptions& options)
{
    std::string path;
    std::string subject;
    std::string error;
    if (!ResolveObjectPath(options.file, path, subject, error))
        return Fail(subject, error);
    SpriteImportOptions choice;
    choice.dithering = options.dither ? Dithering::On : Dithering::Off;
    const SpriteImportResult result = ImportSpriteFolder(path, options.folder, choice);
    if (!result.ok())
        return Fail(result.subject, result.error);
    if (options.json) {
        nlohmann::ordered_json palettes = nlohmann::ordered_json::array();
        for (const ImportedPalette& palette : result.palettes)
            palettes.push_back({{"object", palette.object},
                                {"palette_id", palette.paletteId},
                                {"colours", palette.colours},
                                {"psnr", std::isinf(palette.psnr) ? nlohmann::ordered_json()
                                                                  : nlohmann::ordered_json(palette.psnr)}});
        PrintJson(std::cout, {{"file", path},
                              {"folder", options.folder},
                              {"sprites", result.sprites},
                              {"frames", result.frames},
                              {"palettes", palettes}});
        return kExitOk;
    }
    std::cout << path << ": " << result.sprites << " sprites, " << result.frames << " frames written from "
              << options.folder << '\n';
    for (const ImportedPalette& palette : result.palettes)
        std::cout << "  object " << palette.object << ": palette " << palette.paletteId << ", " << palette.colours
                  << " colours, " << PsnrText(palette.psnr) << '\n';
    return kExitOk;
}

} // namespace

void AddSpritesCommands(CLI::App& app, int& status)
{
    CLI::App* sprites = app.add_subcommand("sprites", "Export an object's sprites as PNG files to paint, and import them back");
    sprites->require_subcommand(1);

    auto out = std::make_shared<ExportOptions>();
    CLI::App* exporting = sprites->add_subcommand(
        "export", "Write every frame of the sprites an object's draw groups use as PNG files (RGBA colour, grey "
                  "depth) with a manifest, sprites.json");
    AddObjectArguments(*exporting, out->object, "The object file (its companions are searched too)",
                       FileSpelling::Positional, "The object's OBJD id (default: every object of the file)");
    exporting->add_option("-o,--out", out->out, "The folder to write (made when missing)")->required();
    exporting->add_flag("--sheet", out->sheet, "One sheet per object (a row per tile and zoom) instead of a file a frame");
    exporting->add_flag("--json", out->json, "Print the frames written as JSON");
    exporting->callback([out, &status] { status = RunExport(*out); });

    auto in = std::make_shared<ImportOptions>();
    CLI::App* importing = sprites->add_subcommand(
        "import", "Write the painted PNG files of an exported folder back into the object file's sprites, "
                  "re-quantised into one palette per object");
    AddObjectFileArgument(*importing, in->file, "The object file to change (by itself; not inside an archive)");
    importing->add_option("DIR", in->folder, "The folder written by sprites export")->required();
    importing->add_flag("--dither", in->dither, "Dither the colours (Floyd-Steinberg) instead of taking the nearest");
    importing->add_flag("--json", in->json, "Print what was written as JSON");
    importing->callback([in, &status] { status = RunImport(*in); });
}

} // namespace zelvane::cli
