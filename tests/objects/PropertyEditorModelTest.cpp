// The property editor dialog's model: opening, views, lists, Apply, OK and cancel.

#include "objects/PropertyEditorModel.h"
#include "resfile/FileFaults.h"
#include "tests/objects/DefinitionFixtures.h"
#include "tests/testkit/RecordingReporter.h"

#include <gtest/gtest.h>

using namespace zelvane;
using namespace zelvane::test;

namespace {

struct Recorded {
    Recorded() { SetReporter(&reporter); }
    ~Recorded() { SetReporter(nullptr); }
    RecordingReporter reporter;
};

// A version-136 record of 200 bytes: every write of it changes the stored size.
DefinitionFile OldObject()
{
    std::vector<uint8_t> record = Record(200, 136);
    PutWord(record, objd::kRoomFlags, 0x0003);
    PutWord(record, objd::kMiscFlags, 0x0005);
    PutWord(record, objd::kWallStyle, 20);
    return WithCtss(record, {{1, "Chair"}, {1, "Sit on it"}});
}

void Select(PropertyEditorModel& model, std::string_view name)
{
    const std::vector<std::string> items = model.ListItems();
    const auto it = std::find(items.begin(), items.end(), name);
    ASSERT_NE(it, items.end()) << name;
    model.SelectRow(static_cast<int32_t>(it - items.begin()));
}

} // namespace

TEST(PropertyEditorModel, OpensInTheSimpleViewAndOkRightAwaySaves)
{
    DefinitionFile f = OldObject();
    PropertyEditorModel model(f.file, kObjectId);
    ASSERT_TRUE(model.Open());
    EXPECT_EQ(model.ListItems(), (std::vector<std::string>{"Resource Name", "Name", "Description", "Price",
                                                           "Room Flags", "Function Flags"}));
    EXPECT_EQ(model.SelectedIndex(), 0);
    EXPECT_EQ(model.VisibleControl(), ValueControl::SingleLineEdit);
    EXPECT_EQ(model.ControlValue().AsText(), "chair");
    EXPECT_EQ(model.HelpText(), "Resource Name: The name of the resource, as it appears in lists.");
    EXPECT_FALSE(model.ApplyEnabled());
    EXPECT_EQ(f.Stored(kTypeOBJD, kObjectId).size(), 200u); // opening wrote nothing

    EXPECT_EQ(model.Ok(), kResOk);
    EXPECT_EQ(f.Stored(kTypeOBJD, kObjectId).size(), 216u);
    EXPECT_FALSE(model.SavedChanges()) << "the record was rewritten, but with what it held";

    model.ToggleView();
    EXPECT_EQ(model.ListItems().size(), 31u);
    EXPECT_EQ(model.SelectedIndex(), 0);
    EXPECT_TRUE(model.AdvancedView());
    model.ToggleView();
    EXPECT_FALSE(model.AdvancedView());
    EXPECT_EQ(model.ListItems().size(), 6u);
    model.SelectRow(6); // outside the simple list
    EXPECT_EQ(model.VisibleControl(), ValueControl::None);
    EXPECT_EQ(model.HelpText(), "");
}

TEST(PropertyEditorModel, ListsShowTheirNamesAndStoreSelectionsAtOnce)
{
    DefinitionFile f = OldObject();
    PropertyEditorModel model(f.file, kObjectId);
    ASSERT_TRUE(model.Open());
    model.ToggleView();
    auto word = [&](size_t offset) { return static_cast<uint16_t>(model.Editor().Record().Word(offset / 2)); };

    Select(model, "Room Flags");
    EXPECT_EQ(model.VisibleControl(), ValueControl::FlagsList);
    EXPECT_EQ(model.ControlItems().size(), 8u);
    std::vector<bool> selected = model.SelectedItems();
    EXPECT_EQ(selected, (std::vector<bool>{true, true, false, false, false, false, false, false}));
    selected[7] = true; // "Study"
    model.ListSelectionChanged(selected);
    EXPECT_EQ(word(objd::kRoomFlags), 0x0083);

    Select(model, "Misc Flags");
    EXPECT_EQ(model.SelectedItems(), (std::vector<bool>{true, false}));
    model.ListSelectionChanged({true, true});
    EXPECT_EQ(word(objd::kMiscFlags), 0x0003);

    Select(model, "Wall Style");
    EXPECT_EQ(model.ControlItems().back(), "Custom");
    selected = model.SelectedItems();
    EXPECT_EQ(std::count(selected.begin(), selected.end(), true), 0);
    model.ListSelectionChanged({false, false, true});
    EXPECT_EQ(word(objd::kWallStyle), 2);
    model.ListSelectionChanged(std::vector<bool>(11, false));
    EXPECT_EQ(word(objd::kWallStyle), 0xFFFF);
}

TEST(PropertyEditorModel, ApplyWritesAndOnlyAChangeOrASelectionEnablesItAgain)
{
    DefinitionFile f = OldObject();
    PropertyEditorModel model(f.file, kObjectId);
    ASSERT_TRUE(model.Open());
    Select(model, "Price");
    model.ValueChanged(PropertyValue::FromText(" +12 "));
    EXPECT_EQ(model.Problem(), "");
    EXPECT_EQ(model.Apply(), kResOk);
    EXPECT_EQ(model.ControlValue().AsText(), "12"); // shown again as stored
    EXPECT_FALSE(model.ApplyEnabled());
    EXPECT_FALSE(model.Modified());
    EXPECT_EQ(ObjectDefinition::FromBytes(f.Stored(kTypeOBJD, kObjectId)).Price(), 12);

    Select(model, "Description"); // the multi-line box: no change
    EXPECT_EQ(model.VisibleControl(), ValueControl::MultiLineEdit);
    EXPECT_FALSE(model.Modified());
    EXPECT_TRUE(model.ApplyEnabled());

    // Cancel after typing leaves the file alone.
    model.ValueChanged(PropertyValue::FromText("Typed"));
    Select(model, "Price");
    model.ValueChanged(PropertyValue::FromText("999"));
    f.Reopen();
    EXPECT_EQ(ObjectDefinition::FromBytes(f.Stored(kTypeOBJD, kObjectId)).Price(), 12);
    EXPECT_EQ(ReadCatalogStrings(f.file, kStringsId).description, "Sit on it");
}

TEST(PropertyEditorModel, NumbersOutsideTheirRangeOrNoNumbersAreRefusedWithTheRangeAndOkStaysOpen)
{
    DefinitionFile f = OldObject();
    RecordingReporter reporter;
    SetReporter(&reporter);
    PropertyEditorModel model(f.file, kObjectId);
    ASSERT_TRUE(model.Open());
    Select(model, "Price");
    const int16_t price = model.Editor().Record().Price();
    const std::pair<const char*, const char*> refused[] = {
        {"abc", "\"abc\" is not a whole number; Price takes whole numbers from 0 to 32767"},
        {"12abc", "\"12abc\" is not a whole number; Price takes whole numbers from 0 to 32767"},
        {"", "\"\" is not a whole number; Price takes whole numbers from 0 to 32767"},
        {"99999", "99999 is out of range; Price takes whole numbers from 0 to 32767"},
        {"-5", "-5 is out of range; Price takes whole numbers from 0 to 32767"},
        {"4294967296", "4294967296 is out of range; Price takes whole numbers from 0 to 32767"},
    };
    for (const auto& [typed, why] : refused) {
        // Typed a key at a time: the number on the way is stored, then put
        // back when the whole cannot be.
        model.ValueChanged(PropertyValue::FromText("9999"));
        EXPECT_EQ(model.Editor().Record().Price(), 9999);
        model.ValueChanged(PropertyValue::FromText(typed));
        EXPECT_EQ(model.Problem(), why);
        EXPECT_EQ(model.Editor().Record().Price(), price) << typed << " is stored nowhere";
    }
    // OK refuses it with the range, and the dialog stays open to mend it.
    EXPECT_EQ(model.Ok(), kErrTextNotStorable);
    ASSERT_EQ(reporter.Messages().size(), 1u);
    EXPECT_EQ(reporter.Messages()[0].text,
              "The Price cannot be saved: 4294967296 is out of range; Price takes whole numbers from 0 to 32767. "
              "Nothing was saved.");
    EXPECT_TRUE(model.Modified());
    EXPECT_TRUE(model.ApplyEnabled());
    EXPECT_EQ(ObjectDefinition::FromBytes(f.Stored(kTypeOBJD, kObjectId)).Price(), price);
    model.ValueChanged(PropertyValue::FromText("32767"));
    EXPECT_EQ(model.Problem(), "");
    EXPECT_EQ(model.Ok(), kResOk);
    EXPECT_EQ(ObjectDefinition::FromBytes(f.Stored(kTypeOBJD, kObjectId)).Price(), 32767);

    // Each field its own range: the ratings are signed words, the GUID any 32 bits.
    EXPECT_EQ(model.Editor().WhyNotStorable(*model.Editor().Table().Find("Hunger Rating"), PropertyValue::FromText("-5")),
              "");
    EXPECT_EQ(model.Editor().WhyNotStorable(*model.Editor().Table().Find("Hunger Rating"),
                                            PropertyValue::FromText("40000")),
              "40000 is out of range; Hunger Rating takes whole numbers from -32768 to 32767");
    const size_t guid = *model.Editor().Table().Find("GUID");
    EXPECT_EQ(model.Editor().WhyNotStorable(guid, PropertyValue::FromText("4294967295")), "");
    EXPECT_EQ(model.Editor().StoreValue(guid, PropertyValue::FromText("4294967295")), kResOk);
    EXPECT_EQ(model.Editor().Record().Guid(), -1);
    EXPECT_EQ(model.Editor().StoreValue(guid, PropertyValue::FromText("4294967296")), kErrTextNotStorable);
    EXPECT_EQ(model.Editor().Record().Guid(), -1);
    SetReporter(nullptr);
}

TEST(PropertyEditorModel, SavedChangesSaysWhetherTheSavedFileDiffersFromWhatWasOpened)
{
    DefinitionFile f = OldObject();
    PropertyEditorModel model(f.file, kObjectId);
    ASSERT_TRUE(model.Open());
    Select(model, "Price");
    const std::string price = model.ControlValue().AsText();
    model.ValueChanged(PropertyValue::FromText("77"));
    EXPECT_FALSE(model.SavedChanges()) << "not saved yet";
    EXPECT_EQ(model.Apply(), kResOk);
    EXPECT_TRUE(model.SavedChanges());
    model.ValueChanged(PropertyValue::FromText(price));
    EXPECT_EQ(model.Apply(), kResOk);
    EXPECT_FALSE(model.SavedChanges()) << "changed back";
    Select(model, "Name");
    model.ValueChanged(PropertyValue::FromText("Armchair"));
    EXPECT_EQ(model.Ok(), kResOk);
    EXPECT_TRUE(model.SavedChanges());
}

TEST(PropertyEditorModel, ShowingAPlaceholderNameNeverRenamesTheObject)
{
    DefinitionFile f(Record());
    PropertyEditorModel model(f.file, kObjectId);
    std::vector<std::string> renamed;
    model.Editor().SetObjectNameHandler([&](std::string_view name) { renamed.emplace_back(name); });
    ASSERT_TRUE(model.Open());
    Select(model, "Name");
    EXPECT_EQ(model.ControlValue().AsText(), "[Name not defined.]");
    EXPECT_EQ(model.Ok(), kResOk);
    EXPECT_TRUE(renamed.empty());
}

TEST(PropertyEditorModel, FailuresAreToldAndApplyCanBeRepeated)
{
    Recorded recorded;
    DefinitionFile f = OldObject();
    PropertyEditorModel missing(f.file, kObjectId + 1);
    EXPECT_FALSE(missing.Open());
    ASSERT_EQ(recorded.reporter.Messages().size(), 1u);
    EXPECT_EQ(recorded.reporter.Messages()[0].text, "Could not read the object definition #129, error #-98!");

    PropertyEditorModel model(f.file, kObjectId);
    ASSERT_TRUE(model.Open());
    FileFaults::Arm(1, true);
    const int32_t error = model.Apply();
    FileFaults::Disarm();
    EXPECT_NE(error, kResOk);
    ASSERT_EQ(recorded.reporter.Messages().size(), 2u);
    EXPECT_EQ(recorded.reporter.Messages()[1].text,
              "Could not save the object properties to \"" + f.path + "\", error #" + std::to_string(error) + "!");
    EXPECT_TRUE(model.Modified());
    EXPECT_TRUE(model.ApplyEnabled());
    EXPECT_EQ(model.Apply(), kResOk);
    EXPECT_EQ(f.Stored(kTypeOBJD, kObjectId).size(), 216u);

    // A record too short to be written back: its strings can be saved as
    // long as none of its values changed.
    DefinitionFile s(Record(100, 100));
    const std::vector<uint8_t> shortRecord = s.Stored(kTypeOBJD, kObjectId);
    PropertyEditorModel untouched(s.file, kObjectId);
    ASSERT_TRUE(untouched.Open());
    EXPECT_EQ(untouched.Ok(), kResOk);
    EXPECT_EQ(recorded.reporter.Messages().size(), 2u);
    PropertyEditorModel shortModel(s.file, kObjectId);
    ASSERT_TRUE(shortModel.Open());
    Select(shortModel, "Price");
    shortModel.ValueChanged(PropertyValue::FromText("5"));
    EXPECT_EQ(shortModel.Ok(), kErrBadLayout);
    EXPECT_EQ(s.Stored(kTypeOBJD, kObjectId), shortRecord);
    ASSERT_EQ(recorded.reporter.Messages().size(), 3u);
    EXPECT_EQ(recorded.reporter.Messages()[2].text,
              "The object definition #128 holds only 100 of its 216 bytes, so it cannot be written back. Its "
              "changes were not saved.");
}

TEST(PropertyEditorModel, ATextTheCodePageCannotHoldIsToldAndNothingIsWritten)
{
    Recorded recorded;
    DefinitionFile f = WithCtss(Record(), {{1, "Chair"}, {1, "Sit on it"}});
    const std::vector<uint8_t> before = f.Stored(kTypeCTSS, kStringsId);
    PropertyEditorModel model(f.file, kObjectId);
    ASSERT_TRUE(model.Open());
    Select(model, "Price");
    model.ValueChanged(PropertyValue::FromText("99"));
    Select(model, "Name");
    model.ValueChanged(PropertyValue::FromText("Stół"));
    EXPECT_EQ(model.Apply(), kErrTextNotStorable);
    ASSERT_EQ(recorded.reporter.Messages().size(), 1u);
    EXPECT_EQ(recorded.reporter.Messages()[0].text,
              "The Name cannot be saved: the character 'ł' (U+0142) cannot be stored in US English text (code "
              "page Windows-1252). Nothing was saved.");
    EXPECT_EQ(model.ControlValue().AsText(), "Stół"); // kept for the user to change
    EXPECT_TRUE(model.ApplyEnabled());
    EXPECT_EQ(f.Stored(kTypeCTSS, kStringsId), before);

    model.ValueChanged(PropertyValue::FromText("Stól"));
    EXPECT_EQ(model.Apply(), kResOk);
    const std::vector<uint8_t> after = f.Stored(kTypeCTSS, kStringsId);
    EXPECT_NE(std::string(after.begin(), after.end()).find("St\xF3l"), std::string::npos);
}
