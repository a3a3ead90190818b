// `props` and `set`.

#include "app/cli/PropsCommands.h"

#include "app/cli/CliOutput.h"
#include "app/cli/ObjectArguments.h"
#include "app/cli/PropertyAssignments.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectDefinitionEditor.h"
#include "objects/ObjectFileOpener.h"
#include "objects/PropertyText.h"
#include "resfile/ResErrors.h"

#include <iostream>
#include <memory>

namespace zelvane::cli {

namespace {

struct PropsOptions {
    ObjectArgument object;
    bool advanced = false;
    bool json = false;
    std::vector<std::string> assignments;
};

// The stored bytes of a catalog name or description whose shown text would
// not give them back (bytes outside its code page), for JSON to keep.
std::optional<std::string> InexactCatalogBytes(const CatalogStrings& strings, PropertyField field)
{
    if (field == PropertyField::CatalogName)
        return strings.InexactNameBytes();
    if (field == PropertyField::CatalogDescription)
        return strings.InexactDescriptionBytes();
    return std::nullopt;
}

int RunPropsOn(const PropsOptions& options, const FoundObject& found)
{
    std::string why;
    // Looking never writes: not even the empty catalog strings the editor would add.
    ObjectFileOpener object;
    if (!object.Open(found.path, {}, why))
        return Fail(found.path, why);
    ObjectDefinitionEditor editor(object.Container(), found.id);
    if (const int32_t loaded = editor.LoadForEditing(); loaded != kResOk)
        return Fail(found.path, "OBJD " + std::to_string(found.id) + ": " + ResErrorText(loaded));

    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    TextTable table({{"PROPERTY"}, {"VALUE"}});
    for (size_t i = 0; i < editor.Table().Size(); ++i) {
        const PropertyDescriptor& row = editor.Table().Row(i);
        if (row.advanced && !options.advanced)
            continue;
        const PropertyValue value = editor.ShowValue(i);
        if (options.json) {
            nlohmann::ordered_json item = {{"name", row.displayName}, {"value", PropertyValueText(row, value)}};
            if (row.kind == PropertyKind::Flags || row.kind == PropertyKind::Choice || row.kind == PropertyKind::Boolean)
                item["number"] = value.AsInteger();
            if (const std::optional<std::string> bytes = InexactCatalogBytes(editor.Strings(), row.field))
                item["bytes"] = HexBytes(*bytes);
            item["help"] = row.helpText;
            json.push_back(item);
        } else {
            table.AddRow({row.displayName, Printable(PropertyValueText(row, value))});
        }
    }
    if (options.json)
        PrintJson(std::cout, {{"file", found.path}, {"id", found.id}, {"properties", json}});
    else
        table.Print(std::cout);
    return kExitOk;
}

int RunProps(const PropsOptions& options)
{
    FoundObject found;
    std::string subject;
    std::string why;
    if (!FindObject(options.object, found, subject, why))
        return Fail(subject, why);
    return SayWhichObjectWhenDone(found, RunPropsOn(options, found));
}

int RunSetOn(const PropsOptions& options, const FoundObject& found)
{
    const StoredProperties stored = StoreProperties(found.path, found.id, options.assignments);
    if (!stored.ok)
        return Fail(stored.subject, stored.error);
    std::cout << "Stored " << stored.count << " value" << (stored.count == 1 ? "" : "s") << " in OBJD " << found.id
              << " of " << found.path << "\n";
    return kExitOk;
}

int RunSet(const PropsOptions& options)
{
    // Without --file: the working object file, where --guid looks too.
    ObjectArgument named = options.object;
    if (named.where.file.empty())
        named.where.file = DefaultWorkingObjectFilePath();
    FoundObject found;
    std::string subject;
    std::string why;
    if (!FindObject(named, found, subject, why))
        return Fail(subject, why);
    return SayWhichObjectWhenDone(found, RunSetOn(options, found));
}

} // namespace

void AddPropsCommands(CLI::App& app, int& status)
{
    auto props = std::make_shared<PropsOptions>();
    CLI::App* show = app.add_subcommand("props", "Show an object's properties as the property editor does");
    AddObjectArguments(*show, props->object, "The object file", FileSpelling::Positional,
                       "The object's OBJD id (default: the file's first object)");
    show->add_flag("--advanced", props->advanced, "All 31 properties, not only the simple view's");
    show->add_flag("--json", props->json, "Print JSON");
    show->callback([props, &status] { status = RunProps(*props); });

    auto set = std::make_shared<PropsOptions>();
    CLI::App* store = app.add_subcommand("set", "Store property values (Name=Value) and save, as the editor's OK does");
    AddObjectArguments(*store, set->object, "The object file (default: the working object file)",
                       FileSpelling::Option, "The object's OBJD id (default: the file's first object)");
    store->add_option("ASSIGNMENTS", set->assignments, "Name=Value pairs, e.g. Price=150 \"Room Flags=Kitchen,Study\"")
        ->required();
    store->callback([set, &status] { status = RunSet(*set); });
}

} // namespace zelvane::cli
