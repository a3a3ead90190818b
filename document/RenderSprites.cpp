#include "document/RenderSprites.h"

#include "objects/CObjectFile.h"
#include "objects/ObjectClone.h"
#include "scene/COGLScene.h"

namespace zelvane {

BakeResult RenderSpritesFromScene(COGLScene& scene, std::vector<COGLObject*> objects, const BakeOptions& options,
                                  IBakeProgress* progress)
{
    CObjectFile* file = scene.ObjectFile();
    BakeRequest request;
    request.scene = &scene;
    request.objects = std::move(objects);
    request.file = file;
    request.object = file && !file->ListedObjects().empty() ? file->ListedObjects().front() : nullptr;
    request.filePath = file ? file->Path() : std::string();
    request.options = options;
    request.progress = progress;
    BakeResult result = BakeSprites(request);
    if (result.outcome == BakeOutcome::Written) {
        // The file on disk is new; the one open still reads the old contents.
        const std::string path = request.filePath;
        scene.SetObjectFile(nullptr);
        scene.SetObjectFile(OpenWorkingObjectFile(path));
    }
    return result;
}

} // namespace zelvane
