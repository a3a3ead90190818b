#pragma once
// A folder served as a read-only container: each plain file is a resource
// whose type is its extension (up to three characters, packed from the most
// significant byte, 0 in the rest), whose name is its file name and whose id
// is its 1-based place among the files of its type in listing order.

#include "resfile/CTGResFile.h"

#include <string>
#include <vector>

namespace zelvane {

class CTGResDir : public CTGResFile {
public:
    CTGResDir();
    ~CTGResDir() override;

    [[nodiscard]] int32_t CreateContainer(std::string_view path) override;
    [[nodiscard]] int32_t DeleteContainer(std::string_view path) override;
    [[nodiscard]] int32_t OpenContainer(std::string_view path) override;
    [[nodiscard]] int32_t Suspend() override;
    [[nodiscard]] int32_t Resume() override;
    [[nodiscard]] int32_t CloseContainer() override;
    [[nodiscard]] int32_t UpdateContainer() override;
    bool IsWritable() override;
    void GetFilePath(std::string& path) override;
    bool IsOpen() override;
    int16_t CountTypes() override;
    ResType GetIndType(int32_t index) override;
    int16_t CountResources(ResType type) override;
    ResHandle* GetResource(ResType type, int16_t id, ConvertProc convert) override;
    ResHandle* GetNamedResource(ResType type, std::string_view name, ConvertProc convert) override;
    ResHandle* GetIndResource(ResType type, int32_t index, ConvertProc convert) override;
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
    [[nodiscard]] int32_t WriteResource(ResHandle* handle) override;
    [[nodiscard]] int32_t RemoveResource(ResHandle* handle) override;
    [[nodiscard]] int32_t SetResInfo(ResHandle* handle, int16_t id, std::string_view name, int32_t flag) override;

    // The type a file name gives, or 0 when it has no extension of 1-3 characters.
    static ResType TypeOfName(std::string_view name);

private:
    struct File {
        ResType type = 0;
        int16_t id = 0;
        std::string name;
        ResHandle* data = nullptr;
    };
    bool Enter();
    File* FindHandle(const ResHandle* handle);
    ResHandle* Load(File& file, ConvertProc convert);

    bool open_ = false;
    std::string folder_;
    std::vector<ResType> types_;
    std::vector<File> files_;
};

} // namespace zelvane
