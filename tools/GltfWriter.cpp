#include "tools/GltfWriter.h"

#include "bytes/ByteWriter.h"

#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>

namespace zelvane {

namespace {

using Json = nlohmann::ordered_json;

class Builder {
public:
    explicit Builder(const GltfModelRecord& model) : model_(model) {}

    Json Build()
    {
        Json doc;
        doc["asset"] = {{"version", "2.0"}, {"generator", "zelvane tools"}};
        if (!model_.extensionsRequired.empty()) {
            doc["extensionsRequired"] = model_.extensionsRequired;
            doc["extensionsUsed"] = model_.extensionsRequired;
        }
        Json meshes = Json::array();
        for (const GltfMeshRecord& mesh : model_.meshes) {
            Json primitives = Json::array();
            for (const GltfPrimitive& primitive : mesh.primitives)
                primitives.push_back(Primitive(primitive));
            meshes.push_back({{"name", mesh.name}, {"primitives", primitives}});
        }
        Json materials = Json::array();
        Json textures = Json::array();
        for (const GltfMaterialRecord& material : model_.materials) {
            Json json = {{"name", material.name}};
            Json colour = Json::array();
            for (float c : material.baseColour)
                colour.push_back(c);
            Json texture;
            if (material.image >= 0) {
                texture = {{"index", textures.size()}};
                textures.push_back({{"source", material.image}});
            }
            if (material.specularGlossiness) {
                Json sg = {{"diffuseFactor", colour}};
                if (!texture.is_null())
                    sg["diffuseTexture"] = texture;
                json["extensions"] = {{"KHR_materials_pbrSpecularGlossiness", sg}};
            } else {
                Json pbr = {{"baseColorFactor", colour}, {"metallicFactor", 0.0}, {"roughnessFactor", 0.8}};
                if (!texture.is_null())
                    pbr["baseColorTexture"] = texture;
                json["pbrMetallicRoughness"] = pbr;
            }
            if (!material.alphaMode.empty())
                json["alphaMode"] = material.alphaMode;
            if (material.doubleSided)
                json["doubleSided"] = true;
            materials.push_back(json);
        }
        Json images = Json::array();
        for (const GltfImageRecord& image : model_.images) {
            if (!image.uri.empty()) {
                images.push_back({{"uri", image.uri}});
                continue;
            }
            images.push_back({{"bufferView", View(image.bytes, 0)}, {"mimeType", image.mimeType}});
        }
        Json nodes = Json::array();
        for (const GltfNodeRecord& node : model_.nodes) {
            Json json = {{"name", node.name}};
            if (node.mesh >= 0)
                json["mesh"] = node.mesh;
            if (!node.children.empty())
                json["children"] = node.children;
            if (node.matrix)
                json["matrix"] = *node.matrix;
            if (node.translation)
                json["translation"] = *node.translation;
            if (node.rotation)
                json["rotation"] = *node.rotation;
            if (node.scale)
                json["scale"] = *node.scale;
            nodes.push_back(json);
        }
        doc["scene"] = 0;
        doc["scenes"] = Json::array({{{"nodes", model_.sceneNodes}}});
        doc["nodes"] = nodes;
        doc["meshes"] = meshes;
        if (!materials.empty())
            doc["materials"] = materials;
        if (!textures.empty())
            doc["textures"] = textures;
        if (!images.empty())
            doc["images"] = images;
        doc["accessors"] = accessors_;
        doc["bufferViews"] = views_;
        return doc;
    }

    std::vector<uint8_t> TakeBin() { return bin_.take(); }

private:
    size_t View(const std::vector<uint8_t>& bytes, size_t stride)
    {
        while (bin_.size() % 4)
            bin_.u8(0);
        Json view = {{"buffer", 0}, {"byteOffset", bin_.size()}, {"byteLength", bytes.size()}};
        if (stride)
            view["byteStride"] = stride;
        bin_.bytes(bytes);
        views_.push_back(view);
        return views_.size() - 1;
    }

    size_t Accessor(Json accessor)
    {
        accessors_.push_back(std::move(accessor));
        return accessors_.size() - 1;
    }

    static Json Bounds(const std::vector<std::array<float, 3>>& points, bool max)
    {
        std::array<float, 3> bound{};
        if (!points.empty())
            bound = points[0];
        for (const auto& p : points)
            for (int c = 0; c < 3; ++c)
                bound[c] = max ? std::max(bound[c], p[c]) : std::min(bound[c], p[c]);
        return bound;
    }

    Json Primitive(const GltfPrimitive& primitive)
    {
        Json attributes;
        const size_t count = primitive.positions.size();
        if (primitive.interleaved) {
            ByteWriter data;
            for (size_t i = 0; i < count; ++i) {
                for (float c : primitive.positions[i])
                    data.f32le(c);
                const std::array<float, 2> uv = i < primitive.texCoords.size() ? primitive.texCoords[i]
                                                                                : std::array<float, 2>{0, 0};
                data.f32le(uv[0]);
                data.f32le(uv[1]);
            }
            const size_t view = View(data.take(), 20);
            attributes["POSITION"] = Accessor({{"bufferView", view}, {"componentType", 5126}, {"count", count},
                                               {"type", "VEC3"}, {"min", Bounds(primitive.positions, false)},
                                               {"max", Bounds(primitive.positions, true)}});
            if (!primitive.texCoords.empty())
                attributes["TEXCOORD_0"] = Accessor(
                    {{"bufferView", view}, {"byteOffset", 12}, {"componentType", 5126}, {"count", count}, {"type", "VEC2"}});
        } else {
            Json position = {{"componentType", 5126}, {"count", count}, {"type", "VEC3"}};
            if (primitive.sparsePositions.empty()) {
                ByteWriter data;
                for (const auto& p : primitive.positions)
                    for (float c : p)
                        data.f32le(c);
                position["bufferView"] = View(data.take(), 0);
            } else {
                ByteWriter indices, values;
                for (const auto& [index, value] : primitive.sparsePositions) {
                    indices.u32le(index);
                    for (float c : value)
                        values.f32le(c);
                }
                position["sparse"] = {{"count", primitive.sparsePositions.size()},
                                      {"indices", {{"bufferView", View(indices.take(), 0)}, {"componentType", 5125}}},
                                      {"values", {{"bufferView", View(values.take(), 0)}}}};
            }
            attributes["POSITION"] = Accessor(position);
            if (!primitive.texCoords.empty()) {
                ByteWriter data;
                for (const auto& t : primitive.texCoords)
                    for (float c : t)
                        data.f32le(c);
                attributes["TEXCOORD_0"] = Accessor({{"bufferView", View(data.take(), 0)},
                                                     {"componentType", 5126},
                                                     {"count", primitive.texCoords.size()},
                                                     {"type", "VEC2"}});
            }
        }
        Json json = {{"attributes", attributes}};
        if (primitive.mode != gltf::kTriangles)
            json["mode"] = primitive.mode;
        if (primitive.material >= 0)
            json["material"] = primitive.material;
        if (!primitive.indices.empty()) {
            ByteWriter data;
            for (uint32_t index : primitive.indices) {
                if (primitive.indexType == gltf::kUnsignedByte)
                    data.u8(static_cast<uint8_t>(index));
                else if (primitive.indexType == gltf::kUnsignedShort)
                    data.u16le(static_cast<uint16_t>(index));
                else
                    data.u32le(index);
            }
            json["indices"] = Accessor({{"bufferView", View(data.take(), 0)},
                                        {"componentType", primitive.indexType},
                                        {"count", primitive.indices.size()},
                                        {"type", "SCALAR"}});
        }
        return json;
    }

    const GltfModelRecord& model_;
    Json accessors_ = Json::array();
    Json views_ = Json::array();
    ByteWriter bin_;
};

} // namespace

GltfFiles WriteGltfParts(const GltfModelRecord& model, const std::string& binUri)
{
    Builder builder(model);
    Json doc = builder.Build();
    GltfFiles files;
    files.bin = builder.TakeBin();
    Json buffer = {{"byteLength", files.bin.size()}};
    if (!binUri.empty())
        buffer["uri"] = binUri;
    doc["buffers"] = Json::array({buffer});
    files.json = doc.dump();
    return files;
}

std::vector<uint8_t> PackGlb(const std::string& json, const std::vector<uint8_t>& bin)
{
    std::string text = json;
    while (text.size() % 4)
        text += ' ';
    std::vector<uint8_t> padded = bin;
    while (padded.size() % 4)
        padded.push_back(0);
    ByteWriter out;
    out.u32le(0x46546C67);
    out.u32le(2);
    out.u32le(static_cast<uint32_t>(12 + 8 + text.size() + (padded.empty() ? 0 : 8 + padded.size())));
    out.u32le(static_cast<uint32_t>(text.size()));
    out.u32le(0x4E4F534A);
    out.text(text);
    if (!padded.empty()) {
        out.u32le(static_cast<uint32_t>(padded.size()));
        out.u32le(0x004E4942);
        out.bytes(padded);
    }
    return out.take();
}

std::vector<uint8_t> WriteGlb(const GltfModelRecord& model)
{
    const GltfFiles files = WriteGltfParts(model, "");
    return PackGlb(files.json, files.bin);
}

} // namespace zelvane
