#include "app/cli/EditableObject.h"

#include "app/cli/CliOutput.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGResFileSet.h"
#include "app/cli/TypeArgument.h"

namespace zelvane::cli {

std::string ResourceText(ResType type, int32_t id, uint8_t attribute)
{
    std::string text = ResTypeName(type) + " " + std::to_string(id);
    if (attribute != 0)
        text += " attribute " + std::to_string(attribute);
    return text;
}

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

std::string EditableObject::PathOf(CTGResFile& member)
{
    std::string path;
    member.GetFilePath(path);
    return DisplayPath(path);
}

std::string EditableObject::WhyReadOnly(CTGResFile& member)
{
    std::string path;
    member.GetFilePath(path);
    FsEntryInfo info;
    if (CTGFileSystem::Instance().Lookup(path, info) && info.inArchive)
        return "is inside the archive " + info.realPath + "; files in archives cannot be changed";
    if (!member.IsWritable())
        return "is read-only";
    return {};
}

bool EditableObject::Open(const std::string& path, std::string& error)
{
    // Checked before anything opens the file for writing.
    MountFolderOf(path);
    FsEntryInfo info;
    if (CTGFileSystem::Instance().Lookup(path, info) && info.inArchive) {
        error = "is inside the archive " + info.realPath + "; files in archives cannot be changed";
        return false;
    }
    if (!object_.Open(path, IndexMode::PreferMap, error))
        return false;
    // The file named must be writable itself; its companions are checked
    // when a change reaches them.
    for (CTGResFile* member : object_.Members()) {
        std::string memberPath;
        member->GetFilePath(memberPath);
        if (DisplayPath(memberPath) == DisplayPath(path)) {
            error = WhyReadOnly(*member);
            return error.empty();
        }
    }
    return true;
}

bool EditableObject::OpenForChange(const ResourceArguments& r, Found& found, std::string& subject, std::string& error)
{
    subject = r.file;
    if (!Open(r.file, error))
        return false;
    if (!Find(r.type, static_cast<int16_t>(r.id), static_cast<uint8_t>(r.attribute), found, error))
        return false;
    if (!found) {
        error = std::string(ResErrorText(kErrNoSuchResource)) + " (" + r.Text() + ")";
        return false;
    }
    if (const std::string why = WhyReadOnly(*found.member); !why.empty()) {
        subject = PathOf(*found.member);
        error = why + " (" + r.Text() + " is there)";
        return false;
    }
    return true;
}

bool EditableObject::Find(ResType type, int16_t id, uint8_t attribute, Found& found, std::string& error)
{
    found = {};
    for (CTGResFile* member : object_.Members()) {
        ResHandle* data = member->GetResourceEx(type, id, attribute, nullptr);
        const int32_t code = member->GetLastError();
        if (data) {
            // Lookups with an attribute fall back to attribute 0: that is another resource.
            if (member->GetResAttr(data) != attribute)
                continue;
            found = {member, data};
            return true;
        }
        if (code != kErrNoSuchResource && code != kErrNoSuchName && code != kErrAttrUnsupported) {
            error = PathOf(*member) + ": " + ResourceText(type, id, attribute) + " cannot be read (" +
                    ResErrorText(code) + ")";
            return false;
        }
    }
    return true;
}

CTGResFile* EditableObject::Route(ResType type, std::string& subject, std::string& error)
{
    const std::vector<CTGResFile*> members = object_.Members();
    auto* set = dynamic_cast<CTGResFileSet*>(&object_.Container());
    CTGResFile* readOnly = nullptr;
    for (size_t slot = 0; slot < members.size(); ++slot) {
        if (set && !set->Admits(slot, type))
            continue;
        if (WhyReadOnly(*members[slot]).empty())
            return members[slot];
        if (!readOnly)
            readOnly = members[slot];
    }
    if (readOnly) {
        subject = PathOf(*readOnly);
        error = WhyReadOnly(*readOnly);
    } else {
        subject.clear();
        error = ResErrorText(kErrNoFilterAdmits);
    }
    return nullptr;
}

int32_t EditableObject::Close()
{
    return object_.Container().CloseContainer();
}

} // namespace zelvane::cli
