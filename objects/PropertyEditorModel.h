#pragma once
// What the "Property Editor" dialog shows and does, without the dialog: the
// property list in its simple or advanced view, the selected row with its
// help line and value control, the modified flag and the state of "A&pply",
// and the Apply and OK steps. The dialog turns clicks and typing into these
// calls and copies the state back into its controls.
//
// Every change of a value control is stored at once (ValueChanged), unless
// the value cannot be stored (Problem says why); showing a
// Number or Text row marks the dialog modified as the single-line edit box's
// change notification always did, so OK right after opening still writes the
// record and the strings and saves the file. Cancelling (close box or Escape)
// needs no call: nothing reaches the file but through Apply and OK, except a
// resource name, which is put into the container as soon as it is stored.

#include "objects/ObjectDefinitionEditor.h"

#include <string>
#include <vector>

namespace zelvane {

// The control showing a row's value (the dialog gives each its id and place).
enum class ValueControl {
    None,
    SingleLineEdit, // Number and Text
    ChoiceList,
    CheckBox,
    FlagsList,
    MultiLineEdit, // LongText
};

ValueControl ControlForKind(PropertyKind kind);

class PropertyEditorModel {
public:
    // Edits the 'OBJD' resource `definitionId` of `container`.
    PropertyEditorModel(CTGResFile& container, int16_t definitionId);

    // Opening: loads the record and the catalog strings, turns the simple
    // view on (selecting and showing the first row) and disables "A&pply".
    // False, after telling the user, when the record cannot be read: the
    // dialog must not open then.
    [[nodiscard]] bool Open();

    // The view toggle: switches the view, refills the list and selects its
    // first row. The dialog's button names the view it switches to.
    void ToggleView();
    bool AdvancedView() const { return advanced_; }

    // Table rows in list order, and their display names as the list shows them.
    const std::vector<size_t>& ListedRows() const { return listed_; }
    std::vector<std::string> ListItems() const;

    // Selects list item `index` (any value outside the list selects nothing)
    // and shows its row.
    void SelectRow(int32_t index);
    int32_t SelectedIndex() const { return selected_; }
    // The selected row's display name, ": " and help text; empty for none.
    std::string HelpText() const;
    // The one value control that is visible.
    ValueControl VisibleControl() const;
    // The items of the visible choice or flags list, in order.
    std::vector<std::string> ControlItems() const;
    // The state the value control shows: its text, or for the lists and the
    // check box the integer (see PropertyValue; list items to select come
    // from SelectedItems()).
    const PropertyValue& ControlValue() const { return control_; }
    std::vector<bool> SelectedItems() const;

    // The user changed the value control to `state`: marks the dialog
    // modified, enables "A&pply" and stores the value. Not for values the
    // dialog puts into its controls itself (ControlValue after SelectRow).
    void ValueChanged(const PropertyValue& state);
    // The user changed the selection of the visible flags or choice list:
    // item i of `selected` tells whether list item i is selected now.
    void ListSelectionChanged(const std::vector<bool>& selected);

    // "A&pply": when modified, writes the record and the catalog strings and
    // saves the file; then "A&pply" is disabled and the dialog unmodified.
    // Returns 0 or the first error, which is also shown to the user; after
    // an error the dialog stays modified and "A&pply" enabled, so that the
    // next Apply tries again.
    [[nodiscard]] int32_t Apply();
    // "OK": the same writing when modified; the dialog closes only when it
    // returns 0. After an error (shown to the user) the dialog stays open and
    // modified, so that the user can mend the value and try again.
    [[nodiscard]] int32_t Ok();
    // Why the value the user typed into the selected row cannot be stored
    // (a number outside its field's range, or no number; a character the
    // catalog's code page lacks); empty when it can. Such a value is not
    // stored: the record keeps the value it had.
    std::string Problem() const;

    bool Modified() const { return modified_; }
    bool ApplyEnabled() const { return applyEnabled_; }
    // Whether the file, as Apply or OK last saved it, holds a record, strings
    // or resource name other than those the dialog opened with: the object
    // file then carries edits worth keeping.
    bool SavedChanges() const { return savedChanges_; }

    ObjectDefinitionEditor& Editor() { return editor_; }
    // The property of the selected row; null when none is selected.
    const PropertyDescriptor* SelectedRow() const;

private:
    void FillList();
    int32_t WriteAndSave();
    bool DiffersFromOpened();

    ObjectDefinitionEditor editor_;
    // True at creation so that the toggle made while opening shows the simple view.
    bool advanced_ = true;
    std::vector<size_t> listed_;
    int32_t selected_ = -1;
    PropertyValue control_;
    PropertyValue shown_; // the selected row's value when it was shown
    bool controlTouched_ = false; // the user changed the control since it was shown
    bool modified_ = false;
    bool applyEnabled_ = false;
    bool savedChanges_ = false;
    // What the dialog opened with.
    std::vector<uint8_t> openedRecord_;
    CatalogStrings openedStrings_;
    std::string openedName_;
};

} // namespace zelvane
