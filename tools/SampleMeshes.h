#pragma once
// The sample game's "Meshes" folder: a few pieces of the sample furniture as
// a new user's first imports, in every format zelvane reads (glTF binary,
// OBJ with its material library, 3D Studio), and a textured crate in glTF
// and OBJ. glTF and OBJ are in metres with +y up; the 3D Studio file is in
// the units zelvane's 3D Studio import expects (20 to a tile, +z up).

#include "tools/FurnitureMesh.h"
#include "tools/GltfWriter.h"
#include "tools/ObjWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

// A piece as a glTF model: one primitive per material, in metres, +y up,
// its front towards +z.
GltfModelRecord FurnitureAsGltf(const FurnitureMesh& mesh, const std::string& name);
// The same as OBJ text naming the library `mtlName`, and that library.
struct ObjFiles {
    std::string obj;
    std::string mtl;
};
ObjFiles FurnitureAsObj(const FurnitureMesh& mesh, const std::string& name, const std::string& mtlName);
// The same as a 3D Studio file, 20 units to a tile, +z up.
std::vector<uint8_t> FurnitureAsThreeDS(const FurnitureMesh& mesh, const std::string& name);

// A 64 × 64 PNG of wooden planks.
std::vector<uint8_t> CratePicture();
// A crate of `size` metres with the planks on every side, the picture
// inside the file.
GltfModelRecord TexturedCrate(float size);

// Writes the folder's files into `folder` (made when missing); the error, or
// empty.
std::string WriteSampleMeshes(const std::string& folder);

} // namespace zelvane
