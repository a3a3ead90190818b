#include "app/cli/ObjectFile.h"

#include "resfile/CTGFileSystem.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/CTGResDir.h"
#include "resfile/PathUtil.h"

#include <algorithm>
#include <filesystem>

namespace zelvane::cli {

namespace {

// The same name the set derives for a member.
std::string WithExtension(const std::string& path, std::string_view extension)
{
    const PathParts parts = SplitPath(path);
    return parts.folder + parts.base + std::string(extension);
}

const char* const kIffCompanions[] = {".iff", ".spf"};
constexpr const char* kFolderCompanion = ".dir";

// Why a file that exists does not open as an IFF container.
int32_t ProbeIff(const std::string& path, IndexMode mode)
{
    CTGIffFile probe;
    return probe.OpenContainer(path, mode);
}

// The folder holding the file, or when that exists only inside an archive,
// the nearest folder on disk, where such an archive lies.
std::string MountPoint(const std::string& path)
{
    std::filesystem::path folder = std::filesystem::path(ToNativeSeparators(path)).parent_path();
    std::error_code ec;
    while (!folder.empty() && !std::filesystem::is_directory(folder, ec))
        folder = folder.parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

} // namespace

std::string DisplayPath(const std::string& openedAs)
{
    const std::string real = CTGFileSystem::Instance().RealPath(openedAs);
    return SplitPath(openedAs).folder + std::filesystem::path(real).filename().string();
}

bool HasCompanions(const std::string& path)
{
    const std::string extension = AsciiLower(SplitPath(path).extension);
    return extension == ".iff" || extension == ".spf";
}

void MountFolderOf(const std::string& path)
{
    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    fileSystem.Mount(MountPoint(path), MountRecurse::No, MountArchives::Yes);
    // A folder met by a mount that does not recurse is known but empty; the
    // ".dir" companion must have its own files indexed to list any.
    FsEntryInfo info;
    if (const std::string dirPath = WithExtension(path, kFolderCompanion);
        HasCompanions(path) && fileSystem.Lookup(dirPath, info) && info.folder)
        fileSystem.Mount(info.realPath, MountRecurse::No, MountArchives::No);
}

bool ObjectFile::Open(const std::string& path, IndexMode mode, std::string& error)
{
    container_.reset();
    skipped_.clear();
    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    MountFolderOf(path);

    FsEntryInfo info;
    if (fileSystem.Lookup(path, info) && info.folder) {
        error = "is a folder, not an object file";
        return false;
    }
    if (!fileSystem.Exists(path)) {
        error = "no such file";
        return false;
    }
    // The file named on the command line must open by itself: a set would
    // quietly stand on a companion and hide what is wrong with it.
    if (const int32_t code = ProbeIff(path, mode); code != kResOk) {
        error = ResErrorText(code);
        return false;
    }

    if (!HasCompanions(path)) {
        auto alone = std::make_unique<CTGIffFile>();
        if (const int32_t code = alone->OpenContainer(path, mode); code != kResOk) {
            error = ResErrorText(code);
            return false;
        }
        container_ = std::move(alone);
        return true;
    }

    if (mode == IndexMode::PreferMap) {
        auto set = std::make_unique<CTGObjResFileSet>();
        if (const int32_t code = set->OpenContainer(path); code != kResOk) {
            error = ResErrorText(code);
            return false;
        }
        container_ = std::move(set);
        NoteSkippedCompanions(path);
        return true;
    }

    // A scan of every member: the same files, in the order the editor's set takes them.
    auto set = std::make_unique<CTGResFileSet>();
    for (const char* extension : kIffCompanions) {
        const std::string memberPath = WithExtension(path, extension);
        if (!fileSystem.Exists(memberPath))
            continue;
        auto member = std::make_unique<CTGIffFile>();
        if (const int32_t code = member->OpenContainer(memberPath, mode); code != kResOk)
            skipped_.push_back({DisplayPath(memberPath), ResErrorText(code)});
        else
            static_cast<void>(set->AddMember(std::move(member)));
    }
    const std::string folderPath = WithExtension(path, kFolderCompanion);
    if (fileSystem.Lookup(folderPath, info) && info.folder) {
        auto member = std::make_unique<CTGResDir>();
        if (member->OpenContainer(folderPath) == kResOk)
            static_cast<void>(set->AddMember(std::move(member)));
    }
    if (set->MemberCount() == 0) {
        error = ResErrorText(kErrNoMember);
        return false;
    }
    container_ = std::move(set);
    return true;
}

void ObjectFile::NoteSkippedCompanions(const std::string& path)
{
    std::vector<std::string> opened;
    for (CTGResFile* member : Members()) {
        std::string memberPath;
        member->GetFilePath(memberPath);
        opened.push_back(memberPath);
    }
    for (const char* extension : kIffCompanions) {
        const std::string memberPath = WithExtension(path, extension);
        if (std::find(opened.begin(), opened.end(), memberPath) != opened.end() ||
            !CTGFileSystem::Instance().Exists(memberPath))
            continue;
        skipped_.push_back({DisplayPath(memberPath),
                            ResErrorText(ProbeIff(memberPath, IndexMode::PreferMap))});
    }
}

std::vector<CTGResFile*> ObjectFile::Members() const
{
    std::vector<CTGResFile*> members;
    if (!container_)
        return members;
    if (const auto* set = dynamic_cast<const CTGResFileSet*>(container_.get())) {
        for (size_t slot = 0; slot < set->MemberCount(); ++slot)
            members.push_back(set->Member(slot));
    } else {
        members.push_back(container_.get());
    }
    return members;
}

} // namespace zelvane::cli
