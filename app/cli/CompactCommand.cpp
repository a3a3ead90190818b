#include "app/cli/CompactCommand.h"

#include "app/cli/CliOutput.h"
#include "objects/ObjectFileOpener.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGIffFile.h"

#include <filesystem>
#include <iostream>

namespace zelvane::cli {

namespace {

struct CompactOptions {
    std::string file;
    bool json = false;
};

// The file's length on disk, or none when it cannot be asked.
std::optional<uint64_t> SizeOnDisk(const std::string& path)
{
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(CTGFileSystem::Instance().RealPath(path), ec);
    return ec ? std::nullopt : std::optional<uint64_t>(size);
}

int RunCompact(const CompactOptions& options)
{
    // The file alone: its companions keep their free space.
    const ObjectFileOptions alone{.purpose = OpenPurpose::Change, .companions = Companions::Excluded};
    ObjectFileOpener opener;
    if (std::string why; !opener.Open(options.file, alone, why))
        return Fail(options.file, why);
    auto& file = dynamic_cast<CTGIffFile&>(opener.Container());
    const std::optional<uint64_t> before = SizeOnDisk(options.file);
    int32_t error = file.CompactOnClose();
    const int32_t closed = file.CloseContainer();
    if (error == kResOk)
        error = closed;
    if (error != kResOk)
        return Fail(options.file, ResErrorText(error));
    const std::optional<uint64_t> after = SizeOnDisk(options.file);
    if (!before || !after)
        return Fail(options.file, "compacted, but its size cannot be read");

    if (options.json)
        PrintJson(std::cout, {{"file", options.file}, {"bytesBefore", *before}, {"bytesAfter", *after}});
    else
        std::cout << Printable(options.file) << ": " << *before << " bytes before, " << *after << " after\n";
    return kExitOk;
}

} // namespace

void AddCompactCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<CompactOptions>();
    CLI::App* command = app.add_subcommand(
        "compact", "Rewrite one IFF file without its free space (its companions are left as they are)");
    command->add_option("FILE", options->file, "IFF file (.iff or .spf)")->required();
    command->add_flag("--json", options->json, "Print JSON instead of text");
    command->callback([options, &status] { status = RunCompact(*options); });
}

} // namespace zelvane::cli
