#pragma once
// The editor's import plug-ins: found in "Plugins", loaded once per run and
// never unloaded, listed in the order the folder gives them, each with its
// Import menu command; runs an import and hands back the mesh set only when
// it keeps the plug-in contract.

#include "plugins/host/CPlugin.h"
#include "plugins/host/ModelMaterials.h"
#include "plugins/host/ModelUnits.h"
#include "report/Result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// Import menu commands are numbered from here; the view routes 300 of them.
inline constexpr uint32_t kFirstPluginCommand = 33000;
inline constexpr uint32_t kPluginCommandCount = 300;

struct ImportMenuItem {
    uint32_t commandId = 0;
    std::string text; // the plug-in's menu name, "&" marks included
};

// A library of the folder that did not become a plug-in, and why.
struct SkippedLibrary {
    std::string path;
    std::string reason;
};

// What an import gives: the checked mesh set and its materials (none when
// the plug-in has none for the file, or when they were refused).
struct ImportedModel {
    MeshSet set{};
    ModelMaterials materials;
    // From plug-ins with zelplug_ImportModel; unknown from the others.
    ModelUnits units;
    // The plug-in's notes for the user, line by line. With faces in the set
    // they are the result's warnings too; without, they say why nothing came.
    std::vector<std::string> notes;
};

class CPluginManager {
public:
    // Finds the "Plugins" folder (below the start folder, else beside the
    // program, else the installed one) and loads every library in it. Runs
    // once: later calls keep the list and the commands as they are.
    // Libraries that load but are no plug-ins come back as warnings ("Cannot
    // load plug-in. No import routine defined!"); those that do not load are
    // only listed in Skipped().
    Status ScanPlugins();
    // Loads every "*.so" of `folder` in the order the folder lists them and
    // adds the usable ones; each whose menu name is not empty gets the next
    // command id while there are ids left. Warnings as ScanPlugins.
    Status ScanFolder(const std::string& folder);

    const std::vector<std::unique_ptr<CPlugin>>& Plugins() const { return plugins_; }
    const std::vector<SkippedLibrary>& Skipped() const { return skipped_; }
    std::vector<ImportMenuItem> ImportMenuItems() const;

    // The About box's lines: "N plug-in(s) loaded", then for each plug-in an
    // empty line, "Name: ...", "Author: ...", "Description: ...".
    std::vector<std::string> InfoLines() const;

    const CPlugin* FindByCommand(uint32_t commandId) const;
    // The first plug-in whose filter extension is the file's (in any case),
    // else the first that takes any file ("*"); null when none.
    const CPlugin* FindForFile(std::string_view path) const;
    // By library file name with or without ".so", or by the plug-in's own
    // name, in any case; null when none.
    const CPlugin* FindByName(std::string_view name) const;

    // Imports `path` with `plugin`. The set is named after the file (base
    // name without extension) and given the extents of its parts. A set that
    // breaks the plug-in contract is refused with what is wrong. Either way
    // the host keeps what the plug-in handed over (ImportedMeshes). A file
    // the plug-in cannot read comes back as a set with no parts.
    Result<MeshSet> Import(const CPlugin& plugin, const std::string& path);
    // Import with the file's materials, through zelplug_ImportModel (units,
    // axis, notes) or zelplug_ImportMaterials when the plug-in exports them. Materials that break the contract are left out
    // with a warning naming the plug-in, the file, the part and the group;
    // the mesh comes without them.
    Result<ImportedModel> ImportModel(const CPlugin& plugin, const std::string& path);
    // Import with the plug-in of an Import menu command; fails when no
    // plug-in has that command.
    Result<MeshSet> RunImport(uint32_t commandId, const std::string& path);

private:
    std::vector<std::unique_ptr<CPlugin>> plugins_;
    std::vector<SkippedLibrary> skipped_;
    uint32_t nextCommandId_ = kFirstPluginCommand;
    bool scanned_ = false;
};

} // namespace zelvane
