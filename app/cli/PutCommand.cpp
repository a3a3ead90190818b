// `put`: a resource's data from a file, added or replacing what is there.
//
// A new resource goes to the member the editor's set chooses for its type
// (sprite-like types to "x.spf" when there is one). A resource that exists is
// rewritten through its own handle, so the library keeps the old chunk until
// the new one is complete; when the set would now place the type in another
// member, the new copy is written there before the old one is removed.

#include "app/cli/PutCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/ResourceArguments.h"
#include "resfile/IffLayout.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>

namespace zelvane::cli {

namespace {

struct PutOptions {
    ResourceArguments resource;
    std::optional<std::string> name;
    std::string from;
};

constexpr uint64_t kMaxDataLength = kChunkMaxSize - kChunkHeaderSize;

// The whole file, or false with the system's reason.
bool ReadDataFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        error = "no such file";
        return false;
    }
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "not a regular file";
        return false;
    }
    const uint64_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    if (size > kMaxDataLength) {
        error = "too large for a resource (at most " + std::to_string(kMaxDataLength) + " bytes)";
        return false;
    }
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    bytes.resize(size);
    const bool read = bytes.empty() || std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
    if (!read)
        error = std::ferror(in) ? std::strerror(errno) : "the file changed while it was read";
    std::fclose(in);
    return read;
}

// What happened, for the one line on standard output.
struct Outcome {
    std::string member;
    std::string verb;
};

// Rewrites an existing resource in its own member, keeping its flags.
int32_t Replace(CTGResFile& container, const ObjectFileOpener::Found& old, const std::vector<uint8_t>& data,
                const PutOptions& options)
{
    if (!old.data->Resize(static_cast<uint32_t>(data.size())))
        return kErrNoCompactionMemory;
    if (!data.empty())
        std::memcpy(old.data->Data(), data.data(), data.size());
    int32_t error = container.WriteResource(old.data);
    if (error == kResOk && options.name) {
        std::string current;
        container.GetResName(old.data, current);
        if (current != *options.name)
            error = container.SetResInfo(old.data, static_cast<int16_t>(options.resource.id), *options.name, 0);
    }
    return error;
}

// Writes the new copy into `target`, then removes the old one from its member.
int32_t Move(CTGResFile& target, const ObjectFileOpener::Found& old, const std::vector<uint8_t>& data,
             const PutOptions& options)
{
    std::string name;
    old.member->GetResName(old.data, name);
    const ResConverted converted = old.member->IsConverted(old.data) ? ResConverted::Yes : ResConverted::No;
    ResHandle* handle = ResHandle::CreateFrom(data);
    if (!handle)
        return kErrNoCompactionMemory;
    const ResourceArguments& r = options.resource;
    int32_t error = target.AddResourceEx(handle, r.type, static_cast<int16_t>(r.id), options.name.value_or(name),
                                         static_cast<uint8_t>(r.attribute), converted);
    if (error != kResOk) {
        ResHandle::Dispose(handle);
        return error;
    }
    error = target.WriteResource(handle);
    if (error == kResOk)
        error = old.member->RemoveResource(old.data);
    return error;
}

// A new resource goes through the set, which picks its member.
int32_t Add(CTGResFile& container, const std::vector<uint8_t>& data, const PutOptions& options)
{
    ResHandle* handle = ResHandle::CreateFrom(data);
    if (!handle)
        return kErrNoCompactionMemory;
    const ResourceArguments& r = options.resource;
    // Stored as the editor stores what it writes: in the order it reads without conversion.
    int32_t error = container.AddResourceEx(handle, r.type, static_cast<int16_t>(r.id), options.name.value_or(""),
                                            static_cast<uint8_t>(r.attribute), ResConverted::Yes);
    if (error != kResOk) {
        ResHandle::Dispose(handle);
        return error;
    }
    return container.WriteResource(handle);
}

int RunPut(PutOptions& options)
{
    ResourceArguments& r = options.resource;
    std::string error;
    if (!r.Parse(error))
        return Fail(r.file, error);
    if (options.name && options.name->size() > kMaxLabelLength)
        return Fail(r.file, "the name is longer than " + std::to_string(kMaxLabelLength) + " characters");
    // Everything that can be wrong with the input is found before the object file is opened.
    std::vector<uint8_t> data;
    if (!ReadDataFile(options.from, data, error))
        return Fail(options.from, error);

    ObjectFileOpener object;
    if (!object.Open(r.file, {.purpose = OpenPurpose::Change}, error))
        return Fail(r.file, error);
    ObjectFileOpener::Found old;
    if (!object.Find(r.type, r.Id(), r.Attribute(), old, error))
        return Fail(r.file, error);
    std::string subject;
    CTGResFile* target = object.Route(r.type, subject, error);
    if (!target && !old)
        return Fail(subject.empty() ? r.file : subject, error + " (" + r.Text() + ")");

    CTGResFile& container = object.Container();
    Outcome outcome;
    int32_t result = kResOk;
    if (old) {
        if (const std::string why = ObjectFileOpener::WhyReadOnly(*old.member); !why.empty())
            return Fail(ObjectFileOpener::PathOf(*old.member), why + " (" + r.Text() + " is there)");
        if (!target || target == old.member) {
            // No writable member takes the type any more: it stays where it is.
            outcome = {ObjectFileOpener::PathOf(*old.member), "replaced"};
            result = Replace(container, old, data, options);
        } else {
            outcome = {ObjectFileOpener::PathOf(*target), "moved here from " + ObjectFileOpener::PathOf(*old.member)};
            result = Move(*target, old, data, options);
        }
    } else {
        outcome = {ObjectFileOpener::PathOf(*target), "added"};
        result = Add(container, data, options);
    }
    // Closed in any case: what was written completely stays, and the maps are rewritten.
    const int32_t closed = object.Close();
    if (result == kResOk)
        result = closed;
    if (result != kResOk)
        return Fail(r.file, std::string(ResErrorText(result)) + " (" + r.Text() + ")");
    std::cout << Printable(outcome.member) << ": " << r.Text() << ' ' << outcome.verb << " (" << data.size()
              << (data.size() == 1 ? " byte)" : " bytes)") << '\n';
    return kExitOk;
}

} // namespace

void AddPutCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<PutOptions>();
    CLI::App* command = app.add_subcommand(
        "put", "Add a resource from a file, or replace the one of that type, id and attribute");
    AddResourceOptions(*command, options->resource, "Object file (.iff; sprite types go to its .spf when there is one)");
    command->add_option("--name", options->name, "Resource name (a replaced resource keeps its name without it)");
    command->add_option("--from", options->from, "File holding the resource's data")->required();
    command->footer("A new resource is marked as stored converted (flag 0x0010), as the editor writes resources; "
                    "a replaced one keeps its flags.");
    command->callback([options, &status] { status = RunPut(*options); });
}

} // namespace zelvane::cli
