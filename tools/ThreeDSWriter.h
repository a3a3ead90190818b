#pragma once
// Writes 3D Studio (.3ds) files: nested chunks whose lengths are filled in
// when they close, and whole meshes and materials on top of that. Used for
// the benchmark's large scene and for test and fuzz fixtures, which may also
// write damaged chunks on purpose (a chosen length, counts that lie).

#include "bytes/ByteWriter.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvane {

struct ThreeDSFaceGroup {
    std::string material;
    std::vector<uint16_t> faces;
};

struct ThreeDSMesh {
    std::string name; // written whole, whatever its length
    std::vector<std::array<float, 3>> vertices;
    std::vector<std::array<float, 2>> mapping; // no mapping chunk when empty
    std::vector<std::array<uint16_t, 3>> faces;
    std::vector<ThreeDSFaceGroup> groups;
    std::optional<std::array<float, 12>> matrix; // four rows of three
};

struct ThreeDSMaterial {
    ThreeDSMaterial() = default;
    ThreeDSMaterial(std::string name_, std::array<uint8_t, 3> ambient_, std::string texture_)
        : name(std::move(name_)), ambient(ambient_), texture(std::move(texture_))
    {
    }

    std::string name;
    std::array<uint8_t, 3> ambient{};
    std::string texture; // no texture map chunk when empty
    // Each written only when given.
    std::optional<std::array<uint8_t, 3>> diffuse;
    std::optional<std::array<uint8_t, 3>> specular;
    std::optional<uint16_t> shininess;    // percent
    std::optional<uint16_t> transparency; // percent
    bool twoSided = false;
};

class ThreeDSWriter {
public:
    // Opens a chunk; End writes its length (header, data and sub-chunks).
    void Begin(uint16_t id);
    void End();
    // Closes the chunk with a length of the caller's choice instead.
    void EndWithLength(uint32_t length);

    void U8(uint8_t value) { out_.u8(value); }
    void U16(uint16_t value) { out_.u16le(value); }
    void U32(uint32_t value) { out_.u32le(value); }
    void F32(float value);
    // The text and, unless `terminated` is false, a 0 byte.
    void String(std::string_view text, bool terminated = true);
    void Bytes(const std::vector<uint8_t>& bytes) { out_.bytes(bytes); }

    // An object chunk (0x4000) holding one triangle mesh (0x4100) with its
    // vertex list, mapping, face list with groups, and matrix.
    void Mesh(const ThreeDSMesh& mesh);
    // The triangle mesh chunk alone, for objects with several meshes.
    void TriangleMesh(const ThreeDSMesh& mesh);
    void Material(const ThreeDSMaterial& material);

    size_t Size() const { return out_.size(); }
    // The bytes so far; every chunk must be closed.
    std::vector<uint8_t> Take();

private:
    ByteWriter out_;
    std::vector<size_t> open_; // start of every open chunk
};

// A unit square in z = 0 named `name`: four vertices, each with the mapping
// (x, y), and two faces; the smallest useful mesh for fixtures.
ThreeDSMesh UnitSquare(std::string name);

// A whole file: main chunk, editor chunk with the materials, then one object per mesh.
std::vector<uint8_t> WriteThreeDS(const std::vector<ThreeDSMesh>& meshes,
                                  const std::vector<ThreeDSMaterial>& materials = {});

} // namespace zelvane
