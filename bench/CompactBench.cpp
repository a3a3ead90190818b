// compact_bench: compacting a 50 MB object file that is half free space,
// against copying the same file with cp.
//
// The file alternates live chunks and free chunks of the same size (made with
// IffBuilder, with a map). Each run writes it afresh (untimed), reads it once
// so the cache is warm, then times open + CompactOnClose + close; cp of the
// same bytes to a new file is timed the same way (fork/exec of /bin/cp).
// Compaction syncs the new file before it replaces the old one, which cp does
// not do, so cp followed by fdatasync of the copy is timed as well. Medians of
// --repeat runs are reported.
//
// Usage: compact_bench FOLDER [--size-mb N] [--repeat N]

#include "bench/BenchFiles.h"
#include "resfile/CTGIffFile.h"
#include "resfile/FileLayerStats.h"
#include "resfile/IffBuilder.h"
#include "resfile/ResType.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace zelvane;
using namespace zelvane::bench;

namespace {

// Each live chunk and each free chunk: 25 KiB of data plus its header.
constexpr uint32_t kDataSize = 25 * 1024;

std::vector<uint8_t> HalfFreeFile(uint64_t totalBytes)
{
    IffBuilder builder;
    std::vector<uint8_t> data(kDataSize);
    const uint64_t pairs = totalBytes / (2 * (kDataSize + kChunkHeaderSize));
    for (uint64_t i = 0; i < pairs; ++i) {
        for (uint32_t b = 0; b < kDataSize; ++b)
            data[b] = static_cast<uint8_t>(i + b * 3);
        builder.AddChunk(kTypeSPR2, static_cast<int16_t>(i % 30000), "sprite " + std::to_string(i), data);
        builder.AddFreeChunk(kDataSize + kChunkHeaderSize);
    }
    return builder.Build(IffBuilder::Map::Written);
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [--size-mb N] [--repeat N]\n", argv[0]);
        return 2;
    }
    uint64_t sizeMb = 50;
    int repeat = 5;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size-mb") == 0 && i + 1 < argc)
            sizeMb = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "compact_bench: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string path = (folder / "compact-bench.iff").string();
    const std::string copy = (folder / "compact-bench-copy.iff").string();

    const std::vector<uint8_t> bytes = HalfFreeFile(sizeMb * 1000 * 1000);
    std::vector<double> compactTimes, copyTimes, copySyncTimes;
    uint64_t after = 0, written = 0;
    bool ok = true;
    for (int run = 0; run < repeat && ok; ++run) {
        ok = WriteFile(path, bytes);
        Warm(path);
        FileLayerStats::Reset();
        const Clock::time_point start = Clock::now();
        CTGIffFile file;
        ok = ok && file.OpenContainer(path) == kResOk && file.CompactOnClose() == kResOk &&
             file.CloseContainer() == kResOk;
        compactTimes.push_back(Seconds(Clock::now() - start));
        written = FileLayerStats::BytesWritten();
        after = std::filesystem::file_size(path, ec);

        ok = ok && WriteFile(path, bytes);
        Warm(path);
        std::filesystem::remove(copy, ec);
        const Clock::time_point copyStart = Clock::now();
        ok = ok && Copy(path, copy);
        copyTimes.push_back(Seconds(Clock::now() - copyStart));
        ok = ok && SyncFile(copy);
        copySyncTimes.push_back(Seconds(Clock::now() - copyStart));
    }
    std::filesystem::remove(path, ec);
    std::filesystem::remove(copy, ec);
    if (!ok) {
        std::fprintf(stderr, "compact_bench: a run failed\n");
        return 1;
    }
    const double compact = Median(compactTimes), cp = Median(copyTimes), cpSync = Median(copySyncTimes);
    std::printf("folder:      %s\n", folder.c_str());
    std::printf("file:        %.1f MiB, half of it free; %.1f MiB after compaction (%.1f MiB written)\n",
                bytes.size() / 1048576.0, after / 1048576.0, written / 1048576.0);
    std::printf("runs:        %d, medians below\n", repeat);
    std::printf("compaction:  %.3f s (open, CompactOnClose, close)\n", compact);
    std::printf("cp:          %.3f s (%.3f s with fdatasync of the copy)\n", cp, cpSync);
    std::printf("ratio compaction / cp: %.2f (target <= 2); against cp with fdatasync: %.2f\n", compact / cp,
                compact / cpSync);
    return 0;
}
