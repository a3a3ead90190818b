#include "resfile/FarBuilder.h"

#include "bytes/ByteWriter.h"
#include "resfile/FarLayout.h"

namespace zelvane {

void FarBuilder::AddFile(std::string_view name, std::span<const uint8_t> data)
{
    files_.push_back({std::string(name), std::vector<uint8_t>(data.begin(), data.end())});
}

std::vector<uint8_t> FarBuilder::Build() const
{
    ByteWriter out;
    out.text(std::string_view(kFarSignature, 8));
    out.u32le(1);
    out.u32le(0); // manifest offset, patched below
    std::vector<uint32_t> offsets;
    for (const File& file : files_) {
        offsets.push_back(static_cast<uint32_t>(out.size()));
        out.bytes(file.data);
    }
    const auto manifest = static_cast<uint32_t>(out.size());
    out.patch_u32le(kFarManifestOffsetPos, manifest);
    out.u32le(static_cast<uint32_t>(files_.size()));
    for (size_t i = 0; i < files_.size(); ++i) {
        const auto length = static_cast<uint32_t>(files_[i].data.size());
        out.u32le(length);
        out.u32le(length);
        out.u32le(offsets[i]);
        out.u32le(static_cast<uint32_t>(files_[i].name.size()));
        out.text(files_[i].name);
    }
    return out.take();
}

} // namespace zelvane
