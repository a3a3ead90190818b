#include "plugins/host/CPlugin.h"


#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>

namespace zelvane {

namespace {

// dlsym hands back an object pointer; POSIX guarantees it converts to a function pointer.
template <typename Function>
Function LookUp(void* module, const char* exportName)
{
    return reinterpret_cast<Function>(::dlsym(module, exportName));
}

// Calls the export when present; a missing export or a null text gives the fallback.
const char* TextOf(ZelplugTextFunction function, const char* fallback)
{
    if (!function)
        return fallback;
    const char* text = function();
    return text ? text : fallback;
}

bool SameText(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// The items of a ";"-separated list, without empty ones, dots in front, or
// more than the limits allow; `fallback` alone when none is left.
std::vector<std::string> ExtensionList(std::string_view list, const char* fallback)
{
    std::vector<std::string> extensions;
    for (size_t start = 0; start <= list.size() && extensions.size() < kMaxPluginExtensions;) {
        const size_t end = std::min(list.find(ZELPLUG_EXTENSION_SEPARATOR, start), list.size());
        std::string_view item = list.substr(start, end - start);
        while (!item.empty() && (item.front() == ' ' || item.front() == '.' || item.front() == '*'))
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        if (!item.empty() && item.size() <= kMaxExtensionLength &&
            std::none_of(extensions.begin(), extensions.end(), [&](const std::string& e) { return SameText(e, item); }))
            extensions.emplace_back(item);
        start = end + 1;
    }
    if (extensions.empty())
        extensions.emplace_back(fallback);
    return extensions;
}

} // namespace

CPlugin::~CPlugin() = default;

Status CPlugin::Load(const std::string& path)
{
    path_ = path;
    // Every symbol resolved now, so a library missing a dependency is
    // skipped here instead of failing in the middle of an import.
    module_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module_) {
        const char* reason = ::dlerror();
        loadFailure_ = reason ? reason : "the library does not load";
        return Status::Failure(loadFailure_);
    }
    import_ = LookUp<ZelplugImportFunction>(module_, ZELPLUG_IMPORT);
    if (!import_) {
        loadFailure_ = "it exports no " ZELPLUG_IMPORT;
        return Status::Failure(kNoImportRoutineText);
    }
    getMenuName_ = LookUp<ZelplugTextFunction>(module_, ZELPLUG_GET_MENU_NAME);
    menuName_ = TextOf(getMenuName_, kFallbackMenuName);
    getName_ = LookUp<ZelplugTextFunction>(module_, ZELPLUG_GET_NAME);
    name_ = TextOf(getName_, kFallbackName);
    getDescription_ = LookUp<ZelplugTextFunction>(module_, ZELPLUG_GET_DESCRIPTION);
    description_ = TextOf(getDescription_, kFallbackDescription);
    getAuthor_ = LookUp<ZelplugTextFunction>(module_, ZELPLUG_GET_AUTHOR);
    author_ = TextOf(getAuthor_, kFallbackAuthor);
    getFilterExt_ = LookUp<ZelplugTextFunction>(module_, ZELPLUG_GET_FILTER_EXT);
    filterExt_ = TextOf(getFilterExt_, kFallbackFilterExt);
    getFilterName_ = LookUp<ZelplugTextFunction>(module_, ZELPLUG_GET_FILTER_NAME);
    filterName_ = TextOf(getFilterName_, kFallbackFilterName);
    importMaterials_ = LookUp<ZelplugImportMaterialsFunction>(module_, ZELPLUG_IMPORT_MATERIALS);
    getFilterExts_ = LookUp<ZelplugTextFunction>(module_, ZELPLUG_GET_FILTER_EXTS);
    // Bounded: the text is the plug-in's, and a missing terminator must not
    // send the scan through the whole library.
    const char* extensions = TextOf(getFilterExts_, filterExt_);
    extensions_ = ExtensionList({extensions, ::strnlen(extensions, kMaxPluginExtensions * (kMaxExtensionLength + 1))},
                                filterExt_);
    importModel_ = LookUp<ZelplugImportModelFunction>(module_, ZELPLUG_IMPORT_MODEL);
    return Status::Ok();
}

void CPlugin::CallImport(const std::string& path, MeshSet& set, MeshMaterials* materials, MeshModelInfo* info) const
{
    if (importModel_ && materials && info)
        importModel_(path.c_str(), &set, materials, info);
    else if (importMaterials_ && materials)
        importMaterials_(path.c_str(), &set, materials);
    else if (import_)
        import_(path.c_str(), &set);
}

std::string CPlugin::FilterText() const
{
    std::string patterns;
    for (const std::string& extension : extensions_)
        patterns += (patterns.empty() ? "*." : ";*.") + extension;
    return std::string(filterName_) + "|" + patterns + "||";
}

bool CPlugin::ReadsExtension(std::string_view extension) const
{
    return std::any_of(extensions_.begin(), extensions_.end(),
                       [&](const std::string& e) { return SameText(e, extension); });
}

std::string CPlugin::FileName() const
{
    return std::filesystem::path(path_).filename().string();
}

bool CPlugin::Exports(const char* exportName) const
{
    const std::string_view name(exportName);
    if (name == ZELPLUG_IMPORT)
        return import_ != nullptr;
    if (name == ZELPLUG_GET_MENU_NAME)
        return getMenuName_ != nullptr;
    if (name == ZELPLUG_GET_NAME)
        return getName_ != nullptr;
    if (name == ZELPLUG_GET_DESCRIPTION)
        return getDescription_ != nullptr;
    if (name == ZELPLUG_GET_AUTHOR)
        return getAuthor_ != nullptr;
    if (name == ZELPLUG_GET_FILTER_EXT)
        return getFilterExt_ != nullptr;
    if (name == ZELPLUG_GET_FILTER_NAME)
        return getFilterName_ != nullptr;
    if (name == ZELPLUG_IMPORT_MATERIALS)
        return importMaterials_ != nullptr;
    if (name == ZELPLUG_GET_FILTER_EXTS)
        return getFilterExts_ != nullptr;
    if (name == ZELPLUG_IMPORT_MODEL)
        return importModel_ != nullptr;
    return false;
}

} // namespace zelvane
