#include "report/LogFolder.h"

#include <cstdlib>
#include <string_view>

namespace zelvane {

namespace {

std::string_view Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

std::string WithTrailingSlash(std::string_view folder)
{
    std::string result(folder);
    if (result.back() != '/')
        result += '/';
    return result;
}

} // namespace

std::optional<std::string> LogFolder()
{
    if (const std::string_view override = Env("ZELVANE_LOG_DIR"); !override.empty())
        return WithTrailingSlash(override);
    // The base-directory convention says relative values are to be ignored.
    if (const std::string_view state = Env("XDG_STATE_HOME"); !state.empty() && state.front() == '/')
        return WithTrailingSlash(state) + "zelvane/";
    if (const std::string_view home = Env("HOME"); !home.empty())
        return WithTrailingSlash(home) + ".local/state/zelvane/";
    return std::nullopt;
}

} // namespace zelvane
