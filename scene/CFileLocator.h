#pragma once
// Finds the files a scene file names (its textures) when they are no longer
// where the file says: beside the scene file, else by asking the user. One
// locator serves one scene file while it is read.

#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// What the locator's question shows. Texture files may be bitmaps or Targa
// files, so the filter offers both.
inline constexpr const char* kLocateTextureTitle = "This TEXTURE cannot be located.  Please find it or Click Cancel.";
inline constexpr const char* kLocateTextureFilter =
    "All Texture Files |*.bmp;*.tga|Windows Bitmap (*.bmp)|*.bmp|Truevision Targa (*.tga)|*.tga||";

class CFileLocator {
public:
    // The scene file's folder: its path up to its last "/" or "\". A path
    // without one lies in the current folder (the folder stays empty).
    void SetFolder(std::string_view sceneFilePath);

    // True when a file was found; `path` then names it (it may have been
    // replaced). In order: `path` itself when it names a file that opens; the
    // file of that name and extension beside the scene file (folders written
    // with "\" and drive letters are no obstacle; the name is matched without
    // regard to case when it is not there as written); the file the user
    // chooses (CurrentOpenFileDialog). False when the user cancelled: `path`
    // is added to NotFound().
    bool Locate(std::string& path);

    const std::string& Folder() const { return folder_; }
    // The paths the user gave up on, in the order asked.
    const std::vector<std::string>& NotFound() const { return notFound_; }

private:
    std::vector<std::string> notFound_;
    std::string folder_;
};

// Locate's search without the question: true when `path` names a file that
// opens, or (then `path` is replaced) when a file of its name and extension
// lies in `folder` (ending in "/", or empty for the current folder), matched
// without regard to case when it is not there as written.
bool FindInFolder(std::string& path, const std::string& folder);

// Whether `path` is a regular file that opens for reading (never a folder or
// a device, whose open could block).
bool IsReadableFile(const std::string& path);

} // namespace zelvane
