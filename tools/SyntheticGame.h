#pragma once
// A synthetic stand-in for an installed game: object files spread over the
// three object folders, a third of them loose and the rest packed into four
// FAR archives, with sizes and resource mixes like real ones. Used by the
// benchmark and by tests that need a whole game folder; the same seed always
// gives the same bytes.

#include <cstdint>
#include <filesystem>
#include <string>

namespace zelvane {

struct SyntheticGameOptions {
    std::filesystem::path out;
    uint64_t seed = 1;
    uint32_t files = 3000;
};

struct SyntheticGameSummary {
    uint32_t files = 0;          // object files, loose and archived
    uint32_t looseFiles = 0;
    uint32_t archivedFiles = 0;
    uint32_t archives = 0;
    uint64_t objectBytes = 0;    // sum of the object files' sizes
    uint64_t medianFileBytes = 0;
    std::string error;           // empty on success, else what could not be written
};

// The folders that hold object files, relative to the game folder, in the
// order the catalog searches them.
inline constexpr const char* kObjectFolders[] = {"Downloads", "GameData/Objects", "GameData/UserObjects"};
inline constexpr uint32_t kSyntheticArchives = 4;

// Writes the game below options.out (created when missing; files already
// there are overwritten). Fails, with summary.error set, when a file cannot
// be written or when an archive would outgrow the format's 32-bit offsets.
SyntheticGameSummary WriteSyntheticGame(const SyntheticGameOptions& options);

} // namespace zelvane
