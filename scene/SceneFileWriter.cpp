#include "scene/SceneFileWriter.h"

#include "resfile/CTGFile.h"
#include "resfile/ResErrors.h"

#include <algorithm>
#include <limits>

namespace zelvane {

SceneFileWriter::SceneFileWriter() : block_(kBlockSize), out_(block_) {}

SceneFileWriter::SceneFileWriter(CTGFile& file, std::string shownPath)
    : file_(&file), shownPath_(std::move(shownPath)), block_(kBlockSize), out_(block_)
{
}

void SceneFileWriter::Vec3(const Vector3& value)
{
    F32(value.x);
    F32(value.y);
    F32(value.z);
}

void SceneFileWriter::Colour(const ColourRGBA& value)
{
    for (const float channel : value)
        F32(channel);
}

void SceneFileWriter::Quat(const Quaternion& value)
{
    F32(value.x);
    F32(value.y);
    F32(value.z);
    F32(value.w);
}

void SceneFileWriter::Put(std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        Room(1);
        const std::size_t part = std::min(bytes.size(), out_.remaining());
        out_.bytes(bytes.first(part));
        bytes = bytes.subspan(part);
    }
}

void SceneFileWriter::Put(std::string_view text)
{
    while (!text.empty()) {
        Room(1);
        const std::size_t part = std::min(text.size(), out_.remaining());
        out_.text(text.substr(0, part));
        text.remove_prefix(part);
    }
}

void SceneFileWriter::Zeros(std::size_t count)
{
    static constexpr std::uint8_t kZeros[256] = {};
    while (count > 0) {
        const std::size_t part = std::min(count, sizeof kZeros);
        Put(std::span(kZeros, part));
        count -= part;
    }
}

void SceneFileWriter::Raw(std::span<const std::uint8_t> bytes)
{
    Put(bytes);
}

void SceneFileWriter::FixedText(std::string_view text, std::size_t fieldSize, FieldEnd end)
{
    if (fieldSize == 0)
        return;
    const std::size_t room = end == FieldEnd::Terminated ? fieldSize - 1 : fieldSize;
    const std::string_view kept = text.substr(0, std::min(text.size(), room));
    Put(kept);
    Zeros(fieldSize - kept.size());
}

void SceneFileWriter::CountedText(std::string_view text)
{
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
        Fail("a text of " + std::to_string(text.size()) + " bytes is longer than a scene file can hold");
        return;
    }
    U32(static_cast<std::uint32_t>(text.size()));
    Put(text);
}

void SceneFileWriter::Fail(std::string why)
{
    if (error_.empty())
        error_ = std::move(why);
}

void SceneFileWriter::Flush()
{
    const std::span<const std::uint8_t> block(block_.data(), out_.position());
    out_.seek(0);
    if (block.empty())
        return;
    if (!file_) {
        memory_.insert(memory_.end(), block.begin(), block.end());
    } else if (ok()) {
        // After a failure nothing more reaches the file.
        if (const std::int32_t code = file_->Write(block.data(), static_cast<std::uint32_t>(block.size()));
            code != kResOk)
            Fail("could not write \"" + shownPath_ + "\" (" + ResErrorText(code) + "; is the disk full?)");
    }
    flushed_ += block.size();
}

bool SceneFileWriter::Finish()
{
    Flush();
    return ok();
}

} // namespace zelvane
