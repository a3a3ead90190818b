// Decodes arbitrary bytes as a draw group. Besides the sanitizers it checks
// that a failed decode leaves the group empty, that counts never exceed what
// the bytes could hold, that values a version does not store are 0, and that
// what was decoded, encoded again in the same version, decodes to the same group.

#include "bytes/ByteWriter.h"
#include "fuzz/FuzzSupport.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/ResErrors.h"

#include <string>

using namespace zelvane;

namespace {

constexpr uint16_t kLastShortVersion = 20002;
constexpr uint16_t kFirstVersionWithValue4 = 20001;
constexpr uint16_t kFirstVersionWithValues56 = 20004;
constexpr uint16_t kKeptTag = 0xFFFD;

// The group in the layout of `version`; short-layout references all get the kept tag.
std::vector<uint8_t> Encode(const CTGDrawGroup& group)
{
    const uint16_t version = group.Version();
    ByteWriter out;
    out.u16le(version);
    if (version <= kLastShortVersion) {
        out.u16le(static_cast<uint16_t>(group.ImageCount()));
        for (const DrawGroupImage& image : group.Images()) {
            out.u16le(static_cast<uint16_t>(image.sprites.size()));
            out.u8(static_cast<uint8_t>(image.direction));
            out.u8(static_cast<uint8_t>(image.zoom));
            for (const DrawGroupSprite& s : image.sprites) {
                out.u16le(kKeptTag);
                out.u16le(static_cast<uint16_t>(s.spriteId));
                out.u16le(static_cast<uint16_t>(s.value1));
                out.u16le(static_cast<uint16_t>(s.flags));
                out.u16le(static_cast<uint16_t>(s.value2));
                out.u16le(static_cast<uint16_t>(s.value3));
                if (version >= kFirstVersionWithValue4)
                    out.u32le(s.value4);
            }
        }
    } else {
        out.u32le(static_cast<uint32_t>(group.ImageCount()));
        for (const DrawGroupImage& image : group.Images()) {
            out.u32le(static_cast<uint32_t>(image.direction));
            out.u32le(static_cast<uint32_t>(image.zoom));
            out.u32le(static_cast<uint32_t>(image.sprites.size()));
            for (const DrawGroupSprite& s : image.sprites) {
                for (int32_t v : {s.spriteId, s.value1, s.value2, s.value3})
                    out.u32le(static_cast<uint32_t>(v));
                out.u32le(s.value4);
                out.u32le(static_cast<uint32_t>(s.flags));
                if (version >= kFirstVersionWithValues56) {
                    out.u32le(s.value5);
                    out.u32le(s.value6);
                }
            }
        }
    }
    return out.take();
}

bool Same(const DrawGroupSprite& a, const DrawGroupSprite& b)
{
    return a.spriteId == b.spriteId && a.value1 == b.value1 && a.value2 == b.value2 && a.value3 == b.value3 &&
           a.value4 == b.value4 && a.value5 == b.value5 && a.value6 == b.value6 && a.flags == b.flags;
}

void CheckShortLayoutRanges(const CTGDrawGroup& group)
{
    for (const DrawGroupImage& image : group.Images()) {
        fuzz::Check(image.direction >= -128 && image.direction <= 127 && image.zoom >= -128 && image.zoom <= 127,
                    "a short-layout direction or zoom outside a signed byte");
        for (const DrawGroupSprite& s : image.sprites) {
            for (int32_t v : {s.spriteId, s.value1, s.value2, s.value3, s.flags})
                fuzz::Check(v >= -32768 && v <= 32767, "a short-layout field outside 16 bits");
            fuzz::Check(s.value5 == 0 && s.value6 == 0, "a short-layout reference has values 5 and 6");
            if (group.Version() < kFirstVersionWithValue4)
                fuzz::Check(s.value4 == 0, "version 20000 has a value 4");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CTGDrawGroup group;
    const int32_t result = group.Decode({data, size});
    fuzz::Check(result == kResOk || result == kErrBadLayout, "Decode returned an unexpected code",
                std::to_string(result));
    if (result != kResOk) {
        fuzz::Check(group.ImageCount() == 0, "a failed decode left images behind");
        return 0;
    }
    // Every image takes at least 4 bytes and every kept reference at least 12.
    fuzz::Check(group.ImageCount() <= size / 4, "more images than the bytes can hold");
    size_t sprites = 0;
    for (const DrawGroupImage& image : group.Images())
        sprites += image.sprites.size();
    fuzz::Check(sprites <= size / 12, "more sprite references than the bytes can hold");
    if (group.Version() <= kLastShortVersion)
        CheckShortLayoutRanges(group);
    else if (group.Version() < kFirstVersionWithValues56)
        for (const DrawGroupImage& image : group.Images())
            for (const DrawGroupSprite& s : image.sprites)
                fuzz::Check(s.value5 == 0 && s.value6 == 0, "version 20003 has values 5 and 6");

    const std::vector<uint8_t> encoded = Encode(group);
    CTGDrawGroup again;
    fuzz::Check(again.Decode(encoded) == kResOk, "a re-encoded group does not decode");
    fuzz::Check(again.Version() == group.Version() && again.ImageCount() == group.ImageCount(),
                "the round trip changed the version or the image count");
    for (size_t i = 0; i < group.ImageCount(); ++i) {
        const DrawGroupImage& a = group.Image(i);
        const DrawGroupImage& b = again.Image(i);
        fuzz::Check(a.direction == b.direction && a.zoom == b.zoom && a.sprites.size() == b.sprites.size(),
                    "the round trip changed an image", std::to_string(i));
        for (size_t j = 0; j < a.sprites.size(); ++j)
            fuzz::Check(Same(a.sprites[j], b.sprites[j]), "the round trip changed a sprite reference",
                        std::to_string(i) + "/" + std::to_string(j));
    }
    return 0;
}
