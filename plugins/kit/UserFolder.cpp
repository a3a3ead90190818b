#include "plugins/kit/UserFolder.h"

#include <cstdlib>
#include <string_view>

namespace zelvane::pluginkit {

namespace {

std::string_view Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

std::string WithTrailingSlash(std::string_view folder)
{
    std::string result(folder);
    if (result.empty() || result.back() != '/')
        result += '/';
    return result;
}

} // namespace

std::optional<std::string> UserFolder(const char* variable, const char* belowHome)
{
    // A relative folder is invalid by the convention and is skipped.
    if (const std::string_view base = Env(variable); !base.empty() && base.front() == '/')
        return WithTrailingSlash(base) + "zelvane/";
    if (const std::string_view home = Env("HOME"); !home.empty())
        return WithTrailingSlash(home) + belowHome + "zelvane/";
    return std::nullopt;
}

std::optional<std::string> CacheFolder()
{
    return UserFolder("XDG_CACHE_HOME", ".cache/");
}

} // namespace zelvane::pluginkit
