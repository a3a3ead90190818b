// A scene as JSON and back.
//
//   1. Numbers, texts and names
//   2. Describing a scene
//   3. Reading a description: the cursor that knows where it is
//   4. Building objects: the common record, planes, texts, meshes
//   5. Building the scene

#include "app/cli/SceneDescription.h"

#include "app/cli/PluginChoice.h"
#include "document/FootprintPlacement.h"
#include "document/InsertedObjects.h"
#include "document/MeshImport.h"
#include "plugins/host/ModelMaterials.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPlane.h"
#include "scene/COGLScene.h"
#include "scene/COGLText.h"
#include "scene/COGLTexture2D.h"
#include "scene/ObjectFactory.h"
#include "scene/ObjectFileBeside.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneLoadResult.h"
#include "scene/text/Windows1252.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>

namespace zelvane::cli {

namespace {

using Json = nlohmann::ordered_json;
namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// 1. Numbers, texts and names

// A float as the shortest decimal that reads back as the same float; the
// three values JSON has no number for as the strings JavaScript prints.
Json Number(float value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    if (error == std::errc()) {
        *end = '\0';
        const double shortest = std::strtod(text, nullptr);
        if (static_cast<float>(shortest) == value)
            return shortest;
    }
    return static_cast<double>(value);
}

template <std::size_t N>
Json Numbers(const std::array<float, N>& values)
{
    Json list = Json::array();
    for (const float v : values)
        list.push_back(Number(v));
    return list;
}

Json Numbers(const Vector3& v)
{
    return Numbers(std::array<float, 3>{v.x, v.y, v.z});
}

// Windows-1252 bytes (a text object's letters) as UTF-8.
std::string Utf8Of1252(std::string_view bytes)
{
    std::string text;
    for (const char byte : bytes) {
        const char32_t c = CodePointOf1252(static_cast<std::uint8_t>(byte));
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

// A flag byte: true or false when it is 0 or 1, else the number it holds.
Json FlagByte(std::uint8_t value)
{
    return value <= 1 ? Json(value == 1) : Json(value);
}

std::optional<ObjectKind> KindNamed(std::string_view name)
{
    for (std::int32_t code = 0; code <= static_cast<std::int32_t>(ObjectKind::Mesh); ++code)
        if (const std::optional<ObjectKind> kind = KindFromCode(code); kind && DefaultNameOf(*kind) == name)
            return kind;
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// 2. Describing a scene

Json MeshCountsJson(const MeshSet& set)
{
    Json parts = Json::array();
    for (std::int32_t p = 0; p < set.partCount; ++p) {
        const MeshPart& part = set.parts[p];
        parts.push_back({{"name", part.name ? part.name : ""},
                         {"faces", part.faceCount},
                         {"vertices", part.vertexCount},
                         {"texCoords", part.texCoordCount}});
    }
    return {{"name", set.name ? set.name : ""},
            {"parts", std::move(parts)},
            {"extents", Numbers(std::array<float, 3>{set.extentX, set.extentY, set.extentZ})}};
}

void DescribeMesh(const COGLMesh& mesh, Json& entry)
{
    entry["mesh"] = MeshCountsJson(mesh.GetMeshSet());
    const MeshSource& source = mesh.Source();
    entry["model"] = source.modelPath.empty() ? Json(nullptr) : Json(source.modelPath);
    Json moves = Json::array();
    for (const Vector3& move : source.shapeMoves)
        moves.push_back(Numbers(move));
    entry["shapeMoves"] = std::move(moves);
    Json materials = Json::array();
    for (const ModelMaterial& m : mesh.Materials().materials)
        materials.push_back({{"name", m.name},
                             {"ambient", Numbers(m.ambient)},
                             {"diffuse", Numbers(m.diffuse)},
                             {"specular", Numbers(m.specular)},
                             {"shininess", Number(m.shininess)},
                             {"opacity", Number(m.opacity)},
                             {"twoSided", m.twoSided},
                             {"texture", m.texturePath}});
    entry["materials"] = std::move(materials);
    Json parts = Json::array();
    const auto& partGroups = mesh.Materials().partGroups;
    for (std::size_t p = 0; p < partGroups.size(); ++p) {
        Json groups = Json::array();
        for (std::size_t g = 0; g < partGroups[p].size(); ++g)
            groups.push_back({{"material", partGroups[p][g].material},
                              {"texture", mesh.GroupTexturePaths()[p][g]},
                              {"faces", partGroups[p][g].faces}});
        parts.push_back(std::move(groups));
    }
    entry["groups"] = std::move(parts);
}

Json DescribeObject(const COGLObject& object, std::int32_t textureIndex, const SceneLoadResult& loaded)
{
    const ObjectRecord r = object.Record();
    const Quaternion& q = r.orientation;
    const bool named = textureIndex >= 0 && static_cast<std::size_t>(textureIndex) < loaded.textures.size();
    Json entry = {{"kind", DefaultNameOf(object.Kind())},
                  {"kindCode", static_cast<int>(object.Kind())},
                  {"name", r.name},
                  {"position", Numbers(r.position)},
                  {"scale", Numbers(r.scale)},
                  {"orientation", Numbers(std::array<float, 4>{q.x, q.y, q.z, q.w})},
                  {"visible", r.visible},
                  {"transparent", r.transparent},
                  {"texture", object.Texture() ? Json(object.Texture()->Path()) : Json(nullptr)},
                  {"textureIndex", textureIndex >= 0 ? Json(textureIndex) : Json(nullptr)},
                  {"ambient", Numbers(r.ambient)},
                  {"diffuse", Numbers(r.diffuse)},
                  {"specular", Numbers(r.specular)},
                  {"emission", Numbers(r.emission)},
                  {"shininess", Number(r.shininess)},
                  {"marked", r.marked},
                  {"pickStyle", r.pickStyle},
                  {"flags", r.flags},
                  {"textureRotation", Numbers(r.textureRotation)},
                  {"textureScale", Numbers(r.textureScale)},
                  {"textureOffset", Numbers(r.textureOffset)},
                  {"textureEnvMode", r.textureEnvMode},
                  {"spareWord", r.spareWord}};
    // An index no texture record has is kept as it is; the reader ignores it.
    if (!named && textureIndex >= 0)
        entry["texture"] = nullptr;
    if (const auto* plane = dynamic_cast<const COGLPlane*>(&object))
        entry["tessellated"] = plane->IsTessellated();
    if (const auto* text = dynamic_cast<const COGLText*>(&object)) {
        const TextValues v = text->Values();
        entry["text"] = {{"text", Utf8Of1252(v.text)},
                         {"font", v.face},
                         {"italic", FlagByte(v.italic)},
                         {"extrusion", Number(v.extrusion)},
                         {"centered", FlagByte(v.centered)},
                         {"offset", Numbers(v.offset)}};
    }
    if (const auto* mesh = dynamic_cast<const COGLMesh*>(&object))
        DescribeMesh(*mesh, entry);
    return entry;
}

// Where a picture was found, from any folder: the locator gives a path from
// the folder the program runs in when that is where it looked.
std::string Absolute(const std::string& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

} // namespace

Json DescribeScene(const std::string& path, const COGLScene& scene, const SceneLoadResult& loaded)
{
    Json textures = Json::array();
    for (const StoredTexture& texture : loaded.textures)
        textures.push_back({{"stored", texture.storedPath},
                            {"flag", texture.flag},
                            {"found", texture.foundPath.empty() ? Json(nullptr) : Json(Absolute(texture.foundPath))}});
    Json objects = Json::array();
    for (std::size_t o = 0; o < scene.Objects().size(); ++o) {
        const std::int32_t index = o < loaded.objectTextures.size() ? loaded.objectTextures[o] : -1;
        objects.push_back(DescribeObject(*scene.Objects()[o], index, loaded));
    }
    const std::string beside = ObjectFilePathBeside(path);
    std::error_code ec;
    Json cage = nullptr;
    if (const std::optional<CageSize>& saved = scene.SavedCage())
        cage = {saved->width, saved->height, saved->depth};
    return {{"file", path},
            {"cage", std::move(cage)},
            {"textures", std::move(textures)},
            {"objects", std::move(objects)},
            {"objectFile", fs::exists(beside, ec) ? Json(beside) : Json(nullptr)}};
}

namespace {

// ---------------------------------------------------------------------------
// 3. Reading a description

struct Fault {
    DescriptionFault fault;
};

// A value of the description and the JSON pointer that leads to it. Every
// read that finds something else throws the fault with that pointer.
class Node {
public:
    Node(const nlohmann::json& value, std::string path) : value_(value), path_(std::move(path)) {}

    const nlohmann::json& Value() const { return value_; }
    const std::string& Path() const { return path_; }

    [[noreturn]] void Refuse(const std::string& message) const { throw Fault{{path_.empty() ? "/" : path_, message}}; }

    // The member `key` of this object, if it is there (also when it is null).
    std::optional<Node> Member(const char* key) const
    {
        const auto it = value_.find(key);
        if (it == value_.end())
            return std::nullopt;
        return Node(*it, path_ + "/" + key);
    }
    Node Item(std::size_t index) const { return Node(value_[index], path_ + "/" + std::to_string(index)); }

    void ExpectObject(std::initializer_list<const char*> known) const
    {
        if (!value_.is_object())
            Refuse("expected an object");
        for (const auto& [key, member] : value_.items()) {
            bool found = false;
            for (const char* name : known)
                found = found || key == name;
            if (!found)
                Node(member, path_ + "/" + Escaped(key)).Refuse("no such member here");
        }
    }
    std::size_t ExpectArray(std::optional<std::size_t> size = std::nullopt) const
    {
        if (!value_.is_array())
            Refuse(size ? "expected an array of " + std::to_string(*size) + " numbers" : "expected an array");
        if (size && value_.size() != *size)
            Refuse("expected " + std::to_string(*size) + " numbers, found " + std::to_string(value_.size()));
        return value_.size();
    }

    float Float() const
    {
        if (value_.is_string()) {
            const std::string& text = value_.get_ref<const std::string&>();
            if (text == "NaN")
                return std::numeric_limits<float>::quiet_NaN();
            if (text == "Infinity")
                return std::numeric_limits<float>::infinity();
            if (text == "-Infinity")
                return -std::numeric_limits<float>::infinity();
        }
        if (!value_.is_number())
            Refuse("expected a number");
        const double d = value_.get<double>();
        if (std::fabs(d) > std::numeric_limits<float>::max())
            Refuse("expected a number a 32-bit float holds");
        return static_cast<float>(d);
    }
    std::int64_t Integer(std::int64_t low, std::int64_t high) const
    {
        if (!value_.is_number_integer())
            Refuse("expected a whole number");
        const bool inside = value_.is_number_unsigned()
                                ? value_.get<std::uint64_t>() <= static_cast<std::uint64_t>(high) &&
                                      static_cast<std::int64_t>(value_.get<std::uint64_t>()) >= low
                                : value_.get<std::int64_t>() >= low && value_.get<std::int64_t>() <= high;
        if (!inside)
            Refuse("expected a whole number from " + std::to_string(low) + " to " + std::to_string(high));
        return value_.get<std::int64_t>();
    }
    bool Bool() const
    {
        if (!value_.is_boolean())
            Refuse("expected true or false");
        return value_.get<bool>();
    }
    // true, false, or a byte (as descriptions print flag bytes that are not 0 or 1).
    std::uint8_t FlagByte() const
    {
        if (value_.is_boolean())
            return value_.get<bool>() ? 1 : 0;
        if (!value_.is_number_integer())
            Refuse("expected true, false or a number from 0 to 255");
        return static_cast<std::uint8_t>(Integer(0, 255));
    }
    std::string String() const
    {
        if (!value_.is_string())
            Refuse("expected a string");
        return value_.get<std::string>();
    }
    template <std::size_t N>
    std::array<float, N> Floats() const
    {
        ExpectArray(N);
        std::array<float, N> values{};
        for (std::size_t i = 0; i < N; ++i)
            values[i] = Item(i).Float();
        return values;
    }
    Vector3 Vec3() const
    {
        const auto v = Floats<3>();
        return {v[0], v[1], v[2]};
    }

private:
    // '~' and '/' in a member's name, as JSON pointers write them.
    static std::string Escaped(const std::string& key)
    {
        std::string out;
        for (const char c : key)
            out += c == '~' ? std::string("~0") : c == '/' ? std::string("~1") : std::string(1, c);
        return out;
    }

    const nlohmann::json& value_;
    std::string path_;
};

// A path of the description as the program opens it: a relative one from
// the description's folder.
std::string FromFolder(const std::string& path, const std::string& folder)
{
    if (path.empty() || fs::path(path).is_absolute() || folder.empty())
        return path;
    return (fs::path(folder) / path).lexically_normal().string();
}

// ---------------------------------------------------------------------------
// 4. Building objects

struct Context {
    const std::string& folder;
    CPluginManager& plugins;
    COGLScene& scene;
    CageSize cage;
    std::vector<COGLTexture2D*> textures; // by position in "textures"
    std::vector<std::string> warnings;
};

// A texture record: its stored path kept as it is, its picture read from
// where a description found it, else from the stored path (from the
// description's folder when relative). One that reads from nowhere is kept
// all the same, so the record and the objects that name it stay.
void AddTexture(const Node& node, const std::string& path, std::uint8_t flag, std::optional<std::string> found,
                Context& context)
{
    if (path.size() >= scene_file::kTexturePathField)
        node.Refuse("a texture's path holds at most " + std::to_string(scene_file::kTexturePathField - 1) + " bytes");
    std::vector<std::string> candidates;
    if (found)
        candidates.push_back(*found);
    candidates.push_back(FromFolder(path, context.folder));
    auto texture = std::make_unique<COGLTexture2D>();
    bool loaded = false;
    for (const std::string& candidate : candidates) {
        std::error_code ec;
        if (!loaded && fs::is_regular_file(candidate, ec))
            loaded = texture->Load(candidate, flag, ImageMessages::Quiet);
    }
    if (!loaded) {
        context.warnings.push_back(node.Path() + ": the picture " + path +
                                   " does not load; the objects that use it are drawn without it");
        // A failed load keeps the texture usable as one without a picture.
        static_cast<void>(texture->Load(path, flag, ImageMessages::Quiet));
    }
    texture->SetSource(path, flag);
    context.textures.push_back(&context.scene.AddTexture(std::move(texture)));
}

// A relative stored path that names a picture from the description's folder
// is stored whole, so the scene finds it from anywhere; any other is stored
// as given (a path of another machine, kept for the record).
std::string StoredTexturePath(const std::string& path, const std::string& folder)
{
    std::error_code ec;
    const std::string fromFolder = FromFolder(path, folder);
    if (fromFolder == path || !fs::is_regular_file(fromFolder, ec))
        return path;
    const fs::path absolute = fs::absolute(fromFolder, ec);
    return ec ? path : absolute.lexically_normal().string();
}

void BuildTexture(const Node& node, Context& context)
{
    node.ExpectObject({"stored", "flag", "found"});
    const auto stored = node.Member("stored");
    if (!stored)
        node.Refuse("a texture gives its path (\"stored\")");
    std::uint8_t flag = 0;
    if (const auto n = node.Member("flag"))
        flag = static_cast<std::uint8_t>(n->Integer(0, 255));
    std::optional<std::string> found;
    if (const auto n = node.Member("found"); n && !n->Value().is_null())
        found = n->String();
    AddTexture(*stored, StoredTexturePath(stored->String(), context.folder), flag, found, context);
}

// The common record's members that are given, over what the object has.
void ApplyRecord(const Node& node, COGLObject& object)
{
    ObjectRecord r = object.Record();
    if (const auto n = node.Member("name")) {
        r.name = n->String();
        if (r.name.size() >= scene_file::kNameField)
            n->Refuse("a name holds at most " + std::to_string(scene_file::kNameField - 1) + " bytes");
    }
    if (const auto n = node.Member("position"))
        r.position = n->Vec3();
    if (const auto n = node.Member("scale"))
        r.scale = n->Vec3();
    if (const auto n = node.Member("orientation")) {
        const auto q = n->Floats<4>();
        r.orientation = {q[0], q[1], q[2], q[3]};
    }
    if (const auto n = node.Member("visible"))
        r.visible = n->Bool();
    if (const auto n = node.Member("transparent"))
        r.transparent = n->Bool();
    if (const auto n = node.Member("marked"))
        r.marked = n->Bool();
    if (const auto n = node.Member("ambient"))
        r.ambient = n->Floats<4>();
    if (const auto n = node.Member("diffuse"))
        r.diffuse = n->Floats<4>();
    if (const auto n = node.Member("specular"))
        r.specular = n->Floats<4>();
    if (const auto n = node.Member("emission"))
        r.emission = n->Floats<4>();
    if (const auto n = node.Member("shininess"))
        r.shininess = n->Float();
    if (const auto n = node.Member("pickStyle"))
        r.pickStyle = static_cast<std::int32_t>(n->Integer(INT32_MIN, INT32_MAX));
    if (const auto n = node.Member("flags"))
        r.flags = static_cast<std::uint32_t>(n->Integer(0, UINT32_MAX));
    if (const auto n = node.Member("textureRotation"))
        r.textureRotation = n->Vec3();
    if (const auto n = node.Member("textureScale"))
        r.textureScale = n->Vec3();
    if (const auto n = node.Member("textureOffset"))
        r.textureOffset = n->Vec3();
    if (const auto n = node.Member("textureEnvMode"))
        r.textureEnvMode = static_cast<std::uint32_t>(n->Integer(0, UINT32_MAX));
    if (const auto n = node.Member("spareWord"))
        r.spareWord = static_cast<std::int32_t>(n->Integer(INT32_MIN, INT32_MAX));
    object.SetRecord(r);
}

// "texture" (a stored path) or "textureIndex" (a position in "textures").
void ApplyTexture(const Node& node, COGLObject& object, Context& context)
{
    std::optional<std::size_t> position;
    const auto index = node.Member("textureIndex");
    const auto path = node.Member("texture");
    if (index && !index->Value().is_null()) {
        position = static_cast<std::size_t>(index->Integer(0, INT32_MAX));
        if (*position >= context.textures.size())
            index->Refuse("there are " + std::to_string(context.textures.size()) + " textures");
    } else if (!index && path && !path->Value().is_null()) {
        const std::string given = path->String();
        const std::string stored = StoredTexturePath(given, context.folder);
        for (std::size_t i = 0; i < context.textures.size() && !position; ++i)
            if (context.textures[i]->Path() == given || context.textures[i]->Path() == stored)
                position = i;
        // A picture no record names yet gets one of its own.
        if (!position) {
            AddTexture(*path, stored, 0, {}, context);
            position = context.textures.size() - 1;
        }
    }
    if (position)
        object.SetTexture(context.textures[*position]);
}

std::unique_ptr<COGLText> BuildText(const Node& node)
{
    auto text = std::make_unique<COGLText>();
    TextValues values;
    if (const auto t = node.Member("text")) {
        t->ExpectObject({"text", "font", "italic", "extrusion", "centered", "offset"});
        if (const auto n = t->Member("text")) {
            const std::optional<std::string> bytes = Utf8To1252(n->String());
            if (!bytes)
                n->Refuse("only the characters of the Western code page (Windows-1252) can be drawn");
            if (bytes->size() > COGLText::kMostCharacters)
                n->Refuse("a text holds at most " + std::to_string(COGLText::kMostCharacters) + " characters");
            values.text = bytes->empty() ? " " : *bytes;
        }
        if (const auto n = t->Member("font")) {
            values.face = n->String();
            if (values.face.empty() || values.face.size() > 31)
                n->Refuse("a font's name has 1 to 31 characters");
        }
        if (const auto n = t->Member("italic"))
            values.italic = n->FlagByte();
        if (const auto n = t->Member("extrusion"))
            values.extrusion = n->Float();
        if (const auto n = t->Member("centered"))
            values.centered = n->FlagByte();
        if (const auto n = t->Member("offset"))
            values.offset = n->Vec3();
    }
    text->SetValues(values);
    return text;
}

// The groups a description gives for one part: faces as a count take the
// imported group's faces (which must be as many), as a list their own.
std::vector<ModelFaceGroup> ReadGroups(const Node& node, const std::vector<ModelFaceGroup>* imported,
                                       std::vector<std::string>& textures, const std::string& folder)
{
    std::vector<ModelFaceGroup> groups;
    const std::size_t count = node.ExpectArray();
    for (std::size_t g = 0; g < count; ++g) {
        const Node item = node.Item(g);
        item.ExpectObject({"material", "texture", "faces"});
        ModelFaceGroup group;
        if (const auto m = item.Member("material"))
            group.material = static_cast<std::int32_t>(m->Integer(0, INT32_MAX));
        else
            item.Refuse("a group names its material");
        const auto faces = item.Member("faces");
        if (!faces)
            item.Refuse("a group gives its faces: a list, or the number of the model's group");
        if (faces->Value().is_array()) {
            const std::size_t n = faces->ExpectArray();
            for (std::size_t f = 0; f < n; ++f)
                group.faces.push_back(static_cast<std::int32_t>(faces->Item(f).Integer(0, INT32_MAX)));
        } else {
            const auto wanted = static_cast<std::size_t>(faces->Integer(0, INT32_MAX));
            if (!imported || g >= imported->size())
                faces->Refuse("the model has no such group to take the faces of; give them as a list");
            if ((*imported)[g].faces.size() != wanted)
                faces->Refuse("the model's group has " + std::to_string((*imported)[g].faces.size()) + " faces");
            group.faces = (*imported)[g].faces;
        }
        textures.push_back(item.Member("texture") ? FromFolder(item.Member("texture")->String(), folder) : "");
        groups.push_back(std::move(group));
    }
    return groups;
}

std::unique_ptr<COGLMesh> BuildMesh(const Node& node, Context& context)
{
    const auto model = node.Member("model");
    if (!model || model->Value().is_null())
        node.Refuse("a mesh is described by its model file (\"model\"); this one's scene file does not say which "
                    "model it came from");
    const std::string path = FromFolder(model->String(), context.folder);
    if (const std::optional<std::string> reason = UnreadableReason(path))
        model->Refuse(path + ": " + *reason);
    std::string subject, why;
    const CPlugin* plugin = ChoosePlugin(context.plugins, path, {}, subject, why);
    if (!plugin)
        model->Refuse(subject + ": " + why);
    Result<std::unique_ptr<COGLMesh>> imported = ImportMesh(context.plugins, *plugin, path);
    if (!imported)
        model->Refuse(imported.Message());
    std::unique_ptr<COGLMesh> mesh = std::move(*imported);
    for (const std::string& warning : imported.Warnings())
        context.warnings.push_back(model->Path() + ": " + warning);

    // The moves its shape had; without them, placed as the editor's Import places it.
    if (const auto moves = node.Member("shapeMoves")) {
        const std::size_t count = moves->ExpectArray();
        for (std::size_t k = 0; k < count; ++k)
            mesh->MoveShape(moves->Item(k).Vec3());
    } else {
        PlaceImportedMesh(*mesh, ImportOptions{}, context.cage);
    }

    const auto materialsNode = node.Member("materials");
    const auto groupsNode = node.Member("groups");
    if (!materialsNode && !groupsNode)
        return mesh;
    ModelMaterials materials = mesh->Materials();
    std::vector<std::vector<std::string>> textures = mesh->GroupTexturePaths();
    if (materialsNode) {
        materials.materials.clear();
        const std::size_t count = materialsNode->ExpectArray();
        for (std::size_t m = 0; m < count; ++m) {
            const Node item = materialsNode->Item(m);
            item.ExpectObject(
                {"name", "ambient", "diffuse", "specular", "shininess", "opacity", "twoSided", "texture"});
            ModelMaterial material;
            if (const auto n = item.Member("name"))
                material.name = n->String();
            if (const auto n = item.Member("ambient"))
                material.ambient = n->Floats<3>();
            if (const auto n = item.Member("diffuse"))
                material.diffuse = n->Floats<3>();
            if (const auto n = item.Member("specular"))
                material.specular = n->Floats<3>();
            if (const auto n = item.Member("shininess"))
                material.shininess = n->Float();
            if (const auto n = item.Member("opacity"))
                material.opacity = n->Float();
            if (const auto n = item.Member("twoSided"))
                material.twoSided = n->Bool();
            if (const auto n = item.Member("texture"))
                material.texturePath = FromFolder(n->String(), context.folder);
            materials.materials.push_back(std::move(material));
        }
    }
    if (groupsNode) {
        const std::size_t parts = groupsNode->ExpectArray();
        if (parts != 0 && parts != static_cast<std::size_t>(mesh->GetMeshSet().partCount))
            groupsNode->Refuse("the model has " + std::to_string(mesh->GetMeshSet().partCount) +
                               " parts: give a list of groups for each, or none");
        const ModelMaterials importedMaterials = mesh->Materials();
        materials.partGroups.clear();
        textures.clear();
        for (std::size_t p = 0; p < parts; ++p) {
            const std::vector<ModelFaceGroup>* modelGroups =
                p < importedMaterials.partGroups.size() ? &importedMaterials.partGroups[p] : nullptr;
            materials.partGroups.push_back(
                ReadGroups(groupsNode->Item(p), modelGroups, textures.emplace_back(), context.folder));
        }
    } else {
        // The model's groups, each with its material's texture.
        textures.clear();
        for (const auto& groups : materials.partGroups) {
            auto& paths = textures.emplace_back();
            for (const ModelFaceGroup& group : groups)
                paths.push_back(group.material >= 0 && static_cast<std::size_t>(group.material) < materials.materials.size()
                                    ? materials.materials[static_cast<std::size_t>(group.material)].texturePath
                                    : std::string());
        }
    }
    if (const std::optional<std::string> problem = CheckModelMaterials(materials, mesh->GetMeshSet()))
        (materialsNode ? *materialsNode : *groupsNode).Refuse("the materials do not fit the model: " + *problem);
    mesh->SetMaterials(std::move(materials), std::move(textures), context.folder);
    for (const MissingTexture& missing : mesh->MissingTextures())
        context.warnings.push_back(node.Path() + ": the texture " + missing.path + " does not load (" +
                                   missing.problem + ")");
    return mesh;
}

ObjectKind ReadKind(const Node& node)
{
    const auto name = node.Member("kind");
    const auto code = node.Member("kindCode");
    std::optional<ObjectKind> kind;
    if (code) {
        kind = KindFromCode(static_cast<std::int32_t>(code->Integer(0, static_cast<int>(ObjectKind::Mesh))));
        if (!kind)
            code->Refuse("no object has kind 12");
    }
    if (name) {
        const std::optional<ObjectKind> named = KindNamed(name->String());
        if (!named)
            name->Refuse("no object is called \"" + name->String() +
                         "\" (Plane, Floor, Box, Sphere, Right Wall, Left Wall, Ceiling, Text, Rod, Cylinder, Cone, "
                         "Disk, Billboard, Mesh)");
        if (kind && *kind != *named)
            name->Refuse("kindCode " + std::to_string(static_cast<int>(*kind)) + " is a " +
                         std::string(DefaultNameOf(*kind)));
        kind = named;
    }
    if (!kind)
        node.Refuse("an object says its kind (\"kind\" or \"kindCode\")");
    return *kind;
}

std::unique_ptr<COGLObject> BuildObject(const Node& node, Context& context)
{
    node.ExpectObject({"kind",        "kindCode",     "name",           "position",    "scale",
                       "orientation", "visible",      "transparent",    "texture",     "textureIndex",
                       "ambient",     "diffuse",      "specular",       "emission",    "shininess",
                       "marked",      "pickStyle",    "flags",          "textureRotation",
                       "textureScale", "textureOffset", "textureEnvMode", "spareWord",  "tessellated",
                       "text",        "mesh",         "model",          "shapeMoves",  "materials",
                       "groups"});
    const ObjectKind kind = ReadKind(node);
    auto refuseHere = [&](const char* key, const char* kinds) {
        if (const auto n = node.Member(key))
            n->Refuse(std::string("only ") + kinds + " have this");
    };
    std::unique_ptr<COGLObject> object;
    if (kind == ObjectKind::Mesh) {
        object = BuildMesh(node, context);
    } else {
        for (const char* key : {"model", "shapeMoves", "materials", "groups", "mesh"})
            refuseHere(key, "meshes");
        if (kind == ObjectKind::Text)
            object = BuildText(node);
        else
            refuseHere("text", "texts");
        if (!object)
            object = MakeInsertedObject(kind);
        if (!object)
            object = CreateObjectOfKind(kind);
        // Where Insert puts it, unless the description says where.
        if (!node.Member("position") && std::find(std::begin(kInsertableKinds), std::end(kInsertableKinds), kind) !=
                                            std::end(kInsertableKinds))
            PutOnFootprint(*object, context.cage);
        else if (!node.Member("position") && kind == ObjectKind::Text)
            PutOnFootprint(*object, context.cage);
    }
    if (auto* plane = dynamic_cast<COGLPlane*>(object.get())) {
        if (const auto n = node.Member("tessellated"))
            plane->SetTessellated(n->Bool());
    } else {
        refuseHere("tessellated", "planes");
    }
    ApplyRecord(node, *object);
    ApplyTexture(node, *object, context);
    return object;
}

} // namespace

// ---------------------------------------------------------------------------
// 5. Building the scene

BuiltScene BuildScene(const nlohmann::json& spec, const std::string& specFolder, CPluginManager& plugins,
                      COGLScene& scene)
{
    BuiltScene built;
    Context context{specFolder, plugins, scene, {}, {}, {}};
    try {
        const Node root(spec, "");
        root.ExpectObject({"file", "cage", "textures", "objects", "objectFile"});
        if (const auto cage = root.Member("cage"); cage && !cage->Value().is_null()) {
            cage->ExpectArray(3);
            const auto side = [&](std::size_t i) {
                return static_cast<int>(cage->Item(i).Integer(1, scene_file::kLargestCageSide));
            };
            context.cage = {side(0), side(1), side(2)};
            scene.SetSavedCage(context.cage);
        }
        if (const auto textures = root.Member("textures")) {
            const std::size_t count = textures->ExpectArray();
            for (std::size_t t = 0; t < count; ++t)
                BuildTexture(textures->Item(t), context);
        }
        if (const auto objects = root.Member("objects")) {
            const std::size_t count = objects->ExpectArray();
            for (std::size_t o = 0; o < count; ++o)
                scene.AddObject(BuildObject(objects->Item(o), context));
        }
    } catch (const Fault& fault) {
        built.fault = fault.fault;
        built.warnings = std::move(context.warnings);
        return built;
    }
    built.ok = true;
    built.warnings = std::move(context.warnings);
    return built;
}

} // namespace zelvane::cli
