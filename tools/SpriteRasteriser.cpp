#include "tools/SpriteRasteriser.h"

#include "objects/TilePlacement.h"

// Sections: the camera; surface colours (patterns and noise); lighting;
// rasterising triangles into samples; the two passes and the resolve.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace zelvane {

namespace {

// ---- the camera ----

// The view runs over the floor the way the composer's depth grows: +1,
// farther along that axis.
int Away(int depthStep)
{
    return depthStep < 0 ? -1 : 1;
}

// Looking down at 30 degrees: a floor unit spans 64·√2 pixels, a unit of
// height 64·√2·cos 30° = 32·√6.
constexpr float kCosView = 0.8660254f;
constexpr float kSinView = 0.5f;
constexpr float kHeightPixels = 78.383672f;

struct ScreenPoint {
    float x, y, depth;
};

ScreenPoint ToScreen(const TilePlacement& c, float scale, int direction, Vec3 p)
{
    return {(static_cast<float>(c.leftX) * p.x + static_cast<float>(c.leftY) * p.y) * scale,
            (static_cast<float>(c.bottomX) * p.x + static_cast<float>(c.bottomY) * p.y - kHeightPixels * p.z) * scale,
            SpriteRasteriser::Depth(direction, p)};
}

// ---- surface colours ----

uint32_t Hash(int x, int y, int z)
{
    uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
                 static_cast<uint32_t>(z) * 83492791u;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

float Lattice(int x, int y, int z)
{
    return static_cast<float>(Hash(x, y, z) & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float Smooth(float t)
{
    return t * t * (3 - 2 * t);
}

// Value noise from 0 to 1, smooth between lattice points one unit apart.
float Noise(Vec3 p)
{
    const float fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    const int x = static_cast<int>(fx), y = static_cast<int>(fy), z = static_cast<int>(fz);
    const float tx = Smooth(p.x - fx), ty = Smooth(p.y - fy), tz = Smooth(p.z - fz);
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    const float x00 = lerp(Lattice(x, y, z), Lattice(x + 1, y, z), tx);
    const float x10 = lerp(Lattice(x, y + 1, z), Lattice(x + 1, y + 1, z), tx);
    const float x01 = lerp(Lattice(x, y, z + 1), Lattice(x + 1, y, z + 1), tx);
    const float x11 = lerp(Lattice(x, y + 1, z + 1), Lattice(x + 1, y + 1, z + 1), tx);
    return lerp(lerp(x00, x10, ty), lerp(x01, x11, ty), tz);
}

float Axis(Vec3 p, int axis)
{
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

// The two coordinates that run across a face: those the normal does not point along.
void FaceCoordinates(Vec3 p, Vec3 n, float& u, float& v)
{
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    if (az >= ax && az >= ay) {
        u = p.x;
        v = p.y;
    } else if (ax >= ay) {
        u = p.y;
        v = p.z;
    } else {
        u = p.x;
        v = p.z;
    }
}

float Fraction(float v)
{
    return v - std::floor(v);
}

struct Surface {
    Vec3 colour;
    float alpha;
};

Vec3 RugColour(const Material& m, Vec3 p)
{
    const float fx = (p.x - m.rect[0]) / (m.rect[2] - m.rect[0]);
    const float fy = (p.y - m.rect[1]) / (m.rect[3] - m.rect[1]);
    const float edge = std::min({fx, 1 - fx, fy, 1 - fy});
    const Vec3 cream = ColourOf(0xE8D8B0);
    const Vec3 navy = ColourOf(0x24305A);
    const float diamond = std::fabs(fx - 0.5f) + std::fabs(fy - 0.5f);
    Vec3 c = m.colour;
    if (edge < 0.025f)
        c = navy;
    else if (edge < 0.09f)
        c = Fraction((fx + fy) * 14) < 0.5f ? m.second : m.second * 0.8f; // border of small bands
    else if (edge < 0.11f)
        c = cream;
    else if (diamond < 0.09f)
        c = cream;
    else if (diamond < 0.2f)
        c = navy;
    else if (diamond < 0.26f)
        c = m.second;
    else if (std::min({fx, 1 - fx}) < 0.24f && std::min({fy, 1 - fy}) < 0.24f)
        c = Mix(m.colour, navy, 0.5f); // corner panels
    // The weave shows as a fine ripple.
    return c * (0.88f + 0.12f * Noise(p * 180.0f));
}

Surface SurfaceAt(const Material& m, Vec3 p, Vec3 n)
{
    switch (m.pattern) {
    case Pattern::Plain:
        return {m.colour, m.alpha};
    case Pattern::Grain: {
        // Bands follow the grain axis and wander with noise.
        Vec3 across = p;
        if (m.axis == 0)
            across.x = 0;
        else if (m.axis == 1)
            across.y = 0;
        else
            across.z = 0;
        const Vec3 stretch = {m.axis == 0 ? 0.6f : 6.0f, m.axis == 1 ? 0.6f : 6.0f, m.axis == 2 ? 0.6f : 6.0f};
        const float rings = (across.x * 0.8f + across.y * 0.6f + across.z * 0.9f) / m.scale + 2.5f * Noise(p * stretch);
        const float band = 0.5f + 0.5f * std::sin(rings * 2 * std::numbers::pi_v<float>);
        const float fine =
            Noise(p * Vec3{m.axis == 0 ? 4.0f : 90.0f, m.axis == 1 ? 4.0f : 90.0f, m.axis == 2 ? 4.0f : 90.0f});
        return {Mix(m.colour, m.second, band * band * 0.75f + fine * 0.25f), m.alpha};
    }
    case Pattern::Stripes: {
        // A face square to the stripes' axis takes them along the next axis instead.
        const int axis = std::fabs(Axis(n, m.axis)) > 0.7f ? (m.axis + 1) % 3 : m.axis;
        return {static_cast<int>(std::floor(Axis(p, axis) / m.scale)) % 2 == 0 ? m.colour : m.second, m.alpha};
    }
    case Pattern::Checker: {
        float u = 0, v = 0;
        FaceCoordinates(p, n, u, v);
        const float fu = u / m.scale, fv = v / m.scale;
        const float gu = Fraction(fu), gv = Fraction(fv);
        if (std::min({gu, 1 - gu, gv, 1 - gv}) < 0.07f)
            return {ColourOf(0xD8D4CC), m.alpha}; // grout
        const bool odd = (static_cast<int>(std::floor(fu)) + static_cast<int>(std::floor(fv))) % 2 != 0;
        return {odd ? m.second : m.colour, m.alpha};
    }
    case Pattern::Weave: {
        float u = 0, v = 0;
        FaceCoordinates(p, n, u, v);
        const float cu = std::floor(u / (2 * m.scale)), cv = std::floor(v / (2 * m.scale));
        const bool alongU = static_cast<int>(cu + cv) % 2 == 0;
        const float strand = Fraction((alongU ? v : u) / m.scale);
        const float shade = 0.55f + 0.45f * std::sin(strand * std::numbers::pi_v<float>);
        return {Mix(m.second, m.colour, shade), m.alpha};
    }
    case Pattern::Speckle: {
        const float t = Noise(p * (1 / m.scale)) * 0.7f + Noise(p * (4 / m.scale)) * 0.3f;
        return {Mix(m.colour, m.second, Smooth(std::clamp(t * 1.4f - 0.2f, 0.0f, 1.0f))), m.alpha};
    }
    case Pattern::Rug:
        return {RugColour(m, p), m.alpha};
    }
    return {m.colour, m.alpha};
}

// ---- lighting ----

// Lights fixed to the camera, so every direction is lit alike: a key light
// from the upper left in front, a weaker fill from the right.
struct Lighting {
    Vec3 toViewer;
    Vec3 key;
    Vec3 fill;
    Vec3 halfway;

    explicit Lighting(int direction)
    {
        const TilePlacement& c = TilePlacementOf(direction);
        const Vec3 away = Normalised({static_cast<float>(Away(c.depthX)), static_cast<float>(Away(c.depthY)), 0});
        const Vec3 right = Normalised({static_cast<float>(c.leftX), static_cast<float>(c.leftY), 0});
        const Vec3 up{0, 0, 1};
        toViewer = away * -kCosView + up * kSinView;
        key = Normalised(right * -0.5f + up * 0.8f + toViewer * 0.35f);
        fill = Normalised(right * 0.6f + up * 0.3f + toViewer * 0.5f);
        halfway = Normalised(key + toViewer);
    }

    static constexpr float kAmbient = 0.36f, kKey = 0.62f, kFill = 0.2f, kHighlight = 0.45f;

    Vec3 Shade(const Material& m, Vec3 albedo, Vec3 n) const
    {
        const float light = kAmbient + kKey * std::max(0.0f, Dot(n, key)) + kFill * std::max(0.0f, Dot(n, fill));
        Vec3 c = albedo * (light + m.glow);
        if (m.shininess > 0) {
            const float h = std::pow(std::max(0.0f, Dot(n, halfway)), m.shininess) * kHighlight;
            c = c + Vec3{h, h, h};
        }
        return {std::min(c.x, 1.0f), std::min(c.y, 1.0f), std::min(c.z, 1.0f)};
    }
};

// ---- rasterising ----

struct SampleTriangle {
    ScreenPoint p[3]; // in sample units
    float area = 0;
    bool swapped = false; // corners 1 and 2 trade places
};

// Orders the corners so the edge functions are positive inside; false for
// a triangle seen edge-on.
bool Prepare(SampleTriangle& t)
{
    auto edge = [](const ScreenPoint& a, const ScreenPoint& b, float x, float y) {
        return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
    };
    t.area = edge(t.p[0], t.p[1], t.p[2].x, t.p[2].y);
    if (std::fabs(t.area) < 1e-6f)
        return false;
    if (t.area < 0) {
        std::swap(t.p[1], t.p[2]);
        t.area = -t.area;
        t.swapped = true;
    }
    return true;
}

// Calls visit(sample index, depth, b0, b1, b2) for every sample centre
// inside the triangle, with the weights of its corners as they are now.
template <typename Visit>
void Rasterise(const SampleTriangle& t, int width, int height, Visit&& visit)
{
    const ScreenPoint &a = t.p[0], &b = t.p[1], &c = t.p[2];
    const float minX = std::min({a.x, b.x, c.x}), maxX = std::max({a.x, b.x, c.x});
    const float minY = std::min({a.y, b.y, c.y}), maxY = std::max({a.y, b.y, c.y});
    const int i0 = std::max(0, static_cast<int>(std::ceil(minX - 0.5f)));
    const int i1 = std::min(width - 1, static_cast<int>(std::floor(maxX - 0.5f)));
    const int j0 = std::max(0, static_cast<int>(std::ceil(minY - 0.5f)));
    const int j1 = std::min(height - 1, static_cast<int>(std::floor(maxY - 0.5f)));
    const float inverse = 1 / t.area;
    for (int j = j0; j <= j1; ++j) {
        const float y = static_cast<float>(j) + 0.5f;
        const float x0 = static_cast<float>(i0) + 0.5f;
        // Edge functions at the row's first sample, then stepped along x.
        float w0 = (c.x - b.x) * (y - b.y) - (c.y - b.y) * (x0 - b.x);
        float w1 = (a.x - c.x) * (y - c.y) - (a.y - c.y) * (x0 - c.x);
        float w2 = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x0 - a.x);
        const float s0 = -(c.y - b.y), s1 = -(a.y - c.y), s2 = -(b.y - a.y);
        for (int i = i0; i <= i1; ++i, w0 += s0, w1 += s1, w2 += s2) {
            if (w0 < 0 || w1 < 0 || w2 < 0)
                continue;
            const float b0 = w0 * inverse, b1 = w1 * inverse, b2 = w2 * inverse;
            visit(static_cast<size_t>(j) * width + i, b0 * a.depth + b1 * b.depth + b2 * c.depth, b0, b1, b2);
        }
    }
}

struct Sample {
    float depth = std::numeric_limits<float>::infinity(); // of the nearest opaque surface
    int32_t triangle = -1;
    float b[3] = {};
    Vec3 colour; // premultiplied
    float alpha = 0;
    float frontDepth = std::numeric_limits<float>::infinity(); // nearest surface of any kind
    Vec3 frontPoint;
};

// One view being drawn: the triangles in sample units, the samples, and
// the passes that fill them, nearest opaque surfaces first.
class ViewPass {
public:
    ViewPass(const FurnitureMesh& mesh, const ViewSetup& view, int tilesX, int tilesY)
        : mesh_(mesh), view_(view), camera_(TilePlacementOf(view.direction)),
          scale_(1.0f / static_cast<float>(1 << view.zoomShift)), n_(std::max(1, view.samples)),
          lighting_(view.direction), tilesX_(tilesX), tilesY_(tilesY)
    {
    }

    RenderedView Run()
    {
        if (mesh_.Triangles().empty())
            return {};
        Project();
        DrawOpaque();
        ShadeOpaque();
        DrawShadow();
        DrawSeenThrough();
        return Resolve();
    }

private:
    void Grow(const ScreenPoint& s)
    {
        minX_ = std::min(minX_, s.x);
        maxX_ = std::max(maxX_, s.x);
        minY_ = std::min(minY_, s.y);
        maxY_ = std::max(maxY_, s.y);
    }

    // Corners to sample units; the view covers every corner and the
    // shadow's reach, and one pixel more on each side.
    void Project()
    {
        const std::vector<MeshTriangle>& triangles = mesh_.Triangles();
        projected_.resize(triangles.size());
        for (size_t t = 0; t < triangles.size(); ++t)
            for (int k = 0; k < 3; ++k) {
                projected_[t].p[k] = ToScreen(camera_, scale_, view_.direction, triangles[t].v[k].position);
                Grow(projected_[t].p[k]);
            }
        const FloorShadow& shadow = mesh_.Shadow();
        if (shadow.strength > 0)
            for (float x : {shadow.minX - shadow.soft, shadow.maxX + shadow.soft})
                for (float y : {shadow.minY - shadow.soft, shadow.maxY + shadow.soft})
                    Grow(ToScreen(camera_, scale_, view_.direction, {x, y, 0}));
        out_.left = static_cast<int>(std::floor(minX_)) - 1;
        out_.top = static_cast<int>(std::floor(minY_)) - 1;
        out_.width = static_cast<int>(std::ceil(maxX_)) + 1 - out_.left;
        out_.height = static_cast<int>(std::ceil(maxY_)) + 1 - out_.top;
        sw_ = out_.width * n_;
        sh_ = out_.height * n_;
        samples_.resize(static_cast<size_t>(sw_) * sh_);
        faces_.resize(triangles.size());
        usable_.resize(triangles.size());
        for (size_t t = 0; t < triangles.size(); ++t) {
            for (ScreenPoint& p : projected_[t].p) {
                p.x = (p.x - static_cast<float>(out_.left)) * static_cast<float>(n_);
                p.y = (p.y - static_cast<float>(out_.top)) * static_cast<float>(n_);
            }
            usable_[t] = Prepare(projected_[t]);
            // The face's normal, turned to the camera.
            const MeshTriangle& tri = triangles[t];
            faces_[t] = Cross(tri.v[1].position - tri.v[0].position, tri.v[2].position - tri.v[0].position);
            if (Dot(faces_[t], lighting_.toViewer) < 0)
                faces_[t] = -faces_[t];
        }
    }

    bool SeenThrough(size_t t) const { return mesh_.Materials()[mesh_.Triangles()[t].material].SeenThrough(); }

    // Sample (i, j) of pixel (x, y).
    Sample& At(int x, int y, int i, int j)
    {
        return samples_[static_cast<size_t>(y * n_ + j) * sw_ + static_cast<size_t>(x * n_ + i)];
    }

    // The corner weights in the mesh's order, whatever order Prepare chose.
    void Weights(size_t t, float b0, float b1, float b2, float b[3]) const
    {
        b[0] = b0;
        b[1] = projected_[t].swapped ? b2 : b1;
        b[2] = projected_[t].swapped ? b1 : b2;
    }

    // The surface at weights b of triangle t. Surfaces turned away from the
    // camera (thin leaves, the inside of a lamp shade) are lit from the side
    // that shows.
    Surface ShadeAt(size_t t, const float b[3], Vec3& point) const
    {
        const MeshTriangle& tri = mesh_.Triangles()[t];
        const Material& m = mesh_.Materials()[tri.material];
        point = tri.v[0].position * b[0] + tri.v[1].position * b[1] + tri.v[2].position * b[2];
        Vec3 normal = Normalised(tri.v[0].normal * b[0] + tri.v[1].normal * b[1] + tri.v[2].normal * b[2]);
        if (Dot(faces_[t], normal) < 0)
            normal = -normal;
        const Surface s = SurfaceAt(m, point, normal);
        return {lighting_.Shade(m, s.colour, normal), s.alpha};
    }

    void DrawOpaque()
    {
        for (size_t t = 0; t < projected_.size(); ++t) {
            if (!usable_[t] || SeenThrough(t))
                continue;
            Rasterise(projected_[t], sw_, sh_, [&](size_t s, float depth, float b0, float b1, float b2) {
                Sample& sample = samples_[s];
                if (depth < sample.depth) {
                    sample.depth = depth;
                    sample.triangle = static_cast<int32_t>(t);
                    Weights(t, b0, b1, b2, sample.b);
                }
            });
        }
    }

    // Opaque surfaces are shaded once per pixel and triangle, at the mean of
    // the samples it covers there: edges stay sampled, shading costs little.
    void ShadeOpaque()
    {
        std::vector<Sample*> group;
        for (int y = 0; y < out_.height; ++y)
            for (int x = 0; x < out_.width; ++x)
                for (int j = 0; j < n_; ++j)
                    for (int i = 0; i < n_; ++i) {
                        const Sample& first = At(x, y, i, j);
                        if (first.triangle < 0 || first.alpha > 0)
                            continue;
                        group.clear();
                        float b[3] = {0, 0, 0};
                        for (int jj = j; jj < n_; ++jj)
                            for (int ii = jj == j ? i : 0; ii < n_; ++ii) {
                                Sample& other = At(x, y, ii, jj);
                                if (other.triangle != first.triangle || other.alpha > 0)
                                    continue;
                                group.push_back(&other);
                                for (int k = 0; k < 3; ++k)
                                    b[k] += other.b[k];
                            }
                        for (float& w : b)
                            w /= static_cast<float>(group.size());
                        Vec3 point;
                        const Surface surface = ShadeAt(static_cast<size_t>(first.triangle), b, point);
                        for (Sample* member : group) {
                            member->colour = surface.colour;
                            member->alpha = 1;
                            member->frontDepth = member->depth;
                            member->frontPoint = point;
                        }
                    }
    }

    // The floor shadow where no opaque surface hides the floor: once per
    // pixel, at the floor point under its centre.
    void DrawShadow()
    {
        const FloorShadow& shadow = mesh_.Shadow();
        if (shadow.strength <= 0)
            return;
        const auto lx = static_cast<float>(camera_.leftX), ly = static_cast<float>(camera_.leftY);
        const auto bx = static_cast<float>(camera_.bottomX), by = static_cast<float>(camera_.bottomY);
        const float det = lx * by - ly * bx;
        for (int y = 0; y < out_.height; ++y)
            for (int x = 0; x < out_.width; ++x) {
                const float px = (static_cast<float>(out_.left + x) + 0.5f) / scale_;
                const float py = (static_cast<float>(out_.top + y) + 0.5f) / scale_;
                const Vec3 floor{(px * by - ly * py) / det, (lx * py - bx * px) / det, 0};
                const float alpha = shadow.AlphaAt(floor.x, floor.y);
                if (alpha <= kFaintest)
                    continue;
                for (int j = 0; j < n_; ++j)
                    for (int i = 0; i < n_; ++i) {
                        Sample& sample = At(x, y, i, j);
                        if (sample.triangle >= 0)
                            continue;
                        sample.alpha = alpha;
                        sample.frontDepth = SpriteRasteriser::Depth(view_.direction, floor);
                        sample.frontPoint = floor;
                    }
            }
    }

    // Seen-through surfaces, farthest first, over whatever lies behind them.
    void DrawSeenThrough()
    {
        std::vector<size_t> order;
        for (size_t t = 0; t < projected_.size(); ++t)
            if (usable_[t] && SeenThrough(t))
                order.push_back(t);
        auto centreDepth = [&](size_t t) {
            return projected_[t].p[0].depth + projected_[t].p[1].depth + projected_[t].p[2].depth;
        };
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return centreDepth(a) > centreDepth(b); });
        for (size_t t : order)
            Rasterise(projected_[t], sw_, sh_, [&](size_t s, float depth, float b0, float b1, float b2) {
                Sample& sample = samples_[s];
                if (depth >= sample.depth)
                    return;
                float b[3];
                Weights(t, b0, b1, b2, b);
                Vec3 point;
                const Surface surface = ShadeAt(t, b, point);
                if (surface.alpha <= kFaintest)
                    return;
                sample.colour = surface.colour * surface.alpha + sample.colour * (1 - surface.alpha);
                sample.alpha = surface.alpha + sample.alpha * (1 - surface.alpha);
                if (depth < sample.frontDepth && sample.triangle < 0) {
                    sample.frontDepth = depth;
                    sample.frontPoint = point;
                }
            });
    }

    // Each pixel: the mean of its samples, the nearest depth, and the tile
    // most of its samples stand over.
    RenderedView Resolve()
    {
        out_.pixels.resize(static_cast<size_t>(out_.width) * out_.height);
        const float perPixel = 1.0f / static_cast<float>(n_ * n_);
        std::vector<int> votes(static_cast<size_t>(tilesX_) * tilesY_);
        for (int y = 0; y < out_.height; ++y)
            for (int x = 0; x < out_.width; ++x) {
                Vec3 sum;
                float alpha = 0, depth = std::numeric_limits<float>::infinity();
                std::fill(votes.begin(), votes.end(), 0);
                for (int j = 0; j < n_; ++j)
                    for (int i = 0; i < n_; ++i) {
                        const Sample& s = At(x, y, i, j);
                        if (s.alpha <= 0)
                            continue;
                        sum = sum + s.colour;
                        alpha += s.alpha;
                        depth = std::min(depth, s.frontDepth);
                        const int tx = std::clamp(static_cast<int>(std::lround(s.frontPoint.x)), 0, tilesX_ - 1);
                        const int ty = std::clamp(static_cast<int>(std::lround(s.frontPoint.y)), 0, tilesY_ - 1);
                        ++votes[static_cast<size_t>(tx) * tilesY_ + ty];
                    }
                if (alpha <= 0)
                    continue;
                RenderedPixel& pixel = out_.pixels[static_cast<size_t>(y) * out_.width + x];
                pixel.colour = sum * (1 / alpha);
                pixel.alpha = alpha * perPixel;
                pixel.depth = depth;
                const auto best = static_cast<int>(std::max_element(votes.begin(), votes.end()) - votes.begin());
                pixel.tileX = best / tilesY_;
                pixel.tileY = best % tilesY_;
            }
        return std::move(out_);
    }

    // Fainter than this adds nothing a sprite can store.
    static constexpr float kFaintest = 0.002f;

    const FurnitureMesh& mesh_;
    const ViewSetup& view_;
    const TilePlacement& camera_;
    float scale_;
    int n_;
    Lighting lighting_;
    int tilesX_;
    int tilesY_;
    float minX_ = std::numeric_limits<float>::max(), minY_ = std::numeric_limits<float>::max();
    float maxX_ = std::numeric_limits<float>::lowest(), maxY_ = std::numeric_limits<float>::lowest();
    RenderedView out_;
    int sw_ = 0, sh_ = 0; // samples across and down
    std::vector<SampleTriangle> projected_;
    std::vector<Vec3> faces_;
    std::vector<bool> usable_;
    std::vector<Sample> samples_;
};

} // namespace

int SpriteRasteriser::TileLeft(int direction, int zoomShift, int x, int y)
{
    const TilePlacement c = TilePlacementOf(direction).Shifted(zoomShift);
    return c.leftX * x + c.leftY * y;
}

int SpriteRasteriser::TileTop(int direction, int zoomShift, int x, int y)
{
    const TilePlacement c = TilePlacementOf(direction).Shifted(zoomShift);
    return c.bottomX * x + c.bottomY * y;
}

Vec3 SpriteRasteriser::SurfaceColour(const Material& material, Vec3 p, Vec3 n, float& alpha)
{
    const Surface s = SurfaceAt(material, p, n);
    alpha = s.alpha;
    return s.colour;
}

SpriteRasteriser::Lights SpriteRasteriser::LightsOf(int direction)
{
    const Lighting lighting(direction);
    return {lighting.key, lighting.fill, Lighting::kAmbient, Lighting::kKey, Lighting::kFill, Lighting::kHighlight};
}

float SpriteRasteriser::Depth(int direction, Vec3 p)
{
    const TilePlacement& c = TilePlacementOf(direction);
    return (static_cast<float>(Away(c.depthX)) * p.x + static_cast<float>(Away(c.depthY)) * p.y) *
           (kCosView / std::numbers::sqrt2_v<float>)-kSinView * p.z;
}

// ---- the passes ----

RenderedView SpriteRasteriser::Render(const FurnitureMesh& mesh, const ViewSetup& view) const
{
    return ViewPass(mesh, view, tilesX_, tilesY_).Run();
}

RenderedView SpriteRasteriser::Reduced(const RenderedView& view, int factor) const
{
    auto floorDiv = [factor](int v) { return v >= 0 ? v / factor : -((-v + factor - 1) / factor); };
    RenderedView out;
    out.left = floorDiv(view.left);
    out.top = floorDiv(view.top);
    out.width = floorDiv(view.left + view.width + factor - 1) - out.left;
    out.height = floorDiv(view.top + view.height + factor - 1) - out.top;
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    std::vector<float> tileVotes(static_cast<size_t>(tilesX_) * tilesY_);
    const float share = 1.0f / static_cast<float>(factor * factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            Vec3 sum;
            float alpha = 0, depth = std::numeric_limits<float>::infinity();
            std::fill(tileVotes.begin(), tileVotes.end(), 0.0f);
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) {
                    const int sx = (out.left + x) * factor + i - view.left;
                    const int sy = (out.top + y) * factor + j - view.top;
                    if (sx < 0 || sy < 0 || sx >= view.width || sy >= view.height)
                        continue;
                    const RenderedPixel& p = view.At(sx, sy);
                    if (p.alpha <= 0)
                        continue;
                    sum = sum + p.colour * p.alpha;
                    alpha += p.alpha;
                    depth = std::min(depth, p.depth);
                    tileVotes[static_cast<size_t>(p.tileX) * tilesY_ + p.tileY] += p.alpha;
                }
            if (alpha <= 0)
                continue;
            RenderedPixel& pixel = out.pixels[static_cast<size_t>(y) * out.width + x];
            pixel.colour = sum * (1 / alpha);
            pixel.alpha = alpha * share;
            pixel.depth = depth;
            const auto best = std::max_element(tileVotes.begin(), tileVotes.end()) - tileVotes.begin();
            pixel.tileX = static_cast<int>(best) / tilesY_;
            pixel.tileY = static_cast<int>(best) % tilesY_;
        }
    return out;
}

} // namespace zelvane
