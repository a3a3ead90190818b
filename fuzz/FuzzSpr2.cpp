// Decodes arbitrary bytes as a 'SPR2' sprite resource, counts its colours
// and encodes it again; the checks are those of FuzzSprite.h.

#include "fuzz/FuzzSprite.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelvane::fuzz::FuzzSpriteResource(zelvane::SpriteFormat::Spr2, data, size);
    return 0;
}
