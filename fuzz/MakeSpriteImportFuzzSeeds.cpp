// Writes the seed inputs of fuzz_sprite_import: manifests as the export
// writes them for its object file (a file a frame, a sheet), with good and
// bad pictures.
//
// Usage: make_sprite_import_fuzz_seeds CORPUS_FOLDER

#include "fuzz/SeedFile.h"
#include "pngio/PngCodec.h"
#include "spriteio/SpriteManifest.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace zelvane;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Png(uint32_t width, uint32_t height, PngChannels channels)
{
    PngImage image{width, height, channels, {}};
    image.pixels.resize(image.RowBytes() * height);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<uint8_t>(i * 37 + (i % 4 == 3 ? 255 : 0));
    Bytes png;
    std::string error;
    if (!EncodePng(image, png, error))
        std::fprintf(stderr, "%s\n", error.c_str());
    return png;
}

SpriteManifest Manifest(bool sheet, bool withOldSprite = true)
{
    SpriteManifest m;
    m.objectFile = "object.iff";
    ManifestObject object{128, "object", 0x1234, {{128, 0, 0, 0}}, std::nullopt};
    if (sheet)
        object.sheet = ManifestSheet{"sheet.png", "sheet-depth.png", 4, 3};
    m.objects.push_back(object);
    ManifestSprite a{200, "SPR2", 128, {}};
    ManifestSprite b{201, "SPR#", 128, {}};
    for (const auto& [size, sprite] : {std::pair{std::array<int, 4>{4, 3, 1, 2}, &a},
                                       std::pair{std::array<int, 4>{4, 3, -3, 7}, &a},
                                       std::pair{std::array<int, 4>{2, 2, 0, 0}, &b}}) {
        ManifestFrame f;
        f.width = size[0];
        f.height = size[1];
        f.originX = size[2];
        f.originY = size[3];
        f.paletteId = 200;
        f.shown = ManifestPlace{0, 0, 0};
        if (!sheet || f.width == 2) {
            // Sprite 201's 2 × 2 pictures start with "b": the second colour PNG.
            f.image = (sprite == &b ? "b" : "f") + std::to_string(sprite->frames.size()) + std::to_string(sprite->id) +
                      ".png";
            f.depth = "depth-" + f.image;
        }
        sprite->frames.push_back(f);
    }
    m.sprites = {a};
    if (withOldSprite)
        m.sprites.push_back(b);
    return m;
}

Bytes Input(const std::string& manifest, const Bytes& colour, const Bytes& depth, const Bytes& other = {})
{
    Bytes input(manifest.begin(), manifest.end());
    input.push_back(0);
    for (const Bytes* png : {&colour, &other}) {
        const auto length = static_cast<uint32_t>(png->size());
        for (int i = 0; i < 4; ++i)
            input.push_back(static_cast<uint8_t>(length >> (8 * i)));
        input.insert(input.end(), png->begin(), png->end());
    }
    input.insert(input.end(), depth.begin(), depth.end());
    return input;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "fuzz_sprite_import";
    const std::string frames = WriteSpriteManifest(Manifest(false));
    const std::string sheet = WriteSpriteManifest(Manifest(true));
    const Bytes rgba = Png(4, 3, PngChannels::Rgba), grey = Png(4, 3, PngChannels::Grey);
    bool ok = true;
    // Without a second colour PNG, sprite 201's 2 × 2 frame has no picture.
    ok &= fuzz::WriteSeed(folder, "frames", Input(frames, rgba, grey));
    // Both sprites, without depth pictures: the 'SPR#' one becomes an 'SPR2'.
    ok &= fuzz::WriteSeed(folder, "both-sprites", Input(frames, rgba, {}, Png(2, 2, PngChannels::Rgba)));
    // Sprite 200 alone: the import goes through.
    ok &= fuzz::WriteSeed(folder, "imported", Input(WriteSpriteManifest(Manifest(false, false)), rgba, grey));
    ok &= fuzz::WriteSeed(folder, "imported-sheet", Input(WriteSpriteManifest(Manifest(true, false)), rgba, {}));
    ok &= fuzz::WriteSeed(folder, "frames-without-depth", Input(frames, rgba, {}));
    ok &= fuzz::WriteSeed(folder, "sheet", Input(sheet, rgba, grey));
    ok &= fuzz::WriteSeed(folder, "small-pictures", Input(frames, Png(2, 2, PngChannels::Rgb), Png(2, 2, PngChannels::Grey)));
    Bytes huge = rgba;
    huge[18] = huge[22] = 0x9C; // 40000 wide and high, the header's checksum now wrong
    huge[19] = huge[23] = 0x40;
    huge[16] = huge[17] = huge[20] = huge[21] = 0;
    ok &= fuzz::WriteSeed(folder, "huge-header", Input(frames, huge, grey));
    ok &= fuzz::WriteSeed(folder, "not-png", Input(frames, Bytes{'n', 'o', 'p', 'e'}, {}));
    ok &= fuzz::WriteSeed(folder, "not-json", Input(frames.substr(0, frames.size() / 2), rgba, grey));
    std::string escape = frames;
    escape.replace(escape.find("f0200.png"), 9, "../x.png");
    ok &= fuzz::WriteSeed(folder, "escaping-name", Input(escape, rgba, grey));
    std::string more = frames;
    more.replace(more.find("\"frame\": 1"), 10, "\"frame\": 7");
    ok &= fuzz::WriteSeed(folder, "frame-out-of-order", Input(more, rgba, grey));
    return ok ? 0 : 1;
}
