#pragma once
// The "Property Editor" dialog's title and captions: the dialog's own
// business, kept out of the model it drives (objects/PropertyEditorModel.h).

#include "objects/PropertyEditorModel.h"

namespace zelvane::property_editor {

inline constexpr const char* kTitle = "Property Editor";

inline constexpr const char* kApplyCaption = "A&pply";
inline constexpr const char* kOkCaption = "OK";

// The toggle names the view it switches to.
constexpr const char* ViewToggleCaption(bool advancedView)
{
    return advancedView ? "&Simple" : "&Advanced";
}

} // namespace zelvane::property_editor
