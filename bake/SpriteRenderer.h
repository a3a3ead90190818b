#pragma once
// Renders chosen objects of the scene as the game's camera sees them, tile
// by tile, into the twelve images of an object (BakedImage).
//
// Per direction: a quick pass draws every vertex as a point at an eighth of
// the size to find where the objects lie on the screen; then that rectangle
// is rendered `samples` × `samples` times finer than the largest zoom, once
// per tile with OpenGL clip planes at the edges of the tile's part of the
// scene (TileFootprint), and the tiles are laid together front to back
// (SampleMerge). The two smaller zooms are the same samples averaged over 2
// × 2 and 4 × 4 pixels, so their pictures hold 4 and 16 times as many
// samples a pixel.
//
// Objects are lit by the bake's own lights (BakeLighting), fixed to the
// camera, never by the scene's. Transparent objects are drawn after the
// others, farthest first, and their coverage is found by drawing over black
// and over white.
//
// The context holding the scene's lists and textures is current throughout;
// every OpenGL state, matrix and binding changed is restored.

#include "bake/BakedImage.h"
#include "bake/TileFootprint.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace zelvane {

class COGLObject;
class COGLScene;

// Where a render's time went, in seconds (accumulated over directions).
struct RenderTimings {
    double probe = 0;    // finding the objects on the screen
    double draw = 0;     // drawing the tiles (until OpenGL has finished)
    double readBack = 0; // reading colour and depth back
    double merge = 0;    // laying the tiles together and the zooms
};

struct RenderSettings {
    // Samples a side per pixel of the largest zoom.
    int samples = 4;
    // How far from the tiles' centres (pixels of the largest zoom) objects
    // are looked for; parts beyond are left out (the preview composer keeps
    // sprites within 2048 pixels).
    int reach = 1024;
};

// Draws `objects` of `scene` as a bake renders them in `direction`: the game
// camera's view applied after what the modelview holds (the identity, or a
// view's own pan and zoom in eye space), the bake's lights, opaque objects
// first, then the see-through ones farthest first. The projection is the
// caller's; for a view that previews what a bake will make.
void DrawAsBaked(const COGLScene& scene, const std::vector<COGLObject*>& objects, int direction);

// The view's "Preview as Baked": `objects` of `scene` in the game camera's
// four directions, side by side in the quarters of a viewport `width` ×
// `height` device pixels large (direction 0 top left, 1 top right, 2 bottom
// left, 3 bottom right), in the bake's lights, one scene unit as large as at
// the game's largest zoom times `scale`, each quarter centred a little above
// `centre` on the floor, with the floor tiles `footprint` (width along x,
// depth along z) drawn around it. Clears the viewport to the scene's
// background. The context is current; every state changed is restored.
void DrawBakedPreview(const COGLScene& scene, const std::vector<COGLObject*>& objects, int width, int height,
                      double scale, const Vector3& centre, int footprintWidth, int footprintDepth);

class SpriteRenderer {
public:
    // `objects` belong to `scene`; hidden ones draw nothing.
    SpriteRenderer(COGLScene& scene, std::vector<COGLObject*> objects, const TileFootprint& footprint,
                   RenderSettings settings);

    // The three zooms of `direction` (index = zoom shift). `keepGoing` is
    // asked after each tile's render; when it says no, false is returned
    // with Error() empty. On an OpenGL failure false with Error() set.
    bool RenderDirection(int direction, std::array<BakedImage, kGameZooms>& images,
                         const std::function<bool()>& keepGoing);

    const std::string& Error() const { return error_; }
    // Things worth telling the user that did not stop the render.
    const std::vector<std::string>& Notes() const { return notes_; }
    const RenderTimings& Timings() const { return timings_; }

    // The renders RenderDirection makes for one direction of this scene
    // (for progress bars): per part of the picture, one per tile.
    int RendersPerDirection() const { return static_cast<int>(footprint_.Count()); }

private:
    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0; // pixels of the largest zoom
        bool Empty() const { return right <= left || bottom <= top; }
    };

    Rect Probe(int direction);
    bool RenderPart(int direction, const Rect& part, std::array<BakedImage, kGameZooms>& images, const Rect& canvas,
                    const std::function<bool()>& keepGoing);
    void Project(const Rect& part) const;
    void DrawScene(int direction, const std::vector<ClipPlane>& clips) const;

    COGLScene& scene_;
    std::vector<COGLObject*> objects_;
    const TileFootprint& footprint_;
    RenderSettings settings_;
    bool anyTransparent_ = false;
    std::string error_;
    std::vector<std::string> notes_;
    RenderTimings timings_;
};

} // namespace zelvane
