// `far list` and `far extract`.
//
//   1. Opening an archive and reading its manifest
//   2. far list
//   3. far extract: choosing entries, placing them under DIR, copying bytes
//   4. Registration

#include "app/cli/FarCommands.h"

#include "app/cli/CliOutput.h"
#include "resfile/FarManifest.h"
#include "resfile/PathUtil.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvane::cli {

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------
// 1. Opening an archive

class ArchiveFile {
public:
    ~ArchiveFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    // False with a reason when the archive cannot be read at all.
    bool Open(const std::string& path, std::string& error)
    {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
            error = errno == ENOENT ? "no such file" : std::strerror(errno);
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            error = S_ISDIR(st.st_mode) ? "is a folder, not an archive" : "not a regular file";
            return false;
        }
        size_ = static_cast<uint64_t>(st.st_size);
        return true;
    }
    int fd() const { return fd_; }
    uint64_t size() const { return size_; }

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

// Notes about skipped entries are warnings; a manifest that ended early is
// an error, reported by its last note. Returns the exit status so far.
int ReportNotes(const std::string& archive, const FarManifest& manifest)
{
    const size_t warnings = manifest.complete || manifest.notes.empty() ? manifest.notes.size()
                                                                        : manifest.notes.size() - 1;
    for (size_t i = 0; i < warnings; ++i)
        Warn(archive, manifest.notes[i]);
    if (manifest.complete)
        return kExitOk;
    return Fail(archive, manifest.notes.empty() ? "manifest could not be read" : manifest.notes.back());
}

// ---------------------------------------------------------------------------
// 2. far list

struct FarListOptions {
    std::string archive;
    bool json = false;
};

int RunFarList(const FarListOptions& options)
{
    ArchiveFile archive;
    std::string error;
    if (!archive.Open(options.archive, error))
        return Fail(options.archive, error);
    const FarManifest manifest = ReadFarManifest(archive.fd(), archive.size());

    // What could be read is still printed: it is what the file system would mount.
    if (!manifest.complete && manifest.entries.empty()) {
        // Not an archive at all, or nothing of it left: the error says it all.
    } else if (options.json) {
        nlohmann::ordered_json entries = nlohmann::ordered_json::array();
        for (const FarEntry& entry : manifest.entries)
            entries.push_back({{"name", entry.name}, {"offset", entry.offset}, {"length", entry.length}});
        PrintJson(std::cout, {{"archive", options.archive},
                              {"complete", manifest.complete},
                              {"entries", std::move(entries)},
                              {"notes", manifest.notes}});
    } else {
        TextTable table({{"OFFSET", Align::Right}, {"LENGTH", Align::Right}, {"NAME"}});
        for (const FarEntry& entry : manifest.entries)
            table.AddRow({std::to_string(entry.offset), std::to_string(entry.length), Printable(entry.name)});
        table.Print(std::cout);
    }
    std::cout.flush();
    return ReportNotes(options.archive, manifest);
}

// ---------------------------------------------------------------------------
// 3. far extract

struct FarExtractOptions {
    std::string archive;
    std::vector<std::string> names;
    std::string folder;
};

// The key under which the file system would know a name.
std::string NameKey(std::string_view name)
{
    return AsciiLower(CleanArchiveName(name));
}

// Picks the entries to write, in manifest order. As when mounting, the first
// entry of a name wins and later ones are skipped.
bool ChooseEntries(const FarExtractOptions& options, const FarManifest& manifest, std::vector<const FarEntry*>& chosen)
{
    std::map<std::string, const FarEntry*> byKey;
    std::vector<const FarEntry*> duplicates;
    for (const FarEntry& entry : manifest.entries)
        if (!byKey.emplace(NameKey(entry.name), &entry).second)
            duplicates.push_back(&entry);

    std::set<const FarEntry*> wanted;
    if (options.names.empty()) {
        for (const auto& [key, entry] : byKey)
            wanted.insert(entry);
    } else {
        std::string missing;
        for (const std::string& name : options.names) {
            auto it = byKey.find(NameKey(name));
            if (it != byKey.end())
                wanted.insert(it->second);
            else
                missing += (missing.empty() ? "" : ", ") + Quoted(name);
        }
        if (!missing.empty()) {
            Fail(options.archive, "no entry named " + missing);
            return false;
        }
    }
    for (const FarEntry* entry : duplicates)
        if (options.names.empty() || wanted.count(byKey[NameKey(entry->name)]))
            Warn(options.archive, "skipped a second entry named " + Quoted(entry->name));
    for (const FarEntry& entry : manifest.entries)
        if (wanted.count(&entry))
            chosen.push_back(&entry);
    return true;
}

// Manifest names are already clean relative paths; what remains is a link
// inside DIR that points elsewhere.
bool StaysInside(const fs::path& root, const fs::path& target)
{
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (ec)
        return false;
    const fs::path relative = resolved.lexically_relative(root);
    return !relative.empty() && *relative.begin() != ".." && relative != ".";
}

bool CopyEntry(int archiveFd, const FarEntry& entry, const fs::path& target, std::string& error)
{
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        error = std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> buffer(65536);
    uint64_t done = 0;
    bool ok = true;
    while (ok && done < entry.length) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), entry.length - done));
        const ssize_t got = ::pread(archiveFd, buffer.data(), want, static_cast<off_t>(entry.offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got == 0 ? "the archive ends inside this entry" : std::strerror(errno);
            ok = false;
            break;
        }
        for (ssize_t written = 0; ok && written < got;) {
            const ssize_t n = ::write(out, buffer.data() + written, static_cast<size_t>(got - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                error = std::strerror(errno);
                ok = false;
            } else {
                written += n;
            }
        }
        done += static_cast<uint64_t>(got);
    }
    if (::close(out) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    return ok;
}

int RunFarExtract(const FarExtractOptions& options)
{
    ArchiveFile archive;
    std::string error;
    if (!archive.Open(options.archive, error))
        return Fail(options.archive, error);
    const FarManifest manifest = ReadFarManifest(archive.fd(), archive.size());
    // Half an archive is not what was asked for: nothing is written then.
    if (const int status = ReportNotes(options.archive, manifest); status != kExitOk)
        return status;

    std::vector<const FarEntry*> chosen;
    if (!ChooseEntries(options, manifest, chosen))
        return kExitFailure;

    std::error_code ec;
    fs::create_directories(options.folder, ec);
    const fs::path root = fs::canonical(options.folder, ec);
    if (ec)
        return Fail(options.folder, ec.message());
    // Every target is checked before the first byte is written.
    std::vector<fs::path> targets;
    for (const FarEntry* entry : chosen) {
        fs::path target = root / fs::path(entry->name);
        if (!StaysInside(root, target))
            return Fail(options.archive, "entry " + Quoted(entry->name) + " would be written outside " +
                                             Quoted(options.folder));
        targets.push_back(std::move(target));
    }
    for (size_t i = 0; i < chosen.size(); ++i) {
        fs::create_directories(targets[i].parent_path(), ec);
        if (ec)
            return Fail(targets[i].parent_path().string(), ec.message());
        if (!CopyEntry(archive.fd(), *chosen[i], targets[i], error))
            return Fail(targets[i].string(), error);
    }
    return kExitOk;
}

} // namespace

// ---------------------------------------------------------------------------
// 4. Registration

void AddFarCommands(CLI::App& app, int& status)
{
    CLI::App* far = app.add_subcommand("far", "Look into FAR archives");
    far->require_subcommand(1);

    auto listOptions = std::make_shared<FarListOptions>();
    CLI::App* list = far->add_subcommand("list", "List the entries of an archive (name, offset, length)");
    list->add_option("ARCHIVE", listOptions->archive, "FAR archive")->required();
    list->add_flag("--json", listOptions->json, "Print JSON instead of a table");
    list->callback([listOptions, &status] { status = RunFarList(*listOptions); });

    auto extractOptions = std::make_shared<FarExtractOptions>();
    CLI::App* extract = far->add_subcommand("extract", "Write entries of an archive into a folder");
    extract->add_option("ARCHIVE", extractOptions->archive, "FAR archive")->required();
    extract->add_option("NAMES", extractOptions->names,
                        "Entries to write (all when none are given; case and separator do not matter)");
    extract->add_option("--output,-o", extractOptions->folder, "Folder to write into (created when missing)")
        ->required();
    extract->callback([extractOptions, &status] { status = RunFarExtract(*extractOptions); });
}

} // namespace zelvane::cli
