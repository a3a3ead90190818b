#pragma once
// The outline font families installed on the machine, as fontconfig lists
// them, and the face file to use for a family. Text objects look fonts up by
// family name, exactly and case-sensitively; "Arial", which a Linux machine
// rarely has, is also found as its metric-compatible twin Liberation Sans.
// A font that is missing never ends the program: every look-up can fail, and
// the closest face fontconfig has stands in when text must be drawn anyway.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// One face of a font file, and whether it must be slanted to look italic
// (the family has no italic face of its own).
struct FontFile {
    std::string path;
    int index = 0;
    bool syntheticItalic = false;

    friend bool operator==(const FontFile&, const FontFile&) = default;
};

class FontCatalog {
public:
    // A face name fits the platform's font record in at most 31 characters.
    static constexpr std::size_t kLongestFaceName = 31;

    // The fonts fontconfig knows from the system's configuration.
    static std::unique_ptr<FontCatalog> FromSystem();
    // Only the fonts in `folder` (and below), with no configuration.
    static std::unique_ptr<FontCatalog> FromFolder(const std::string& folder);

    // Whether an outline family of exactly this name is installed ("Arial"
    // also when Liberation Sans is).
    bool HasFamily(std::string_view family) const;
    // The face of `family` nearest to regular weight and width, italic when
    // asked (a slanted upright face when the family has none); nothing when
    // HasFamily is false.
    std::optional<FontFile> FaceOf(std::string_view family, bool italic) const;
    // FaceOf, or when the family is missing fontconfig's default sans-serif
    // face; nothing only when no outline font is installed at all.
    std::optional<FontFile> ClosestFaceOf(std::string_view family, bool italic) const;

    // Every installed outline family name, sorted, each once.
    std::vector<std::string> Families() const;

    // One face under one of its family names (fontconfig's weight and width
    // scales: 80 is regular, 100 normal width).
    struct Face {
        std::string family;
        FontFile file;
        bool italic = false;
        int weight = 0;
        int width = 0;
    };

private:
    FontCatalog(std::vector<Face> faces, std::optional<FontFile> fallbackUpright, std::optional<FontFile> fallbackItalic);
    std::optional<FontFile> ExactFaceOf(std::string_view family, bool italic) const;

    std::vector<Face> faces_;
    std::optional<FontFile> fallbackUpright_;
    std::optional<FontFile> fallbackItalic_;
};

// The catalog text objects and the view's bitmap font use: the system's
// (built on first use and kept for the run), unless a scope installs another.
const FontCatalog& CurrentFontCatalog();

// Installs `catalog` for its scope, then restores the one before.
class FontCatalogScope {
public:
    explicit FontCatalogScope(const FontCatalog& catalog);
    ~FontCatalogScope();
    FontCatalogScope(const FontCatalogScope&) = delete;
    FontCatalogScope& operator=(const FontCatalogScope&) = delete;

private:
    const FontCatalog* previous_;
};

} // namespace zelvane
