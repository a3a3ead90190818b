#pragma once
// Renders the scene into the working object's sprites: the model behind
// Object ▸ "Render Sprites from Scene..." and `zelvane-cli bake`.
//
// The chosen objects of the scene are rendered with the game's camera
// (GameCamera) for each of the object's tiles in the twelve images of its
// draw groups (SpriteRenderer), one palette is chosen for all of them and the
// frames cut (ObjectSprites), the ids planned (BakePlan) and the working
// object file written anew in one step (BakeWriter). Progress is reported
// after every tile's render and Cancel is asked there; after a cancel or a
// failure the working object file is exactly as it was.
//
// The OpenGL context that holds the scene's display lists and textures must
// be current. The working object file is replaced on disk, not in memory:
// the caller opens it again to see the new graphics.

#include "bake/SpriteRenderer.h"

#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

class CObjectEntry;
class CObjectFile;
class COGLObject;
class COGLScene;

// What a progress bar and its Cancel button give the bake.
class IBakeProgress {
public:
    virtual ~IBakeProgress() = default;
    // `done` of `total` steps; `what` names the step that starts now.
    virtual void Step(int done, int total, std::string_view what) = 0;
    // Asked after every step: true stops the bake.
    virtual bool Cancelled() = 0;
};

struct BakeOptions {
    RenderSettings render;
    bool dither = false;
};

struct BakeRequest {
    COGLScene* scene = nullptr;
    // The scene's objects to render; by default (BakeableObjects) all that
    // the user added and that show.
    std::vector<COGLObject*> objects;
    // The working object file, open, and where it lies on disk.
    CObjectFile* file = nullptr;
    std::string filePath;
    // Its object whose graphics change (a single object or a master).
    const CObjectEntry* object = nullptr;
    BakeOptions options;
    IBakeProgress* progress = nullptr; // optional
};

enum class BakeOutcome { Written, Cancelled, Failed };

// Where a bake's time went, in seconds.
struct BakeTimings {
    double plan = 0;        // reading the working file's ids
    RenderTimings render;   // the renders (probe, draw, read back, merge)
    double palette = 0;     // choosing the colours and cutting the frames
    double write = 0;       // encoding and writing the file
    double total = 0;
};

struct BakeResult {
    BakeOutcome outcome = BakeOutcome::Failed;
    std::string error; // for Failed: what went wrong, for the user
    std::vector<std::string> notes;
    // What was written (for Written).
    std::vector<int16_t> spriteIds;
    std::vector<int16_t> drawGroupIds;
    int16_t paletteId = 0;
    int coloursUsed = 0;
    double psnr = 0; // of the palette colours against the render
    BakeTimings timings;
};

// The objects a bake renders unless told otherwise: the scene's own objects
// (never the floor, the walls or the lights' markers) that are visible.
std::vector<COGLObject*> BakeableObjects(const COGLScene& scene);

// Runs the bake. A failure says why in `error` ("Could not render the
// sprites: ..."), for the caller to show.
BakeResult BakeSprites(const BakeRequest& request);

// The steps BakeSprites runs for `tiles` tiles (for a progress bar): a
// render per direction and tile, then the palette, the frames and the file.
int BakeStepCount(size_t tiles);

} // namespace zelvane
