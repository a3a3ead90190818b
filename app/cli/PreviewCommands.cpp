// `preview` and `sprite`.

#include "app/cli/PreviewCommands.h"

#include "app/cli/CliOutput.h"
#include "app/cli/ObjectArguments.h"
#include "app/cli/PngOutput.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectFileOpener.h"
#include "objects/ObjectPreview.h"
#include "objects/PreviewTile.h"
#include "objects/SpriteDecoder.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGIffFile.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/ResErrors.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <memory>
#include <optional>

namespace zelvane::cli {

namespace {

struct PreviewOptions {
    ObjectArgument object;
    int index = kPreviewImageIndex;
    std::string background = "FFFFFF";
    std::string out;
    bool json = false;
};

struct SpriteOptions {
    ObjectFileArgument file;
    int id = 0;
    int frame = 0;
    std::string prefix;
    bool json = false;
};

// "RRGGBB", with or without a leading '#' or "0x".
std::optional<Rgb> ParseColour(std::string text)
{
    if (text.rfind('#', 0) == 0)
        text.erase(0, 1);
    else if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0)
        text.erase(0, 2);
    if (text.size() != 6 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    return Rgb::FromHex(static_cast<uint32_t>(std::stoul(text, nullptr, 16)));
}

std::string SizeText(int width, int height)
{
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

int RunPreviewOn(const PreviewOptions& options, const FoundObject& found)
{
    std::string error;
    const std::optional<Rgb> background = ParseColour(options.background);
    const std::string& file = found.path;
    if (!options.json && options.out.empty())
        return Fail(file, "name the PNG to write with -o (or ask for --json)");

    ObjectFileOpener opener;
    if (!opener.Open(file, {}, error))
        return Fail(file, error);
    CObjectFile objects(file, opener.TakeContainer());
    if (const int32_t code = objects.BuildLists(); code != kResOk)
        return Fail(file, std::string("reading its objects: ") + ResErrorText(code));
    const CObjectEntry* entry = objects.FindObject(found.id);
    if (!entry)
        return Fail(file, "no OBJD " + std::to_string(found.id));

    std::vector<std::span<const uint8_t>> members;
    for (const CObjectEntry* member : entry->Members())
        members.push_back(member->Definition().Bytes());
    const std::vector<PreviewTile> tiles = PreviewTilesOf(entry->Definition().Bytes(), members);
    const ObjectPreview preview = ComposeObjectPreview(objects.Container(), tiles, options.index, *background);
    for (const std::string& note : preview.notes)
        Warn(file, note);

    const int width = preview.colour.Width();
    const int height = preview.colour.Height();
    if (options.json) {
        PrintJson(std::cout, {{"file", file},
                              {"id", found.id},
                              {"index", options.index},
                              {"tiles", tiles.size()},
                              {"width", width},
                              {"height", height},
                              {"anchor_x", preview.anchorX},
                              {"anchor_y", preview.anchorY},
                              {"notes", preview.notes}});
        return kExitOk;
    }
    if (!WritePng(options.out, preview.colour, nullptr, error))
        return Fail(options.out, "cannot write the PNG: " + error);
    std::cout << options.out << ": " << SizeText(width, height) << ", anchor (" << preview.anchorX << ", "
              << preview.anchorY << "), " << tiles.size() << (tiles.size() == 1 ? " tile" : " tiles") << '\n';
    return kExitOk;
}

int RunPreview(const PreviewOptions& options)
{
    const std::optional<Rgb> background = ParseColour(options.background);
    if (!background)
        return Fail(options.background, "a background colour is six hex digits, RRGGBB");
    FoundObject found;
    std::string subject;
    std::string error;
    if (!FindObject(options.object, found, subject, error))
        return Fail(subject, error);
    return SayWhichObjectWhenDone(found, RunPreviewOn(options, found));
}

int RunSprite(const SpriteOptions& options)
{
    ObjectFileOpener object;
    std::string file;
    std::string error;
    if (!OpenObjectFile(options.file, {}, object, file, error))
        return Fail(file, error);
    if (!options.json && options.prefix.empty())
        return Fail(file, "name the PNGs to write with -o PREFIX (or ask for --json)");

    ColourCounts counts{};
    SpriteRequest request;
    request.counts = &counts;
    SpriteFrame frame;
    LoadSprite(object.Container(), static_cast<int16_t>(options.id), options.frame, request, frame);
    if (!frame.status.ok())
        return Fail(file, frame.status.message);
    const SpriteFrameInfo& info = frame.info;
    if (info.frameIndex != static_cast<uint32_t>(options.frame))
        Warn(file, "frame " + std::to_string(options.frame) + " is beyond the sprite's " +
                               std::to_string(info.frameCount) + ": frame 0 is shown");
    const auto coloursUsed = std::count_if(counts.begin(), counts.end(), [](uint32_t n) { return n > 0; });
    const char* format = info.format == SpriteFormat::Spr ? "SPR#" : "SPR2";

    if (options.json) {
        PrintJson(std::cout, {{"file", file},
                              {"id", options.id},
                              {"format", format},
                              {"version", info.version},
                              {"frames", info.frameCount},
                              {"frame", info.frameIndex},
                              {"width", info.width},
                              {"height", info.height},
                              {"origin_x", info.originX},
                              {"origin_y", info.originY},
                              {"palette_id", info.paletteId},
                              {"transparent_index", frame.transparentIndex},
                              {"colours_used", coloursUsed}});
        return kExitOk;
    }
    // The colour plane takes the alpha plane as its transparency, so it
    // shows as the sprite looks; the other two are grey images.
    const std::vector<std::pair<std::string, std::pair<const PlainImage*, const PlainImage*>>> files = {
        {options.prefix + "-colour.png", {&frame.colour, &frame.alpha}},
        {options.prefix + "-depth.png", {&frame.depth, nullptr}},
        {options.prefix + "-alpha.png", {&frame.alpha, nullptr}},
    };
    for (const auto& [path, planes] : files)
        if (!WritePng(path, *planes.first, planes.second, error))
            return Fail(path, "cannot write the PNG: " + error);
    std::cout << format << ' ' << options.id << " frame " << info.frameIndex << " of " << info.frameCount << ": "
              << SizeText(info.width, info.height) << ", origin (" << info.originX << ", " << info.originY
              << "), palette " << info.paletteId << ", " << coloursUsed << " colours\n";
    for (const auto& item : files)
        std::cout << "  " << item.first << '\n';
    return kExitOk;
}

} // namespace

void AddPreviewCommands(CLI::App& app, int& status)
{
    auto preview = std::make_shared<PreviewOptions>();
    CLI::App* compose =
        app.add_subcommand("preview", "Compose an object's picture as the base object list shows it, into a PNG");
    AddObjectArguments(*compose, preview->object, "The object file (its companions are searched too)",
                       FileSpelling::Positional, "The object's OBJD id (default: the file's first object)");
    compose->add_option("-o,--out", preview->out, "The PNG to write");
    compose->add_option("--index", preview->index, "Image index: 0 to 11, direction = index mod 4, 8 to 11 full size")
        ->check(CLI::Range(0, 11));
    compose->add_option("--background", preview->background, "Background colour RRGGBB (default FFFFFF)");
    compose->add_flag("--json", preview->json, "Print the numbers as JSON; write no image");
    compose->callback([preview, &status] { status = RunPreview(*preview); });

    auto sprite = std::make_shared<SpriteOptions>();
    CLI::App* planes = app.add_subcommand(
        "sprite", "Write one sprite frame's colour, depth and alpha planes as PREFIX-colour/-depth/-alpha.png");
    AddObjectFileArgument(*planes, sprite->file, "The object file (its companions are searched too)");
    planes->add_option("--id", sprite->id, "The sprite's id (SPR#, else SPR2)")
        ->required()
        ->check(CLI::Range(-32768, 32767));
    planes->add_option("--frame", sprite->frame, "Frame index (default 0; beyond the last shows frame 0)")
        ->check(CLI::NonNegativeNumber);
    planes->add_option("-o,--out", sprite->prefix, "Prefix of the PNGs to write");
    planes->add_flag("--json", sprite->json, "Print the numbers as JSON; write no image");
    planes->callback([sprite, &status] { status = RunSprite(*sprite); });
}

} // namespace zelvane::cli
