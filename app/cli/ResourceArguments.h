#pragma once
// FILE, --type, --id and --attribute: the arguments that name one resource of
// one object file, the same for every command that changes a resource.

#include "objects/ObjectFileOpener.h"

#include <CLI/CLI.hpp>

#include <string>
#include <string_view>

namespace zelvane::cli {

struct ResourceArguments {
    std::string file;
    std::string typeText;
    int32_t id = 0;
    int32_t attribute = 0;

    ResType type = 0; // set by Parse
    // False with the message to show when the type is not one.
    bool Parse(std::string& error);
    int16_t Id() const { return static_cast<int16_t>(id); }
    uint8_t Attribute() const { return static_cast<uint8_t>(attribute); }
    std::string Text() const { return ResourceText(type, id, Attribute()); }
};

void AddResourceOptions(CLI::App& command, ResourceArguments& arguments, std::string_view fileHelp);

// Opens the file for a change and finds the named resource in a member that
// can be changed; false with `subject` (the file to name) and `error` set
// when the file cannot be opened for a change or the resource is missing,
// unreadable or in a member that cannot be written.
[[nodiscard]] bool OpenForChange(const ResourceArguments& r, ObjectFileOpener& object, ObjectFileOpener::Found& found,
                                 std::string& subject, std::string& error);

} // namespace zelvane::cli
