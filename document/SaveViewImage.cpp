#include "document/SaveViewImage.h"

#include "report/Reporter.h"
#include "resfile/FileReplacement.h"
#include "resfile/PathUtil.h"
#include "scene/TargaImage.h"
#include "scene/WindowsBitmap.h"

#include <vector>

namespace zelvane {


std::optional<ImageTarget> ChooseImageTarget(const std::string& typedPath, ImageFilter filter)
{
    const std::string extension = AsciiLower(SplitPath(typedPath).extension);
    switch (filter) {
    case ImageFilter::Bitmap:
        return ImageTarget{extension.empty() ? typedPath + ".bmp" : typedPath, ImageFormat::Bitmap};
    case ImageFilter::Targa:
        return ImageTarget{extension.empty() ? typedPath + ".tga" : typedPath, ImageFormat::Targa};
    case ImageFilter::AllFiles:
        if (extension == ".bmp")
            return ImageTarget{typedPath, ImageFormat::Bitmap};
        if (extension == ".tga")
            return ImageTarget{typedPath, ImageFormat::Targa};
        break;
    }
    return std::nullopt;
}

Status SaveViewImage(const std::string& typedPath, ImageFilter filter, const std::function<PlainImage()>& capture)
{
    const std::optional<ImageTarget> target = ChooseImageTarget(typedPath, filter);
    if (!target)
        return Status::Failure(kUnsupportedExtensionText);
    BusyScope busy;
    const PlainImage picture = capture();
    if (picture.IsNull())
        return Status::Failure("The view could not be captured; nothing was saved.");
    const std::vector<std::uint8_t> bytes =
        target->format == ImageFormat::Bitmap ? EncodeWindowsBitmap(picture) : EncodeTarga(picture);
    if (bytes.empty())
        return Status::Failure("The view (" + std::to_string(picture.Width()) + " x " +
                               std::to_string(picture.Height()) +
                               " pixels) is too large for a Targa file; nothing was saved.");
    std::string error;
    switch (WriteFileSafely(target->path, bytes, error)) {
    case SafeWrite::Written:
        return Status::Ok();
    case SafeWrite::NotCreated:
        return Status::Failure(std::string(kErrorOpeningFileText) + " \"" + target->path + "\": " + error + ".");
    case SafeWrite::NotWritten:
        break;
    }
    return Status::Failure("Could not write the image file \"" + target->path + "\": " + error + ".");
}

} // namespace zelvane
