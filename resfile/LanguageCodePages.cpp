#include "resfile/LanguageCodePages.h"

#include "resfile/Utf8.h"

// Sections: the table; iconv; decoding and encoding.

#include <array>
#include <cerrno>
#include <cstdio>
#include <optional>

#include <iconv.h>

namespace zelvane {

namespace {

// ---- the table ----

constexpr LanguageSlot kWestern(const char* language)
{
    return {language, "Windows-1252", "CP1252"};
}

constexpr std::array<LanguageSlot, 20> kSlots = {{
    kWestern("US English"),
    kWestern("UK English"),
    kWestern("French"),
    kWestern("German"),
    kWestern("Italian"),
    kWestern("Spanish"),
    kWestern("Dutch"),
    kWestern("Danish"),
    kWestern("Swedish"),
    kWestern("Norwegian"),
    kWestern("Finnish"),
    {"Hebrew", "Windows-1255", "CP1255"},
    {"Russian", "Windows-1251", "CP1251"},
    kWestern("Portuguese"),
    {"Japanese", "Shift-JIS", "CP932"},
    {"Polish", "Windows-1250", "CP1250"},
    {"Simplified Chinese", "GBK", "GBK"},
    {"Traditional Chinese", "Big5", "CP950"},
    {"Thai", "Windows-874", "CP874"},
    {"Korean", "Windows-949", "CP949"},
}};

bool IsAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}


// ---- iconv ----

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    [[nodiscard]] bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts from `in` until the input ends or a sequence fails; `in`
    // moves past what was converted. False with errno EILSEQ or EINVAL at a
    // sequence that does not convert.
    bool Convert(std::string_view& in, std::string& out)
    {
        char buffer[512];
        for (;;) {
            char* input = const_cast<char*>(in.data());
            size_t inputLeft = in.size();
            char* output = buffer;
            size_t outputLeft = sizeof buffer;
            const size_t result = iconv(handle_, &input, &inputLeft, &output, &outputLeft);
            const int error = errno;
            out.append(buffer, static_cast<size_t>(output - buffer));
            in.remove_prefix(in.size() - inputLeft);
            if (result != static_cast<size_t>(-1))
                return Flush(out);
            if (error != E2BIG) {
                Flush(out);
                errno = error;
                return false;
            }
        }
    }

private:
    // Writes out what a converter holds back (a base letter waiting for its
    // points, in Windows-1255) and starts afresh.
    bool Flush(std::string& out)
    {
        char buffer[64];
        char* output = buffer;
        size_t outputLeft = sizeof buffer;
        const size_t result = iconv(handle_, nullptr, nullptr, &output, &outputLeft);
        out.append(buffer, static_cast<size_t>(output - buffer));
        return result != static_cast<size_t>(-1);
    }

    iconv_t handle_;
};

std::string Escaped(unsigned char byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", byte);
    return text;
}

std::string CharacterText(std::string_view text, size_t at)
{
    size_t end = at;
    const std::optional<char32_t> c = NextUtf8CodePoint(text, end);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c.value_or(0xFFFD)));
    // Control characters are named by their number alone.
    const bool printable = c && *c >= 0x20 && *c != 0x7F && !(*c >= 0x80 && *c < 0xA0);
    return printable ? "'" + std::string(text.substr(at, end - at)) + "' (" + code + ")" : std::string(code);
}

} // namespace

// ---- decoding and encoding ----

const LanguageSlot& LanguageOfSlot(int slot)
{
    return slot >= 0 && static_cast<size_t>(slot) < kSlots.size() ? kSlots[static_cast<size_t>(slot)] : kSlots[0];
}

DecodedSlotText DecodeSlotText(int slot, std::string_view bytes)
{
    DecodedSlotText decoded;
    if (IsAscii(bytes)) {
        decoded.text = std::string(bytes);
        return decoded;
    }
    Converter converter("UTF-8", LanguageOfSlot(slot).iconvName);
    if (!converter.ok()) {
        for (const char c : bytes)
            decoded.text += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c)
                                                                  : Escaped(static_cast<unsigned char>(c));
        decoded.exact = false;
        return decoded;
    }
    std::string_view rest = bytes;
    while (!converter.Convert(rest, decoded.text) && !rest.empty()) {
        // A byte the code page does not define, or a lead byte without its
        // second: shown by its value, and the next byte tried afresh.
        decoded.text += Escaped(static_cast<unsigned char>(rest.front()));
        decoded.exact = false;
        rest.remove_prefix(1);
    }
    // Some code pages show two byte strings alike; then the text alone
    // cannot give the bytes back either.
    if (decoded.exact) {
        const EncodedSlotText again = EncodeSlotText(slot, decoded.text);
        decoded.exact = again.ok() && again.bytes == bytes;
    }
    return decoded;
}

EncodedSlotText EncodeSlotText(int slot, std::string_view text)
{
    EncodedSlotText encoded;
    if (IsAscii(text)) {
        encoded.bytes = std::string(text);
        return encoded;
    }
    for (size_t at = 0; at < text.size();) {
        const size_t start = at;
        if (!NextUtf8CodePoint(text, at)) {
            char what[64];
            std::snprintf(what, sizeof what, "the text is not UTF-8 (byte 0x%02X at %zu)",
                          static_cast<unsigned>(static_cast<unsigned char>(text[start])), start);
            encoded.error = what;
            return encoded;
        }
    }
    const LanguageSlot& language = LanguageOfSlot(slot);
    Converter converter(language.iconvName, "UTF-8");
    if (!converter.ok()) {
        encoded.error = std::string("the code page ") + language.codePage + " is not available on this system";
        return encoded;
    }
    std::string_view rest = text;
    if (!converter.Convert(rest, encoded.bytes)) {
        encoded.bytes.clear();
        encoded.error = "the character " + CharacterText(text, text.size() - rest.size()) + " cannot be stored in " +
                        language.language + " text (code page " + language.codePage + ")";
    }
    return encoded;
}

std::string SlotBytesFromUtf8(int slot, std::string_view text)
{
    if (IsAscii(text))
        return std::string(text);
    std::string widened;
    for (size_t at = 0; at < text.size();) {
        const std::optional<char32_t> c = NextUtf8CodePoint(text, at);
        if (!c)
            return std::string(text);
        if (*c > 0xFF) {
            const EncodedSlotText encoded = EncodeSlotText(slot, text);
            return encoded.ok() ? encoded.bytes : std::string(text);
        }
        widened += static_cast<char>(*c);
    }
    return widened;
}

} // namespace zelvane
