// `scene`.

#include "app/cli/SceneCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/CliReporter.h"
#include "document/SceneFile.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPlane.h"
#include "scene/COGLScene.h"
#include "scene/ObjectFileBeside.h"

#include <filesystem>
#include <iostream>
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

nlohmann::ordered_json MeshJson(const MeshSet& set)
{
    nlohmann::ordered_json parts = nlohmann::ordered_json::array();
    for (std::int32_t p = 0; p < set.partCount; ++p) {
        const MeshPart& part = set.parts[p];
        parts.push_back({{"name", part.name ? part.name : ""},
                         {"faces", part.faceCount},
                         {"vertices", part.vertexCount},
                         {"texCoords", part.texCoordCount}});
    }
    return {{"name", set.name ? set.name : ""},
            {"parts", std::move(parts)},
            {"extents", {set.extentX, set.extentY, set.extentZ}}};
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

void PrintJsonResult(const std::string& path, const COGLScene& scene, const SceneLoadResult& result)
{
    nlohmann::ordered_json textures = nlohmann::ordered_json::array();
    for (const StoredTexture& texture : result.textures)
        textures.push_back({{"stored", texture.storedPath},
                            {"flag", texture.flag},
                            {"found", texture.foundPath.empty() ? nlohmann::ordered_json(nullptr)
                                                                : nlohmann::ordered_json(texture.foundPath)}});
    nlohmann::ordered_json objects = nlohmann::ordered_json::array();
    for (const auto& object : scene.Objects()) {
        const Vector3& p = object->Position();
        const Vector3& s = object->Scale();
        const Quaternion& q = object->Orientation();
        nlohmann::ordered_json entry = {{"kind", DefaultNameOf(object->Kind())},
                                        {"kindCode", static_cast<int>(object->Kind())},
                                        {"name", object->Name()},
                                        {"position", {p.x, p.y, p.z}},
                                        {"scale", {s.x, s.y, s.z}},
                                        {"orientation", {q.x, q.y, q.z, q.w}},
                                        {"visible", object->IsVisible()},
                                        {"transparent", object->IsTransparent()},
                                        {"texture", object->Texture() ? nlohmann::ordered_json(object->Texture()->Path())
                                                                      : nlohmann::ordered_json(nullptr)}};
        if (const auto* plane = dynamic_cast<const COGLPlane*>(object.get()))
            entry["tessellated"] = plane->IsTessellated();
        if (const auto* mesh = dynamic_cast<const COGLMesh*>(object.get()))
            entry["mesh"] = MeshJson(mesh->GetMeshSet());
        objects.push_back(std::move(entry));
    }
    const std::string beside = ObjectFilePathBeside(path);
    std::error_code ec;
    PrintJson(std::cout, {{"file", path},
                          {"textures", std::move(textures)},
                          {"objects", std::move(objects)},
                          {"objectFile", std::filesystem::exists(beside, ec) ? nlohmann::ordered_json(beside)
                                                                             : nlohmann::ordered_json(nullptr)}});
}

int RunScene(const std::string& path, bool json)
{
    COGLScene scene;
    SceneLoadResult result;
    if (const std::string error = LoadSceneWithWarnings(path, scene, result); !error.empty())
        return Fail(path, error);
    if (json)
        PrintJsonResult(path, scene, result);
    else
        PrintText(path, scene, result);
    return kExitOk;
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
    auto path = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    CLI::App* scene = app.add_subcommand("scene", "List the textures and objects of a scene file (.cgs)");
    scene->add_option("FILE", *path, "The scene file")->required();
    scene->add_flag("--json", *json, "Print JSON, with every object's transform and every mesh's parts");
    scene->callback([path, json, &status] { status = RunScene(*path, *json); });
}

} // namespace zelvane::cli
