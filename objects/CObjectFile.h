#pragma once
// An opened object file: its container (kept open while the file lives), all
// its objects in the order of their OBJD resources, the listed ones (single
// objects and masters of multi-tile groups), and its palettes.

#include "objects/CObjectEntry.h"
#include "resfile/CTGResFile.h"

#include <memory>
#include <string>
#include <vector>

namespace zelvane {

struct PaletteRecord {
    int16_t id = 0;
    std::string name;
    std::vector<uint8_t> data; // the PALT resource as stored
};

class CObjectFile {
public:
    // `path` is shown to people (catalog files: the full path without ".iff").
    CObjectFile(std::string path, std::unique_ptr<CTGResFile> container);
    ~CObjectFile();
    CObjectFile(const CObjectFile&) = delete;
    CObjectFile& operator=(const CObjectFile&) = delete;

    // Fills the lists from the open container. Returns 0, or the container's
    // error when an OBJD could not be read (the objects read so far stay).
    [[nodiscard]] int32_t BuildLists();

    const std::string& Path() const { return path_; }
    CTGResFile& Container() const { return *container_; }
    const std::vector<std::unique_ptr<CObjectEntry>>& Objects() const { return objects_; }
    const std::vector<CObjectEntry*>& ListedObjects() const { return listed_; }
    const std::vector<PaletteRecord>& Palettes() const { return palettes_; }
    CObjectEntry* FindObject(int16_t definitionId) const;

private:
    std::string path_;
    std::unique_ptr<CTGResFile> container_;
    std::vector<std::unique_ptr<CObjectEntry>> objects_;
    std::vector<CObjectEntry*> listed_;
    std::vector<PaletteRecord> palettes_;
};

} // namespace zelvane
