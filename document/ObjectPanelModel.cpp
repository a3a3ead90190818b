#include "document/ObjectPanelModel.h"

#include "document/FunctionCommand.h"
#include "document/UndoHistory.h"
#include "document/WorkingObjectFile.h"
#include "report/Reporter.h"

#include <algorithm>

namespace zelvane {

namespace {

int& SideOf(CageSize& size, CageSide side)
{
    switch (side) {
    case CageSide::Height: return size.height;
    case CageSide::Width: return size.width;
    case CageSide::Depth: break;
    }
    return size.depth;
}

int SideValue(CageSize size, CageSide side)
{
    return SideOf(size, side);
}

const char* SideName(CageSide side)
{
    switch (side) {
    case CageSide::Height: return "Cage Height";
    case CageSide::Width: return "Cage Width";
    case CageSide::Depth: break;
    }
    return "Cage Depth";
}

} // namespace

int MaxCageSide(CageSide side)
{
    return side == CageSide::Height ? 6 : 15;
}

ObjectPanelModel::ObjectPanelModel(IPanelView& view, WorkingObjectFile& working, UndoHistory* history)
    : view_(view), working_(working), history_(history)
{
}

void ObjectPanelModel::Changed()
{
    if (changed_)
        changed_();
}

ObjectSummary ObjectPanelModel::Shown() const
{
    const CObjectEntry* object = working_.CurrentObject();
    return object ? object->Summary() : ObjectSummary{};
}

bool ObjectPanelModel::HasObject() const
{
    return working_.CurrentObject() != nullptr;
}

void ObjectPanelModel::Refresh()
{
    if (CObjectEntry* object = working_.CurrentObject()) {
        // An entry that cannot be read again keeps showing what it had.
        static_cast<void>(object->Reread());
    }
    Changed();
}

CObjectFile* ObjectPanelModel::FileForProperties()
{
    // A file that lists no object has nothing to edit either.
    if (!working_.CurrentObject()) {
        CurrentReporter().ShowMessage(kNoBaseObjectText, MessageIcon::Information, MessageButtons::Ok);
        return nullptr;
    }
    return working_.File();
}

void ObjectPanelModel::NotePropertiesSaved()
{
    working_.NoteEdited();
}

int ObjectPanelModel::CageSideValue(CageSide side) const
{
    return SideValue(view_.GetCageSize(), side);
}

void ObjectPanelModel::ApplyCage(const CageSize& size)
{
    view_.SetCageSize(size);
    view_.Redraw();
    Changed();
}

void ObjectPanelModel::SetCageSide(CageSide side, int value)
{
    const CageSize before = view_.GetCageSize();
    CageSize after = before;
    SideOf(after, side) = std::clamp(value, kMinCageSide, MaxCageSide(side));
    if (SideValue(after, side) == SideValue(before, side))
        return;
    ApplyCage(after);
    if (history_)
        history_->Record(std::make_unique<FunctionCommand>(
            SideName(side), [this, after] { ApplyCage(after); }, [this, before] { ApplyCage(before); }));
}

void ObjectPanelModel::ApplyZoom(ZoomPreset preset)
{
    view_.SetZoomPreset(preset);
    view_.Redraw();
    Changed();
}

void ObjectPanelModel::SetZoom(ZoomPreset preset)
{
    const ZoomPreset before = view_.GetZoomPreset();
    if (preset == before)
        return;
    ApplyZoom(preset);
    if (history_)
        history_->Record(std::make_unique<FunctionCommand>(
            "Zoom Preset", [this, preset] { ApplyZoom(preset); }, [this, before] { ApplyZoom(before); }));
}

} // namespace zelvane
