#include "tools/ThreeDSWriter.h"

#include <bit>
#include <stdexcept>

namespace zelvane {

namespace {

// The ids meshport reads; the writer names them once here.
constexpr uint16_t kMain = 0x4D4D;
constexpr uint16_t kEditor = 0x3D3D;
constexpr uint16_t kObject = 0x4000;
constexpr uint16_t kTriangleMesh = 0x4100;
constexpr uint16_t kVertexList = 0x4110;
constexpr uint16_t kFaceList = 0x4120;
constexpr uint16_t kFaceGroup = 0x4130;
constexpr uint16_t kMapping = 0x4140;
constexpr uint16_t kMatrix = 0x4160;
constexpr uint16_t kMaterial = 0xAFFF;
constexpr uint16_t kMaterialName = 0xA000;
constexpr uint16_t kAmbient = 0xA010;
constexpr uint16_t kDiffuse = 0xA020;
constexpr uint16_t kSpecular = 0xA030;
constexpr uint16_t kShininess = 0xA040;
constexpr uint16_t kTransparency = 0xA050;
constexpr uint16_t kTwoSided = 0xA081;
constexpr uint16_t kColourBytes = 0x0011;
constexpr uint16_t kPercentInt = 0x0030;
constexpr uint16_t kTextureMap = 0xA200;
constexpr uint16_t kTextureFile = 0xA300;

} // namespace

void ThreeDSWriter::Begin(uint16_t id)
{
    open_.push_back(out_.size());
    out_.u16le(id);
    out_.u32le(0);
}

void ThreeDSWriter::End()
{
    if (open_.empty())
        throw std::logic_error("ThreeDSWriter: End without Begin");
    EndWithLength(static_cast<uint32_t>(out_.size() - open_.back()));
}

void ThreeDSWriter::EndWithLength(uint32_t length)
{
    if (open_.empty())
        throw std::logic_error("ThreeDSWriter: End without Begin");
    out_.patch_u32le(open_.back() + 2, length);
    open_.pop_back();
}

void ThreeDSWriter::F32(float value)
{
    out_.u32le(std::bit_cast<uint32_t>(value));
}

void ThreeDSWriter::String(std::string_view text, bool terminated)
{
    out_.text(text);
    if (terminated)
        out_.u8(0);
}

void ThreeDSWriter::TriangleMesh(const ThreeDSMesh& mesh)
{
    Begin(kTriangleMesh);
    Begin(kVertexList);
    U16(static_cast<uint16_t>(mesh.vertices.size()));
    for (const auto& [x, y, z] : mesh.vertices) {
        F32(x);
        F32(y);
        F32(z);
    }
    End();
    if (!mesh.mapping.empty()) {
        Begin(kMapping);
        U16(static_cast<uint16_t>(mesh.mapping.size()));
        for (const auto& [u, v] : mesh.mapping) {
            F32(u);
            F32(v);
        }
        End();
    }
    Begin(kFaceList);
    U16(static_cast<uint16_t>(mesh.faces.size()));
    for (const auto& [a, b, c] : mesh.faces) {
        U16(a);
        U16(b);
        U16(c);
        U16(0x0007); // all three edges visible, as modellers write it
    }
    for (const ThreeDSFaceGroup& group : mesh.groups) {
        Begin(kFaceGroup);
        String(group.material);
        U16(static_cast<uint16_t>(group.faces.size()));
        for (const uint16_t face : group.faces)
            U16(face);
        End();
    }
    End();
    if (mesh.matrix) {
        Begin(kMatrix);
        for (const float value : *mesh.matrix)
            F32(value);
        End();
    }
    End();
}

void ThreeDSWriter::Mesh(const ThreeDSMesh& mesh)
{
    Begin(kObject);
    String(mesh.name);
    TriangleMesh(mesh);
    End();
}

void ThreeDSWriter::Material(const ThreeDSMaterial& material)
{
    Begin(kMaterial);
    Begin(kMaterialName);
    String(material.name);
    End();
    const auto colour = [&](uint16_t id, const std::array<uint8_t, 3>& rgb) {
        Begin(id);
        Begin(kColourBytes);
        for (const uint8_t channel : rgb)
            U8(channel);
        End();
        End();
    };
    const auto percent = [&](uint16_t id, uint16_t value) {
        Begin(id);
        Begin(kPercentInt);
        U16(value);
        End();
        End();
    };
    colour(kAmbient, material.ambient);
    if (material.diffuse)
        colour(kDiffuse, *material.diffuse);
    if (material.specular)
        colour(kSpecular, *material.specular);
    if (material.shininess)
        percent(kShininess, *material.shininess);
    if (material.transparency)
        percent(kTransparency, *material.transparency);
    if (material.twoSided) {
        Begin(kTwoSided);
        End();
    }
    if (!material.texture.empty()) {
        Begin(kTextureMap);
        Begin(kTextureFile);
        String(material.texture);
        End();
        End();
    }
    End();
}

std::vector<uint8_t> ThreeDSWriter::Take()
{
    if (!open_.empty())
        throw std::logic_error("ThreeDSWriter: a chunk is still open");
    return out_.take();
}

ThreeDSMesh UnitSquare(std::string name)
{
    ThreeDSMesh mesh;
    mesh.name = std::move(name);
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    mesh.mapping = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    return mesh;
}

std::vector<uint8_t> WriteThreeDS(const std::vector<ThreeDSMesh>& meshes, const std::vector<ThreeDSMaterial>& materials)
{
    ThreeDSWriter writer;
    writer.Begin(kMain);
    writer.Begin(kEditor);
    for (const ThreeDSMaterial& material : materials)
        writer.Material(material);
    for (const ThreeDSMesh& mesh : meshes)
        writer.Mesh(mesh);
    writer.End();
    writer.End();
    return writer.Take();
}

} // namespace zelvane
