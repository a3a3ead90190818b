#include "tools/SampleMeshes.h"

#include "pngio/PngCodec.h"
#include "scene/ModelProportions.h"
#include "tools/FurnitureModels.h"
#include "tools/ThreeDSWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

namespace zelvane {

namespace {

// Tiles with +z up to metres with +y up, the front (-y) towards +z.
std::array<float, 3> ToMetresYUp(Vec3 p)
{
    return {p.x * kMetresPerTile, p.z * kMetresPerTile, -p.y * kMetresPerTile};
}

std::map<uint16_t, std::vector<const MeshTriangle*>> ByMaterial(const FurnitureMesh& mesh)
{
    std::map<uint16_t, std::vector<const MeshTriangle*>> groups;
    for (const MeshTriangle& triangle : mesh.Triangles())
        groups[triangle.material].push_back(&triangle);
    return groups;
}

uint8_t Byte(float channel)
{
    return static_cast<uint8_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}

bool WriteBytes(const std::filesystem::path& path, const void* data, size_t size, std::string& error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out.good())
        error = "cannot write " + path.string();
    return out.good();
}

} // namespace

GltfModelRecord FurnitureAsGltf(const FurnitureMesh& mesh, const std::string& name)
{
    GltfModelRecord model;
    GltfMeshRecord record;
    record.name = name;
    for (const auto& [material, triangles] : ByMaterial(mesh)) {
        GltfPrimitive primitive;
        for (const MeshTriangle* triangle : triangles)
            for (const MeshVertex& corner : triangle->v)
                primitive.positions.push_back(ToMetresYUp(corner.position));
        primitive.material = static_cast<int>(model.materials.size());
        const Material& source = mesh.Materials()[material];
        GltfMaterialRecord out;
        out.name = name + " " + std::to_string(material);
        out.baseColour = {source.colour.x, source.colour.y, source.colour.z, source.alpha};
        if (source.SeenThrough())
            out.alphaMode = "BLEND";
        model.materials.push_back(out);
        record.primitives.push_back(std::move(primitive));
    }
    model.meshes.push_back(std::move(record));
    model.nodes.push_back({name, 0, {}, {}, {}, {}, {}});
    model.sceneNodes = {0};
    return model;
}

ObjFiles FurnitureAsObj(const FurnitureMesh& mesh, const std::string& name, const std::string& mtlName)
{
    ObjWriter obj;
    obj.Line("# " + name + ", in metres with +y up");
    obj.MaterialLibrary(mtlName);
    obj.Object(name);
    std::vector<ObjMaterialRecord> materials;
    int64_t written = 0;
    for (const auto& [material, triangles] : ByMaterial(mesh)) {
        const Material& source = mesh.Materials()[material];
        ObjMaterialRecord out;
        out.name = name + "_" + std::to_string(material);
        out.diffuse = {source.colour.x, source.colour.y, source.colour.z};
        out.ambient = out.diffuse;
        out.specular = source.shininess > 0 ? std::array<float, 3>{0.3f, 0.3f, 0.3f} : std::array<float, 3>{0, 0, 0};
        out.exponent = source.shininess * 1000.0f / 128.0f;
        out.dissolve = source.alpha;
        materials.push_back(out);
        obj.UseMaterial(out.name);
        for (const MeshTriangle* triangle : triangles) {
            for (const MeshVertex& corner : triangle->v) {
                const std::array<float, 3> p = ToMetresYUp(corner.position);
                obj.Vertex(p[0], p[1], p[2]);
            }
            obj.Face({{written + 1, 0}, {written + 2, 0}, {written + 3, 0}});
            written += 3;
        }
    }
    return {obj.Take(), WriteMtl(materials)};
}

std::vector<uint8_t> FurnitureAsThreeDS(const FurnitureMesh& mesh, const std::string& name)
{
    // zelvane draws a 3D Studio mesh at 1/20 of its size.
    constexpr float kUnitsPerTile = 20.0f;
    constexpr size_t kMaxTriangles = 65535 / 3;
    std::vector<ThreeDSMesh> meshes;
    std::vector<ThreeDSMaterial> materials;
    for (const auto& [material, triangles] : ByMaterial(mesh)) {
        const Material& source = mesh.Materials()[material];
        const std::string materialName = "M" + std::to_string(material);
        ThreeDSMaterial out(materialName, {Byte(source.colour.x), Byte(source.colour.y), Byte(source.colour.z)}, "");
        out.diffuse = out.ambient;
        if (source.alpha < 1)
            out.transparency = static_cast<uint16_t>(std::lround((1 - source.alpha) * 100));
        materials.push_back(out);
        // A 3D Studio object holds at most 65535 vertices.
        for (size_t first = 0; first < triangles.size(); first += kMaxTriangles) {
            ThreeDSMesh part;
            part.name = (name.substr(0, 6) + std::to_string(meshes.size())).substr(0, 10);
            ThreeDSFaceGroup group{materialName, {}};
            for (size_t t = first; t < std::min(triangles.size(), first + kMaxTriangles); ++t) {
                const auto base = static_cast<uint16_t>(part.vertices.size());
                for (const MeshVertex& corner : triangles[t]->v)
                    part.vertices.push_back({corner.position.x * kUnitsPerTile, corner.position.y * kUnitsPerTile,
                                             corner.position.z * kUnitsPerTile});
                group.faces.push_back(static_cast<uint16_t>(part.faces.size()));
                part.faces.push_back({base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2)});
            }
            part.groups.push_back(std::move(group));
            meshes.push_back(std::move(part));
        }
    }
    return WriteThreeDS(meshes, materials);
}

std::vector<uint8_t> CratePicture()
{
    constexpr uint32_t kSize = 64;
    PngImage image{kSize, kSize, PngChannels::Rgb, {}};
    for (uint32_t y = 0; y < kSize; ++y)
        for (uint32_t x = 0; x < kSize; ++x) {
            // Four planks with dark gaps, a grain along them, and a darker
            // band at the top so that the picture's way up shows.
            const bool gap = y % 16 == 0 || x < 3 || x >= kSize - 3;
            const float grain = 0.85f + 0.15f * std::sin(static_cast<float>(x) * 0.7f + static_cast<float>(y % 16) * 1.3f);
            const float shade = gap ? 0.35f : grain * (y < 16 ? 0.6f : 1.0f);
            image.pixels.push_back(Byte(0.78f * shade));
            image.pixels.push_back(Byte(0.55f * shade));
            image.pixels.push_back(Byte(0.30f * shade));
        }
    std::vector<uint8_t> png;
    std::string error;
    if (!EncodePng(image, png, error))
        png.clear();
    return png;
}

GltfModelRecord TexturedCrate(float size)
{
    GltfModelRecord model;
    GltfPrimitive primitive;
    const float h = size / 2;
    // Each side: four corners counter-clockwise seen from outside, the
    // picture's top at the side's top (glTF's v runs down the picture).
    const std::array<std::array<float, 3>, 4> sides[6] = {
        {{{-h, 0, h}, {h, 0, h}, {h, size, h}, {-h, size, h}}},     // front (+z)
        {{{h, 0, -h}, {-h, 0, -h}, {-h, size, -h}, {h, size, -h}}}, // back
        {{{h, 0, h}, {h, 0, -h}, {h, size, -h}, {h, size, h}}},     // right
        {{{-h, 0, -h}, {-h, 0, h}, {-h, size, h}, {-h, size, -h}}}, // left
        {{{-h, size, h}, {h, size, h}, {h, size, -h}, {-h, size, -h}}}, // top
        {{{-h, 0, -h}, {h, 0, -h}, {h, 0, h}, {-h, 0, h}}},         // bottom
    };
    const std::array<float, 2> uv[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (const auto& side : sides) {
        const auto base = static_cast<uint32_t>(primitive.positions.size());
        for (int k = 0; k < 4; ++k) {
            primitive.positions.push_back(side[k]);
            primitive.texCoords.push_back(uv[k]);
        }
        for (uint32_t k : {0u, 1u, 2u, 0u, 2u, 3u})
            primitive.indices.push_back(base + k);
    }
    primitive.indexType = gltf::kUnsignedShort;
    primitive.material = 0;
    model.meshes.push_back({"Crate", {primitive}});
    GltfMaterialRecord material;
    material.name = "Planks";
    material.image = 0;
    model.materials.push_back(material);
    model.images.push_back({CratePicture(), "image/png", ""});
    model.nodes.push_back({"Crate", 0, {}, {}, {}, {}, {}});
    model.sceneNodes = {0};
    return model;
}

std::string WriteSampleMeshes(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        return "cannot make " + folder + ": " + ec.message();
    const fs::path out(folder);
    std::string error;
    const auto write = [&](const std::string& name, const auto& bytes) {
        return WriteBytes(out / name, bytes.data(), bytes.size(), error);
    };

    const FurnitureMesh chair = BuildFurniture(FurnitureKind::DiningChair);
    const FurnitureMesh table = BuildFurniture(FurnitureKind::EndTable);
    const FurnitureMesh lamp = BuildFurniture(FurnitureKind::ReadingLamp);
    const ObjFiles tableObj = FurnitureAsObj(table, "End Table", "End Table.mtl");
    const GltfModelRecord crate = TexturedCrate(0.6f);

    // The crate as OBJ: its picture beside it, named by the library.
    ObjWriter crateObj;
    crateObj.MaterialLibrary("Crate.mtl");
    crateObj.Object("Crate");
    for (const auto& p : crate.meshes[0].primitives[0].positions)
        crateObj.Vertex(p[0], p[1], p[2]);
    for (const auto& t : crate.meshes[0].primitives[0].texCoords)
        crateObj.TexCoord(t[0], 1 - t[1]);
    crateObj.UseMaterial("Planks");
    const std::vector<uint32_t>& indices = crate.meshes[0].primitives[0].indices;
    for (size_t i = 0; i + 5 < indices.size(); i += 6) {
        // Each side as one quad.
        std::vector<std::pair<int64_t, int64_t>> quad;
        for (size_t k : {0, 1, 2, 5}) {
            const int64_t corner = indices[i + k] + 1;
            quad.push_back({corner, corner});
        }
        crateObj.Face(quad);
    }
    ObjMaterialRecord planks;
    planks.name = "Planks";
    planks.diffuse = {1, 1, 1};
    planks.diffuseMap = "crate planks.png";

    if (!write("Dining Chair.glb", WriteGlb(FurnitureAsGltf(chair, "Dining Chair"))) ||
        !write("Dining Chair.3ds", FurnitureAsThreeDS(chair, "Chair")) ||
        !write("End Table.obj", tableObj.obj) || !write("End Table.mtl", tableObj.mtl) ||
        !write("Reading Lamp.glb", WriteGlb(FurnitureAsGltf(lamp, "Reading Lamp"))) ||
        !write("Reading Lamp.3ds", FurnitureAsThreeDS(lamp, "Lamp")) || !write("Crate.glb", WriteGlb(crate)) ||
        !write("Crate.obj", crateObj.Text()) || !write("Crate.mtl", WriteMtl({planks})) ||
        !write("crate planks.png", CratePicture()))
        return error;
    return {};
}

} // namespace zelvane
