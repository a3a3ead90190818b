#include "fuzz/FuzzImage.h"

#include "fuzz/FuzzSupport.h"
#include "scene/TextureMaths.h"

#include <string>

namespace zelvane::fuzz {

void CheckDecodedImage(const DecodedImage& decoded, int width, int height)
{
    if (!decoded.ok()) {
        Check(decoded.image.IsNull(), "a failed decode leaves no picture");
        return;
    }
    const PlainImage& image = decoded.image;
    Check(!image.IsNull(), "a good decode gives a picture");
    Check(image.Width() == width && image.Height() == height, "the picture has the header's size",
          std::to_string(image.Width()) + " x " + std::to_string(image.Height()));
    Check(static_cast<std::int64_t>(width) * height <= kMaxImagePixels, "the picture is within the limit");
    const int bytes = image.BytesPerPixel();
    Check(bytes == 1 || bytes == 3 || bytes == 4, "pixels of 1, 3 or 4 bytes");
    Check(bytes != 1 || image.GetPalette() != nullptr, "indexed pictures carry their colours");
    // The texture it would become.
    const PlainImage texture = image.Resampled(NearestPowerOfTwo(width), NearestPowerOfTwo(height));
    Check(texture.Width() == NearestPowerOfTwo(width) && texture.Height() == NearestPowerOfTwo(height),
          "resampled to powers of two");
    for (int y = 0; y < texture.Height(); y += 17)
        for (int x = 0; x < texture.Width(); x += 13)
            (void)texture.PixelColour(x, y);
}

} // namespace zelvane::fuzz
