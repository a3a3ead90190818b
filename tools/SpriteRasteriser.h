#pragma once
// A small software rasteriser that draws a FurnitureMesh as the game's
// camera sees it: 2:1 dimetric, looking down at 30 degrees, a floor tile
// 128 × 64 pixels at full size and halved per smaller zoom, facing one of
// the four directions of the game's images. Each pixel is sampled n × n
// times, so edges get soft alpha; surfaces seen through are blended back to
// front over what is behind them.
//
// The tile placement matches the preview composer's: tile (x, y) sits
// leftX·x + leftY·y pixels right of tile (0, 0) and bottomX·x + bottomY·y
// pixels below it, so sprites cut per tile join up again when composed.

#include "tools/FurnitureMesh.h"

#include <vector>

namespace zelvane {

struct ViewSetup {
    int direction = 2; // image index mod 4
    int zoomShift = 0; // 2 - image index / 4: 0 full size, 2 smallest
    int samples = 3;   // per pixel side
};

struct RenderedPixel {
    Vec3 colour;     // not premultiplied
    float alpha = 0; // 0 where nothing was drawn
    float depth = 0; // world units along the view, larger is farther
    int tileX = 0;   // the floor tile the nearest surface stands over
    int tileY = 0;
};

struct RenderedView {
    // Pixel (0, 0) lies `left`, `top` pixels from the centre of tile (0, 0).
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<RenderedPixel> pixels; // rows top first

    const RenderedPixel& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class SpriteRasteriser {
public:
    // Surfaces are given to the tiles 0..tilesX-1 × 0..tilesY-1 they stand over.
    SpriteRasteriser(int tilesX, int tilesY) : tilesX_(tilesX), tilesY_(tilesY) {}

    RenderedView Render(const FurnitureMesh& mesh, const ViewSetup& view) const;
    // The view at 1 / factor of its size (factor 2 or 4: the next zoom
    // steps), each pixel the mean of the factor × factor pixels it covers.
    // Placement halves exactly from one zoom to the next, so this is the
    // smaller view drawn with factor² times the samples.
    RenderedView Reduced(const RenderedView& view, int factor) const;

    // Where the centre of tile (x, y) lies in pixels from tile (0, 0)'s, as
    // the composer places it (exact integers at every zoom).
    static int TileLeft(int direction, int zoomShift, int x, int y);
    static int TileTop(int direction, int zoomShift, int x, int y);
    // The colour (before lighting) and opacity of a material's surface at
    // world point `p` with normal `n`: its pattern evaluated there.
    static Vec3 SurfaceColour(const Material& material, Vec3 p, Vec3 n, float& alpha);
    // The lights of `direction`, fixed to the camera: unit vectors towards
    // the key and the fill light, and how strong each term is.
    struct Lights {
        Vec3 key, fill;
        float ambient, keyStrength, fillStrength, highlight;
    };
    static Lights LightsOf(int direction);
    // The view depth of a world point.
    static float Depth(int direction, Vec3 p);

private:
    int tilesX_;
    int tilesY_;
};

} // namespace zelvane
