#pragma once
// An image file read for a texture: a Windows bitmap, a Targa, PNG or JPEG
// file decoded,
// resampled (nearest neighbour) to power-of-two sides and kept as the pixels
// the texture uploads: rows bottom-up, padded to 4 bytes, 3 bytes red, green,
// blue per pixel, or 4 with alpha (Targa files of 32 bits). Targa colours go
// through the gamma table; bitmap colours do not.

#include "objects/PlainImage.h"

#include <cstdint>
#include <string>

namespace zelvane {

// Whether a picture that fails to load tells the user at once, or leaves
// that to the caller (which reads Problem() and may report many at once).
enum class ImageMessages { Show, Quiet };

class COGLImage {
public:
    // Reads `path` by its extension, "bmp", "tga", "png", "jpg" or "jpeg" in
    // any case, resampled to power-of-two sides when `resizeToPowerOfTwo`.
    // `flag` is the texture's flag, which changes nothing here. False when it
    // fails, with Problem() saying why: a bitmap, PNG or JPEG that cannot be
    // read or decoded, or a Targa that decodes badly, shows "Could not load
    // Bitmap." (the reason goes to the debug log); a Targa file that does not
    // open and any other extension fail without a message; a picture that
    // cannot be converted shows "An error occured while processing the
    // bitmap.". With ImageMessages::Quiet nothing is shown.
    bool Load(const std::string& path, bool resizeToPowerOfTwo, std::uint8_t flag,
              ImageMessages messages = ImageMessages::Show);
    // Why the last Load failed, in words ("the file does not open"); empty
    // after a success.
    const std::string& Problem() const { return problem_; }

    // Drops the pixels; the size stays.
    void FreePixels();

    const std::string& Path() const { return path_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool HasAlpha() const { return hasAlpha_; }
    bool HasPixels() const { return !pixels_.IsNull(); }
    const PlainImage& Pixels() const { return pixels_; }

    // Leaves the colour bytes in blue-green-red order (nothing sets it today).
    void SetKeepBgr(bool keep) { keepBgr_ = keep; }

private:
    enum class Decoder { Bitmap, Targa, Png, Jpeg };
    bool LoadWith(Decoder decoder);
    bool Refuse(const std::string& why, bool show);
    bool Finish(const PlainImage& decoded, bool alpha);

    bool resizeToPowerOfTwo_ = false;
    int width_ = 0;
    int height_ = 0;
    std::string path_;
    PlainImage pixels_;
    bool keepBgr_ = false;
    bool hasAlpha_ = false;
    ImageMessages messages_ = ImageMessages::Show;
    std::string problem_;
};

} // namespace zelvane
