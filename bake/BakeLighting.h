#pragma once
// The light a bake renders objects in: a key light from the upper left, a
// weaker fill from the right and a little ambient light, all fixed to the
// game's camera rather than to the room. Each direction sees the object
// turned under the same light, so a face turned toward the viewer is as
// bright in one direction as in any other, as the player expects when
// turning the view; the lights are directional, so a flat surface is lit
// evenly from one end of a tile to the other.
//
// The strengths follow real objects made for the game: their tops are about
// 1.4 times as bright as the brighter of the two sides the camera sees and
// about 2.15 times as bright as the darker one. A material whose ambient and
// diffuse colours are equal is lit in exactly those ratios; the default
// material (ambient 0.2, diffuse 0.8) in 1.48 and 2.34. A white matte face
// turned to the lights comes out at 232 of 255, so nothing clips.
//
// The editor's room keeps its own lights. A view that previews an object
// as it will be baked draws with the game camera (GameCamera::ViewMatrix)
// and calls ApplyBakeLighting in place of the scene's lights.

#include "scene/math/Vector3.h"

namespace zelvane {

struct BakeLightSource {
    Vector3 towards;     // unit vector pointing to the light, in the camera's eye space
    float diffuse = 0;   // grey
    float specular = 0;  // grey
};

struct BakeLighting {
    BakeLightSource key;
    BakeLightSource fill;
    float ambient = 0;   // the light model's ambient, grey
};

// Eye-space normals, under the game camera, of the top of a box standing on
// the floor and of the two sides of it the camera sees: they are at right
// angles to one another.
struct GameFaceNormals {
    Vector3 top;
    Vector3 left;
    Vector3 right;
};
GameFaceNormals FaceNormalsOfGameCamera();

// The lighting of every bake.
const BakeLighting& GameLighting();

// Switches OpenGL's lighting to `lighting`: the key and fill as directional
// lights 0 and 1 placed in eye space whatever the modelview matrix holds,
// the light model's ambient, an infinite viewer; every other light off.
// Lighting itself is switched on or off by the caller. The context is
// current; the caller saves and restores the state it wants back.
void ApplyBakeLighting(const BakeLighting& lighting = GameLighting());

} // namespace zelvane
