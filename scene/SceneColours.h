#pragma once
// Colours as OpenGL takes them, and the ones the scene starts with.

#include <array>

namespace zelvane {

// Red, green, blue (and alpha), each 0 to 1.
using ColourRGB = std::array<float, 3>;
using ColourRGBA = std::array<float, 4>;

struct RgbColour {
    float red;
    float green;
    float blue;
};

// The clear colour of every viewport: (207, 200, 207) in 8-bit channels.
inline constexpr RgbColour kSceneBackground{207.0f / 255.0f, 200.0f / 255.0f, 207.0f / 255.0f};

// The current colour of the fixed planes and every unselected object
// (160, 167, 160), of the selected object (224, 111, 111), and of the light
// markers.
inline constexpr ColourRGB kObjectColour{160.0f / 255.0f, 167.0f / 255.0f, 160.0f / 255.0f};
inline constexpr ColourRGB kSelectedColour{224.0f / 255.0f, 111.0f / 255.0f, 111.0f / 255.0f};
inline constexpr ColourRGB kLightMarkerColour{1.0f, 1.0f, 0.5f};

} // namespace zelvane
