#include "document/PreviewDisplaySize.h"

namespace zelvane {

DisplaySize PreviewDisplaySize(int width, int height)
{
    if (width < 1 || height < 1)
        return {};
    const double w = width;
    const double h = height;
    DisplaySize size{width, height};
    if (height > kPreviewMaxHeight)
        size = {static_cast<int>(kPreviewMaxHeight / h * w), kPreviewMaxHeight};
    // The width rule replaces the height rule's result, unless that would
    // leave the picture higher than 300 pixels again.
    if (width > kPreviewMaxWidth) {
        const DisplaySize narrowed{kPreviewMaxWidth, static_cast<int>(kPreviewMaxWidth / w * h)};
        if (narrowed.height <= kPreviewMaxHeight)
            size = narrowed;
    }
    // Truncation must not make a thin picture vanish.
    if (size.width < 1)
        size.width = 1;
    if (size.height < 1)
        size.height = 1;
    return size;
}

} // namespace zelvane
