#include "document/ImageFileChoice.h"

#include "report/Reporter.h"
#include "resfile/PathUtil.h"

#include <filesystem>

namespace zelvane {

std::optional<ImageFileChoice> ChooseImageFile(const std::string& typedPath, ImageFilter filter)
{
    const std::string extension = AsciiLower(std::filesystem::path(typedPath).extension().string());
    switch (filter) {
    case ImageFilter::Bitmap:
        return ImageFileChoice{extension.empty() ? typedPath + ".bmp" : typedPath, ImageFormat::Bitmap};
    case ImageFilter::Targa:
        return ImageFileChoice{extension.empty() ? typedPath + ".tga" : typedPath, ImageFormat::Targa};
    case ImageFilter::AllFiles:
        if (extension == ".bmp")
            return ImageFileChoice{typedPath, ImageFormat::Bitmap};
        if (extension == ".tga")
            return ImageFileChoice{typedPath, ImageFormat::Targa};
        break;
    }
    CurrentReporter().ShowMessage(kUnsupportedExtensionText, MessageIcon::Error, MessageButtons::Ok);
    return std::nullopt;
}

} // namespace zelvane
