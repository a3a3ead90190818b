#pragma once
// Reads a scene file's values through the bounds-checked cursor, from bytes in
// memory or from an open file through a window of its bytes (so a scene of
// millions of triangles never needs a second copy of itself in memory). A
// read past the end yields zero and fails the reader; the first failure is
// kept with where it happened, so an object's LoadObject reads its whole
// record and the scene file reader asks once afterwards.

#include "bytes/ByteReader.h"
#include "scene/SceneColours.h"
#include "scene/math/Quaternion.h"
#include "scene/math/Vector3.h"

#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

class CTGFile;

class SceneFileReader {
public:
    // The largest record Raw and FixedText read in one piece from a file.
    static constexpr std::size_t kWindow = std::size_t{1} << 20;

    // Over the whole file in memory; `start` is where the scene's part begins
    // (after the document's header), so that positions in errors are the file's.
    explicit SceneFileReader(std::span<const std::uint8_t> file, std::size_t start = 0);
    // Over `file` (open for reading, `size` bytes long) from `start`, through
    // a window of `window` bytes; `shownPath` names it in errors.
    SceneFileReader(CTGFile& file, std::uint64_t size, std::uint64_t start, std::string shownPath,
                    std::size_t window = kWindow);
    SceneFileReader(const SceneFileReader&) = delete;
    SceneFileReader& operator=(const SceneFileReader&) = delete;

    // Inline: a mesh reads millions of values through these.
    std::uint8_t U8() { return Fits(1) ? cursor_.u8() : 0; }
    std::uint32_t U32() { return Fits(4) ? cursor_.u32le() : 0; }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    float F32() { return std::bit_cast<float>(U32()); }
    Vector3 Vec3();
    ColourRGBA Colour();
    Quaternion Quat();
    // The next `size` bytes (at most kWindow from a file), or an empty span
    // (and failure) when fewer remain.
    std::span<const std::uint8_t> Raw(std::size_t size);
    // A field of `fieldSize` bytes holding a text up to its first zero byte
    // (or the whole field when it has none).
    std::string FixedText(std::size_t fieldSize);
    // A 32-bit length and that many bytes; a length past the end of the file
    // fails, naming `what`.
    std::string CountedText(std::string_view what);
    // A 32-bit count of records of `recordSize` bytes each (at least 1),
    // checked against the bytes left before anything is made for them, and
    // against the 31 bits the mesh records count in. Nothing (and failure,
    // naming `what`) when they cannot all be there.
    std::optional<std::int32_t> Count(std::size_t recordSize, std::string_view what);

    // Keeps `why` as the failure unless there is one already.
    void Fail(std::string why);
    [[nodiscard]] bool ok() const { return error_.empty(); }
    // What went wrong and where, in words for the user; empty while ok().
    const std::string& Error() const { return error_; }

    // Offset in the file of the next byte.
    std::uint64_t Position() const { return base_ + cursor_.position(); }
    std::uint64_t Remaining() const { return size_ - Position(); }

private:
    // Whether `size` more bytes are in the cursor, after moving the window on
    // when reading a file; otherwise the reader fails.
    bool Fits(std::size_t size)
    {
        if (ok() && cursor_.remaining() >= size)
            return true;
        return Refill(size);
    }
    bool Refill(std::size_t size);
    // Fails for the end of the file.
    void Ended();

    CTGFile* file_ = nullptr;
    std::string shownPath_;
    std::uint64_t size_ = 0;
    // File offset of the cursor's first byte.
    std::uint64_t base_ = 0;
    std::vector<std::uint8_t> window_;
    ByteReader cursor_;
    std::string error_;
};

} // namespace zelvane
