#pragma once
// An object file opened for the commands that change one (put, remove,
// rename). It is the editor's set ("x.iff" with "x.spf" and "x.dir"), so new
// resources go where the editor would put them. Every change is checked
// before the first byte is written: members packed in FAR archives, or
// otherwise read-only, are refused with a reason.

#include "app/cli/ObjectFile.h"

#include <CLI/CLI.hpp>

#include <string>

namespace zelvane::cli {

struct ResourceArguments;

class EditableObject {
public:
    struct Found {
        CTGResFile* member = nullptr;
        ResHandle* data = nullptr;
        explicit operator bool() const { return data != nullptr; }
    };

    // False when the file cannot be opened or cannot be changed; `error`
    // then says why in a few words.
    bool Open(const std::string& path, std::string& error);

    CTGResFile& Container() { return object_.Container(); }

    // The resource with exactly this type, id and attribute, in the first
    // member that has it. Not found is no error; a resource that is there but
    // cannot be read is (false, with the library's reason in `error`).
    bool Find(ResType type, int16_t id, uint8_t attribute, Found& found, std::string& error);
    // Opens the file and finds the named resource in a member that can be
    // changed; false with `subject` (the file to name) and `error` set when
    // the file cannot be opened, the resource is missing or unreadable, or
    // its member is read-only.
    bool OpenForChange(const ResourceArguments& r, Found& found, std::string& subject, std::string& error);
    // The member a new resource of this type goes to, as the set chooses it;
    // nullptr with the reason in `error` (and `subject`, the file to name)
    // when that member is read-only or no member takes the type.
    CTGResFile* Route(ResType type, std::string& subject, std::string& error);

    // Empty when the member can be written, else why not.
    static std::string WhyReadOnly(CTGResFile& member);
    // A member's file as people should see it.
    static std::string PathOf(CTGResFile& member);

    // Writes what is unwritten and every changed member's map. 0 or the first error.
    int32_t Close();

private:
    ObjectFile object_;
};

// "STR# 130" or "BHAV 4096 attribute 7", for messages.
std::string ResourceText(ResType type, int32_t id, uint8_t attribute);

// The arguments that name one resource of one object file.
struct ResourceArguments {
    std::string file;
    std::string typeText;
    int32_t id = 0;
    int32_t attribute = 0;

    ResType type = 0; // set by Parse
    // False with the message to show when the type is not one.
    bool Parse(std::string& error);
    std::string Text() const { return ResourceText(type, id, static_cast<uint8_t>(attribute)); }
};
// FILE, --type, --id and --attribute, the same for every command that changes a resource.
void AddResourceOptions(CLI::App& command, ResourceArguments& arguments, std::string_view fileHelp);

} // namespace zelvane::cli
