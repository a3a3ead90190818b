#include "document/RenderSprites.h"

#include "document/WorkingObjectFile.h"
#include "objects/CObjectFile.h"

namespace zelvane {

BakeResult RenderSpritesFromScene(WorkingObjectFile& working, COGLScene& scene, std::vector<COGLObject*> objects,
                                  const BakeOptions& options, IBakeProgress* progress)
{
    BakeRequest request;
    request.scene = &scene;
    request.objects = std::move(objects);
    request.options = options;
    request.progress = progress;
    if (!working.CurrentObject())
        return BakeSprites(request); // fails, and says why

    BakeResult result;
    const Result<WorkingObjectFile::RewriteOutcome> rewritten = working.Rewrite([&](CObjectFile& file) {
        request.file = &file;
        request.object = file.ListedObjects().empty() ? nullptr : file.ListedObjects().front();
        request.filePath = working.Path();
        result = BakeSprites(request);
        return result.outcome == BakeOutcome::Written;
    });
    if (!rewritten) {
        // The bake itself went well, or never ran: the working file is to blame.
        result.outcome = BakeOutcome::Failed;
        result.error = "Could not render the sprites: " + rewritten.Message();
    }
    return result;
}

} // namespace zelvane
