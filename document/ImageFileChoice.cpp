#include "document/ImageFileChoice.h"

#include "report/Reporter.h"

#include <filesystem>

namespace zelvane {

namespace {

std::string LowerExtension(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

} // namespace

std::optional<ImageFileChoice> ChooseImageFile(const std::string& typedPath, ImageFilter filter)
{
    const std::string extension = LowerExtension(typedPath);
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
