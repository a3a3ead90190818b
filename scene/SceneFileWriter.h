#pragma once
// Writes a scene file's values in its byte order (little-endian), into memory
// or into an open file a block at a time, so a scene of millions of triangles
// never needs a second copy of itself in memory. The first failure (a write
// that did not go through, or a value the format cannot hold) is kept and
// everything after it is dropped: callers write a whole scene and ask once.

#include "bytes/ByteSpanWriter.h"
#include "scene/SceneColours.h"
#include "scene/math/Quaternion.h"
#include "scene/math/Vector3.h"

#include <bit>
#include <cstdint>
#include <span>
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

    // Inline: a mesh writes millions of values through these.
    void U8(std::uint8_t value)
    {
        Room(1);
        out_.u8(value);
    }
    void U32(std::uint32_t value)
    {
        Room(4);
        out_.u32le(value);
    }
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void F32(float value) { U32(std::bit_cast<std::uint32_t>(value)); }
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

    // Hands what is in the block to the file (or to memory). False when
    // anything failed.
    [[nodiscard]] bool Finish();
    // Bytes written so far, those still in the block included.
    std::uint64_t Size() const { return flushed_ + out_.position(); }
    // Everything written, when writing into memory, once Finish has run.
    const std::vector<std::uint8_t>& Bytes() const { return memory_; }

private:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 18;

    // Makes room for `size` bytes (at most a block) in the block.
    void Room(std::size_t size)
    {
        if (out_.remaining() < size)
            Flush();
    }
    // Bytes of any length, through the block.
    void Put(std::span<const std::uint8_t> bytes);
    void Put(std::string_view text);
    void Zeros(std::size_t count);
    void Flush();

    CTGFile* file_ = nullptr;
    std::string shownPath_;
    std::vector<std::uint8_t> block_;
    ByteSpanWriter out_;
    std::vector<std::uint8_t> memory_;
    std::uint64_t flushed_ = 0;
    std::string error_;
};

} // namespace zelvane
