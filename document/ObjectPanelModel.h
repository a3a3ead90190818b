#pragma once
// The object panel ("Object Info" tab) without its window: the working
// object's catalog name, price and description, the way to the property
// editor, the view's footprint cage size (Height, Width, Depth) and its zoom
// preset (Near, Medium, Far). Each setter is one command: it changes the view,
// redraws it and records one step in the document's undo history.

#include "document/IPanelView.h"
#include "objects/CObjectEntry.h"

#include <functional>

namespace zelvane {

class CObjectFile;
class UndoHistory;
class WorkingObjectFile;

inline constexpr const char* kNoBaseObjectText = "Please set the base object to clone attributes from first.";

// The cage's sides as the panel's spin boxes allow them.
enum class CageSide { Height, Width, Depth };
inline constexpr int kMinCageSide = 1;
int MaxCageSide(CageSide side); // height 6, width and depth 15

class ObjectPanelModel {
public:
    // Steps go to `history` (none: the changes are simply made), which the
    // model must outlive or be emptied before the model goes.
    ObjectPanelModel(IPanelView& view, WorkingObjectFile& working, UndoHistory* history);

    // Called after every change the panel should show (undo and redo included).
    void SetChangedHandler(std::function<void()> handler) { changed_ = std::move(handler); }

    // What the name, price and description fields show: the working object's
    // catalog name, description and price; empty texts and 0 without one.
    ObjectSummary Shown() const;
    bool HasObject() const;
    // Reads the working object again from its file, after the property editor
    // closed, and shows it.
    void Refresh();

    // "&Properties": the object file to edit (it lists an object), or null
    // after telling the user
    // "Please set the base object to clone attributes from first.".
    CObjectFile* FileForProperties();
    // The property editor saved changes into the working object file.
    void NotePropertiesSaved();

    CageSize Cage() const { return view_.GetCageSize(); }
    int CageSideValue(CageSide side) const;
    // Sets one side, clamped to its range; a value equal to the current one
    // changes nothing and makes no step.
    void SetCageSide(CageSide side, int value);

    ZoomPreset Zoom() const { return view_.GetZoomPreset(); }
    // Near, Medium or Far (Free is the zoom tool's, not the panel's).
    void SetZoom(ZoomPreset preset);

private:
    void ApplyCage(const CageSize& size);
    void ApplyZoom(ZoomPreset preset);
    void Changed();

    IPanelView& view_;
    WorkingObjectFile& working_;
    UndoHistory* history_;
    std::function<void()> changed_;
};

} // namespace zelvane
