#include "app/cli/TreeCommand.h"

#include "app/cli/CliOutput.h"
#include "resfile/CTGFileSystem.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace zelvane::cli {

namespace fs = std::filesystem;

namespace {

struct TreeOptions {
    std::string folder;
    bool json = false;
    bool noArchives = false;
};

struct TreeRow {
    std::string path; // relative to the mounted folder, "/" separated
    std::string name;
    int depth = 0;
    bool folder = false;
    bool fromArchive = false;
    std::optional<uint64_t> size; // files only
    std::string archive;          // the archive an entry comes from
};

// Depth-first in the order FindFirst/FindNext give, which is the tree's own.
void Walk(const CTGFileSystem& fileSystem, const std::string& base, const std::string& relative, int depth,
          std::vector<TreeRow>& rows)
{
    const std::string folder = relative.empty() ? base : base + "/" + relative;
    FsFind find;
    FsFindData item;
    for (bool more = fileSystem.FindFirst(folder + "/*", find, item); more; more = fileSystem.FindNext(find, item)) {
        TreeRow row;
        row.name = item.name;
        row.path = relative.empty() ? item.name : relative + "/" + item.name;
        row.depth = depth;
        row.folder = item.folder;
        FsEntryInfo info;
        if (fileSystem.Lookup(base + "/" + row.path, info)) {
            std::error_code ec;
            if (info.inArchive) {
                row.fromArchive = true;
                row.archive = info.realPath;
                row.size = info.length;
            } else if (info.folder) {
                // Folders named only by archive entries do not exist on disk.
                row.fromArchive = !fs::is_directory(info.realPath, ec);
            } else if (const auto size = fs::file_size(info.realPath, ec); !ec) {
                row.size = size;
            }
        }
        rows.push_back(row);
        if (row.folder)
            Walk(fileSystem, base, row.path, depth + 1, rows);
    }
}

void PrintText(const std::vector<TreeRow>& rows)
{
    TextTable table({{"NAME"}, {"KIND"}, {"FROM"}, {"SIZE", Align::Right}, {"ARCHIVE"}});
    for (const TreeRow& row : rows)
        table.AddRow({std::string(2 * static_cast<size_t>(row.depth), ' ') + Printable(row.name) + (row.folder ? "/" : ""),
                      row.folder ? "folder" : "file", row.fromArchive ? "archive" : "plain",
                      row.size ? std::to_string(*row.size) : "", Printable(row.archive)});
    table.Print(std::cout);
}

void PrintJsonTree(const std::string& folder, const std::vector<TreeRow>& rows)
{
    nlohmann::ordered_json entries = nlohmann::ordered_json::array();
    for (const TreeRow& row : rows)
        entries.push_back({{"path", row.path},
                           {"name", row.name},
                           {"depth", row.depth},
                           {"kind", row.folder ? "folder" : "file"},
                           {"inArchive", row.fromArchive},
                           {"size", row.size ? nlohmann::ordered_json(*row.size) : nlohmann::ordered_json(nullptr)},
                           {"archive", row.archive.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(row.archive)}});
    PrintJson(std::cout, {{"folder", folder}, {"entries", std::move(entries)}});
}

int RunTree(const TreeOptions& options)
{
    std::error_code ec;
    if (!fs::exists(options.folder, ec))
        return Fail(options.folder, "no such folder");
    if (!fs::is_directory(options.folder, ec))
        return Fail(options.folder, "not a folder");

    std::string base = options.folder;
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    CTGFileSystem& fileSystem = CTGFileSystem::Instance();
    // Archives that cannot be read are skipped by the mount; say which.
    fileSystem.SetDebugSink([](const std::string& message) { std::cerr << "zelvane-cli: warning: " << message << '\n'; });
    fileSystem.Mount(base, MountRecurse::Yes, options.noArchives ? MountArchives::No : MountArchives::Yes);
    fileSystem.SetDebugSink(nullptr);

    std::vector<TreeRow> rows;
    Walk(fileSystem, base == "/" ? std::string() : base, {}, 0, rows);
    if (options.json)
        PrintJsonTree(options.folder, rows);
    else
        PrintText(rows);
    return kExitOk;
}

} // namespace

void AddTreeCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<TreeOptions>();
    CLI::App* command = app.add_subcommand(
        "tree", "Show a folder as zelvane's file system sees it, with the contents of FAR archives in place");
    command->add_option("FOLDER", options->folder, "Folder to mount (with its sub-folders)")->required();
    command->add_flag("--json", options->json, "Print JSON instead of a table");
    command->add_flag("--no-archives", options->noArchives, "Do not open FAR archives (they are then not listed)");
    command->callback([options, &status] { status = RunTree(*options); });
}

} // namespace zelvane::cli
