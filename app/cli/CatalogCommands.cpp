// `catalog`, `guids` and `clone`.
//
//   1. The game folder and the catalog
//   2. catalog and guids
//   3. clone

#include "app/cli/CatalogCommands.h"

#include "app/cli/CliOutput.h"
#include "app/cli/CliReporter.h"
#include "objects/CObjectFile.h"
#include "objects/GameFolder.h"
#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectFileOpener.h"
#include "report/ProgramFolders.h"

#include <iostream>
#include <memory>
#include <optional>

namespace zelvane::cli {

namespace {

// ---------------------------------------------------------------------------
// 1. The game folder and the catalog

struct GameOptions {
    std::string folder;
    bool json = false;
};

void AddGameFolderOption(CLI::App& command, GameOptions& options)
{
    command.add_option("--game-folder", options.folder,
                       "The game's installation folder (default: SIMS_DATA, the profile, the Wine registry, "
                       "then the sample game)");
    command.add_flag("--json", options.json, "Print JSON");
}

// The game folder to use, or none (with the reason printed) when there is none.
std::optional<std::string> ResolveGameFolder(const GameOptions& options)
{
    std::optional<std::string> given;
    if (!options.folder.empty())
        given = options.folder;
    const GameFolderChoice choice =
        FindGameFolder(GameFolderInputs::FromEnvironment(given, SampleGameFolders(ExecutableFolder())));
    if (given && choice.source != GameFolderSource::CommandLine) {
        Fail(options.folder, "not a folder");
        return std::nullopt;
    }
    for (const std::string& note : choice.notes)
        Warn("game folder", note);
    if (choice.source == GameFolderSource::None) {
        Fail("game folder", "none found: pass --game-folder DIR or set SIMS_DATA");
        return std::nullopt;
    }
    return choice.folder;
}

std::string GuidText(uint32_t guid)
{
    return Hex(guid, 8);
}

std::string FileOf(const ObjectCatalog& catalog, const CObjectEntry& object)
{
    const std::string& path = object.Owner().Path();
    const std::string& game = catalog.GameFolder();
    std::string shown = path.rfind(game, 0) == 0 ? path.substr(game.size()) : path;
    if (shown.rfind("./", 0) == 0)
        shown = shown.substr(2);
    return shown + ".iff";
}

// ---------------------------------------------------------------------------
// 2. catalog and guids

int RunCatalog(const GameOptions& options)
{
    const auto folder = ResolveGameFolder(options);
    if (!folder)
        return kExitFailure;
    ObjectCatalog catalog;
    catalog.Rebuild(*folder);
    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    TextTable table({{"FILE"}, {"ID", Align::Right}, {"RESOURCE NAME"}, {"GUID"}, {"PRICE", Align::Right}, {"NAME"}});
    for (CObjectEntry* object : catalog.ListedObjects()) {
        object->ReadCatalogStrings();
        const ObjectSummary summary = object->Summary();
        const auto guid = static_cast<uint32_t>(object->Definition().Guid());
        if (options.json) {
            json.push_back({{"file", FileOf(catalog, *object)},
                            {"id", object->DefinitionId()},
                            {"resource_name", object->ResourceName()},
                            {"guid", GuidText(guid)},
                            {"price", summary.price},
                            {"name", summary.name},
                            {"tiles", object->Members().size()}});
        } else {
            table.AddRow({FileOf(catalog, *object), std::to_string(object->DefinitionId()),
                          Printable(object->ResourceName()), GuidText(guid), std::to_string(summary.price),
                          Printable(summary.name)});
        }
    }
    if (options.json) {
        PrintJson(std::cout, {{"game_folder", *folder}, {"objects", json}});
    } else {
        std::cout << *folder << ": " << catalog.Files().size() << " object files, "
                  << catalog.ListedObjects().size() << " objects\n";
        table.Print(std::cout);
    }
    return kExitOk;
}

int RunGuids(const GameOptions& options)
{
    const auto folder = ResolveGameFolder(options);
    if (!folder)
        return kExitFailure;
    ObjectCatalog catalog;
    catalog.Rebuild(*folder);
    const auto shared = catalog.SharedGuids();
    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    TextTable table({{"GUID"}, {"FILE"}, {"ID", Align::Right}, {"RESOURCE NAME"}});
    for (const auto& [guid, objects] : shared) {
        nlohmann::ordered_json users = nlohmann::ordered_json::array();
        for (const CObjectEntry* object : objects) {
            users.push_back({{"file", FileOf(catalog, *object)},
                             {"id", object->DefinitionId()},
                             {"resource_name", object->ResourceName()}});
            table.AddRow({GuidText(guid), FileOf(catalog, *object), std::to_string(object->DefinitionId()),
                          Printable(object->ResourceName())});
        }
        json.push_back({{"guid", GuidText(guid)}, {"objects", users}});
    }
    if (options.json) {
        PrintJson(std::cout, {{"game_folder", *folder}, {"shared_guids", json}});
    } else {
        std::cout << *folder << ": " << shared.size() << " GUIDs used by more than one object\n";
        if (!shared.empty())
            table.Print(std::cout);
    }
    return kExitOk;
}

// ---------------------------------------------------------------------------
// 3. clone

struct CloneCommandOptions {
    GameOptions game;
    std::string file;
    int id = 0;
    std::string out;
};

int RunClone(const CloneCommandOptions& options)
{
    // Only read: the clone goes to a file of its own.
    ObjectFileOpener opener;
    if (std::string why; !opener.Open(options.file, {}, why))
        return Fail(options.file, why);
    CObjectFile source(options.file, opener.TakeContainer());
    if (const int32_t error = source.BuildLists(); error != kResOk)
        return Fail(options.file, ResErrorText(error));
    const CObjectEntry* object = source.FindObject(static_cast<int16_t>(options.id));
    if (!object)
        return Fail(options.file, "has no object with OBJD id " + std::to_string(options.id));
    if (!object->IsListed())
        Warn(options.file, "OBJD " + std::to_string(options.id) + " is a tile of a multi-tile object; only it is cloned");

    // GUIDs of the whole catalog must stay unique; without a game folder only the clone's own are checked.
    ObjectCatalog catalog;
    GameOptions quiet = options.game;
    if (const auto folder = ResolveGameFolder(quiet))
        catalog.Rebuild(*folder);
    // The catalog rebuild resets the file system: mount the source's folder again.
    MountFolderOf(options.file);

    CloneOptions clone;
    clone.targetPath = options.out.empty() ? DefaultWorkingObjectFilePath() : options.out;
    clone.guidInUse = [&](uint32_t guid) { return catalog.GuidInUse(guid); };
    // The clone tells what went wrong as the editor does, in message boxes: here, one line.
    CliReporter messages;
    const CloneResult result = CloneObject(*object, clone);
    if (!result.succeeded)
        return Fail(clone.targetPath, messages.TakeMessages());

    if (options.game.json) {
        nlohmann::ordered_json guids = nlohmann::ordered_json::array();
        for (const ClonedGuid& g : result.guids)
            guids.push_back({{"id", g.definitionId}, {"resource_name", g.resourceName},
                             {"old_guid", GuidText(g.oldGuid)}, {"new_guid", GuidText(g.newGuid)}});
        nlohmann::ordered_json behaviours = nlohmann::ordered_json::array();
        for (const RepairedBehaviour& b : result.behaviours)
            for (const GuidPatch& p : b.patches)
                behaviours.push_back({{"bhav", b.id}, {"name", b.name}, {"instruction", p.instruction},
                                      {"opcode", p.opcode}, {"old_guid", GuidText(p.oldGuid)},
                                      {"new_guid", GuidText(p.newGuid)}});
        PrintJson(std::cout, {{"target", clone.targetPath}, {"guids", guids}, {"repaired", behaviours},
                              {"copied", result.copied}});
        return kExitOk;
    }
    std::cout << "Cloned OBJD " << options.id << " of " << options.file << " into " << clone.targetPath << " ("
              << result.copied.size() << " resources)\n\nGUID map:\n";
    TextTable guids({{"ID", Align::Right}, {"RESOURCE NAME"}, {"OLD GUID"}, {"NEW GUID"}});
    for (const ClonedGuid& g : result.guids)
        guids.AddRow({std::to_string(g.definitionId), Printable(g.resourceName), GuidText(g.oldGuid), GuidText(g.newGuid)});
    guids.Print(std::cout);
    std::cout << "\nRepaired behaviour instructions:\n";
    if (result.behaviours.empty()) {
        std::cout << "  none\n";
        return kExitOk;
    }
    TextTable repaired({{"BHAV", Align::Right}, {"NAME"}, {"INSTR", Align::Right}, {"OPCODE", Align::Right}, {"OLD GUID"}, {"NEW GUID"}});
    for (const RepairedBehaviour& b : result.behaviours)
        for (const GuidPatch& p : b.patches)
            repaired.AddRow({std::to_string(b.id), Printable(b.name), std::to_string(p.instruction),
                             std::to_string(p.opcode & 0x7FFF), GuidText(p.oldGuid), GuidText(p.newGuid)});
    repaired.Print(std::cout);
    return kExitOk;
}

} // namespace

void AddCatalogCommands(CLI::App& app, int& status)
{
    auto catalogOptions = std::make_shared<GameOptions>();
    CLI::App* catalog = app.add_subcommand("catalog", "List every object of the game's catalog");
    AddGameFolderOption(*catalog, *catalogOptions);
    catalog->callback([catalogOptions, &status] { status = RunCatalog(*catalogOptions); });

    auto guidOptions = std::make_shared<GameOptions>();
    CLI::App* guids = app.add_subcommand("guids", "List the GUIDs that more than one object of the catalog uses");
    AddGameFolderOption(*guids, *guidOptions);
    guids->callback([guidOptions, &status] { status = RunGuids(*guidOptions); });

    auto cloneOptions = std::make_shared<CloneCommandOptions>();
    CLI::App* clone = app.add_subcommand("clone", "Clone an object into the working object file (or --out FILE)");
    clone->add_option("FILE", cloneOptions->file, "The object file holding the object")->required();
    clone->add_option("--id", cloneOptions->id, "The object's OBJD id")->required();
    clone->add_option("--out", cloneOptions->out, "Where to write the clone (default: the working object file)");
    AddGameFolderOption(*clone, cloneOptions->game);
    clone->callback([cloneOptions, &status] { status = RunClone(*cloneOptions); });
}

} // namespace zelvane::cli
