#include "app/cli/ResourceArguments.h"

#include "app/cli/CliOutput.h"
#include "app/cli/TypeArgument.h"

namespace zelvane::cli {

bool ResourceArguments::Parse(std::string& error)
{
    if (ParseTypeArgument(typeText, type))
        return true;
    error = Quoted(typeText) + " is not a resource type (1 to 4 characters)";
    return false;
}

void AddResourceOptions(CLI::App& command, ResourceArguments& arguments, std::string_view fileHelp)
{
    command.add_option("FILE", arguments.file, std::string(fileHelp))->required();
    command.add_option("--type,-t", arguments.typeText, "Resource type, such as OBJD, STR# or BMP_")->required();
    command.add_option("--id", arguments.id, "Resource id")->required()->check(CLI::Range(-32768, 32767));
    command.add_option("--attribute", arguments.attribute, "Attribute byte of the resource (default 0)")
        ->check(CLI::Range(0, 255));
}

bool OpenForChange(const ResourceArguments& r, ObjectFileOpener& object, ObjectFileOpener::Found& found,
                   std::string& subject, std::string& error)
{
    subject = r.file;
    return object.Open(r.file, {.purpose = OpenPurpose::Change}, error) &&
           object.FindForChange(r.type, r.Id(), r.Attribute(), found, subject, error);
}

} // namespace zelvane::cli
