#pragma once
// What a click selects: the scene's picking pass in OpenGL's selection mode
// around the clicked pixel, and the nearest of the hits.

#include <GL/gl.h>

#include <cstdint>
#include <optional>
#include <span>

namespace zelvane {

class COGLLight;
class COGLObject;
class COGLScene;
class COGLViewport3D;

struct PickResult {
    // The picking name of the nearest hit, if anything was under the point.
    std::optional<std::uint32_t> name;
    // The pickable object of the scene with that name, or none.
    COGLObject* object = nullptr;
    // The light whose marker was hit, or none.
    COGLLight* light = nullptr;
};

// The first name of the hit record with the smallest minimum depth (read as
// an unsigned 32-bit fraction of 2^32; the first of equal ones wins), from
// `hits` records of a selection buffer (each: name count, minimum and maximum
// depth, the names). Nothing for no hits or records that do not fit.
std::optional<std::uint32_t> NearestHitName(std::span<const GLuint> buffer, int hits);

// Picks at the client point (x, y), counted from the top-left of the
// viewport's window (whose height is the viewport's top edge): the viewport's
// picking pass with a 5 × 5 pixel region, and what lies under the nearest
// hit. Selects nothing: that is the caller's choice. Brackets its work with the active
// context's BeginGL/EndGL; logs OpenGL errors under "After Select". A
// selection buffer that overflows is made larger and the pass repeated, so
// that many objects under one point never make a click select nothing.
PickResult PickAt(COGLViewport3D& viewport, COGLScene& scene, int x, int y);

} // namespace zelvane
