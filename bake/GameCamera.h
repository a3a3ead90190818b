#pragma once
// The game's camera: orthographic, looking down at the floor from the
// editor's "The Sims" preset angle (30°), so that one floor tile is a
// 128 × 64 pixel diamond at the largest zoom (64 × 32 and 32 × 16 at the
// others), and turned a quarter turn per view direction.
//
// Direction 2 — the image the object lists show — is exactly the editor's
// "The Sims" view. The game's tiles lie on the scene's floor (y = 0) one scene
// unit apart: tile (0, 0) is centred on the origin, tile x runs along −z and
// tile y along +x. With that, every tile of every direction and zoom lands
// where objects/TilePlacement.h places it.
//
// Screen positions are in pixels of the largest zoom, x to the right and y
// down, measured from the centre of tile (0, 0) on the floor; the centre of a
// tile falls on a pixel corner at every zoom.

#include "objects/TilePlacement.h"
#include "scene/math/Matrix4.h"
#include "scene/math/Vector3.h"

namespace zelvane {

inline constexpr int kGameDirections = kViewDirections;
inline constexpr int kGameZooms = 3;
inline constexpr int kGameImages = kGameDirections * kGameZooms;
// Zoom shifts: 0 is the largest zoom, each step halves the picture.
inline constexpr int kLargestZoomShift = 0;
inline constexpr int kSmallestZoomShift = kGameZooms - 1;

// One of the twelve images of a draw group.
struct GameImage {
    int direction = 2;
    int zoomShift = 0;

    // The draw group's image index: direction + 4 × (2 − zoom shift), as the
    // preview composer reads it.
    constexpr int Index() const { return direction + kGameDirections * (kSmallestZoomShift - zoomShift); }
    static constexpr GameImage FromIndex(int index)
    {
        return {index % kGameDirections, kSmallestZoomShift - index / kGameDirections};
    }
    // Pixels of the largest zoom per pixel of this image: 1, 2 or 4.
    constexpr int Reduction() const { return 1 << zoomShift; }
    // What a draw group image records: direction as 1, 4, 16, 64 and zoom as
    // 1 (smallest) to 3 (largest), as real files do.
    constexpr int DrawGroupDirection() const { return 1 << (2 * direction); }
    constexpr int DrawGroupZoom() const { return kGameZooms - zoomShift; }
    // The frame of a tile's sprite that holds this image: the largest zoom's
    // four directions first, as real files order them.
    constexpr int SpriteFrame() const { return zoomShift * kGameDirections + direction; }
};

struct ScreenPosition {
    double x = 0; // pixels of the largest zoom, to the right
    double y = 0; // pixels of the largest zoom, down
    double distance = 0; // scene units along the view, larger is farther
};

class GameCamera {
public:
    // The camera of the editor's "The Sims" preset.
    GameCamera();

    double Elevation() const { return elevation_; }
    // The preset's azimuth turned for `direction`: direction 2 is the preset.
    double Azimuth(int direction) const;

    // Pixels of the largest zoom per scene unit across the screen: a tile's
    // diagonal (√2 units) spans 128 pixels.
    static constexpr double kPixelsPerUnit = 90.50966799187808;

    // Where a scene point appears in `direction`.
    ScreenPosition Project(int direction, const Vector3& world) const;
    // The scene point at the centre of a tile, on the floor.
    static Vector3 TileCentre(int tileX, int tileY);

    // World to view: the elevation, then the direction's azimuth, with the
    // origin (tile (0, 0)) at the view's origin. The view looks along −z.
    Matrix4 ViewMatrix(int direction) const;
    // The turn about the scene's vertical axis that takes direction 2's view
    // to `direction`'s: ViewMatrix(d) = ViewMatrix(2) × Turn(d). Lights placed
    // under ViewMatrix(2) stay where they are on screen in every direction.
    static Matrix4 Turn(int direction);

private:
    double elevation_;
    double azimuth_; // of direction 2
};

} // namespace zelvane
