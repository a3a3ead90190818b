// make_sample_game OUT: writes the sample game folder (run by the build).

#include "tools/SampleGame.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_game OUT\n");
        return 2;
    }
    const zelvane::SampleGameResult result = zelvane::WriteSampleGame(argv[1]);
    if (!result.error.empty()) {
        std::fprintf(stderr, "make_sample_game: %s\n", result.error.c_str());
        return 1;
    }
    return 0;
}
