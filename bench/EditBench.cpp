// edit_bench: what editing an object file costs in bytes written and time.
//
//   (a) Rewriting a resource whose size did not change: the bytes the file
//       layer writes, next to the size of the resource's chunk.
//   (b) 10,000 random edits (add, rewrite at the same size, grow, shrink,
//       remove; 100 B to 64 KiB) on a 5 MB object file, then the close:
//       total time and bytes written.
//
// Files are made with IffBuilder in FOLDER (the disk being measured) and
// removed afterwards. The file layer syncs after every write unless
// --sync-at-close is given (then only the close syncs).
//
// Usage: edit_bench FOLDER [--edits N] [--seed S] [--sync-at-close]

#include "resfile/CTGIffFile.h"
#include "resfile/FileLayerStats.h"
#include "resfile/IffBuilder.h"
#include "resfile/ResType.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kMinSize = 100;
constexpr uint32_t kMaxSize = 64 * 1024;
constexpr uint64_t kFileTarget = 5 * 1000 * 1000;
const ResType kTypes[] = {kTypeBHAV, kTypeSPR2, kTypeSTRList, kTypeDGRP};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Sizes spread evenly on a log scale, so small and large resources both occur often.
uint32_t RandomSize(std::mt19937& rng)
{
    std::uniform_real_distribution<double> exponent(std::log(double{kMinSize}), std::log(double{kMaxSize}));
    return static_cast<uint32_t>(std::exp(exponent(rng)));
}

void Fill(uint8_t* data, uint32_t size, std::mt19937& rng)
{
    const uint8_t seed = static_cast<uint8_t>(rng());
    for (uint32_t i = 0; i < size; ++i)
        data[i] = static_cast<uint8_t>(seed + i * 7);
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

struct Live {
    ResType type;
    int16_t id;
    uint32_t size;
};

// A 5 MB object file: resources of random sizes, with a map.
std::vector<uint8_t> MakeObjectFile(std::mt19937& rng, std::vector<Live>& live)
{
    IffBuilder builder;
    uint64_t total = 0;
    for (int16_t id = 1; total < kFileTarget; ++id) {
        const Live resource{kTypes[id % 4], id, RandomSize(rng)};
        std::vector<uint8_t> data(resource.size);
        Fill(data.data(), resource.size, rng);
        builder.AddChunk(resource.type, resource.id, "resource " + std::to_string(id), data);
        live.push_back(resource);
        total += resource.size + kChunkHeaderSize;
    }
    return builder.Build(IffBuilder::Map::Written);
}

// ---------------------------------------------------------------------------
// (a) same-size rewrites

bool MeasureRewrite(CTGIffFile& file, const Live& resource, std::mt19937& rng, uint64_t& bytes, uint64_t& writes)
{
    ResHandle* data = file.GetResource(resource.type, resource.id, nullptr);
    if (!data)
        return false;
    Fill(data->Data(), data->Size(), rng);
    FileLayerStats::Reset();
    const bool ok = file.WriteResource(data) == kResOk;
    bytes = FileLayerStats::BytesWritten();
    writes = FileLayerStats::Writes();
    file.ReleaseResource(data);
    return ok;
}

bool SameSizeRewrites(const std::string& path, const std::vector<Live>& live, std::mt19937& rng)
{
    CTGIffFile file;
    if (file.OpenContainer(path) != kResOk)
        return false;
    std::printf("(a) rewrite at the same size: bytes the file layer writes\n");
    std::printf("    %-28s %10s %10s %7s\n", "resource", "chunk", "written", "writes");
    // The first change of a session also clears the map offset in the file
    // header and frees the old map chunk; it is shown on its own line.
    bool first = true;
    for (uint32_t wanted : {100u, 4096u, 65536u}) {
        const Live* pick = &live.front();
        for (const Live& resource : live)
            if (std::abs(double(resource.size) - wanted) < std::abs(double(pick->size) - wanted))
                pick = &resource;
        for (int round = 0; round < (first ? 2 : 1); ++round) {
            uint64_t bytes = 0, writes = 0;
            if (!MeasureRewrite(file, *pick, rng, bytes, writes))
                return false;
            char name[64];
            std::snprintf(name, sizeof name, "%s %d (%u B)%s", ResTypeName(pick->type).c_str(), pick->id, pick->size,
                          first && round == 0 ? " first" : "");
            std::printf("    %-28s %10u %10llu %7llu\n", name, pick->size + kChunkHeaderSize,
                        static_cast<unsigned long long>(bytes), static_cast<unsigned long long>(writes));
        }
        first = false;
    }
    return file.CloseContainer() == kResOk;
}

// ---------------------------------------------------------------------------
// (b) random edits

struct EditCounts {
    size_t add = 0, rewrite = 0, grow = 0, shrink = 0, remove = 0, failed = 0;
};

bool RandomEdits(const std::string& path, std::vector<Live> live, int edits, bool syncAtClose, std::mt19937& rng)
{
    uint64_t liveBytes = 0;
    for (const Live& r : live)
        liveBytes += r.size;
    int16_t nextId = static_cast<int16_t>(live.size() + 1);

    FileLayerStats::Reset();
    const Clock::time_point start = Clock::now();
    CTGIffFile file;
    if (file.OpenContainer(path) != kResOk)
        return false;
    if (syncAtClose && file.SyncOnlyAtClose() != kResOk)
        return false;
    EditCounts counts;
    std::uniform_int_distribution<int> percent(0, 99);
    for (int i = 0; i < edits; ++i) {
        // Keep the file near its size: lean towards removing when it has grown, adding when it has shrunk.
        const int bias = liveBytes > kFileTarget * 11 / 10 ? 15 : liveBytes < kFileTarget * 9 / 10 ? -15 : 0;
        const int roll = percent(rng);
        const int kind = live.empty() ? 0 : roll < 20 - bias ? 0 : roll < 50 ? 1 : roll < 65 - bias ? 2 : roll < 80 ? 3 : 4;
        if (kind == 0) {
            const uint32_t size = RandomSize(rng);
            ResHandle* data = ResHandle::Create(size);
            Fill(data->Data(), size, rng);
            const Live resource{kTypes[nextId % 4], nextId, size};
            ++nextId;
            if (file.AddResource(data, resource.type, resource.id, "added", ResConverted::Yes) != kResOk ||
                file.WriteResource(data) != kResOk) {
                ++counts.failed;
                continue;
            }
            file.ReleaseResource(data);
            live.push_back(resource);
            liveBytes += size;
            ++counts.add;
            continue;
        }
        const size_t which = std::uniform_int_distribution<size_t>(0, live.size() - 1)(rng);
        Live& resource = live[which];
        ResHandle* data = file.GetResource(resource.type, resource.id, nullptr);
        if (!data) {
            ++counts.failed;
            continue;
        }
        if (kind == 4) {
            if (file.RemoveResource(data) != kResOk) {
                ++counts.failed;
                continue;
            }
            liveBytes -= resource.size;
            live[which] = live.back();
            live.pop_back();
            ++counts.remove;
            continue;
        }
        uint32_t size = resource.size;
        if (kind == 2)
            size = std::min(kMaxSize, size + 1 + static_cast<uint32_t>(size * std::uniform_real_distribution<double>(0.1, 1.0)(rng)));
        else if (kind == 3)
            size = std::max(kMinSize, static_cast<uint32_t>(size * std::uniform_real_distribution<double>(0.3, 0.9)(rng)));
        if (!data->Resize(size)) {
            ++counts.failed;
            continue;
        }
        Fill(data->Data(), size, rng);
        if (file.WriteResource(data) != kResOk) {
            ++counts.failed;
            continue;
        }
        file.ReleaseResource(data);
        liveBytes = liveBytes - resource.size + size;
        resource.size = size;
        ++(kind == 1 ? counts.rewrite : kind == 2 ? counts.grow : counts.shrink);
    }
    const Clock::time_point edited = Clock::now();
    const uint64_t editBytes = FileLayerStats::BytesWritten();
    const int32_t closed = file.CloseContainer();
    const Clock::time_point done = Clock::now();

    std::error_code ec;
    const uint64_t finalSize = std::filesystem::file_size(path, ec);
    std::printf("(b) %d random edits, %s\n", edits, syncAtClose ? "synced only at close" : "synced after every write");
    std::printf("    edits:          %zu add, %zu rewrite, %zu grow, %zu shrink, %zu remove, %zu failed\n", counts.add,
                counts.rewrite, counts.grow, counts.shrink, counts.remove, counts.failed);
    std::printf("    time:           %.3f s (edits %.3f s, close %.3f s)\n", Seconds(done - start),
                Seconds(edited - start), Seconds(done - edited));
    std::printf("    bytes written:  %.1f MiB (edits %.1f MiB, close %.1f MiB) in %llu writes\n",
                FileLayerStats::BytesWritten() / 1048576.0, editBytes / 1048576.0,
                (FileLayerStats::BytesWritten() - editBytes) / 1048576.0,
                static_cast<unsigned long long>(FileLayerStats::Writes()));
    std::printf("    live data:      %.1f MiB in %zu resources; file %.1f MiB after close\n", liveBytes / 1048576.0,
                live.size(), finalSize / 1048576.0);
    if (closed != kResOk)
        std::fprintf(stderr, "edit_bench: closing failed (%d)\n", closed);
    return closed == kResOk && counts.failed == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [--edits N] [--seed S] [--sync-at-close]\n", argv[0]);
        return 2;
    }
    int edits = 10000;
    unsigned seed = 1;
    bool syncAtClose = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--edits") == 0 && i + 1 < argc)
            edits = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc)
            seed = static_cast<unsigned>(std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--sync-at-close") == 0)
            syncAtClose = true;
        else {
            std::fprintf(stderr, "edit_bench: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string path = (folder / "edit-bench.iff").string();

    std::mt19937 rng(seed);
    std::vector<Live> live;
    const std::vector<uint8_t> bytes = MakeObjectFile(rng, live);
    std::printf("folder: %s\nobject file: %.1f MiB, %zu resources\n", folder.c_str(), bytes.size() / 1048576.0,
                live.size());
    bool ok = WriteFile(path, bytes) && SameSizeRewrites(path, live, rng);
    ok = ok && WriteFile(path, bytes) && RandomEdits(path, live, edits, syncAtClose, rng);
    std::filesystem::remove(path, ec);
    return ok ? 0 : 1;
}
