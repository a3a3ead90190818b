// Imports arbitrary bytes as a glTF model (binary when they begin "glTF",
// else JSON) through modelport's reader and hand-over, checked as
// FuzzModelport.h says.

#include "fuzz/FuzzModelport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelvane::fuzz::CheckModelportImport({data, size}, zelvane::modelport::ModelFormat::Gltf);
    return 0;
}
