// mesh_import_bench: how long meshport takes to import a .3ds file (and
// modelport a .glb or .obj), and how much memory the process needs for it.
//
//   mesh_import_bench FILE --plugins DIR [--plugin NAME]
//       one import as the editor runs it: the host loads the plug-ins of DIR
//       and imports FILE through the plug-in NAME (default meshport; the
//       import with materials and, for modelport, units), then checks the
//       set and measures its extents. Prints the time and the peak memory.
//   mesh_import_bench FILE --modelport-phases [--repeat N]
//       modelport's steps: reading the file, reading the model (for OBJ also
//       as MB/s of the file), handing it over, the host's check and extents.
//   mesh_import_bench FILE --phases [--repeat N]
//       where the time goes, with meshport's reader linked in: reading the
//       file, decoding the chunks into the model (with material resolution),
//       handing the model over as mesh records, and the host's check and
//       extents; medians of N runs (default 5).

#include "plugins/host/CPluginManager.h"
#include "plugins/host/MeshSetCheck.h"
#include "plugins/meshport/MeshSetBuilder.h"
#include "plugins/meshport/ThreeDSReader.h"
#include "plugins/modelport/HandOver.h"
#include "plugins/modelport/ModelportImport.h"

#include <algorithm>
#include <array>
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

int ImportOnce(const std::string& file, const std::string& plugins, const std::string& name)
{
    CPluginManager manager;
    static_cast<void>(manager.ScanFolder(plugins)); // the plug-in is looked for by name below
    const CPlugin* plugin = manager.FindByName(name);
    if (!plugin) {
        std::fprintf(stderr, "mesh_import_bench: no %s in %s\n", name.c_str(), plugins.c_str());
        return 1;
    }
    const double before = PeakMiB();
    const auto start = Clock::now();
    const Result<ImportedModel> model = manager.ImportModel(*plugin, file);
    const auto end = Clock::now();
    if (!model)
        return 1;
    const Totals totals = Count(model->set);
    std::printf("%s: %.3f s, peak %.1f MiB (%.1f MiB before the import); %lld parts, %lld faces, %lld "
                "vertices\n",
                name.c_str(), Seconds(start, end), PeakMiB(), before, totals.parts, totals.faces, totals.vertices);
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

int ModelportPhases(const std::string& file, int repeat)
{
    std::vector<double> read, parse, handOver, check;
    Totals totals;
    size_t size = 0;
    const modelport::ModelFormat format = modelport::FormatOf(file);
    for (int run = 0; run < repeat; ++run) {
        const auto t0 = Clock::now();
        const std::vector<uint8_t> bytes = ReadFile(file);
        size = bytes.size();
        const auto t1 = Clock::now();
        modelport::Model model = modelport::ReadModel(bytes, format, {file, {}});
        const auto t2 = Clock::now();
        MeshSet set{"bench", 0, nullptr, 0, 0, 0};
        MeshMaterials materials{ZELPLUG_MATERIALS_VERSION, 0, nullptr, 0, nullptr};
        MeshModelInfo info{ZELPLUG_MODEL_INFO_VERSION, 0, 0, nullptr};
        modelport::HandOver(model, set, &materials, &info);
        const auto t3 = Clock::now();
        if (CheckMeshSet(set))
            return 1;
        const std::array<float, 3> extents = MeasureExtents(set);
        const auto t4 = Clock::now();
        totals = Count(set);
        if (extents[0] < 0)
            return 1;
        modelport::ReleaseMeshSet(set);
        modelport::ReleaseMaterials(materials);
        modelport::ReleaseInfo(info);
        read.push_back(Seconds(t0, t1));
        parse.push_back(Seconds(t1, t2));
        handOver.push_back(Seconds(t2, t3));
        check.push_back(Seconds(t3, t4));
    }
    const double mb = static_cast<double>(size) / 1e6;
    std::printf("modelport phases (median of %d): read file %.3f s, read model %.3f s (%.0f MB/s of %.1f MB), hand "
                "over %.3f s, host check and extents %.3f s; %lld parts, %lld faces\n",
                repeat, Median(read), Median(parse), mb / Median(parse), mb, Median(handOver), Median(check),
                totals.parts, totals.faces);
    return 0;
}

int Usage()
{
    std::fprintf(stderr, "usage: mesh_import_bench FILE (--plugins DIR [--plugin NAME] | (--phases | "
                         "--modelport-phases) [--repeat N])\n");
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
        return ImportOnce(file, argv[3], "meshport");
    if (mode == "--plugins" && argc == 6 && std::strcmp(argv[4], "--plugin") == 0)
        return ImportOnce(file, argv[3], argv[5]);
    if (mode == "--phases" || mode == "--modelport-phases") {
        int repeat = 5;
        if (argc == 5 && std::strcmp(argv[3], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[4]));
        else if (argc != 3)
            return Usage();
        return mode == "--phases" ? Phases(file, repeat) : ModelportPhases(file, repeat);
    }
    return Usage();
}
