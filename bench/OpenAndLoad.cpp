// open_and_load: how long the object catalog's work takes on a game folder,
// against the time `cat` needs to read the same files once.
//
// Mounts the three object folders (archives included), walks them through
// the file system for *.iff files, opens each as a CTGObjResFileSet, loads
// every OBJD and closes it. Then reads every loose object file and every
// archive with /bin/cat. Both are run once untimed to warm the cache, then
// timed --repeat times; medians are reported.
//
// Usage: open_and_load GAME_FOLDER [--repeat N]

#include "objects/ObjectCatalog.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/ResType.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

using namespace zelvane;

namespace {

using Clock = std::chrono::steady_clock;

// Search order of the object catalog.
const char* const kObjectFolders[] = {"Downloads", "GameData/Objects", "GameData/UserObjects"};

// Keeps each cat command line far below the system's argument limit.
constexpr size_t kCatBatchBytes = 64 * 1024;

struct Counts {
    size_t files = 0;
    size_t failedOpens = 0;
    size_t objds = 0;
    uint64_t objdBytes = 0;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool IsObjectFile(const std::string& name)
{
    if (name.size() <= 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".iff";
}

void OpenAndLoad(CTGFileSystem& fileSystem, const std::string& folder, Counts& counts)
{
    FsFind find;
    FsFindData item;
    for (bool more = fileSystem.FindFirst(folder + "/*", find, item); more; more = fileSystem.FindNext(find, item)) {
        const std::string path = folder + "/" + item.name;
        if (item.folder) {
            OpenAndLoad(fileSystem, path, counts);
            continue;
        }
        if (!IsObjectFile(item.name))
            continue;
        ++counts.files;
        CTGObjResFileSet objects;
        if (objects.OpenContainer(path.substr(0, path.size() - 4)) != kResOk) {
            ++counts.failedOpens;
            continue;
        }
        const int16_t objdCount = objects.CountResources(kTypeOBJD);
        for (int32_t i = 1; i <= objdCount; ++i)
            if (const ResHandle* objd = objects.GetIndResource(kTypeOBJD, i, nullptr)) {
                ++counts.objds;
                counts.objdBytes += objd->Size();
            }
        static_cast<void>(objects.CloseContainer()); // read-only: nothing to write
    }
}

// Runs /bin/cat over the files in batches, output to /dev/null; false when a cat fails.
bool CatAll(const std::vector<std::string>& files)
{
    size_t next = 0;
    while (next < files.size()) {
        std::vector<char*> args{const_cast<char*>("cat")};
        size_t bytes = 0;
        while (next < files.size() && (args.size() == 1 || bytes + files[next].size() < kCatBatchBytes)) {
            bytes += files[next].size() + 1;
            args.push_back(const_cast<char*>(files[next].c_str()));
            ++next;
        }
        args.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int error = posix_spawn(&pid, "/bin/cat", &actions, nullptr, args.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0)
            return false;
        int status = 0;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return false;
    }
    return true;
}

std::vector<std::string> FilesOnDisk(const std::filesystem::path& game, uint64_t& totalBytes)
{
    std::vector<std::string> files;
    totalBytes = 0;
    for (const char* folder : kObjectFolders) {
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(game / folder, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (!it->is_regular_file())
                continue;
            std::string ext = it->path().extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
            if (ext == ".iff" || ext == ".far") {
                files.push_back(it->path().string());
                totalBytes += it->file_size();
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--repeat") == 0)) {
        std::fprintf(stderr, "usage: %s GAME_FOLDER [--repeat N]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path game = std::filesystem::absolute(argv[1]);
    const int repeat = argc == 4 ? std::max(1, std::atoi(argv[3])) : 3;

    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    std::vector<double> mountTimes, loadTimes, catTimes;
    Counts counts;
    for (int run = 0; run <= repeat; ++run) {
        fileSystem.Reset();
        const Clock::time_point start = Clock::now();
        for (const char* folder : kObjectFolders)
            fileSystem.Mount((game / folder).string(), MountRecurse::Yes, MountArchives::Yes);
        const Clock::time_point mounted = Clock::now();
        counts = {};
        for (const char* folder : kObjectFolders)
            OpenAndLoad(fileSystem, (game / folder).string(), counts);
        const Clock::time_point loaded = Clock::now();
        if (run > 0) { // run 0 warms the cache
            mountTimes.push_back(Seconds(mounted - start));
            loadTimes.push_back(Seconds(loaded - mounted));
        }
    }
    fileSystem.Reset();

    uint64_t catBytes = 0;
    const std::vector<std::string> files = FilesOnDisk(game, catBytes);
    for (int run = 0; run <= repeat; ++run) {
        const Clock::time_point start = Clock::now();
        if (!CatAll(files)) {
            std::fprintf(stderr, "open_and_load: /bin/cat failed\n");
            return 1;
        }
        if (run > 0)
            catTimes.push_back(Seconds(Clock::now() - start));
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long passPeak = usage.ru_maxrss;

    // The catalog rebuild does the same work and keeps every file open with
    // its object lists; it runs last so its peak memory is its own addition.
    std::vector<double> catalogTimes;
    size_t catalogObjects = 0;
    for (int run = 0; run <= repeat; ++run) {
        ObjectCatalog catalog;
        const Clock::time_point start = Clock::now();
        catalog.Rebuild(game.string());
        if (run > 0)
            catalogTimes.push_back(Seconds(Clock::now() - start));
        catalogObjects = catalog.ListedObjects().size();
    }
    getrusage(RUSAGE_SELF, &usage);
    const double catalogTime = Median(catalogTimes);
    const double mount = Median(mountTimes), load = Median(loadTimes), cat = Median(catTimes);
    std::printf("game folder:     %s\n", game.c_str());
    std::printf("object files:    %zu found, %zu failed to open, %zu OBJD loaded (%llu bytes)\n", counts.files,
                counts.failedOpens, counts.objds, static_cast<unsigned long long>(counts.objdBytes));
    std::printf("cat input:       %zu files, %.1f MiB\n", files.size(), static_cast<double>(catBytes) / (1024.0 * 1024.0));
    std::printf("runs:            %d timed after one warm-up, medians below\n", repeat);
    std::printf("mount:           %.3f s\n", mount);
    std::printf("open-and-load:   %.3f s\n", load);
    std::printf("cat:             %.3f s\n", cat);
    std::printf("ratio open-and-load / cat:          %.3f (target <= 0.5)\n", load / cat);
    std::printf("ratio (mount + open-and-load) / cat: %.3f\n", (mount + load) / cat);
    std::printf("peak memory:     %ld KiB after open-and-load\n", passPeak);
    std::printf("catalog rebuild: %.3f s (%zu objects listed), peak memory %ld KiB\n", catalogTime, catalogObjects,
                usage.ru_maxrss);
    std::printf("ratio catalog / (mount + open-and-load): %.3f (target <= 1.5)\n", catalogTime / (mount + load));
    return counts.failedOpens == 0 ? 0 : 1;
}
