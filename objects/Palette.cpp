#include "objects/Palette.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"

namespace zelvane {

uint8_t Palette::NearestIndex(Rgb colour) const
{
    size_t best = 0;
    int bestDistance = 3 * 255 * 255 + 1;
    for (size_t i = 0; i < kSize; ++i) {
        const int dr = entries_[i].red - colour.red;
        const int dg = entries_[i].green - colour.green;
        const int db = entries_[i].blue - colour.blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

const std::shared_ptr<const Palette>& Palette::Default()
{
    static const std::shared_ptr<const Palette> palette = [] {
        auto p = std::make_shared<Palette>();
        size_t i = 0;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    (*p)[i++] = {static_cast<uint8_t>(r * 51), static_cast<uint8_t>(g * 51),
                                 static_cast<uint8_t>(b * 51)};
        const size_t greys = kSize - i;
        for (size_t k = 0; k < greys; ++k) {
            const auto v = static_cast<uint8_t>(k * 255 / (greys - 1));
            (*p)[i++] = {v, v, v};
        }
        return std::shared_ptr<const Palette>(std::move(p));
    }();
    return palette;
}

const std::shared_ptr<const Palette>& Palette::Grey()
{
    static const std::shared_ptr<const Palette> palette = [] {
        auto p = std::make_shared<Palette>();
        for (size_t i = 0; i < kSize; ++i) {
            const auto v = static_cast<uint8_t>(i);
            (*p)[i] = {v, v, v};
        }
        return std::shared_ptr<const Palette>(std::move(p));
    }();
    return palette;
}

std::optional<Palette> Palette::Decode(std::span<const uint8_t> data)
{
    using namespace palt_layout;
    ByteReader r(data);
    const uint32_t version = r.u32le();
    const uint32_t count = r.u32le();
    if (!r.seek(kEntriesPos) || version > kMaxVersion || count > kSize || count > r.remaining() / kEntrySize)
        return std::nullopt;
    Palette palette;
    for (uint32_t i = 0; i < count; ++i) {
        Rgb& entry = palette.entries_[i];
        entry.red = r.u8();
        entry.green = r.u8();
        entry.blue = r.u8();
    }
    return palette;
}

std::vector<uint8_t> Palette::Encode() const
{
    using namespace palt_layout;
    ByteWriter w;
    w.u32le(kWrittenVersion);
    w.u32le(kSize);
    w.fill(kEntriesPos - w.size(), 0);
    for (const Rgb& entry : entries_) {
        w.u8(entry.red);
        w.u8(entry.green);
        w.u8(entry.blue);
    }
    return w.take();
}

std::shared_ptr<const Palette> Palette::Load(CTGResFile& file, int16_t id)
{
    ResHandle* data = file.GetResource(kTypePALT, id, nullptr);
    if (!data)
        return nullptr;
    std::optional<Palette> palette = Decode(data->Bytes());
    file.ReleaseResource(data);
    if (!palette)
        return nullptr;
    return std::make_shared<const Palette>(*palette);
}

} // namespace zelvane
