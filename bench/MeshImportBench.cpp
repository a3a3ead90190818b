// mesh_import_bench: how long meshport takes to import a .3ds file, and how
// much memory the process needs for it.
//
//   mesh_import_bench FILE --plugins DIR
//       one import as the editor runs it: the host loads the plug-ins of DIR
//       and imports FILE through meshport's zelplug_Import, then checks the
//       set and measures its extents. Prints the time and the peak memory.
//   mesh_import_bench FILE --phases [--repeat N]
//       where the time goes, with meshport's reader linked in: reading the
//       file, decoding the chunks into the model (with material resolution),
//       handing the model over as mesh records, and the host's check and
//       extents; medians of N runs (default 5).

#include "plugins/host/CPluginManager.h"
#include "plugins/host/MeshSetCheck.h"
#include "plugins/meshport/MeshSetBuilder.h"
#include "plugins/meshport/ThreeDSReader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace zelvane;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

double PeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

struct Totals {
    long long parts = 0, faces = 0, vertices = 0;
};

Totals Count(const MeshSet& set)
{
    Totals totals;
    totals.parts = set.partCount;
    for (int32_t i = 0; i < set.partCount; ++i) {
        totals.faces += set.parts[i].faceCount;
        totals.vertices += set.parts[i].vertexCount;
    }
    return totals;
}

int ImportOnce(const std::string& file, const std::string& plugins)
{
    CPluginManager manager;
    static_cast<void>(manager.ScanFolder(plugins)); // meshport is looked for by name below
    const CPlugin* meshport = manager.FindByName("meshport");
    if (!meshport) {
        std::fprintf(stderr, "mesh_import_bench: no meshport in %s\n", plugins.c_str());
        return 1;
    }
    const double before = PeakMiB();
    const auto start = Clock::now();
    const Result<MeshSet> set = manager.Import(*meshport, file);
    const auto end = Clock::now();
    if (!set)
        return 1;
    const Totals totals = Count(*set);
    std::printf("meshport: %.3f s, peak %.1f MiB (%.1f MiB before the import); %lld parts, %lld faces, %lld "
                "vertices\n",
                Seconds(start, end), PeakMiB(), before, totals.parts, totals.faces, totals.vertices);
    return 0;
}

// One read of the whole file into a buffer, as meshport reads it.
std::vector<uint8_t> ReadFile(const std::string& file)
{
    std::vector<uint8_t> bytes;
    if (std::FILE* in = std::fopen(file.c_str(), "rb")) {
        std::fseek(in, 0, SEEK_END);
        bytes.resize(static_cast<size_t>(std::max(0L, std::ftell(in))));
        std::fseek(in, 0, SEEK_SET);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
        std::fclose(in);
    }
    return bytes;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Phases(const std::string& file, int repeat)
{
    std::vector<double> read, decode, handOver, check;
    Totals totals;
    for (int run = 0; run < repeat; ++run) {
        const auto t0 = Clock::now();
        const std::vector<uint8_t> bytes = ReadFile(file);
        const auto t1 = Clock::now();
        meshport::ThreeDSModel model = meshport::ReadThreeDS(bytes);
        const auto t2 = Clock::now();
        MeshSet set{"bench", 0, nullptr, 0, 0, 0};
        meshport::HandOverMeshes(model, set);
        model = {};
        const auto t3 = Clock::now();
        if (CheckMeshSet(set))
            return 1;
        const std::array<float, 3> extents = MeasureExtents(set);
        const auto t4 = Clock::now();
        totals = Count(set);
        if (extents[0] < 0)
            return 1;
        meshport::ReleaseMeshSet(set);
        read.push_back(Seconds(t0, t1));
        decode.push_back(Seconds(t1, t2));
        handOver.push_back(Seconds(t2, t3));
        check.push_back(Seconds(t3, t4));
    }
    std::printf("phases (median of %d): read file %.3f s, decode chunks %.3f s, hand over %.3f s, host check and "
                "extents %.3f s; %lld parts, %lld faces\n",
                repeat, Median(read), Median(decode), Median(handOver), Median(check), totals.parts, totals.faces);
    return 0;
}

int Usage()
{
    std::fprintf(stderr, "usage: mesh_import_bench FILE (--plugins DIR | --phases [--repeat N])\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const std::string file = argv[1];
    const std::string mode = argv[2];
    if (mode == "--plugins" && argc == 4)
        return ImportOnce(file, argv[3]);
    if (mode == "--phases") {
        int repeat = 5;
        if (argc == 5 && std::strcmp(argv[3], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[4]));
        else if (argc != 3)
            return Usage();
        return Phases(file, repeat);
    }
    return Usage();
}
