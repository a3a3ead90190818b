#pragma once
// An IFF object file as a resource container: reading through the resource
// map or a scan of the chunk headers, writing with free-chunk reuse, and the
// map rewrite when a changed container is closed.
//
// Data safety: a changed file carries map offset 0 in its header until the new
// map is written at close (or CommitContainer), so a file whose writer died is
// read by scanning.
// Chunks are written data first and header last, and a resource that moves
// keeps its old chunk until the new one is complete, so at every moment a
// scan finds every resource whose last write completed (or its previous
// version). Compaction writes a new file beside the old one and renames it
// into place.
//
// Damaged files: a chunk is reused as free space only when its header is
// marked free (flag and type "XXXX") and no resource of the index, nor any
// live chunk, claims a byte of it; a resource's chunk is rewritten in place
// or freed only where no other claim overlaps it. Everything else is left as
// it is and new chunks go elsewhere, so an edit never overwrites what a
// damaged file still holds. A removal or rename that must leave such a chunk
// alone changes the index only, and reaches the file with the map at close.

#include "resfile/CTGFile.h"
#include "resfile/CTGResFile.h"
#include "resfile/IffClaims.h"
#include "resfile/IffIndex.h"

#include <optional>
#include <string>

namespace zelvane {

enum class IndexMode { PreferMap, ForceScan };
enum class IndexSource { None, Map, Scan };

class CTGIffFile : public CTGResFile {
public:
    CTGIffFile();
    ~CTGIffFile() override;

    [[nodiscard]] int32_t CreateContainer(std::string_view path) override;
    [[nodiscard]] int32_t DeleteContainer(std::string_view path) override;
    [[nodiscard]] int32_t OpenContainer(std::string_view path) override;
    [[nodiscard]] int32_t Suspend() override;
    [[nodiscard]] int32_t Resume() override;
    [[nodiscard]] int32_t CloseContainer() override;
    [[nodiscard]] int32_t UpdateContainer() override;
    // Writes the changes and the map, and points the header at it, as a
    // close does (without compacting); the file stays open as if just
    // opened through that map. Nothing to do for an unchanged file.
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

    // Opens with a choice of index: the map when usable, or always a scan.
    [[nodiscard]] int32_t OpenContainer(std::string_view path, IndexMode mode);
    // Later opens are read-only even where the file could be written (for
    // looking at files that must not change, such as the game's own).
    void SetOpenReadOnly(bool readOnly) { openReadOnly_ = readOnly; }
    // How the index of the open file was built.
    IndexSource IndexSourceUsed() const { return source_; }
    // Read-only view of the index, for listings.
    const IffIndex& Index() const { return index_; }
    // File offset of the map as last read or written; 0 while changed.
    uint32_t MapOffset() const { return mapOffset_; }
    uint16_t FileVersion() const { return version_; }
    // Makes the next close compact the file whatever its free space (for the
    // command-line "compact"); fails with -45 on a read-only file.
    [[nodiscard]] int32_t CompactOnClose();
    // For files written from scratch that replace another only when complete
    // (a clone): flushes stop syncing, and the file is synced once as it is
    // closed. Ends with the close.
    [[nodiscard]] int32_t SyncOnlyAtClose();

private:
    struct Found {
        IffTypeGroup* group = nullptr;
        IffEntry* entry = nullptr;
        explicit operator bool() const { return entry != nullptr; }
    };

    bool Enter();
    Found FindHandle(const ResHandle* handle);
    Found FindById(ResType type, int32_t id, uint8_t attribute);
    ResHandle* Load(IffTypeGroup& group, IffEntry& entry, ConvertProc convert);
    int32_t BuildIndexByScan();
    bool BuildIndexByMap();
    int32_t ReadChunkHeader(uint64_t offset, ChunkHeader& header);
    void RemoveEntry(IffTypeGroup* group, IffEntry* entry);
    void ReleaseAll();

    int32_t PrepareClaims();
    bool IsFreeSpace(uint64_t offset, const ChunkHeader& header) const;
    uint32_t CountFreeSpace();
    int32_t WriteChunkHeader(uint64_t offset, const ChunkHeader& header);
    int32_t RewriteFileHeader(uint32_t mapOffset);
    int32_t FreeChunk(uint64_t offset);
    int32_t LetGoOfChunk(ResType type, const IffEntry& entry);
    int32_t AllocateChunk(uint32_t dataLength, uint64_t& offset);
    int32_t Compact();
    int32_t WriteMap();
    // Whether a resource of the index was added but never written.
    bool HasUnwritten() const;

    CTGFile file_;
    IffIndex index_;
    // Built at the first change of a session, cleared when the file is
    // replaced or closed.
    IffClaims claims_;
    bool claimsReady_ = false;
    int64_t nextFit_ = -1;
    uint32_t mapOffset_ = 0;
    bool changed_ = false;
    std::optional<std::string> resumePath_;
    IndexSource source_ = IndexSource::None;
    uint16_t version_ = 0;
    bool compactOnClose_ = false;
    bool syncAtClose_ = false;
    bool openReadOnly_ = false;
};

} // namespace zelvane
