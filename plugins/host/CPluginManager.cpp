#include "plugins/host/CPluginManager.h"

#include "plugins/host/ImportedMeshes.h"
#include "plugins/host/MeshSetCheck.h"
#include "report/ProgramFolders.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zelvane {

namespace {

bool SameText(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

Status CPluginManager::ScanPlugins()
{
    if (scanned_)
        return Status::Ok();
    scanned_ = true;
    if (const std::optional<std::string> folder = FindProgramFolder("Plugins"))
        return ScanFolder(*folder);
    return Status::Ok();
}

Status CPluginManager::ScanFolder(const std::string& folder)
{
    Status scan = Status::Ok();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        std::error_code typeError;
        if (path.extension() != ".so" || !fs::is_regular_file(path, typeError))
            continue;
        auto plugin = std::make_unique<CPlugin>();
        if (const Status loaded = plugin->Load(path.string()); !loaded) {
            skipped_.push_back({path.string(), plugin->LoadFailure()});
            // A file that is no library at all is passed over without a word.
            if (plugin->LibraryLoaded())
                scan.Warn(loaded.Message());
            continue;
        }
        // Past the routed range a menu item could never be chosen, so none is made.
        if (plugin->MenuName()[0] != '\0' && nextCommandId_ < kFirstPluginCommand + kPluginCommandCount)
            plugin->SetCommandId(nextCommandId_++);
        plugins_.push_back(std::move(plugin));
    }
    return scan;
}

std::vector<ImportMenuItem> CPluginManager::ImportMenuItems() const
{
    std::vector<ImportMenuItem> items;
    for (const auto& plugin : plugins_)
        if (plugin->CommandId() != 0)
            items.push_back({plugin->CommandId(), plugin->MenuName()});
    return items;
}

std::vector<std::string> CPluginManager::InfoLines() const
{
    const size_t count = plugins_.size();
    std::vector<std::string> lines{std::to_string(count) + (count < 2 ? " plug-in loaded" : " plug-ins loaded")};
    for (const auto& plugin : plugins_) {
        lines.emplace_back();
        lines.push_back(std::string("Name: ") + plugin->Name());
        lines.push_back(std::string("Author: ") + plugin->Author());
        lines.push_back(std::string("Description: ") + plugin->Description());
    }
    return lines;
}

const CPlugin* CPluginManager::FindByCommand(uint32_t commandId) const
{
    if (commandId == 0)
        return nullptr;
    for (const auto& plugin : plugins_)
        if (plugin->CommandId() == commandId)
            return plugin.get();
    return nullptr;
}

const CPlugin* CPluginManager::FindForFile(std::string_view path) const
{
    std::string extension = fs::path(path).extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    const CPlugin* anyFile = nullptr;
    for (const auto& plugin : plugins_) {
        if (!extension.empty() && plugin->ReadsExtension(extension))
            return plugin.get();
        if (!anyFile && plugin->ReadsExtension(kFallbackFilterExt))
            anyFile = plugin.get();
    }
    return anyFile;
}

const CPlugin* CPluginManager::FindByName(std::string_view name) const
{
    for (const auto& plugin : plugins_) {
        const std::string file = plugin->FileName();
        if (SameText(file, name) || SameText(fs::path(file).stem().string(), name) || SameText(plugin->Name(), name))
            return plugin.get();
    }
    return nullptr;
}

Result<MeshSet> CPluginManager::Import(const CPlugin& plugin, const std::string& path)
{
    Result<ImportedModel> model = ImportModel(plugin, path);
    if (!model)
        return model.GetStatus();
    Result<MeshSet> set(model->set);
    for (const std::string& warning : model.Warnings())
        set.Warn(warning);
    return set;
}

Result<ImportedModel> CPluginManager::ImportModel(const CPlugin& plugin, const std::string& path)
{
    // Every field has a value before the call; the plug-in writes only the parts.
    const char* name = ImportedMeshes::KeepName(fs::path(path).stem().string());
    ImportedModel model;
    model.set = MeshSet{name, 0, nullptr, 0.0f, 0.0f, 0.0f};
    MeshMaterials records{ZELPLUG_MATERIALS_VERSION, 0, nullptr, 0, nullptr};
    MeshModelInfo info{ZELPLUG_MODEL_INFO_VERSION, 0.0f, ZELPLUG_UP_UNKNOWN, nullptr};
    plugin.CallImport(path, model.set, &records, &info);
    model.set.name = name;
    ImportedMeshes::Keep(model.set);
    ImportedMeshes::Keep(records);
    ImportedMeshes::KeepNotes(info.notes);
    model.units = UnitsOf(info);
    model.notes = NotesOf(info);
    const auto unusable = [&](const std::string& what, const std::string& problem, const char* outcome) {
        return "The plug-in \"" + std::string(plugin.Name()) + "\" returned " + what + " from \"" +
               fs::path(path).filename().string() + "\" that cannot be used: " + problem + ". " + outcome;
    };
    if (const std::optional<std::string> problem = CheckMeshSet(model.set))
        return Result<ImportedModel>::Failure(unusable("a mesh", *problem, "Nothing was imported."));
    const std::array<float, 3> extents = MeasureExtents(model.set);
    model.set.extentX = extents[0];
    model.set.extentY = extents[1];
    model.set.extentZ = extents[2];

    std::optional<std::string> problem = CopyMaterialRecords(records, model.set, model.materials);
    if (!problem)
        problem = CheckModelMaterials(model.materials, model.set);
    if (problem)
        model.materials = {};
    const bool hasFaces = std::any_of(model.set.parts, model.set.parts + model.set.partCount,
                                      [](const MeshPart& part) { return part.faceCount > 0; });
    std::vector<std::string> notes = hasFaces ? model.notes : std::vector<std::string>{};
    Result<ImportedModel> imported(std::move(model));
    for (const std::string& note : notes)
        imported.Warn(note);
    if (problem)
        imported.Warn(unusable("materials", *problem, "The mesh was imported without them."));
    return imported;
}

Result<MeshSet> CPluginManager::RunImport(uint32_t commandId, const std::string& path)
{
    const CPlugin* plugin = FindByCommand(commandId);
    if (!plugin)
        return Result<MeshSet>::Failure("No plug-in has the import command " + std::to_string(commandId) + ".");
    return Import(*plugin, path);
}

} // namespace zelvane
