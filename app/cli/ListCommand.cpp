// `list`: members and resources of an object file.
//
//   1. Gathering the listing (IFF members from their index, others by loading)
//   2. Printing it as a table or JSON
//   3. The command

#include "app/cli/ListCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/ObjectArguments.h"
#include "objects/ObjectFileOpener.h"
#include "objects/SpriteDecoder.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/IffLayout.h"
#include "resfile/ResErrors.h"

#include <array>
#include <iostream>
#include <map>
#include <optional>

namespace zelvane::cli {

namespace {

struct ResourceRow {
    ResType type = 0;
    int32_t index = 0;           // 1-based among the container's resources of this type
    int32_t id = 0;
    std::string name;
    std::optional<uint32_t> size; // data bytes; none when the chunk cannot be read
    uint16_t flags = 0;
    uint8_t attribute = 0;
    std::optional<uint32_t> offset;
    std::optional<uint32_t> spriteVersion; // SPR# and SPR2: the version the data states
    std::string problem;
};

struct MemberListing {
    std::string path;
    std::string index;   // "map", "scan" or "folder"
    std::string version; // "2.0" or "2.5" for IFF members
    std::vector<ResourceRow> resources;
};

// ---------------------------------------------------------------------------
// 1. Gathering

const char* IndexSourceName(IndexSource source)
{
    switch (source) {
    case IndexSource::Map: return "map";
    case IndexSource::Scan: return "scan";
    case IndexSource::None: break;
    }
    return "none";
}

std::string VersionText(uint16_t version)
{
    return std::to_string(version >> 8) + "." + std::to_string(version & 0xFF);
}

// A sprite's version from the first bytes of its data, so that a listing
// tells the sprite versions apart without loading them.
bool IsSprite(ResType type)
{
    return type == kTypeSPR || type == kTypeSPR2;
}

void NoteSpriteVersion(std::span<const uint8_t> data, ResourceRow& row)
{
    if (IsSprite(row.type))
        row.spriteVersion = SpriteVersion(row.type == kTypeSPR ? SpriteFormat::Spr : SpriteFormat::Spr2, data);
}

void ReadSpriteVersion(FsOpenFile& file, ResourceRow& row)
{
    std::array<uint8_t, 4> bytes{};
    if (IsSprite(row.type) && *row.size >= bytes.size() && file.Seek(*row.offset + kChunkHeaderSize) == kResOk &&
        file.Read(bytes.data(), bytes.size()) == kResOk)
        NoteSpriteVersion(bytes, row);
}

// The data length a chunk header announces, checked the way a load checks it,
// without reading the data itself.
void ReadChunkSize(FsOpenFile* file, ResType expected, ResourceRow& row)
{
    uint64_t fileSize = 0;
    ChunkHeaderBytes bytes{};
    int32_t error = file ? file->Length(fileSize) : kErrCannotOpen;
    if (error == kResOk)
        error = file->Seek(*row.offset);
    if (error == kResOk)
        error = file->Read(bytes.data(), kChunkHeaderSize);
    if (error != kResOk) {
        row.problem = ResErrorText(error);
        return;
    }
    const ChunkHeader header = ParseChunkHeader(bytes);
    if (header.type != expected || !header.SizeValid()) {
        row.problem = ResErrorText(kErrChunkMismatch);
        return;
    }
    if (header.size > fileSize || *row.offset > fileSize - header.size) {
        row.problem = "chunk reaches past the end of the file";
        return;
    }
    row.size = header.DataLength();
    ReadSpriteVersion(*file, row);
}

void ListIffMember(CTGIffFile& iff, MemberListing& listing, std::map<ResType, int32_t>& typeCounts)
{
    listing.index = IndexSourceName(iff.IndexSourceUsed());
    listing.version = VersionText(iff.FileVersion());
    // Our own read-only record: the container may hold its file open for writing.
    const std::unique_ptr<FsOpenFile> file = CTGFileSystem::Instance().OpenRecord(listing.path, OpenAccess::ReadOnly);
    for (const IffTypeGroup& group : iff.Index().groups)
        for (const IffEntry& entry : group.entries) {
            ResourceRow row;
            row.type = group.type;
            row.index = ++typeCounts[group.type];
            row.id = entry.id;
            row.name = entry.label;
            row.flags = entry.diskFlags;
            row.attribute = entry.Attribute();
            row.offset = entry.offset;
            ReadChunkSize(file.get(), group.type, row);
            listing.resources.push_back(std::move(row));
        }
}

// Containers without an index of chunks (a ".dir" folder) are listed through
// the generic interface, loading each resource for its size.
void ListOtherMember(CTGResFile& member, MemberListing& listing, std::map<ResType, int32_t>& typeCounts)
{
    listing.index = "folder";
    const int16_t types = member.CountTypes();
    for (int32_t t = 1; t <= types; ++t) {
        const ResType type = member.GetIndType(t);
        const int16_t count = member.CountResources(type);
        for (int32_t i = 1; i <= count; ++i) {
            ResourceRow row;
            row.type = type;
            row.index = ++typeCounts[type];
            ResHandle* data = member.GetIndResource(type, i, nullptr);
            if (!data) {
                row.problem = ResErrorText(member.GetLastError());
                listing.resources.push_back(std::move(row));
                continue;
            }
            int16_t id = 0;
            member.GetResId(data, id);
            row.id = id;
            member.GetResName(data, row.name);
            row.attribute = member.GetResAttr(data);
            row.size = data->Size();
            NoteSpriteVersion(data->Bytes(), row);
            member.ReleaseResource(data);
            listing.resources.push_back(std::move(row));
        }
    }
}

std::vector<MemberListing> Gather(const ObjectFileOpener& object)
{
    std::vector<MemberListing> listings;
    std::map<ResType, int32_t> typeCounts; // runs across members, as the set's index does
    for (CTGResFile* member : object.Members()) {
        MemberListing listing;
        std::string openedAs;
        member->GetFilePath(openedAs);
        listing.path = DisplayPath(openedAs);
        if (auto* iff = dynamic_cast<CTGIffFile*>(member))
            ListIffMember(*iff, listing, typeCounts);
        else
            ListOtherMember(*member, listing, typeCounts);
        listings.push_back(std::move(listing));
    }
    return listings;
}

// ---------------------------------------------------------------------------
// 2. Printing

void PrintText(const std::vector<MemberListing>& listings)
{
    bool first = true;
    for (const MemberListing& listing : listings) {
        if (!first)
            std::cout << '\n';
        first = false;
        std::cout << Printable(listing.path) << ": ";
        if (listing.index == "folder")
            std::cout << "folder";
        else
            std::cout << "IFF " << listing.version << ", index from " << (listing.index == "map" ? "resource map" : "scan");
        std::cout << ", " << listing.resources.size() << (listing.resources.size() == 1 ? " resource" : " resources")
                  << '\n';
        TextTable table({{"TYPE"}, {"#", Align::Right}, {"ID", Align::Right}, {"SIZE", Align::Right},
                         {"FLAGS"}, {"ATTR", Align::Right}, {"NAME"}});
        for (const ResourceRow& row : listing.resources)
            table.AddRow({ResTypeName(row.type), std::to_string(row.index), std::to_string(row.id),
                          row.size ? std::to_string(*row.size) : "?", Hex(row.flags, 4),
                          std::to_string(row.attribute), Printable(row.name)});
        table.Print(std::cout);
    }
}

void PrintJsonListing(const std::string& file, const std::vector<MemberListing>& listings)
{
    nlohmann::ordered_json members = nlohmann::ordered_json::array();
    for (const MemberListing& listing : listings) {
        nlohmann::ordered_json resources = nlohmann::ordered_json::array();
        for (const ResourceRow& row : listing.resources) {
            nlohmann::ordered_json item = {{"type", ResTypeName(row.type)}, {"index", row.index},     {"id", row.id},
                                   {"name", row.name},              {"flags", row.flags},     {"attribute", row.attribute}};
            item["size"] = row.size ? nlohmann::ordered_json(*row.size) : nlohmann::ordered_json(nullptr);
            item["offset"] = row.offset ? nlohmann::ordered_json(*row.offset) : nlohmann::ordered_json(nullptr);
            if (row.spriteVersion)
                item["sprite_version"] = *row.spriteVersion;
            if (!row.problem.empty())
                item["error"] = row.problem;
            resources.push_back(std::move(item));
        }
        nlohmann::ordered_json member = {{"path", listing.path}, {"index", listing.index}};
        if (!listing.version.empty())
            member["version"] = listing.version;
        member["resources"] = std::move(resources);
        members.push_back(std::move(member));
    }
    PrintJson(std::cout, {{"file", file}, {"members", std::move(members)}});
}

// ---------------------------------------------------------------------------
// 3. The command

struct ListOptions {
    ObjectFileArgument file;
    bool scan = false;
    bool json = false;
};

int RunList(const ListOptions& options)
{
    ObjectFileOpener object;
    std::string file;
    std::string error;
    if (!OpenObjectFile(options.file, {.index = options.scan ? IndexMode::ForceScan : IndexMode::PreferMap}, object,
                        file, error))
        return Fail(file, error);
    for (const ObjectFileOpener::Skipped& skipped : object.SkippedCompanions())
        Warn(skipped.path, "companion skipped: " + skipped.reason);
    // The library falls back to a scan without a word; a person looking at the file wants to know.
    if (!options.scan)
        for (CTGResFile* member : object.Members())
            if (auto* iff = dynamic_cast<CTGIffFile*>(member);
                iff && iff->IndexSourceUsed() == IndexSource::Scan && iff->MapOffset() != 0) {
                std::string path;
                iff->GetFilePath(path);
                Warn(DisplayPath(path), "the resource map at offset " + std::to_string(iff->MapOffset()) +
                               " is unusable; the index comes from a scan");
            }

    const std::vector<MemberListing> listings = Gather(object);
    if (options.json)
        PrintJsonListing(file, listings);
    else
        PrintText(listings);

    // Damaged chunks do not stop the listing, but scripts must hear of them.
    int status = kExitOk;
    for (const MemberListing& listing : listings)
        for (const ResourceRow& row : listing.resources)
            if (!row.problem.empty()) {
                std::string what = ResTypeName(row.type) + " " + std::to_string(row.id);
                if (row.offset)
                    what += " at offset " + std::to_string(*row.offset);
                status = Fail(listing.path, what + ": " + row.problem);
            }
    return status;
}

} // namespace

void AddListCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<ListOptions>();
    CLI::App* command = app.add_subcommand(
        "list", "List the members of an object file (x.iff with x.spf and x.dir) and their resources");
    AddObjectFileArgument(*command, options->file, "Object file (.iff or .spf; other names are listed alone)");
    command->add_flag("--scan", options->scan, "Build every index by scanning the chunk headers, not from the map");
    command->add_flag("--json", options->json, "Print JSON instead of a table");
    command->callback([options, &status] { status = RunList(*options); });
}

} // namespace zelvane::cli
