#include "document/WorkingObjectFile.h"

#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectFileOpener.h"
#include "report/Reporter.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/FileReplacement.h"
#include "resfile/ResErrors.h"
#include "scene/CFileLocator.h"
#include "scene/ObjectFileBeside.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace zelvane {

namespace {

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

WorkingObjectFile::WorkingObjectFile(std::string path) : path_(std::move(path)) {}

WorkingObjectFile::~WorkingObjectFile() = default;

const std::string& WorkingObjectFile::Path() const
{
    if (path_.empty())
        path_ = DefaultWorkingObjectFilePath();
    return path_;
}

CObjectEntry* WorkingObjectFile::CurrentObject() const
{
    if (!file_ || file_->ListedObjects().empty())
        return nullptr;
    return file_->ListedObjects().front();
}

void WorkingObjectFile::MakeCurrent(std::unique_ptr<CObjectFile> file, Edits edits)
{
    // The scene points at the new file before the old one closes.
    std::unique_ptr<CObjectFile> previous = std::move(file_);
    file_ = std::move(file);
    if (observer_)
        observer_(file_.get());
    unsavedEdits_ = file_ && edits == Edits::Unsaved;
}

int32_t WorkingObjectFile::CloseFile()
{
    CTGResFile& container = file_->Container();
    const int32_t updated = container.UpdateContainer();
    // Closing writes the resource map, which a copy of the file needs.
    const int32_t closed = container.CloseContainer();
    return updated != kResOk ? updated : closed;
}

void WorkingObjectFile::OpenAgain(Edits edits)
{
    // Null when it no longer opens (the user has been told): the scene must not
    // keep pointing at the closed file.
    MakeCurrent(OpenWorkingObjectFile(Path()), edits);
}

Status WorkingObjectFile::Commit()
{
    if (!file_)
        return Status::Ok();
    if (const int32_t code = file_->Container().CommitContainer(); code != kResOk)
        return Status::Failure("could not write the changes of " + Quoted(Path()) + ": " + ResErrorText(code));
    return Status::Ok();
}

bool WorkingObjectFile::MayReplaceEdits(const std::string& action) const
{
    if (!unsavedEdits_)
        return true;
    const CObjectEntry* current = CurrentObject();
    const std::string name = current ? current->Summary().name : Path();
    const std::string text = Quoted(name.substr(0, 200)) +
                             " has property changes that were not saved with a scene. " + action +
                             " replaces the working object file and loses them.\n\nReplace it anyway?";
    return CurrentReporter().ShowMessage(text, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

WorkingObjectFile::CloneOutcome WorkingObjectFile::CloneFrom(const CObjectEntry& base, const ObjectCatalog& catalog)
{
    if (!MayReplaceEdits("Cloning " + Quoted(base.ResourceName().substr(0, 63))))
        return CloneOutcome::KeptEdits;

    CloneOptions options;
    options.targetPath = Path();
    options.guidInUse = [&catalog](uint32_t guid) { return catalog.GuidInUse(guid); };
    // The clone tells the user what went wrong; the previous file is untouched
    // then (the clone replaces it only once complete).
    if (!CloneObject(base, options).succeeded)
        return CloneOutcome::Failed;
    std::unique_ptr<CObjectFile> opened = OpenWorkingObjectFile(Path());
    if (!opened)
        return CloneOutcome::Failed;
    MakeCurrent(std::move(opened), Edits::Saved);
    // Opening may have put what it needed into the file (catalog strings).
    static_cast<void>(Commit());
    return CloneOutcome::Replaced;
}

Status WorkingObjectFile::CopyBesideScene(const std::string& sceneFilePath)
{
    if (!file_)
        return Status::Ok();
    const std::string beside = ObjectFilePathBeside(sceneFilePath);
    const Edits before = unsavedEdits_ ? Edits::Unsaved : Edits::Saved;
    if (const int32_t code = CloseFile(); code != kResOk) {
        OpenAgain(before);
        return Status::Failure("could not write the changes of " + Quoted(Path()) + ": " + ResErrorText(code));
    }
    // A scene saved in the working file's own folder under its name needs no copy.
    std::string error;
    const bool copied = SameFile(Path(), beside) || ReplaceWithCopy(Path(), beside, error);
    OpenAgain(copied ? Edits::Saved : before);
    return copied ? Status::Ok() : Status::Failure(error);
}

Status WorkingObjectFile::WriteOutAndReopen()
{
    const Edits before = unsavedEdits_ ? Edits::Unsaved : Edits::Saved;
    const int32_t code = CloseFile();
    OpenAgain(before);
    if (code != kResOk)
        return Status::Failure("could not write the changes of " + Quoted(Path()) + ": " + ResErrorText(code));
    return Status::Ok();
}

Result<WorkingObjectFile::RewriteOutcome> WorkingObjectFile::Rewrite(const std::function<bool(CObjectFile&)>& rewrite)
{
    if (!file_)
        return Status::Failure("there is no working object file");
    if (const Status written = WriteOutAndReopen(); !written)
        return written;
    if (!file_)
        return Status::Failure(Quoted(Path()) + " could not be opened again");
    if (!rewrite(*file_))
        return RewriteOutcome::Unchanged;
    // The file just read is unchanged, so closing it writes nothing over the new one.
    std::unique_ptr<CObjectFile> opened = OpenWorkingObjectFile(Path());
    if (!opened) {
        MakeCurrent(nullptr, Edits::Saved);
        return Status::Failure(Quoted(Path()) + " could not be opened after it was written");
    }
    MakeCurrent(std::move(opened), Edits::Unsaved);
    static_cast<void>(Commit());
    return RewriteOutcome::Rewritten;
}

Result<std::vector<uint8_t>> WorkingObjectFile::Contents()
{
    if (!file_)
        return Status::Failure("there is no working object file");
    if (const Status written = WriteOutAndReopen(); !written)
        return written;
    std::ifstream in(Path(), std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof())
        return Status::Failure("could not read " + Quoted(Path()));
    return bytes;
}

Status WorkingObjectFile::ReplaceContents(const std::vector<uint8_t>& bytes)
{
    std::string error;
    const Result<RewriteOutcome> rewritten = Rewrite(
        [&](CObjectFile&) { return WriteFileSafely(Path(), bytes, error) == SafeWrite::Written; });
    if (!rewritten)
        return rewritten.GetStatus();
    if (*rewritten != RewriteOutcome::Rewritten)
        return Status::Failure("could not write " + Quoted(Path()) + ": " + error);
    return Status::Ok();
}

Result<WorkingObjectFile::SceneCopyOutcome> WorkingObjectFile::TakeFromScene(const std::string& sceneFilePath)
{
    const std::string beside = ObjectFilePathBeside(sceneFilePath);
    if (!IsReadableFile(beside))
        return SceneCopyOutcome::NoneBeside;
    if (SameFile(beside, Path())) {
        // The scene lies beside the working file under its name: it is that file.
        if (!file_)
            OpenAgain(Edits::Saved);
        if (file_)
            return SceneCopyOutcome::Taken;
        return Status::Failure(Quoted(Path()) + " could not be opened");
    }
    if (!MayReplaceEdits("Opening the scene " + Quoted(sceneFilePath)))
        return SceneCopyOutcome::KeptEdits;

    // A damaged file must not replace a good one: it has to open first.
    {
        int32_t code = kResOk;
        const std::unique_ptr<CTGObjResFileSet> probe = ObjectFileOpener::OpenSet(beside, OpenPurpose::Read, code);
        if (!probe)
            return Status::Failure(Quoted(beside) + " does not open as an object file: " + ResErrorText(code));
    }
    const Edits before = unsavedEdits_ ? Edits::Unsaved : Edits::Saved;
    const bool hadFile = file_ != nullptr;
    if (hadFile)
        static_cast<void>(CloseFile()); // its edits are being given up
    std::string error;
    const bool copied = ReplaceWithCopy(beside, Path(), error);
    if (copied || hadFile)
        OpenAgain(copied ? Edits::Saved : before);
    if (!copied)
        return Status::Failure(error);
    if (!file_)
        return Status::Failure(Quoted(Path()) + " could not be opened after the copy");
    return SceneCopyOutcome::Taken;
}

} // namespace zelvane
