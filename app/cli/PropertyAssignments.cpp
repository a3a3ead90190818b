#include "app/cli/PropertyAssignments.h"

#include "objects/ObjectDefinitionEditor.h"
#include "objects/ObjectFileOpener.h"
#include "objects/PropertyText.h"
#include "resfile/ResErrors.h"

#include <optional>
#include <utility>

namespace zelvane::cli {

namespace {

StoredProperties Refused(std::string subject, std::string error)
{
    StoredProperties result;
    result.subject = std::move(subject);
    result.error = std::move(error);
    return result;
}

} // namespace

StoredProperties StoreProperties(const std::string& file, int16_t id, const std::vector<std::string>& assignments)
{
    std::string why;
    ObjectFileOpener object;
    if (!object.Open(file, {.purpose = OpenPurpose::Change}, why))
        return Refused(file, why);
    ObjectDefinitionEditor editor(object.Container(), id);
    if (const int32_t loaded = editor.LoadForEditing(); loaded != kResOk)
        return Refused(file, "OBJD " + std::to_string(id) + ": " + ResErrorText(loaded));

    std::vector<std::pair<size_t, PropertyValue>> changes;
    for (const std::string& assignment : assignments) {
        const size_t equals = assignment.find('=');
        if (equals == std::string::npos)
            return Refused(assignment, "expected Name=Value");
        const std::string name = assignment.substr(0, equals);
        const std::optional<size_t> row = editor.Table().Find(name);
        if (!row)
            return Refused(name, "no such property (see `zelvane-cli props --advanced`)");
        const std::optional<PropertyValue> value =
            ParsePropertyValue(editor.Table().Row(*row), std::string_view(assignment).substr(equals + 1), why);
        if (!value)
            return Refused(name, why);
        if (const std::string unstorable = editor.WhyNotStorable(*row, *value); !unstorable.empty())
            return Refused(name, unstorable);
        changes.emplace_back(*row, *value);
    }
    for (const auto& [row, value] : changes)
        if (const int32_t stored = editor.StoreValue(row, value); stored != kResOk)
            return Refused(file, editor.Table().Row(row).displayName + ": " + ResErrorText(stored));
    int32_t error = editor.WriteRecord();
    if (error == kErrBadLayout && !editor.Record().IsComplete())
        return Refused(file, "OBJD " + std::to_string(id) + " holds only " +
                                 std::to_string(editor.Record().StoredSize()) +
                                 " of its 216 bytes, so its values cannot be written back (its name and description "
                                 "can)");
    if (error != kResOk || (error = editor.WriteCatalogStrings()) != kResOk || (error = editor.Save()) != kResOk)
        return Refused(file, ResErrorText(error));
    if (const int32_t closed = object.Close(); closed != kResOk)
        return Refused(file, ResErrorText(closed));
    StoredProperties result;
    result.ok = true;
    result.count = changes.size();
    return result;
}

} // namespace zelvane::cli
