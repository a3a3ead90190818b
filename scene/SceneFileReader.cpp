#include "scene/SceneFileReader.h"

#include <bit>
#include <limits>

namespace zelvane {

namespace {

std::string ByteCount(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

} // namespace

SceneFileReader::SceneFileReader(std::span<const std::uint8_t> file, std::size_t start) : cursor_(file)
{
    if (!cursor_.seek(start))
        NoteEnd();
}

void SceneFileReader::NoteEnd()
{
    if (!cursor_.ok() && error_.empty())
        error_ = "the file ends too soon, at byte " + std::to_string(cursor_.size());
}

std::uint8_t SceneFileReader::U8()
{
    const std::uint8_t value = cursor_.u8();
    NoteEnd();
    return value;
}

std::uint32_t SceneFileReader::U32()
{
    const std::uint32_t value = cursor_.u32le();
    NoteEnd();
    return value;
}

std::int32_t SceneFileReader::I32()
{
    return static_cast<std::int32_t>(U32());
}

float SceneFileReader::F32()
{
    return std::bit_cast<float>(U32());
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
    const std::span<const std::uint8_t> bytes = cursor_.bytes(size);
    NoteEnd();
    return bytes;
}

std::string SceneFileReader::FixedText(std::size_t fieldSize)
{
    const std::span<const std::uint8_t> field = Raw(fieldSize);
    std::size_t length = 0;
    while (length < field.size() && field[length] != 0)
        ++length;
    return std::string(field.begin(), field.begin() + static_cast<std::ptrdiff_t>(length));
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
    const std::span<const std::uint8_t> bytes = Raw(length);
    return std::string(bytes.begin(), bytes.end());
}

std::optional<std::int32_t> SceneFileReader::Count(std::size_t recordSize, std::string_view what)
{
    const std::uint32_t count = U32();
    if (!ok())
        return std::nullopt;
    const std::size_t fits = Remaining() / recordSize;
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
        error_ = std::move(why) + " (at byte " + std::to_string(cursor_.position()) + ")";
}

std::string SceneFileReader::Error() const
{
    return error_;
}

} // namespace zelvane
