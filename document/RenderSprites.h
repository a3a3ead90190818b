#pragma once
// Object ▸ "Render Sprites from Scene...": the chosen objects of the scene
// rendered into the sprites of the working object file, which is then opened
// again (WorkingObjectFile::Rewrite), so that the preview, the object panel
// and a saved scene show the new look. The dialog lists the objects
// (RenderSpritesModel), shows the progress and offers Cancel; the work is the
// bake layer's (bake/SpriteBake.h).

#include "bake/SpriteBake.h"

#include <vector>

namespace zelvane {

class COGLObject;
class COGLScene;
class WorkingObjectFile;

// The context that holds the scene's lists is current. The bake renders the
// working object (the file's first listed object) from the file as the
// property editor's saved changes leave it, which are written out first.
// Without a working object file or object it fails with "there is no scene or
// no working object file". After a failure (the result says why) or a
// cancel, the file on disk is as it was and the working object file stays
// open.
BakeResult RenderSpritesFromScene(WorkingObjectFile& working, COGLScene& scene, std::vector<COGLObject*> objects,
                                  const BakeOptions& options, IBakeProgress* progress);

} // namespace zelvane
