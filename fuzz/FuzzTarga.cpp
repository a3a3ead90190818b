// Decodes arbitrary bytes as a Targa file, with the identity gamma table and
// with gamma 2.2: both succeed or fail alike, and a picture has the header's
// size (see FuzzImage.h).

#include "fuzz/FuzzImage.h"
#include "fuzz/FuzzSupport.h"
#include "scene/TargaImage.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zelvane;
    static const GammaTable identity = MakeGammaTable(1.0);
    static const GammaTable dark = MakeGammaTable(2.2);
    const std::span<const uint8_t> file(data, size);
    const DecodedImage plain = DecodeTarga(file, identity);
    const int width = size >= 16 ? data[12] | data[13] << 8 : 0;
    const int height = size >= 16 ? data[14] | data[15] << 8 : 0;
    fuzz::CheckDecodedImage(plain, width, height);
    const DecodedImage corrected = DecodeTarga(file, dark);
    fuzz::Check(plain.ok() == corrected.ok(), "the gamma table does not change what decodes");
    if (plain.ok())
        fuzz::Check(plain.image.BytesPerPixel() == corrected.image.BytesPerPixel(), "nor the pixel layout");
    return 0;
}
