#pragma once
// A container made of up to 8 member containers. Lookups ask every member in
// slot order; each member's type filter decides only where a new resource
// goes (see AddResourceEx).

#include "resfile/CTGResFile.h"

#include <memory>
#include <vector>

namespace zelvane {

// Mode 0 takes only the listed types, mode 1 every type except them.
enum class FilterMode : int32_t { Only = 0, Except = 1 };

class CTGResFileSet : public CTGResFile {
public:
    static constexpr size_t kMaxMembers = 8;

    CTGResFileSet();
    ~CTGResFileSet() override;

    // Fills the next free slot (mode 1, empty list: takes everything); false
    // when all 8 are taken (the container is then destroyed).
    [[nodiscard]] bool AddMember(std::unique_ptr<CTGResFile> member);
    size_t MemberCount() const { return members_.size(); }
    CTGResFile* Member(size_t slot) const { return slot < members_.size() ? members_[slot].container.get() : nullptr; }
    // Extends a member's filter list; a list that already holds types of the
    // other mode is left as it is.
    void AddFilterTypes(size_t slot, FilterMode mode, const std::vector<ResType>& types);
    bool Admits(size_t slot, ResType type) const;

    [[nodiscard]] int32_t CreateContainer(std::string_view path) override;
    [[nodiscard]] int32_t DeleteContainer(std::string_view path) override;
    [[nodiscard]] int32_t OpenContainer(std::string_view path) override;
    [[nodiscard]] int32_t Suspend() override;
    [[nodiscard]] int32_t Resume() override;
    [[nodiscard]] int32_t CloseContainer() override;
    [[nodiscard]] int32_t UpdateContainer() override;
    // Commits every writable member.
    [[nodiscard]] int32_t CommitContainer() override;
    bool IsWritable() override;
    void GetFilePath(std::string& path) override;
    bool IsOpen() override;
    int16_t CountTypes() override;
    ResType GetIndType(int32_t index) override;
    int16_t CountResources(ResType type) override;
    ResHandle* GetResource(ResType type, int16_t id, ConvertProc convert) override;
    ResHandle* GetNamedResource(ResType type, std::string_view name, ConvertProc convert) override;
    ResHandle* GetIndResource(ResType type, int32_t index, ConvertProc convert) override;
    ResHandle* GetResourceEx(ResType type, int16_t id, uint8_t attribute, ConvertProc convert) override;
    void GetResName(ResHandle* handle, std::string& name) override;
    ResType GetResType(ResHandle* handle) override;
    void GetResId(ResHandle* handle, int16_t& id) override;
    uint8_t GetResAttr(ResHandle* handle) override;
    void MakeUniqueName(ResType type, std::string& name) override;
    int16_t UniqueId(ResType type) override;
    [[nodiscard]] int32_t DetachResource(ResHandle* handle) override;
    bool IsConverted(ResHandle* handle) override;
    [[nodiscard]] int32_t AddResource(ResHandle* handle, ResType type, int16_t id, std::string_view name,
                        ResConverted converted) override;
    [[nodiscard]] int32_t AddResourceEx(ResHandle* handle, ResType type, int16_t id, std::string_view name, uint8_t attribute,
                          ResConverted converted) override;
    [[nodiscard]] int32_t WriteResource(ResHandle* handle) override;
    [[nodiscard]] int32_t RemoveResource(ResHandle* handle) override;
    [[nodiscard]] int32_t SetResInfo(ResHandle* handle, int16_t id, std::string_view name, int32_t flag) override;

    // True when some writable member's filter admits the type.
    virtual bool CanAddType(ResType type);

protected:
    struct Slot {
        std::unique_ptr<CTGResFile> container;
        std::vector<ResType> filter;
        FilterMode mode = FilterMode::Except;
    };
    void DestroyMembers();
    std::vector<ResType> CollectTypes();
    // Asks each member in turn until one answers with last error 0.
    template <typename Ask> void AskUntilSuccess(int32_t errorWhenNone, Ask ask);
    // Asks each writable member in turn until one answers with last error 0.
    template <typename Ask> void AskWritableUntilSuccess(Ask ask);

    std::vector<Slot> members_;
};

} // namespace zelvane
