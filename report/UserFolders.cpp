#include "report/UserFolders.h"

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
    if (result.empty() || result.back() != '/')
        result += '/';
    return result;
}

struct Convention {
    const char* variable;
    const char* belowHome;
};

Convention ConventionOf(UserFolder folder)
{
    switch (folder) {
    case UserFolder::Config: return {"XDG_CONFIG_HOME", ".config/"};
    case UserFolder::Data: return {"XDG_DATA_HOME", ".local/share/"};
    case UserFolder::Cache: return {"XDG_CACHE_HOME", ".cache/"};
    case UserFolder::State: break;
    }
    return {"XDG_STATE_HOME", ".local/state/"};
}

} // namespace

std::optional<std::string> HomeFolder()
{
    const std::string_view home = Env("HOME");
    if (home.empty())
        return std::nullopt;
    return WithTrailingSlash(home);
}

std::optional<std::string> UserFolderPath(UserFolder folder)
{
    const Convention convention = ConventionOf(folder);
    if (const std::string_view base = Env(convention.variable); !base.empty() && base.front() == '/')
        return WithTrailingSlash(base) + "zelvane/";
    if (const std::optional<std::string> home = HomeFolder())
        return *home + convention.belowHome + "zelvane/";
    return std::nullopt;
}

} // namespace zelvane
