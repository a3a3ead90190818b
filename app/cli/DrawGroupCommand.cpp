#include "app/cli/DrawGroupCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/ObjectArguments.h"
#include "objects/ObjectFileOpener.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/ResErrors.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>

namespace zelvane::cli {

namespace {

struct DrawGroupOptions {
    ObjectFileArgument file;
    int32_t id = 0;
    bool json = false;
};

// The shortest text that reads back as the same float ("0.1", not 0.100000001).
std::string FloatText(uint32_t raw)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, DrawGroupSprite::AsFloat(raw));
    return std::string(text, result.ptr);
}

// JSON has no NaN or infinity: those raw words read as null.
nlohmann::ordered_json FloatJson(uint32_t raw)
{
    const float value = DrawGroupSprite::AsFloat(raw);
    if (!std::isfinite(value))
        return nullptr;
    // Through the shortest text, so the JSON number is the one a person would write.
    return std::strtod(FloatText(raw).c_str(), nullptr);
}

nlohmann::ordered_json RawJson(uint32_t raw)
{
    return {{"raw", Hex(raw, 8)}, {"float", FloatJson(raw)}};
}

void PrintText(int32_t id, const CTGDrawGroup& group)
{
    size_t sprites = 0;
    for (const DrawGroupImage& image : group.Images())
        sprites += image.sprites.size();
    std::cout << "DGRP " << id << ' ' << Quoted(group.Name()) << ", version " << group.Version() << ": " << group.ImageCount()
              << (group.ImageCount() == 1 ? " image, " : " images, ") << sprites
              << (sprites == 1 ? " sprite reference" : " sprite references") << '\n';
    TextTable table({{"IMAGE", Align::Right}, {"DIR", Align::Right}, {"ZOOM", Align::Right}, {"#", Align::Right},
                     {"SPRITE", Align::Right}, {"VALUE1", Align::Right}, {"VALUE2", Align::Right},
                     {"VALUE3", Align::Right}, {"VALUE4"}, {"AS FLOAT", Align::Right}, {"VALUE5"},
                     {"AS FLOAT", Align::Right}, {"VALUE6"}, {"AS FLOAT", Align::Right}, {"FLAGS"}});
    for (size_t i = 0; i < group.ImageCount(); ++i) {
        const DrawGroupImage& image = group.Image(i);
        const std::vector<std::string> place = {std::to_string(i), std::to_string(image.direction),
                                                std::to_string(image.zoom)};
        // An image without sprites still gets its row.
        if (image.sprites.empty())
            table.AddRow(place);
        for (size_t j = 0; j < image.sprites.size(); ++j) {
            const DrawGroupSprite& s = image.sprites[j];
            std::vector<std::string> row = place;
            row.insert(row.end(), {std::to_string(j), std::to_string(s.spriteId), std::to_string(s.value1),
                                   std::to_string(s.value2), std::to_string(s.value3), Hex(s.value4, 8),
                                   FloatText(s.value4), Hex(s.value5, 8), FloatText(s.value5), Hex(s.value6, 8),
                                   FloatText(s.value6), Hex(static_cast<uint32_t>(s.flags), 8)});
            table.AddRow(std::move(row));
        }
    }
    table.Print(std::cout);
}

void PrintJsonGroup(const std::string& file, int32_t id, const CTGDrawGroup& group)
{
    nlohmann::ordered_json images = nlohmann::ordered_json::array();
    for (size_t i = 0; i < group.ImageCount(); ++i) {
        const DrawGroupImage& image = group.Image(i);
        nlohmann::ordered_json sprites = nlohmann::ordered_json::array();
        for (const DrawGroupSprite& s : image.sprites)
            sprites.push_back({{"spriteId", s.spriteId},
                               {"value1", s.value1},
                               {"value2", s.value2},
                               {"value3", s.value3},
                               {"value4", RawJson(s.value4)},
                               {"value5", RawJson(s.value5)},
                               {"value6", RawJson(s.value6)},
                               {"flags", s.flags}});
        images.push_back({{"index", i},
                          {"direction", image.direction},
                          {"zoom", image.zoom},
                          {"sprites", std::move(sprites)}});
    }
    PrintJson(std::cout, {{"file", file},
                          {"id", id},
                          {"name", group.Name()},
                          {"version", group.Version()},
                          {"images", std::move(images)}});
}

int RunDrawGroup(const DrawGroupOptions& options)
{
    ObjectFileOpener object;
    std::string file;
    std::string error;
    if (!OpenObjectFile(options.file, {}, object, file, error))
        return Fail(file, error);

    CTGDrawGroup group;
    if (const int32_t result = group.Load(object.Container(), static_cast<int16_t>(options.id)); result != kResOk)
        return Fail(file, std::string(ResErrorText(result)) + " (DGRP id " + std::to_string(options.id) + ")");
    if (options.json)
        PrintJsonGroup(file, options.id, group);
    else
        PrintText(options.id, group);
    return kExitOk;
}

} // namespace

void AddDrawGroupCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<DrawGroupOptions>();
    CLI::App* command = app.add_subcommand(
        "drawgroup", "Show a draw group (DGRP): its images and every sprite reference with all its values");
    AddObjectFileArgument(*command, options->file, "Object file (its companions are searched too)");
    command->add_option("--id", options->id, "Resource id of the draw group")
        ->required()
        ->check(CLI::Range(-32768, 32767));
    command->add_flag("--json", options->json, "Print JSON instead of a table");
    command->callback([options, &status] { status = RunDrawGroup(*options); });
}

} // namespace zelvane::cli
