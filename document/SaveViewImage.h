#pragma once
// The Save Image command once its dialog has given a file name and a filter:
// the whole view, as captured, written as a Windows bitmap or a Truevision
// Targa file.

#include "objects/PlainImage.h"
#include "report/Result.h"

#include <functional>
#include <optional>
#include <string>

namespace zelvane {

inline constexpr const char* kSaveImageFilter =
    "Windows Bitmap Files (*.bmp)|*.bmp|Truevision Targa Files (*.tga)|*.tga|All Files (*.*)|*.*||";
inline constexpr const char* kUnsupportedExtensionText = "The file extension that you entered is not supported.";
inline constexpr const char* kErrorOpeningFileText = "Error opening file";

// The filter chosen in the dialog, numbered as the dialog numbers them.
enum class ImageFilter { Bitmap = 1, Targa = 2, AllFiles = 3 };
enum class ImageFormat { Bitmap, Targa };

struct ImageTarget {
    std::string path;
    ImageFormat format = ImageFormat::Bitmap;
};

// Where and how the image goes. A name without an extension gets ".bmp" or
// ".tga" from the chosen filter; a typed extension is kept, and the format
// follows the filter, or with "All Files" the typed ".bmp" or ".tga" (in any
// case). Nothing when "All Files" meets no extension or another one.
std::optional<ImageTarget> ChooseImageTarget(const std::string& typedPath, ImageFilter filter);

// Resolves the name (ChooseImageTarget; otherwise it fails with "The file
// extension that you entered is not supported."), captures the view through
// `capture` and writes the whole picture in the chosen format, with the wait
// cursor. The file is written beside its place and moved there once complete.
// Fails, saying why, when nothing was saved: "Error opening file" when the
// file cannot be made, a write error, or a view that could not be captured
// (a null image).
Status SaveViewImage(const std::string& typedPath, ImageFilter filter, const std::function<PlainImage()>& capture);

} // namespace zelvane
