#pragma once
// Cloning a base object, with its graphics and strings, into the working
// object file: new GUIDs for every cloned object and repaired behaviour code.
//
// The clone is written beside the working file and moved into place only
// when it is complete, so a clone that fails part-way leaves no half-written
// file behind and the previous working object file stays usable.

#include "objects/BehaviourRepair.h"
#include "objects/CObjectEntry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zelvane {

class CObjectFile;

struct ClonedGuid {
    int16_t definitionId = 0;
    std::string resourceName;
    uint32_t oldGuid = 0;
    uint32_t newGuid = 0;
};

struct RepairedBehaviour {
    int16_t id = 0;
    std::string name;
    BehaviourLayout layout = BehaviourLayout::Unknown;
    std::vector<GuidPatch> patches;
};

struct CloneResult {
    bool succeeded = false;
    int32_t error = 0;
    std::vector<ClonedGuid> guids;
    std::vector<RepairedBehaviour> behaviours; // only those that changed
    std::vector<std::string> copied;           // "TYPE #id" of every resource written
};

struct CloneOptions {
    std::string targetPath;                    // the working object file (".iff")
    // True for GUIDs already used elsewhere (the catalog); a new GUID is drawn
    // again when it is 0, used there, or used by the clone itself.
    std::function<bool(uint32_t)> guidInUse;
};

// Clones `object` (and, for a master, its group members). Failures are shown
// through the reporter with the messages people know, and returned.
CloneResult CloneObject(const CObjectEntry& object, const CloneOptions& options);

// Opens the working object file and builds its lists, reading the first
// listed object's catalog strings; shows "Could NOT open new object file!"
// and returns nullptr when it cannot be opened.
std::unique_ptr<CObjectFile> OpenWorkingObjectFile(const std::string& path);

// Where the working object file lives: zeltemp.iff in the per-user data
// folder ($XDG_DATA_HOME/zelvane, or ~/.local/share/zelvane), created on demand.
std::string DefaultWorkingObjectFilePath();

} // namespace zelvane
