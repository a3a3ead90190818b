#pragma once
// The 20 language slots of string lists and the code page that each slot's
// texts are stored in. People read and type text as UTF-8; lists hold the
// slot's 8-bit (or, for the East Asian slots, double-byte) code page. This
// is the one table of slots and languages, and the one way between the two:
// what shows a slot's text decodes it here, what stores text for a slot
// encodes it here.
//
// The slots, as the game's multi-language lists use them (slot = the
// language byte of a layout -3 record, less 1): 0 US English, 1 UK English,
// 2 French, 3 German, 4 Italian, 5 Spanish, 6 Dutch, 7 Danish, 8 Swedish,
// 9 Norwegian, 10 Finnish, 11 Hebrew, 12 Russian, 13 Portuguese,
// 14 Japanese, 15 Polish, 16 Simplified Chinese, 17 Traditional Chinese,
// 18 Thai, 19 Korean. The Western slots use Windows-1252, the others their
// Windows code pages (1255, 1251, 932 for Shift-JIS, 1250, GBK, 950 for
// Big5, 874, 949).

#include <string>
#include <string_view>

namespace zelvane {

struct LanguageSlot {
    const char* language; // "US English"
    const char* codePage;  // as people know it: "Windows-1252", "Shift-JIS"
    const char* iconvName; // "CP1252"
};

// A slot's language and code page; a slot outside 0..19 is taken as slot 0.
const LanguageSlot& LanguageOfSlot(int slot);

struct DecodedSlotText {
    std::string text; // UTF-8
    // False when `text` does not give the stored bytes back when encoded:
    // bytes the code page does not define are shown as "\xNN" in `text`.
    bool exact = true;
};

// A slot's stored bytes as people read them. Never fails: bytes that are
// not valid in the slot's code page are shown escaped (and `exact` is false).
DecodedSlotText DecodeSlotText(int slot, std::string_view bytes);

struct EncodedSlotText {
    std::string bytes;
    // Empty on success; else why not, naming the first character the code
    // page cannot hold ("the character 'ł' (U+0142) cannot be stored in US
    // English text (code page Windows-1252)") or where the text is not UTF-8.
    std::string error;

    [[nodiscard]] bool ok() const { return error.empty(); }
};

// UTF-8 text as the bytes a slot stores; all or nothing.
EncodedSlotText EncodeSlotText(int slot, std::string_view text);

// The stored bytes of a text that a list keeps as UTF-8 (layout -4). The
// tools that write that layout widen each byte of the slot's code page to
// the character of the same value, so a text whose characters all lie below
// U+0100 gives back exactly those bytes; a text with characters beyond is
// Unicode proper and is stored in the slot's code page. Text that is not
// UTF-8, or that the code page cannot hold, is kept as it is: nothing is
// lost.
std::string SlotBytesFromUtf8(int slot, std::string_view text);

} // namespace zelvane
