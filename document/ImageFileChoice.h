#pragma once
// "Save Image": which file and format the user's answer to the save dialog
// means. The dialog's filters are, in order, Windows bitmap, Truevision Targa
// and all files.

#include <optional>
#include <string>

namespace zelvane {

enum class ImageFormat { Bitmap, Targa };
enum class ImageFilter { Bitmap = 1, Targa = 2, AllFiles = 3 };

inline constexpr const char* kSaveImageFilter =
    "Windows Bitmap Files (*.bmp)|*.bmp|Truevision Targa Files (*.tga)|*.tga|All Files (*.*)|*.*||";
inline constexpr const char* kUnsupportedExtensionText = "The file extension that you entered is not supported.";

struct ImageFileChoice {
    std::string path;
    ImageFormat format = ImageFormat::Bitmap;
};

// A name typed without an extension gets the chosen filter's (".bmp" or
// ".tga"); a typed extension is kept as typed. The bitmap and Targa filters
// decide the format; with "All Files" a typed ".bmp" or ".tga" (any case)
// does. None, after the user was told "The file extension that you entered is
// not supported.", for "All Files" with any other name.
std::optional<ImageFileChoice> ChooseImageFile(const std::string& typedPath, ImageFilter filter);

} // namespace zelvane
