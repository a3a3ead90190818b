// The sample game: the object catalog of a small furnished house.
//
//   1. The objects (names, prices, flags, shapes)
//   2. Resources of one object (OBJD, sprites and palette, draw groups, catalog strings, string lists,
//      behaviour)
//   3. Writing the folders

#include "tools/SampleGame.h"

#include "bytes/ByteWriter.h"
#include "objects/ObjectDefinition.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/FarBuilder.h"
#include "resfile/IffBuilder.h"
#include "resfile/ResType.h"
#include "tools/SampleSprites.h"

#include <array>
#include <fstream>
#include <map>

namespace zelvane {

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------
// 1. The objects

// Room flags (bit 0 first): Kitchen, Bedroom, Bathroom, Family Room, Outside, Dining Room, Miscellaneous, Study.
enum Room : uint16_t { Kitchen = 1, Bedroom = 2, Bathroom = 4, Family = 8, Outside = 16, Dining = 32, Misc = 64, Study = 128 };
// Function flags: Seating, Surfaces, Appliances, Electronics, Plumbing, Decorative, General, Lighting.
enum Function : uint16_t { Seating = 1, Surfaces = 2, Appliances = 4, Electronics = 8, Plumbing = 16, Decorative = 32, General = 64, Lighting = 128 };

enum class Catalog { Ctss, Cats };
enum class Where { Loose, Archive, Companion, UserObjects, Downloads, SystemFile };
enum class StringLayout { Plain, Commented, Languages, LengthPrefixed };

struct ObjectSpec {
    const char* file;
    const char* resourceName;
    const char* name;
    const char* description;
    int16_t price;
    uint16_t rooms;
    uint16_t functions;
    int tilesX = 1;       // a multi-tile object has a master and tilesX × tilesY members
    int tilesY = 1;
    Where where = Where::Loose;
    Catalog catalog = Catalog::Ctss;
    StringLayout strings = StringLayout::Languages;
    int16_t hunger = 0, comfort = 0, fun = 0, room = 0, energy = 0;
    const char* guidPartner = nullptr; // another object whose GUID the behaviour code refers to
};

const std::array<ObjectSpec, 14> kObjects = {{
    {"GameData/Objects/chair.iff", "Chair - Maple Dining", "Maple Dining Chair",
     "Sturdy maple with a woven seat. Guests will linger over dinner, and nobody will complain about the wobble.",
     120, Dining | Kitchen, Seating, 1, 1, Where::Loose, Catalog::Ctss, StringLayout::Languages, 0, 3, 0, 1, 0,
     "GameData/Objects/diningtable.iff"},
    {"GameData/Objects/lamp.iff", "Lamp - Brass Reading", "Brass Reading Lamp",
     "A warm pool of light for late-night novels and tax returns alike.", 85, Bedroom | Study | Family, Lighting,
     1, 1, Where::Loose, Catalog::Ctss, StringLayout::Plain, 0, 0, 0, 2, 0},
    {"GameData/Objects/bookcase.iff", "Bookcase - Oak", "Oak Bookcase",
     "Five deep shelves of solid oak. Reading up on cooking, mechanics or logic starts here.", 450, Study | Family,
     General, 1, 1, Where::Companion, Catalog::Ctss, StringLayout::Commented, 0, 0, 1, 2, 0},
    {"GameData/Objects/diningtable.iff", "Table - Farmhouse Dining", "Farmhouse Dining Table",
     "Seats four around a scrubbed pine top that has survived three generations of spilled soup.", 600,
     Dining | Kitchen, Surfaces, 2, 2, Where::Loose, Catalog::Ctss, StringLayout::Languages, 0, 0, 0, 2, 0,
     "GameData/Objects/chair.iff"},
    {"GameData/Objects/loveseat.iff", "Sofa - Striped Loveseat", "Striped Loveseat",
     "Room for two, if the two are friendly. Cheerful stripes hide a multitude of crumbs.", 340, Family, Seating, 2, 1,
     Where::Loose, Catalog::Ctss, StringLayout::Languages, 0, 5, 1, 2, 2},
    {"GameData/Objects/clock.iff", "Clock - Cuckoo", "Cuckoo Wall Clock",
     "Keeps good time and announces it loudly, every hour, on the hour.", 150, Family | Misc, Decorative, 1, 1,
     Where::Loose, Catalog::Cats, StringLayout::LengthPrefixed, 0, 0, 0, 1, 0},
    {"GameData/Objects/fire.iff", "Fire", "Fire", "The game's own fire object.", 0, 0, 0, 1, 1, Where::SystemFile},
    {"GameData/Objects/plant.iff", "Plant - Potted Fern", "Potted Fern",
     "A fern that asks for little and forgives much. Brightens any corner.", 45, Family | Outside | Bedroom,
     Decorative, 1, 1, Where::Archive, Catalog::Ctss, StringLayout::Plain, 0, 0, 0, 1, 0},
    {"GameData/Objects/counter.iff", "Counter - Tiled Kitchen", "Tiled Kitchen Counter",
     "Blue and white tiles over a solid base: room to chop, stir and stack the dishes for later.", 280, Kitchen,
     Surfaces, 1, 1, Where::Archive, Catalog::Ctss, StringLayout::Languages},
    {"GameData/Objects/endtable.iff", "Table - Walnut End", "Walnut End Table",
     "Just the right height for a lamp, a mug and a stack of unread magazines.", 95, Family | Bedroom, Surfaces, 1, 1,
     Where::Archive, Catalog::Ctss, StringLayout::Commented},
    {"GameData/Objects/armchair.iff", "Chair - Wingback Armchair", "Wingback Armchair",
     "Deep, high-backed and upholstered in green velvet. Naps come easily here.", 410, Family | Study, Seating, 1, 1,
     Where::Archive, Catalog::Ctss, StringLayout::LengthPrefixed, 0, 6, 0, 2, 1},
    {"GameData/UserObjects/rug.iff", "Rug - Woven", "Woven Rug",
     "Hand-woven in red and ochre. Ties a room together.", 70, Family | Bedroom | Dining, Decorative, 1, 1,
     Where::UserObjects, Catalog::Ctss, StringLayout::Languages, 0, 0, 0, 2, 0},
    {"GameData/UserObjects/television.iff", "TV - Retro", "Retro Television",
     "Wood-grain cabinet, rabbit ears, and twelve channels of something.", 500, Family | Bedroom, Electronics, 1, 1,
     Where::UserObjects, Catalog::Ctss, StringLayout::Plain, 0, 0, 4, 1, 0},
    {"Downloads/aquarium.iff", "Aquarium - Goldfish", "Goldfish Aquarium",
     "Three goldfish, one castle, endless quiet bubbling. Feed daily.", 225, Family | Study, Decorative, 1, 1,
     Where::Downloads, Catalog::Ctss, StringLayout::Languages, 0, 0, 1, 3, 0},
}};

// What each object of kObjects looks like, in the same order.
const std::array<FurnitureKind, kObjects.size()> kShapes = {{
    FurnitureKind::DiningChair, FurnitureKind::ReadingLamp, FurnitureKind::Bookcase, FurnitureKind::DiningTable,
    FurnitureKind::Loveseat, FurnitureKind::CuckooClock, FurnitureKind::Fire, FurnitureKind::PottedFern,
    FurnitureKind::KitchenCounter, FurnitureKind::EndTable, FurnitureKind::Armchair, FurnitureKind::Rug,
    FurnitureKind::Television, FurnitureKind::Aquarium,
}};

// Stable GUIDs: the sample game is the same in every build.
uint32_t GuidOf(size_t object, int tile)
{
    return 0x5A3E0000u + static_cast<uint32_t>(object) * 0x100u + static_cast<uint32_t>(tile + 1);
}

size_t IndexOf(const char* file)
{
    for (size_t i = 0; i < kObjects.size(); ++i)
        if (std::string(kObjects[i].file) == file)
            return i;
    return 0;
}

// ---------------------------------------------------------------------------
// 2. Resources of one object

constexpr int16_t kFirstObjectId = 128;
constexpr int16_t kCatalogStringsId = 2000;
constexpr int16_t kFirstDrawGroupId = 100;
constexpr int16_t kFirstSpriteId = 200;
constexpr int16_t kPaletteId = 200;

struct ObjdFields {
    uint32_t guid = 0;
    int16_t drawGroup = 0, drawGroups = 0;
    int16_t groupId = 0, place = 0;
    int16_t price = 0;
    uint16_t rooms = 0, functions = 0;
    int16_t hunger = 0, comfort = 0, fun = 0, room = 0, energy = 0;
};

std::vector<uint8_t> ObjectRecord(const ObjdFields& f)
{
    ObjectDefinition record;
    auto word = [&](size_t n, int32_t value) { record.SetWord(n, static_cast<int16_t>(value)); };
    record.SetInt32At(objd::kVersion, static_cast<int32_t>(objd::kCurrentVersion));
    word(3, f.drawGroup);
    word(4, f.drawGroups);
    word(10, f.groupId);
    word(11, f.place);
    record.SetGuid(static_cast<int32_t>(f.guid));
    word(18, f.price);
    word(35, f.price / 10);    // initial depreciation
    word(36, f.price / 50);    // daily depreciation
    word(38, f.price * 2 / 5); // depreciation limit
    word(39, f.rooms);
    word(40, f.functions);
    word(41, kCatalogStringsId);
    word(67, 8); // tile width
    word(82, f.hunger);
    word(83, f.comfort);
    word(86, f.energy);
    word(87, f.fun);
    word(88, f.room);
    return record.StoredBytes();
}

std::vector<uint8_t> LanguageList(const std::vector<std::pair<std::string, std::string>>& strings)
{
    ByteWriter w;
    w.u16le(0xFFFD);
    w.u16le(static_cast<uint16_t>(strings.size()));
    for (const auto& [text, comment] : strings) {
        w.u8(1);
        w.text(text);
        w.u8(0);
        w.text(comment);
        w.u8(0);
    }
    return w.take();
}

std::vector<uint8_t> StringList(StringLayout layout, const std::vector<std::string>& strings, uint16_t& flags)
{
    ByteWriter w;
    flags = 0x0010;
    switch (layout) {
    case StringLayout::Plain:
    case StringLayout::Commented:
        w.u16le(layout == StringLayout::Plain ? 0xFFFF : 0xFFFE);
        w.u16le(static_cast<uint16_t>(strings.size()));
        for (const std::string& s : strings) {
            w.text(s);
            w.u8(0);
            if (layout == StringLayout::Commented) {
                w.text("menu text");
                w.u8(0);
            }
        }
        break;
    case StringLayout::Languages: {
        std::vector<std::pair<std::string, std::string>> records;
        for (const std::string& s : strings)
            records.emplace_back(s, "");
        return LanguageList(records);
    }
    case StringLayout::LengthPrefixed:
        // As some real files store them: a big-endian count in a chunk not marked converted.
        flags = 0;
        w.u16be(static_cast<uint16_t>(strings.size()));
        for (const std::string& s : strings) {
            w.u8(static_cast<uint8_t>(s.size()));
            w.text(s);
        }
        break;
    }
    return w.take();
}

// Twelve images: four directions (flags 1, 4, 16, 64) at three zooms.
std::vector<uint8_t> DrawGroupFor(const std::string& name, std::vector<DrawGroupImage> images)
{
    CTGDrawGroup group;
    group.Set(name, 20004, std::move(images));
    return group.Encode();
}

// A small behaviour: some ordinary primitives and the GUID references of
// opcodes 31 (operand kind 4), 32 and 42 that cloning must repair.
std::vector<uint8_t> Behaviour(uint16_t version, const std::vector<std::pair<uint16_t, uint32_t>>& guidRefs)
{
    struct Instruction {
        uint16_t opcode;
        uint32_t value;
        uint8_t kind;
    };
    std::vector<Instruction> code = {{2, 0x00010002, 0}, {4, 0, 0}};
    for (const auto& [opcode, guid] : guidRefs)
        code.push_back({opcode, guid, static_cast<uint8_t>(opcode == 31 ? 4 : 0)});
    code.push_back({13, 0, 0});
    ByteWriter w;
    w.u16le(version);
    if (version == 0x8003) {
        w.u8(0);
        w.u8(1);
        w.u8(2);
        w.fill(4, 0);
        w.u32le(static_cast<uint32_t>(code.size()));
    } else {
        w.u16le(static_cast<uint16_t>(code.size()));
        w.u8(0);
        w.u8(1);
        w.u8(2);
        w.fill(5, 0);
    }
    for (size_t i = 0; i < code.size(); ++i) {
        w.u16le(code[i].opcode);
        w.u8(static_cast<uint8_t>(i + 1 < code.size() ? i + 1 : 0xFD)); // true target
        w.u8(0xFE);                                                     // false target
        w.u32le(code[i].value);
        w.u8(code[i].kind);
        w.fill(3, 0);
    }
    return w.take();
}

struct ObjectFiles {
    std::vector<uint8_t> iff;
    std::vector<uint8_t> spf; // empty unless the sprites live in a companion
    std::string error;
};

ObjectFiles BuildObject(size_t index)
{
    const ObjectSpec& spec = kObjects[index];
    IffBuilder iff, spf;
    IffBuilder& sprites = spec.where == Where::Companion ? spf : iff;
    const bool multiTile = spec.tilesX * spec.tilesY > 1;
    const uint32_t masterGuid = GuidOf(index, -1);
    ObjectFiles files;

    // One sprite per tile, as the game cuts its multi-tile objects; the
    // palette beside the sprites (in the companion when they are there).
    SampleGraphics graphics = DrawSampleGraphics(kShapes[index], spec.tilesX, spec.tilesY, kFirstSpriteId, kPaletteId);
    if (!graphics.error.empty()) {
        files.error = std::string(spec.file) + ": " + graphics.error;
        return files;
    }

    // The master (or the single object) first, then the tiles.
    ObjdFields master;
    master.guid = masterGuid;
    master.price = spec.price;
    master.rooms = spec.rooms;
    master.functions = spec.functions;
    master.hunger = spec.hunger;
    master.comfort = spec.comfort;
    master.fun = spec.fun;
    master.room = spec.room;
    master.energy = spec.energy;
    if (multiTile) {
        master.groupId = static_cast<int16_t>(index + 1);
        master.place = -1;
    } else {
        master.drawGroup = kFirstDrawGroupId;
        master.drawGroups = 1;
        sprites.AddChunk(kTypeDGRP, kFirstDrawGroupId, spec.resourceName,
                         DrawGroupFor(spec.resourceName, std::move(graphics.tiles[0].images)));
    }
    iff.AddChunk(kTypeOBJD, kFirstObjectId, spec.resourceName, ObjectRecord(master));
    std::vector<std::pair<uint16_t, uint32_t>> guidRefs;
    int tile = 0;
    for (int x = 0; multiTile && x < spec.tilesX; ++x)
        for (int y = 0; y < spec.tilesY; ++y, ++tile) {
            ObjdFields member = master;
            member.guid = GuidOf(index, tile);
            member.place = static_cast<int16_t>((x << 8) | y);
            member.drawGroup = static_cast<int16_t>(kFirstDrawGroupId + tile);
            member.drawGroups = 1;
            member.price = 0;
            const std::string tileName = std::string(spec.resourceName) + " - tile " + std::to_string(tile);
            iff.AddChunk(kTypeOBJD, static_cast<int16_t>(kFirstObjectId + 1 + tile), tileName, ObjectRecord(member));
            sprites.AddChunk(kTypeDGRP, member.drawGroup, tileName,
                             DrawGroupFor(tileName, std::move(graphics.tiles[static_cast<size_t>(tile)].images)));
            guidRefs.emplace_back(tile % 2 ? 32 : 31, member.guid);
        }

    sprites.AddChunk(kTypePALT, kPaletteId, spec.resourceName, graphics.palette, 0);
    for (size_t k = 0; k < graphics.tiles.size(); ++k)
        sprites.AddChunk(kTypeSPR2, static_cast<int16_t>(kFirstSpriteId + k), spec.resourceName,
                         graphics.tiles[k].sprite, 0);

    // Catalog strings: name and description, in CTSS or in the older CATS form.
    if (spec.catalog == Catalog::Ctss) {
        iff.AddChunk(kTypeCTSS, kCatalogStringsId, "", LanguageList({{spec.name, ""}, {spec.description, ""}}));
    } else {
        ByteWriter cats;
        cats.text(spec.name);
        cats.u8(0);
        cats.text(spec.description);
        cats.u8(0);
        iff.AddChunk(kTypeCATS, kCatalogStringsId, "", cats.data());
    }
    uint16_t flags = 0;
    const std::vector<uint8_t> menu =
        StringList(spec.strings, {std::string("Use ") + spec.name, "Examine", "Sell back"}, flags);
    iff.AddChunk(kTypeSTRList, 129, "Interaction names", menu, flags);
    iff.AddChunk(kTypeSTRList, 130, "Notes", StringList(StringLayout::Plain, {spec.description}, flags), flags);

    guidRefs.emplace_back(42, masterGuid);
    if (spec.guidPartner)
        guidRefs.emplace_back(42, GuidOf(IndexOf(spec.guidPartner), -1));
    iff.AddChunk(kTypeBHAV, 4096, "main", Behaviour(0x8002, guidRefs));
    // Every few objects use the behaviour header with a 32-bit count.
    iff.AddChunk(kTypeBHAV, 4097, "interaction - use", Behaviour(index % 3 == 0 ? 0x8003 : 0x8001, {{42, masterGuid}}));

    files.iff = iff.Build(IffBuilder::Map::Written);
    if (spec.where == Where::Companion)
        files.spf = spf.Build(IffBuilder::Map::Written);
    return files;
}

// ---------------------------------------------------------------------------
// 3. Writing the folders

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

} // namespace

SampleGameResult WriteSampleGame(const fs::path& out)
{
    SampleGameResult result;
    FarBuilder archive;
    for (size_t i = 0; i < kObjects.size(); ++i) {
        const ObjectSpec& spec = kObjects[i];
        const ObjectFiles files = BuildObject(i);
        if (!files.error.empty()) {
            result.error = files.error;
            return result;
        }
        const fs::path path = out / spec.file;
        if (spec.where == Where::Archive) {
            archive.AddFile(path.filename().string(), files.iff);
        } else {
            if (!WriteFile(path, files.iff, result.error))
                return result;
            if (!files.spf.empty() && !WriteFile(fs::path(path).replace_extension(".spf"), files.spf, result.error))
                return result;
        }
        const int tiles = spec.tilesX * spec.tilesY > 1 ? spec.tilesX * spec.tilesY : 0;
        result.objects.push_back({spec.file, spec.name, GuidOf(i, -1), spec.price, tiles});
    }
    if (!WriteFile(out / "GameData/Objects/furniture.far", archive.Build(), result.error))
        return result;
    // The editor keeps its downloads here; the game folder starts with the folder present.
    std::error_code ec;
    fs::create_directories(out / "Downloads", ec);
    return result;
}

} // namespace zelvane
