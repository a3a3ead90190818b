#include "objects/CatalogStrings.h"

#include "bytes/ByteReader.h"
#include "resfile/CTGStringList.h"
#include "resfile/LanguageCodePages.h"

namespace zelvane {

namespace {

constexpr int8_t kDefaultLanguage = 0;

// Leaves resource data as stored: 'CATS' has no words to swap.
void KeepAsStored(uint8_t*, uint32_t) {}

void ConfigureCatalogList(CTGStringList& list, CTGResFile& container, int16_t id)
{
    list.Configure(&container, id, kTypeCTSS, CaretText::No, kDefaultLanguage);
}

// The lowest slot's non-empty string `index`, if any slot has one, with its slot.
bool FirstNonEmpty(const CTGStringList& list, int32_t index, std::string& text, int& slot)
{
    for (uint8_t s = 0; s < kLanguageSlots; ++s)
        if (std::optional<std::string> found = list.GetString(index, s); found && !found->empty()) {
            text = std::move(*found);
            slot = s;
            return true;
        }
    return false;
}

bool Store(std::string_view text, std::string& target, int& slot, std::string& why)
{
    EncodedSlotText encoded = EncodeSlotText(kDefaultLanguage, text);
    if (!encoded.ok()) {
        why = std::move(encoded.error);
        return false;
    }
    target = std::move(encoded.bytes);
    slot = kDefaultLanguage;
    return true;
}

} // namespace

std::string CatalogStrings::DisplayName() const
{
    return readable ? DecodeSlotText(nameSlot, name).text : kNameNotDefined;
}

std::string CatalogStrings::DisplayDescription() const
{
    return readable ? DecodeSlotText(descriptionSlot, description).text : kDescriptionNotDefined;
}

std::optional<std::string> CatalogStrings::InexactNameBytes() const
{
    return readable && !DecodeSlotText(nameSlot, name).exact ? std::optional(name) : std::nullopt;
}

std::optional<std::string> CatalogStrings::InexactDescriptionBytes() const
{
    return readable && !DecodeSlotText(descriptionSlot, description).exact ? std::optional(description) : std::nullopt;
}

bool CatalogStrings::SetName(std::string_view text, std::string& why)
{
    return Store(text, name, nameSlot, why);
}

bool CatalogStrings::SetDescription(std::string_view text, std::string& why)
{
    return Store(text, description, descriptionSlot, why);
}

std::string CatalogStrings::WhyNotStorable(std::string_view text)
{
    return EncodeSlotText(kDefaultLanguage, text).error;
}

CatalogStrings ReadCatalogStrings(CTGResFile& container, int16_t id)
{
    CatalogStrings strings;
    if (ResHandle* cats = container.GetResource(kTypeCATS, id, &KeepAsStored)) {
        ByteReader reader(cats->Bytes());
        strings.name = reader.cstring(reader.remaining());
        strings.description = reader.cstring(reader.remaining());
        strings.readable = true;
        container.ReleaseResource(cats);
        return strings;
    }

    CTGStringList list;
    ConfigureCatalogList(list, container, id);
    if (list.Load(LoadLanguages::Current, FillEmptySlots::No) != kResOk)
        return strings;
    strings.readable = true;
    strings.name = list.GetString(1).value_or("");
    strings.description = list.GetString(2).value_or("");
    if (strings.name.empty()) {
        // Some lists carry their texts only in another language.
        CTGStringList all;
        ConfigureCatalogList(all, container, id);
        if (all.Load(LoadLanguages::All, FillEmptySlots::No) == kResOk) {
            FirstNonEmpty(all, 1, strings.name, strings.nameSlot);
            FirstNonEmpty(all, 2, strings.description, strings.descriptionSlot);
        }
    }
    return strings;
}

CatalogStrings ReadCatalogStrings(CTGResFile& container, const ObjectDefinition& definition)
{
    return ReadCatalogStrings(container, definition.CatalogStringsId());
}

void PrepareCatalogStrings(CTGResFile& container, int16_t id)
{
    CTGStringList list;
    ConfigureCatalogList(list, container, id);
    if (list.Load(LoadLanguages::Current, FillEmptySlots::No) != kResOk)
        return;
    bool added = false;
    for (int32_t index = 1; index <= 2; ++index) {
        if (list.GetString(index))
            continue;
        list.SetString(index, "", 0);
        list.SetString(index, "", 1);
        added = true;
    }
    if (added)
        static_cast<void>(list.Save()); // a list that cannot be saved is read as it is
}

int32_t WriteCatalogStrings(CTGResFile& container, int16_t id, const CatalogStrings& strings)
{
    if (!strings.readable)
        return kResOk;
    if (!container.IsWritable())
        return kErrNotWritable;

    // Start from the stored list so that saving (which keeps exactly the
    // strings of the saved slot) loses none of its other strings, comments or
    // its label; a list that is not stored yet starts empty.
    CTGStringList list;
    ConfigureCatalogList(list, container, id);
    if (list.Load(LoadLanguages::Current, FillEmptySlots::No) == kErrBadLayout)
        return kErrBadLayout;
    list.SetString(1, strings.name);
    list.SetString(2, strings.description);
    const int32_t saved = list.Save();
    if (saved != kResOk)
        return saved;

    if (ResHandle* cats = container.GetResource(kTypeCATS, id, &KeepAsStored)) {
        const int32_t removed = container.RemoveResource(cats);
        if (removed != kResOk)
            return removed;
    }
    return kResOk;
}

} // namespace zelvane
