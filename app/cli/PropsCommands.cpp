// `props` and `set`.

#include "app/cli/PropsCommands.h"

#include "resfile/CTGFileSystem.h"
#include "resfile/CTGObjResFileSet.h"
#include "app/cli/CliOutput.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectDefinitionEditor.h"
#include "app/cli/ObjectFile.h"
#include "resfile/ResErrors.h"

#include <iostream>
#include <memory>

namespace zelvane::cli {

namespace {

struct PropsOptions {
    std::string file;
    int id = 128;
    bool advanced = false;
    bool json = false;
    std::vector<std::string> assignments;
};

// How a row's value reads: flags and choices by their names.
std::string Shown(const PropertyDescriptor& row, const PropertyValue& value)
{
    if (row.kind == PropertyKind::Flags || row.kind == PropertyKind::Choice) {
        const std::vector<std::string> names = row.Names();
        const std::vector<bool> selected = row.SelectedItems(value.AsInteger());
        std::string text;
        for (size_t i = 0; i < names.size() && i < selected.size(); ++i)
            if (selected[i])
                text += (text.empty() ? "" : ",") + names[i];
        return text.empty() && row.kind == PropertyKind::Choice ? std::to_string(value.AsInteger()) : text;
    }
    return value.AsText();
}

// A value as people type it: names for flags and choices ("Kitchen,Study"),
// numbers for everything numeric, text as it is.
std::optional<PropertyValue> Parsed(const PropertyDescriptor& row, const std::string& text, std::string& why)
{
    if (row.kind == PropertyKind::Flags || row.kind == PropertyKind::Choice) {
        if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-'))
            return PropertyValue::FromInteger(static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 0)));
        int32_t value = 0;
        size_t start = 0;
        while (start <= text.size() && !text.empty()) {
            size_t end = text.find(',', start);
            if (end == std::string::npos)
                end = text.size();
            const std::string name = text.substr(start, end - start);
            start = end + 1;
            const std::optional<int32_t> index = row.NameIndex(name);
            if (!index) {
                why = "'" + name + "' is not one of: " + row.names;
                return std::nullopt;
            }
            value = row.kind == PropertyKind::Flags ? value | (1 << *index) : *index;
        }
        return PropertyValue::FromInteger(value);
    }
    if (row.kind == PropertyKind::Boolean) {
        if (text == "1" || text == "true" || text == "yes")
            return PropertyValue::FromInteger(1);
        if (text == "0" || text == "false" || text == "no")
            return PropertyValue::FromInteger(0);
        why = "a Boolean is 0 or 1";
        return std::nullopt;
    }
    return PropertyValue::FromText(text);
}

std::unique_ptr<CTGObjResFileSet> OpenObjectFile(const std::string& file, bool readOnly, int32_t& error)
{
    MountFolderOf(file);
    auto container = std::make_unique<CTGObjResFileSet>();
    container->SetOpenReadOnly(readOnly);
    error = CTGFileSystem::Instance().Exists(file) ? container->OpenContainer(file) : kErrCannotOpen;
    return container;
}

int RunProps(const PropsOptions& options)
{
    int32_t error = kResOk;
    // Looking never writes: not even the empty catalog strings the editor would add.
    auto container = OpenObjectFile(options.file, true, error);
    if (error != kResOk)
        return Fail(options.file, error == kErrCannotOpen ? "no such object file" : ResErrorText(error));
    ObjectDefinitionEditor editor(*container, static_cast<int16_t>(options.id));
    if (const int32_t loaded = editor.LoadForEditing(); loaded != kResOk)
        return Fail(options.file, "OBJD " + std::to_string(options.id) + ": " + ResErrorText(loaded));

    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    TextTable table({{"PROPERTY"}, {"VALUE"}});
    for (size_t i = 0; i < editor.Table().Size(); ++i) {
        const PropertyDescriptor& row = editor.Table().Row(i);
        if (row.advanced && !options.advanced)
            continue;
        const PropertyValue value = editor.ShowValue(i);
        if (options.json) {
            nlohmann::ordered_json item = {{"name", row.displayName}, {"value", Shown(row, value)}};
            if (row.kind == PropertyKind::Flags || row.kind == PropertyKind::Choice || row.kind == PropertyKind::Boolean)
                item["number"] = value.AsInteger();
            item["help"] = row.helpText;
            json.push_back(item);
        } else {
            table.AddRow({row.displayName, Printable(Shown(row, value))});
        }
    }
    if (options.json)
        PrintJson(std::cout, {{"file", options.file}, {"id", options.id}, {"properties", json}});
    else
        table.Print(std::cout);
    return kExitOk;
}

int RunSet(const PropsOptions& options)
{
    const std::string file = options.file.empty() ? DefaultWorkingObjectFilePath() : options.file;
    int32_t error = kResOk;
    auto container = OpenObjectFile(file, false, error);
    if (error != kResOk)
        return Fail(file, error == kErrCannotOpen ? "no such object file" : ResErrorText(error));
    if (!container->IsWritable())
        return Fail(file, "is read-only (files inside FAR archives cannot be changed)");
    ObjectDefinitionEditor editor(*container, static_cast<int16_t>(options.id));
    if (const int32_t loaded = editor.LoadForEditing(); loaded != kResOk)
        return Fail(file, "OBJD " + std::to_string(options.id) + ": " + ResErrorText(loaded));

    // Every pair is checked before anything is stored: a typo changes nothing.
    std::vector<std::pair<size_t, PropertyValue>> changes;
    for (const std::string& assignment : options.assignments) {
        const size_t equals = assignment.find('=');
        if (equals == std::string::npos)
            return Fail(assignment, "expected Name=Value");
        const std::string name = assignment.substr(0, equals);
        const std::optional<size_t> row = editor.Table().Find(name);
        if (!row)
            return Fail(name, "no such property (see `zelvane-cli props --advanced`)");
        std::string why;
        const std::optional<PropertyValue> value = Parsed(editor.Table().Row(*row), assignment.substr(equals + 1), why);
        if (!value)
            return Fail(name, why);
        changes.emplace_back(*row, *value);
    }
    for (const auto& [row, value] : changes)
        if (const int32_t stored = editor.StoreValue(row, value); stored != kResOk)
            return Fail(file, editor.Table().Row(row).displayName + ": " + ResErrorText(stored));
    if ((error = editor.WriteRecord()) != kResOk || (error = editor.WriteCatalogStrings()) != kResOk ||
        (error = editor.Save()) != kResOk)
        return Fail(file, ResErrorText(error));
    if (const int32_t closed = container->CloseContainer(); closed != kResOk)
        return Fail(file, ResErrorText(closed));
    std::cout << "Stored " << changes.size() << " value" << (changes.size() == 1 ? "" : "s") << " in OBJD "
              << options.id << " of " << file << "\n";
    return kExitOk;
}

} // namespace

void AddPropsCommands(CLI::App& app, int& status)
{
    auto props = std::make_shared<PropsOptions>();
    CLI::App* show = app.add_subcommand("props", "Show an object's properties as the property editor does");
    show->add_option("FILE", props->file, "The object file")->required();
    show->add_option("--id", props->id, "The object's OBJD id (default 128)");
    show->add_flag("--advanced", props->advanced, "All 31 properties, not only the simple view's");
    show->add_flag("--json", props->json, "Print JSON");
    show->callback([props, &status] { status = RunProps(*props); });

    auto set = std::make_shared<PropsOptions>();
    CLI::App* store = app.add_subcommand("set", "Store property values (Name=Value) and save, as the editor's OK does");
    store->add_option("--file", set->file, "The object file (default: the working object file)");
    store->add_option("--id", set->id, "The object's OBJD id (default 128)");
    store->add_option("ASSIGNMENTS", set->assignments, "Name=Value pairs, e.g. Price=150 \"Room Flags=Kitchen,Study\"")
        ->required();
    store->callback([set, &status] { status = RunSet(*set); });
}

} // namespace zelvane::cli
