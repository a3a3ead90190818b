// `plugins` and `import`.
//
//   2. plugins
//   3. import: picking the plug-in, the mesh set, meshport's materials, the
//      scene file

#include "app/cli/PluginCommands.h"

#include "app/cli/CliOutput.h"
#include "app/cli/CliReporter.h"
#include "app/cli/PluginChoice.h"
#include "document/SceneFile.h"
#include "plugins/host/CPluginManager.h"
#include "plugins/meshport/ThreeDSReader.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace zelvane::cli {

namespace {

// ---------------------------------------------------------------------------
// 2. plugins

int RunPlugins(bool json)
{
    CPluginManager manager;
    LoadPlugins(manager);
    if (!json) {
        for (const std::string& line : manager.InfoLines())
            std::cout << Printable(line) << '\n';
        return kExitOk;
    }
    nlohmann::ordered_json plugins = nlohmann::ordered_json::array();
    for (const auto& plugin : manager.Plugins()) {
        nlohmann::ordered_json exports = nlohmann::ordered_json::array();
        for (const char* name : {ZELPLUG_IMPORT, ZELPLUG_GET_MENU_NAME, ZELPLUG_GET_NAME, ZELPLUG_GET_DESCRIPTION,
                                 ZELPLUG_GET_AUTHOR, ZELPLUG_GET_FILTER_EXT, ZELPLUG_GET_FILTER_NAME})
            if (plugin->Exports(name))
                exports.push_back(name);
        plugins.push_back({{"path", plugin->Path()},
                           {"name", plugin->Name()},
                           {"author", plugin->Author()},
                           {"description", plugin->Description()},
                           {"menuName", plugin->MenuName()},
                           {"command", plugin->CommandId() ? nlohmann::ordered_json(plugin->CommandId()) : nullptr},
                           {"filter", plugin->FilterText()},
                           {"exports", std::move(exports)}});
    }
    nlohmann::ordered_json skipped = nlohmann::ordered_json::array();
    for (const SkippedLibrary& library : manager.Skipped())
        skipped.push_back({{"path", library.path}, {"reason", library.reason}});
    PrintJson(std::cout, {{"plugins", std::move(plugins)}, {"skipped", std::move(skipped)}, {"lines", manager.InfoLines()}});
    return kExitOk;
}

// ---------------------------------------------------------------------------
// 3. import

struct ImportOptions {
    std::string file;
    std::string plugin;
    std::string scene;
    bool json = false;
};

// A scene file holding the imported mesh alone, as the editor saves a scene
// after an import (without an object file beside it).
int SaveAsScene(const MeshSet& set, const std::string& path)
{
    COGLScene scene;
    scene.AddObject(std::make_unique<COGLMesh>(set));
    if (const Status saved = WriteSceneFile(path, scene); !saved)
        return Fail(path, saved.Message());
    return kExitOk;
}

struct PartRow {
    std::string name;
    int64_t faces = 0;
    int64_t vertices = 0;
    int64_t texCoords = 0;
};

// Materials do not cross the plug-in interface; for meshport's own format
// the tool reads them with meshport's reader, so a user sees which texture
// files a mesh wants.
std::optional<std::vector<meshport::Material>> MeshportMaterials(const CPlugin& plugin, const std::string& path)
{
    if (plugin.FileName() != "meshport.so")
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    meshport::ThreeDSModel model = meshport::ReadThreeDS(bytes);
    return std::move(model.materials);
}

std::string Number(float value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

void PrintImportText(const ImportOptions& options, const CPlugin& plugin, const MeshSet& set,
                     const std::vector<PartRow>& parts, const PartRow& totals,
                     const std::optional<std::vector<meshport::Material>>& materials)
{
    std::cout << Printable(options.file) << ": " << set.partCount << (set.partCount == 1 ? " part, " : " parts, ")
              << totals.faces << " faces, " << totals.vertices << " vertices, " << totals.texCoords
              << " mapping coordinates (" << Printable(plugin.Name()) << ", " << Printable(plugin.FileName()) << ")\n";
    std::cout << "extents: " << Number(set.extentX) << ' ' << Number(set.extentY) << ' ' << Number(set.extentZ)
              << '\n';
    if (!options.scene.empty())
        std::cout << "scene file: " << Printable(options.scene) << '\n';
    if (!parts.empty()) {
        std::cout << '\n';
        TextTable table({{"PART"}, {"FACES", Align::Right}, {"VERTICES", Align::Right}, {"MAPPING", Align::Right}});
        for (const PartRow& part : parts)
            table.AddRow({Printable(part.name), std::to_string(part.faces), std::to_string(part.vertices),
                          std::to_string(part.texCoords)});
        table.Print(std::cout);
    }
    std::cout << '\n';
    if (!materials) {
        std::cout << "materials: not reported by this plug-in\n";
        return;
    }
    TextTable table({{"MATERIAL", Align::Right}, {"NAME"}, {"AMBIENT"}, {"TEXTURE"}});
    for (const meshport::Material& material : *materials)
        table.AddRow({std::to_string(material.number), Printable(material.name),
                      Hex((material.ambient[0] << 16) | (material.ambient[1] << 8) | material.ambient[2], 6),
                      Printable(material.textureFile)});
    table.Print(std::cout);
}

void PrintImportJson(const ImportOptions& options, const CPlugin& plugin, const MeshSet& set,
                     const std::vector<PartRow>& parts, const PartRow& totals,
                     const std::optional<std::vector<meshport::Material>>& materials)
{
    nlohmann::ordered_json partList = nlohmann::ordered_json::array();
    for (const PartRow& part : parts)
        partList.push_back(
            {{"name", part.name}, {"faces", part.faces}, {"vertices", part.vertices}, {"texCoords", part.texCoords}});
    nlohmann::ordered_json materialList = nullptr;
    if (materials) {
        materialList = nlohmann::ordered_json::array();
        for (const meshport::Material& material : *materials)
            materialList.push_back({{"number", material.number},
                                    {"name", material.name},
                                    {"ambient", material.ambient},
                                    {"texture", material.textureFile}});
    }
    PrintJson(std::cout,
              {{"file", options.file},
               {"plugin", {{"path", plugin.Path()}, {"name", plugin.Name()}}},
               {"name", set.name},
               {"extents", {set.extentX, set.extentY, set.extentZ}},
               {"totals",
                {{"parts", set.partCount}, {"faces", totals.faces}, {"vertices", totals.vertices},
                 {"texCoords", totals.texCoords}}},
               {"parts", std::move(partList)},
               {"materials", std::move(materialList)},
               {"scene", options.scene.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(options.scene)}});
}

int RunImport(const ImportOptions& options)
{
    if (const std::optional<std::string> reason = UnreadableReason(options.file))
        return Fail(options.file, *reason);
    CPluginManager manager;
    LoadPlugins(manager);
    std::string subject, error;
    const CPlugin* plugin = ChoosePlugin(manager, options.file, options.plugin, subject, error);
    if (!plugin)
        return Fail(subject, error);
    const Result<MeshSet> set = manager.Import(*plugin, options.file);
    if (!set)
        return Fail(options.file, set.Message());
    if (std::none_of(set->parts, set->parts + set->partCount, [](const MeshPart& part) { return part.faceCount > 0; }))
        return Fail(options.file, "no meshes found");
    if (!options.scene.empty())
        if (const int status = SaveAsScene(*set, options.scene); status != kExitOk)
            return status;

    std::vector<PartRow> parts;
    PartRow totals;
    for (int32_t i = 0; i < set->partCount; ++i) {
        const MeshPart& part = set->parts[i];
        parts.push_back({part.name, part.faceCount, part.vertexCount, part.texCoordCount});
        totals.faces += part.faceCount;
        totals.vertices += part.vertexCount;
        totals.texCoords += part.texCoordCount;
    }
    const auto materials = MeshportMaterials(*plugin, options.file);
    if (options.json)
        PrintImportJson(options, *plugin, *set, parts, totals, materials);
    else
        PrintImportText(options, *plugin, *set, parts, totals, materials);
    return kExitOk;
}

} // namespace

void AddPluginCommands(CLI::App& app, int& status)
{
    auto pluginsJson = std::make_shared<bool>(false);
    CLI::App* plugins = app.add_subcommand("plugins", "List the import plug-ins, as the editor's About box does");
    plugins->add_flag("--json", *pluginsJson, "Print JSON, with each plug-in's texts, filter and exports");
    plugins->callback([pluginsJson, &status] { status = RunPlugins(*pluginsJson); });

    auto options = std::make_shared<ImportOptions>();
    CLI::App* import = app.add_subcommand(
        "import", "Import a mesh file through the plug-ins and print its parts, counts, materials and extents");
    import->add_option("FILE", options->file, "The mesh file (the plug-in is chosen by its extension)")->required();
    import->add_option("--plugin", options->plugin, "The plug-in to use: its library name (meshport) or its name");
    import->add_option("--scene", options->scene,
                       "Also write a scene file (.cgs) holding the mesh, as the editor saves it after an import");
    import->add_flag("--json", options->json, "Print JSON instead of tables");
    import->callback([options, &status] { status = RunImport(*options); });
}

} // namespace zelvane::cli
