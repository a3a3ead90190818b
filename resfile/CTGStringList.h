#pragma once
// String lists ('STR#' and 'CTSS'): numbered strings with optional comments in
// 20 language slots. Reads every stored layout (-1, -2, -3, -4,
// length-prefixed and caret-separated text) and always writes layout -3.
//
// Texts are held as the bytes their slot stores, in the slot's code page
// (resfile/LanguageCodePages.h says which and converts to and from UTF-8).
// Layout -4 keeps its texts as UTF-8; they are brought back to the slot's
// bytes when read, so that every layout holds and writes the same bytes.

#include "resfile/CTGResFile.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zelvane {

class ByteReader;

// The type a list falls back to when no 'STR#' resource exists: caret text.
inline constexpr ResType kTypeCaretText = 0x00435354;
inline constexpr int kLanguageSlots = 20;
// Language argument meaning "the list's current slot".
inline constexpr uint8_t kCurrentLanguage = 255;

enum class CaretText { No, Yes };
enum class LoadLanguages { Current, All };
enum class FillEmptySlots { No, Yes };

// How a list was stored: the first word's layout, or caret text.
enum class StringListLayout { None, Plain, Comments, Languages, LanguageSets, LengthPrefixed, CaretText };
// "-1", "-2", "-3", "-4", "length-prefixed", "caret text"; "" for None.
const char* StringListLayoutName(StringListLayout layout);

struct StringEntry {
    std::optional<std::string> text;
    std::optional<std::string> comment;
    int8_t origin = -1; // the slot the text was set for; 0 marks a copy of slot 0
};

class CTGStringList {
public:
    CTGStringList() = default;

    // A negative language selects the default slot, 0.
    void Configure(CTGResFile* container, int16_t id, ResType type, CaretText caret, int8_t language);

    // Replaces every slot with the stored resource. Returns 0; -1 without an
    // open container; the container's error when the resource is missing;
    // -96 for a layout that cannot be read, or a layout -4 list that does
    // not hold together (the slots are then empty).
    [[nodiscard]] int32_t Load(LoadLanguages languages, FillEmptySlots fill);
    // 'STR#' first, then the caret-text type. Returns the last load's result.
    [[nodiscard]] int32_t LoadWithFallback(CTGResFile* container, int16_t id, int8_t language);
    // Merges this list's current slot into the stored resource and writes it
    // back in layout -3. Returns 0 or the first container error.
    [[nodiscard]] int32_t Save();

    // Strings and comments are numbered from 1; `language` 255 is the current slot.
    std::optional<std::string> GetString(int32_t index, uint8_t language = kCurrentLanguage) const;
    // Index count+1 appends; other indices outside 1..count are ignored.
    void SetString(int32_t index, std::string_view text, uint8_t language = kCurrentLanguage);
    std::optional<std::string> GetComment(int32_t index, uint8_t language = kCurrentLanguage) const;
    void SetComment(int32_t index, std::string_view text, uint8_t language = kCurrentLanguage);
    void DeleteString(int32_t index, uint8_t language = kCurrentLanguage);
    int32_t Count(uint8_t language = kCurrentLanguage) const;
    const StringEntry* Entry(int32_t index, uint8_t language = kCurrentLanguage) const;

    const std::string& Name() const { return name_; }
    void SetName(std::string_view name) { name_ = std::string(name.substr(0, 63)); }
    ResType Type() const { return type_; }
    int16_t Id() const { return id_; }
    int8_t CurrentLanguage() const { return language_; }
    // The layout of what the last Load or Parse read; None before, or after a failure.
    StringListLayout Layout() const { return layout_; }

    // Decodes stored bytes into the slots (what Load does after reading).
    // Returns 0 or -96.
    [[nodiscard]] int32_t Parse(std::span<const uint8_t> data, LoadLanguages languages, FillEmptySlots fill);
    // The list in layout -3.
    std::vector<uint8_t> Encode() const;
    // The convert callback of a load: the first word (and, for -1, the second) byte-swapped.
    static void ConvertOnLoad(uint8_t* data, uint32_t length);

private:
    using Slot = std::vector<StringEntry>;
    Slot* SlotFor(uint8_t language);
    const Slot* SlotFor(uint8_t language) const;
    // The entry at `index` (count+1 appends one), marked as set for its slot; nullptr outside 1..count+1.
    StringEntry* EntryForWriting(int32_t index, uint8_t language);
    void Clear();
    void AddToCurrentAndDefault(StringEntry entry);
    [[nodiscard]] bool ParseLanguageSets(ByteReader& reader, LoadLanguages languages);
    void FillFromDefault();

    CTGResFile* container_ = nullptr;
    std::string name_;
    int16_t id_ = 0;
    ResType type_ = kTypeSTRList;
    CaretText caret_ = CaretText::No;
    int8_t language_ = 0;
    StringListLayout layout_ = StringListLayout::None;
    std::array<Slot, kLanguageSlots> slots_;
};

} // namespace zelvane
