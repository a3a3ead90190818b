#include "scene/SceneFileReader.h"

#include "resfile/CTGFile.h"
#include "resfile/ResErrors.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace zelvane {

namespace {

std::string ByteCount(std::uint64_t count)
{
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

} // namespace

SceneFileReader::SceneFileReader(std::span<const std::uint8_t> file, std::size_t start)
    : size_(file.size()), cursor_(file)
{
    if (!cursor_.seek(start))
        Ended();
}

SceneFileReader::SceneFileReader(CTGFile& file, std::uint64_t size, std::uint64_t start, std::string shownPath,
                                 std::size_t window)
    : file_(&file), shownPath_(std::move(shownPath)), size_(size), base_(std::min(start, size)), window_(window)
{
    if (start > size)
        Ended();
}

void SceneFileReader::Ended()
{
    if (error_.empty())
        error_ = "the file ends too soon, at byte " + std::to_string(size_);
}

bool SceneFileReader::Refill(std::size_t size)
{
    if (!ok())
        return false;
    if (file_ && size <= window_.size() && Remaining() >= size) {
        // The unread bytes move to the front and the file fills the rest.
        const std::size_t kept = cursor_.remaining();
        const std::span<const std::uint8_t> unread = cursor_.bytes(kept);
        if (kept > 0)
            std::memmove(window_.data(), unread.data(), kept);
        base_ += cursor_.position() - kept;
        const std::size_t more =
            static_cast<std::size_t>(std::min<std::uint64_t>(window_.size() - kept, size_ - base_ - kept));
        if (const std::int32_t code = file_->ReadAt(base_ + kept, window_.data() + kept, static_cast<std::uint32_t>(more));
            code != kResOk) {
            cursor_ = ByteReader();
            Fail("\"" + shownPath_ + "\" could not be read at byte " + std::to_string(base_ + kept) + " (" +
                 ResErrorText(code) + ")");
            return false;
        }
        cursor_ = ByteReader(std::span<const std::uint8_t>(window_.data(), kept + more));
        return true;
    }
    if (size > window_.size() && file_ && Remaining() >= size)
        Fail("a record of " + ByteCount(size) + " is larger than can be read in one piece");
    else
        Ended();
    return false;
}

Vector3 SceneFileReader::Vec3()
{
    Vector3 value;
    value.x = F32();
    value.y = F32();
    value.z = F32();
    return value;
}

ColourRGBA SceneFileReader::Colour()
{
    ColourRGBA value{};
    for (float& channel : value)
        channel = F32();
    return value;
}

Quaternion SceneFileReader::Quat()
{
    Quaternion value;
    value.x = F32();
    value.y = F32();
    value.z = F32();
    value.w = F32();
    return value;
}

std::span<const std::uint8_t> SceneFileReader::Raw(std::size_t size)
{
    return Fits(size) ? cursor_.bytes(size) : std::span<const std::uint8_t>();
}

std::string SceneFileReader::FixedText(std::size_t fieldSize)
{
    const std::span<const std::uint8_t> field = Raw(fieldSize);
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return std::string(field.begin(), end);
}

std::string SceneFileReader::CountedText(std::string_view what)
{
    const std::uint32_t length = U32();
    if (!ok())
        return {};
    if (length > Remaining()) {
        Fail(std::string(what) + " is said to be " + ByteCount(length) + " long, but the file holds only " +
             ByteCount(Remaining()) + " more");
        return {};
    }
    // In pieces, so that a text longer than the window is read too.
    std::string text;
    for (std::size_t left = length; left > 0 && ok();) {
        const std::size_t piece = std::min(left, file_ ? window_.size() : left);
        const std::span<const std::uint8_t> bytes = Raw(piece);
        text.append(bytes.begin(), bytes.end());
        left -= piece;
    }
    return text;
}

std::optional<std::int32_t> SceneFileReader::Count(std::size_t recordSize, std::string_view what)
{
    const std::uint32_t count = U32();
    if (!ok())
        return std::nullopt;
    const std::uint64_t fits = Remaining() / recordSize;
    if (count > fits || count > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
        Fail("the file says " + std::to_string(count) + " " + std::string(what) + " follow, but the " +
             ByteCount(Remaining()) + " left hold at most " + std::to_string(fits));
        return std::nullopt;
    }
    return static_cast<std::int32_t>(count);
}

void SceneFileReader::Fail(std::string why)
{
    if (error_.empty())
        error_ = std::move(why) + " (at byte " + std::to_string(Position()) + ")";
}

} // namespace zelvane
