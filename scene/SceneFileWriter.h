#pragma once
// Writes a scene file's values in its byte order (little-endian), into memory
// or into an open file a block at a time, so a scene of millions of triangles
// never needs a second copy of itself in memory. The first failure (a write
// that did not go through, or a value the format cannot hold) is kept and
// everything after it is dropped: callers write a whole scene and ask once.

#include "bytes/ByteWriter.h"
#include "scene/SceneColours.h"
#include "scene/math/Quaternion.h"
#include "scene/math/Vector3.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

class CTGFile;

// How a text ends in a fixed field: always with a terminator (so at most
// field − 1 characters), or filling the field without one when it is that long.
enum class FieldEnd { Terminated, MayFill };

class SceneFileWriter {
public:
    // Keeps everything in memory (Bytes()).
    SceneFileWriter();
    // Writes into `file`, open for writing, from its current position on;
    // `shownPath` names it in errors.
    SceneFileWriter(CTGFile& file, std::string shownPath);
    SceneFileWriter(const SceneFileWriter&) = delete;
    SceneFileWriter& operator=(const SceneFileWriter&) = delete;

    void U8(std::uint8_t value);
    void U32(std::uint32_t value);
    void I32(std::int32_t value);
    void F32(float value);
    void Vec3(const Vector3& value);
    void Colour(const ColourRGBA& value);
    void Quat(const Quaternion& value);
    void Raw(std::span<const std::uint8_t> bytes);
    // `text` in a field of `fieldSize` bytes, the rest zero bytes; longer
    // texts are cut to what the field holds.
    void FixedText(std::string_view text, std::size_t fieldSize, FieldEnd end = FieldEnd::Terminated);
    // A 32-bit length, then the bytes without a terminator.
    void CountedText(std::string_view text);

    // Keeps `why` as the failure unless there is one already.
    void Fail(std::string why);
    [[nodiscard]] bool ok() const { return error_.empty(); }
    // What went wrong, in words for the user.
    const std::string& Error() const { return error_; }

    // Writes what is buffered to the file. False when anything failed.
    [[nodiscard]] bool Finish();
    // Bytes written so far, buffered ones included.
    std::uint64_t Size() const { return flushed_ + buffer_.size(); }
    // Everything written, when writing into memory.
    const std::vector<std::uint8_t>& Bytes() const { return buffer_.data(); }

private:
    // Hands the buffer to the file once it holds a block.
    void MaybeFlush()
    {
        if (file_ && buffer_.size() >= kBlockSize)
            Flush();
    }
    void Flush();

    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    CTGFile* file_ = nullptr;
    std::string shownPath_;
    ByteWriter buffer_;
    std::uint64_t flushed_ = 0;
    std::string error_;
};

} // namespace zelvane
