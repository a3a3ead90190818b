#include "spriteio/SpriteManifest.h"

// Sections: writing; the field reader; reading.

#include "objects/SpriteFrame.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace zelvane {

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

std::string ColourText(Rgb c)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", c.red, c.green, c.blue);
    return text;
}

// Up to 8 hex digits.
std::optional<uint32_t> ParseHex(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (const char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

std::optional<Rgb> ParseColourText(const std::string& text)
{
    const std::optional<uint32_t> value = text.size() == 6 ? ParseHex(text) : std::nullopt;
    return value ? std::optional<Rgb>(Rgb::FromHex(*value)) : std::nullopt;
}

} // namespace

const ManifestObject* SpriteManifest::FindObject(int16_t id) const
{
    for (const ManifestObject& object : objects)
        if (object.id == id)
            return &object;
    return nullptr;
}

bool IsPlainFileName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxImageNameLength || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F || c == '/' || c == '\\';
    });
}

// ---- writing ----

std::string WriteSpriteManifest(const SpriteManifest& manifest)
{
    OrderedJson root;
    root["zelvane_sprites"] = kSpriteManifestVersion;
    root["object_file"] = manifest.objectFile;
    OrderedJson objects = OrderedJson::array();
    for (const ManifestObject& object : manifest.objects) {
        OrderedJson o;
        o["id"] = object.id;
        o["name"] = object.name;
        char guid[16];
        std::snprintf(guid, sizeof guid, "0x%08X", object.guid);
        o["guid"] = guid;
        OrderedJson tiles = OrderedJson::array();
        for (const ManifestTile& tile : object.tiles)
            tiles.push_back({{"id", tile.definitionId}, {"x", tile.x}, {"y", tile.y}, {"level", tile.level}});
        o["tiles"] = tiles;
        if (object.sheet)
            o["sheet"] = {{"image", object.sheet->image},
                          {"depth", object.sheet->depth},
                          {"width", object.sheet->width},
                          {"height", object.sheet->height}};
        objects.push_back(o);
    }
    root["objects"] = objects;
    OrderedJson sprites = OrderedJson::array();
    for (const ManifestSprite& sprite : manifest.sprites) {
        OrderedJson s;
        s["id"] = sprite.id;
        s["type"] = sprite.type;
        s["object"] = sprite.object;
        OrderedJson frames = OrderedJson::array();
        for (size_t i = 0; i < sprite.frames.size(); ++i) {
            const ManifestFrame& frame = sprite.frames[i];
            OrderedJson f;
            f["frame"] = i;
            f["width"] = frame.width;
            f["height"] = frame.height;
            f["origin_x"] = frame.originX;
            f["origin_y"] = frame.originY;
            f["palette_id"] = frame.paletteId;
            if (frame.shown) {
                f["tile"] = frame.shown->tile;
                f["direction"] = frame.shown->direction;
                f["zoom"] = kZoomNames[frame.shown->zoomShift];
            }
            if (frame.InSheet()) {
                f["sheet_x"] = frame.sheetX;
                f["sheet_y"] = frame.sheetY;
            } else {
                f["image"] = frame.image;
                if (!frame.depth.empty())
                    f["depth"] = frame.depth;
            }
            frames.push_back(f);
        }
        s["frames"] = frames;
        sprites.push_back(s);
    }
    root["sprites"] = sprites;
    OrderedJson palettes = OrderedJson::array();
    for (const ManifestPalette& palette : manifest.palettes) {
        OrderedJson colours = OrderedJson::array();
        for (const Rgb& c : palette.colours.Entries())
            colours.push_back(ColourText(c));
        palettes.push_back({{"id", palette.id}, {"colours", colours}});
    }
    root["palettes"] = palettes;
    return root.dump(2) + "\n";
}

// ---- the field reader ----

namespace {

// Reads the fields of one JSON object, remembering the first thing wrong
// with the path of the field that was.
class Fields {
public:
    Fields(const Json& object, std::string where, std::string& error)
        : object_(object), where_(std::move(where)), error_(error)
    {
        if (!object_.is_object())
            Fail("", "is not an object");
    }

    bool ok() const { return error_.empty(); }
    const std::string& Where() const { return where_; }

    bool Has(const char* key) const { return object_.is_object() && object_.contains(key); }

    template <typename T>
    T Integer(const char* key, int64_t min, int64_t max)
    {
        const Json* value = Find(key);
        if (!value)
            return T{};
        if (!value->is_number_integer()) {
            Fail(key, "is not a whole number");
            return T{};
        }
        int64_t v = 0;
        if (value->is_number_unsigned())
            v = static_cast<int64_t>(
                std::min<uint64_t>(value->get<uint64_t>(), uint64_t(std::numeric_limits<int64_t>::max())));
        else
            v = value->get<int64_t>();
        if (v < min || v > max) {
            Fail(key, "is not a number from " + std::to_string(min) + " to " + std::to_string(max));
            return T{};
        }
        return static_cast<T>(v);
    }

    std::string Text(const char* key)
    {
        const Json* value = Find(key);
        if (!value)
            return {};
        if (!value->is_string()) {
            Fail(key, "is not text");
            return {};
        }
        return value->get<std::string>();
    }

    std::string FileName(const char* key)
    {
        std::string name = Text(key);
        if (ok() && !IsPlainFileName(name)) {
            Fail(key, "is not a plain file name in the folder");
            return {};
        }
        return name;
    }

    // The array at `key`, at most `most` long; null when it is not one.
    const Json* Array(const char* key, size_t most)
    {
        const Json* value = Find(key);
        if (!value)
            return nullptr;
        if (!value->is_array()) {
            Fail(key, "is not a list");
            return nullptr;
        }
        if (value->size() > most) {
            Fail(key, "holds more than " + std::to_string(most) + " entries");
            return nullptr;
        }
        return value;
    }

    void Fail(const std::string& key, const std::string& what)
    {
        if (error_.empty())
            error_ = (key.empty() ? where_ : Path(key)) + ": " + what;
    }

    std::string Path(const std::string& key) const { return where_.empty() ? key : where_ + "." + key; }

private:
    const Json* Find(const char* key)
    {
        if (!ok())
            return nullptr;
        const auto it = object_.find(key);
        if (it == object_.end()) {
            Fail(key, "is missing");
            return nullptr;
        }
        return &*it;
    }

    const Json& object_;
    std::string where_;
    std::string& error_;
};

std::string Item(const std::string& list, size_t index)
{
    return list + "[" + std::to_string(index) + "]";
}

constexpr int64_t kInt16Min = std::numeric_limits<int16_t>::min();
constexpr int64_t kInt16Max = std::numeric_limits<int16_t>::max();
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

ManifestObject ReadObject(const Json& value, const std::string& where, std::string& error)
{
    ManifestObject object;
    Fields f(value, where, error);
    object.id = f.Integer<int16_t>("id", kInt16Min, kInt16Max);
    object.name = f.Text("name");
    const std::string guid = f.Text("guid");
    const std::optional<uint32_t> guidValue =
        guid.size() > 2 && guid[0] == '0' && (guid[1] == 'x' || guid[1] == 'X') ? ParseHex(guid.substr(2)) : std::nullopt;
    if (f.ok() && !guidValue)
        f.Fail("guid", "is not 0x and up to 8 hex digits");
    object.guid = guidValue.value_or(0);
    if (const Json* tiles = f.Array("tiles", kMaxManifestTiles))
        for (size_t i = 0; i < tiles->size() && f.ok(); ++i) {
            Fields t((*tiles)[i], f.Path(Item("tiles", i)), error);
            ManifestTile tile;
            tile.definitionId = t.Integer<int16_t>("id", kInt16Min, kInt16Max);
            tile.x = t.Integer<int>("x", 0, 255);
            tile.y = t.Integer<int>("y", 0, 255);
            tile.level = t.Integer<int>("level", kInt16Min, kInt16Max);
            object.tiles.push_back(tile);
        }
    if (f.ok() && f.Has("sheet")) {
        Fields s(value["sheet"], f.Path("sheet"), error);
        ManifestSheet sheet;
        sheet.image = s.FileName("image");
        sheet.depth = s.FileName("depth");
        sheet.width = s.Integer<int>("width", 1, kMaxSheetSide);
        sheet.height = s.Integer<int>("height", 1, kMaxSheetSide);
        if (s.ok() && uint64_t(sheet.width) * uint64_t(sheet.height) > kMaxSheetPixels)
            s.Fail("", "is larger than " + std::to_string(kMaxSheetPixels) + " pixels");
        object.sheet = sheet;
    }
    return object;
}

ManifestFrame ReadFrame(const Json& value, size_t index, const ManifestObject* owner, const std::string& where,
                        std::string& error)
{
    ManifestFrame frame;
    Fields f(value, where, error);
    if (f.Integer<int64_t>("frame", 0, kMaxManifestFrames) != int64_t(index) && f.ok())
        f.Fail("frame", "is not " + std::to_string(index) + ": a sprite's frames are listed in order, each once");
    frame.width = f.Integer<int>("width", 1, kMaxFrameSide);
    frame.height = f.Integer<int>("height", 1, kMaxFrameSide);
    frame.originX = f.Integer<int>("origin_x", kInt16Min, kInt16Max);
    frame.originY = f.Integer<int>("origin_y", kInt16Min, kInt16Max);
    frame.paletteId = f.Integer<int32_t>("palette_id", kInt32Min, kInt32Max);
    if (f.ok() && (f.Has("tile") || f.Has("direction") || f.Has("zoom"))) {
        ManifestPlace place;
        const int tiles = owner ? static_cast<int>(owner->tiles.size()) : 0;
        place.tile = f.Integer<int>("tile", 0, std::max(0, tiles - 1));
        place.direction = f.Integer<int>("direction", 0, 3);
        const std::string zoom = f.Text("zoom");
        const auto named = std::find(std::begin(kZoomNames), std::end(kZoomNames), zoom);
        if (f.ok() && named == std::end(kZoomNames))
            f.Fail("zoom", "is not large, medium or small");
        place.zoomShift = static_cast<int>(named - std::begin(kZoomNames));
        frame.shown = place;
    }
    if (f.ok() && f.Has("image")) {
        frame.image = f.FileName("image");
        if (f.ok() && f.Has("depth"))
            frame.depth = f.FileName("depth");
    } else if (f.ok()) {
        if (!owner || !owner->sheet) {
            f.Fail("image", "is missing, and the frame's object has no sheet");
            return frame;
        }
        frame.sheetX = f.Integer<int>("sheet_x", 0, kMaxSheetSide);
        frame.sheetY = f.Integer<int>("sheet_y", 0, kMaxSheetSide);
        if (f.ok() && (frame.sheetX > owner->sheet->width - frame.width ||
                       frame.sheetY > owner->sheet->height - frame.height))
            f.Fail("", "does not lie inside its object's sheet");
    }
    return frame;
}

} // namespace

// ---- reading ----

namespace {

// The deepest nesting of lists and objects in JSON text, strings skipped,
// counted before parsing: every level costs the parser an allocation, so a
// few megabytes of "[[[[" would take gigabytes.
size_t NestingDepth(std::string_view text)
{
    size_t depth = 0, deepest = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

} // namespace

bool ParseSpriteManifest(std::string_view text, SpriteManifest& manifest, std::string& error)
{
    manifest = {};
    error.clear();
    if (text.size() > kMaxManifestBytes) {
        error = "larger than " + std::to_string(kMaxManifestBytes >> 20) + " MiB";
        return false;
    }
    if (NestingDepth(text) > kMaxManifestNesting) {
        error = "nested deeper than " + std::to_string(kMaxManifestNesting) + " levels";
        return false;
    }
    const Json root = Json::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded()) {
        error = "not JSON";
        return false;
    }
    SpriteManifest read;
    Fields f(root, "", error);
    if (f.ok() && f.Integer<int>("zelvane_sprites", 0, std::numeric_limits<int>::max()) != kSpriteManifestVersion &&
        f.ok())
        f.Fail("zelvane_sprites", "is not version " + std::to_string(kSpriteManifestVersion) + " of this manifest");
    read.objectFile = f.Text("object_file");
    if (const Json* objects = f.Array("objects", kMaxManifestObjects))
        for (size_t i = 0; i < objects->size() && f.ok(); ++i) {
            ManifestObject object = ReadObject((*objects)[i], Item("objects", i), error);
            if (f.ok() && read.FindObject(object.id))
                f.Fail(Item("objects", i), "names object " + std::to_string(object.id) + " a second time");
            read.objects.push_back(std::move(object));
        }
    if (const Json* sprites = f.Array("sprites", kMaxManifestSprites))
        for (size_t i = 0; i < sprites->size() && f.ok(); ++i) {
            const std::string where = Item("sprites", i);
            Fields s((*sprites)[i], where, error);
            ManifestSprite sprite;
            sprite.id = s.Integer<int16_t>("id", kInt16Min, kInt16Max);
            sprite.type = s.Text("type");
            sprite.object = s.Integer<int16_t>("object", kInt16Min, kInt16Max);
            const ManifestObject* owner = s.ok() ? read.FindObject(sprite.object) : nullptr;
            if (s.ok() && !owner)
                s.Fail("object", "names no object of the manifest");
            for (const ManifestSprite& other : read.sprites)
                if (s.ok() && other.id == sprite.id)
                    s.Fail("id", "names sprite " + std::to_string(sprite.id) + " a second time");
            if (const Json* frames = s.Array("frames", kMaxManifestFrames)) {
                if (frames->empty())
                    s.Fail("frames", "is empty");
                for (size_t j = 0; j < frames->size() && s.ok(); ++j)
                    sprite.frames.push_back(ReadFrame((*frames)[j], j, owner, s.Path(Item("frames", j)), error));
            }
            read.sprites.push_back(std::move(sprite));
        }
    if (const Json* palettes = f.Array("palettes", kMaxManifestSprites))
        for (size_t i = 0; i < palettes->size() && f.ok(); ++i) {
            Fields p((*palettes)[i], Item("palettes", i), error);
            ManifestPalette palette;
            palette.id = p.Integer<int32_t>("id", kInt32Min, kInt32Max);
            if (const Json* colours = p.Array("colours", Palette::kSize))
                for (size_t c = 0; c < colours->size() && p.ok(); ++c) {
                    const Json& entry = (*colours)[c];
                    const std::optional<Rgb> colour =
                        entry.is_string() ? ParseColourText(entry.get<std::string>()) : std::nullopt;
                    if (!colour)
                        p.Fail(Item("colours", c), "is not a colour written RRGGBB");
                    else
                        palette.colours[c] = *colour;
                }
            read.palettes.push_back(palette);
        }
    if (!error.empty())
        return false;
    manifest = std::move(read);
    return true;
}

} // namespace zelvane
