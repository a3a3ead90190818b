// Writes the seed inputs of fuzz_text_tail: the tails of text objects as the
// editor writes them (the default space, words, a 32-character text that
// fills its field, a serif italic face, flat and deep letters, not centred,
// characters above 127), and damaged ones (cut by a byte, a face that is not
// installed and one that fills its field, no text at all, a negative depth,
// an infinite one and one that is not a number, a 0 byte inside the text).
// Usage: make_text_fuzz_seeds CORPUS_FOLDER (writes into its fuzz_text_tail
// sub-folder).

#include "bytes/ByteWriter.h"
#include "fuzz/SeedFile.h"
#include "scene/COGLText.h"

#include <cstdio>
#include <cstring>
#include <limits>

using namespace zelvane;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes TailOf(const COGLText& text)
{
    ByteWriter out;
    text.WriteTail(out);
    return out.take();
}

// A tail with the depth stored as `depth`, whatever the object would hold.
Bytes WithDepth(Bytes tail, float depth)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &depth, sizeof bits);
    for (int i = 0; i < 4; ++i)
        tail[13 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits >> (8 * i));
    return tail;
}

Bytes WithField(Bytes tail, std::size_t offset, const std::string& bytes)
{
    std::fill(tail.begin() + static_cast<std::ptrdiff_t>(offset), tail.begin() + static_cast<std::ptrdiff_t>(offset) + 32, 0);
    std::copy(bytes.begin(), bytes.end(), tail.begin() + static_cast<std::ptrdiff_t>(offset));
    return tail;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_text_fuzz_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "fuzz_text_tail";
    constexpr std::size_t kText = 17, kFace = 49;
    bool ok = true;
    const auto seed = [&](const std::string& name, const Bytes& bytes) { ok &= fuzz::WriteSeed(folder, name, bytes); };

    COGLText text;
    seed("default", TailOf(text));
    text.ReplaceText("Hello, Sims!");
    seed("words", TailOf(text));
    const Bytes words = TailOf(text);
    text.ReplaceText("The quick brown fox jumps over t");
    seed("full-field", TailOf(text));
    text.SetFont("Liberation Serif", 0.0f);
    text.SetItalic(true);
    text.ReplaceText("Caf\xE9 \x80 \xC6\xDF");
    seed("serif-italic-flat", TailOf(text));
    text.SetFont("DejaVu Sans", 3.0f);
    text.SetCentered(false);
    text.ReplaceText("OAB8e");
    seed("deep-not-centred", TailOf(text));

    seed("cut", Bytes(words.begin(), words.end() - 1));
    seed("unknown-face", WithField(words, kFace, "Not A Font"));
    seed("face-fills-field", WithField(words, kFace, std::string(32, 'F')));
    seed("no-text", WithField(words, kText, ""));
    seed("zero-inside-text", WithField(words, kText, std::string("ab\0cd", 5)));
    seed("negative-depth", WithDepth(words, -2.0f));
    seed("infinite-depth", WithDepth(words, std::numeric_limits<float>::infinity()));
    seed("nan-depth", WithDepth(words, std::numeric_limits<float>::quiet_NaN()));
    seed("huge-depth", WithDepth(words, 3.0e38f));
    return ok ? 0 : 1;
}
