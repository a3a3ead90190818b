// Runs a fuzz target over saved inputs without libFuzzer, so that normal
// (gcc, sanitizer) builds check the corpora and the regression inputs as
// ordinary tests. Arguments are files or folders (their files, recursively);
// a target that finds a fault aborts, which fails the run.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool Replay(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE|FOLDER...\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec)) {
            for (const auto& item : std::filesystem::recursive_directory_iterator(arg))
                if (item.is_regular_file())
                    inputs.push_back(item.path());
        } else if (std::filesystem::is_regular_file(arg, ec)) {
            inputs.push_back(arg);
        } else {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 2;
        }
    }
    // A fixed order makes a failure reproducible from the log.
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs found\n");
        return 2;
    }
    size_t replayed = 0;
    for (const auto& path : inputs) {
        std::fprintf(stderr, "replaying %s\n", path.c_str());
        if (!Replay(path))
            return 1;
        ++replayed;
    }
    std::printf("replayed %zu inputs\n", replayed);
    return 0;
}
