// ObjectDefinitionEditor: loading, showing and storing values, writing back.
//
//   1. Loading
//   2. Showing and storing values
//   3. Writing

#include "objects/ObjectDefinitionEditor.h"

#include <cassert>

namespace zelvane {

ObjectDefinitionEditor::ObjectDefinitionEditor(CTGResFile& container, int16_t definitionId)
    : container_(container), definitionId_(definitionId)
{
}

// ---------------------------------------------------------------------------
// 1. Loading

int32_t ObjectDefinitionEditor::LoadForEditing()
{
    ResHandle* stored = container_.GetResource(kTypeOBJD, definitionId_, &ObjectDefinition::KeepAsStored);
    if (!stored) {
        const int32_t error = container_.GetLastError();
        return error != kResOk ? error : kErrNoSuchResource;
    }
    record_ = ObjectDefinition::FromBytes(stored->Bytes());
    loadedBytes_ = record_.StoredBytes();
    container_.ReleaseResource(stored);
    loaded_ = true;

    PrepareCatalogStrings(container_, record_.CatalogStringsId());
    strings_ = ReadCatalogStrings(container_, record_);
    return kResOk;
}

std::string ObjectDefinitionEditor::ResourceName()
{
    ResHandle* stored = container_.GetResource(kTypeOBJD, definitionId_, &ObjectDefinition::KeepAsStored);
    if (!stored)
        return kUnnamedObject;
    std::string name;
    container_.GetResName(stored, name);
    container_.ReleaseResource(stored);
    return name.substr(0, kMaxResourceName);
}

// ---------------------------------------------------------------------------
// 2. Showing and storing values

PropertyValue ObjectDefinitionEditor::ShowValue(size_t row)
{
    assert(row < table_.Size());
    if (row >= table_.Size())
        return {};
    const PropertyDescriptor& descriptor = table_.Row(row);
    switch (descriptor.field) {
    case PropertyField::ResourceName: return PropertyValue::FromText(ResourceName());
    case PropertyField::CatalogName: return PropertyValue::FromText(strings_.DisplayName());
    case PropertyField::CatalogDescription: return PropertyValue::FromText(strings_.DisplayDescription());
    default: break;
    }
    const std::optional<RecordLocation> location = RecordLocationOf(descriptor.field);
    if (!location)
        return {};
    const int32_t value = location->width == 4 ? record_.Int32At(location->offset)
                                               : int32_t{record_.Word(location->offset / 2)};
    switch (descriptor.kind) {
    case PropertyKind::Number:
    case PropertyKind::Text:
    case PropertyKind::LongText: return PropertyValue::FromText(FormatNumber(value));
    case PropertyKind::Boolean:
    case PropertyKind::Flags:
    case PropertyKind::Choice: break;
    }
    return PropertyValue::FromInteger(value);
}

int32_t ObjectDefinitionEditor::StoreValue(size_t row, const PropertyValue& control)
{
    assert(row < table_.Size());
    if (row >= table_.Size())
        return kErrNoSuchResource;
    const PropertyDescriptor& descriptor = table_.Row(row);
    switch (descriptor.field) {
    case PropertyField::ResourceName:
        return WriteRecord(ClipText(control.AsText(), kMaxResourceName));
    case PropertyField::CatalogName: {
        const std::string text = ClipUtf8Text(control.AsText());
        std::string why;
        CatalogStrings changed = strings_;
        if (!changed.SetName(text, why))
            return kErrTextNotStorable;
        if (nameHandler_)
            nameHandler_(ClipUtf8Text(text, kMaxResourceName));
        if (strings_.readable)
            strings_ = changed;
        return kResOk;
    }
    case PropertyField::CatalogDescription: {
        std::string why;
        CatalogStrings changed = strings_;
        if (!changed.SetDescription(ClipUtf8Text(control.AsText()), why))
            return kErrTextNotStorable;
        // Unreadable strings are never written, so a description typed then is dropped.
        if (strings_.readable)
            strings_ = changed;
        return kResOk;
    }
    default: return StoreRecordField(descriptor, control);
    }
}

std::string ObjectDefinitionEditor::WhyNotStorable(size_t row, const PropertyValue& control) const
{
    if (row >= table_.Size())
        return {};
    const PropertyDescriptor& descriptor = table_.Row(row);
    const PropertyField field = descriptor.field;
    if (descriptor.kind == PropertyKind::Number && control.IsText())
        return descriptor.WhyNotANumber(control.AsText());
    if (field != PropertyField::CatalogName && field != PropertyField::CatalogDescription)
        return {};
    return CatalogStrings::WhyNotStorable(ClipUtf8Text(control.AsText()));
}

int32_t ObjectDefinitionEditor::StoreRecordField(const PropertyDescriptor& row, const PropertyValue& control)
{
    const std::optional<RecordLocation> location = RecordLocationOf(row.field);
    if (!location)
        return kResOk;
    int32_t value = 0;
    switch (row.kind) {
    case PropertyKind::Boolean: value = control.Checked() ? 1 : 0; break;
    case PropertyKind::Flags: {
        // Rebuilt from the list: bits without a name are cleared.
        const size_t names = row.Names().size();
        const uint32_t mask = names >= 32 ? ~0u : (1u << names) - 1u;
        value = static_cast<int32_t>(static_cast<uint32_t>(control.AsInteger()) & mask);
        break;
    }
    case PropertyKind::Number: {
        // A number outside the field's range would wrap (99999 stored as
        // -31073), and a text that is no number would be stored as 0.
        if (!row.WhyNotANumber(control.AsText()).empty())
            return kErrTextNotStorable;
        const int64_t number = control.IsText() ? *ParseWholeNumber(control.AsText()) : control.AsInteger();
        value = static_cast<int32_t>(static_cast<uint32_t>(number));
        break;
    }
    case PropertyKind::Choice:
    case PropertyKind::Text:
    case PropertyKind::LongText: value = control.AsInteger(); break;
    }
    if (location->width == 4)
        record_.SetInt32At(location->offset, value);
    else
        record_.SetWord(location->offset / 2, static_cast<int16_t>(static_cast<uint16_t>(value)));
    return kResOk;
}

// ---------------------------------------------------------------------------
// 3. Writing

int32_t ObjectDefinitionEditor::WriteRecord(std::optional<std::string_view> newName)
{
    if (!loaded_)
        return kErrNoSuchResource;
    if (!container_.IsWritable())
        return kErrNotWritable;
    if (!record_.IsComplete()) {
        // Nothing of it changed, so nothing needs writing: its strings can
        // still be edited.
        if (!newName && record_.StoredBytes() == loadedBytes_)
            return kResOk;
        return kErrBadLayout;
    }

    std::string name = newName ? std::string(newName->substr(0, kMaxResourceName)) : std::string(kUnnamedObject);
    if (ResHandle* old = container_.GetResource(kTypeOBJD, definitionId_, &ObjectDefinition::KeepAsStored)) {
        if (!newName) {
            container_.GetResName(old, name);
            name = name.substr(0, kMaxResourceName);
        }
        container_.ReleaseResource(old);
    }

    ResHandle* handle = ResHandle::CreateFrom(record_.StoredBytes());
    if (!handle)
        return kErrNoCompactionMemory;
    const int32_t error = container_.AddResource(handle, kTypeOBJD, definitionId_, name, ResConverted::Yes);
    if (error != kResOk)
        ResHandle::Dispose(handle);
    return error;
}

int32_t ObjectDefinitionEditor::WriteCatalogStrings()
{
    return zelvane::WriteCatalogStrings(container_, record_.CatalogStringsId(), strings_);
}

int32_t ObjectDefinitionEditor::Save()
{
    if (!container_.IsWritable())
        return kErrNotWritable;
    // With its map, so that the file on disk is complete after every save.
    return container_.CommitContainer();
}

} // namespace zelvane
