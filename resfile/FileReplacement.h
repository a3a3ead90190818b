#pragma once
// Writing a file anew without ever leaving a half-written one in its place.
//
// The new contents go to a staging file beside the target (same folder, so
// the rename cannot cross file systems; same extension, so a container set
// opens it like the target). Commit syncs the staging file, renames it over
// the target in one step and syncs the folder: after a crash at any moment
// the target holds either all of its old contents or all of its new ones.
// A replacement that is not committed removes its staging file when it ends,
// so a failed write leaves nothing behind.
//
// Compaction, the clone into the working object file and the scene file all
// write their files this way.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelvane {

class CTGFileSystem;

class FileReplacement {
public:
    // `target` need not exist yet. A staging file left by an earlier crash is
    // removed at once.
    explicit FileReplacement(std::string_view target);
    FileReplacement(std::string_view target, CTGFileSystem& fileSystem);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Where to write the new contents: ".NAME.new.EXT" in the target's folder,
    // for a target "NAME.EXT" (on disk as the file system spells it).
    const std::string& StagingPath() const { return staging_; }
    const std::string& TargetPath() const { return target_; }

    // Writes `bytes` as the whole staging file (created, closed again), for
    // a writer that starts from given contents. 0, or the file layer's code:
    // -43, -42 or -50 when the file cannot be made, -46 when writing fails.
    [[nodiscard]] int32_t WriteStaging(std::span<const uint8_t> bytes);

    // Syncs the staging file (which its writer must have closed), renames it
    // over the target and syncs the folder. Returns 0; -48 when there is no
    // staging file, -46 when it cannot be synced or renamed. On failure the
    // target is untouched and the staging file is gone. A failing folder sync
    // is not reported: the rename has happened and cannot be taken back.
    [[nodiscard]] int32_t Commit();
    // Gives up now: the staging file is removed and Commit no longer works.
    void Abandon();

private:
    CTGFileSystem& fileSystem_;
    std::string target_;
    std::string staging_;
    bool done_ = false;
};

// Why a file could not be created at `path`, in words: its folder does not
// exist or cannot be written, else the library's text for `code`.
std::string CreateFailureText(std::string_view path, int32_t code);

enum class SafeWrite { Written, NotCreated, NotWritten };

// Writes `bytes` as the whole new contents of `target` through a
// FileReplacement. NotCreated when the new file cannot be made at all,
// NotWritten when writing or putting it in place fails (an earlier target is
// then unchanged); `error` says why.
[[nodiscard]] SafeWrite WriteFileSafely(std::string_view target, std::span<const uint8_t> bytes, std::string& error);

// Replaces `target` with a copy of `source` through a FileReplacement, so
// that a copy that fails part-way leaves the previous target as it was. False,
// with the reason in `error`, when the source cannot be read or the copy
// cannot be written or put in place.
[[nodiscard]] bool ReplaceWithCopy(std::string_view source, std::string_view target, std::string& error);

} // namespace zelvane
