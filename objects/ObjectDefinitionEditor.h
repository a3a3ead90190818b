#pragma once
// Editing one object's definition: a private copy of its record and its
// catalog strings, shown and changed one property row at a time and written
// back into the object's container. The "Property Editor" dialog and the
// command line drive it; it shows no messages itself and reports failures by
// the resource library's error codes.

#include "objects/CatalogStrings.h"
#include "objects/ObjectDefinition.h"
#include "objects/PropertyTable.h"
#include "objects/PropertyValue.h"
#include "resfile/CTGResFile.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// What the resource name shows when the 'OBJD' resource cannot be found.
inline constexpr const char* kUnnamedObject = "unnamed object";
// StoreValue's refusal of a value its row cannot store: a catalog name or
// description holding a character that the strings' code page cannot store,
// or a number that is not one or lies outside the field's range
// (WhyNotStorable says which).
inline constexpr int32_t kErrTextNotStorable = -97;

class ObjectDefinitionEditor {
public:
    // Edits the 'OBJD' resource `definitionId` of `container`, which must
    // outlive the editor. Nothing is read until LoadForEditing.
    ObjectDefinitionEditor(CTGResFile& container, int16_t definitionId);

    // Reads and normalises the record, then prepares and reads the catalog
    // strings (a 'CTSS' list lacking string 1 or 2 gets empty ones saved into
    // the container at once). Returns 0, or the container's error when the
    // record cannot be read; the record then stays unloaded, nothing can be
    // written, and the editor should not be shown.
    [[nodiscard]] int32_t LoadForEditing();

    // The current value of table row `row` as its control expects it: text
    // for Text, LongText and Number rows, an integer for the others.
    PropertyValue ShowValue(size_t row);
    // Converts a control's state into row `row`'s value and puts it into the
    // record copy, the catalog strings or the resource name. Storing the
    // resource name writes the record at once and returns that write's
    // result; a catalog name or description that its code page cannot hold,
    // and a Number row's text that is no whole number in its field's range,
    // are not stored (-97, kErrTextNotStorable); everything else returns 0.
    // Texts are UTF-8, as ShowValue gives them.
    [[nodiscard]] int32_t StoreValue(size_t row, const PropertyValue& control);
    // Empty when StoreValue can take `control` for row `row`; else why not:
    // the character that the catalog strings' code page cannot hold, or the
    // range of whole numbers the field takes.
    std::string WhyNotStorable(size_t row, const PropertyValue& control) const;

    // Puts the record copy into the container as the 'OBJD' resource, under
    // its current name or `newName` (cut to 63 characters); the file changes
    // on the next Save. Returns 0; -98 when the record was never loaded; -45
    // when the container is not writable; -96 when the record was stored
    // shorter than it can be written (ObjectDefinition::IsComplete) and a
    // value of it or its name changed (unchanged, nothing is written and the
    // result is 0); else the container's error. Nothing changes on failure.
    [[nodiscard]] int32_t WriteRecord(std::optional<std::string_view> newName = std::nullopt);
    // Writes name and description as the 'CTSS' list (see WriteCatalogStrings
    // in CatalogStrings.h); skipped with 0 when the strings are unreadable.
    [[nodiscard]] int32_t WriteCatalogStrings();
    // Saves the container, its index (an IFF file's map) too, so that the
    // file on disk is complete: 0, -45 when it is not writable, or its error.
    [[nodiscard]] int32_t Save();

    // The 'OBJD' resource's name as the container holds it, or
    // "unnamed object" when it cannot be found.
    std::string ResourceName();

    // Storing the "Name" row also renames the object as object lists show
    // it (at most 63 characters); the object file model listens here.
    void SetObjectNameHandler(std::function<void(std::string_view)> handler) { nameHandler_ = std::move(handler); }

    const PropertyTable& Table() const { return table_; }
    const ObjectDefinition& Record() const { return record_; }
    const CatalogStrings& Strings() const { return strings_; }
    bool RecordLoaded() const { return loaded_; }
    int16_t DefinitionId() const { return definitionId_; }
    CTGResFile& Container() { return container_; }

private:
    [[nodiscard]] int32_t StoreRecordField(const PropertyDescriptor& row, const PropertyValue& control);

    CTGResFile& container_;
    int16_t definitionId_;
    PropertyTable table_;
    ObjectDefinition record_;
    std::vector<uint8_t> loadedBytes_; // the record as loaded, normalised
    bool loaded_ = false;
    CatalogStrings strings_;
    std::function<void(std::string_view)> nameHandler_;
};

} // namespace zelvane
