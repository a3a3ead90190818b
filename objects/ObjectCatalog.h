#pragma once
// The catalog: every object file below the game's three object folders
// (FAR archives included), in search-folder order and then in the file
// system's listing order, depth first, leaving out the game's own system
// objects. Each catalogued file stays open while it is in the catalog.

#include "objects/CObjectFile.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zelvane {

class ObjectCatalog {
public:
    // The folders searched, relative to the game folder, in order.
    static const std::vector<std::string>& SearchFolders();
    // True for the 36 system object file names (exact, letter case included).
    static bool IsLeftOut(std::string_view fileName);

    // Forgets the previous catalog (closing every file of it), creates the
    // download folder, indexes the search folders and scans them. Errors are
    // not reported: files that cannot be opened are passed over.
    void Rebuild(const std::string& gameFolder);
    void Clear();

    const std::string& GameFolder() const { return gameFolder_; }
    const std::vector<std::unique_ptr<CObjectFile>>& Files() const { return files_; }
    // Every listed object of every file, in catalog order.
    std::vector<CObjectEntry*> ListedObjects() const;
    // Every object (members of groups included) using the GUID.
    std::vector<const CObjectEntry*> ObjectsWithGuid(uint32_t guid) const;
    bool GuidInUse(uint32_t guid) const { return guids_.count(guid) > 0; }
    // GUIDs used by more than one object, with the objects that share them.
    std::map<uint32_t, std::vector<const CObjectEntry*>> SharedGuids() const;

private:
    void Scan(const std::string& relativeFolder);

    std::string gameFolder_;
    std::vector<std::unique_ptr<CObjectFile>> files_;
    std::multimap<uint32_t, const CObjectEntry*> guids_;
};

} // namespace zelvane
