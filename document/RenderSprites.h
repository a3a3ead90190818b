#pragma once
// Object ▸ "Render Sprites from Scene...": the chosen objects of the scene
// rendered into the sprites of the scene's object file (the working object
// file), which is then opened again, so that the preview, the object panel
// and a saved scene show the new look. The dialog lists the objects
// (BakeableObjects: all on by default), shows the progress and offers
// Cancel; the work is the bake layer's (bake/SpriteBake.h).

#include "bake/SpriteBake.h"

#include <vector>

namespace zelvane {

class COGLObject;
class COGLScene;

// The context that holds the scene's lists is current. Without an object
// file the bake fails with "there is no scene or no working object file". A
// failure is shown through the reporter; after it, or a cancel, the object
// file is as it was and stays open.
BakeResult RenderSpritesFromScene(COGLScene& scene, std::vector<COGLObject*> objects, const BakeOptions& options,
                                  IBakeProgress* progress);

} // namespace zelvane
