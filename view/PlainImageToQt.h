#pragma once
// Our plain image type as a QImage, for painting it in a widget.

#include "objects/PlainImage.h"

#include <QImage>

namespace zelvane {

// A copy of `image` in top-down rows: 24-bit images keep their bytes (in
// the image's channel order), every other depth goes through PixelColour.
// A null image gives a null QImage.
QImage ToQImage(const PlainImage& image);

} // namespace zelvane
