// `scene`.

#include "app/cli/SceneCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/CliReporter.h"
#include "app/cli/PluginChoice.h"
#include "app/cli/SceneDescription.h"
#include "document/SceneFile.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPlane.h"
#include "scene/COGLScene.h"
#include "scene/ActiveGLContext.h"
#include "scene/HeadlessGLContext.h"
#include "scene/ObjectFileBeside.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

namespace zelvane::cli {

namespace {

std::string Numbers(std::initializer_list<float> values)
{
    std::ostringstream text;
    for (const float value : values)
        text << (text.tellp() > 0 ? "," : "") << value;
    return text.str();
}

// What a mesh or a plane adds in the text table.
std::string Details(const COGLObject& object)
{
    if (const auto* mesh = dynamic_cast<const COGLMesh*>(&object)) {
        const MeshSet& set = mesh->GetMeshSet();
        std::int64_t vertices = 0;
        for (std::int32_t p = 0; p < set.partCount; ++p)
            vertices += set.parts[p].vertexCount;
        return Quoted(set.name ? set.name : "") + ": " + std::to_string(set.partCount) +
               (set.partCount == 1 ? " part, " : " parts, ") + std::to_string(mesh->TriangleCount()) + " faces, " +
               std::to_string(vertices) + " vertices";
    }
    if (const auto* plane = dynamic_cast<const COGLPlane*>(&object))
        return plane->IsTessellated() ? "tessellated" : "";
    return "";
}

void PrintText(const std::string& path, const COGLScene& scene, const SceneLoadResult& result)
{
    std::cout << Printable(path) << ": " << result.textures.size()
              << (result.textures.size() == 1 ? " texture, " : " textures, ") << scene.Objects().size()
              << (scene.Objects().size() == 1 ? " object" : " objects") << '\n';
    if (!result.textures.empty()) {
        std::cout << '\n';
        TextTable table({{"TEXTURE", Align::Right}, {"FLAG", Align::Right}, {"STORED"}, {"FOUND"}});
        for (std::size_t t = 0; t < result.textures.size(); ++t) {
            const StoredTexture& texture = result.textures[t];
            table.AddRow({std::to_string(t + 1), std::to_string(texture.flag), Printable(texture.storedPath),
                          texture.foundPath.empty() ? "(not found)" : Printable(texture.foundPath)});
        }
        table.Print(std::cout);
    }
    if (!scene.Objects().empty()) {
        std::cout << '\n';
        TextTable table({{"OBJECT", Align::Right}, {"KIND"}, {"NAME"}, {"POSITION"}, {"SCALE"}, {"TEXTURE"}, {"DETAILS"}});
        for (std::size_t o = 0; o < scene.Objects().size(); ++o) {
            const COGLObject& object = *scene.Objects()[o];
            const Vector3& p = object.Position();
            const Vector3& s = object.Scale();
            std::string details = Details(object);
            if (!object.IsVisible())
                details = "hidden" + std::string(details.empty() ? "" : ", ") + details;
            table.AddRow({std::to_string(o + 1), std::string(DefaultNameOf(object.Kind())), Printable(object.Name()),
                          Numbers({p.x, p.y, p.z}), Numbers({s.x, s.y, s.z}),
                          object.Texture() ? Printable(object.Texture()->Title()) : "-", Printable(details)});
        }
        table.Print(std::cout);
    }
}

struct SceneOptions {
    std::string path;
    bool json = false;
    std::string fromJson;
    std::string out;
};

// Read without a context: nothing is drawn, so no lists are made.
int Describe(const SceneOptions& options)
{
    const std::string& path = options.path;
    COGLScene scene;
    SceneLoadResult result;
    if (const std::string why = LoadSceneWithWarnings(path, scene, result); !why.empty())
        return Fail(path, why);
    if (options.json)
        PrintJson(std::cout, DescribeScene(path, scene, result));
    else
        PrintText(path, scene, result);
    return kExitOk;
}

// The description in `path` ("-": standard input), parsed.
std::optional<nlohmann::json> ReadDescription(const std::string& path)
{
    std::ifstream file;
    if (path != "-") {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            Fail(path, std::filesystem::exists(path, ec) ? "not a file" : "no such file");
            return std::nullopt;
        }
        file.open(path, std::ios::binary);
        if (!file) {
            Fail(path, "cannot be read");
            return std::nullopt;
        }
    }
    std::istream& in = path == "-" ? std::cin : file;
    nlohmann::json spec = nlohmann::json::parse(in, nullptr, false);
    if (spec.is_discarded()) {
        Fail(path, "/: not JSON");
        return std::nullopt;
    }
    return spec;
}

int WriteFromDescription(const SceneOptions& options)
{
    const std::optional<nlohmann::json> spec = ReadDescription(options.fromJson);
    if (!spec)
        return kExitFailure;
    std::string error;
    std::unique_ptr<HeadlessGLContext> context = HeadlessGLContext::Create(16, 16, error);
    if (!context)
        return Fail("scene", "no off-screen OpenGL context: " + error);
    ActiveGLContextScope active(*context);
    CPluginManager plugins;
    LoadPlugins(plugins);
    const std::string folder =
        options.fromJson == "-" ? std::string() : std::filesystem::path(options.fromJson).parent_path().string();
    int status = kExitOk;
    context->BeginGL();
    {
        CliReporter messages;
        COGLScene scene;
        const BuiltScene built = BuildScene(*spec, folder, plugins, scene);
        for (const std::string& warning : built.warnings)
            Warn(options.fromJson, warning);
        if (!built.ok) {
            status = Fail(options.fromJson, built.fault.path + ": " + built.fault.message);
        } else if (const Status written = WriteSceneFile(options.out, scene); !written) {
            status = Fail(options.out, written.Message());
        } else {
            for (const std::string& warning : written.Warnings())
                Warn(options.out, warning);
            std::cout << Printable(options.out) << ": " << scene.Textures().size()
                      << (scene.Textures().size() == 1 ? " texture, " : " textures, ") << scene.Objects().size()
                      << (scene.Objects().size() == 1 ? " object" : " objects") << " written\n";
        }
        if (const std::string said = messages.TakeMessages(); !said.empty())
            Warn(options.fromJson, said);
    }
    context->EndGL();
    return status;
}

int RunScene(const SceneOptions& options)
{
    if (!options.fromJson.empty()) {
        if (!options.path.empty())
            return Fail("scene", "--from-json writes a scene file: name it with -o, not as FILE");
        if (options.out.empty())
            return Fail("scene", "--from-json needs -o FILE.cgs, the scene file to write");
        return WriteFromDescription(options);
    }
    if (options.path.empty())
        return Fail("scene", "name the scene file to list, or write one with --from-json SPEC.json -o FILE.cgs");
    if (!options.out.empty())
        return Fail("scene", "-o goes with --from-json");
    return Describe(options);
}

} // namespace

std::string LoadSceneWithWarnings(const std::string& path, COGLScene& scene, SceneLoadResult& result)
{
    CliReporter messages;
    const Status opened = zelvane::ReadSceneFile(path, scene, result);
    if (!opened) {
        const std::string said = messages.TakeMessages();
        return said.empty() ? opened.Message() : said + "\n" + opened.Message();
    }
    for (const StoredTexture& texture : result.textures)
        if (texture.foundPath.empty())
            Warn(path, "texture " + Quoted(texture.storedPath) +
                           " is neither where the file says nor beside it; objects that use it have none");
    // Textures that are found but do not load, and the like.
    if (const std::string said = messages.TakeMessages(); !said.empty())
        Warn(path, said);
    return {};
}

void AddSceneCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<SceneOptions>();
    CLI::App* scene = app.add_subcommand(
        "scene", "List the textures and objects of a scene file (.cgs), or write one from its JSON description");
    scene->add_option("FILE", options->path, "The scene file to list");
    CLI::Option* json = scene->add_flag(
        "--json", options->json,
        "Print the scene's description as JSON: every object's record, texts, meshes by model path with their "
        "materials, the textures and the cage (the form --from-json takes)");
    scene->add_option("--from-json", options->fromJson,
                      "Write a scene file from a JSON description (- for standard input); relative model and texture "
                      "paths are taken from where the description lies")
        ->excludes(json);
    scene->add_option("-o,--out", options->out, "The scene file --from-json writes");
    scene->callback([options, &status] { status = RunScene(*options); });
}

} // namespace zelvane::cli
