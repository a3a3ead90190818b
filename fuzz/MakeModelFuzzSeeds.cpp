// make_model_fuzz_seeds CORPUS: rewrites the seed-* files of fuzz_gltf and
// fuzz_obj: models written with tools/GltfWriter and tools/ObjWriter (every
// primitive mode and index type, interleaved and sparse accessors, node
// trees with transforms, materials with an embedded picture, the sample
// crate and chair), and damaged ones (cut, counts and offsets past their
// views, a cycle of nodes, indices past the vertices, Draco required,
// deep JSON; OBJ with negative, zero and missing indices, concave and huge
// polygons, NaN, CRLF, a byte-order mark and broken statements).

#include "fuzz/SeedFile.h"
#include "tools/FurnitureModels.h"
#include "tools/GltfWriter.h"
#include "tools/ObjWriter.h"
#include "tools/SampleMeshes.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace zelvane;

namespace {

GltfPrimitive Square(int mode = gltf::kTriangles, int indexType = gltf::kUnsignedInt)
{
    GltfPrimitive square;
    square.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    square.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    square.indices = mode == gltf::kTriangles ? std::vector<uint32_t>{0, 1, 2, 0, 2, 3} : std::vector<uint32_t>{0, 1, 3, 2};
    square.mode = mode;
    square.indexType = indexType;
    return square;
}

GltfModelRecord Kinds()
{
    GltfModelRecord model;
    GltfPrimitive interleaved = Square();
    interleaved.interleaved = true;
    interleaved.material = 0;
    GltfPrimitive sparse = Square();
    sparse.sparsePositions = {{1, {2, 0, 0}}};
    GltfPrimitive plain = Square();
    plain.indices.clear();
    model.meshes.push_back({"Kinds",
                            {Square(gltf::kTriangleStrip, gltf::kUnsignedByte),
                             Square(gltf::kTriangleFan, gltf::kUnsignedShort), interleaved, sparse, plain,
                             Square(gltf::kLines)}});
    model.materials.push_back({"Blend", {1, 0, 0, 0.5f}, -1, "BLEND", true, false});
    GltfNodeRecord root{"Root", 0, {1}, {}, std::array<float, 3>{1, 2, 3}, std::array<float, 4>{0, 0.7071f, 0, 0.7071f},
                        std::array<float, 3>{2, 2, 2}};
    GltfNodeRecord child{"Child", 0, {}, std::array<float, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1}, {}, {}, {}};
    model.nodes = {root, child};
    model.sceneNodes = {0};
    return model;
}

void EditedSeeds(const std::filesystem::path& folder)
{
    const GltfFiles files = WriteGltfParts(Kinds(), "");
    const auto edited = [&](const std::string& name, auto edit) {
        nlohmann::json json = nlohmann::json::parse(files.json);
        std::vector<uint8_t> bin = files.bin;
        edit(json, bin);
        fuzz::WriteSeed(folder, name, PackGlb(json.dump(), bin));
    };
    edited("count-past-view.glb", [](auto& json, auto&) { json["accessors"][0]["count"] = 400; });
    edited("stride-too-small.glb", [](auto& json, auto&) { json["bufferViews"][2]["byteStride"] = 2; });
    edited("view-past-buffer.glb", [](auto& json, auto&) { json["bufferViews"][1]["byteOffset"] = 100000; });
    edited("node-cycle.glb", [](auto& json, auto&) { json["nodes"][1]["children"] = {0, 1}; });
    edited("index-past-vertices.glb", [](auto& json, auto& bin) { bin[json["bufferViews"][1]["byteOffset"].template get<size_t>()] = 200; });
    edited("draco.glb", [](auto& json, auto&) { json["extensionsRequired"] = {"KHR_draco_mesh_compression"}; });
    edited("no-scene.glb", [](auto& json, auto&) { json.erase("scenes"); json.erase("scene"); });
    edited("sparse-index-past.glb", [](auto& json, auto&) { json["accessors"][7]["sparse"]["count"] = 4; });
    std::vector<uint8_t> glb = PackGlb(files.json, files.bin);
    glb.resize(glb.size() / 2);
    fuzz::WriteSeed(folder, "cut.glb", glb);
    std::string deep = "{\"asset\":{\"version\":\"2.0\"},\"nodes\":";
    deep += std::string(80, '[') + std::string(80, ']') + "}";
    fuzz::WriteSeed(folder, "deep.gltf", {deep.begin(), deep.end()});
}

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

void ObjSeeds(const std::filesystem::path& folder)
{
    const ObjFiles chair = FurnitureAsObj(BuildFurniture(FurnitureKind::DiningChair), "Chair", "Chair.mtl");
    fuzz::WriteSeed(folder, "chair.obj", Bytes(chair.obj));
    fuzz::WriteSeed(folder, "chair.mtl", Bytes(chair.mtl));
    fuzz::WriteSeed(folder, "statements.obj",
                    Bytes("\xEF\xBB\xBF# comment\r\nmtllib a b.mtl\r\nv 0 0 0\r\nv 1 0 0\r\nv 1 1 0\r\nv 0 1 0\r\n"
                          "vt 0 0\r\nvt 1 1\r\nvn 0 0 1\r\no A\r\nusemtl M\r\nf 1/1/1 2/2/1 3/1/1 4/2/1\r\n"
                          "g B\r\nf -4//1 -3//1 -2//1\r\ng A\r\nf -1/-1 -2/-2 -3/-1"));
    fuzz::WriteSeed(folder, "concave.obj",
                    Bytes("v 0 0 0\nv 2 0 0\nv 2 1 0\nv 1 1 0\nv 1 2 0\nv 0 2 0\nf 1 2 3 4 5 6\nf 6 5 4 3 2 1\n"
                          "v 0 0 1\nf 1 2 7 3 4\n"));
    fuzz::WriteSeed(folder, "broken.obj",
                    Bytes("v nan 0 0\nv 1e40 0 0\nv 1 x\nvt inf\nf 0 1 2\nf 1 2 9\nf -1 -2 -9\nf 1/7 2 3\n"
                          "f 1\nl 1 2\np 1\nf a b c\nusemtl\no\ng\nmtllib\nf 1//// 2/-/ 3//\n"));
    ObjWriter star;
    std::vector<std::pair<int64_t, int64_t>> corners;
    for (int i = 0; i < 200; ++i) {
        star.Vertex(static_cast<float>(i % 2 + 1) * static_cast<float>(i), static_cast<float>(i * i % 7), 0);
        corners.push_back({i + 1, 0});
    }
    star.Face(corners);
    fuzz::WriteSeed(folder, "large-polygon.obj", Bytes(star.Text()));
    fuzz::WriteSeed(folder, "library.mtl",
                    Bytes("newmtl Oak\nKa 0.1 0.2 0.3\nKd 2 -1 nan\nKs spectral x\nNs 5000\nd -halo 0.5\nTr 0.3\n"
                          "map_Kd -s 1 1 -o 0.5 -bm 0.2 -clamp on -type sphere My Oak.png\nnewmtl\nmap_Kd -o\n"));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_model_fuzz_seeds CORPUS\n");
        return 2;
    }
    const std::filesystem::path corpus = argv[1];
    const std::filesystem::path gltfFolder = corpus / "fuzz_gltf";
    fuzz::WriteSeed(gltfFolder, "kinds.glb", WriteGlb(Kinds()));
    const GltfFiles json = WriteGltfParts(Kinds(), "");
    fuzz::WriteSeed(gltfFolder, "kinds.gltf", Bytes(json.json));
    fuzz::WriteSeed(gltfFolder, "crate.glb", WriteGlb(TexturedCrate(0.5f)));
    GltfModelRecord older = TexturedCrate(0.5f);
    older.materials[0].specularGlossiness = true;
    older.materials[0].alphaMode = "MASK";
    fuzz::WriteSeed(gltfFolder, "specular-glossiness.glb", WriteGlb(older));
    fuzz::WriteSeed(gltfFolder, "chair.glb", WriteGlb(FurnitureAsGltf(BuildFurniture(FurnitureKind::DiningChair), "Chair")));
    EditedSeeds(gltfFolder);
    ObjSeeds(corpus / "fuzz_obj");
    return 0;
}
