// Writes the seed inputs of fuzz_bake: for every working file of the target,
// scenes of records (a box on the floor, a flat tile, a see-through sphere,
// a mesh, a box both hidden and one below the floor, a box a hundred tiles
// away, one grown a thousand times, one at NaN) and a scene file with a box
// and a cylinder.
// Usage: make_bake_fuzz_seeds CORPUS_FOLDER (writes into its fuzz_bake
// sub-folder).

#include "bytes/ByteWriter.h"
#include "fuzz/SeedFile.h"
#include "scene/COGLScene.h"
#include "scene/ObjectFactory.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileWriter.h"

#include <bit>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kBox = 2, kSphere = 3, kPlane = 0, kMesh = 12;
constexpr uint8_t kSeeThrough = 1, kHidden = 2;

struct Record {
    uint8_t kind;
    uint8_t flags;
    float v[14]; // position, scale, axis and turn, colour and alpha
};

void Put(ByteWriter& w, const Record& record)
{
    w.u8(record.kind);
    w.u8(record.flags);
    for (const float f : record.v)
        w.u32le(std::bit_cast<uint32_t>(f));
}

Bytes Records(uint8_t layout, uint8_t steer, const std::vector<Record>& records, const Bytes& tail = {})
{
    ByteWriter w;
    w.u8(layout);
    w.u8(steer);
    for (const Record& record : records)
        Put(w, record);
    w.bytes(tail);
    return w.take();
}

Record Box(float x, float y, float z, float scale = 0.5f)
{
    return {kBox, 0, {x, y, z, scale, scale, scale, 0, 1, 0, 0, 0.7f, 0.4f, 0.3f, 1}};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "fuzz_bake";
    bool ok = true;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Record tile{kPlane, 0, {0, 0, 0, 0.5f, 0.5f, 1, 1, 0, 0, 90, 0.2f, 0.6f, 0.3f, 1}};
    const Record glass{kSphere, kSeeThrough, {0, 0.5f, 0, 0.4f, 0.4f, 0.4f, 0, 1, 0, 0, 0.2f, 0.3f, 0.9f, 0.4f}};
    // A mesh of 4 vertices and 4 faces: a tetrahedron over tile (0, 0).
    ByteWriter mesh;
    mesh.u8(0);
    for (const float f : {-0.4f, 0.0f, -0.4f, 0.4f, 0.0f, -0.4f, 0.0f, 0.0f, 0.4f, 0.0f, 0.8f, 0.0f})
        mesh.u32le(std::bit_cast<uint32_t>(f));
    for (const uint8_t i : {0, 1, 2, 0, 3, 1, 1, 3, 2, 2, 3, 0})
        mesh.u8(i);
    const Record meshRecord{kMesh, 0, {0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0.8f, 0.8f, 0.2f, 1}};
    for (uint8_t layout = 0; layout < 6; ++layout) {
        const std::string name = "layout" + std::to_string(layout);
        ok &= fuzz::WriteSeed(folder, name + "-box", Records(layout, 0, {Box(0, 0.5f, 0)}));
        ok &= fuzz::WriteSeed(folder, name + "-long-box-tile-glass",
                              Records(layout, 3, {Box(0, 0.5f, -0.5f), tile, glass}));
        ok &= fuzz::WriteSeed(folder, name + "-mesh", Records(layout, 1, {meshRecord}, mesh.data()));
    }
    Record hidden = Box(0, 0.5f, 0);
    hidden.flags = kHidden;
    ok &= fuzz::WriteSeed(folder, "hidden-and-below", Records(0, 0, {hidden, Box(0, -3, 0)}));
    ok &= fuzz::WriteSeed(folder, "far-away", Records(1, 0, {Box(100, 0.5f, -100)}));
    ok &= fuzz::WriteSeed(folder, "huge", Records(2, 0, {Box(0, 0.5f, 0, 500.0f)}));
    ok &= fuzz::WriteSeed(folder, "nan", Records(0, 0, {Box(nan, 0.5f, 0), Box(0, 0.5f, 0, nan)}));

    COGLScene scene;
    scene.AddObject(CreateObjectOfKind(ObjectKind::Box));
    auto cylinder = CreateObjectOfKind(ObjectKind::Cylinder);
    cylinder->SetPosition(0.0f, 0.0f, -1.0f);
    scene.AddObject(std::move(cylinder));
    SceneFileWriter writer;
    writer.Raw(scene_file::kMagic);
    writer.U32(scene_file::kVersion);
    scene.SaveScene(writer);
    if (writer.Finish()) {
        Bytes framed = {1, 0};
        framed.insert(framed.end(), writer.Bytes().begin(), writer.Bytes().end());
        ok &= fuzz::WriteSeed(folder, "scene-file", framed);
    } else {
        ok = false;
    }
    return ok ? 0 : 1;
}
