#include "app/cli/DumpCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/ObjectArguments.h"
#include "app/cli/TypeArgument.h"
#include "objects/ObjectFileOpener.h"
#include "resfile/ResErrors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <span>

namespace zelvane::cli {

namespace {

struct DumpOptions {
    ObjectFileArgument file;
    std::string type;
    std::optional<int32_t> id;
    std::optional<int32_t> index;
    int32_t attribute = 0;
    std::string output;
};

// Writes all bytes or fails with the system's reason.
bool WriteAll(std::FILE* out, std::span<const uint8_t> bytes, std::string& error)
{
    if ((!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) ||
        std::fflush(out) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

int RunDump(const DumpOptions& options)
{
    ResType type = 0;
    if (!ParseTypeArgument(options.type, type))
        return Fail(options.file.file, Quoted(options.type) + " is not a resource type (1 to 4 characters)");

    ObjectFileOpener object;
    std::string file;
    std::string error;
    if (!OpenObjectFile(options.file, {}, object, file, error))
        return Fail(file, error);

    // No convert callback: the bytes exactly as stored in the file.
    CTGResFile& container = object.Container();
    ResHandle* data = nullptr;
    std::string wanted = ResTypeName(type);
    if (options.id) {
        data = container.GetResourceEx(type, static_cast<int16_t>(*options.id),
                                       static_cast<uint8_t>(options.attribute), nullptr);
        wanted += " id " + std::to_string(*options.id);
        if (options.attribute != 0)
            wanted += " attribute " + std::to_string(options.attribute);
    } else {
        data = container.GetIndResource(type, *options.index, nullptr);
        wanted += " #" + std::to_string(*options.index);
    }
    if (!data)
        return Fail(file, std::string(ResErrorText(container.GetLastError())) + " (" + wanted + ")");

    if (options.output.empty()) {
        if (!WriteAll(stdout, data->Bytes(), error))
            return Fail("standard output", error);
        return kExitOk;
    }
    std::FILE* out = std::fopen(options.output.c_str(), "wb");
    if (!out)
        return Fail(options.output, std::strerror(errno));
    const bool written = WriteAll(out, data->Bytes(), error);
    const bool closed = std::fclose(out) == 0;
    if (written && closed)
        return kExitOk;
    if (written)
        error = std::strerror(errno);
    return Fail(options.output, error);
}

} // namespace

void AddDumpCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<DumpOptions>();
    CLI::App* command = app.add_subcommand("dump", "Write one resource's raw data to standard output or a file");
    AddObjectFileArgument(*command, options->file, "Object file (its companions are searched too)");
    command->add_option("--type,-t", options->type, "Resource type, such as OBJD, STR# or BMP_")->required();
    CLI::App* which = command->add_option_group("resource", "Which resource of the type");
    CLI::Option* id = which->add_option("--id", options->id, "Resource id")->check(CLI::Range(-32768, 32767));
    which->add_option("--index", options->index, "1-based place among the resources of the type (the # of list)")
        ->check(CLI::Range(1, 32767));
    which->require_option(1);
    command->add_option("--attribute", options->attribute, "Attribute byte of the resource (with --id)")
        ->check(CLI::Range(0, 255))
        ->needs(id);
    command->add_option("--output,-o", options->output, "Write to this file instead of standard output");
    command->callback([options, &status] { status = RunDump(*options); });
}

} // namespace zelvane::cli
