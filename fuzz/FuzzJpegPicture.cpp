// Decodes arbitrary bytes as the JPEG texture of a model (DecodeJpegPicture:
// libjpeg-turbo within the image layer's limits): a picture is RGB within
// the limits and becomes a power-of-two texture (see FuzzImage.h), the same
// each time; a failure says why.

#include "fuzz/FuzzImage.h"
#include "fuzz/FuzzSupport.h"
#include "scene/JpegPicture.h"

#include <algorithm>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zelvane;
    const std::span<const uint8_t> file(data, size);
    const DecodedImage decoded = DecodeJpegPicture(file);
    const int width = decoded.ok() ? decoded.image.Width() : 0;
    const int height = decoded.ok() ? decoded.image.Height() : 0;
    fuzz::CheckDecodedImage(decoded, width, height);
    fuzz::Check(decoded.ok() || !decoded.error.empty(), "a failure says why");
    if (!decoded.ok())
        return 0;
    fuzz::Check(decoded.image.BytesPerPixel() == 3, "RGB pixels");
    const DecodedImage again = DecodeJpegPicture(file);
    fuzz::Check(again.ok() && std::ranges::equal(again.image.Bits(), decoded.image.Bits()),
                "the same bytes give the same picture");
    return 0;
}
