// Sections: names and paths; opening; finding and placing resources.

#include "objects/ObjectFileOpener.h"

#include "resfile/CTGFileSystem.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/CTGResDir.h"
#include "resfile/PathUtil.h"

#include <algorithm>
#include <filesystem>

namespace zelvane {

namespace {

// ---- names and paths ----

const char* const kIffCompanions[] = {".iff", ".spf"};
constexpr const char* kFolderCompanion = ".dir";

// The same name the set derives for a member.
std::string WithExtension(const std::string& path, std::string_view extension)
{
    const PathParts parts = SplitPath(path);
    return parts.folder + parts.base + std::string(extension);
}

// The one refusal for files packed in archives, whichever way a change reaches them.
std::string ArchiveRefusal(const std::string& archive)
{
    return "is inside the archive " + archive + "; files in archives cannot be changed";
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

// Why a file that exists does not open as an IFF container by itself.
int32_t ProbeIff(const std::string& path, IndexMode mode)
{
    CTGIffFile probe;
    probe.SetOpenReadOnly(true);
    return probe.OpenContainer(path, mode);
}

std::unique_ptr<CTGIffFile> MakeIff(OpenPurpose purpose)
{
    auto iff = std::make_unique<CTGIffFile>();
    iff->SetOpenReadOnly(purpose == OpenPurpose::Read);
    return iff;
}

} // namespace

std::string ResourceText(ResType type, int32_t id, uint8_t attribute)
{
    std::string text = ResTypeName(type) + " " + std::to_string(id);
    if (attribute != 0)
        text += " attribute " + std::to_string(attribute);
    return text;
}

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

std::string ObjectFileOpener::PathOf(CTGResFile& member)
{
    std::string path;
    member.GetFilePath(path);
    return DisplayPath(path);
}

std::string ObjectFileOpener::WhyReadOnly(CTGResFile& member)
{
    std::string path;
    member.GetFilePath(path);
    FsEntryInfo info;
    if (CTGFileSystem::Instance().Lookup(path, info) && info.inArchive)
        return ArchiveRefusal(info.realPath);
    if (!member.IsWritable())
        return "is read-only";
    return {};
}

// ---- opening ----

std::unique_ptr<CTGObjResFileSet> ObjectFileOpener::OpenSet(std::string_view path, OpenPurpose purpose, int32_t& code)
{
    auto set = std::make_unique<CTGObjResFileSet>();
    set->SetOpenReadOnly(purpose == OpenPurpose::Read);
    code = set->OpenContainer(path);
    if (code != kResOk)
        return nullptr;
    return set;
}

bool ObjectFileOpener::Open(const std::string& path, const ObjectFileOptions& options, std::string& error)
{
    container_.reset();
    skipped_.clear();
    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    if (options.mount == MountFolder::Yes)
        MountFolderOf(path);

    FsEntryInfo info;
    const bool known = fileSystem.Lookup(path, info);
    if (known && info.folder) {
        error = "is a folder, not an object file";
        return false;
    }
    // Refused before anything is opened, let alone written.
    if (known && info.inArchive && options.purpose == OpenPurpose::Change) {
        error = ArchiveRefusal(info.realPath);
        return false;
    }
    if (!fileSystem.Exists(path)) {
        error = "no such file";
        return false;
    }
    if (const int32_t code = ProbeIff(path, options.index); code != kResOk) {
        error = ResErrorText(code);
        return false;
    }

    if (options.companions == Companions::Excluded || !HasCompanions(path)) {
        std::unique_ptr<CTGIffFile> alone = MakeIff(options.purpose);
        if (const int32_t code = alone->OpenContainer(path, options.index); code != kResOk) {
            error = ResErrorText(code);
            return false;
        }
        container_ = std::move(alone);
    } else if (options.index == IndexMode::PreferMap) {
        int32_t code = kResOk;
        container_ = OpenSet(path, options.purpose, code);
        if (!container_) {
            error = ResErrorText(code);
            return false;
        }
        NoteSkippedCompanions(path);
    } else {
        // A scan of every member: the same files, in the order the editor's set takes them.
        auto set = std::make_unique<CTGResFileSet>();
        for (const char* extension : kIffCompanions) {
            const std::string memberPath = WithExtension(path, extension);
            if (!fileSystem.Exists(memberPath))
                continue;
            std::unique_ptr<CTGIffFile> member = MakeIff(options.purpose);
            if (const int32_t code = member->OpenContainer(memberPath, options.index); code != kResOk)
                skipped_.push_back({DisplayPath(memberPath), ResErrorText(code)});
            else if (!set->AddMember(std::move(member)))
                skipped_.push_back({DisplayPath(memberPath), "one member too many"});
        }
        const std::string folderPath = WithExtension(path, kFolderCompanion);
        if (fileSystem.Lookup(folderPath, info) && info.folder) {
            auto member = std::make_unique<CTGResDir>();
            if (member->OpenContainer(folderPath) == kResOk && !set->AddMember(std::move(member)))
                skipped_.push_back({DisplayPath(folderPath), "one member too many"});
        }
        if (set->MemberCount() == 0) {
            error = ResErrorText(kErrNoMember);
            return false;
        }
        container_ = std::move(set);
    }

    if (options.purpose == OpenPurpose::Change) {
        // The file named must be writable itself; its companions are checked
        // when a change reaches them.
        for (CTGResFile* member : Members())
            if (PathOf(*member) == DisplayPath(path)) {
                error = WhyReadOnly(*member);
                if (!error.empty()) {
                    container_.reset();
                    return false;
                }
            }
    }
    return true;
}

void ObjectFileOpener::NoteSkippedCompanions(const std::string& path)
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
        skipped_.push_back({DisplayPath(memberPath), ResErrorText(ProbeIff(memberPath, IndexMode::PreferMap))});
    }
}

std::vector<CTGResFile*> ObjectFileOpener::Members() const
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

int32_t ObjectFileOpener::Close()
{
    return container_ ? container_->CloseContainer() : kErrNotOpen;
}

// ---- finding and placing resources ----

bool ObjectFileOpener::Find(ResType type, int16_t id, uint8_t attribute, Found& found, std::string& error)
{
    found = {};
    for (CTGResFile* member : Members()) {
        ResHandle* data = member->GetResourceEx(type, id, attribute, nullptr);
        const int32_t code = member->GetLastError();
        if (data) {
            // Lookups with an attribute fall back to attribute 0: that is another resource.
            if (member->GetResAttr(data) != attribute)
                continue;
            found = {member, data};
            return true;
        }
        if (code != kErrNoSuchResource && code != kErrNoSuchName && code != kErrAttrUnsupported) {
            error = PathOf(*member) + ": " + ResourceText(type, id, attribute) + " cannot be read (" +
                    ResErrorText(code) + ")";
            return false;
        }
    }
    return true;
}

bool ObjectFileOpener::FindForChange(ResType type, int16_t id, uint8_t attribute, Found& found, std::string& subject,
                                     std::string& error)
{
    if (!Find(type, id, attribute, found, error))
        return false;
    if (!found) {
        error = std::string(ResErrorText(kErrNoSuchResource)) + " (" + ResourceText(type, id, attribute) + ")";
        return false;
    }
    if (const std::string why = WhyReadOnly(*found.member); !why.empty()) {
        subject = PathOf(*found.member);
        error = why + " (" + ResourceText(type, id, attribute) + " is there)";
        return false;
    }
    return true;
}

bool ObjectFileOpener::IdIsFree(ResType type, int16_t id, uint8_t attribute, std::string& subject, std::string& error)
{
    Found taken;
    if (!Find(type, id, attribute, taken, error))
        return false;
    if (!taken)
        return true;
    subject = PathOf(*taken.member);
    error = ResourceText(type, id, attribute) + " already exists";
    return false;
}

CTGResFile* ObjectFileOpener::Route(ResType type, std::string& subject, std::string& error)
{
    const std::vector<CTGResFile*> members = Members();
    auto* set = dynamic_cast<CTGResFileSet*>(container_.get());
    CTGResFile* readOnly = nullptr;
    for (size_t slot = 0; slot < members.size(); ++slot) {
        if (set && !set->Admits(slot, type))
            continue;
        if (WhyReadOnly(*members[slot]).empty())
            return members[slot];
        if (!readOnly)
            readOnly = members[slot];
    }
    if (readOnly) {
        subject = PathOf(*readOnly);
        error = WhyReadOnly(*readOnly);
    } else {
        subject.clear();
        error = ResErrorText(kErrNoFilterAdmits);
    }
    return nullptr;
}

} // namespace zelvane
