// make_bench_models IN.3ds OUT.glb OUT.obj: the same geometry as a 3D Studio
// file in glTF and OBJ, for comparing the importers: every part of the file
// (as meshport reads it) becomes one glTF mesh of one primitive with the
// part's vertices, mapping and faces (u32 indices) and its first group's
// material, and one OBJ object with the same vertices, mapping, "usemtl" per
// face group and the faces. Same vertex and face counts in all three files.

#include "plugins/meshport/MeshSetBuilder.h"
#include "plugins/meshport/MeshportImport.h"
#include "tools/GltfWriter.h"
#include "tools/ObjWriter.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

using namespace zelvane;

namespace {

bool Write(const char* path, const void* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return out.good();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_bench_models IN.3ds OUT.glb OUT.obj\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    MeshSet set{"bench", 0, nullptr, 0, 0, 0};
    MeshMaterials materials{ZELPLUG_MATERIALS_VERSION, 0, nullptr, 0, nullptr};
    meshport::ImportBytes(bytes, "", set, &materials, meshport::TraceMode::Skip);

    GltfModelRecord model;
    ObjWriter obj;
    for (int32_t m = 0; m < materials.materialCount; ++m) {
        const MeshMaterial& material = materials.materials[m];
        model.materials.push_back({material.name ? material.name : "", {material.diffuse[0], material.diffuse[1],
                                   material.diffuse[2], material.opacity}, -1, "", material.twoSided != 0, false});
    }
    int64_t vertexBase = 0;
    for (int32_t p = 0; p < set.partCount; ++p) {
        const MeshPart& part = set.parts[p];
        const MeshPartGroups* groups = p < materials.partCount ? &materials.parts[p] : nullptr;
        GltfPrimitive primitive;
        for (int32_t v = 0; v < part.vertexCount; ++v) {
            primitive.positions.push_back({part.vertices[v].x, part.vertices[v].y, part.vertices[v].z});
            primitive.texCoords.push_back({part.texCoords[v].u, 1 - part.texCoords[v].v});
        }
        for (int32_t f = 0; f < part.faceCount; ++f)
            for (int k = 0; k < 3; ++k)
                primitive.indices.push_back(static_cast<uint32_t>(part.faces[f].vertex[k]));
        primitive.material = groups && groups->groupCount > 0 ? groups->groups[0].material : -1;
        model.meshes.push_back({part.name, {std::move(primitive)}});
        model.nodes.push_back({part.name, p, {}, {}, {}, {}, {}});
        model.sceneNodes.push_back(p);

        obj.Object(part.name);
        for (int32_t v = 0; v < part.vertexCount; ++v)
            obj.Vertex(part.vertices[v].x, part.vertices[v].y, part.vertices[v].z);
        for (int32_t v = 0; v < part.vertexCount; ++v)
            obj.TexCoord(part.texCoords[v].u, part.texCoords[v].v);
        const auto face = [&](int32_t f) {
            const MeshFace& corners = part.faces[f];
            obj.Face({{vertexBase + corners.vertex[0] + 1, vertexBase + corners.vertex[0] + 1},
                      {vertexBase + corners.vertex[1] + 1, vertexBase + corners.vertex[1] + 1},
                      {vertexBase + corners.vertex[2] + 1, vertexBase + corners.vertex[2] + 1}});
        };
        for (int32_t g = 0; groups && g < groups->groupCount; ++g) {
            const MeshFaceGroup& group = groups->groups[g];
            obj.UseMaterial(materials.materials[group.material].name);
            for (int32_t k = 0; k < group.faceCount; ++k)
                face(group.faces[k]);
        }
        if (!groups || groups->groupCount == 0)
            for (int32_t f = 0; f < part.faceCount; ++f)
                face(f);
        vertexBase += part.vertexCount;
    }
    const std::vector<uint8_t> glb = WriteGlb(model);
    const std::string text = obj.Take();
    meshport::ReleaseMaterials(materials);
    meshport::ReleaseMeshSet(set);
    if (!Write(argv[2], glb.data(), glb.size()) || !Write(argv[3], text.data(), text.size())) {
        std::fprintf(stderr, "make_bench_models: cannot write the models\n");
        return 1;
    }
    std::printf("%s: %zu bytes; %s: %zu bytes\n", argv[2], glb.size(), argv[3], text.size());
    return 0;
}
