#include "app/cli/RemoveCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/ResourceArguments.h"

#include <iostream>

namespace zelvane::cli {

namespace {

int RunRemove(ResourceArguments& r)
{
    std::string error;
    if (!r.Parse(error))
        return Fail(r.file, error);
    ObjectFileOpener object;
    ObjectFileOpener::Found found;
    std::string subject;
    if (!OpenForChange(r, object, found, subject, error))
        return Fail(subject, error);
    const std::string member = ObjectFileOpener::PathOf(*found.member);

    int32_t result = object.Container().RemoveResource(found.data);
    const int32_t closed = object.Close();
    if (result == kResOk)
        result = closed;
    if (result != kResOk)
        return Fail(r.file, std::string(ResErrorText(result)) + " (" + r.Text() + ")");
    std::cout << Printable(member) << ": " << r.Text() << " removed\n";
    return kExitOk;
}

} // namespace

void AddRemoveCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<ResourceArguments>();
    CLI::App* command = app.add_subcommand("remove", "Remove one resource from an object file");
    AddResourceOptions(*command, *options, "Object file (its companions are searched too)");
    command->callback([options, &status] { status = RunRemove(*options); });
}

} // namespace zelvane::cli
