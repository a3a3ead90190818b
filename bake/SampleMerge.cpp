#include "bake/SampleMerge.h"

#include "bake/GameDepth.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace zelvane {

namespace {

constexpr float kNoDistance = std::numeric_limits<float>::quiet_NaN();

uint8_t ToByte(float value)
{
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

SampleMerge::SampleMerge(int width, int height, int samples, size_t tiles)
    : width_(width), height_(height), samples_(samples), tiles_(tiles),
      coverage_(static_cast<size_t>(width) * height * samples * samples, 0.0f),
      distance_(coverage_.size(), kNoDistance), sums_(static_cast<size_t>(width) * height),
      weights_(sums_.size() * tiles, 0.0f)
{
    assert(width % 4 == 0 && height % 4 == 0 && samples >= 1 && tiles >= 1 && tiles <= 256);
}

void SampleMerge::AddTile(size_t tile, std::span<const uint8_t> rgba, std::span<const float> distance)
{
    const int sw = SampleWidth();
    const int sh = SampleHeight();
    assert(rgba.size() >= coverage_.size() * 4 && distance.size() >= coverage_.size() && tile < tiles_);
    constexpr float kByte = 1.0f / 255.0f;
    for (int sy = 0; sy < sh; ++sy) {
        const size_t rowStart = static_cast<size_t>(sy) * sw;
        const size_t pixelRow = static_cast<size_t>(sy / samples_) * width_;
        for (int sx = 0; sx < sw; ++sx) {
            const size_t s = rowStart + sx;
            const uint8_t a = rgba[4 * s + 3];
            if (a == 0)
                continue;
            const float behind = 1.0f - coverage_[s];
            if (behind <= 0.0f)
                continue;
            const size_t p = pixelRow + static_cast<size_t>(sx / samples_);
            PixelSums& sum = sums_[p];
            const float share = behind * kByte;
            sum.red += share * rgba[4 * s];
            sum.green += share * rgba[4 * s + 1];
            sum.blue += share * rgba[4 * s + 2];
            const float covered = share * a;
            sum.alpha += covered;
            weights_[p * tiles_ + tile] += covered;
            coverage_[s] += covered;
            if (std::isnan(distance_[s]))
                distance_[s] = distance[s];
        }
    }
}

void SampleMerge::Resolve(int zoomShift, std::span<const double> tileCentreDistance, BakedImage& out, int x,
                          int y) const
{
    const int block = 1 << zoomShift;            // pixels of the largest zoom a side
    const int blockSamples = block * samples_;   // samples a side
    const float samplesInBlock = static_cast<float>(blockSamples) * static_cast<float>(blockSamples);
    const int sw = SampleWidth();
    std::vector<float> weights(tiles_);
    for (int by = 0; by < height_ / block; ++by)
        for (int bx = 0; bx < width_ / block; ++bx) {
            PixelSums sum;
            std::fill(weights.begin(), weights.end(), 0.0f);
            for (int py = by * block; py < (by + 1) * block; ++py)
                for (int px = bx * block; px < (bx + 1) * block; ++px) {
                    const size_t p = static_cast<size_t>(py) * width_ + px;
                    sum.red += sums_[p].red;
                    sum.green += sums_[p].green;
                    sum.blue += sums_[p].blue;
                    sum.alpha += sums_[p].alpha;
                    for (size_t t = 0; t < tiles_; ++t)
                        weights[t] += weights_[p * tiles_ + t];
                }
            BakedPixel& pixel = out.At(x + bx, y + by);
            if (sum.alpha <= 0.0f) {
                pixel = BakedPixel{};
                continue;
            }
            const auto owner = static_cast<size_t>(std::max_element(weights.begin(), weights.end()) - weights.begin());
            // The nearest surface's samples, then their mean.
            float nearest = std::numeric_limits<float>::infinity();
            const int sx0 = bx * blockSamples, sy0 = by * blockSamples;
            for (int sy = sy0; sy < sy0 + blockSamples; ++sy)
                for (int sx = sx0; sx < sx0 + blockSamples; ++sx) {
                    const float d = distance_[static_cast<size_t>(sy) * sw + sx];
                    if (d < nearest)
                        nearest = d;
                }
            double total = 0;
            int count = 0;
            for (int sy = sy0; sy < sy0 + blockSamples; ++sy)
                for (int sx = sx0; sx < sx0 + blockSamples; ++sx) {
                    const float d = distance_[static_cast<size_t>(sy) * sw + sx];
                    if (d <= nearest + kDepthWindow) {
                        total += d;
                        ++count;
                    }
                }
            const double surface = count > 0 ? total / count : kNoDistance;
            const float inverse = 1.0f / sum.alpha;
            pixel.red = ToByte(sum.red * inverse * 255.0f);
            pixel.green = ToByte(sum.green * inverse * 255.0f);
            pixel.blue = ToByte(sum.blue * inverse * 255.0f);
            pixel.alpha = std::max<uint8_t>(1, ToByte(sum.alpha / samplesInBlock * 255.0f));
            pixel.tile = static_cast<uint8_t>(owner);
            pixel.depth = GameDepth::Level(surface - tileCentreDistance[owner]);
        }
}

} // namespace zelvane
