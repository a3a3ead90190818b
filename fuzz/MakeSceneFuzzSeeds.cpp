// Writes the seed inputs of fuzz_scene_file: scene files written by the scene
// (empty; every kind, planes tessellated; textures named the Windows way,
// shared and missing; meshes with parts and without, and with materials),
// with and without the document's header, and damaged ones (cut inside a
// texture record, a common record, a mesh and the materials section; kinds
// without a class; counts and lengths past the end; indices outside their
// part; materials for an object that is no mesh; names without
// terminators; version 0); meshes that know their model file with a cage
// after them, and those sections damaged (lengths past the end or short,
// sources of objects that are no mesh, moves past the end, a cage side of
// 0, a section repeated, an unknown tag).
// Usage: make_scene_fuzz_seeds CORPUS_FOLDER (writes into its
// fuzz_scene_file sub-folder).

#include "bytes/ByteSpanWriter.h"
#include "fuzz/SeedFile.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPlane.h"
#include "scene/COGLScene.h"
#include "scene/ObjectFactory.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileWriter.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace zelvane;
using namespace zelvane::scene_file;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Framed(const COGLScene& scene, std::uint32_t version = kVersion)
{
    SceneFileWriter writer;
    writer.Raw(kMagic);
    writer.U32(version);
    scene.SaveScene(writer);
    static_cast<void>(writer.Finish());
    return writer.Bytes();
}

Bytes Cut(Bytes bytes, std::size_t keep)
{
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

Bytes Patched(Bytes bytes, std::size_t at, std::uint32_t value)
{
    ByteSpanWriter out(bytes);
    out.seek(at);
    out.u32le(value);
    return bytes;
}

// One part of two triangles over four corners, and an empty part.
struct SeedMesh {
    MeshVertex vertices[4] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    MeshTexCoord texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    MeshFace faces[2] = {{{0, 1, 2}, {0, 1, 2}}, {{0, 2, 3}, {0, 2, 3}}};
    MeshPart parts[2] = {{"Plate", faces, 2, vertices, 4, texCoords, 4}, {"Empty", nullptr, 0, nullptr, 0, nullptr, 0}};
    MeshSet Set(std::int32_t partCount) { return {"seed", partCount, parts, 1, 1, 0}; }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_scene_fuzz_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "fuzz_scene_file";
    bool ok = true;
    const auto seed = [&](const std::string& name, const Bytes& bytes) { ok &= fuzz::WriteSeed(folder, name, bytes); };

    COGLScene empty;
    seed("empty", Framed(empty));
    seed("empty-unframed", Bytes(8, 0));
    seed("version-0", Framed(empty, 0));

    COGLScene kinds;
    for (const int code : {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 13}) {
        std::unique_ptr<COGLObject> object = CreateObjectOfKind(*KindFromCode(code));
        if (auto* plane = dynamic_cast<COGLPlane*>(object.get()))
            plane->SetTessellated(code % 2 == 0);
        object->SetPosition(static_cast<float>(code), 0.5f, -1);
        kinds.AddObject(std::move(object));
    }
    const Bytes everyKind = Framed(kinds);
    seed("every-kind", everyKind);
    seed("every-kind-cut-in-record", Cut(everyKind, kHeaderSize + 8 + 4 + 150));

    SeedMesh mesh;
    COGLScene meshes;
    meshes.AddObject(std::make_unique<COGLMesh>(mesh.Set(2)));
    meshes.AddObject(std::make_unique<COGLMesh>(mesh.Set(0)));
    const Bytes withMeshes = Framed(meshes);
    seed("meshes", withMeshes);
    const std::size_t tail = kHeaderSize + 8 + kKindCodeSize + kCommonRecordSize;
    const std::size_t faces = tail + 4 + 4 + 4 + 4 + 5;
    seed("mesh-cut", Cut(withMeshes, faces + 30));
    seed("mesh-name-past-end", Patched(withMeshes, tail, 0x7FFFFFFF));
    seed("mesh-parts-past-end", Patched(withMeshes, tail + 8, 100000));
    seed("mesh-faces-past-end", Patched(withMeshes, faces, 0xFFFFFFF0));
    seed("mesh-vertex-outside", Patched(withMeshes, faces + 4 + 4, 4));
    seed("mesh-texcoord-negative", Patched(withMeshes, faces + 4 + 16, 0xFFFFFFFF));

    // A mesh with materials: the materials section after the objects.
    COGLScene materials;
    ModelMaterials table;
    ModelMaterial red;
    red.name = "Red";
    red.ambient = red.diffuse = {1, 0, 0};
    ModelMaterial pictured = red;
    pictured.name = "Pictured";
    pictured.texturePath = "/nowhere/maps/wood.png";
    pictured.opacity = 0.5f;
    pictured.twoSided = true;
    table.materials = {red, pictured};
    table.partGroups = {{{0, {0}}, {1, {1}}}, {}};
    materials.AddObject(std::make_unique<COGLMesh>(mesh.Set(0)));
    materials.AddObject(std::make_unique<COGLMesh>(mesh.Set(2), table));
    const Bytes withMaterials = Framed(materials);
    seed("materials", withMaterials);
    // The section begins where the same scene without materials ends.
    COGLScene plainTwin;
    plainTwin.AddObject(std::make_unique<COGLMesh>(mesh.Set(0)));
    plainTwin.AddObject(std::make_unique<COGLMesh>(mesh.Set(2)));
    const std::size_t start = Framed(plainTwin).size();
    seed("materials-length-past-end", Patched(withMaterials, start + 4, 0x7FFFFFFF));
    seed("materials-not-a-mesh", Patched(withMaterials, start + 12, 7));
    seed("materials-count-past-end", Patched(withMaterials, start + 16, 0xFFFFFF));
    seed("materials-cut", Cut(withMaterials, start + 40));

    // Model paths and shape moves, and the cage, after the materials.
    COGLScene sourced;
    auto first = std::make_unique<COGLMesh>(mesh.Set(2), table);
    first->SetModelPath("/models/plate.glb");
    first->MoveShape({0.5f, -1, 0});
    first->MoveShape({0, 0, 2});
    sourced.AddObject(CreateObjectOfKind(ObjectKind::Box));
    sourced.AddObject(std::move(first));
    auto second = std::make_unique<COGLMesh>(mesh.Set(0));
    second->SetModelPath("/models/empty.obj");
    sourced.AddObject(std::move(second));
    sourced.SetSavedCage(CageSize{2, 1, 3});
    const Bytes withSources = Framed(sourced);
    seed("sources-and-cage", withSources);
    COGLScene sourcedTwin;
    sourcedTwin.AddObject(CreateObjectOfKind(ObjectKind::Box));
    sourcedTwin.AddObject(std::make_unique<COGLMesh>(mesh.Set(2), table));
    sourcedTwin.AddObject(std::make_unique<COGLMesh>(mesh.Set(0)));
    const std::size_t sources = Framed(sourcedTwin).size();
    const std::size_t cage = withSources.size() - 8 - kCageSectionLength;
    seed("sources-length-past-end", Patched(withSources, sources + 4, 0x7FFFFFFF));
    seed("sources-length-short", Patched(withSources, sources + 4, 9));
    seed("sources-not-a-mesh", Patched(withSources, sources + 12, 0));
    seed("sources-path-past-end", Patched(withSources, sources + 16, 0xFFFFFF00));
    seed("sources-moves-past-end", Patched(withSources, sources + 16 + 4 + 17, 0x10000000));
    seed("sources-cut", Cut(withSources, sources + 30));
    seed("cage-side-0", Patched(withSources, cage + 12, 0));
    seed("cage-length-wrong", Patched(withSources, cage + 4, 16));
    Bytes cageTwice = withSources;
    cageTwice.insert(cageTwice.end(), withSources.begin() + static_cast<long>(cage), withSources.end());
    seed("cage-twice", cageTwice);
    Bytes unknownTag = Patched(withSources, sources, 0x58585858);
    seed("sources-unknown-tag", unknownTag);

    COGLScene textured;
    for (const char* path : {"C:\\Old\\Maps\\WOOD.BMP", "/nowhere/stone.tga", ""}) {
        auto texture = std::make_unique<COGLTexture2D>();
        texture->SetSource(path, 0);
        textured.AddTexture(std::move(texture));
    }
    for (int i = 0; i < 4; ++i)
        textured.AddObject(CreateObjectOfKind(ObjectKind::Box));
    Bytes withTextures = Framed(textured);
    const std::size_t firstIndex = kHeaderSize + 8 + 3 * kTextureRecordSize + kKindCodeSize + 223;
    const std::int32_t indices[] = {0, 2, 1, 7};
    for (std::size_t i = 0; i < 4; ++i)
        withTextures = Patched(withTextures, firstIndex + i * (kKindCodeSize + kCommonRecordSize),
                               static_cast<std::uint32_t>(indices[i]));
    seed("textures", withTextures);
    seed("textures-cut", Cut(withTextures, kHeaderSize + 8 + kTextureRecordSize + 100));
    Bytes unterminated = withTextures;
    std::memset(&unterminated[kHeaderSize + 8 + 1], 'p', kTexturePathField);
    std::memset(&unterminated[kHeaderSize + 8 + 3 * kTextureRecordSize + kKindCodeSize], 'n', kNameField);
    seed("unterminated-names", unterminated);

    const std::size_t secondKind = kHeaderSize + 8 + kKindCodeSize + kCommonRecordSize + kPlaneTailSize;
    for (const std::uint32_t code : {7u, 12u, 15u, 0xFFFFFFFFu})
        seed("kind-" + std::to_string(static_cast<std::int32_t>(code)), Patched(everyKind, secondKind, code));
    seed("object-count-past-end", Patched(everyKind, kHeaderSize, 0xFFFFFFFF));
    seed("texture-count-past-end", Patched(everyKind, kHeaderSize + 4, 3));
    return ok ? 0 : 1;
}
