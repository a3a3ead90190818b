// The synthetic game generator.
//
//   1. Random numbers (own generator: the standard distributions differ
//      between libraries, and the same seed must give the same bytes)
//   2. One object file's resources
//   3. Placing files in folders and archives, and writing them

#include "tools/SyntheticGame.h"

#include "bytes/ByteSpanWriter.h"
#include "resfile/FarBuilder.h"
#include "resfile/IffBuilder.h"
#include "resfile/IffLayout.h"
#include "resfile/ResType.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <span>
#include <system_error>
#include <vector>

namespace zelvane {

namespace {

// Real object files run from about 30 KB to 1 MB with most near 150 KB; a
// log-normal spread with this sigma puts about 1 % of draws outside the range.
constexpr double kMedianFileBytes = 150.0 * 1024;
constexpr double kSizeSigma = 0.75;
constexpr uint32_t kMinFileBytes = 30 * 1024;
constexpr uint32_t kMaxFileBytes = 1024 * 1024;
constexpr uint32_t kMinResources = 20;
constexpr uint32_t kMaxResources = 60;
constexpr uint32_t kObjdBytes = 216;
constexpr int16_t kFirstObjdId = 128;
constexpr uint32_t kMinSpriteBytes = 64;

// ---------------------------------------------------------------------------
// 1. Random numbers

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t Next()
    {
        // SplitMix64.
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Inclusive range.
    uint32_t Between(uint32_t low, uint32_t high) { return low + static_cast<uint32_t>(Next() % (high - low + 1)); }
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Normal()
    {
        const double u = 1.0 - Unit(); // never 0, for the logarithm
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * Unit());
    }
    void Fill(std::span<uint8_t> bytes)
    {
        size_t i = 0;
        for (; i + 8 <= bytes.size(); i += 8) {
            const uint64_t word = Next();
            std::memcpy(bytes.data() + i, &word, 8);
        }
        if (i < bytes.size()) {
            const uint64_t word = Next();
            std::memcpy(bytes.data() + i, &word, bytes.size() - i);
        }
    }
    std::vector<uint8_t> Bytes(size_t size)
    {
        std::vector<uint8_t> bytes(size);
        Fill(bytes);
        return bytes;
    }
    // Printable text with a NUL after each string, like a string table.
    std::vector<uint8_t> Text(size_t size)
    {
        std::vector<uint8_t> bytes(size);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = Between(0, 15) == 0 ? 0 : static_cast<uint8_t>(Between(' ', '~'));
        return bytes;
    }

private:
    uint64_t state_;
};

// ---------------------------------------------------------------------------
// 2. One object file

constexpr std::array<const char*, 16> kKinds = {"Chair", "Table", "Lamp",  "Sofa",   "Bed",  "Plant",
                                               "Stove", "Fridge", "Sink", "Painting", "Rug", "Shower",
                                               "Toilet", "Desk",  "Stereo", "Television"};

struct Resource {
    ResType type;
    int16_t id;
    std::string label;
    std::vector<uint8_t> data;
};

std::vector<uint8_t> MakeObjd(Random& random, uint16_t tile, uint32_t tiles)
{
    std::vector<uint8_t> data(kObjdBytes);
    random.Fill(data);
    // A plausible record: version 138, and the group words of a single object,
    // or of a multi-tile group whose first record is the master.
    ByteSpanWriter record(data);
    record.u32le(138);
    record.seek(2 * 10);
    record.u16le(tiles == 1 ? 0 : 1);
    record.u16le(static_cast<uint16_t>(tiles == 1 ? 0 : tile == 0 ? -1 : ((tile - 1) / 2) << 8 | ((tile - 1) % 2)));
    return data;
}

std::vector<uint8_t> MakePalette(Random& random)
{
    std::vector<uint8_t> data(16 + 256 * 3, 0);
    data[0] = 1;            // version
    data[4] = 0;            // 256 colours, little-endian
    data[5] = 1;
    random.Fill(std::span<uint8_t>(data).subspan(16));
    return data;
}

// Everything but the sprites; the sprites then fill the file to its size.
std::vector<Resource> SmallResources(Random& random, const std::string& kind, uint32_t resourceCount,
                                     uint32_t& spriteCount)
{
    std::vector<Resource> list;
    const uint32_t tiles = random.Between(0, 5) == 0 ? random.Between(2, 4) : 1;
    for (uint32_t t = 0; t < tiles; ++t)
        list.push_back({kTypeOBJD, static_cast<int16_t>(kFirstObjdId + t),
                        tiles == 1 ? kind : kind + " - tile " + std::to_string(t + 1), MakeObjd(random, static_cast<uint16_t>(t), tiles)});
    const uint32_t strings = random.Between(1, 3);
    for (uint32_t s = 0; s < strings; ++s)
        list.push_back({kTypeSTRList, static_cast<int16_t>(128 + s), s == 0 ? "Strings" : "Dialog strings",
                        random.Text(random.Between(80, 1200))});
    list.push_back({kTypeCTSS, 2000, "Catalog", random.Text(random.Between(100, 600))});
    const uint32_t palettes = random.Between(1, 2);
    for (uint32_t p = 0; p < palettes; ++p)
        list.push_back({kTypePALT, static_cast<int16_t>(100 + p), "Palette", MakePalette(random)});

    const uint32_t fixed = static_cast<uint32_t>(list.size());
    spriteCount = random.Between(resourceCount / 4, resourceCount / 3);
    const uint32_t rest = resourceCount - fixed - spriteCount; // at least 4 with the bounds above
    const uint32_t drawGroups = random.Between(1, std::max<uint32_t>(1, std::min<uint32_t>(8, rest / 3)));
    for (uint32_t d = 0; d < drawGroups; ++d)
        list.push_back({kTypeDGRP, static_cast<int16_t>(100 + d), "Draw group " + std::to_string(d + 1),
                        random.Bytes(random.Between(60, 500))});
    for (uint32_t b = 0; b < rest - drawGroups; ++b)
        list.push_back({kTypeBHAV, static_cast<int16_t>(4096 + b), "Behavior " + std::to_string(b + 1),
                        random.Bytes(random.Between(30, 300))});
    return list;
}

std::vector<uint8_t> BuildFile(const std::vector<Resource>& small, const std::vector<std::vector<uint8_t>>& sprites)
{
    IffBuilder builder;
    for (const Resource& resource : small)
        builder.AddChunk(resource.type, resource.id, resource.label, resource.data);
    for (size_t i = 0; i < sprites.size(); ++i)
        builder.AddChunk(kTypeSPR2, static_cast<int16_t>(256 + i), "Sprite " + std::to_string(i + 1), sprites[i]);
    return builder.Build(IffBuilder::Map::Written);
}

std::vector<uint8_t> MakeObjectFile(Random& random, const std::string& kind)
{
    const double drawn = std::exp(std::log(kMedianFileBytes) + kSizeSigma * random.Normal());
    const auto target = static_cast<uint32_t>(std::clamp(drawn, double{kMinFileBytes}, double{kMaxFileBytes}));
    const uint32_t resourceCount = random.Between(kMinResources, kMaxResources);
    uint32_t spriteCount = 0;
    const std::vector<Resource> small = SmallResources(random, kind, resourceCount, spriteCount);

    // The map's size depends on labels and counts only: a build with empty
    // sprites measures everything that is not sprite data.
    const std::vector<std::vector<uint8_t>> emptySprites(spriteCount);
    const size_t overhead = BuildFile(small, emptySprites).size();
    const uint64_t budget = std::max<uint64_t>(target > overhead ? target - overhead : 0,
                                               uint64_t{kMinSpriteBytes} * spriteCount);
    std::vector<double> weights(spriteCount);
    double total = 0;
    for (double& w : weights)
        total += (w = 0.3 + 1.4 * random.Unit());
    std::vector<std::vector<uint8_t>> sprites(spriteCount);
    uint64_t left = budget;
    for (uint32_t i = 0; i < spriteCount; ++i) {
        const uint64_t share = i + 1 == spriteCount ? left
                                                     : std::clamp<uint64_t>(static_cast<uint64_t>(budget * weights[i] / total),
                                                                            kMinSpriteBytes,
                                                                            left - kMinSpriteBytes * (spriteCount - i - 1));
        sprites[i] = random.Bytes(static_cast<size_t>(share));
        left -= share;
    }
    return BuildFile(small, sprites);
}

// ---------------------------------------------------------------------------
// 3. Folders, archives and writing

struct ArchivePlan {
    const char* path;          // relative to the game folder
    const char* innerFolders;  // "" or a folder prefix family used inside the archive
};

constexpr std::array<ArchivePlan, kSyntheticArchives> kArchives = {{
    {"GameData/Objects/Expansion1.far", ""},
    {"GameData/Objects/Expansion2.far", "Rooms/"},
    {"GameData/UserObjects/UserPack.far", ""},
    {"Downloads/Collection.far", "Sets/"},
}};

bool WriteFile(const std::filesystem::path& path, std::span<const uint8_t> bytes, std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

// Where a loose file goes: most in the game's own folder, many in downloads
// (half of those in sub-folders, as people sort them), some in user objects.
std::string LooseFolder(Random& random)
{
    const uint32_t roll = random.Between(0, 99);
    if (roll < 45)
        return "GameData/Objects/";
    if (roll < 60)
        return "GameData/UserObjects/";
    if (random.Between(0, 1) == 0)
        return "Downloads/";
    return "Downloads/Set " + std::to_string(random.Between(1, 8)) + "/";
}

} // namespace

SyntheticGameSummary WriteSyntheticGame(const SyntheticGameOptions& options)
{
    SyntheticGameSummary summary;
    Random random(options.seed);
    std::vector<uint64_t> sizes;
    sizes.reserve(options.files);

    for (const char* folder : kObjectFolders) {
        std::error_code ec;
        std::filesystem::create_directories(options.out / folder, ec);
        if (ec) {
            summary.error = "cannot create " + (options.out / folder).string() + ": " + ec.message();
            return summary;
        }
    }

    const uint32_t loose = options.files / 3;
    std::array<FarBuilder, kSyntheticArchives> archives;
    std::array<uint64_t, kSyntheticArchives> archiveBytes{};
    for (uint32_t i = 0; i < options.files; ++i) {
        const std::string kind = kKinds[random.Between(0, kKinds.size() - 1)];
        const std::string name = "Obj" + std::to_string(10000 + i) + kind + ".iff";
        const std::vector<uint8_t> file = MakeObjectFile(random, kind);
        sizes.push_back(file.size());
        summary.objectBytes += file.size();
        if (i < loose) {
            if (!WriteFile(options.out / (LooseFolder(random) + name), file, summary.error))
                return summary;
            ++summary.looseFiles;
            continue;
        }
        const uint32_t a = (i - loose) % kSyntheticArchives;
        std::string inner = kArchives[a].innerFolders;
        if (!inner.empty())
            inner += kind + "/";
        // Offsets in an archive are 32-bit; 2 KiB per file covers its manifest entry.
        archiveBytes[a] += file.size() + 2048;
        if (archiveBytes[a] > UINT32_MAX) {
            summary.error = std::string("too many bytes for one archive: ") + kArchives[a].path;
            return summary;
        }
        archives[a].AddFile(inner + name, file);
        ++summary.archivedFiles;
    }
    for (uint32_t a = 0; a < kSyntheticArchives; ++a) {
        if (archiveBytes[a] == 0)
            continue;
        if (!WriteFile(options.out / kArchives[a].path, archives[a].Build(), summary.error))
            return summary;
        ++summary.archives;
    }

    summary.files = options.files;
    if (!sizes.empty()) {
        std::sort(sizes.begin(), sizes.end());
        summary.medianFileBytes = sizes[sizes.size() / 2];
    }
    return summary;
}

} // namespace zelvane
