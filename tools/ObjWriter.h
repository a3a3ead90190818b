#pragma once
// Writes Wavefront OBJ text (and MTL material libraries) statement by
// statement, for test and fuzz fixtures, the benchmark's large model and the
// sample game's meshes. Nothing is checked: fixtures may break every rule on
// purpose.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvane {

class ObjWriter {
public:
    void Line(std::string_view text);
    void Vertex(float x, float y, float z);
    void TexCoord(float u, float v);
    // One corner per entry: vertex index and texture index (0: none), as
    // written (1-based, or negative for relative).
    void Face(const std::vector<std::pair<int64_t, int64_t>>& corners);
    void Object(std::string_view name) { Statement("o", name); }
    void Group(std::string_view name) { Statement("g", name); }
    void UseMaterial(std::string_view name) { Statement("usemtl", name); }
    void MaterialLibrary(std::string_view name) { Statement("mtllib", name); }

    const std::string& Text() const { return text_; }
    std::string Take() { return std::move(text_); }

private:
    void Statement(std::string_view keyword, std::string_view rest);
    void Number(float value);
    void Integer(int64_t value);

    std::string text_;
};

struct ObjMaterialRecord {
    std::string name;
    std::array<float, 3> ambient{0.2f, 0.2f, 0.2f};
    std::array<float, 3> diffuse{0.8f, 0.8f, 0.8f};
    std::array<float, 3> specular{0, 0, 0};
    float exponent = 0; // Ns, 0..1000
    float dissolve = 1; // d
    std::string diffuseMap; // map_Kd, written after `mapOptions`
    std::string mapOptions;
};

// An MTL library's text.
std::string WriteMtl(const std::vector<ObjMaterialRecord>& materials);

} // namespace zelvane
