#include "app/cli/ObjectArguments.h"

// Sections: files; objects.

#include "app/cli/CliOutput.h"
#include "app/cli/GameFolderOption.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectCatalog.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/ResErrors.h"

#include <charconv>
#include <filesystem>

namespace zelvane::cli {

namespace {

// ---- files ----

bool IsThere(const std::string& path)
{
    MountFolderOf(path);
    return CTGFileSystem::Instance().Exists(path);
}

// ---- objects ----

std::optional<uint32_t> ParseGuid(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    uint32_t value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || problem != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<const CObjectEntry*> WithGuid(const CObjectFile& file, uint32_t guid)
{
    std::vector<const CObjectEntry*> found;
    for (const auto& object : file.Objects())
        if (static_cast<uint32_t>(object->Definition().Guid()) == guid)
            found.push_back(object.get());
    return found;
}

// The first object of the file at found.path, as its object list shows them
// (else its first object definition).
bool FindFirstObject(FoundObject& found, std::string& subject, std::string& error)
{
    subject = found.path;
    ObjectFileOpener opener;
    if (!opener.Open(found.path, {}, error))
        return false;
    CObjectFile file(found.path, opener.TakeContainer());
    if (const int32_t code = file.BuildLists(); code != kResOk) {
        error = std::string("reading its objects: ") + ResErrorText(code);
        return false;
    }
    const CObjectEntry* first = !file.ListedObjects().empty() ? file.ListedObjects().front()
                                : !file.Objects().empty()     ? file.Objects().front().get()
                                                              : nullptr;
    if (!first) {
        error = "holds no object definition (OBJD)";
        return false;
    }
    found.id = first->DefinitionId();
    found.chosen = "no --id given: OBJD " + std::to_string(found.id) + " (" + Quoted(first->ResourceName()) +
                   "), the file's first object";
    return true;
}

} // namespace

int SayWhichObjectWhenDone(const FoundObject& found, int status)
{
    if (status == kExitOk && !found.chosen.empty())
        Note(found.path, found.chosen);
    return status;
}

std::string GuidText(uint32_t guid)
{
    return Hex(guid, 8);
}

std::string CatalogPathOf(const ObjectCatalog& catalog, const CObjectEntry& object)
{
    const std::string& path = object.Owner().Path();
    const std::string& game = catalog.GameFolder();
    std::string shown = path.rfind(game, 0) == 0 ? path.substr(game.size()) : path;
    if (shown.rfind("./", 0) == 0)
        shown = shown.substr(2);
    return shown + ".iff";
}

void AddObjectFileArgument(CLI::App& command, ObjectFileArgument& argument, std::string_view help, FileNeed need)
{
    CLI::Option* file = command.add_option("FILE", argument.file, std::string(help) + ", or its catalog path");
    if (need == FileNeed::Required)
        file->required();
    AddGameFolderOption(command, argument.gameFolder);
}

bool ResolveObjectPath(const ObjectFileArgument& argument, std::string& path, std::string& subject,
                       std::string& error)
{
    path = argument.file;
    if (path.empty() || std::filesystem::path(path).is_absolute())
        return true;
    const bool gameNamed = !argument.gameFolder.empty();
    if (!gameNamed && IsThere(path))
        return true;
    const GameFolderSearch game = SearchGameFolder(argument.gameFolder);
    if (game.givenIsNoFolder) {
        subject = argument.gameFolder;
        error = "not a folder";
        return false;
    }
    if (!game.folder.empty() && IsThere(game.folder + argument.file)) {
        path = game.folder + argument.file;
        return true;
    }
    if (gameNamed && IsThere(path))
        return true;
    subject = path;
    error = "no such file";
    if (!game.folder.empty())
        error += " (nor below the game folder " + game.folder + ")";
    return false;
}

bool OpenObjectFile(const ObjectFileArgument& argument, const ObjectFileOptions& options, ObjectFileOpener& opener,
                    std::string& subject, std::string& error)
{
    std::string path;
    if (!ResolveObjectPath(argument, path, subject, error))
        return false;
    subject = path;
    return opener.Open(path, options, error);
}

void AddObjectArguments(CLI::App& command, ObjectArgument& argument, std::string_view fileHelp,
                        FileSpelling spelling, std::string_view idHelp)
{
    const std::string fileText = std::string(fileHelp) + ", or its catalog path";
    if (spelling == FileSpelling::Positional)
        command.add_option("FILE", argument.where.file, fileText);
    else
        command.add_option(spelling == FileSpelling::Option ? "--file" : "--base", argument.where.file, fileText);
    AddGameFolderOption(command, argument.where.gameFolder);
    CLI::Option* id =
        command.add_option("--id", argument.id, std::string(idHelp))->check(CLI::Range(-32768, 32767));
    command
        .add_option("--guid", argument.guid,
                    "The object with this GUID (0x and hex digits, or a number): in FILE, or without FILE anywhere "
                    "in the game's catalog")
        ->excludes(id);
}

bool FindObject(const ObjectArgument& argument, FoundObject& found, std::string& subject, std::string& error)
{
    subject = argument.where.file;
    if (argument.guid.empty()) {
        if (argument.where.file.empty()) {
            subject = "object";
            error = "name the object file, or the object with --guid";
            return false;
        }
        if (!ResolveObjectPath(argument.where, found.path, subject, error))
            return false;
        if (argument.id) {
            found.id = static_cast<int16_t>(*argument.id);
            return true;
        }
        return FindFirstObject(found, subject, error);
    }

    const std::optional<uint32_t> guid = ParseGuid(argument.guid);
    if (!guid) {
        subject = argument.guid;
        error = "is not a GUID (0x and up to 8 hex digits, or a number)";
        return false;
    }
    std::vector<std::pair<std::string, const CObjectEntry*>> matches;
    // Kept open while the matches are looked at.
    std::unique_ptr<CObjectFile> file;
    ObjectCatalog catalog;
    if (!argument.where.file.empty()) {
        ObjectFileOpener opener;
        if (!OpenObjectFile(argument.where, {}, opener, subject, error))
            return false;
        file = std::make_unique<CObjectFile>(subject, opener.TakeContainer());
        if (const int32_t code = file->BuildLists(); code != kResOk) {
            error = std::string("reading its objects: ") + ResErrorText(code);
            return false;
        }
        for (const CObjectEntry* object : WithGuid(*file, *guid))
            matches.emplace_back(subject, object);
    } else {
        const GameFolderSearch game = SearchGameFolder(argument.where.gameFolder);
        if (game.givenIsNoFolder || game.folder.empty()) {
            subject = game.givenIsNoFolder ? argument.where.gameFolder : "game folder";
            error = game.givenIsNoFolder ? "not a folder" : "none found: pass --game-folder DIR or set SIMS_DATA";
            return false;
        }
        for (const std::string& note : game.notes)
            Warn("game folder", note);
        catalog.Rebuild(game.folder);
        subject = "game folder " + game.folder;
        for (const CObjectEntry* object : catalog.ObjectsWithGuid(*guid))
            matches.emplace_back(game.folder + CatalogPathOf(catalog, *object), object);
    }
    if (matches.empty()) {
        error = "no object has GUID " + GuidText(*guid);
        return false;
    }
    if (matches.size() > 1) {
        error = "GUID " + GuidText(*guid) + " is used by " + std::to_string(matches.size()) + " objects:";
        for (const auto& [path, object] : matches)
            error += " " + path + " OBJD " + std::to_string(object->DefinitionId()) + ";";
        error += " name the file and --id";
        return false;
    }
    found.path = matches.front().first;
    found.id = matches.front().second->DefinitionId();
    return true;
}

} // namespace zelvane::cli
