#pragma once
// Colours the scene starts with.

namespace zelvane {

struct RgbColour {
    float red;
    float green;
    float blue;
};

// The clear colour of every viewport: (207, 200, 207) in 8-bit channels.
inline constexpr RgbColour kSceneBackground{207.0f / 255.0f, 200.0f / 255.0f, 207.0f / 255.0f};

} // namespace zelvane
