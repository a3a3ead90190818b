#include "resfile/CTGSpriteResFileSet.h"

#include "resfile/PathUtil.h"

#include <optional>

namespace zelvane {

namespace {

const std::vector<ResType> kSpriteTypes = {kTypeSPR, kTypeDGRP, kTypePALT, kTypeBMP, kTypeSPR2};

bool HasExtension(const std::string& path, std::string_view extension)
{
    return path.size() >= extension.size() && path.compare(path.size() - extension.size(), extension.size(), extension) == 0;
}

} // namespace

CTGSpriteResFileSet::CTGSpriteResFileSet()
{
    RegisterExtension(ContainerKind::Iff, ".iff");
    RegisterExtension(ContainerKind::Iff, ".spf");
    RegisterExtension(ContainerKind::Unsupported, ".iff");
    RegisterExtension(ContainerKind::Unsupported, ".spf");
    RegisterExtension(ContainerKind::Directory, ".dir");
}

int32_t CTGSpriteResFileSet::OpenContainer(std::string_view path)
{
    const int32_t error = CTGExtResFileSet::OpenContainer(path);
    if (error != kResOk)
        return error;
    std::optional<size_t> iff, spf;
    for (size_t i = 0; i < MemberCount(); ++i) {
        std::string memberPath;
        Member(i)->GetFilePath(memberPath);
        if (!iff && HasExtension(memberPath, ".iff"))
            iff = i;
        else if (!spf && HasExtension(memberPath, ".spf"))
            spf = i;
    }
    if (iff && spf) {
        AddFilterTypes(*spf, FilterMode::Only, kSpriteTypes);
        AddFilterTypes(*iff, FilterMode::Except, kSpriteTypes);
    }
    return SetError(kResOk);
}

} // namespace zelvane
