// PropertyEditorModel: the dialog's list and selection, and its writing steps.
//
//   1. Opening and the list
//   2. Selection and values
//   3. Apply and OK

#include "objects/PropertyEditorModel.h"

#include "report/Reporter.h"

#include <cstdio>

namespace zelvane {

ValueControl ControlForKind(PropertyKind kind)
{
    switch (kind) {
    case PropertyKind::LongText: return ValueControl::MultiLineEdit;
    case PropertyKind::Text:
    case PropertyKind::Number: return ValueControl::SingleLineEdit;
    case PropertyKind::Boolean: return ValueControl::CheckBox;
    case PropertyKind::Flags: return ValueControl::FlagsList;
    case PropertyKind::Choice: return ValueControl::ChoiceList;
    }
    return ValueControl::None;
}

PropertyEditorModel::PropertyEditorModel(CTGResFile& container, int16_t definitionId)
    : editor_(container, definitionId)
{
}

// ---------------------------------------------------------------------------
// 1. Opening and the list

bool PropertyEditorModel::Open()
{
    const int32_t error = editor_.LoadForEditing();
    if (error != kResOk) {
        char text[160];
        std::snprintf(text, sizeof text, "Could not read the object definition #%d, error #%d!",
                      int{editor_.DefinitionId()}, int{error});
        CurrentReporter().ShowMessage(text, MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    openedRecord_ = editor_.Record().StoredBytes();
    openedStrings_ = editor_.Strings();
    openedName_ = editor_.ResourceName();
    ToggleView();
    applyEnabled_ = false;
    return true;
}

void PropertyEditorModel::ToggleView()
{
    advanced_ = !advanced_;
    FillList();
}

void PropertyEditorModel::FillList()
{
    listed_.clear();
    const PropertyTable& table = editor_.Table();
    for (size_t row = 0; row < table.Size(); ++row)
        if (advanced_ || !table.Row(row).advanced)
            listed_.push_back(row);
    SelectRow(0);
}

std::vector<std::string> PropertyEditorModel::ListItems() const
{
    std::vector<std::string> items;
    for (size_t row : listed_)
        items.push_back(editor_.Table().Row(row).displayName);
    return items;
}

// ---------------------------------------------------------------------------
// 2. Selection and values

const PropertyDescriptor* PropertyEditorModel::SelectedRow() const
{
    return selected_ < 0 ? nullptr : &editor_.Table().Row(listed_[static_cast<size_t>(selected_)]);
}

void PropertyEditorModel::SelectRow(int32_t index)
{
    controlTouched_ = false;
    if (index < 0 || static_cast<size_t>(index) >= listed_.size()) {
        selected_ = -1;
        control_ = {};
        return;
    }
    selected_ = index;
    applyEnabled_ = true;
    control_ = shown_ = editor_.ShowValue(listed_[static_cast<size_t>(index)]);
    // Putting a value into the single-line edit box has always counted as a change.
    if (ControlForKind(SelectedRow()->kind) == ValueControl::SingleLineEdit)
        modified_ = true;
}

std::string PropertyEditorModel::HelpText() const
{
    const PropertyDescriptor* row = SelectedRow();
    return row ? row->HelpLine() : std::string();
}

ValueControl PropertyEditorModel::VisibleControl() const
{
    const PropertyDescriptor* row = SelectedRow();
    return row ? ControlForKind(row->kind) : ValueControl::None;
}

std::vector<std::string> PropertyEditorModel::ControlItems() const
{
    const PropertyDescriptor* row = SelectedRow();
    if (!row || (row->kind != PropertyKind::Flags && row->kind != PropertyKind::Choice))
        return {};
    return row->Names();
}

std::vector<bool> PropertyEditorModel::SelectedItems() const
{
    const PropertyDescriptor* row = SelectedRow();
    return row ? row->SelectedItems(control_.AsInteger()) : std::vector<bool>();
}

void PropertyEditorModel::ValueChanged(const PropertyValue& state)
{
    modified_ = true;
    applyEnabled_ = true;
    control_ = state;
    controlTouched_ = true;
    // The dialog reports no write errors of the container (a new resource name
    // is written at once); the value stays in the record copy either way. A
    // value that cannot be stored is not (Problem says why).
    if (selected_ >= 0) {
        // A value that cannot be stored puts back what the row held when it
        // was shown: typing "99999" must not leave the "9999" on the way.
        const size_t row = listed_[static_cast<size_t>(selected_)];
        const bool storable = editor_.WhyNotStorable(row, state).empty();
        static_cast<void>(editor_.StoreValue(row, storable ? state : shown_));
    }
}

void PropertyEditorModel::ListSelectionChanged(const std::vector<bool>& selected)
{
    const PropertyDescriptor* row = SelectedRow();
    if (!row)
        return;
    int32_t value = row->kind == PropertyKind::Choice ? -1 : 0;
    for (size_t i = 0; i < selected.size() && i < 32; ++i) {
        if (!selected[i])
            continue;
        if (row->kind == PropertyKind::Choice) {
            value = static_cast<int32_t>(i);
            break;
        }
        value = static_cast<int32_t>(static_cast<uint32_t>(value) | (1u << i));
    }
    ValueChanged(PropertyValue::FromInteger(value));
}

// ---------------------------------------------------------------------------
// 3. Apply and OK

int32_t PropertyEditorModel::WriteAndSave()
{
    int32_t first = kResOk;
    auto note = [&first](int32_t error) {
        if (first == kResOk)
            first = error;
    };
    if (selected_ >= 0 && controlTouched_) {
        // A text its code page cannot hold is refused before anything is
        // written; the control keeps it so that the user can change it.
        const size_t row = listed_[static_cast<size_t>(selected_)];
        if (const std::string why = editor_.WhyNotStorable(row, control_); !why.empty()) {
            const std::string text =
                "The " + editor_.Table().Row(row).displayName + " cannot be saved: " + why + ". Nothing was saved.";
            CurrentReporter().ShowMessage(text, MessageIcon::Error, MessageButtons::Ok);
            return kErrTextNotStorable;
        }
    }
    if (selected_ >= 0) {
        const size_t row = listed_[static_cast<size_t>(selected_)];
        // Every change was stored when it was made; storing the control again
        // only repeats that. An untouched control is not stored, so that
        // merely showing a row never rewrites it (clearing unnamed flag bits,
        // or renaming the object to "[Name not defined.]").
        if (controlTouched_)
            note(editor_.StoreValue(row, control_));
        control_ = editor_.ShowValue(row);
        controlTouched_ = false;
    }
    note(editor_.WriteRecord());
    note(editor_.WriteCatalogStrings());
    note(editor_.Save());
    if (first == kResOk) {
        savedChanges_ = DiffersFromOpened();
        return kResOk;
    }

    char text[400];
    const ObjectDefinition& record = editor_.Record();
    if (editor_.RecordLoaded() && !record.IsComplete()) {
        std::snprintf(text, sizeof text,
                      "The object definition #%d holds only %zu of its 216 bytes, so it cannot be written back. "
                      "Its changes were not saved.",
                      int{editor_.DefinitionId()}, record.StoredSize());
    } else {
        std::string path;
        editor_.Container().GetFilePath(path);
        std::snprintf(text, sizeof text, "Could not save the object properties to \"%.260s\", error #%d!",
                      path.c_str(), int{first});
    }
    CurrentReporter().ShowMessage(text, MessageIcon::Error, MessageButtons::Ok);
    return first;
}

bool PropertyEditorModel::DiffersFromOpened()
{
    const CatalogStrings& strings = editor_.Strings();
    return editor_.Record().StoredBytes() != openedRecord_ || strings.name != openedStrings_.name ||
           strings.description != openedStrings_.description || editor_.ResourceName() != openedName_;
}

int32_t PropertyEditorModel::Apply()
{
    if (!modified_)
        return kResOk;
    const int32_t error = WriteAndSave();
    if (error != kResOk) {
        applyEnabled_ = true; // so that the user can try again
        return error;
    }
    applyEnabled_ = false;
    modified_ = false;
    return kResOk;
}

int32_t PropertyEditorModel::Ok()
{
    if (!modified_)
        return kResOk;
    const int32_t error = WriteAndSave();
    if (error != kResOk) {
        applyEnabled_ = true;
        return error;
    }
    modified_ = false;
    return kResOk;
}

std::string PropertyEditorModel::Problem() const
{
    if (selected_ < 0 || !controlTouched_)
        return {};
    return editor_.WhyNotStorable(listed_[static_cast<size_t>(selected_)], control_);
}

} // namespace zelvane
