#pragma once
// The depth plane of the game's sprites: 255 where nothing is drawn, else a
// level that grows with the distance from the camera along its view,
// counted from the centre of the sprite's own tile on the floor, so that one
// scene point has one level at every zoom.
//
// Calibration, on the real 2 × 3 rug (k8lidrug.iff, flat on the floor, all
// six tiles in all twelve images): a least-squares line through the depth
// of every opaque pixel against its height on the screen, measured from its
// tile's centre in pixels of the largest zoom, gives 202.3 at the centre
// (201.3 to 203.1 over the 72 images) and 1.525 levels per pixel down the
// screen (1.504 to 1.545; no pixel more than 3.3 levels off its image's
// line). On the floor a step of one pixel down the screen comes 1 / (90.51 ×
// tan 30°) scene units nearer along the view, so the scale is 1.525 × 90.51
// × tan 30° = 79.7 levels per scene unit.
//
// Height follows from the same scale, because the camera is orthographic: a
// point one unit higher is sin 30° = 0.5 units nearer, 39.8 levels, and
// 90.51 × cos 30° = 78.4 pixels higher on the screen, so a vertical face
// loses 0.508 levels per pixel upwards, a third of the floor's gain
// (tan² 30°).

#include <cstdint>

namespace zelvane {

class GameDepth {
public:
    static constexpr double kAtTileCentre = 202.3;
    static constexpr double kPerUnit = 79.69;
    // What a drawn pixel may hold: 255 means "nothing drawn".
    static constexpr uint8_t kNearest = 0;
    static constexpr uint8_t kFarthest = 254;

    // The level of a point `distance` scene units farther along the view
    // than its tile's centre, rounded and kept to kNearest..kFarthest.
    static uint8_t Level(double distance);
};

} // namespace zelvane
