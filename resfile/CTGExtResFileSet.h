#pragma once
// A set whose members are the files that share a base name and differ in
// extension: opening "chair.iff" also opens "chair.spf" when that kind of
// member is registered.

#include "resfile/CTGResFileSet.h"

#include <string>
#include <vector>

namespace zelvane {

// What container a registration makes; kind 1 is a container the application
// never registers (nothing can be made of it), kind 0 ends the table.
enum class ContainerKind : int32_t { EndOfTable = 0, Unsupported = 1, Iff = 2, Directory = 3 };

class CTGExtResFileSet : public CTGResFileSet {
public:
    static constexpr size_t kMaxRegistrations = 8;

    CTGExtResFileSet();

    // Ignored for kinds outside 1..3 and after 8 registrations.
    void RegisterExtension(ContainerKind kind, std::string_view extension);
    void ClearRegistrations();
    // Members opened from now on are read-only (see CTGIffFile::SetOpenReadOnly).
    void SetOpenReadOnly(bool readOnly) { openReadOnly_ = readOnly; }

    [[nodiscard]] int32_t OpenContainer(std::string_view path) override;
    [[nodiscard]] int32_t CloseContainer() override;
    [[nodiscard]] int32_t CreateContainer(std::string_view path) override;
    [[nodiscard]] int32_t DeleteContainer(std::string_view path) override;
    // The first member's path without its extension.
    void GetFilePath(std::string& path) override;

protected:
    struct Registration {
        ContainerKind kind;
        std::string extension;
    };
    static std::unique_ptr<CTGResFile> MakeContainer(ContainerKind kind);
    static std::string WithExtension(std::string_view path, std::string_view extension);

    std::vector<Registration> registrations_;
    bool openReadOnly_ = false;
};

} // namespace zelvane
