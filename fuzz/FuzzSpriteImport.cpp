// Imports a hostile folder of exported sprites into a small object file:
// the manifest and the pictures come from the input.
//
// The input up to its first 0 byte is the manifest's text; then twice a u32
// (little-endian) length and that many bytes of a PNG: the first served for
// every colour picture the manifest names, but those whose name starts with
// "b", which get the second; the rest is a PNG served for every depth
// picture (none when empty). The object file holds OBJD 128, its draw
// group 100, 'SPR2' 200 of two 4 × 3 frames, 'SPR#' 201 of one 2 × 2 frame,
// palette 200 and a string list.
//
// Besides the sanitizers it checks that a manifest that reads is written
// back as text that reads the same; that a failed import names a file and
// leaves the object file byte for byte; and that a successful one leaves
// every other resource's bytes, and both sprites as 'SPR2' with their
// frames' sizes and origins, decoding whole with the new palette.

#include "bytes/ByteReader.h"
#include "fuzz/FuzzSupport.h"
#include "objects/SpriteDecoder.h"
#include "objects/SpriteEncoder.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGIffFile.h"
#include "resfile/IffBuilder.h"
#include "resfile/ResErrors.h"
#include "spriteio/SpriteFrames.h"
#include "spriteio/SpriteManifest.h"
#include "spriteio/png/PngSpriteFolder.h"

#include <algorithm>
#include <map>
#include <string>

using namespace zelvane;

namespace {

SpriteFrame Frame(int width, int height, int originX, int originY)
{
    SpriteFrame frame;
    frame.transparentIndex = 0;
    frame.colour = PlainImage(width, height, 1, 0);
    frame.depth = PlainImage(width, height, 1, 255);
    frame.alpha = PlainImage(width, height, 1, 0);
    for (int y = 0; y < height; ++y)
        for (int x = (y % 2); x < width; x += 2) {
            frame.colour.Row(y)[size_t(x)] = uint8_t(5 + x + y);
            frame.depth.Row(y)[size_t(x)] = uint8_t(100 + y);
            frame.alpha.Row(y)[size_t(x)] = x == 0 ? 0 : 255;
        }
    frame.info.originX = originX;
    frame.info.originY = originY;
    return frame;
}

std::vector<uint8_t> ObjectFileBytes()
{
    IffBuilder b;
    std::vector<uint8_t> objd(216, 0);
    objd[6] = 100; // word 3: first draw group
    objd[8] = 1;   // word 4: one
    b.AddChunk(kTypeOBJD, 128, "object", objd);
    CTGDrawGroup group;
    std::vector<DrawGroupImage> images(12);
    for (int i = 0; i < 12; ++i)
        images[size_t(i)].sprites.push_back({i < 8 ? 200 : 201, i % 2, 0, 0, 0, 0, 0, 0});
    group.Set("group", 20004, images);
    b.AddChunk(kTypeDGRP, 100, "group", group.Encode());
    const SpriteFrame frames[] = {Frame(4, 3, 1, 2), Frame(4, 3, -3, 7)};
    b.AddChunk(kTypeSPR2, 200, "sprite", EncodeSpr2(frames, 200).bytes, 0);
    const SpriteFrame old[] = {Frame(2, 2, 0, 0)};
    b.AddChunk(kTypeSPR, 201, "old sprite", EncodeSpr(old, 200).bytes, 0);
    b.AddChunk(kTypePALT, 200, "palette", Palette().Encode(), 0);
    b.AddChunk(MakeResType("STR#"), 129, "strings", std::vector<uint8_t>{0xFF, 0xFF, 0, 0});
    return b.Build(IffBuilder::Map::Written);
}

using fuzz::ReadResources;
using fuzz::Resources;

// Serves the manifest and the two pictures from memory.
class Reader final : public SpriteImageReader {
public:
    Reader(std::string manifest, std::span<const uint8_t> colour, std::span<const uint8_t> other,
           std::span<const uint8_t> depth)
        : manifest_(std::move(manifest)), colour_(colour), other_(other), depth_(depth)
    {
    }
    bool ReadManifest(std::string& text, std::string&) override
    {
        text = manifest_;
        return true;
    }
    // Depth pictures (named so) are there when the input has one.
    bool Has(const std::string& name) override { return !depth_.empty() || name.find("depth") == std::string::npos; }
    bool ReadImage(const std::string& name, SpriteImageKind kind, int width, int height, PlainImage& image,
                   std::string& error) override
    {
        const std::span<const uint8_t> png =
            kind == SpriteImageKind::Depth ? depth_ : name.rfind('b', 0) == 0 ? other_ : colour_;
        return DecodeSpritePicture(png, kind, width, height, image, error);
    }
    std::string PathOf(const std::string& name) const override { return "folder/" + name; }

private:
    std::string manifest_;
    std::span<const uint8_t> colour_;
    std::span<const uint8_t> other_;
    std::span<const uint8_t> depth_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> input(data, size);
    const auto end = std::find(input.begin(), input.end(), uint8_t{0});
    const std::string text(input.begin(), end);
    ByteReader rest(input.subspan(std::min(size, static_cast<size_t>(end - input.begin()) + 1)));
    auto part = [&rest] {
        const uint32_t length = rest.u32le();
        return rest.ok() ? rest.bytes(std::min<size_t>(length, rest.remaining())) : std::span<const uint8_t>{};
    };
    const std::span<const uint8_t> colour = part();
    const std::span<const uint8_t> other = part();
    const std::span<const uint8_t> depth = rest.ok() ? rest.bytes(rest.remaining()) : std::span<const uint8_t>{};

    SpriteManifest manifest;
    std::string error;
    if (ParseSpriteManifest(text, manifest, error)) {
        SpriteManifest again;
        const std::string written = WriteSpriteManifest(manifest);
        fuzz::Check(ParseSpriteManifest(written, again, error), "a manifest written again reads", error);
        fuzz::Check(WriteSpriteManifest(again) == written, "and reads the same");
    } else {
        fuzz::Check(!error.empty() && manifest.sprites.empty() && manifest.objects.empty(),
                    "a refused manifest says why and leaves nothing");
    }

    static const std::vector<uint8_t> original = ObjectFileBytes();
    const std::string path = fuzz::ScratchFolder() + "/object.iff";
    fuzz::WriteWholeFile(path, original.data(), original.size());
    static const Resources before = ReadResources(path);

    Reader reader(text, colour, other, depth);
    const SpriteImportResult result = ImportSprites(path, reader);
    if (!result.ok()) {
        fuzz::Check(!result.subject.empty(), "a failed import names a file", result.error);
        fuzz::Check(fuzz::ReadWholeFile(path) == original, "a failed import leaves the file as it was", result.error);
    } else {
        fuzz::Check(result.previousBytes == original, "the bytes for undo are the file as it was");
        const Resources after = ReadResources(path);
        for (const auto& [key, bytes] : before)
            if (key.first != kTypeSPR2 && key.first != kTypeSPR && key.first != kTypePALT)
                fuzz::Check(after.count(key) && after.at(key) == bytes, "other resources keep their bytes",
                            ResTypeName(key.first) + " " + std::to_string(key.second));
        fuzz::Check(!after.count({kTypeSPR, 201}) || !after.count({kTypeSPR2, 201}), "one sprite an id");
        CTGIffFile file;
        file.SetOpenReadOnly(true);
        fuzz::Check(file.OpenContainer(path) == kResOk, "the written file opens");
        for (const auto& [id, sizes] : std::map<int16_t, std::vector<std::array<int, 4>>>{
                 {200, {{4, 3, 1, 2}, {4, 3, -3, 7}}}, {201, {{2, 2, 0, 0}}}}) {
            const WholeSprite sprite = LoadWholeSprite(file, id, 16);
            fuzz::Check(sprite.ok(), "a sprite decodes whole", sprite.error);
            fuzz::Check(sprite.frames.size() == sizes.size(), "with its frames");
            for (size_t f = 0; f < sizes.size(); ++f) {
                const SpriteFrame& frame = sprite.frames[f];
                fuzz::Check(frame.colour.Width() == sizes[f][0] && frame.colour.Height() == sizes[f][1] &&
                                frame.info.originX == sizes[f][2] && frame.info.originY == sizes[f][3],
                            "a frame keeps its size and origin");
                const bool imported = std::any_of(manifest.sprites.begin(), manifest.sprites.end(),
                                                  [&](const ManifestSprite& s) { return s.id == id; });
                if (imported)
                    fuzz::Check(frame.info.format == SpriteFormat::Spr2 && Palette::Load(file, int16_t(frame.info.paletteId)),
                                "an imported frame is SPR2 with its palette");
            }
        }
        static_cast<void>(file.CloseContainer());
    }
    CTGFileSystem::Instance().Reset();
    return 0;
}
