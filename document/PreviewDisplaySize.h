#pragma once
// The size at which the "Select Base Object" dialog shows an object's preview:
// no larger than 330 × 300 pixels, the picture's proportions kept, small
// pictures at their own size.

namespace zelvane {

inline constexpr int kPreviewMaxWidth = 330;
inline constexpr int kPreviewMaxHeight = 300;
// The preview area is the picture plus this margin on every side.
inline constexpr int kPreviewMargin = 4;

struct DisplaySize {
    int width = 0;
    int height = 0;
    friend bool operator==(const DisplaySize&, const DisplaySize&) = default;
};

// A picture higher than 300 pixels is shown 300 high, one wider than 330 is
// shown 330 wide, the other side scaled alike and truncated. A picture too
// high and too wide takes the smaller of the two scales, so it fits both
// limits. Sides below 1 give an empty size.
DisplaySize PreviewDisplaySize(int width, int height);

} // namespace zelvane
