// Parses arbitrary bytes as a string list in every layout. The first byte
// chooses how: bit 7 caret text, bit 6 all languages, bit 5 fill empty
// slots from slot 0, bits 0-4 the current language (20 and above select the
// default). Besides the sanitizers it checks that a failed parse leaves the
// list empty, that filling really fills, and that what was parsed survives
// Encode and a Parse of layout -3 with every language (texts up to a 0 byte,
// which that layout cannot hold).

#include "fuzz/FuzzSupport.h"
#include "resfile/CTGStringList.h"
#include "resfile/ResErrors.h"

#include <span>
#include <string>

using namespace zelvane;

namespace {

// Layout -3 counts its records in 16 bits.
constexpr size_t kMaxEncodedEntries = 0xFFFF;

size_t Total(const CTGStringList& list)
{
    size_t total = 0;
    for (int slot = 0; slot < kLanguageSlots; ++slot)
        total += static_cast<size_t>(list.Count(static_cast<uint8_t>(slot)));
    return total;
}

// What layout -3 can hold of a text: everything before its first 0 byte.
std::string Storable(const std::optional<std::string>& text)
{
    const std::string value = text.value_or("");
    return value.substr(0, value.find('\0'));
}

void CheckSameStrings(const CTGStringList& parsed, const CTGStringList& reparsed)
{
    for (int slot = 0; slot < kLanguageSlots; ++slot) {
        const auto language = static_cast<uint8_t>(slot);
        const std::string where = "slot " + std::to_string(slot);
        fuzz::Check(parsed.Count(language) == reparsed.Count(language), "the round trip changed a slot's count", where);
        for (int32_t i = 1; i <= parsed.Count(language); ++i) {
            const StringEntry* a = parsed.Entry(i, language);
            const StringEntry* b = reparsed.Entry(i, language);
            // Layout -3 always stores both texts; a missing one reads back empty.
            fuzz::Check(Storable(a->text) == b->text.value_or(""), "the round trip changed a text",
                        where + " string " + std::to_string(i));
            fuzz::Check(Storable(a->comment) == b->comment.value_or(""), "the round trip changed a comment",
                        where + " string " + std::to_string(i));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t how = data[0];
    const CaretText caret = (how & 0x80) ? CaretText::Yes : CaretText::No;
    const LoadLanguages languages = (how & 0x40) ? LoadLanguages::All : LoadLanguages::Current;
    const FillEmptySlots fill = (how & 0x20) ? FillEmptySlots::Yes : FillEmptySlots::No;
    const auto language = static_cast<int8_t>(how & 0x1F);
    const std::span<const uint8_t> bytes(data + 1, size - 1);

    CTGStringList list;
    list.Configure(nullptr, 1, kTypeSTRList, caret, language);
    fuzz::Check(list.CurrentLanguage() >= 0 && list.CurrentLanguage() < kLanguageSlots, "current language out of range");
    const int32_t result = list.Parse(bytes, languages, fill);
    fuzz::Check(result == kResOk || result == kErrBadLayout, "Parse returned an unexpected code",
                std::to_string(result));
    if (result != kResOk) {
        fuzz::Check(Total(list) == 0, "a failed parse left strings behind");
        return 0;
    }
    if (fill == FillEmptySlots::Yes && list.Count(0) > 0)
        for (uint8_t slot = 1; slot < kLanguageSlots; ++slot)
            fuzz::Check(list.Count(slot) > 0, "filling left a slot empty", std::to_string(slot));
    // Strings numbered past the count do not exist.
    fuzz::Check(!list.GetString(list.Count() + 1).has_value() && !list.GetString(0).has_value(),
                "a string outside 1..count was found");

    if (Total(list) > kMaxEncodedEntries)
        return 0;
    const std::vector<uint8_t> encoded = list.Encode();
    CTGStringList reparsed;
    reparsed.Configure(nullptr, 1, kTypeSTRList, CaretText::No, language);
    fuzz::Check(reparsed.Parse(encoded, LoadLanguages::All, FillEmptySlots::No) == kResOk,
                "an encoded list does not parse");
    CheckSameStrings(list, reparsed);
    return 0;
}
