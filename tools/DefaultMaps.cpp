#include "tools/DefaultMaps.h"

#include "scene/WindowsBitmap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>

namespace zelvane {

namespace {

struct Colour {
    float r, g, b;

    Colour operator*(float k) const { return {r * k, g * k, b * k}; }
    Colour operator+(const Colour& o) const { return {r + o.r, g + o.g, b + o.b}; }
};

Colour Mix(const Colour& a, const Colour& b, float t)
{
    return a * (1.0f - t) + b * t;
}

float Clamp01(float v)
{
    return std::clamp(v, 0.0f, 1.0f);
}

float SmoothStep(float edge0, float edge1, float x)
{
    const float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

void Put(PlainImage& image, int x, int y, const Colour& c)
{
    std::span<std::uint8_t> row = image.Row(y);
    const auto at = static_cast<std::size_t>(x) * 3;
    row[at] = static_cast<std::uint8_t>(std::lround(Clamp01(c.b) * 255.0f));
    row[at + 1] = static_cast<std::uint8_t>(std::lround(Clamp01(c.g) * 255.0f));
    row[at + 2] = static_cast<std::uint8_t>(std::lround(Clamp01(c.r) * 255.0f));
}

// A fixed hash of lattice points, so the same code always draws the same
// pixels on every machine.
float Hash(std::int64_t x, std::int64_t y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^ static_cast<std::uint32_t>(y) * 0xD8163841u
        ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

// Smooth value noise in 0..1 that repeats every `periodX` × `periodY` lattice
// cells, so textures built from it tile.
float Noise(float x, float y, int periodX, int periodY, std::uint32_t seed)
{
    const float fx = std::floor(x), fy = std::floor(y);
    const float tx = x - fx, ty = y - fy;
    const auto ix = static_cast<std::int64_t>(fx), iy = static_cast<std::int64_t>(fy);
    auto at = [&](std::int64_t cx, std::int64_t cy) {
        const std::int64_t wx = ((cx % periodX) + periodX) % periodX;
        const std::int64_t wy = ((cy % periodY) + periodY) % periodY;
        return Hash(wx, wy, seed);
    };
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const float top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
    const float bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

// Noise summed over octaves, each twice as fine; periods double with them.
float Fractal(float x, float y, int periodX, int periodY, std::uint32_t seed, int octaves)
{
    float sum = 0.0f, weight = 0.5f, total = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * Noise(x, y, periodX, periodY, seed + static_cast<std::uint32_t>(o));
        total += weight;
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}

// --- The floor -------------------------------------------------------------

constexpr int kFloorSide = 512;
constexpr int kPlankRows = 16;
constexpr int kPlankWidth = kFloorSide / kPlankRows;

// One row's planks as cut points along x; the row wraps around.
std::vector<int> PlankJoints(int row)
{
    std::vector<int> joints;
    int x = static_cast<int>(Hash(row, 7, 11) * kFloorSide);
    const int start = x;
    for (;;) {
        joints.push_back(x % kFloorSide);
        const int length = 150 + static_cast<int>(Hash(row, static_cast<std::int64_t>(joints.size()), 12) * 170.0f);
        x += length;
        if (x - start > kFloorSide - 110)
            break;
    }
    return joints;
}

Colour PlankColour(int row, int plank)
{
    const Colour honey{0.70f, 0.47f, 0.27f};
    const Colour amber{0.60f, 0.37f, 0.19f};
    const Colour pale{0.78f, 0.57f, 0.36f};
    const float a = Hash(row, plank, 21), b = Hash(row, plank, 22);
    return Mix(Mix(honey, amber, a), pale, b * 0.45f);
}

} // namespace

PlainImage DrawWoodenFloor()
{
    PlainImage image(kFloorSide, kFloorSide, 3);
    const Colour joint{0.22f, 0.13f, 0.07f};
    for (int row = 0; row < kPlankRows; ++row) {
        const std::vector<int> joints = PlankJoints(row);
        for (int y = row * kPlankWidth; y < (row + 1) * kPlankWidth; ++y) {
            const float across = static_cast<float>(y - row * kPlankWidth) + 0.5f; // 0..32 across the plank
            for (int x = 0; x < kFloorSide; ++x) {
                // Which plank of the row holds x, and how far x is from its ends.
                int plank = 0;
                int fromJoint = kFloorSide;
                for (std::size_t k = 0; k < joints.size(); ++k) {
                    const int distance = ((x - joints[k]) % kFloorSide + kFloorSide) % kFloorSide;
                    if (distance < fromJoint) {
                        fromJoint = distance;
                        plank = static_cast<int>(k);
                    }
                }
                int toJoint = kFloorSide;
                for (const int j : joints)
                    toJoint = std::min(toJoint, ((j - x) % kFloorSide + kFloorSide) % kFloorSide);

                const Colour base = PlankColour(row, plank);
                const auto seed = static_cast<std::uint32_t>(row * 31 + plank);
                // Grain: long stretched rings that wander with low noise.
                const float fx = static_cast<float>(x) / kFloorSide;
                const float wander = Fractal(fx * 4.0f, across / 16.0f, 4, 2 * kPlankRows, seed, 3);
                const float rings = std::sin((across * 0.55f + wander * 9.0f + Hash(row, plank, 5) * 6.0f) * 1.7f);
                const float fine = Fractal(fx * 64.0f, across / 3.0f, 64, 11 * kPlankRows, seed + 9, 2);
                float shade = 1.0f - 0.10f * SmoothStep(0.3f, 1.0f, rings) - 0.12f * (fine - 0.5f);
                // A knot now and then: dark rings round a point of the plank.
                const float knotX = Hash(row, plank, 41), knotOn = Hash(row, plank, 42);
                if (knotOn > 0.72f) {
                    const float kx = static_cast<float>(joints[static_cast<std::size_t>(plank)]) + 40.0f + knotX * 80.0f;
                    float dx = static_cast<float>(x) - kx;
                    dx -= std::round(dx / kFloorSide) * kFloorSide;
                    const float dy = (across - 16.0f) * 1.6f;
                    const float r = std::sqrt(dx * dx * 0.35f + dy * dy);
                    shade *= 1.0f - 0.35f * std::exp(-r * 0.22f) - 0.06f * std::sin(r * 1.1f) * std::exp(-r * 0.08f);
                }
                // Rounded plank edges: a touch lighter on the upper edge, darker below.
                shade *= 1.0f + 0.06f * SmoothStep(4.0f, 0.0f, across) - 0.10f * SmoothStep(27.0f, 31.5f, across);
                Colour colour = base * shade;
                // Joints between rows and at plank ends.
                const float sideGap = std::min(across, static_cast<float>(kPlankWidth) - across);
                const float endGap = static_cast<float>(std::min(fromJoint, toJoint)) + 0.5f;
                const float gap = std::min(sideGap, endGap);
                colour = Mix(joint, colour, SmoothStep(0.6f, 1.8f, gap));
                Put(image, x, y, colour);
            }
        }
    }
    return image;
}

// --- The wall --------------------------------------------------------------

namespace {

constexpr int kWallWidth = 512;
constexpr int kWallHeight = 256;
// One repeat is 5 units wide and 3 high.
constexpr float kWallUnitsWide = 5.0f;
constexpr float kWallUnitsHigh = 3.0f;
constexpr float kChairRail = 0.95f;   // height of the rail's top, in units
constexpr float kRailHeight = 0.07f;
constexpr float kSkirting = 0.16f;
constexpr int kStripes = 20;           // per repeat
constexpr int kPanels = 4;             // per repeat

Colour Wallpaper(float u, float v)
{
    const Colour cream{0.93f, 0.89f, 0.78f};
    const Colour sage{0.72f, 0.78f, 0.64f};
    const Colour leaf{0.45f, 0.56f, 0.43f};
    const Colour rose{0.78f, 0.45f, 0.42f};
    // Stripes: a wide cream band and a narrow sage one, soft edged.
    const float stripe = u / kWallUnitsWide * kStripes;
    const float within = stripe - std::floor(stripe);
    const float sageBand = SmoothStep(0.60f, 0.64f, within) * (1.0f - SmoothStep(0.92f, 0.96f, within));
    Colour colour = Mix(cream, sage, sageBand * 0.85f);
    // Fine pinstripes either side of the sage band.
    const float pin = std::min(std::fabs(within - 0.56f), std::fabs(within - 0.99f));
    colour = Mix(colour, leaf, 0.55f * (1.0f - SmoothStep(0.004f, 0.012f, pin)));
    // Sprigs in the cream bands: a small rose with two leaves, rows offset.
    const float cellHeight = 0.42f;
    const float row = std::floor(v / cellHeight);
    const float cx = (std::floor(stripe) + 0.30f) / kStripes * kWallUnitsWide;
    const float shift = (static_cast<int>(std::floor(stripe)) % 2 == 0 ? 0.0f : 0.5f);
    const float cy = (row + 0.5f + shift) * cellHeight;
    for (const float dyCell : {-cellHeight, 0.0f, cellHeight}) {
        const float dx = u - cx, dy = v - (cy + dyCell);
        const float r = std::sqrt(dx * dx + dy * dy);
        // The rose: petals as a wavy disk.
        const float angle = std::atan2(dy, dx);
        const float petals = 0.028f + 0.006f * std::cos(angle * 5.0f);
        colour = Mix(colour, rose, 0.9f * (1.0f - SmoothStep(petals - 0.004f, petals + 0.004f, r)));
        colour = Mix(colour, rose * 0.7f, 0.8f * (1.0f - SmoothStep(0.006f, 0.011f, r)));
        // Two leaves below it, left and right.
        for (const float side : {-1.0f, 1.0f}) {
            const float lx = dx - side * 0.035f, ly = dy + 0.035f;
            const float along = (lx * side + ly) * 0.7071f, across = (lx * side - ly) * 0.7071f;
            const float leafShape = (along * along) / (0.030f * 0.030f) + (across * across) / (0.011f * 0.011f);
            colour = Mix(colour, leaf, 0.85f * (1.0f - SmoothStep(0.8f, 1.1f, leafShape)));
        }
    }
    // A little paper texture.
    const float paper = Fractal(u * 40.0f, v * 40.0f, 200, 120, 77, 2);
    return colour * (0.97f + 0.06f * (paper - 0.5f));
}

Colour Wood(float u, float v, float darkness, std::uint32_t seed)
{
    const Colour walnut{0.42f, 0.26f, 0.15f};
    const float grain = Fractal(u * 3.0f, v * 60.0f, 15, 180, seed, 3);
    const float rings = std::sin((v * 90.0f + grain * 12.0f) * 0.9f);
    return walnut * (darkness * (0.92f + 0.10f * rings * 0.5f + 0.12f * (grain - 0.5f)));
}

Colour Panelling(float u, float v)
{
    // Vertical boards behind raised panels, framed by rails and stiles.
    const float panelWidth = kWallUnitsWide / kPanels;
    const float inPanel = u - std::floor(u / panelWidth) * panelWidth;
    const float bottom = kSkirting, top = kChairRail - kRailHeight;
    const float margin = 0.10f;
    const float px = std::min(inPanel - margin, panelWidth - margin - inPanel);
    const float py = std::min(v - bottom - margin, top - margin - v);
    Colour colour = Wood(u, v, 1.0f, 5);
    if (px > 0.0f && py > 0.0f) {
        // The raised panel, lit from above: its bevel is light on top, dark below.
        const float bevel = 0.035f;
        colour = Wood(u, v, 1.08f, 6);
        if (py < bevel && v > (bottom + top) / 2.0f)
            colour = colour * 1.18f;
        else if (py < bevel)
            colour = colour * 0.78f;
        else if (px < bevel)
            colour = colour * (inPanel < panelWidth / 2.0f ? 1.10f : 0.85f);
    } else if (std::fabs(std::min(px, py)) < 0.008f) {
        colour = colour * 0.65f; // the groove round each panel
    }
    return colour;
}

} // namespace

PlainImage DrawWallpaper()
{
    PlainImage image(kWallWidth, kWallHeight, 3);
    for (int y = 0; y < kWallHeight; ++y) {
        // Row 0 is the top of the wall.
        const float v = (static_cast<float>(kWallHeight - y) - 0.5f) / kWallHeight * kWallUnitsHigh;
        for (int x = 0; x < kWallWidth; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / kWallWidth * kWallUnitsWide;
            Colour colour;
            if (v >= kChairRail) {
                colour = Wallpaper(u, v);
                // A soft shadow under the rail.
                colour = colour * (1.0f - 0.18f * (1.0f - SmoothStep(0.0f, 0.05f, v - kChairRail)));
            } else if (v >= kChairRail - kRailHeight) {
                // The rail's moulding: a rounded profile.
                const float t = (v - (kChairRail - kRailHeight)) / kRailHeight;
                colour = Wood(u, v, 0.9f + 0.35f * std::sin(t * std::numbers::pi_v<float>), 9);
            } else if (v >= kSkirting) {
                colour = Panelling(u, v);
            } else {
                const float t = v / kSkirting;
                colour = Wood(u, v, 0.75f + 0.25f * SmoothStep(0.75f, 0.95f, t), 13);
                if (t > 0.95f)
                    colour = colour * 1.25f; // the skirting's top edge catches the light
            }
            Put(image, x, y, colour);
        }
    }
    return image;
}

std::string WriteDefaultMaps(const std::string& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return "cannot create " + folder + ": " + ec.message();
    const std::pair<const char*, PlainImage> maps[] = {
        {"Default Floor.bmp", DrawWoodenFloor()},
        {"Default Wall.bmp", DrawWallpaper()},
    };
    for (const auto& [name, image] : maps) {
        const std::filesystem::path path = std::filesystem::path(folder) / name;
        // Written aside and renamed, so an interrupted build never leaves half a file.
        const std::filesystem::path partial = path.string() + ".partial";
        const std::vector<std::uint8_t> bytes = EncodeWindowsBitmap(image);
        {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            if (!out)
                return "cannot write " + partial.string();
        }
        std::filesystem::rename(partial, path, ec);
        if (ec)
            return "cannot write " + path.string() + ": " + ec.message();
    }
    return {};
}

} // namespace zelvane
