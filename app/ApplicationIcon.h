#pragma once
// zelvane's own icon (the turtle with the cube shell) for the window and the
// About box, from the PNGs of data/icons built into the program.

#include <QIcon>

namespace zelvane {

QIcon ApplicationIcon();

} // namespace zelvane
