// `plugins` and `import`.
//
//   2. plugins
//   3. import: picking the plug-in, the mesh set, its materials, the scene
//      file

#include "app/cli/PluginCommands.h"

#include "app/cli/CliOutput.h"
#include "app/cli/CliReporter.h"
#include "app/cli/PluginChoice.h"
#include "document/FootprintPlacement.h"
#include "document/MeshImport.h"
#include "document/SceneFile.h"
#include "plugins/host/CPluginManager.h"
#include "scene/CFileLocator.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>
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
                                 ZELPLUG_GET_AUTHOR, ZELPLUG_GET_FILTER_EXT, ZELPLUG_GET_FILTER_NAME,
                                 ZELPLUG_IMPORT_MATERIALS, ZELPLUG_GET_FILTER_EXTS, ZELPLUG_IMPORT_MODEL})
            if (plugin->Exports(name))
                exports.push_back(name);
        plugins.push_back({{"path", plugin->Path()},
                           {"name", plugin->Name()},
                           {"author", plugin->Author()},
                           {"description", plugin->Description()},
                           {"menuName", plugin->MenuName()},
                           {"command", plugin->CommandId() ? nlohmann::ordered_json(plugin->CommandId()) : nullptr},
                           {"filter", plugin->FilterText()},
                           {"extensions", plugin->Extensions()},
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
int SaveAsScene(const ImportedModel& model, const std::string& modelPath, const std::string& path)
{
    COGLScene scene;
    auto mesh = std::make_unique<COGLMesh>(model.set, model.materials, model.units);
    mesh->SetModelPath(ModelPathToRemember(modelPath));
    // Standing on the one-tile footprint, as the editor's Import places it.
    PlaceImportedMesh(*mesh, zelvane::ImportOptions{}, CageSize{});
    scene.AddObject(std::move(mesh));
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

// A colour in 0..1 as the bytes 0..255 a user types in colour pickers.
std::array<int, 3> Bytes(const std::array<float, 3>& colour)
{
    std::array<int, 3> bytes{};
    for (size_t c = 0; c < 3; ++c)
        bytes[c] = static_cast<int>(std::lround(colour[c] * 255.0f));
    return bytes;
}

int HexColour(const std::array<float, 3>& colour)
{
    const std::array<int, 3> bytes = Bytes(colour);
    return (bytes[0] << 16) | (bytes[1] << 8) | bytes[2];
}

// How many faces of each material the groups hold.
std::vector<int64_t> FacesByMaterial(const ModelMaterials& materials)
{
    std::vector<int64_t> faces(materials.materials.size(), 0);
    for (const auto& groups : materials.partGroups)
        for (const ModelFaceGroup& group : groups)
            faces[static_cast<size_t>(group.material)] += static_cast<int64_t>(group.faces.size());
    return faces;
}

std::string Number(float value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

const char* AxisName(UpAxis axis)
{
    return axis == UpAxis::Y ? "+y" : axis == UpAxis::Z ? "+z" : "unknown";
}

// What the file said about its units and the scale and turn the editor gives it.
std::string UnitsText(const ModelUnits& units)
{
    const std::string scale = " (imported at scale " + Number(COGLMesh::ImportScale(units)) + ")";
    if (units.metresPerUnit <= 0)
        return "not known; up " + std::string(AxisName(units.up)) + scale;
    return Number(units.metresPerUnit) + " m, up " + AxisName(units.up) + scale;
}

void PrintImportText(const ImportOptions& options, const CPlugin& plugin, const MeshSet& set,
                     const std::vector<PartRow>& parts, const PartRow& totals, const ModelMaterials& materials,
                     const ModelUnits& units)
{
    std::cout << Printable(options.file) << ": " << set.partCount << (set.partCount == 1 ? " part, " : " parts, ")
              << totals.faces << " faces, " << totals.vertices << " vertices, " << totals.texCoords
              << " mapping coordinates (" << Printable(plugin.Name()) << ", " << Printable(plugin.FileName()) << ")\n";
    std::cout << "extents: " << Number(set.extentX) << ' ' << Number(set.extentY) << ' ' << Number(set.extentZ)
              << '\n';
    std::cout << "units: " << UnitsText(units) << '\n';
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
    if (!plugin.HasMaterials()) {
        std::cout << "materials: not reported by this plug-in\n";
        return;
    }
    if (materials.materials.empty()) {
        std::cout << "materials: none\n";
        return;
    }
    const std::vector<int64_t> faces = FacesByMaterial(materials);
    TextTable table({{"MATERIAL", Align::Right},
                     {"NAME"},
                     {"AMBIENT"},
                     {"DIFFUSE"},
                     {"OPACITY", Align::Right},
                     {"FACES", Align::Right},
                     {"TEXTURE"}});
    for (size_t m = 0; m < materials.materials.size(); ++m) {
        const ModelMaterial& material = materials.materials[m];
        const bool missing = !material.texturePath.empty() && !IsReadableFile(material.texturePath);
        table.AddRow({std::to_string(m), Printable(material.name), Hex(HexColour(material.ambient), 6),
                      Hex(HexColour(material.diffuse), 6), Number(material.opacity), std::to_string(faces[m]),
                      Printable(material.texturePath) + (missing ? " (missing)" : "")});
    }
    table.Print(std::cout);
}

void PrintImportJson(const ImportOptions& options, const CPlugin& plugin, const MeshSet& set,
                     const std::vector<PartRow>& parts, const PartRow& totals, const ModelMaterials& materials,
                     const ModelUnits& units)
{
    nlohmann::ordered_json partList = nlohmann::ordered_json::array();
    for (const PartRow& part : parts)
        partList.push_back(
            {{"name", part.name}, {"faces", part.faces}, {"vertices", part.vertices}, {"texCoords", part.texCoords}});
    nlohmann::ordered_json materialList = nullptr;
    nlohmann::ordered_json groupList = nullptr;
    if (plugin.HasMaterials()) {
        materialList = nlohmann::ordered_json::array();
        for (size_t m = 0; m < materials.materials.size(); ++m) {
            const ModelMaterial& material = materials.materials[m];
            materialList.push_back(
                {{"number", m},
                 {"name", material.name},
                 {"ambient", Bytes(material.ambient)},
                 {"diffuse", Bytes(material.diffuse)},
                 {"specular", Bytes(material.specular)},
                 {"shininess", material.shininess},
                 {"opacity", material.opacity},
                 {"twoSided", material.twoSided},
                 {"texture", material.texturePath},
                 {"textureFound", !material.texturePath.empty() && IsReadableFile(material.texturePath)}});
        }
        groupList = nlohmann::ordered_json::array();
        for (size_t p = 0; p < materials.partGroups.size(); ++p)
            for (const ModelFaceGroup& group : materials.partGroups[p])
                groupList.push_back({{"part", set.parts[p].name},
                                     {"material", group.material},
                                     {"faces", group.faces.size()}});
    }
    PrintJson(std::cout,
              {{"file", options.file},
               {"plugin", {{"path", plugin.Path()}, {"name", plugin.Name()}}},
               {"name", set.name},
               {"extents", {set.extentX, set.extentY, set.extentZ}},
               {"units",
                {{"metresPerUnit", units.metresPerUnit > 0 ? nlohmann::ordered_json(units.metresPerUnit) : nullptr},
                 {"up", AxisName(units.up)},
                 {"importScale", COGLMesh::ImportScale(units)}}},
               {"totals",
                {{"parts", set.partCount}, {"faces", totals.faces}, {"vertices", totals.vertices},
                 {"texCoords", totals.texCoords}}},
               {"parts", std::move(partList)},
               {"materials", std::move(materialList)},
               {"groups", std::move(groupList)},
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
    const Result<ImportedModel> model = manager.ImportModel(*plugin, options.file);
    if (!model)
        return Fail(options.file, model.Message());
    const MeshSet* set = &model->set;
    if (std::none_of(set->parts, set->parts + set->partCount, [](const MeshPart& part) { return part.faceCount > 0; }))
        return Fail(options.file, NothingImportedText(*model));
    // Refused materials: the mesh comes without them, as in the editor, and
    // the user reads why.
    for (const std::string& warning : model.Warnings())
        Warn(options.file, warning);
    if (!options.scene.empty())
        if (const int status = SaveAsScene(*model, options.file, options.scene); status != kExitOk)
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
    if (options.json)
        PrintImportJson(options, *plugin, *set, parts, totals, model->materials, model->units);
    else
        PrintImportText(options, *plugin, *set, parts, totals, model->materials, model->units);
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
