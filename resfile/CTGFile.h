#pragma once
// The file object through which every container reads and writes its disk
// file, plain or inside an archive. Every operation returns 0 or a negative
// library error code; on a closed object each answers -49 and changes nothing.
// A failed read leaves the position where the system left it: callers seek
// before every read and write.

#include "resfile/FsOpenFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zelvane {

class CTGFileSystem;

class CTGFile {
public:
    CTGFile();
    explicit CTGFile(CTGFileSystem& fileSystem);
    virtual ~CTGFile();
    CTGFile(const CTGFile&) = delete;
    CTGFile& operator=(const CTGFile&) = delete;

    [[nodiscard]] int32_t Create(std::string_view path); // -47 open, -43 exists, -42 cannot create
    [[nodiscard]] int32_t Delete(std::string_view path); // -47 open, -40 missing, -39 cannot delete
    [[nodiscard]] int32_t Open(std::string_view path);   // read-write, else read-only; -50 when neither
    [[nodiscard]] int32_t OpenReadOnly(std::string_view path); // -50 when it cannot be read
    int32_t Close(); // -49 when not open: closing an open file cannot fail
    [[nodiscard]] int32_t Read(void* buffer, uint32_t count);        // -48 on a short read
    [[nodiscard]] int32_t Write(const void* buffer, uint32_t count); // -46 on a short write
    [[nodiscard]] int32_t Seek(uint64_t offset);                     // -48 beyond the end
    [[nodiscard]] int32_t GetEOF(uint64_t& size);
    [[nodiscard]] int32_t SetEOF(uint64_t size);                     // -50 when it cannot be cut
    [[nodiscard]] int32_t Flush();
    // Flushes stop syncing to the disk; Sync does it once (see FsOpenFile).
    void DeferSync(bool defer);
    [[nodiscard]] int32_t Sync();
    bool IsOpen() const { return file_ != nullptr; }
    bool IsWritable() const { return file_ && writable_; }
    [[nodiscard]] int32_t GetPath(std::string& path) const;

    // Seek then read/write: the pairs every container needs.
    [[nodiscard]] int32_t ReadAt(uint64_t offset, void* buffer, uint32_t count);
    [[nodiscard]] int32_t WriteAt(uint64_t offset, const void* buffer, uint32_t count);

private:
    CTGFileSystem* fileSystem_;
    std::unique_ptr<FsOpenFile> file_;
    bool writable_ = false;
};

} // namespace zelvane
