#include "tools/LargeThreeDSScene.h"

#include "tools/ThreeDSWriter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>

namespace zelvane {

namespace {

constexpr uint16_t kMain = 0x4D4D;
constexpr uint16_t kEditor = 0x3D3D;
constexpr uint16_t kObject = 0x4000;
constexpr uint16_t kCamera = 0x4700; // position, target, roll and lens: eight floats

ThreeDSMesh TorusMesh(uint32_t index, const LargeSceneOptions& options, std::mt19937& random)
{
    std::uniform_real_distribution<float> spread(-500.0f, 500.0f);
    std::uniform_real_distribution<float> radius(5.0f, 40.0f);
    const float major = radius(random);
    const float minor = major * 0.3f;
    const float cx = spread(random), cy = spread(random), cz = spread(random);
    const uint32_t n = std::clamp<uint32_t>(options.grid, 2, 255);

    ThreeDSMesh mesh;
    mesh.name = "Torus" + std::to_string(index);
    mesh.vertices.reserve(n * n);
    mesh.mapping.reserve(n * n);
    const float step = 2.0f * std::numbers::pi_v<float> / static_cast<float>(n - 1);
    for (uint32_t i = 0; i < n; ++i)
        for (uint32_t j = 0; j < n; ++j) {
            const float a = step * static_cast<float>(i), b = step * static_cast<float>(j);
            const float ring = major + minor * std::cos(b);
            mesh.vertices.push_back({cx + ring * std::cos(a), cy + ring * std::sin(a), cz + minor * std::sin(b)});
            mesh.mapping.push_back({static_cast<float>(i) / static_cast<float>(n - 1),
                                    static_cast<float>(j) / static_cast<float>(n - 1)});
        }
    for (uint32_t i = 0; i + 1 < n; ++i)
        for (uint32_t j = 0; j + 1 < n; ++j) {
            const auto at = [n](uint32_t r, uint32_t c) { return static_cast<uint16_t>(r * n + c); };
            mesh.faces.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
            mesh.faces.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    // Contiguous runs of faces, one group each.
    const uint32_t groups = std::max<uint32_t>(1, options.groupsPerObject);
    const size_t perGroup = (mesh.faces.size() + groups - 1) / groups;
    for (uint32_t g = 0; g < groups; ++g) {
        ThreeDSFaceGroup group;
        group.material = "Material" + std::to_string((index + g) % std::max<uint32_t>(1, options.materials));
        for (size_t f = g * perGroup; f < std::min(mesh.faces.size(), (g + 1) * perGroup); ++f)
            group.faces.push_back(static_cast<uint16_t>(f));
        mesh.groups.push_back(std::move(group));
    }
    mesh.matrix = std::array<float, 12>{1, 0, 0, 0, 1, 0, 0, 0, 1, cx, cy, cz};
    return mesh;
}

} // namespace

LargeScene MakeLargeThreeDSScene(const LargeSceneOptions& options)
{
    std::mt19937 random(options.seed);
    LargeScene scene;
    ThreeDSWriter writer;
    writer.Begin(kMain);
    writer.Begin(kEditor);
    for (uint32_t m = 0; m < options.materials; ++m) {
        ThreeDSMaterial material;
        material.name = "Material" + std::to_string(m);
        material.ambient = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                            static_cast<uint8_t>(random())};
        material.diffuse = std::array<uint8_t, 3>{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                                                  static_cast<uint8_t>(random())};
        material.specular = std::array<uint8_t, 3>{229, 229, 229};
        material.shininess = static_cast<uint16_t>(random() % 101);
        material.transparency = static_cast<uint16_t>(m % 5 == 4 ? 25 : 0);
        material.twoSided = m % 3 == 2;
        material.texture = "tex" + std::to_string(m) + "." + options.textureExtension;
        writer.Material(material);
    }
    for (uint32_t o = 0; o < options.objects; ++o) {
        const ThreeDSMesh mesh = TorusMesh(o, options, random);
        writer.Mesh(mesh);
        ++scene.meshes;
        scene.vertices += mesh.vertices.size();
        scene.faces += mesh.faces.size();
        if (o % 25 == 24) {
            writer.Begin(kObject);
            writer.String("Camera" + std::to_string(o / 25));
            writer.Begin(kCamera);
            for (int k = 0; k < 8; ++k)
                writer.F32(static_cast<float>(k));
            writer.End();
            writer.End();
        }
    }
    writer.End();
    writer.End();
    scene.bytes = writer.Take();
    return scene;
}

} // namespace zelvane
