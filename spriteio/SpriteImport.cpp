#include "spriteio/SpriteImport.h"

// Sections: the manifest against the file; the pictures; pixels; palettes
// and frames; the write; the import.

#include "bake/BakePlan.h"
#include "bake/SpritePalette.h"
#include "objects/ObjectFileOpener.h"
#include "objects/SpriteEncoder.h"
#include "objects/SpriteLayout.h"
#include "resfile/CTGFile.h"
#include "resfile/CTGIffFile.h"
#include "resfile/FileReplacement.h"
#include "resfile/ResErrors.h"
#include "spriteio/SpriteFrames.h"
#include "spriteio/SpriteManifest.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>
#include <set>

namespace zelvane {

namespace {

struct Failure {
    std::string subject;
    std::string error;
};

std::string SizeText(int width, int height)
{
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

std::string FrameText(int16_t sprite, size_t frame)
{
    return "sprite " + std::to_string(sprite) + " frame " + std::to_string(frame);
}

// ---- the manifest against the file ----

// Empty when the file's sprite has the manifest's frames, else what differs.
std::string Mismatch(const ManifestSprite& listed, const WholeSprite& held)
{
    if (listed.frames.size() != held.frames.size())
        return "sprite " + std::to_string(listed.id) + " has " + std::to_string(held.frames.size()) +
               " frames in the object file, the manifest lists " + std::to_string(listed.frames.size());
    for (size_t f = 0; f < listed.frames.size(); ++f) {
        const ManifestFrame& m = listed.frames[f];
        const SpriteFrame& h = held.frames[f];
        if (m.width != h.colour.Width() || m.height != h.colour.Height())
            return FrameText(listed.id, f) + " is " + SizeText(h.colour.Width(), h.colour.Height()) +
                   " in the object file, the manifest says " + SizeText(m.width, m.height);
        if (m.originX != h.info.originX || m.originY != h.info.originY)
            return FrameText(listed.id, f) + " has its origin at (" + std::to_string(h.info.originX) + ", " +
                   std::to_string(h.info.originY) + ") in the object file, the manifest says (" +
                   std::to_string(m.originX) + ", " + std::to_string(m.originY) + ")";
    }
    return {};
}

// ---- the pictures ----

struct Sheet {
    PlainImage colour;
    PlainImage depth; // null when the depth sheet is not there
};

// The pixels of `from` at (x, y) of `picture`'s size.
PlainImage Cut(const PlainImage& from, int x, int y, int width, int height)
{
    PlainImage cut(width, height, from.BytesPerPixel(), 0);
    cut.SetOrder(from.Order());
    const size_t bytes = static_cast<size_t>(width) * from.BytesPerPixel();
    for (int row = 0; row < height; ++row)
        std::copy_n(from.Row(y + row).begin() + static_cast<ptrdiff_t>(x) * from.BytesPerPixel(), bytes,
                    cut.Row(row).begin());
    return cut;
}

class Pictures {
public:
    explicit Pictures(SpriteImageReader& reader) : reader_(reader) {}

    // The colour and (when there is one) depth picture of a frame.
    bool Read(const ManifestObject& owner, const ManifestFrame& frame, PlainImage& colour, PlainImage& depth,
              Failure& failure)
    {
        if (!frame.InSheet()) {
            if (!ReadOne(frame.image, SpriteImageKind::Colour, frame.width, frame.height, colour, failure))
                return false;
            depth = {};
            return frame.depth.empty() || !reader_.Has(frame.depth) ||
                   ReadOne(frame.depth, SpriteImageKind::Depth, frame.width, frame.height, depth, failure);
        }
        const ManifestSheet& sheet = *owner.sheet;
        auto it = sheets_.find(owner.id);
        if (it == sheets_.end()) {
            Sheet read;
            if (!ReadOne(sheet.image, SpriteImageKind::Colour, sheet.width, sheet.height, read.colour, failure))
                return false;
            if (!sheet.depth.empty() && reader_.Has(sheet.depth) &&
                !ReadOne(sheet.depth, SpriteImageKind::Depth, sheet.width, sheet.height, read.depth, failure))
                return false;
            it = sheets_.emplace(owner.id, std::move(read)).first;
        }
        colour = Cut(it->second.colour, frame.sheetX, frame.sheetY, frame.width, frame.height);
        depth = it->second.depth.IsNull() ? PlainImage()
                                          : Cut(it->second.depth, frame.sheetX, frame.sheetY, frame.width, frame.height);
        return true;
    }

private:
    bool ReadOne(const std::string& name, SpriteImageKind kind, int width, int height, PlainImage& image,
                 Failure& failure)
    {
        std::string error;
        if (!reader_.ReadImage(name, kind, width, height, image, error)) {
            failure = {reader_.PathOf(name), error};
            return false;
        }
        const int bytes = kind == SpriteImageKind::Colour ? 4 : 1;
        if (image.Width() != width || image.Height() != height || image.BytesPerPixel() != bytes) {
            failure = {reader_.PathOf(name), "is " + SizeText(image.Width(), image.Height()) + ", not the " +
                                                 SizeText(width, height) + " it should be"};
            return false;
        }
        return true;
    }

    SpriteImageReader& reader_;
    std::map<int16_t, Sheet> sheets_;
};

// ---- pixels ----

enum class PixelUse : uint8_t { Skipped, Drawn, DrawnUnseen }; // DrawnUnseen: drawn with alpha 0

struct PaintedFrame {
    BakedImage pixels;          // colour, alpha as kept, depth
    std::vector<PixelUse> use;
};

enum class DepthSource : uint8_t { None, Known, Wanted };

// Depth 255 on a drawn pixel the frame did not draw before: the depth of the
// nearest known pixel of its row, else of its column, else the farthest
// drawable.
void FillWantedDepths(BakedImage& image, std::vector<DepthSource>& source)
{
    const int w = image.width, h = image.height;
    // Along one line of `count` pixels at `index(i)`: each wanted pixel takes
    // the nearest known one's depth (two sweeps).
    auto fill = [&](int count, auto index) {
        std::vector<int> before(static_cast<size_t>(count), -1);
        for (int i = 0, last = -1; i < count; ++i) {
            if (source[index(i)] == DepthSource::Known)
                last = i;
            before[static_cast<size_t>(i)] = last;
        }
        std::vector<std::pair<size_t, uint8_t>> found;
        for (int i = count - 1, after = -1; i >= 0; --i) {
            if (source[index(i)] == DepthSource::Known) {
                after = i;
                continue;
            }
            if (source[index(i)] != DepthSource::Wanted)
                continue;
            const int b = before[static_cast<size_t>(i)];
            const int from = b < 0 ? after : after < 0 ? b : (i - b <= after - i ? b : after);
            if (from >= 0)
                found.emplace_back(index(i), image.pixels[index(from)].depth);
        }
        // Filled pixels do not pass their depth on along the same line.
        for (const auto& [p, depth] : found) {
            image.pixels[p].depth = depth;
            source[p] = DepthSource::Known;
        }
    };
    for (int y = 0; y < h; ++y)
        fill(w, [&](int x) { return static_cast<size_t>(y) * w + x; });
    for (int x = 0; x < w; ++x)
        fill(h, [&](int y) { return static_cast<size_t>(y) * w + x; });
    for (size_t p = 0; p < source.size(); ++p)
        if (source[p] == DepthSource::Wanted)
            image.pixels[p].depth = kEmptyDepth - 1;
}

PaintedFrame Paint(const SpriteFrame& original, const PlainImage& colour, const PlainImage& depth)
{
    PaintedFrame painted;
    const int w = original.colour.Width(), h = original.colour.Height();
    painted.pixels.Resize(w, h);
    painted.use.assign(static_cast<size_t>(w) * h, PixelUse::Skipped);
    std::vector<DepthSource> source(painted.use.size(), DepthSource::None);
    bool anyWanted = false;
    for (int y = 0; y < h; ++y) {
        const std::span<const uint8_t> row = colour.Row(y);
        for (int x = 0; x < w; ++x) {
            const size_t p = static_cast<size_t>(y) * w + x;
            const uint8_t* rgba = &row[static_cast<size_t>(x) * 4];
            const uint8_t alpha = SpriteAlpha(rgba[3]);
            const uint8_t d = depth.IsNull() ? original.depth.PixelByte(x, y) : depth.PixelByte(x, y);
            const bool wasSkipped = IsSkippedPixel(original, x, y);
            BakedPixel& pixel = painted.pixels.pixels[p];
            pixel = {rgba[0], rgba[1], rgba[2], alpha, d, 0};
            if (alpha == 0) {
                // Kept only where the frame drew an unseen pixel already.
                if (!wasSkipped && original.alpha.PixelByte(x, y) == kEmptyAlpha && d != kEmptyDepth) {
                    painted.use[p] = PixelUse::DrawnUnseen;
                    source[p] = DepthSource::Known;
                }
                continue;
            }
            painted.use[p] = PixelUse::Drawn;
            if (d != kEmptyDepth) {
                source[p] = DepthSource::Known;
            } else if (wasSkipped) {
                source[p] = DepthSource::Wanted;
                anyWanted = true;
            }
        }
    }
    if (anyWanted)
        FillWantedDepths(painted.pixels, source);
    return painted;
}

// ---- palettes and frames ----

SpriteFrame FrameOf(const PaintedFrame& painted, const std::vector<uint8_t>& indices, const SpritePalette& palette,
                    const SpriteFrame& original, int16_t paletteId)
{
    const BakedImage& image = painted.pixels;
    SpriteFrame frame;
    frame.transparentIndex = kBakedTransparentIndex;
    frame.colour = PlainImage(image.width, image.height, 1, kBakedTransparentIndex);
    frame.depth = PlainImage(image.width, image.height, 1, kEmptyDepth);
    frame.alpha = PlainImage(image.width, image.height, 1, kEmptyAlpha);
    frame.info.originX = original.info.originX;
    frame.info.originY = original.info.originY;
    frame.info.paletteId = paletteId;
    for (int y = 0; y < image.height; ++y) {
        const std::span<uint8_t> colour = frame.colour.Row(y);
        const std::span<uint8_t> depth = frame.depth.Row(y);
        const std::span<uint8_t> alpha = frame.alpha.Row(y);
        for (int x = 0; x < image.width; ++x) {
            const size_t p = static_cast<size_t>(y) * image.width + x;
            if (painted.use[p] == PixelUse::Skipped)
                continue;
            const BakedPixel& pixel = image.pixels[p];
            const bool unseen = painted.use[p] == PixelUse::DrawnUnseen;
            colour[static_cast<size_t>(x)] =
                unseen ? (palette.coloursUsed > 0 ? NearestIndex(palette, {pixel.red, pixel.green, pixel.blue}) : 0)
                       : indices[p];
            depth[static_cast<size_t>(x)] = pixel.depth;
            alpha[static_cast<size_t>(x)] = pixel.alpha;
        }
    }
    return frame;
}

// ---- the write ----

struct NewSprite {
    int16_t id;
    std::vector<uint8_t> bytes;
};

struct NewPalette {
    int16_t id;
    std::string name;
    std::vector<uint8_t> bytes;
};

int32_t ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    CTGFile file;
    int32_t code = file.OpenReadOnly(path);
    uint64_t size = 0;
    if (code == kResOk)
        code = file.GetEOF(size);
    if (code == kResOk && size > std::numeric_limits<uint32_t>::max())
        code = kErrCannotOpen;
    if (code == kResOk) {
        bytes.resize(static_cast<size_t>(size));
        code = bytes.empty() ? kResOk : file.Read(bytes.data(), static_cast<uint32_t>(size));
    }
    file.Close();
    return code;
}

int32_t PutBytes(CTGResFile& file, ResHandle* existing, std::span<const uint8_t> bytes, ResType type, int16_t id,
                 const std::string& name)
{
    if (existing) {
        if (!existing->Resize(static_cast<uint32_t>(bytes.size())))
            return kErrNoCompactionMemory;
        std::memcpy(existing->Data(), bytes.data(), bytes.size());
        return file.WriteResource(existing);
    }
    ResHandle* handle = ResHandle::CreateFrom(bytes);
    if (!handle)
        return kErrNoCompactionMemory;
    // Real files keep sprites and palettes unconverted.
    if (const int32_t error = file.AddResource(handle, type, id, name, ResConverted::No); error != kResOk) {
        ResHandle::Dispose(handle);
        return error;
    }
    return file.WriteResource(handle);
}

// Writes the new sprites and palettes into a copy of the file beside it and
// puts the copy in its place.
Failure Write(const std::string& path, const std::vector<NewSprite>& sprites, const std::vector<NewPalette>& palettes,
              std::vector<uint8_t>& previous)
{
    FileReplacement replacement(path);
    const std::string& staging = replacement.StagingPath();
    if (const int32_t code = ReadWholeFile(replacement.TargetPath(), previous); code != kResOk)
        return {path, std::string("cannot be read again (") + ResErrorText(code) + ")"};
    if (const int32_t code = replacement.WriteStaging(previous); code != kResOk)
        return {staging, std::string("cannot be written (") + ResErrorText(code) + ")"};
    CTGIffFile file;
    auto fail = [&](const std::string& what, int32_t code) {
        static_cast<void>(file.CloseContainer());
        replacement.Abandon();
        return Failure{staging, what + " (" + ResErrorText(code) + ")"};
    };
    if (const int32_t code = file.OpenContainer(staging); code != kResOk)
        return fail("cannot be opened", code);
    static_cast<void>(file.SyncOnlyAtClose()); // the replacement syncs the whole file once
    for (const NewSprite& sprite : sprites) {
        ResHandle* spr2 = file.GetResource(kTypeSPR2, sprite.id, nullptr);
        ResHandle* spr = file.GetResource(kTypeSPR, sprite.id, nullptr);
        std::string name;
        if (spr)
            file.GetResName(spr, name);
        int32_t code = PutBytes(file, spr2, sprite.bytes, kTypeSPR2, sprite.id, name);
        if (code == kResOk && spr)
            code = file.RemoveResource(spr);
        if (code != kResOk)
            return fail("cannot take SPR2 " + std::to_string(sprite.id), code);
    }
    for (const NewPalette& palette : palettes) {
        ResHandle* old = file.GetResource(kTypePALT, palette.id, nullptr);
        if (const int32_t code = PutBytes(file, old, palette.bytes, kTypePALT, palette.id, palette.name);
            code != kResOk)
            return fail("cannot take PALT " + std::to_string(palette.id), code);
    }
    if (const int32_t code = file.CloseContainer(); code != kResOk) {
        replacement.Abandon();
        return {staging, std::string("cannot be finished (") + ResErrorText(code) + ")"};
    }
    if (const int32_t code = replacement.Commit(); code != kResOk)
        return {path, std::string("cannot be replaced by the new file (") + ResErrorText(code) + ")"};
    return {};
}

} // namespace

// ---- the import ----

SpriteImportResult ImportSprites(const std::string& objectFilePath, SpriteImageReader& images,
                                 const SpriteImportOptions& options)
{
    SpriteImportResult result;
    auto fail = [&](std::string subject, std::string error) {
        result = {};
        result.subject = std::move(subject);
        result.error = std::move(error);
        return result;
    };
    const std::string manifestPath = images.PathOf(kSpriteManifestName);
    std::string text;
    std::string error;
    if (!images.ReadManifest(text, error))
        return fail(manifestPath, error);
    SpriteManifest manifest;
    if (!ParseSpriteManifest(text, manifest, error))
        return fail(manifestPath, error);
    if (manifest.sprites.empty())
        return fail(manifestPath, "names no sprite");

    ObjectFileOpener opener;
    if (!opener.Open(objectFilePath, {.purpose = OpenPurpose::Change, .companions = Companions::Excluded}, error))
        return fail(objectFilePath, error);
    CTGResFile& container = opener.Container();

    // Everything read and checked before anything is made.
    std::vector<WholeSprite> originals;
    for (const ManifestSprite& sprite : manifest.sprites) {
        WholeSprite held = LoadWholeSprite(container, sprite.id, kMaxManifestFrames);
        if (!held.ok())
            return fail(manifestPath, "does not match " + objectFilePath + ": " + held.error);
        if (const std::string differs = Mismatch(sprite, held); !differs.empty())
            return fail(manifestPath, "does not match " + objectFilePath + ": " + differs);
        originals.push_back(std::move(held));
    }
    Pictures pictures(images);
    std::vector<std::vector<PaintedFrame>> painted(manifest.sprites.size());
    for (size_t s = 0; s < manifest.sprites.size(); ++s) {
        const ManifestSprite& sprite = manifest.sprites[s];
        const ManifestObject& owner = *manifest.FindObject(sprite.object);
        for (size_t f = 0; f < sprite.frames.size(); ++f) {
            PlainImage colour;
            PlainImage depth;
            Failure failure;
            if (!pictures.Read(owner, sprite.frames[f], colour, depth, failure))
                return fail(failure.subject, failure.error);
            painted[s].push_back(Paint(originals[s].frames[f], colour, depth));
        }
    }

    // One palette per object, then its sprites.
    std::set<int16_t> importing;
    for (const ManifestSprite& sprite : manifest.sprites)
        importing.insert(sprite.id);
    std::set<int16_t> reserved;
    std::vector<NewSprite> sprites;
    std::vector<NewPalette> palettes;
    for (const ManifestObject& object : manifest.objects) {
        std::vector<size_t> own;
        std::set<int16_t> replaced;
        std::vector<BakedImage> pixels;
        for (size_t s = 0; s < manifest.sprites.size(); ++s)
            if (manifest.sprites[s].object == object.id) {
                own.push_back(s);
                replaced.insert(manifest.sprites[s].id);
                for (const PaintedFrame& frame : painted[s])
                    pixels.push_back(frame.pixels);
            }
        if (own.empty())
            continue;
        NewPalette palette;
        if (!PlanPalette(container, replaced, importing, reserved, object.name, palette.id, palette.name))
            return fail(objectFilePath, "no palette id is free for object " + std::to_string(object.id));
        reserved.insert(palette.id);
        const SpritePalette chosen = ChooseSpritePalette(pixels);
        std::vector<std::vector<uint8_t>> indices;
        for (const BakedImage& image : pixels)
            indices.push_back(IndexImage(image, chosen, options.dithering == Dithering::On));
        result.palettes.push_back(
            {object.id, palette.id, chosen.coloursUsed, PalettePsnr(pixels, indices, chosen.palette)});
        size_t next = 0;
        for (const size_t s : own) {
            std::vector<SpriteFrame> frames;
            for (size_t f = 0; f < painted[s].size(); ++f, ++next)
                frames.push_back(FrameOf(painted[s][f], indices[next], chosen, originals[s].frames[f], palette.id));
            const int16_t id = manifest.sprites[s].id;
            EncodedSprite encoded = EncodeSpr2(frames, palette.id);
            if (!encoded.ok())
                return fail(manifestPath, "sprite " + std::to_string(id) + " cannot be written: " + encoded.error);
            sprites.push_back({id, std::move(encoded.bytes)});
            result.frames += static_cast<int>(frames.size());
        }
        palette.bytes = chosen.palette.Encode();
        palettes.push_back(std::move(palette));
    }
    result.sprites = static_cast<int>(sprites.size());
    originals.clear();
    painted.clear();
    if (const int32_t code = opener.Close(); code != kResOk)
        return fail(objectFilePath, std::string("cannot be closed (") + ResErrorText(code) + ")");

    if (Failure failure = Write(objectFilePath, sprites, palettes, result.previousBytes); !failure.error.empty())
        return fail(failure.subject, failure.error);
    return result;
}

} // namespace zelvane
