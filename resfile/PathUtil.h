#pragma once
// Path helpers of the file layer. Game folders copied from Windows have mixed
// case and either separator, so lookups go through a normal form: "/" as the
// only separator and ASCII letters in lower case.

#include <string>
#include <string_view>

namespace zelvane {

struct PathParts {
    std::string folder;    // with its trailing separator, empty when there is none
    std::string base;      // file name without extension
    std::string extension; // with its dot, empty when there is none
};

// The last "\" or "/" ends the folder part; the last "." after it starts the extension.
PathParts SplitPath(std::string_view path);

// Replaces every "\" by "/".
std::string ToNativeSeparators(std::string_view path);

// Lookup key: absolute, lexically normal, "/" separated, lower case, without a
// trailing separator (except for the root).
std::string NormalizePathKey(std::string_view path);

// ASCII lower case.
std::string AsciiLower(std::string_view text);

// Case-insensitive wildcard match: "?" is one character, "*" any run.
bool WildcardMatch(std::string_view name, std::string_view mask);

} // namespace zelvane
