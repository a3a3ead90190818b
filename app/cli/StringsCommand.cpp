#include "app/cli/StringsCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/ObjectArguments.h"
#include "app/cli/TypeArgument.h"
#include "objects/ObjectFileOpener.h"
#include "resfile/CTGStringList.h"
#include "resfile/LanguageCodePages.h"
#include "resfile/ResErrors.h"

#include <iostream>

namespace zelvane::cli {

namespace {

struct StringsOptions {
    ObjectFileArgument file;
    int32_t id = 0;
    std::string type = "STR#";
    bool json = false;
};

// Loads every language of the list. A missing or unreadable 'STR#' list falls
// back to caret text of the same id, as the game's string lookup does; when
// that fails too, the 'STR#' list's own error is the one worth reporting.
int32_t LoadList(CTGResFile& container, ResType type, int16_t id, CTGStringList& list)
{
    list.Configure(&container, id, type, CaretText::No, 0);
    const int32_t result = list.Load(LoadLanguages::All, FillEmptySlots::No);
    if (result == kResOk || type != kTypeSTRList)
        return result;
    list.Configure(&container, id, kTypeCaretText, CaretText::Yes, 0);
    return list.Load(LoadLanguages::All, FillEmptySlots::No) == kResOk ? kResOk : result;
}

// A text as people read it, decoded from its slot's code page.
std::string Shown(const std::optional<std::string>& text, int slot)
{
    return text ? DecodeSlotText(slot, *text).text : std::string();
}

// A text as UTF-8 ("text": null when there is none); when that cannot give
// the stored bytes back, the bytes themselves beside it as hex, so that
// nothing is lost on the way through JSON.
void PutText(nlohmann::ordered_json& item, const char* key, const char* bytesKey,
             const std::optional<std::string>& text, int slot)
{
    if (!text) {
        item[key] = nullptr;
        return;
    }
    const DecodedSlotText decoded = DecodeSlotText(slot, *text);
    item[key] = decoded.text;
    if (!decoded.exact)
        item[bytesKey] = HexBytes(*text);
}

std::string LayoutText(const CTGStringList& list)
{
    const std::string layout = StringListLayoutName(list.Layout());
    if (list.Layout() == StringListLayout::LanguageSets)
        return "layout -4, saved as -3";
    if (list.Layout() == StringListLayout::CaretText)
        return layout;
    return "layout " + layout;
}

void PrintText(const CTGStringList& list)
{
    int32_t total = 0;
    int languages = 0;
    for (int slot = 0; slot < kLanguageSlots; ++slot)
        if (const int32_t count = list.Count(static_cast<uint8_t>(slot)); count > 0) {
            total += count;
            ++languages;
        }
    std::cout << ResTypeName(list.Type()) << ' ' << list.Id() << ' ' << Quoted(list.Name()) << " ("
              << LayoutText(list) << "): " << total << (total == 1 ? " string" : " strings") << " in " << languages
              << (languages == 1 ? " language" : " languages") << '\n';
    TextTable table({{"LANG", Align::Right}, {"LANGUAGE"}, {"#", Align::Right}, {"TEXT"}, {"COMMENT"}});
    for (int slot = 0; slot < kLanguageSlots; ++slot) {
        const auto language = static_cast<uint8_t>(slot);
        for (int32_t i = 1; i <= list.Count(language); ++i) {
            const StringEntry* entry = list.Entry(i, language);
            table.AddRow({std::to_string(slot), i == 1 ? LanguageOfSlot(slot).language : "", std::to_string(i),
                          Printable(Shown(entry->text, slot)), Printable(Shown(entry->comment, slot))});
        }
    }
    table.Print(std::cout);
}

void PrintJsonList(const std::string& file, const CTGStringList& list)
{
    nlohmann::ordered_json languages = nlohmann::ordered_json::array();
    for (int slot = 0; slot < kLanguageSlots; ++slot) {
        const auto language = static_cast<uint8_t>(slot);
        if (list.Count(language) == 0)
            continue;
        nlohmann::ordered_json strings = nlohmann::ordered_json::array();
        for (int32_t i = 1; i <= list.Count(language); ++i) {
            const StringEntry* entry = list.Entry(i, language);
            nlohmann::ordered_json item = {{"index", i}};
            PutText(item, "text", "bytes", entry->text, slot);
            PutText(item, "comment", "comment_bytes", entry->comment, slot);
            strings.push_back(std::move(item));
        }
        languages.push_back({{"language", slot},
                             {"name", LanguageOfSlot(slot).language},
                             {"code_page", LanguageOfSlot(slot).codePage},
                             {"strings", std::move(strings)}});
    }
    PrintJson(std::cout, {{"file", file},
                          {"type", ResTypeName(list.Type())},
                          {"id", list.Id()},
                          {"name", list.Name()},
                          {"layout", StringListLayoutName(list.Layout())},
                          {"caretText", list.Type() == kTypeCaretText},
                          {"languages", std::move(languages)}});
}

int RunStrings(const StringsOptions& options)
{
    ResType type = 0;
    if (!ParseTypeArgument(options.type, type) || (type != kTypeSTRList && type != kTypeCTSS && type != kTypeTTAs))
        return Fail(options.file.file, Quoted(options.type) + " is not a string list type (STR#, CTSS or TTAs)");

    ObjectFileOpener object;
    std::string file;
    std::string error;
    if (!OpenObjectFile(options.file, {}, object, file, error))
        return Fail(file, error);

    CTGStringList list;
    const auto id = static_cast<int16_t>(options.id);
    if (const int32_t result = LoadList(object.Container(), type, id, list); result != kResOk)
        return Fail(file, std::string(ResErrorText(result)) + " (" + ResTypeName(type) + " id " +
                                      std::to_string(options.id) + ")");
    if (options.json)
        PrintJsonList(file, list);
    else
        PrintText(list);
    return kExitOk;
}

} // namespace

void AddStringsCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<StringsOptions>();
    CLI::App* command =
        app.add_subcommand("strings", "Show a string list (STR#, CTSS or TTAs) with every language it holds");
    AddObjectFileArgument(*command, options->file, "Object file (its companions are searched too)");
    command->add_option("--id", options->id, "Resource id of the list")->required()->check(CLI::Range(-32768, 32767));
    command->add_option("--type,-t", options->type,
                        "STR# (default; caret text of the same id when there is none), CTSS or TTAs (pie menu "
                        "texts)");
    command->add_flag("--json", options->json, "Print JSON instead of a table");
    command->callback([options, &status] { status = RunStrings(*options); });
}

} // namespace zelvane::cli
