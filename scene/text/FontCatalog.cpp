#include "scene/text/FontCatalog.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <tuple>

namespace zelvane {

namespace {

constexpr std::string_view kArial = "Arial";
constexpr std::string_view kArialTwin = "Liberation Sans";
constexpr const char* kDefaultFamily = "sans-serif";

int IntOf(FcPattern* pattern, const char* object, int fallback)
{
    int value = fallback;
    return FcPatternGetInteger(pattern, object, 0, &value) == FcResultMatch ? value : fallback;
}

bool IsOutline(FcPattern* pattern)
{
    FcBool outline = FcFalse;
    return FcPatternGetBool(pattern, FC_OUTLINE, 0, &outline) == FcResultMatch && outline;
}

std::optional<FontFile> FileOf(FcPattern* pattern)
{
    FcChar8* path = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &path) != FcResultMatch || !path)
        return std::nullopt;
    return FontFile{reinterpret_cast<const char*>(path), IntOf(pattern, FC_INDEX, 0), false};
}

bool IsItalic(FcPattern* pattern)
{
    return IntOf(pattern, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
}

// Every outline face of `config`, once under each of its family names.
std::vector<FontCatalog::Face> ListFaces(FcConfig* config)
{
    std::vector<FontCatalog::Face> faces;
    FcPattern* all = FcPatternCreate();
    FcObjectSet* objects =
        FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_SLANT, FC_WEIGHT, FC_WIDTH, FC_OUTLINE, nullptr);
    FcFontSet* set = FcFontList(config, all, objects);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(all);
    if (!set)
        return faces;
    for (int i = 0; i < set->nfont; ++i) {
        FcPattern* font = set->fonts[i];
        const std::optional<FontFile> file = FileOf(font);
        if (!file || !IsOutline(font))
            continue;
        FcChar8* family = nullptr;
        for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &family) == FcResultMatch; ++n)
            faces.push_back({reinterpret_cast<const char*>(family), *file, IsItalic(font),
                             IntOf(font, FC_WEIGHT, FC_WEIGHT_REGULAR), IntOf(font, FC_WIDTH, FC_WIDTH_NORMAL)});
    }
    FcFontSetDestroy(set);
    // Listing order depends on the caches; sorted, every look-up is repeatable.
    std::sort(faces.begin(), faces.end(), [](const auto& a, const auto& b) {
        return std::tie(a.family, a.file.path, a.file.index) < std::tie(b.family, b.file.path, b.file.index);
    });
    return faces;
}

// fontconfig's own choice for the default family.
std::optional<FontFile> DefaultFace(FcConfig* config, bool italic)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(kDefaultFamily));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    std::optional<FontFile> file;
    if (match && IsOutline(match)) {
        file = FileOf(match);
        if (file)
            file->syntheticItalic = italic && !IsItalic(match);
    }
    if (match)
        FcPatternDestroy(match);
    return file;
}

const FontCatalog*& InstalledCatalog()
{
    static const FontCatalog* installed = nullptr;
    return installed;
}

} // namespace

FontCatalog::FontCatalog(std::vector<Face> faces, std::optional<FontFile> fallbackUpright,
                         std::optional<FontFile> fallbackItalic)
    : faces_(std::move(faces)), fallbackUpright_(std::move(fallbackUpright)), fallbackItalic_(std::move(fallbackItalic))
{
}

std::unique_ptr<FontCatalog> FontCatalog::FromSystem()
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        return std::unique_ptr<FontCatalog>(new FontCatalog({}, std::nullopt, std::nullopt));
    std::unique_ptr<FontCatalog> catalog(
        new FontCatalog(ListFaces(config), DefaultFace(config, false), DefaultFace(config, true)));
    FcConfigDestroy(config);
    return catalog;
}

std::unique_ptr<FontCatalog> FontCatalog::FromFolder(const std::string& folder)
{
    FcConfig* config = FcConfigCreate();
    std::unique_ptr<FontCatalog> catalog;
    if (config && FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(folder.c_str())))
        catalog.reset(new FontCatalog(ListFaces(config), DefaultFace(config, false), DefaultFace(config, true)));
    else
        catalog.reset(new FontCatalog({}, std::nullopt, std::nullopt));
    if (config)
        FcConfigDestroy(config);
    return catalog;
}

bool FontCatalog::HasFamily(std::string_view family) const
{
    return FaceOf(family, false).has_value();
}

std::optional<FontFile> FontCatalog::ExactFaceOf(std::string_view family, bool italic) const
{
    const Face* best = nullptr;
    int bestScore = std::numeric_limits<int>::max();
    for (const Face& face : faces_) {
        if (face.family != family)
            continue;
        // The slant decides first, then weight, then width.
        const int score = (face.italic != italic ? 100000 : 0) + std::abs(face.weight - FC_WEIGHT_REGULAR) * 10
            + std::abs(face.width - FC_WIDTH_NORMAL);
        if (score < bestScore) {
            best = &face;
            bestScore = score;
        }
    }
    if (!best)
        return std::nullopt;
    FontFile file = best->file;
    file.syntheticItalic = italic && !best->italic;
    return file;
}

std::optional<FontFile> FontCatalog::FaceOf(std::string_view family, bool italic) const
{
    if (family.empty() || family.size() > kLongestFaceName)
        return std::nullopt;
    if (std::optional<FontFile> file = ExactFaceOf(family, italic))
        return file;
    if (family == kArial)
        return ExactFaceOf(kArialTwin, italic);
    return std::nullopt;
}

std::optional<FontFile> FontCatalog::ClosestFaceOf(std::string_view family, bool italic) const
{
    if (std::optional<FontFile> file = FaceOf(family, italic))
        return file;
    return italic ? fallbackItalic_ : fallbackUpright_;
}

std::vector<std::string> FontCatalog::Families() const
{
    std::vector<std::string> families;
    for (const Face& face : faces_)
        if (families.empty() || families.back() != face.family)
            families.push_back(face.family);
    return families;
}

const FontCatalog& CurrentFontCatalog()
{
    if (const FontCatalog* installed = InstalledCatalog())
        return *installed;
    static const std::unique_ptr<FontCatalog> system = FontCatalog::FromSystem();
    return *system;
}

FontCatalogScope::FontCatalogScope(const FontCatalog& catalog) : previous_(InstalledCatalog())
{
    InstalledCatalog() = &catalog;
}

FontCatalogScope::~FontCatalogScope()
{
    InstalledCatalog() = previous_;
}

} // namespace zelvane
