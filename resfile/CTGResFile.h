#pragma once
// The abstract resource container. A container is opened by path; its
// resources are found by type and id, by type and name, or by type and
// 1-based index, and a found resource's data is handed out as a ResHandle that
// the container keeps and reuses. Every operation first clears the last error
// (to -49 when the container must be open and is not) and then leaves its own
// result there; GetLastError reads it. No exception crosses this interface.

#include "resfile/IffIndex.h"
#include "resfile/ResErrors.h"
#include "resfile/ResHandle.h"
#include "resfile/ResType.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zelvane {

enum class ResConverted { No, Yes };

class CTGResFile {
public:
    CTGResFile() = default;
    CTGResFile(const CTGResFile&) = delete;
    CTGResFile& operator=(const CTGResFile&) = delete;

    // The virtual operations, in their fixed slot order.
    virtual ~CTGResFile();                                                        // 0
    [[nodiscard]] virtual int32_t CreateContainer(std::string_view path) = 0;                  // 1
    [[nodiscard]] virtual int32_t DeleteContainer(std::string_view path) = 0;                  // 2
    [[nodiscard]] virtual int32_t OpenContainer(std::string_view path) = 0;                    // 3
    [[nodiscard]] virtual int32_t Suspend() = 0;                                               // 4
    [[nodiscard]] virtual int32_t Resume() = 0;                                                // 5
    [[nodiscard]] virtual int32_t CloseContainer() = 0;                                        // 6
    [[nodiscard]] virtual int32_t UpdateContainer() = 0;                                       // 7
    virtual bool IsWritable() = 0;                                               // 8
    virtual void GetFilePath(std::string& path) = 0;                             // 9
    virtual bool IsOpen() = 0;                                                   // 10
    virtual int16_t CountTypes() = 0;                                            // 11
    virtual ResType GetIndType(int32_t index) = 0;                               // 12
    virtual int16_t CountResources(ResType type) = 0;                            // 13
    virtual ResHandle* GetResource(ResType type, int16_t id, ConvertProc convert) = 0;              // 14
    virtual ResHandle* GetNamedResource(ResType type, std::string_view name, ConvertProc convert) = 0; // 15
    virtual ResHandle* GetIndResource(ResType type, int32_t index, ConvertProc convert) = 0;         // 16
    // Default: an attribute other than 0 fails with -91, else GetResource.
    virtual ResHandle* GetResourceEx(ResType type, int16_t id, uint8_t attribute, ConvertProc convert); // 17
    virtual void GetResName(ResHandle* handle, std::string& name) = 0;           // 18
    virtual ResType GetResType(ResHandle* handle) = 0;                           // 19
    virtual void GetResId(ResHandle* handle, int16_t& id) = 0;                   // 20
    virtual int32_t ReservedSlot21();                                            // 21: always -95
    virtual uint8_t GetResAttr(ResHandle* handle) = 0;                           // 22
    virtual void MakeUniqueName(ResType type, std::string& name) = 0;            // 23
    virtual int16_t UniqueId(ResType type) = 0;                                  // 24
    [[nodiscard]] virtual int32_t DetachResource(ResHandle* handle) = 0;                       // 25
    virtual int32_t ReservedSlot26();                                            // 26: always -95
    virtual bool IsConverted(ResHandle* handle) = 0;                             // 27
    // Copies a resource's data, name and attribute into another container as a
    // new unwritten resource there; returns the target's error.
    [[nodiscard]] virtual int32_t CopyResource(ResHandle* handle, CTGResFile& target);         // 28
    [[nodiscard]] virtual int32_t AddResource(ResHandle* handle, ResType type, int16_t id, std::string_view name,
                                ResConverted converted) = 0;                     // 29
    // Default: AddResource with an empty name.
    [[nodiscard]] virtual int32_t AddResourceEx(ResHandle* handle, ResType type, int16_t id, std::string_view name,
                                  uint8_t attribute, ResConverted converted);    // 30
    [[nodiscard]] virtual int32_t WriteResource(ResHandle* handle) = 0;                        // 31
    [[nodiscard]] virtual int32_t RemoveResource(ResHandle* handle) = 0;                       // 32
    [[nodiscard]] virtual int32_t SetResInfo(ResHandle* handle, int16_t id, std::string_view name, int32_t flag) = 0; // 33
    // String #index of the 'STR#' list `listId` (caret text as a fallback),
    // at most 255 characters; empty when there is no such string.
    virtual void GetIndString(std::string& text, int16_t listId, int32_t index); // 34

    // Beyond the fixed slots: writes every change and whatever index the
    // container keeps on disk, and stays open, so that the file as it lies
    // is complete (a copy taken now opens like a closed file). Containers
    // without an index on disk just write their changes (UpdateContainer).
    [[nodiscard]] virtual int32_t CommitContainer();

    int32_t GetLastError() const { return lastError_; }
    // DetachResource, then dispose the handle when that worked: for readers
    // that need a resource's data only while they decode it. Readers may
    // ignore the result: a handle that cannot be detached stays the
    // container's, which disposes of it when it closes.
    int32_t ReleaseResource(ResHandle* handle);

protected:
    int32_t SetError(int32_t error) { return lastError_ = error; }

    int32_t lastError_ = kResOk;
};

} // namespace zelvane
