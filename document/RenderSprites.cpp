#include "document/RenderSprites.h"

#include "document/WorkingObjectFile.h"
#include "objects/CObjectFile.h"
#include "report/Reporter.h"

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
    std::string error;
    const auto outcome = working.Rewrite(
        [&](CObjectFile& file) {
            request.file = &file;
            request.object = file.ListedObjects().empty() ? nullptr : file.ListedObjects().front();
            request.filePath = working.Path();
            result = BakeSprites(request);
            return result.outcome == BakeOutcome::Written;
        },
        error);
    if (outcome == WorkingObjectFile::RewriteOutcome::Failed) {
        // The bake itself went well, or never ran: the working file is to blame.
        result.outcome = BakeOutcome::Failed;
        result.error = "Could not render the sprites: " + error;
        CurrentReporter().ShowMessage(result.error, MessageIcon::Error, MessageButtons::Ok);
    }
    return result;
}

} // namespace zelvane
