#include "resfile/FarManifest.h"

#include "bytes/ByteReader.h"
#include "resfile/FarLayout.h"
#include "resfile/PathUtil.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace zelvane {

namespace {

// Sequential reads from an archive through a window, so that a manifest of
// thousands of entries costs a handful of system calls.
class ArchiveReader {
public:
    ArchiveReader(int fd, uint64_t fileSize) : fd_(fd), fileSize_(fileSize) {}

    bool Seek(uint64_t position)
    {
        if (position > fileSize_)
            return false;
        position_ = position;
        return true;
    }
    uint64_t Remaining() const { return fileSize_ - position_; }

    bool Read(void* out, size_t count)
    {
        if (count > Remaining())
            return false;
        auto* dest = static_cast<uint8_t*>(out);
        while (count > 0) {
            if (position_ < windowStart_ || position_ >= windowStart_ + windowFill_) {
                if (!Fill())
                    return false;
            }
            const size_t offset = static_cast<size_t>(position_ - windowStart_);
            const size_t n = std::min(count, windowFill_ - offset);
            std::memcpy(dest, window_.data() + offset, n);
            dest += n;
            count -= n;
            position_ += n;
        }
        return true;
    }
    bool Skip(uint64_t count) { return count <= Remaining() && Seek(position_ + count); }
    bool U32(uint32_t& value)
    {
        std::array<uint8_t, 4> bytes{};
        if (!Read(bytes.data(), bytes.size()))
            return false;
        value = ByteReader(bytes).u32le();
        return true;
    }

private:
    bool Fill()
    {
        windowStart_ = position_;
        windowFill_ = 0;
        while (true) {
            const ssize_t got = ::pread(fd_, window_.data(), window_.size(), static_cast<off_t>(position_));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            windowFill_ = static_cast<size_t>(got);
            return true;
        }
    }

    int fd_;
    uint64_t fileSize_;
    uint64_t position_ = 0;
    uint64_t windowStart_ = 0;
    size_t windowFill_ = 0;
    std::array<uint8_t, 65536> window_{};
};

} // namespace

std::string CleanArchiveName(std::string_view raw)
{
    std::string name = ToNativeSeparators(raw);
    if (name.empty() || name.front() == '/' || name.find('\0') != std::string::npos)
        return {};
    std::string clean;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos)
            end = name.size();
        const std::string_view part(name.data() + start, end - start);
        if (part == "..")
            return {};
        if (!part.empty() && part != ".") {
            if (!clean.empty())
                clean += '/';
            clean += part;
        }
        start = end + 1;
    }
    return clean;
}

FarManifest ReadFarManifest(int fd, uint64_t archiveSize)
{
    FarManifest manifest;
    ArchiveReader reader(fd, archiveSize);
    std::array<uint8_t, kFarHeaderSize> header{};
    uint32_t count = 0;
    if (!reader.Read(header.data(), header.size())) {
        manifest.notes.emplace_back("shorter than the archive header");
        return manifest;
    }
    ByteReader headerReader(header);
    headerReader.seek(kFarManifestOffsetPos);
    const uint32_t manifestOffset = headerReader.u32le();
    if (!reader.Seek(manifestOffset) || !reader.U32(count)) {
        manifest.notes.emplace_back("manifest offset " + std::to_string(manifestOffset) + " lies past the end");
        return manifest;
    }
    std::string name;
    // A lying count simply runs into the end of the file: each entry needs at
    // least 16 bytes, so the loop is bounded by the archive's size.
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0, length2 = 0, offset = 0, nameLength = 0;
        if (!reader.U32(length) || !reader.U32(length2) || !reader.U32(offset) || !reader.U32(nameLength)) {
            manifest.notes.emplace_back("manifest ends after " + std::to_string(i) + " of " + std::to_string(count) +
                                        " entries");
            return manifest;
        }
        if (nameLength > kFarMaxNameLength) {
            manifest.notes.emplace_back("skipped an entry whose name is " + std::to_string(nameLength) + " bytes long");
            if (!reader.Skip(nameLength))
                return manifest;
            continue;
        }
        name.resize(nameLength);
        if (!reader.Read(name.data(), nameLength)) {
            manifest.notes.emplace_back("manifest ends inside the name of entry " + std::to_string(i));
            return manifest;
        }
        if (offset > archiveSize || length > archiveSize - offset) {
            manifest.notes.emplace_back("skipped entry '" + name + "': it reaches past the archive's end");
            continue;
        }
        std::string clean = CleanArchiveName(name);
        if (clean.empty()) {
            manifest.notes.emplace_back("skipped an entry with an unusable name");
            continue;
        }
        manifest.entries.push_back({std::move(clean), offset, length});
    }
    manifest.complete = true;
    return manifest;
}

} // namespace zelvane
