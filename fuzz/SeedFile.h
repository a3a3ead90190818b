#pragma once
// Writes one seed input of a fuzz target, for the seed generators.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zelvane::fuzz {

// `folder`/seed-`name` with `bytes`, the folder made when missing. False
// (after saying so on stderr) when it cannot be written.
inline bool WriteSeed(const std::filesystem::path& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / ("seed-" + name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        std::fprintf(stderr, "cannot write seed %s\n", name.c_str());
    return static_cast<bool>(out);
}

} // namespace zelvane::fuzz
