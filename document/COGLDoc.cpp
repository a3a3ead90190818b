#include "document/COGLDoc.h"

#include "report/ErrorLog.h"

namespace zelvane {

COGLDoc::COGLDoc(std::optional<std::string> commandLineGameFolder, std::vector<std::string> sampleFolders,
                 std::string workingObjectPath)
    : commandLineGameFolder_(std::move(commandLineGameFolder)), sampleFolders_(std::move(sampleFolders)),
      workingObject_(std::move(workingObjectPath))
{
}

void COGLDoc::OnNewDocument()
{
    const GameFolderChoice found =
        FindGameFolder(GameFolderInputs::FromEnvironment(commandLineGameFolder_, sampleFolders_));
    for (const std::string& note : found.notes)
        LogDebug("Game folder: " + note + "\n");
    // Without a new answer the previous game folder stays.
    if (found.source != GameFolderSource::None || gameFolder_.source == GameFolderSource::None)
        gameFolder_ = found;
    LogDebug("Game folder: " + gameFolder_.folder + " (" + GameFolderSourceName(gameFolder_.source) + ")\n");
    catalog_.Rebuild(gameFolder_.folder);
    LogDebug("Catalog: " + std::to_string(catalog_.Files().size()) + " object files, " +
             std::to_string(catalog_.ListedObjects().size()) + " objects\n");
}

} // namespace zelvane
