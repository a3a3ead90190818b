#include "objects/ObjectCatalog.h"

#include "objects/ObjectFileOpener.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/PathUtil.h"

#include <algorithm>
#include <filesystem>
#include <sys/resource.h>

namespace zelvane {

namespace {

constexpr const char* kLeftOut[] = {
    "animtester.iff", "bones.iff", "carportal.iff", "comeandsee.iff", "cursors.iff", "destination.iff",
    "dropdest.iff", "fire.iff", "firefighter.iff", "flood.iff", "gardener.iff", "helpsystem.iff",
    "jobfinder.iff", "npccontroller.iff", "maid.iff", "mailcarrierf1.iff", "officer.iff", "papercarrierf1.iff",
    "pedportal.iff", "phonecall.iff", "phoneline.iff", "pizzadude.iff", "placeholder.iff", "repairman.iff",
    "repoman.iff", "repomanfx.iff", "reservetile.iff", "scheduler.iff", "social2.iff", "socialinteractions.iff",
    "socialwkr.iff", "templateperson.iff", "thief.iff", "tutorial.iff", "visitgenerator.iff", "unsnacker.iff",
};
static_assert(std::size(kLeftOut) == 36);

// "Downloads;GameData\Objects;GameData\UserObjects", each made current-relative and ended with a separator.
std::vector<std::string> MakeSearchFolders()
{
    std::vector<std::string> folders;
    const std::string list = "Downloads;GameData\\Objects;GameData\\UserObjects";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos)
            end = list.size();
        std::string part = ToNativeSeparators(list.substr(start, end - start));
        start = end + 1;
        while (start < list.size() && (list[start] == ' ' || list[start] == '\t'))
            ++start;
        if (part.empty())
            continue;
        if (part.front() != '/' && part.rfind("./", 0) != 0 && part != ".")
            part = "./" + part;
        if (part.back() != '/')
            part += '/';
        folders.push_back(part);
    }
    return folders;
}

// Every catalogued file stays open: a game with thousands of object files
// needs more descriptors than the usual soft limit of 1024.
void RaiseOpenFileLimit()
{
    static const bool raised = [] {
        rlimit limit{};
        if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max)
            return false;
        limit.rlim_cur = limit.rlim_max;
        return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
    }();
    (void)raised;
}

} // namespace

const std::vector<std::string>& ObjectCatalog::SearchFolders()
{
    static const std::vector<std::string> folders = MakeSearchFolders();
    return folders;
}

bool ObjectCatalog::IsLeftOut(std::string_view fileName)
{
    return std::any_of(std::begin(kLeftOut), std::end(kLeftOut), [&](const char* name) { return fileName == name; });
}

void ObjectCatalog::Clear()
{
    guids_.clear();
    files_.clear();
}

void ObjectCatalog::Rebuild(const std::string& gameFolder)
{
    // Nothing of the previous build may stay open: files first, then the
    // archives the file system holds for them.
    Clear();
    RaiseOpenFileLimit();
    gameFolder_ = gameFolder;
    if (!gameFolder_.empty() && gameFolder_.back() != '/')
        gameFolder_ += '/';
    std::error_code ec;
    std::filesystem::create_directories(gameFolder_ + "Downloads/zelvane", ec); // a read-only game keeps going

    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    fileSystem.Reset();
    for (const std::string& folder : SearchFolders())
        fileSystem.Mount(gameFolder_ + folder, MountRecurse::Yes, MountArchives::Yes);
    for (const std::string& folder : SearchFolders())
        Scan(folder);

    for (const auto& file : files_)
        for (const auto& object : file->Objects())
            guids_.emplace(static_cast<uint32_t>(object->Definition().Guid()), object.get());
}

void ObjectCatalog::Scan(const std::string& relativeFolder)
{
    const std::string folder = gameFolder_ + relativeFolder;
    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    FsFind find;
    FsFindData item;
    for (bool more = fileSystem.FindFirst(folder + "*", find, item); more; more = fileSystem.FindNext(find, item)) {
        if (item.folder) {
            Scan(relativeFolder + item.name + "/");
            continue;
        }
        const std::string& name = item.name;
        if (name.size() <= 4 || AsciiLower(name.substr(name.size() - 4)) != ".iff")
            continue;
        // The name check comes first: a system file need not be opened at all.
        if (IsLeftOut(name))
            continue;
        const std::string withoutExtension = folder + name.substr(0, name.size() - 4);
        // The game's files are only ever read.
        int32_t code = kResOk;
        std::unique_ptr<CTGObjResFileSet> container =
            ObjectFileOpener::OpenSet(withoutExtension, OpenPurpose::Read, code);
        if (!container)
            continue;
        auto file = std::make_unique<CObjectFile>(withoutExtension, std::move(container));
        // A record that cannot be read ends its file's list; the objects before it stay listed.
        static_cast<void>(file->BuildLists());
        files_.push_back(std::move(file));
    }
}

std::vector<CObjectEntry*> ObjectCatalog::ListedObjects() const
{
    std::vector<CObjectEntry*> listed;
    for (const auto& file : files_)
        listed.insert(listed.end(), file->ListedObjects().begin(), file->ListedObjects().end());
    return listed;
}

std::vector<const CObjectEntry*> ObjectCatalog::ObjectsWithGuid(uint32_t guid) const
{
    std::vector<const CObjectEntry*> objects;
    const auto [first, last] = guids_.equal_range(guid);
    for (auto it = first; it != last; ++it)
        objects.push_back(it->second);
    return objects;
}

std::map<uint32_t, std::vector<const CObjectEntry*>> ObjectCatalog::SharedGuids() const
{
    std::map<uint32_t, std::vector<const CObjectEntry*>> shared;
    for (auto it = guids_.begin(); it != guids_.end();) {
        const auto last = guids_.upper_bound(it->first);
        if (std::distance(it, last) > 1)
            for (auto user = it; user != last; ++user)
                shared[it->first].push_back(user->second);
        it = last;
    }
    return shared;
}

} // namespace zelvane
