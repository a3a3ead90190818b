#include "document/SceneFile.h"

#include "document/CachedTextures.h"
#include "report/Reporter.h"
#include "report/UserFolders.h"
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

namespace zelvane {

namespace {

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

Status Failed(const char* headline, const std::string& cause)
{
    return Status::Failure(std::string(headline) + " " + cause);
}

} // namespace

bool IsSceneFileName(const std::string& path)
{
    return AsciiLower(SplitPath(path).extension) == ".cgs";
}

Status WriteSceneFile(const std::string& path, const COGLScene& scene)
{
    BusyScope busy;
    FileReplacement replacement(path);
    CTGFile file;
    if (const std::int32_t code = file.Create(replacement.StagingPath()); code != kResOk)
        return Failed(kInvalidFilenameText, Quoted(path) + ": " + CreateFailureText(path, code));
    if (const std::int32_t code = file.Open(replacement.StagingPath()); code != kResOk || !file.IsWritable())
        return Failed(kInvalidFilenameText, Quoted(path) + ": " + CreateFailureText(path, code));

    SceneFileWriter writer(file, replacement.StagingPath());
    writer.Raw(scene_file::kMagic);
    writer.U32(scene_file::kVersion);
    scene.SaveScene(writer);
    const bool written = writer.Finish();
    file.Close();
    if (!written)
        return Failed(kFailedToSaveText,
                      Quoted(path) + ": " + writer.Error() + "; an earlier file of that name is unchanged");
    if (const std::int32_t code = replacement.Commit(); code != kResOk)
        return Failed(kFailedToSaveText, Quoted(path) + ": the new file could not be put in place (" +
                                             ResErrorText(code) + "); an earlier file of that name is unchanged");
    return CopyCachedTextures(scene, path, UserFolderPath(UserFolder::Cache).value_or(""));
}

namespace {

Status OpenForReading(const std::string& path, CTGFile& file, std::uint64_t& size)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return Failed(kInvalidFilenameText, Quoted(path) + ": no such file");
    if (!IsReadableFile(path) || file.OpenReadOnly(path) != kResOk || file.GetEOF(size) != kResOk)
        return Failed(kInvalidFilenameText, Quoted(path) + ": not a file that can be read");
    return Status::Ok();
}

Status ReadHeader(SceneFileReader& reader, const std::string& path)
{
    const std::span<const std::uint8_t> magic = reader.Raw(scene_file::kMagic.size());
    if (!reader.ok() || !std::equal(magic.begin(), magic.end(), scene_file::kMagic.begin()))
        return Status::Failure(Quoted(path) + " is not a zelvane scene file: it does not begin with \"CGS1\".");
    const std::uint32_t version = reader.U32();
    if (!reader.ok())
        return Failed(kFailedToOpenText, Quoted(path) + ": the file ends inside its header");
    if (version < 1)
        return Status::Failure("The scene file " + Quoted(path) + " is of version " + std::to_string(version) +
                               "; zelvane reads scene files of version 1 and later. Nothing was loaded.");
    // Later versions are read as version 1: the scene does not look at the number.
    return Status::Ok();
}

} // namespace

Status ProbeSceneFile(const std::string& path)
{
    CTGFile file;
    std::uint64_t size = 0;
    if (Status opened = OpenForReading(path, file, size); !opened)
        return opened;
    SceneFileReader reader(file, size, 0, path);
    return ReadHeader(reader, path);
}

Status ReadSceneFile(const std::string& path, COGLScene& scene, SceneLoadResult& details)
{
    BusyScope busy;
    details = {};
    CTGFile file;
    std::uint64_t size = 0;
    if (Status opened = OpenForReading(path, file, size); !opened)
        return opened;
    // Read through a window: the file is not held in memory beside the scene.
    SceneFileReader reader(file, size, 0, path);
    if (Status header = ReadHeader(reader, path); !header)
        return header;
    details = scene.LoadScene(reader, path);
    if (!details.Complete()) {
        const std::size_t read = details.objectsRead;
        return Failed(kFailedToOpenText, Quoted(path) + ": " + details.error + ". " +
                                             (read == 0   ? std::string("No object was loaded.")
                                              : read == 1 ? std::string("The object before it was loaded.")
                                                          : "The " + std::to_string(read) +
                                                                " objects before it were loaded."));
    }
    return Status::Ok();
}

} // namespace zelvane
