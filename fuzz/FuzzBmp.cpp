// Decodes arbitrary bytes as a Windows bitmap file; a picture has the
// header's size (see FuzzImage.h), and written again as a bitmap it reads
// back pixel for pixel (pictures of up to 2^18 pixels: run-length data can
// claim millions in a few bytes, and checking those would leave the fuzzer
// little time for anything else).

#include "fuzz/FuzzImage.h"
#include "fuzz/FuzzSupport.h"
#include "scene/WindowsBitmap.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zelvane;
    const DecodedImage decoded = DecodeWindowsBitmap(std::span<const uint8_t>(data, size));
    if (!decoded.ok()) {
        fuzz::CheckDecodedImage(decoded, 0, 0);
        return 0;
    }
    // The size as the header gave it: 16-bit fields in the core header, else 32-bit.
    const bool core = data[14] == 12;
    const int width = core ? data[18] | data[19] << 8 : data[18] | data[19] << 8 | data[20] << 16 | data[21] << 24;
    int height = core ? data[20] | data[21] << 8 : data[22] | data[23] << 8 | data[24] << 16 | data[25] << 24;
    fuzz::CheckDecodedImage(decoded, width, std::abs(height));
    if (static_cast<int64_t>(width) * std::abs(height) > (int64_t{1} << 18))
        return 0;

    const DecodedImage again = DecodeWindowsBitmap(EncodeWindowsBitmap(decoded.image));
    fuzz::Check(again.ok(), "what decodes is written as a bitmap that decodes", again.error);
    const PlainImage& a = decoded.image;
    const PlainImage& b = again.image;
    fuzz::Check(a.Width() == b.Width() && a.Height() == b.Height() && a.BytesPerPixel() == b.BytesPerPixel(),
                "the written bitmap has the same size and depth");
    for (int y = 0; y < a.Height(); y += 3)
        for (int x = 0; x < a.Width(); x += 3)
            fuzz::Check(a.PixelColour(x, y) == b.PixelColour(x, y), "the written bitmap has the same pixels");
    return 0;
}
