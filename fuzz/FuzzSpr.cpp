// Decodes arbitrary bytes as a 'SPR#' sprite resource (either byte order);
// the checks are those of FuzzSprite.h.

#include "fuzz/FuzzSprite.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelvane::fuzz::FuzzSpriteResource(zelvane::SpriteFormat::Spr, data, size);
    return 0;
}
