#pragma once
// The object panel ("Object Info" tab) without its window: the working
// object's catalog name, price and description, the way to the property
// editor, the footprint cage's size (Height, Width, Depth) and the zoom
// preset (Near, Medium, Far), all the document's; the cage and the zoom are
// changed as undo steps of the document.

#include "document/COGLDoc.h"
#include "objects/CObjectEntry.h"
#include "report/Result.h"

namespace zelvane {

class CObjectFile;

inline constexpr const char* kNoBaseObjectText = "Please set the base object to clone attributes from first.";

// The cage's sides as the panel's spin boxes allow them.
enum class CageSide { Height, Width, Depth };
inline constexpr int kMinCageSide = 1;
int MaxCageSide(CageSide side); // height 6, width and depth 15

class ObjectPanelModel {
public:
    explicit ObjectPanelModel(COGLDoc& document) : document_(document) {}

    // What the name, price and description fields show: the working object's
    // catalog name, description and price; empty texts and 0 without one.
    ObjectSummary Shown() const;
    bool HasObject() const;
    // After the property editor closed (however): what it put into the
    // working object file is written out whole (its map too), and the object
    // is read again from the file. Fails, saying why, when the file could
    // not be written out.
    Status Reread();

    // "&Properties": the object file to edit (it lists an object); fails with
    // "Please set the base object to clone attributes from first." otherwise.
    Result<CObjectFile*> FileForProperties();
    // The property editor saved changes into the working object file.
    void NotePropertiesSaved() { document_.NoteObjectFileEdited(); }

    int CageSideValue(CageSide side) const;
    // Sets one side, clamped to its range; a value equal to the current one
    // changes nothing and makes no step.
    void SetCageSide(CageSide side, int value);

    ZoomPreset Zoom() const { return document_.Zoom(); }
    // Near, Medium or Far (Free is the zoom tool's, not the panel's).
    void SetZoom(ZoomPreset preset) { document_.SetZoom(preset); }

private:
    COGLDoc& document_;
};

} // namespace zelvane
