#pragma once
// Reads a scene file's values through the bounds-checked cursor. A read past
// the end yields zero and fails the reader; the first failure is kept with
// where it happened, so an object's LoadObject reads its whole record and
// the scene file reader asks once afterwards.

#include "bytes/ByteReader.h"
#include "scene/SceneColours.h"
#include "scene/math/Quaternion.h"
#include "scene/math/Vector3.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelvane {

class SceneFileReader {
public:
    // Over the whole file; `start` is where the scene's part begins (after
    // the document's header), so that positions in errors are the file's.
    explicit SceneFileReader(std::span<const std::uint8_t> file, std::size_t start = 0);

    std::uint8_t U8();
    std::uint32_t U32();
    std::int32_t I32();
    float F32();
    Vector3 Vec3();
    ColourRGBA Colour();
    Quaternion Quat();
    // The next `size` bytes, or an empty span (and failure) when fewer remain.
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
    [[nodiscard]] bool ok() const { return error_.empty() && cursor_.ok(); }
    // What went wrong and where, in words for the user; empty while ok().
    std::string Error() const;

    // Offset in the file of the next byte.
    std::size_t Position() const { return cursor_.position(); }
    std::size_t Remaining() const { return cursor_.remaining(); }

private:
    // Notes where the file ended the first time a read did not fit.
    void NoteEnd();

    ByteReader cursor_;
    std::string error_;
};

} // namespace zelvane
