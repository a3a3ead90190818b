// make_default_maps FOLDER: writes the default floor and wall textures (run by
// the build into the programs' "Maps" folder).

#include "tools/DefaultMaps.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_default_maps FOLDER\n");
        return 2;
    }
    const std::string error = zelvane::WriteDefaultMaps(argv[1]);
    if (!error.empty()) {
        std::fprintf(stderr, "make_default_maps: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
