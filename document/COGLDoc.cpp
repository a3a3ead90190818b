#include "document/COGLDoc.h"

#include "bytes/ByteReader.h"
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

// The whole file in memory; false with the cause in `error`.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        error = Quoted(path) + ": no such file";
        return false;
    }
    if (!IsReadableFile(path)) {
        error = Quoted(path) + ": not a file that can be read";
        return false;
    }
    CTGFile file;
    std::uint64_t size = 0;
    if (file.OpenReadOnly(path) != kResOk || file.GetEOF(size) != kResOk) {
        error = Quoted(path) + ": the file cannot be read";
        return false;
    }
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        file.Close();
        error = Quoted(path) + ": there is not enough memory to read its " + std::to_string(size) + " bytes";
        return false;
    }
    // In blocks, as the file layer reads at most 4 GiB at a time.
    constexpr std::uint64_t kBlock = std::uint64_t{1} << 30;
    for (std::uint64_t at = 0; at < size; at += kBlock) {
        const auto count = static_cast<std::uint32_t>(std::min(kBlock, size - at));
        if (file.Read(bytes.data() + at, count) != kResOk) {
            file.Close();
            error = Quoted(path) + ": the file could not be read to its end";
            return false;
        }
    }
    file.Close();
    return true;
}

bool IsSceneFileName(const std::string& path)
{
    return AsciiLower(SplitPath(path).extension) == ".cgs";
}

} // namespace

COGLDoc::COGLDoc(std::optional<std::string> commandLineGameFolder, std::vector<std::string> sampleFolders)
    : commandLineGameFolder_(std::move(commandLineGameFolder)), sampleFolders_(std::move(sampleFolders))
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

    if (std::string error; !scene.CopyObjectFileBeside(path, error))
        Report(kFailedToSaveText, "The scene was saved, but its object file was not: " + error, MessageIcon::Warning);
    return true;
}

bool COGLDoc::OnOpenDocument(const std::string& path, COGLScene& scene)
{
    BusyScope busy;
    lastLoad_ = {};
    std::vector<std::uint8_t> bytes;
    if (std::string error; !ReadWholeFile(path, bytes, error)) {
        Report(kInvalidFilenameText, error);
        return false;
    }

    ByteReader header(bytes);
    const std::span<const std::uint8_t> magic = header.bytes(scene_file::kMagic.size());
    if (!header.ok() || !std::equal(magic.begin(), magic.end(), scene_file::kMagic.begin())) {
        CurrentReporter().ShowMessage(Quoted(path) + " is not a zelvane scene file: it does not begin with \"CGS1\".",
                                      MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    const std::uint32_t version = header.u32le();
    if (!header.ok()) {
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
    SceneFileReader reader(bytes, scene_file::kHeaderSize);
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
    if (!lastLoad_.objectFileError.empty())
        CurrentReporter().ShowMessage("The scene was opened, but the object file beside it could not become the "
                                      "working object file: " + lastLoad_.objectFileError,
                                      MessageIcon::Warning, MessageButtons::Ok);
    return true;
}

OpenDocumentOutcome COGLDoc::OpenDocumentFile(const std::string& path, COGLScene& scene)
{
    if (!IsSceneFileName(path))
        return OpenDocumentOutcome::NotASceneFile;
    scene.ClearScene();
    return OnOpenDocument(path, scene) ? OpenDocumentOutcome::Opened : OpenDocumentOutcome::Failed;
}

} // namespace zelvane
