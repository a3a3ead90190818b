#pragma once
// An object's catalog name and description. They live outside the object
// definition, in the catalog string table whose id is word 41 of the record:
// a 'CTSS' string list, or in older files a 'CATS' resource of two
// NUL-terminated texts. Writing always produces a 'CTSS' list and then
// removes the 'CATS' resource.

#include "objects/ObjectDefinition.h"
#include "resfile/CTGResFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace zelvane {

inline constexpr const char* kNameNotDefined = "[Name not defined.]";
inline constexpr const char* kDescriptionNotDefined = "[Description not defined.]";

struct CatalogStrings {
    // As stored: bytes in the code page of the language slot each was read
    // from (resfile/LanguageCodePages.h).
    std::string name;
    std::string description;
    int nameSlot = 0;
    int descriptionSlot = 0;
    // False when neither a 'CATS' resource nor a readable 'CTSS' list exists;
    // the strings are then never written back, so that an unreadable list is
    // not replaced by empty texts.
    bool readable = false;

    // What lists and the property editor show, as UTF-8: each text decoded
    // from its slot's code page (bytes outside it shown as "\xNN"), or the
    // "not defined" texts when unreadable.
    std::string DisplayName() const;
    std::string DisplayDescription() const;
    // The stored bytes, when the shown text cannot give them back (bytes
    // outside the code page), for whoever must keep them exactly; else none.
    std::optional<std::string> InexactNameBytes() const;
    std::optional<std::string> InexactDescriptionBytes() const;

    // Takes `text` (UTF-8) as the name or description, in the code page of
    // the slot they are written to (slot 0, US English). False, with `why`
    // naming the first character that code page cannot hold, when it cannot
    // be stored; nothing changes then.
    bool SetName(std::string_view text, std::string& why);
    bool SetDescription(std::string_view text, std::string& why);
    // Empty when `text` can be stored by SetName or SetDescription, else why not.
    static std::string WhyNotStorable(std::string_view text);
};

// Reads name and description: the 'CATS' resource with this id when there is
// one (in slot 0's code page), else strings 1 and 2 of the 'CTSS' list in
// slot 0; when that name is empty, from the lowest language slot that has a
// non-empty string 1 (respectively 2). Unreadable (readable false) when the 'CTSS' list is
// missing or in a layout that cannot be read.
CatalogStrings ReadCatalogStrings(CTGResFile& container, int16_t id);
CatalogStrings ReadCatalogStrings(CTGResFile& container, const ObjectDefinition& definition);

// Gives a 'CTSS' list that lacks string 1 or 2 empty ones (in slots 0 and 1)
// and saves it when it changed, so that later writes have both entries.
// A list that is missing or cannot be loaded or saved is left as it is.
void PrepareCatalogStrings(CTGResFile& container, int16_t id);

// Stores name and description as strings 1 and 2 of slot 0 of the 'CTSS' list
// with this id, keeping everything else the stored list holds (its other
// strings, comments, languages and label), then removes a 'CATS' resource
// with this id. Returns 0 without writing for unreadable strings; -45 for a
// container that is not writable; otherwise 0 or the first container error
// (-96 when the stored list is in a layout that cannot be read: it is left
// untouched).
[[nodiscard]] int32_t WriteCatalogStrings(CTGResFile& container, int16_t id, const CatalogStrings& strings);

} // namespace zelvane
