#include "plugins/kit/TexturePath.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace zelvane::pluginkit {

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// The entry of `folder` named `name`: as written when it exists, else the
// first in sorted order that equals it without regard to case.
std::optional<fs::path> FindEntry(const fs::path& folder, const std::string& name)
{
    std::error_code ec;
    if (name == "." || name == "..")
        return folder / name;
    if (fs::exists(folder / name, ec))
        return folder / name;
    const std::string wanted = Lower(name);
    std::optional<std::string> best;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string found = it->path().filename().string();
        if (Lower(found) == wanted && (!best || found < *best))
            best = found;
    }
    if (!best)
        return std::nullopt;
    return folder / *best;
}

std::optional<fs::path> FindSteps(fs::path at, const std::vector<std::string>& steps)
{
    for (const std::string& step : steps) {
        std::optional<fs::path> next = FindEntry(at, step);
        if (!next)
            return std::nullopt;
        at = std::move(*next);
    }
    std::error_code ec;
    if (!fs::is_regular_file(at, ec))
        return std::nullopt;
    return at;
}

} // namespace

std::string ResolveTexturePath(std::string_view modelPath, std::string_view textureName, size_t maxLength)
{
    std::string name(textureName);
    for (char& c : name)
        if (c == '\\')
            c = '/';
    // A drive or a root of the machine the model was made on means nothing here.
    const bool rooted = (name.size() >= 2 && name[1] == ':') || (!name.empty() && name.front() == '/');
    if (rooted)
        name = name.substr(name.find_last_of("/:") + 1);
    std::vector<std::string> steps;
    for (size_t start = 0; start <= name.size();) {
        const size_t slash = std::min(name.find('/', start), name.size());
        if (slash > start)
            steps.push_back(name.substr(start, slash - start));
        start = slash + 1;
    }
    if (steps.empty())
        return {};

    std::error_code ec;
    fs::path folder = fs::absolute(fs::path(std::string(modelPath)), ec).parent_path();
    if (ec)
        folder = fs::path(std::string(modelPath)).parent_path();
    std::optional<fs::path> found = FindSteps(folder, steps);
    if (!found && steps.size() > 1)
        found = FindSteps(folder, {steps.back()});
    fs::path result = found ? *found : folder;
    if (!found)
        for (const std::string& step : steps)
            result /= step;
    std::string text = result.lexically_normal().string();
    if (text.size() > maxLength)
        return {};
    return text;
}

} // namespace zelvane::pluginkit
