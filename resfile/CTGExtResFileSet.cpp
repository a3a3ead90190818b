#include "resfile/CTGExtResFileSet.h"

#include "resfile/CTGIffFile.h"
#include "resfile/CTGResDir.h"
#include "resfile/PathUtil.h"

#include <algorithm>

namespace zelvane {

CTGExtResFileSet::CTGExtResFileSet() = default;

void CTGExtResFileSet::RegisterExtension(ContainerKind kind, std::string_view extension)
{
    const auto value = static_cast<int32_t>(kind);
    if (value < 1 || value > 3 || registrations_.size() >= kMaxRegistrations)
        return;
    registrations_.push_back({kind, std::string(extension)});
}

void CTGExtResFileSet::ClearRegistrations()
{
    registrations_.clear();
}

std::unique_ptr<CTGResFile> CTGExtResFileSet::MakeContainer(ContainerKind kind)
{
    switch (kind) {
    case ContainerKind::Iff: return std::make_unique<CTGIffFile>();
    case ContainerKind::Directory: return std::make_unique<CTGResDir>();
    default: return nullptr;
    }
}

std::string CTGExtResFileSet::WithExtension(std::string_view path, std::string_view extension)
{
    const PathParts parts = SplitPath(path);
    return parts.folder + parts.base + std::string(extension);
}

int32_t CTGExtResFileSet::OpenContainer(std::string_view path)
{
    // Close explicitly to learn what closing the previous file says.
    static_cast<void>(CloseContainer());
    SetError(kResOk);
    int32_t lastFailure = kErrNoMember;
    bool opened = false;
    for (const Registration& registration : registrations_) {
        std::unique_ptr<CTGResFile> member = MakeContainer(registration.kind);
        if (!member)
            continue;
        if (auto* iff = dynamic_cast<CTGIffFile*>(member.get()))
            iff->SetOpenReadOnly(openReadOnly_);
        const int32_t error = member->OpenContainer(WithExtension(path, registration.extension));
        if (error == kResOk && AddMember(std::move(member)))
            opened = true;
        else if (error != kResOk)
            lastFailure = error;
    }
    return SetError(opened ? kResOk : lastFailure);
}

int32_t CTGExtResFileSet::CloseContainer()
{
    const int32_t error = CTGResFileSet::CloseContainer();
    members_.clear();
    return SetError(error);
}

void CTGExtResFileSet::GetFilePath(std::string& path)
{
    CTGResFileSet::GetFilePath(path);
    if (lastError_ == kResOk) {
        const PathParts parts = SplitPath(path);
        path = parts.folder + parts.base;
    }
}

int32_t CTGExtResFileSet::CreateContainer(std::string_view path)
{
    SetError(kResOk);
    int32_t lastError = kErrNoMember;
    bool created = false;
    std::vector<std::string> done;
    for (const Registration& registration : registrations_) {
        if (std::find(done.begin(), done.end(), registration.extension) != done.end())
            continue;
        std::unique_ptr<CTGResFile> member = MakeContainer(registration.kind);
        if (!member)
            continue;
        const int32_t error = member->CreateContainer(WithExtension(path, registration.extension));
        if (error == kErrCreateExists)
            return SetError(kErrCreateExists);
        if (error == kResOk) {
            created = true;
            done.push_back(registration.extension);
        } else {
            lastError = error;
        }
    }
    return SetError(created ? kResOk : lastError);
}

int32_t CTGExtResFileSet::DeleteContainer(std::string_view path)
{
    SetError(kResOk);
    if (registrations_.empty())
        return SetError(kErrNoMember);
    int32_t lastError = kErrNoMember;
    bool deleted = false;
    for (const Registration& registration : registrations_) {
        std::unique_ptr<CTGResFile> member = MakeContainer(registration.kind);
        if (!member)
            continue;
        const int32_t error = member->DeleteContainer(WithExtension(path, registration.extension));
        if (error == kErrNoWritableMember || error == kErrNotWritable)
            return SetError(error);
        if (error == kResOk)
            deleted = true;
        else
            lastError = error;
    }
    return SetError(deleted ? kResOk : lastError);
}

} // namespace zelvane
