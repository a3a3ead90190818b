// `catalog`, `guids` and `clone`.
//
//   1. The game folder and the catalog
//   2. catalog and guids
//   3. clone

#include "app/cli/CatalogCommands.h"

#include "app/cli/CliOutput.h"
#include "app/cli/CliReporter.h"
#include "app/cli/GameFolderOption.h"
#include "app/cli/ObjectArguments.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectFileOpener.h"

#include <algorithm>
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

void AddGameOptions(CLI::App& command, GameOptions& options)
{
    AddGameFolderOption(command, options.folder);
    command.add_flag("--json", options.json, "Print JSON");
}

// ---------------------------------------------------------------------------
// 2. catalog and guids

// The tiles of a multi-tile object, each with its place: x and y from the
// high and low byte of its place word, and its level.
nlohmann::ordered_json MembersJson(const CObjectEntry& master)
{
    nlohmann::ordered_json members = nlohmann::ordered_json::array();
    for (const CObjectEntry* member : master.Members()) {
        const ObjectDefinition& d = member->Definition();
        const auto place = static_cast<uint16_t>(d.Word(objd::kGroupPlace / 2));
        members.push_back({{"id", member->DefinitionId()},
                           {"resource_name", member->ResourceName()},
                           {"guid", GuidText(static_cast<uint32_t>(d.Guid()))},
                           {"x", place >> 8},
                           {"y", place & 0xFF},
                           {"level", d.Word(objd::kTileLevel / 2)}});
    }
    return members;
}

int RunCatalog(const GameOptions& options)
{
    const auto folder = ResolveGameFolder(options.folder);
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
            nlohmann::ordered_json item = {{"file", CatalogPathOf(catalog, *object)},
                                           {"id", object->DefinitionId()},
                                           {"resource_name", object->ResourceName()},
                                           {"guid", GuidText(guid)},
                                           {"price", summary.price},
                                           {"name", summary.name},
                                           {"tiles", std::max<size_t>(object->Members().size(), 1)}};
            if (const std::optional<std::string> bytes = object->Catalog().InexactNameBytes())
                item["name_bytes"] = HexBytes(*bytes);
            if (!object->Members().empty())
                item["members"] = MembersJson(*object);
            json.push_back(std::move(item));
        } else {
            table.AddRow({CatalogPathOf(catalog, *object), std::to_string(object->DefinitionId()),
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
    const auto folder = ResolveGameFolder(options.folder);
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
            users.push_back({{"file", CatalogPathOf(catalog, *object)},
                             {"id", object->DefinitionId()},
                             {"resource_name", object->ResourceName()}});
            table.AddRow({GuidText(guid), CatalogPathOf(catalog, *object), std::to_string(object->DefinitionId()),
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
    ObjectArgument object;
    bool json = false;
    std::string out;
};

int RunCloneOn(const CloneCommandOptions& options, const FoundObject& found)
{
    std::string error;
    // Only read: the clone goes to a file of its own.
    ObjectFileOpener opener;
    if (!opener.Open(found.path, {}, error))
        return Fail(found.path, error);
    CObjectFile source(found.path, opener.TakeContainer());
    if (const int32_t code = source.BuildLists(); code != kResOk)
        return Fail(found.path, ResErrorText(code));
    const CObjectEntry* object = source.FindObject(found.id);
    if (!object)
        return Fail(found.path, "has no object with OBJD id " + std::to_string(found.id));
    if (!object->IsListed())
        Warn(found.path, "OBJD " + std::to_string(found.id) + " is a tile of a multi-tile object; only it is cloned");

    // GUIDs of the whole catalog must stay unique; without a game folder only the clone's own are checked.
    ObjectCatalog catalog;
    const GameFolderSearch game = SearchGameFolder(options.object.where.gameFolder);
    if (game.givenIsNoFolder)
        return Fail(options.object.where.gameFolder, "not a folder");
    for (const std::string& note : game.notes)
        Warn("game folder", note);
    if (game.folder.empty())
        Warn("game folder", "none found: the new GUIDs are kept apart from the clone's own only");
    else
        catalog.Rebuild(game.folder);
    // The catalog rebuild resets the file system: mount the source's folder again.
    MountFolderOf(found.path);

    CloneOptions clone;
    clone.targetPath = options.out.empty() ? DefaultWorkingObjectFilePath() : options.out;
    clone.guidInUse = [&](uint32_t guid) { return catalog.GuidInUse(guid); };
    // The clone tells what went wrong as the editor does, in message boxes: here, one line.
    CliReporter messages;
    const CloneResult result = CloneObject(*object, clone);
    if (!result.succeeded)
        return Fail(clone.targetPath, messages.TakeMessages());

    if (options.json) {
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
    std::cout << "Cloned OBJD " << found.id << " of " << found.path << " into " << clone.targetPath << " ("
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

int RunClone(const CloneCommandOptions& options)
{
    FoundObject found;
    std::string subject;
    std::string error;
    if (!FindObject(options.object, found, subject, error))
        return Fail(subject, error);
    return SayWhichObjectWhenDone(found, RunCloneOn(options, found));
}

} // namespace

void AddCatalogCommands(CLI::App& app, int& status)
{
    auto catalogOptions = std::make_shared<GameOptions>();
    CLI::App* catalog = app.add_subcommand("catalog", "List every object of the game's catalog");
    AddGameOptions(*catalog, *catalogOptions);
    catalog->callback([catalogOptions, &status] { status = RunCatalog(*catalogOptions); });

    auto guidOptions = std::make_shared<GameOptions>();
    CLI::App* guids = app.add_subcommand("guids", "List the GUIDs that more than one object of the catalog uses");
    AddGameOptions(*guids, *guidOptions);
    guids->callback([guidOptions, &status] { status = RunGuids(*guidOptions); });

    auto cloneOptions = std::make_shared<CloneCommandOptions>();
    CLI::App* clone = app.add_subcommand("clone", "Clone an object into the working object file (or --out FILE)");
    AddObjectArguments(*clone, cloneOptions->object, "The object file holding the object", FileSpelling::Positional,
                       "The object's OBJD id (default: the file's first object)");
    clone->add_option("--out", cloneOptions->out, "Where to write the clone (default: the working object file)");
    clone->add_flag("--json", cloneOptions->json, "Print JSON");
    clone->callback([cloneOptions, &status] { status = RunClone(*cloneOptions); });
}

} // namespace zelvane::cli
