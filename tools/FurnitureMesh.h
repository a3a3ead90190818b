#pragma once
// A piece of furniture as triangles, for drawing the sample game's sprites:
// a few solids (boxes, tubes and cones, ellipsoids, extruded outlines) with
// materials that say how a surface is coloured, lit and seen through.
// Units: a floor tile is 1 × 1 with tile (0, 0) centred on the origin; z is
// up; the front of a piece faces -y.

#include <cstdint>
#include <span>
#include <vector>

namespace zelvane {

struct Vec3 {
    float x = 0, y = 0, z = 0;

    friend Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
    friend Vec3 operator*(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
    friend Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
};

float Dot(Vec3 a, Vec3 b);
Vec3 Cross(Vec3 a, Vec3 b);
Vec3 Normalised(Vec3 v); // the zero vector stays zero
Vec3 Mix(Vec3 a, Vec3 b, float t);
// A colour 0xRRGGBB as red, green, blue from 0 to 1.
Vec3 ColourOf(uint32_t rgb);

// How a material's colour varies over its surface; positions are world
// positions, so patterns run on across faces.
enum class Pattern {
    Plain,
    Grain,   // wood: bands of `second` along `axis`, bent by noise
    Stripes, // bands `scale` wide across `axis`, alternately colour and second
    Checker, // square tiles `scale` wide with pale grout, on every face
    Weave,   // basket weave of strands `scale` wide
    Speckle, // colour and second mixed by noise of size `scale`
    Rug,     // a woven rug filling `rect`: border, field and medallion
};

struct Material {
    Vec3 colour;
    Vec3 second;
    Pattern pattern = Pattern::Plain;
    float scale = 0.1f;
    int axis = 0;        // 0 = x, 1 = y, 2 = z
    float alpha = 1;     // below 1: seen through (glass, water, flames)
    float shininess = 0; // 0: matt; else the highlight's exponent
    float glow = 0;      // light of its own (lamp shade, flames, screen)
    float rect[4] = {};  // Rug: min x, min y, max x, max y

    bool SeenThrough() const { return alpha < 1; }
};

// The soft shadow a piece casts on the floor: `strength` (0 to 1) under
// the rectangle, fading to nothing `soft` outside it.
struct FloorShadow {
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
    float soft = 0;
    float strength = 0;

    // How dark the shadow is at floor point (x, y), 0 to strength.
    float AlphaAt(float x, float y) const;
};

struct MeshVertex {
    Vec3 position;
    Vec3 normal;
};

struct MeshTriangle {
    MeshVertex v[3];
    uint16_t material = 0;
};

class FurnitureMesh {
public:
    uint16_t AddMaterial(const Material& material);

    // Flat-shaded polygons; corners counter-clockwise seen from outside.
    void AddTriangle(Vec3 a, Vec3 b, Vec3 c, uint16_t material);
    void AddQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, uint16_t material);
    // An axis-aligned box.
    void AddBox(Vec3 min, Vec3 max, uint16_t material);
    enum class Caps { None, Both };
    // A smooth-sided tube from `from` (radius r0) to `to` (radius r1): a
    // cylinder, a cone (r1 = 0) or a lamp shade (no caps).
    void AddTube(Vec3 from, Vec3 to, float r0, float r1, int segments, uint16_t material, Caps caps = Caps::Both);
    void AddEllipsoid(Vec3 centre, Vec3 radii, int segments, uint16_t material);
    // An outline in the x-z plane (convex, counter-clockwise seen from -y)
    // extruded from y0 to y1: roofs, gables.
    void AddPrism(std::span<const float> xz, float y0, float y1, uint16_t material);
    void SetShadow(const FloorShadow& shadow) { shadow_ = shadow; }

    const std::vector<MeshTriangle>& Triangles() const { return triangles_; }
    const std::vector<Material>& Materials() const { return materials_; }
    // Strength 0 when the piece casts none.
    const FloorShadow& Shadow() const { return shadow_; }

private:
    void Add(const MeshVertex& a, const MeshVertex& b, const MeshVertex& c, uint16_t material);

    std::vector<MeshTriangle> triangles_;
    std::vector<Material> materials_;
    FloorShadow shadow_;
};

} // namespace zelvane
