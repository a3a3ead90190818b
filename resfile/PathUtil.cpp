#include "resfile/PathUtil.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace zelvane {

PathParts SplitPath(std::string_view path)
{
    PathParts parts;
    const size_t sep = path.find_last_of("\\/");
    const size_t nameStart = sep == std::string_view::npos ? 0 : sep + 1;
    parts.folder = std::string(path.substr(0, nameStart));
    const std::string_view name = path.substr(nameStart);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) {
        parts.base = std::string(name);
    } else {
        parts.base = std::string(name.substr(0, dot));
        parts.extension = std::string(name.substr(dot));
    }
    return parts;
}

std::string ToNativeSeparators(std::string_view path)
{
    std::string result(path);
    for (char& c : result)
        if (c == '\\')
            c = '/';
    return result;
}

std::string AsciiLower(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string NormalizePathKey(std::string_view path)
{
    // Called for every lookup: done by hand, without std::filesystem.
    std::string input = ToNativeSeparators(path);
    if (input.empty() || input.front() != '/') {
        std::error_code ec;
        const std::string cwd = std::filesystem::current_path(ec).generic_string();
        input = (ec ? std::string("/") : cwd) + "/" + input;
    }
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start < input.size()) {
        size_t end = input.find('/', start);
        if (end == std::string::npos)
            end = input.size();
        const std::string_view part(input.data() + start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string key;
    key.reserve(input.size());
    for (std::string_view part : parts) {
        key += '/';
        key += part;
    }
    if (key.empty())
        key.push_back('/');
    return AsciiLower(key);
}

bool WildcardMatch(std::string_view name, std::string_view mask)
{
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    // Greedy match with one backtrack point per "*": linear in practice, never recursive.
    size_t n = 0, m = 0;
    size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && lower(mask[m]) == lower(name[n])))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

} // namespace zelvane
