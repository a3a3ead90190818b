#include "resfile/CTGFile.h"

#include "resfile/CTGFileSystem.h"
#include "resfile/ResErrors.h"

namespace zelvane {

CTGFile::CTGFile() : fileSystem_(&CTGFileSystem::Instance()) {}

CTGFile::CTGFile(CTGFileSystem& fileSystem) : fileSystem_(&fileSystem) {}

CTGFile::~CTGFile() = default;

int32_t CTGFile::Create(std::string_view path)
{
    if (file_)
        return kErrAlreadyOpen;
    return fileSystem_->CreateEmpty(path);
}

int32_t CTGFile::Delete(std::string_view path)
{
    if (file_)
        return kErrAlreadyOpen;
    return fileSystem_->Remove(path);
}

int32_t CTGFile::Open(std::string_view path)
{
    if (file_)
        return kErrAlreadyOpen;
    bool missing = false;
    file_ = fileSystem_->OpenRecord(path, OpenAccess::ReadWrite, &missing);
    writable_ = file_ != nullptr;
    // A file that is not there will not open read-only either.
    if (!file_ && !missing)
        file_ = fileSystem_->OpenRecord(path, OpenAccess::ReadOnly);
    return file_ ? kResOk : kErrCannotOpen;
}

int32_t CTGFile::OpenReadOnly(std::string_view path)
{
    if (file_)
        return kErrAlreadyOpen;
    file_ = fileSystem_->OpenRecord(path, OpenAccess::ReadOnly);
    writable_ = false;
    return file_ ? kResOk : kErrCannotOpen;
}

int32_t CTGFile::Close()
{
    if (!file_)
        return kErrNotOpen;
    file_.reset();
    writable_ = false;
    return kResOk;
}

int32_t CTGFile::Read(void* buffer, uint32_t count)
{
    return file_ ? file_->Read(buffer, count) : kErrNotOpen;
}

int32_t CTGFile::Write(const void* buffer, uint32_t count)
{
    return file_ ? file_->Write(buffer, count) : kErrNotOpen;
}

int32_t CTGFile::Seek(uint64_t offset)
{
    return file_ ? file_->Seek(offset) : kErrNotOpen;
}

int32_t CTGFile::GetEOF(uint64_t& size)
{
    return file_ ? file_->Length(size) : kErrNotOpen;
}

int32_t CTGFile::SetEOF(uint64_t size)
{
    return file_ ? file_->Truncate(size) : kErrNotOpen;
}

int32_t CTGFile::Flush()
{
    return file_ ? file_->Flush() : kErrNotOpen;
}

void CTGFile::DeferSync(bool defer)
{
    if (file_)
        file_->DeferSync(defer);
}

int32_t CTGFile::Sync()
{
    return file_ ? file_->SyncNow() : kErrNotOpen;
}

int32_t CTGFile::GetPath(std::string& path) const
{
    if (!file_)
        return kErrNotOpen;
    path = file_->Path();
    return kResOk;
}

int32_t CTGFile::ReadAt(uint64_t offset, void* buffer, uint32_t count)
{
    const int32_t error = Seek(offset);
    return error != kResOk ? error : Read(buffer, count);
}

int32_t CTGFile::WriteAt(uint64_t offset, const void* buffer, uint32_t count)
{
    const int32_t error = Seek(offset);
    return error != kResOk ? error : Write(buffer, count);
}

} // namespace zelvane
