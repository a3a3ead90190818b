#pragma once
// Wavefront OBJ models (with their MTL material libraries) read into
// modelport's Model: positions, texture coordinates and faces with negative
// (relative) indices; polygons cut into triangles, concave ones too; each
// "o" and "g" name a part (a name used again continues its part); "usemtl"
// groups the faces that follow; "mtllib" libraries with their colours,
// shininess, opacity and diffuse pictures.

#include "plugins/modelport/ModelData.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelvane::modelport {

struct ObjOptions {
    // Where the file lies: material libraries are looked for beside it (and
    // their pictures beside them). Empty: libraries are not read.
    std::string modelPath;
};

// Reads `text` (the bytes of an .obj file: a UTF-8 byte-order mark, CRLF
// line ends and a last line without an end are all taken). Faces with an
// index outside the positions or texture coordinates given, or a corner
// that is no finite number, are left out and counted in the notes. Throws
// std::bad_alloc when memory runs out.
Model ReadObj(std::span<const uint8_t> text, const ObjOptions& options);

// A material library's materials appended to `model`, pictures resolved
// against the library's path `mtlPath`. Used by ReadObj; public for tests.
void ReadMaterialLibrary(std::string_view text, const std::string& mtlPath, Model& model);

} // namespace zelvane::modelport
