#pragma once
// How a texture is filtered and wrapped, by the scene's texture filter mode.

#include <GL/gl.h>

namespace zelvane {

// 0: nearest, fastest perspective; 1: nearest, nicest perspective; 2 (what a
// new scene uses): linear magnification, nearest-mipmap linear minification,
// nicest perspective; any other value leaves filters and hint as they are.
inline constexpr int kDefaultTextureFilter = 2;

// Binds `name`, sets wrapping to repeat in s and t and the filters and
// perspective hint of `filter`. The context is current.
void ApplyTextureFilter(GLuint name, int filter);

} // namespace zelvane
