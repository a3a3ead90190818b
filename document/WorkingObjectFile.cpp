#include "document/WorkingObjectFile.h"

#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "report/Reporter.h"

#include <cstdio>

namespace zelvane {

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

void WorkingObjectFile::MakeCurrent(std::unique_ptr<CObjectFile> file)
{
    // The scene points at the new file before the old one closes.
    std::unique_ptr<CObjectFile> previous = std::move(file_);
    file_ = std::move(file);
    if (observer_)
        observer_(file_.get());
    unsavedEdits_ = false;
}

bool WorkingObjectFile::Reopen()
{
    std::unique_ptr<CObjectFile> opened = OpenWorkingObjectFile(Path());
    if (!opened)
        return false;
    MakeCurrent(std::move(opened));
    return true;
}

WorkingObjectFile::CloneOutcome WorkingObjectFile::CloneFrom(const CObjectEntry& base, const ObjectCatalog& catalog)
{
    if (unsavedEdits_) {
        const CObjectEntry* current = CurrentObject();
        const std::string name = current ? current->Summary().name : Path();
        char text[512];
        std::snprintf(text, sizeof text,
                      "\"%.200s\" has property changes that were not saved with a scene. Cloning \"%.63s\" "
                      "replaces the working object file and loses them.\n\nReplace it anyway?",
                      name.c_str(), base.ResourceName().c_str());
        if (CurrentReporter().ShowMessage(text, MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
            return CloneOutcome::KeptEdits;
    }

    CloneOptions options;
    options.targetPath = Path();
    options.guidInUse = [&catalog](uint32_t guid) { return catalog.GuidInUse(guid); };
    // The clone tells the user what went wrong; the previous file is untouched then.
    if (!CloneObject(base, options).succeeded)
        return CloneOutcome::Failed;
    std::unique_ptr<CObjectFile> opened = OpenWorkingObjectFile(Path());
    if (!opened)
        return CloneOutcome::Failed;
    MakeCurrent(std::move(opened));
    return CloneOutcome::Replaced;
}

} // namespace zelvane
