#include "tools/FurnitureModels.h"

// Sections: materials and a repeatable random source; one function per
// piece, in the order of FurnitureKind. Sizes are in tiles (about a metre).

#include <cmath>
#include <numbers>

namespace zelvane {

namespace {

// ---- materials and randomness ----

Material Plain(uint32_t colour, float shininess = 0, float glow = 0)
{
    Material m;
    m.colour = ColourOf(colour);
    m.second = m.colour;
    m.shininess = shininess;
    m.glow = glow;
    return m;
}

Material Patterned(Pattern pattern, uint32_t colour, uint32_t second, float scale, int axis = 0)
{
    Material m = Plain(colour);
    m.second = ColourOf(second);
    m.pattern = pattern;
    m.scale = scale;
    m.axis = axis;
    return m;
}

Material Wood(uint32_t light, uint32_t dark, int axis, float scale = 0.045f)
{
    Material m = Patterned(Pattern::Grain, light, dark, scale, axis);
    m.shininess = 12;
    return m;
}

Material SeenThrough(uint32_t colour, float alpha, float shininess, float glow = 0)
{
    Material m = Plain(colour, shininess, glow);
    m.alpha = alpha;
    return m;
}

// xorshift32: the same numbers with every compiler and library.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed ? seed : 1) {}
    float Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_ >> 8) / static_cast<float>(1u << 24);
    }
    float Range(float low, float high) { return low + (high - low) * Next(); }

private:
    uint32_t state_;
};

constexpr float kPi = std::numbers::pi_v<float>;

// Four legs at (±x, y0) and (±x, y1).
template <typename Leg>
void FourLegs(float x, float y0, float y1, Leg&& leg)
{
    for (float sx : {-1.0f, 1.0f})
        for (float y : {y0, y1})
            leg(sx * x, y);
}

// ---- the pieces ----

FurnitureMesh DiningChair()
{
    FurnitureMesh m;
    const uint16_t upright = m.AddMaterial(Wood(0xDDA968, 0xAE7438, 2));
    const uint16_t across = m.AddMaterial(Wood(0xDDA968, 0xAE7438, 0));
    const uint16_t rush = m.AddMaterial(Patterned(Pattern::Weave, 0xE6CB85, 0x8E6A30, 0.022f));
    m.SetShadow({-0.23f, -0.24f, 0.23f, 0.23f, 0.12f, 0.35f});
    for (float x : {-0.19f, 0.19f}) {
        m.AddTube({x, -0.2f, 0}, {x, -0.2f, 0.43f}, 0.022f, 0.027f, 10, upright);
        m.AddTube({x, 0.18f, 0}, {x, 0.215f, 1.0f}, 0.027f, 0.022f, 10, upright);
        m.AddTube({x, -0.2f, 0.14f}, {x, 0.18f, 0.14f}, 0.011f, 0.011f, 6, across);
        m.AddEllipsoid({x, 0.215f, 1.0f}, {0.028f, 0.028f, 0.022f}, 10, upright);
    }
    m.AddTube({-0.19f, -0.2f, 0.2f}, {0.19f, -0.2f, 0.2f}, 0.011f, 0.011f, 6, across);
    m.AddBox({-0.225f, -0.24f, 0.41f}, {0.225f, 0.205f, 0.455f}, across);
    m.AddBox({-0.195f, -0.21f, 0.455f}, {0.195f, 0.175f, 0.468f}, rush);
    m.AddBox({-0.2f, 0.19f, 0.86f}, {0.2f, 0.235f, 0.96f}, across);
    m.AddBox({-0.2f, 0.185f, 0.6f}, {0.2f, 0.215f, 0.64f}, across);
    for (float x : {-0.1f, 0.0f, 0.1f})
        m.AddBox({x - 0.018f, 0.192f, 0.64f}, {x + 0.018f, 0.218f, 0.86f}, upright);
    return m;
}

FurnitureMesh ReadingLamp()
{
    FurnitureMesh m;
    const uint16_t brass = m.AddMaterial(Plain(0xC89A3A, 28));
    Material shadeCloth = Patterned(Pattern::Speckle, 0xF3E4BC, 0xE2C890, 0.05f);
    shadeCloth.glow = 0.35f;
    const uint16_t shade = m.AddMaterial(shadeCloth);
    const uint16_t bulb = m.AddMaterial(Plain(0xFFF4C8, 0, 1.0f));
    m.SetShadow({-0.17f, -0.17f, 0.17f, 0.17f, 0.16f, 0.35f});
    m.AddTube({0, 0, 0}, {0, 0, 0.03f}, 0.17f, 0.17f, 28, brass);
    m.AddTube({0, 0, 0.03f}, {0, 0, 0.08f}, 0.17f, 0.05f, 28, brass);
    m.AddTube({0, 0, 0.08f}, {0, 0, 1.34f}, 0.016f, 0.016f, 10, brass);
    m.AddEllipsoid({0, 0, 0.72f}, {0.03f, 0.03f, 0.024f}, 12, brass);
    m.AddTube({0, 0, 1.3f}, {0, 0, 1.4f}, 0.03f, 0.03f, 12, brass);
    m.AddEllipsoid({0, 0, 1.44f}, {0.045f, 0.045f, 0.06f}, 12, bulb);
    m.AddTube({0, 0, 1.25f}, {0, 0, 1.58f}, 0.27f, 0.15f, 32, shade, FurnitureMesh::Caps::None);
    m.AddTube({0, 0, 1.4f}, {0, 0, 1.62f}, 0.006f, 0.006f, 6, brass);
    m.AddEllipsoid({0, 0, 1.63f}, {0.02f, 0.02f, 0.028f}, 10, brass);
    return m;
}

FurnitureMesh Bookcase()
{
    FurnitureMesh m;
    const uint16_t upright = m.AddMaterial(Wood(0xB98A52, 0x85592C, 2));
    const uint16_t across = m.AddMaterial(Wood(0xB98A52, 0x85592C, 0));
    const uint16_t inside = m.AddMaterial(Wood(0x8E6434, 0x6A4622, 2));
    const uint32_t bookColours[] = {0x8E2424, 0x24386E, 0x2F5E34, 0xC89A2E, 0x6B3A1E,
                                    0xE6DCC0, 0x5A2A5E, 0x1E1E1E, 0xB0502A, 0x3A6E86};
    uint16_t books[std::size(bookColours)];
    for (size_t i = 0; i < std::size(bookColours); ++i)
        books[i] = m.AddMaterial(Plain(bookColours[i], 6));
    m.SetShadow({-0.46f, 0.06f, 0.46f, 0.47f, 0.12f, 0.35f});
    m.AddBox({-0.46f, 0.06f, 0}, {-0.43f, 0.47f, 1.9f}, upright);
    m.AddBox({0.43f, 0.06f, 0}, {0.46f, 0.47f, 1.9f}, upright);
    m.AddBox({-0.43f, 0.445f, 0}, {0.43f, 0.47f, 1.9f}, inside);
    m.AddBox({-0.48f, 0.04f, 1.9f}, {0.48f, 0.48f, 1.96f}, across);
    m.AddBox({-0.43f, 0.07f, 0}, {0.43f, 0.445f, 0.09f}, across);
    Random random(7);
    const float floors[] = {0.09f, 0.465f, 0.825f, 1.185f, 1.545f};
    for (size_t shelf = 0; shelf < std::size(floors); ++shelf) {
        const float floor = floors[shelf];
        if (shelf > 0)
            m.AddBox({-0.43f, 0.07f, floor - 0.025f}, {0.43f, 0.445f, floor}, across);
        const float room = (shelf + 1 < std::size(floors) ? floors[shelf + 1] - 0.025f : 1.9f) - floor;
        for (float x = -0.425f; x < 0.4f;) {
            if (random.Next() < 0.07f) {
                x += random.Range(0.03f, 0.08f); // a gap where books were taken out
                continue;
            }
            const float width = std::min(random.Range(0.022f, 0.05f), 0.425f - x);
            const float height = random.Range(0.62f, 0.88f) * room;
            const float depth = random.Range(0.2f, 0.27f);
            const uint16_t book = books[static_cast<size_t>(random.Next() * std::size(books))];
            m.AddBox({x, 0.44f - depth, floor}, {x + width - 0.003f, 0.44f, floor + height}, book);
            x += width;
        }
    }
    return m;
}

void TurnedLeg(FurnitureMesh& m, float x, float y, float top, uint16_t wood)
{
    m.AddTube({x, y, 0}, {x, y, 0.07f}, 0.034f, 0.044f, 12, wood);
    m.AddTube({x, y, 0.07f}, {x, y, 0.3f}, 0.044f, 0.032f, 12, wood);
    m.AddEllipsoid({x, y, 0.36f}, {0.055f, 0.055f, 0.07f}, 14, wood);
    m.AddTube({x, y, 0.42f}, {x, y, top - 0.1f}, 0.034f, 0.046f, 12, wood);
    m.AddBox({x - 0.042f, y - 0.042f, top - 0.1f}, {x + 0.042f, y + 0.042f, top}, wood);
}

FurnitureMesh DiningTable()
{
    FurnitureMesh m;
    const uint16_t top = m.AddMaterial(Wood(0xE4BE86, 0xBE8F56, 0, 0.06f));
    const uint16_t across = m.AddMaterial(Wood(0xDDB47A, 0xB5874E, 1));
    const uint16_t upright = m.AddMaterial(Wood(0xDDB47A, 0xB5874E, 2));
    const uint16_t glaze = m.AddMaterial(Plain(0x2E5E96, 30));
    const uint16_t orange = m.AddMaterial(Plain(0xEE8A22, 14));
    const uint16_t red = m.AddMaterial(Plain(0xB82A26, 20));
    const uint16_t green = m.AddMaterial(Plain(0x8DB43A, 20));
    m.SetShadow({-0.3f, -0.3f, 1.3f, 1.3f, 0.2f, 0.28f});
    m.AddBox({-0.36f, -0.36f, 0.72f}, {1.36f, 1.36f, 0.77f}, top);
    m.AddBox({-0.27f, -0.27f, 0.62f}, {1.27f, -0.24f, 0.72f}, across);
    m.AddBox({-0.27f, 1.24f, 0.62f}, {1.27f, 1.27f, 0.72f}, across);
    m.AddBox({-0.27f, -0.24f, 0.62f}, {-0.24f, 1.24f, 0.72f}, across);
    m.AddBox({1.24f, -0.24f, 0.62f}, {1.27f, 1.24f, 0.72f}, across);
    for (float x : {-0.24f, 1.24f})
        for (float y : {-0.24f, 1.24f})
            TurnedLeg(m, x, y, 0.72f, upright);
    // A bowl of fruit in the middle.
    m.AddTube({0.5f, 0.5f, 0.77f}, {0.5f, 0.5f, 0.79f}, 0.07f, 0.09f, 20, glaze);
    m.AddTube({0.5f, 0.5f, 0.79f}, {0.5f, 0.5f, 0.86f}, 0.1f, 0.17f, 24, glaze, FurnitureMesh::Caps::None);
    m.AddEllipsoid({0.45f, 0.46f, 0.85f}, {0.055f, 0.055f, 0.05f}, 14, orange);
    m.AddEllipsoid({0.57f, 0.5f, 0.86f}, {0.05f, 0.05f, 0.048f}, 14, red);
    m.AddEllipsoid({0.49f, 0.59f, 0.86f}, {0.05f, 0.05f, 0.048f}, 14, green);
    m.AddEllipsoid({0.53f, 0.42f, 0.87f}, {0.05f, 0.05f, 0.046f}, 14, orange);
    return m;
}

FurnitureMesh Loveseat()
{
    FurnitureMesh m;
    const uint16_t stripes = m.AddMaterial(Patterned(Pattern::Stripes, 0xEDE2C6, 0xB84E5A, 0.055f, 0));
    const uint16_t plain = m.AddMaterial(Patterned(Pattern::Speckle, 0xB84E5A, 0xA4424E, 0.05f));
    const uint16_t feet = m.AddMaterial(Plain(0x4E321E, 16));
    m.SetShadow({-0.45f, -0.37f, 1.45f, 0.41f, 0.12f, 0.35f});
    for (float x : {-0.38f, 1.38f})
        for (float y : {-0.3f, 0.34f})
            m.AddTube({x, y, 0}, {x, y, 0.1f}, 0.022f, 0.032f, 10, feet);
    m.AddBox({-0.44f, -0.36f, 0.1f}, {1.44f, 0.4f, 0.36f}, stripes);
    m.AddBox({-0.27f, -0.38f, 0.36f}, {0.495f, 0.2f, 0.5f}, stripes);
    m.AddBox({0.505f, -0.38f, 0.36f}, {1.27f, 0.2f, 0.5f}, stripes);
    m.AddBox({-0.28f, 0.22f, 0.36f}, {1.28f, 0.4f, 0.84f}, stripes);
    m.AddTube({-0.28f, 0.31f, 0.84f}, {1.28f, 0.31f, 0.84f}, 0.09f, 0.09f, 18, plain);
    m.AddBox({-0.26f, 0.12f, 0.5f}, {0.49f, 0.22f, 0.8f}, stripes);
    m.AddBox({0.51f, 0.12f, 0.5f}, {1.26f, 0.22f, 0.8f}, stripes);
    for (float x : {-0.365f, 1.365f}) {
        m.AddBox({x - 0.085f, -0.36f, 0.1f}, {x + 0.085f, 0.4f, 0.6f}, stripes);
        m.AddTube({x, -0.37f, 0.6f}, {x, 0.4f, 0.6f}, 0.09f, 0.09f, 16, plain);
    }
    return m;
}

FurnitureMesh CuckooClock()
{
    FurnitureMesh m;
    const uint16_t walnut = m.AddMaterial(Wood(0x7A4A28, 0x4A2A16, 2, 0.03f));
    const uint16_t roof = m.AddMaterial(Patterned(Pattern::Stripes, 0x4A2C16, 0x643C1E, 0.022f, 2));
    const uint16_t dial = m.AddMaterial(Plain(0xF4EBD0, 10));
    const uint16_t black = m.AddMaterial(Plain(0x1A1410));
    const uint16_t brass = m.AddMaterial(Plain(0xC89A3A, 28));
    const uint16_t bird = m.AddMaterial(Plain(0xE8C040, 10));
    const uint16_t leaves = m.AddMaterial(Patterned(Pattern::Speckle, 0x5A7A2E, 0x3A5220, 0.02f));
    m.AddBox({-0.14f, 0.36f, 1.3f}, {0.14f, 0.48f, 1.62f}, walnut);
    const float gable[] = {-0.2f, 1.6f, 0.2f, 1.6f, 0.0f, 1.8f};
    m.AddPrism(gable, 0.33f, 0.49f, roof);
    m.AddEllipsoid({0, 0.33f, 1.63f}, {0.06f, 0.015f, 0.03f}, 12, leaves);
    m.AddTube({0, 0.36f, 1.44f}, {0, 0.348f, 1.44f}, 0.09f, 0.09f, 28, walnut);
    m.AddTube({0, 0.348f, 1.44f}, {0, 0.344f, 1.44f}, 0.075f, 0.075f, 28, dial);
    for (int hour = 0; hour < 12; ++hour) {
        const float a = static_cast<float>(hour) * kPi / 6;
        const float x = 0.062f * std::sin(a), z = 1.44f + 0.062f * std::cos(a);
        m.AddBox({x - 0.005f, 0.338f, z - 0.005f}, {x + 0.005f, 0.344f, z + 0.005f}, black);
    }
    m.AddBox({-0.004f, 0.334f, 1.44f}, {0.004f, 0.338f, 1.5f}, black);
    m.AddBox({0, 0.334f, 1.436f}, {0.042f, 0.338f, 1.444f}, black);
    m.AddBox({-0.035f, 0.354f, 1.535f}, {0.035f, 0.36f, 1.59f}, black);
    m.AddEllipsoid({0, 0.34f, 1.562f}, {0.02f, 0.03f, 0.018f}, 10, bird);
    m.AddTube({0, 0.42f, 1.3f}, {0, 0.42f, 1.0f}, 0.006f, 0.006f, 6, brass);
    m.AddTube({0, 0.43f, 0.98f}, {0, 0.41f, 0.98f}, 0.045f, 0.045f, 20, brass);
    for (float x : {-0.08f, 0.08f}) {
        m.AddTube({x, 0.41f, 1.3f}, {x, 0.41f, 1.1f}, 0.003f, 0.003f, 4, brass);
        m.AddEllipsoid({x, 0.41f, 1.04f}, {0.024f, 0.024f, 0.065f}, 12, brass);
    }
    return m;
}

FurnitureMesh Fire()
{
    FurnitureMesh m;
    const uint16_t stone = m.AddMaterial(Patterned(Pattern::Speckle, 0x8E8A84, 0x5E5A56, 0.04f));
    const uint16_t bark = m.AddMaterial(Patterned(Pattern::Speckle, 0x5A3A22, 0x2A1A0E, 0.02f));
    Material ember = Patterned(Pattern::Speckle, 0xFF4A10, 0xFFB030, 0.03f);
    ember.glow = 0.9f;
    const uint16_t embers = m.AddMaterial(ember);
    const uint16_t outer = m.AddMaterial(SeenThrough(0xFF7418, 0.75f, 0, 1.1f));
    const uint16_t inner = m.AddMaterial(SeenThrough(0xFFD040, 0.85f, 0, 1.2f));
    m.SetShadow({-0.3f, -0.3f, 0.3f, 0.3f, 0.1f, 0.3f});
    for (int i = 0; i < 11; ++i) {
        const float a = static_cast<float>(i) * 2 * kPi / 11;
        m.AddEllipsoid({0.3f * std::cos(a), 0.3f * std::sin(a), 0.04f}, {0.07f, 0.07f, 0.05f}, 10, stone);
    }
    m.AddEllipsoid({0, 0, 0.03f}, {0.2f, 0.2f, 0.04f}, 16, embers);
    m.AddTube({-0.24f, -0.06f, 0.06f}, {0.24f, 0.06f, 0.06f}, 0.045f, 0.045f, 12, bark);
    m.AddTube({-0.06f, -0.24f, 0.11f}, {0.06f, 0.24f, 0.11f}, 0.045f, 0.045f, 12, bark);
    Random random(11);
    for (int i = 0; i < 7; ++i) {
        const float a = random.Range(0, 2 * kPi), r = random.Range(0, 0.1f);
        const Vec3 base{r * std::cos(a), r * std::sin(a), 0.1f};
        const float height = random.Range(0.3f, 0.55f);
        m.AddTube(base, base + Vec3{random.Range(-0.04f, 0.04f), random.Range(-0.04f, 0.04f), height},
                  random.Range(0.06f, 0.09f), 0, 12, outer);
    }
    for (int i = 0; i < 4; ++i) {
        const float a = random.Range(0, 2 * kPi), r = random.Range(0, 0.06f);
        const Vec3 base{r * std::cos(a), r * std::sin(a), 0.1f};
        m.AddTube(base, base + Vec3{0, 0, random.Range(0.18f, 0.3f)}, random.Range(0.04f, 0.06f), 0, 10, inner);
    }
    return m;
}

// One frond: a strip that rises from the pot and bows out, its edge
// notched into leaflets.
void Frond(FurnitureMesh& m, float angle, float length, float lift, uint16_t leaf)
{
    constexpr int kSteps = 18;
    const Vec3 out{std::cos(angle), std::sin(angle), 0};
    const Vec3 side{-std::sin(angle), std::cos(angle), 0};
    Vec3 point{0.03f * out.x, 0.03f * out.y, 0.33f};
    float pitch = lift;
    Vec3 previousLeft, previousRight, previousMiddle;
    for (int k = 0; k <= kSteps; ++k) {
        const float t = static_cast<float>(k) / kSteps;
        const float width = 0.075f * std::sin(kPi * std::min(1.0f, t * 1.15f + 0.05f)) * (k % 2 ? 0.45f : 1.0f);
        const Vec3 middle = point + Vec3{0, 0, 0.012f};
        const Vec3 left = point + side * width;
        const Vec3 right = point - side * width;
        if (k > 0) {
            m.AddQuad(previousLeft, left, middle, previousMiddle, leaf);
            m.AddQuad(previousMiddle, middle, right, previousRight, leaf);
        }
        previousLeft = left;
        previousRight = right;
        previousMiddle = middle;
        const float step = length / kSteps;
        point = point + out * (step * std::cos(pitch)) + Vec3{0, 0, step * std::sin(pitch)};
        pitch -= 1.9f / kSteps; // bows over
    }
}

FurnitureMesh PottedFern()
{
    FurnitureMesh m;
    const uint16_t clay = m.AddMaterial(Patterned(Pattern::Speckle, 0xB9582E, 0x97441E, 0.05f));
    const uint16_t soil = m.AddMaterial(Patterned(Pattern::Speckle, 0x4A3422, 0x2A1C12, 0.015f));
    const uint16_t dark = m.AddMaterial(Patterned(Pattern::Speckle, 0x3E7A2C, 0x2A5A20, 0.03f));
    const uint16_t light = m.AddMaterial(Patterned(Pattern::Speckle, 0x6AA83E, 0x4A8A2E, 0.03f));
    m.SetShadow({-0.17f, -0.17f, 0.17f, 0.17f, 0.22f, 0.3f});
    m.AddTube({0, 0, 0}, {0, 0, 0.27f}, 0.12f, 0.165f, 28, clay);
    m.AddTube({0, 0, 0.26f}, {0, 0, 0.32f}, 0.182f, 0.186f, 28, clay);
    m.AddTube({0, 0, 0.32f}, {0, 0, 0.325f}, 0.16f, 0.16f, 28, soil);
    Random random(5);
    for (int i = 0; i < 17; ++i) {
        const float angle = static_cast<float>(i) * 2 * kPi / 17 + random.Range(-0.15f, 0.15f);
        Frond(m, angle, random.Range(0.45f, 0.65f), random.Range(1.0f, 1.35f), i % 3 == 0 ? light : dark);
    }
    for (int i = 0; i < 5; ++i) // young fronds stand up in the middle
        Frond(m, static_cast<float>(i) * 2 * kPi / 5 + 0.3f, 0.35f, 1.45f, light);
    return m;
}

FurnitureMesh KitchenCounter()
{
    FurnitureMesh m;
    const uint16_t paint = m.AddMaterial(Patterned(Pattern::Speckle, 0xF0EADC, 0xE4DCCA, 0.08f));
    const uint16_t door = m.AddMaterial(Patterned(Pattern::Speckle, 0x9CC0DC, 0x8AB0CE, 0.08f));
    const uint16_t plinth = m.AddMaterial(Plain(0x3A3630));
    Material tileMaterial = Patterned(Pattern::Checker, 0x2C5CA8, 0xF4F4F0, 0.1f);
    tileMaterial.shininess = 30;
    const uint16_t tiles = m.AddMaterial(tileMaterial);
    const uint16_t brass = m.AddMaterial(Plain(0xC89A3A, 28));
    const uint16_t board = m.AddMaterial(Wood(0xD8AE70, 0xB08048, 0));
    const uint16_t jar = m.AddMaterial(Plain(0xC8402E, 30));
    const uint16_t spoon = m.AddMaterial(Wood(0xC89A5A, 0x9A6E36, 2));
    m.SetShadow({-0.49f, -0.13f, 0.49f, 0.49f, 0.1f, 0.35f});
    m.AddBox({-0.46f, -0.08f, 0}, {0.46f, 0.46f, 0.08f}, plinth);
    m.AddBox({-0.48f, -0.12f, 0.08f}, {0.48f, 0.48f, 0.86f}, paint);
    for (float x0 : {-0.45f, 0.015f}) {
        const float x1 = x0 + 0.435f;
        m.AddBox({x0, -0.135f, 0.13f}, {x1, -0.12f, 0.81f}, door);
        m.AddBox({x0 + 0.05f, -0.145f, 0.19f}, {x1 - 0.05f, -0.135f, 0.75f}, door);
    }
    for (float x : {-0.06f, 0.06f})
        m.AddEllipsoid({x, -0.152f, 0.68f}, {0.016f, 0.016f, 0.016f}, 10, brass);
    m.AddBox({-0.5f, -0.16f, 0.86f}, {0.5f, 0.5f, 0.92f}, tiles);
    m.AddBox({-0.5f, 0.46f, 0.92f}, {0.5f, 0.5f, 1.22f}, tiles);
    m.AddBox({-0.4f, -0.06f, 0.92f}, {-0.1f, 0.2f, 0.94f}, board);
    m.AddTube({0.26f, 0.26f, 0.92f}, {0.26f, 0.26f, 1.07f}, 0.05f, 0.05f, 18, jar);
    m.AddTube({0.26f, 0.26f, 1.0f}, {0.22f, 0.2f, 1.22f}, 0.008f, 0.008f, 6, spoon);
    m.AddTube({0.26f, 0.26f, 1.0f}, {0.31f, 0.24f, 1.2f}, 0.008f, 0.008f, 6, spoon);
    m.AddEllipsoid({0.22f, 0.2f, 1.23f}, {0.02f, 0.02f, 0.03f}, 8, spoon);
    return m;
}

FurnitureMesh EndTable()
{
    FurnitureMesh m;
    const uint16_t top = m.AddMaterial(Wood(0x74482A, 0x4A2A16, 0, 0.035f));
    const uint16_t upright = m.AddMaterial(Wood(0x74482A, 0x4A2A16, 2, 0.035f));
    const uint16_t cover = m.AddMaterial(Patterned(Pattern::Stripes, 0xC8322E, 0xF2EEE4, 0.03f, 1));
    const uint16_t magazine = m.AddMaterial(Plain(0x3A6EA8, 10));
    const uint16_t mug = m.AddMaterial(Plain(0xF2F0EA, 30));
    m.SetShadow({-0.25f, -0.25f, 0.25f, 0.25f, 0.12f, 0.3f});
    m.AddBox({-0.26f, -0.26f, 0.55f}, {0.26f, 0.26f, 0.59f}, top);
    m.AddBox({-0.22f, -0.22f, 0.47f}, {0.22f, 0.22f, 0.55f}, top);
    FourLegs(0.2f, -0.2f, 0.2f, [&](float x, float y) {
        m.AddBox({x - 0.026f, y - 0.026f, 0}, {x + 0.026f, y + 0.026f, 0.55f}, upright);
    });
    m.AddBox({-0.2f, -0.2f, 0.14f}, {0.2f, 0.2f, 0.17f}, top);
    m.AddBox({-0.15f, -0.13f, 0.17f}, {0.1f, 0.07f, 0.185f}, cover);
    m.AddBox({-0.12f, -0.1f, 0.185f}, {0.12f, 0.09f, 0.2f}, magazine);
    m.AddTube({0.1f, -0.08f, 0.59f}, {0.1f, -0.08f, 0.685f}, 0.036f, 0.036f, 18, mug);
    m.AddEllipsoid({0.143f, -0.08f, 0.64f}, {0.018f, 0.007f, 0.026f}, 10, mug);
    return m;
}

FurnitureMesh Armchair()
{
    FurnitureMesh m;
    Material velvet = Patterned(Pattern::Speckle, 0x3E7C48, 0x32683A, 0.025f);
    velvet.shininess = 6;
    const uint16_t fabric = m.AddMaterial(velvet);
    const uint16_t seat = m.AddMaterial(Patterned(Pattern::Speckle, 0x4A8C54, 0x3C7846, 0.025f));
    const uint16_t feet = m.AddMaterial(Plain(0x4A2E1A, 16));
    m.SetShadow({-0.38f, -0.37f, 0.38f, 0.38f, 0.12f, 0.35f});
    FourLegs(0.3f, -0.3f, 0.3f, [&](float x, float y) {
        m.AddTube({x, y, 0}, {x, y, 0.12f}, 0.02f, 0.03f, 10, feet);
    });
    m.AddBox({-0.36f, -0.34f, 0.12f}, {0.36f, 0.36f, 0.36f}, fabric);
    m.AddBox({-0.24f, -0.37f, 0.36f}, {0.24f, 0.24f, 0.49f}, seat);
    m.AddBox({-0.34f, 0.22f, 0.36f}, {0.34f, 0.38f, 1.12f}, fabric);
    m.AddTube({-0.34f, 0.3f, 1.12f}, {0.34f, 0.3f, 1.12f}, 0.08f, 0.08f, 16, fabric);
    for (float x : {-0.31f, 0.31f}) {
        m.AddBox({x - 0.05f, 0.0f, 0.6f}, {x + 0.05f, 0.36f, 1.08f}, fabric);
        m.AddTube({x, 0.0f, 0.6f}, {x, 0.0f, 1.08f}, 0.05f, 0.05f, 12, fabric);
        m.AddBox({x - 0.07f, -0.36f, 0.12f}, {x + 0.07f, 0.24f, 0.58f}, fabric);
        m.AddTube({x, -0.37f, 0.58f}, {x, 0.24f, 0.58f}, 0.075f, 0.075f, 14, fabric);
    }
    return m;
}

FurnitureMesh Rug()
{
    FurnitureMesh m;
    Material weave = Patterned(Pattern::Rug, 0xA8322C, 0xD9A441, 0.1f);
    weave.rect[0] = -0.46f;
    weave.rect[1] = -0.46f;
    weave.rect[2] = 0.46f;
    weave.rect[3] = 0.46f;
    const uint16_t rug = m.AddMaterial(weave);
    const uint16_t fringe = m.AddMaterial(Plain(0xEDE2C6));
    m.AddBox({-0.46f, -0.46f, 0}, {0.46f, 0.46f, 0.012f}, rug);
    for (int i = 0; i < 23; ++i) {
        const float x = -0.44f + 0.04f * static_cast<float>(i);
        m.AddBox({x - 0.006f, -0.5f, 0}, {x + 0.006f, -0.46f, 0.005f}, fringe);
        m.AddBox({x - 0.006f, 0.46f, 0}, {x + 0.006f, 0.5f, 0.005f}, fringe);
    }
    return m;
}

FurnitureMesh Television()
{
    FurnitureMesh m;
    const uint16_t cabinet = m.AddMaterial(Wood(0x8A5A30, 0x5E3A1C, 0, 0.04f));
    const uint16_t legs = m.AddMaterial(Plain(0x2E2218, 12));
    const uint16_t bezel = m.AddMaterial(Plain(0x2A2826, 10));
    Material glass = Patterned(Pattern::Speckle, 0x5E7674, 0x34423F, 0.25f);
    glass.shininess = 40;
    glass.glow = 0.1f;
    const uint16_t screen = m.AddMaterial(glass);
    const uint16_t grille = m.AddMaterial(Patterned(Pattern::Stripes, 0xCDBC98, 0x4E3E2E, 0.012f, 2));
    const uint16_t chrome = m.AddMaterial(Plain(0xD4D4D0, 40));
    m.SetShadow({-0.34f, -0.22f, 0.34f, 0.28f, 0.12f, 0.35f});
    for (float sx : {-1.0f, 1.0f}) {
        m.AddTube({sx * 0.27f, -0.14f, 0.2f}, {sx * 0.32f, -0.2f, 0}, 0.018f, 0.012f, 8, legs);
        m.AddTube({sx * 0.27f, 0.2f, 0.2f}, {sx * 0.32f, 0.26f, 0}, 0.018f, 0.012f, 8, legs);
    }
    m.AddBox({-0.33f, -0.2f, 0.2f}, {0.33f, 0.26f, 0.72f}, cabinet);
    m.AddBox({-0.29f, -0.206f, 0.26f}, {0.12f, -0.2f, 0.66f}, bezel);
    m.AddBox({-0.27f, -0.214f, 0.28f}, {0.1f, -0.206f, 0.64f}, screen);
    m.AddBox({0.15f, -0.207f, 0.28f}, {0.3f, -0.2f, 0.5f}, grille);
    for (float z : {0.6f, 0.54f})
        m.AddTube({0.22f, -0.2f, z}, {0.22f, -0.232f, z}, 0.022f, 0.019f, 14, chrome);
    m.AddEllipsoid({0, 0.05f, 0.72f}, {0.06f, 0.06f, 0.035f}, 14, legs);
    const Vec3 ears[] = {{-0.22f, 0.1f, 1.12f}, {0.2f, 0.16f, 1.1f}};
    for (const Vec3& tip : ears) {
        m.AddTube({0, 0.05f, 0.74f}, tip, 0.006f, 0.004f, 6, chrome);
        m.AddEllipsoid(tip, {0.01f, 0.01f, 0.01f}, 8, chrome);
    }
    return m;
}

FurnitureMesh Aquarium()
{
    FurnitureMesh m;
    const uint16_t stand = m.AddMaterial(Wood(0x4E3020, 0x2E1C10, 0, 0.04f));
    const uint16_t doors = m.AddMaterial(Wood(0x62402A, 0x3E2616, 2, 0.04f));
    const uint16_t gravel = m.AddMaterial(Patterned(Pattern::Speckle, 0xD0B078, 0x7E6E58, 0.012f));
    const uint16_t castle = m.AddMaterial(Patterned(Pattern::Speckle, 0xA4A09A, 0x6E6A66, 0.02f));
    const uint16_t black = m.AddMaterial(Plain(0x1E2622, 10));
    const uint16_t weed = m.AddMaterial(Patterned(Pattern::Speckle, 0x4E9A3A, 0x2E6A26, 0.03f));
    const uint16_t fish = m.AddMaterial(Plain(0xF27A1A, 24));
    const uint16_t water = m.AddMaterial(SeenThrough(0x4FA2C8, 0.3f, 0));
    const uint16_t glass = m.AddMaterial(SeenThrough(0xD6EEF4, 0.16f, 60));
    m.SetShadow({-0.45f, -0.21f, 0.45f, 0.23f, 0.12f, 0.35f});
    m.AddBox({-0.44f, -0.2f, 0}, {0.44f, 0.22f, 0.56f}, stand);
    m.AddBox({-0.4f, -0.206f, 0.06f}, {-0.01f, -0.2f, 0.5f}, doors);
    m.AddBox({0.01f, -0.206f, 0.06f}, {0.4f, -0.2f, 0.5f}, doors);
    m.AddBox({-0.41f, -0.17f, 0.56f}, {0.41f, 0.19f, 0.61f}, gravel);
    // The castle: a keep with two towers and battlements.
    m.AddBox({0.12f, 0.02f, 0.61f}, {0.26f, 0.12f, 0.75f}, castle);
    for (float x : {0.12f, 0.26f}) {
        m.AddTube({x, 0.02f, 0.61f}, {x, 0.02f, 0.81f}, 0.028f, 0.028f, 10, castle);
        m.AddTube({x, 0.02f, 0.81f}, {x, 0.02f, 0.86f}, 0.032f, 0, 10, castle);
    }
    for (float x : {0.15f, 0.19f, 0.23f})
        m.AddBox({x - 0.012f, 0.02f, 0.75f}, {x + 0.012f, 0.05f, 0.775f}, castle);
    m.AddBox({0.17f, 0.014f, 0.61f}, {0.21f, 0.02f, 0.68f}, black);
    const Vec3 weeds[] = {
        {-0.32f, 0.12f, 0}, {-0.27f, 0.1f, 0}, {-0.35f, 0.02f, 0}, {0.33f, 0.14f, 0}, {-0.05f, 0.15f, 0}};
    for (size_t i = 0; i < std::size(weeds); ++i) {
        const Vec3 base = weeds[i] + Vec3{0, 0, 0.6f};
        const float lean = i % 2 ? 0.03f : -0.03f;
        m.AddTube(base, base + Vec3{lean, 0.01f, 0.2f + 0.03f * static_cast<float>(i % 3)}, 0.014f, 0.004f, 6, weed);
    }
    // Three goldfish, tails behind them.
    const Vec3 fishAt[] = {{-0.14f, 0.0f, 0.8f}, {0.06f, -0.08f, 0.7f}, {-0.26f, 0.08f, 0.88f}};
    const float heading[] = {-1, -1, 1};
    for (size_t i = 0; i < std::size(fishAt); ++i) {
        const Vec3 c = fishAt[i];
        const float h = heading[i];
        m.AddEllipsoid(c, {0.045f, 0.018f, 0.028f}, 12, fish);
        m.AddTriangle(c + Vec3{-h * 0.035f, 0, 0}, c + Vec3{-h * 0.08f, 0, 0.03f}, c + Vec3{-h * 0.08f, 0, -0.03f},
                      fish);
    }
    m.AddBox({-0.41f, -0.17f, 0.61f}, {0.41f, 0.19f, 0.95f}, water);
    m.AddBox({-0.42f, -0.18f, 0.56f}, {0.42f, 0.2f, 1.0f}, glass);
    for (float x : {-0.42f, 0.41f})
        for (float y : {-0.18f, 0.19f})
            m.AddBox({x, y, 0.56f}, {x + 0.01f, y + 0.01f, 1.0f}, black);
    m.AddBox({-0.43f, -0.19f, 1.0f}, {0.43f, 0.21f, 1.06f}, black);
    return m;
}

} // namespace

FurnitureMesh BuildFurniture(FurnitureKind kind)
{
    switch (kind) {
    case FurnitureKind::DiningChair:
        return DiningChair();
    case FurnitureKind::ReadingLamp:
        return ReadingLamp();
    case FurnitureKind::Bookcase:
        return Bookcase();
    case FurnitureKind::DiningTable:
        return DiningTable();
    case FurnitureKind::Loveseat:
        return Loveseat();
    case FurnitureKind::CuckooClock:
        return CuckooClock();
    case FurnitureKind::Fire:
        return Fire();
    case FurnitureKind::PottedFern:
        return PottedFern();
    case FurnitureKind::KitchenCounter:
        return KitchenCounter();
    case FurnitureKind::EndTable:
        return EndTable();
    case FurnitureKind::Armchair:
        return Armchair();
    case FurnitureKind::Rug:
        return Rug();
    case FurnitureKind::Television:
        return Television();
    case FurnitureKind::Aquarium:
        return Aquarium();
    }
    return {};
}

} // namespace zelvane
