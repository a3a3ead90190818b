// Reads arbitrary bytes as a text object's tail in a scene file
// (COGLText::ReadTail), without an OpenGL context, so the letters are
// measured but no lists are made: the tail is read exactly when 82 bytes are
// there, and then takes exactly 82; the text is 1 to 32 characters without a
// 0 byte, each measured; the depth is a number, 0 or more; the face name fits
// its field; the width and offsets are numbers; what is written again is 82
// bytes that read back to the same object and the same bytes.

#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"
#include "fuzz/FuzzSupport.h"
#include "scene/COGLText.h"
#include "scene/text/FontCatalog.h"

#include <cmath>
#include <span>

namespace {

bool Finite(const zelvane::Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zelvane;
    using fuzz::Check;
    ByteReader in(std::span<const uint8_t>(data, size));
    COGLText text;
    const bool read = text.ReadTail(in);
    Check(read == (size >= COGLText::kTailSize), "a tail is read exactly when it is all there");
    if (!read) {
        Check(in.position() == 0 && text.Text() == " ", "a cut tail changes nothing");
        return 0;
    }
    Check(in.position() == COGLText::kTailSize, "a tail is 82 bytes");
    const std::string& characters = text.Text();
    Check(!characters.empty() && characters.size() <= COGLText::kMostCharacters, "1 to 32 characters");
    Check(characters.find('\0') == std::string::npos, "no 0 byte in the text");
    Check(static_cast<size_t>(text.CharCount()) == characters.size(), "the count is the text's length");
    Check(text.Metrics().size() == characters.size(), "every character measured");
    Check(std::isfinite(text.Extrusion()) && text.Extrusion() >= 0, "a depth of 0 or more", std::to_string(text.Extrusion()));
    Check(text.Font().faceName.size() <= FontCatalog::kLongestFaceName, "the face name fits the font record");
    Check(std::isfinite(text.Extent().x) && text.Extent().x >= 0, "a width", std::to_string(text.Extent().x));
    Check(text.IsCentered() == (data[0] != 0), "centred by the stored byte");
    if (std::isfinite(text.Extrusion() * 0.5f))
        Check(Finite(text.TextOffset()), "the offsets are numbers");

    ByteWriter out;
    text.WriteTail(out);
    Check(out.size() == COGLText::kTailSize, "written again as 82 bytes");
    COGLText again;
    ByteReader back(out.data());
    Check(again.ReadTail(back), "what was written reads");
    Check(again.Text() == characters && again.Font() == text.Font() && again.Extrusion() == text.Extrusion()
              && again.IsCentered() == text.IsCentered() && again.Metrics() == text.Metrics(),
          "into the same object");
    ByteWriter twice;
    again.WriteTail(twice);
    Check(twice.data() == out.data(), "and the same bytes");
    return 0;
}
