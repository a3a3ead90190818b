#include "view/ObjectText.h"

#include "resfile/LanguageCodePages.h"

namespace zelvane {

namespace {

// Resource names are not tied to a string list; the game writes them in its
// first language's code page.
constexpr int kResourceNameSlot = 0;

} // namespace

QString FromObjectText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToObjectText(const QString& text)
{
    return text.toUtf8().toStdString();
}

QString FromResourceName(std::string_view bytes)
{
    return FromObjectText(DecodeSlotText(kResourceNameSlot, bytes).text);
}

std::string ToResourceName(const QString& text)
{
    const std::string typed = ToObjectText(text);
    EncodedSlotText encoded = EncodeSlotText(kResourceNameSlot, typed);
    return encoded.ok() ? std::move(encoded.bytes) : typed;
}

} // namespace zelvane
