// Imports arbitrary bytes as an OBJ model through modelport's reader and
// hand-over, checked as FuzzModelport.h says (no more faces than the input
// has bytes), and reads them as a material library too.

#include "fuzz/FuzzModelport.h"
#include "fuzz/FuzzSupport.h"
#include "plugins/modelport/ObjReader.h"

#include <cmath>
#include <string>
#include <string_view>

using namespace zelvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int64_t faces = fuzz::CheckModelportImport({data, size}, modelport::ModelFormat::Obj);
    fuzz::Check(faces >= 0 && static_cast<uint64_t>(faces) <= size, "more faces than the input has bytes",
                std::to_string(faces));
    modelport::Model model;
    modelport::ReadMaterialLibrary({reinterpret_cast<const char*>(data), size}, "/nonexistent-zelvane-fuzz/x.mtl",
                                   model);
    for (const modelport::Material& material : model.materials) {
        for (const auto* colour : {&material.ambient, &material.diffuse, &material.specular})
            for (float channel : *colour)
                fuzz::Check(channel >= 0 && channel <= 1, "a colour outside 0..1", material.name);
        fuzz::Check(material.opacity >= 0 && material.opacity <= 1, "an opacity outside 0..1", material.name);
        fuzz::Check(material.shininess >= 0 && material.shininess <= 128, "a shininess outside 0..128", material.name);
    }
    return 0;
}
