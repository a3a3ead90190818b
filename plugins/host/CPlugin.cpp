#include "plugins/host/CPlugin.h"


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
    return Status::Ok();
}

void CPlugin::CallImport(const std::string& path, MeshSet& set, MeshMaterials* materials) const
{
    if (importMaterials_ && materials)
        importMaterials_(path.c_str(), &set, materials);
    else if (import_)
        import_(path.c_str(), &set);
}

std::string CPlugin::FilterText() const
{
    return std::string(filterName_) + "|*." + filterExt_ + "||";
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
    return false;
}

} // namespace zelvane
