// Bakes a hostile scene into a working object file and checks that whatever
// happens, the file written is a valid object file, or the old one is left
// byte for byte.
//
// Byte 0 picks the working file's object (by its value mod 6): a single
// object; two tiles; an L of three tiles; two tiles, one a level up; a
// single object whose sprite is an 'SPR#' also shown by another object's
// draw group, with a palette another sprite keeps; a master whose tiles have
// no draw groups. Byte 1 steers the bake: bit 0 two samples a pixel side
// instead of one, bit 1 dithering. The rest is the scene: a scene file
// (when it starts "CGS1", read as the editor opens one) or records of 57
// bytes: a kind (primitives by its value mod 14, meshes at 12), flags (bit 0
// see-through, bit 1 hidden) and 14 raw floats (position, scale, an axis and
// a turn, a colour with alpha); a mesh record is followed by a count n (4 to
// 64) of 12-byte vertices and n byte triples naming them.
//
// Checks, besides the sanitizers: a failed bake leaves the file as it was; a
// written one opens as the editor opens it, lists the same objects, its
// planned draw groups hold twelve images whose sprites decode whole with
// their palette, every image composes without a note, and every resource the
// bake does not own is unchanged.

#include "bake/SpriteBake.h"
#include "bytes/ByteReader.h"
#include "fuzz/FuzzSupport.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectPreview.h"
#include "objects/PreviewTile.h"
#include "objects/SpriteDecoder.h"
#include "objects/SpriteEncoder.h"
#include "report/Reporter.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGIffFile.h"
#include "resfile/IffBuilder.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPointLight.h"
#include "scene/COGLScene.h"
#include "scene/HeadlessGLContext.h"
#include "scene/ObjectFactory.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"

#include <algorithm>
#include <map>
#include <memory>
#include <span>

using namespace zelvane;

namespace {

class Silent final : public IReporter {
public:
    MessageAnswer ShowMessage(std::string_view, MessageIcon, MessageButtons buttons) override
    {
        return FirstButton(buttons);
    }
};

// ---- the working object file ----

class ObjectFileBuilder {
public:
    void Object(int16_t id, int16_t firstGroup, int16_t groups, int16_t groupId = 0, int16_t place = 0,
                int16_t level = 0)
    {
        ObjectDefinition record;
        record.SetInt32At(objd::kVersion, static_cast<int32_t>(objd::kCurrentVersion));
        record.SetWord(objd::kFirstDrawGroup / 2, firstGroup);
        record.SetWord(objd::kDrawGroupCount / 2, groups);
        record.SetWord(objd::kGroupId / 2, groupId);
        record.SetWord(objd::kGroupPlace / 2, place);
        record.SetWord(objd::kTileLevel / 2, level);
        builder_.AddChunk(kTypeOBJD, id, "object", record.StoredBytes());
    }
    void Group(int16_t id, std::vector<int32_t> sprites)
    {
        std::vector<DrawGroupImage> images(12);
        for (DrawGroupImage& image : images)
            for (const int32_t sprite : sprites)
                image.sprites.push_back({sprite, 0, -10, 5, 0, 0, 0, 0});
        CTGDrawGroup group;
        group.Set("group", 20004, images);
        builder_.AddChunk(kTypeDGRP, id, "group", group.Encode());
    }
    void Sprite(int16_t id, int32_t palette, ResType type = kTypeSPR2)
    {
        SpriteFrame frame;
        frame.colour = PlainImage(3, 2, 1, 9);
        frame.info.paletteId = -1;
        const EncodedSprite s = type == kTypeSPR2 ? EncodeSpr2({&frame, 1}, palette) : EncodeSpr({&frame, 1}, palette);
        builder_.AddChunk(type, id, "sprite", s.bytes, 0);
    }
    void Palette(int16_t id) { builder_.AddChunk(kTypePALT, id, "palette", zelvane::Palette().Encode(), 0); }
    void Strings() { builder_.AddChunk(MakeResType("STR#"), 129, "strings", std::vector<uint8_t>{0xFF, 0xFF, 0, 0}); }
    std::vector<uint8_t> Build() const { return builder_.Build(IffBuilder::Map::Written); }

private:
    IffBuilder builder_;
};

std::vector<uint8_t> WorkingFileBytes(int layout)
{
    ObjectFileBuilder b;
    b.Strings();
    switch (layout) {
    case 0:
        b.Object(128, 100, 1);
        b.Group(100, {200});
        b.Sprite(200, 200);
        b.Palette(200);
        break;
    case 1:
    case 2:
    case 3: {
        b.Object(128, 0, 0, 1, -1);
        const int16_t places[3] = {0x0000, 0x0100, layout == 2 ? int16_t{0x0001} : int16_t{0x0101}};
        const int tiles = layout == 1 ? 2 : 3;
        for (int t = 0; t < tiles; ++t) {
            b.Object(static_cast<int16_t>(129 + t), static_cast<int16_t>(100 + t), 1, 1, places[t],
                     layout == 3 && t == 2 ? 1 : 0);
            b.Group(static_cast<int16_t>(100 + t), {200 + t});
            b.Sprite(static_cast<int16_t>(200 + t), 200);
        }
        b.Palette(200);
        break;
    }
    case 4:
        b.Object(128, 100, 2);
        b.Group(100, {200, 201});
        b.Group(101, {201});
        b.Group(300, {200});
        b.Sprite(200, 60);
        b.Sprite(201, 60, kTypeSPR);
        b.Palette(60);
        break;
    default:
        b.Object(128, 0, 0, 1, -1);
        b.Object(129, 0, 0, 1, 0x0000);
        b.Object(130, 0, 0, 1, 0x0001);
        break;
    }
    return b.Build();
}

// ---- the scene ----

float Float(ByteReader& r)
{
    return std::bit_cast<float>(r.u32le());
}

// A mesh's arrays, which the mesh points into and its maker keeps.
struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<MeshFace> faces;
    MeshTexCoord texCoord{};
    MeshPart part{};
};

void AddRecords(COGLScene& scene, ByteReader& r, std::vector<std::unique_ptr<MeshData>>& meshes)
{
    constexpr size_t kMostObjects = 12;
    for (size_t n = 0; n < kMostObjects && r.remaining() >= 57; ++n) {
        const uint8_t kind = r.u8() % 14;
        const uint8_t flags = r.u8();
        float v[14];
        for (float& f : v)
            f = Float(r);
        std::unique_ptr<COGLObject> object;
        if (kind == 12) {
            const int32_t count = 4 + r.u8() % 61;
            auto mesh = std::make_unique<MeshData>();
            mesh->vertices.resize(static_cast<size_t>(count));
            for (MeshVertex& vertex : mesh->vertices)
                vertex = {Float(r), Float(r), Float(r)};
            mesh->faces.resize(static_cast<size_t>(count));
            for (MeshFace& face : mesh->faces)
                face = {{r.u8() % count, r.u8() % count, r.u8() % count}, {0, 0, 0}};
            if (!r.ok())
                return;
            mesh->part = {"fuzz", mesh->faces.data(), count, mesh->vertices.data(), count, &mesh->texCoord, 1};
            object = std::make_unique<COGLMesh>(MeshSet{"fuzz", 1, &mesh->part, 1, 1, 1});
            meshes.push_back(std::move(mesh));
        } else if (auto made = CreateObjectOfKind(static_cast<ObjectKind>(kind))) {
            object = std::move(made);
        } else {
            continue;
        }
        object->SetPosition(v[0], v[1], v[2]);
        object->SetScale(v[3], v[4], v[5]);
        object->RotateAxisAngle({v[6], v[7], v[8]}, v[9]);
        object->SetDiffuse(v[10], v[11], v[12], v[13]);
        object->SetTransparent(flags & 1);
        if (flags & 2)
            object->Hide();
        scene.AddObject(std::move(object));
    }
}

// ---- the checks ----

using fuzz::ReadResources;
using fuzz::Resources;

bool OwnedByBakes(ResType type)
{
    return type == kTypeSPR2 || type == kTypeSPR || type == kTypePALT || type == kTypeDGRP || type == kTypeOBJD;
}

void CheckWritten(const std::string& path, const Resources& before, size_t listed, const BakeResult& result)
{
    const Resources after = ReadResources(path);
    for (const auto& [key, bytes] : before)
        if (!OwnedByBakes(key.first))
            fuzz::Check(after.count(key) && after.at(key) == bytes, "resources the bake does not own stay",
                        ResTypeName(key.first) + " " + std::to_string(key.second));
    std::unique_ptr<CObjectFile> file = OpenWorkingObjectFile(path);
    fuzz::Check(file != nullptr, "the written file opens as the working object file");
    fuzz::Check(file->ListedObjects().size() == listed, "with the same objects listed");
    CTGResFile& container = file->Container();
    fuzz::Check(Palette::Load(container, result.paletteId) != nullptr, "its palette decodes");
    for (const int16_t id : result.drawGroupIds) {
        CTGDrawGroup group;
        fuzz::Check(group.Load(container, id) == kResOk && group.ImageCount() == kGameImages,
                    "a written draw group holds twelve images", std::to_string(id));
        for (const DrawGroupImage& image : group.Images()) {
            fuzz::Check(image.sprites.size() <= 1, "one reference an image at most");
            for (const DrawGroupSprite& reference : image.sprites) {
                SpriteFrame frame;
                const uint32_t made =
                    LoadSprite(container, static_cast<int16_t>(reference.spriteId), reference.value1, {}, frame);
                fuzz::Check(made == (kSpriteLoaded | kSpriteAllPlanes) && frame.status.ok(),
                            "every frame shown decodes whole", frame.status.message);
                fuzz::Check(frame.info.paletteId == result.paletteId, "with the object's palette");
            }
        }
    }
    const CObjectEntry& object = *file->ListedObjects().front();
    std::vector<std::span<const uint8_t>> members;
    for (const CObjectEntry* member : object.Members())
        members.push_back(member->Definition().Bytes());
    const std::vector<PreviewTile> tiles = PreviewTilesOf(object.Definition().Bytes(), members);
    for (int image = 0; image < kGameImages; ++image) {
        const ObjectPreview preview = ComposeObjectPreview(container, tiles, image);
        fuzz::Check(preview.notes.empty(), "every image composes without a note",
                    preview.notes.empty() ? "" : preview.notes.front());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Silent silent;
    SetReporter(&silent);
    static std::string error;
    static const std::unique_ptr<HeadlessGLContext> context = HeadlessGLContext::Create(16, 16, error);
    fuzz::Check(context != nullptr, "an off-screen context", error);
    static ActiveGLContextScope active(*context);
    context->BeginGL();

    ByteReader r({data, size});
    const int layout = r.u8() % 6;
    const uint8_t steer = r.u8();
    const std::string path = fuzz::ScratchFolder() + "/zeltemp.iff";
    const std::vector<uint8_t> original = WorkingFileBytes(layout);
    fuzz::WriteWholeFile(path, original.data(), original.size());
    const Resources before = ReadResources(path);

    std::vector<std::unique_ptr<MeshData>> meshes;
    {
        auto scene = std::make_unique<COGLScene>();
        scene->AddLight(std::make_unique<COGLPointLight>(-6.0f, 8.0f, 6.0f));
        const std::span<const uint8_t> rest = std::span<const uint8_t>(data, size).subspan(std::min<size_t>(size, 2));
        if (rest.size() >= scene_file::kHeaderSize &&
            std::equal(scene_file::kMagic.begin(), scene_file::kMagic.end(), rest.begin())) {
            SceneFileReader reader(rest, scene_file::kHeaderSize);
            static_cast<void>(scene->LoadScene(reader, fuzz::ScratchFolder() + "/scene.cgs"));
        } else {
            AddRecords(*scene, r, meshes);
        }

        std::unique_ptr<CObjectFile> file = OpenWorkingObjectFile(path);
        fuzz::Check(file != nullptr && !file->ListedObjects().empty(), "the working file opens");
        const size_t listed = file->ListedObjects().size();
        BakeRequest request;
        request.scene = scene.get();
        request.objects = BakeableObjects(*scene);
        request.file = file.get();
        request.filePath = path;
        request.object = file->ListedObjects().front();
        request.options.render.samples = (steer & 1) ? 2 : 1;
        request.options.dither = (steer & 2) != 0;
        const BakeResult result = BakeSprites(request);
        file.reset();
        fuzz::Check(result.outcome != BakeOutcome::Cancelled, "nobody cancelled");
        if (result.outcome == BakeOutcome::Failed)
            fuzz::Check(fuzz::ReadWholeFile(path) == original, "a failed bake leaves the file as it was", result.error);
        else
            CheckWritten(path, before, listed, result);
        scene.reset();
    }
    CTGFileSystem::Instance().Reset();
    context->EndGL();
    return 0;
}
