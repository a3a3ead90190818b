#pragma once
// The "Property Editor" dialog's control ids and captions: the dialog's own
// business, kept out of the model it drives (objects/PropertyEditorModel.h).

#include "objects/PropertyEditorModel.h"

namespace zelvane::property_editor {

inline constexpr int kDialogTemplate = 188;
inline constexpr const char* kTitle = "Property Editor";

inline constexpr int kPropertyList = 1246;
inline constexpr int kHelpText = 1248;
inline constexpr int kViewToggle = 1252;
inline constexpr int kApply = 1225;
inline constexpr int kOk = 1;

inline constexpr const char* kApplyCaption = "A&pply";
inline constexpr const char* kOkCaption = "OK";

// The toggle names the view it switches to.
constexpr const char* ViewToggleCaption(bool advancedView)
{
    return advancedView ? "&Simple" : "&Advanced";
}

// The id of the control that shows a row's value; 0 for none.
constexpr int ControlId(ValueControl control)
{
    switch (control) {
    case ValueControl::SingleLineEdit: return 1250;
    case ValueControl::ChoiceList: return 1251;
    case ValueControl::CheckBox: return 1254;
    case ValueControl::FlagsList: return 1255;
    case ValueControl::MultiLineEdit: return 1256;
    case ValueControl::None: break;
    }
    return 0;
}

} // namespace zelvane::property_editor
