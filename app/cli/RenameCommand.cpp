#include "app/cli/RenameCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/ResourceArguments.h"
#include "resfile/IffLayout.h"

#include <iostream>
#include <optional>

namespace zelvane::cli {

namespace {

struct RenameOptions {
    ResourceArguments resource;
    std::optional<std::string> name;
    std::optional<int32_t> newId;
};

int RunRename(RenameOptions& options)
{
    ResourceArguments& r = options.resource;
    std::string error;
    if (!r.Parse(error))
        return Fail(r.file, error);
    if (!options.name && !options.newId)
        return Fail(r.file, "nothing to change: give --name, --new-id or both");
    if (options.name && options.name->size() > kMaxLabelLength)
        return Fail(r.file, "the name is longer than " + std::to_string(kMaxLabelLength) + " characters");

    ObjectFileOpener object;
    ObjectFileOpener::Found found;
    std::string subject;
    if (!OpenForChange(r, object, found, subject, error))
        return Fail(subject, error);
    const std::string member = ObjectFileOpener::PathOf(*found.member);
    const uint8_t attribute = r.Attribute();

    const int32_t newId = options.newId.value_or(r.id);
    if (newId != r.id && !object.IdIsFree(r.type, static_cast<int16_t>(newId), attribute, subject, error))
        return Fail(subject, error);
    std::string name;
    CTGResFile& container = object.Container();
    container.GetResName(found.data, name);
    name = options.name.value_or(name);

    int32_t result = container.SetResInfo(found.data, static_cast<int16_t>(newId), name, 0);
    const int32_t closed = object.Close();
    if (result == kResOk)
        result = closed;
    if (result != kResOk)
        return Fail(r.file, std::string(ResErrorText(result)) + " (" + r.Text() + ")");
    std::cout << Printable(member) << ": " << r.Text() << " is now " << ResourceText(r.type, newId, attribute) << ' '
              << Quoted(name) << '\n';
    return kExitOk;
}

} // namespace

void AddRenameCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<RenameOptions>();
    CLI::App* command = app.add_subcommand("rename", "Give a resource another name or id");
    AddResourceOptions(*command, options->resource, "Object file (its companions are searched too)");
    command->add_option("--name", options->name, "New name (an empty text clears it)");
    command->add_option("--new-id", options->newId, "New id")->check(CLI::Range(-32768, 32767));
    command->callback([options, &status] { status = RunRename(*options); });
}

} // namespace zelvane::cli
