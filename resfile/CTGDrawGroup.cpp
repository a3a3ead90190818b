#include "resfile/CTGDrawGroup.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"
#include "resfile/ResType.h"

namespace zelvane {

namespace {

// Versions up to this one use 16-bit fields.
constexpr uint16_t kLastShortVersion = 20002;
constexpr uint16_t kFirstVersionWithValue4 = 20001;
constexpr uint16_t kFirstVersionWithValues56 = 20004;
// Only short-layout references with this tag are kept.
constexpr uint16_t kKeptTag = 0xFFFD;

// Smallest encodings, used to bound the stored counts.
constexpr size_t kShortImageBytes = 4;
constexpr size_t kLongImageBytes = 12;

int32_t Extend16(uint16_t v)
{
    return static_cast<int16_t>(v);
}

} // namespace

void CTGDrawGroup::Set(std::string name, uint16_t version, std::vector<DrawGroupImage> images)
{
    name_ = std::move(name);
    version_ = version;
    images_ = std::move(images);
}

std::vector<uint8_t> CTGDrawGroup::Encode() const
{
    const uint16_t version = version_ > kLastShortVersion ? version_ : kFirstVersionWithValues56;
    ByteWriter w;
    w.u16le(version);
    w.u32le(static_cast<uint32_t>(images_.size()));
    for (const DrawGroupImage& image : images_) {
        w.u32le(static_cast<uint32_t>(image.direction));
        w.u32le(static_cast<uint32_t>(image.zoom));
        w.u32le(static_cast<uint32_t>(image.sprites.size()));
        for (const DrawGroupSprite& sprite : image.sprites) {
            w.u32le(static_cast<uint32_t>(sprite.spriteId));
            w.u32le(static_cast<uint32_t>(sprite.value1));
            w.u32le(static_cast<uint32_t>(sprite.value2));
            w.u32le(static_cast<uint32_t>(sprite.value3));
            w.u32le(sprite.value4);
            w.u32le(static_cast<uint32_t>(sprite.flags));
            if (version >= kFirstVersionWithValues56) {
                w.u32le(sprite.value5);
                w.u32le(sprite.value6);
            }
        }
    }
    return w.take();
}

int32_t CTGDrawGroup::Load(CTGResFile& container, int16_t id)
{
    ResHandle* data = container.GetResource(kTypeDGRP, id, nullptr);
    if (!data)
        return container.GetLastError();
    container.GetResName(data, name_);
    const int32_t result = Decode(data->Bytes());
    container.ReleaseResource(data);
    return result;
}

int32_t CTGDrawGroup::Decode(std::span<const uint8_t> data)
{
    images_.clear();
    ByteReader r(data);
    version_ = r.u16le();
    if (version_ <= kLastShortVersion) {
        const size_t spriteBytes = version_ >= kFirstVersionWithValue4 ? 16 : 12;
        const int32_t imageCount = Extend16(r.u16le());
        if (!r.ok() || imageCount < 0 || static_cast<size_t>(imageCount) > r.remaining() / kShortImageBytes)
            return kErrBadLayout;
        images_.resize(static_cast<size_t>(imageCount));
        for (DrawGroupImage& image : images_) {
            const int32_t spriteCount = Extend16(r.u16le());
            image.direction = static_cast<int8_t>(r.u8());
            image.zoom = static_cast<int8_t>(r.u8());
            if (!r.ok() || spriteCount < 0 || static_cast<size_t>(spriteCount) > r.remaining() / spriteBytes) {
                r.fail();
                break;
            }
            for (int32_t i = 0; i < spriteCount; ++i) {
                DrawGroupSprite sprite;
                const uint16_t tag = r.u16le();
                sprite.spriteId = Extend16(r.u16le());
                sprite.value1 = Extend16(r.u16le());
                sprite.flags = Extend16(r.u16le());
                sprite.value2 = Extend16(r.u16le());
                sprite.value3 = Extend16(r.u16le());
                if (version_ >= kFirstVersionWithValue4)
                    sprite.value4 = r.u32le();
                if (tag == kKeptTag)
                    image.sprites.push_back(sprite);
            }
        }
    } else {
        const uint32_t imageCount = r.u32le();
        if (!r.ok() || imageCount > r.remaining() / kLongImageBytes)
            return kErrBadLayout;
        const size_t spriteBytes = version_ >= kFirstVersionWithValues56 ? 32 : 24;
        images_.resize(imageCount);
        for (DrawGroupImage& image : images_) {
            image.direction = r.i32le();
            image.zoom = r.i32le();
            const uint32_t spriteCount = r.u32le();
            if (!r.ok() || spriteCount > r.remaining() / spriteBytes) {
                r.fail();
                break;
            }
            image.sprites.resize(spriteCount);
            for (DrawGroupSprite& sprite : image.sprites) {
                sprite.spriteId = r.i32le();
                sprite.value1 = r.i32le();
                sprite.value2 = r.i32le();
                sprite.value3 = r.i32le();
                sprite.value4 = r.u32le();
                sprite.flags = r.i32le();
                if (version_ >= kFirstVersionWithValues56) {
                    sprite.value5 = r.u32le();
                    sprite.value6 = r.u32le();
                }
            }
        }
    }
    if (!r.ok()) {
        images_.clear();
        return kErrBadLayout;
    }
    return kResOk;
}

} // namespace zelvane
