// make_synthetic_game: writes a synthetic game folder for benchmarks and tests.
// Usage: make_synthetic_game --out DIR [--seed N] [--files N]

#include "tools/SyntheticGame.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

template <typename Number> bool ParseNumber(const char* text, Number& value)
{
    const std::string_view view(text);
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
    return error == std::errc() && end == view.data() + view.size();
}

int Usage(const char* program)
{
    std::fprintf(stderr, "usage: %s --out DIR [--seed N] [--files N]\n", program);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    zelvane::SyntheticGameOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (i + 1 >= argc)
            return Usage(argv[0]);
        const char* value = argv[++i];
        if (arg == "--out")
            options.out = value;
        else if (arg == "--seed" && ParseNumber(value, options.seed))
            continue;
        else if (arg == "--files" && ParseNumber(value, options.files) && options.files > 0)
            continue;
        else
            return Usage(argv[0]);
    }
    if (options.out.empty())
        return Usage(argv[0]);

    const zelvane::SyntheticGameSummary summary = zelvane::WriteSyntheticGame(options);
    if (!summary.error.empty()) {
        std::fprintf(stderr, "make_synthetic_game: %s\n", summary.error.c_str());
        return 1;
    }
    std::printf("files:        %u (%u loose, %u in %u archives)\n", summary.files, summary.looseFiles,
                summary.archivedFiles, summary.archives);
    std::printf("total bytes:  %llu (%.1f MiB)\n", static_cast<unsigned long long>(summary.objectBytes),
                static_cast<double>(summary.objectBytes) / (1024.0 * 1024.0));
    std::printf("median size:  %llu bytes\n", static_cast<unsigned long long>(summary.medianFileBytes));
    return 0;
}
