#include "document/COGLDoc.h"

#include "report/ErrorLog.h"
#include "report/Reporter.h"
#include "resfile/CTGFile.h"
#include "resfile/FileReplacement.h"
#include "resfile/PathUtil.h"
#include "resfile/ResErrors.h"
#include "scene/CFileLocator.h"
#include "scene/COGLScene.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>

namespace zelvane {

namespace {

void Report(const char* headline, const std::string& cause, MessageIcon icon = MessageIcon::Error)
{
    CurrentReporter().ShowMessage(std::string(headline) + " " + cause, icon, MessageButtons::Ok);
}

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

std::string WhyNotCreated(const std::string& path, std::int32_t code)
{
    return Quoted(path) + ": " + CreateFailureText(path, code);
}

// Opens `path` for reading and tells its size; false with the cause in `error`.
bool OpenForReading(const std::string& path, CTGFile& file, std::uint64_t& size, std::string& error)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        error = Quoted(path) + ": no such file";
        return false;
    }
    if (!IsReadableFile(path) || file.OpenReadOnly(path) != kResOk || file.GetEOF(size) != kResOk) {
        error = Quoted(path) + ": not a file that can be read";
        return false;
    }
    return true;
}

bool IsSceneFileName(const std::string& path)
{
    return AsciiLower(SplitPath(path).extension) == ".cgs";
}

} // namespace

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

// --- Scene files -----------------------------------------------------------------

bool COGLDoc::OnSaveDocument(const std::string& path, COGLScene& scene)
{
    BusyScope busy;
    FileReplacement replacement(path);
    CTGFile file;
    if (const std::int32_t code = file.Create(replacement.StagingPath()); code != kResOk) {
        Report(kInvalidFilenameText, WhyNotCreated(path, code));
        return false;
    }
    if (const std::int32_t code = file.Open(replacement.StagingPath()); code != kResOk || !file.IsWritable()) {
        Report(kInvalidFilenameText, WhyNotCreated(path, code));
        return false;
    }

    SceneFileWriter writer(file, replacement.StagingPath());
    writer.Raw(scene_file::kMagic);
    writer.U32(scene_file::kVersion);
    scene.SaveScene(writer);
    const bool written = writer.Finish();
    file.Close();
    if (!written) {
        Report(kFailedToSaveText, Quoted(path) + ": " + writer.Error() + "; an earlier file of that name is unchanged");
        return false;
    }
    if (const std::int32_t code = replacement.Commit(); code != kResOk) {
        Report(kFailedToSaveText, Quoted(path) + ": the new file could not be put in place (" + ResErrorText(code) +
                                      "); an earlier file of that name is unchanged");
        return false;
    }

    if (std::string error; !workingObject_.CopyBesideScene(path, error))
        Report(kFailedToSaveText, "The scene was saved, but its object file was not: " + error, MessageIcon::Warning);
    return true;
}

bool COGLDoc::OnOpenDocument(const std::string& path, COGLScene& scene)
{
    BusyScope busy;
    lastLoad_ = {};
    CTGFile file;
    std::uint64_t size = 0;
    if (std::string error; !OpenForReading(path, file, size, error)) {
        Report(kInvalidFilenameText, error);
        return false;
    }
    // Read through a window: the file is not held in memory beside the scene.
    SceneFileReader reader(file, size, 0, path);
    const std::span<const std::uint8_t> magic = reader.Raw(scene_file::kMagic.size());
    if (!reader.ok() || !std::equal(magic.begin(), magic.end(), scene_file::kMagic.begin())) {
        CurrentReporter().ShowMessage(Quoted(path) + " is not a zelvane scene file: it does not begin with \"CGS1\".",
                                      MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    const std::uint32_t version = reader.U32();
    if (!reader.ok()) {
        Report(kFailedToOpenText, Quoted(path) + ": the file ends inside its header");
        return false;
    }
    if (version < 1) {
        CurrentReporter().ShowMessage("The scene file " + Quoted(path) + " is of version " + std::to_string(version) +
                                          "; zelvane reads scene files of version 1 and later. Nothing was loaded.",
                                      MessageIcon::Error, MessageButtons::Ok);
        return false;
    }

    // Later versions are read as version 1: the scene does not look at the number.
    lastLoad_ = scene.LoadScene(reader, path);
    if (!lastLoad_.Complete()) {
        const std::size_t read = lastLoad_.objectsRead;
        Report(kFailedToOpenText, Quoted(path) + ": " + lastLoad_.error + ". " +
                                      (read == 0   ? std::string("No object was loaded.")
                                       : read == 1 ? std::string("The object before it was loaded.")
                                                   : "The " + std::to_string(read) + " objects before it were loaded."));
        return false;
    }
    pathName_ = path;
    return true;
}

OpenDocumentOutcome COGLDoc::OpenDocumentFile(const std::string& path, COGLScene& scene)
{
    if (!IsSceneFileName(path))
        return OpenDocumentOutcome::NotASceneFile;
    scene.ClearScene();
    if (!OnOpenDocument(path, scene))
        return OpenDocumentOutcome::Failed;
    std::string error;
    if (workingObject_.TakeFromScene(path, error) == WorkingObjectFile::SceneCopyOutcome::Failed)
        CurrentReporter().ShowMessage("The scene was opened, but the object file beside it could not become the "
                                      "working object file: " + error,
                                      MessageIcon::Warning, MessageButtons::Ok);
    return OpenDocumentOutcome::Opened;
}

} // namespace zelvane
