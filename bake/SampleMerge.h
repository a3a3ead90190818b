#pragma once
// Puts the per-tile renders of one part of a view back together.
//
// Each tile is rendered alone, clipped to its part of the scene; a view ray
// meets the tiles' parts one after the other, so laying the tiles' samples
// front to back ("over") gives exactly the render of the whole object. Each
// pixel then goes whole to one tile — the one that contributes most to it —
// with the colour and coverage of everything in it. A pixel is never split
// between two sprites, so where the preview lays the tiles side by side it
// shows the render without a seam, a gap or an overlap, at every zoom.
//
// The depth of a pixel is that of the nearest surface in it: the mean view
// distance of the samples within kDepthWindow of the nearest one, so that a
// plane gets the depth of the pixel's centre and an edge that of the nearer
// side.

#include "bake/BakedImage.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zelvane {

class SampleMerge {
public:
    // A part of `width` × `height` pixels of the largest zoom (multiples of
    // 4, so that the smaller zooms' pixels do not straddle parts), sampled
    // `samples` × `samples` times a pixel, for `tiles` tiles (at most 256).
    SampleMerge(int width, int height, int samples, size_t tiles);

    int SampleWidth() const { return width_ * samples_; }
    int SampleHeight() const { return height_ * samples_; }

    // One tile's samples; tiles nearest to the camera first. `rgba`: four
    // bytes a sample, the colour premultiplied by the coverage in the fourth;
    // `distance`: the view distance of the nearest surface, read only where
    // the coverage is not 0. Both in rows from the top, SampleWidth() ×
    // SampleHeight().
    void AddTile(size_t tile, std::span<const uint8_t> rgba, std::span<const float> distance);

    // The part's pixels at `zoomShift`, written to `out` from its pixel
    // (x, y) on. `tileCentreDistance` holds the view distance of each tile's
    // centre, from which the depth levels are counted.
    void Resolve(int zoomShift, std::span<const double> tileCentreDistance, BakedImage& out, int x, int y) const;

    // Surfaces this close (scene units along the view) to the nearest one in
    // a pixel count towards its depth.
    static constexpr float kDepthWindow = 0.05f;

private:
    struct PixelSums {
        float red = 0, green = 0, blue = 0, alpha = 0;
    };

    int width_;
    int height_;
    int samples_;
    size_t tiles_;
    std::vector<float> coverage_;  // per sample: what the tiles in front already cover
    std::vector<float> distance_;  // per sample: view distance of the first surface
    std::vector<PixelSums> sums_;  // per pixel of the largest zoom
    std::vector<float> weights_;   // per pixel and tile: the tile's share
};

} // namespace zelvane
