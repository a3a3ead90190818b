#include "scene/SceneFileWriter.h"

#include "resfile/CTGFile.h"
#include "resfile/ResErrors.h"

#include <algorithm>
#include <limits>

namespace zelvane {

SceneFileWriter::SceneFileWriter() = default;

SceneFileWriter::SceneFileWriter(CTGFile& file, std::string shownPath) : file_(&file), shownPath_(std::move(shownPath)) {}

void SceneFileWriter::U8(std::uint8_t value)
{
    buffer_.u8(value);
    MaybeFlush();
}

void SceneFileWriter::U32(std::uint32_t value)
{
    buffer_.u32le(value);
    MaybeFlush();
}

void SceneFileWriter::I32(std::int32_t value)
{
    buffer_.i32le(value);
    MaybeFlush();
}

void SceneFileWriter::F32(float value)
{
    buffer_.f32le(value);
    MaybeFlush();
}

void SceneFileWriter::Vec3(const Vector3& value)
{
    buffer_.f32le(value.x);
    buffer_.f32le(value.y);
    buffer_.f32le(value.z);
    MaybeFlush();
}

void SceneFileWriter::Colour(const ColourRGBA& value)
{
    for (const float channel : value)
        buffer_.f32le(channel);
    MaybeFlush();
}

void SceneFileWriter::Quat(const Quaternion& value)
{
    buffer_.f32le(value.x);
    buffer_.f32le(value.y);
    buffer_.f32le(value.z);
    buffer_.f32le(value.w);
    MaybeFlush();
}

void SceneFileWriter::Raw(std::span<const std::uint8_t> bytes)
{
    buffer_.bytes(bytes);
    MaybeFlush();
}

void SceneFileWriter::FixedText(std::string_view text, std::size_t fieldSize, FieldEnd end)
{
    if (fieldSize == 0)
        return;
    const std::size_t room = end == FieldEnd::Terminated ? fieldSize - 1 : fieldSize;
    const std::string_view kept = text.substr(0, std::min(text.size(), room));
    buffer_.text(kept);
    buffer_.fill(fieldSize - kept.size(), 0);
    MaybeFlush();
}

void SceneFileWriter::CountedText(std::string_view text)
{
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
        Fail("a text of " + std::to_string(text.size()) + " bytes is longer than a scene file can hold");
        return;
    }
    buffer_.u32le(static_cast<std::uint32_t>(text.size()));
    buffer_.text(text);
    MaybeFlush();
}

void SceneFileWriter::Fail(std::string why)
{
    if (error_.empty())
        error_ = std::move(why);
}

void SceneFileWriter::Flush()
{
    if (!file_ || buffer_.size() == 0)
        return;
    // After a failure nothing more reaches the file.
    if (ok()) {
        const std::vector<std::uint8_t>& block = buffer_.data();
        if (const std::int32_t code = file_->Write(block.data(), static_cast<std::uint32_t>(block.size()));
            code != kResOk)
            Fail("could not write \"" + shownPath_ + "\" (" + ResErrorText(code) + "; is the disk full?)");
        else
            flushed_ += block.size();
    }
    buffer_.clear();
}

bool SceneFileWriter::Finish()
{
    Flush();
    return ok();
}

} // namespace zelvane
