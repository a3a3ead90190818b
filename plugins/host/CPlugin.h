#pragma once
// One loaded import plug-in: its library (loaded once, never unloaded), its
// seven entry points, the optional ones it has, and the texts it gave when
// it was loaded.

#include "plugins/interface/PluginExports.h"
#include "report/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane {

// The host's texts for a plug-in that does not export a text function.
inline constexpr const char* kFallbackMenuName = "&Unknown plug-in??";
inline constexpr const char* kFallbackName = "Unknown plug-in??";
inline constexpr const char* kFallbackDescription = "No Description.";
inline constexpr const char* kFallbackAuthor = "Unknown plug-in author??";
inline constexpr const char* kFallbackFilterExt = "*";
inline constexpr const char* kFallbackFilterName = "Unknown plug-in description??";
// Limits on what zelplug_GetFilterExts may name.
inline constexpr std::size_t kMaxPluginExtensions = 64;
inline constexpr std::size_t kMaxExtensionLength = 31;
inline constexpr const char* kNoImportRoutineText = "Cannot load plug-in. No import routine defined!";

class CPlugin {
public:
    CPlugin() = default;
    // Releases nothing: the library stays loaded, so its texts stay valid.
    virtual ~CPlugin();
    CPlugin(const CPlugin&) = delete;
    CPlugin& operator=(const CPlugin&) = delete;

    // Loads the library at `path` and, when it exports zelplug_Import, calls
    // each text function it exports once, in the order menu name, name,
    // description, author, filter extension, filter name. Fails when the
    // plug-in cannot be used: the library does not load (LibraryLoaded()
    // false), or it exports no zelplug_Import ("Cannot load plug-in. No
    // import routine defined!"; the library stays loaded). LoadFailure()
    // says why, for the log.
    Status Load(const std::string& path);
    bool LibraryLoaded() const { return module_ != nullptr; }

    // Calls zelplug_ImportModel when the plug-in has it and `materials` and
    // `info` are given, else zelplug_ImportMaterials when it has that and
    // `materials` is given, else zelplug_Import. The caller prepares the
    // records and checks what comes back.
    void CallImport(const std::string& path, MeshSet& set, MeshMaterials* materials = nullptr,
                    MeshModelInfo* info = nullptr) const;
    bool HasMaterials() const { return importMaterials_ != nullptr || importModel_ != nullptr; }
    bool HasModelInfo() const { return importModel_ != nullptr; }

    // "<filter name>|*.<ext>;*.<ext>||" with every extension, the open
    // dialog's filter.
    std::string FilterText() const;
    // The extensions the plug-in reads, without dots: those of
    // zelplug_GetFilterExts when it has that, else its filter extension.
    const std::vector<std::string>& Extensions() const { return extensions_; }
    // Whether `extension` (without the dot) is one of them, in any case.
    bool ReadsExtension(std::string_view extension) const;

    uint32_t CommandId() const { return commandId_; }
    void SetCommandId(uint32_t id) { commandId_ = id; }
    const std::string& Path() const { return path_; }
    // The library's file name, e.g. "meshport.so".
    std::string FileName() const;
    const std::string& LoadFailure() const { return loadFailure_; }

    // The plug-in's own texts, or the fallbacks above; never null.
    const char* Name() const { return name_; }
    const char* FilterExt() const { return filterExt_; }
    const char* FilterName() const { return filterName_; }
    const char* Author() const { return author_; }
    const char* Description() const { return description_; }
    const char* MenuName() const { return menuName_; }

    // Whether the library exports the function of this name (one of the
    // seven or an optional one).
    bool Exports(const char* exportName) const;

private:
    uint32_t commandId_ = 0;
    void* module_ = nullptr;
    const char* name_ = kFallbackName;
    const char* filterExt_ = kFallbackFilterExt;
    const char* filterName_ = kFallbackFilterName;
    const char* author_ = kFallbackAuthor;
    const char* description_ = kFallbackDescription;
    const char* menuName_ = kFallbackMenuName;
    ZelplugTextFunction getName_ = nullptr;
    ZelplugImportFunction import_ = nullptr;
    ZelplugTextFunction getFilterExt_ = nullptr;
    ZelplugTextFunction getFilterName_ = nullptr;
    ZelplugTextFunction getAuthor_ = nullptr;
    ZelplugTextFunction getDescription_ = nullptr;
    ZelplugTextFunction getMenuName_ = nullptr;
    ZelplugImportMaterialsFunction importMaterials_ = nullptr;
    ZelplugTextFunction getFilterExts_ = nullptr;
    ZelplugImportModelFunction importModel_ = nullptr;
    std::vector<std::string> extensions_{kFallbackFilterExt};
    std::string path_;
    std::string loadFailure_;
};

} // namespace zelvane
