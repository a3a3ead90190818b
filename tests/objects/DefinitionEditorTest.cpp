// The definition editor: loading, showing and storing values, writing back.

#include "objects/ObjectDefinitionEditor.h"
#include "tests/objects/DefinitionFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

size_t RowOf(const ObjectDefinitionEditor& editor, std::string_view name)
{
    const std::optional<size_t> row = editor.Table().Find(name);
    EXPECT_TRUE(row.has_value()) << name;
    return row.value_or(0);
}

} // namespace

TEST(DefinitionEditor, ShowsAndStoresValuesByTheRulesOfTheirKind)
{
    std::vector<uint8_t> record = Record();
    PutWord(record, objd::kShadow, 0xFFFF);
    PutWord(record, objd::kFootprintInsetMask, 0x1111);
    DefinitionFile f = WithCtss(record, {{1, "Chair"}, {1, "Sit on it"}});
    ObjectDefinitionEditor editor(f.file, kObjectId);
    ASSERT_EQ(editor.LoadForEditing(), kResOk);
    auto show = [&](std::string_view name) { return editor.ShowValue(RowOf(editor, name)); };
    auto store = [&](std::string_view name, const PropertyValue& value) {
        EXPECT_EQ(editor.StoreValue(RowOf(editor, name), value), kResOk);
    };
    auto word = [&](size_t offset) { return static_cast<uint16_t>(editor.Record().Word(offset / 2)); };

    EXPECT_EQ(show("Resource Name"), PropertyValue::FromText("chair"));
    EXPECT_EQ(show("Description"), PropertyValue::FromText("Sit on it"));
    EXPECT_EQ(show("Shadow"), PropertyValue::FromText("-1"));
    EXPECT_EQ(show("Footprint Inset Mask"), PropertyValue::FromText("4369"));

    store("Shadow", PropertyValue::FromText("-1"));
    EXPECT_EQ(word(objd::kShadow), 0xFFFF);
    // Fields are typed as they are shown (signed); a masks' 16 bits go either way.
    EXPECT_NE(editor.StoreValue(RowOf(editor, "Shadow"), PropertyValue::FromText("65535")), kResOk);
    store("Footprint Inset Mask", PropertyValue::FromText("65535"));
    EXPECT_EQ(word(objd::kFootprintInsetMask), 0xFFFF);
    store("Price", PropertyValue::FromText(" 75"));
    EXPECT_EQ(word(objd::kPrice), 75);
    // A price below 0 is refused and the stored one kept.
    EXPECT_NE(editor.StoreValue(RowOf(editor, "Price"), PropertyValue::FromText("-5")), kResOk);
    EXPECT_EQ(word(objd::kPrice), 75);
    store("GUID", PropertyValue::FromText("4294967295"));
    EXPECT_EQ(show("GUID"), PropertyValue::FromText("-1"));
    EXPECT_EQ(word(objd::kDisabled), 0); // the word after the 32-bit GUID
    store("Self Depreciating", PropertyValue::FromInteger(7));
    EXPECT_EQ(word(objd::kSelfDepreciating), 1);
}

TEST(DefinitionEditor, ResourceNameIsWrittenAtOnceWithTheRecord)
{
    DefinitionFile f(Record());
    ObjectDefinitionEditor editor(f.file, kObjectId);
    ASSERT_EQ(editor.LoadForEditing(), kResOk);
    EXPECT_EQ(editor.StoreValue(RowOf(editor, "Price"), PropertyValue::FromText("75")), kResOk);
    ASSERT_EQ(editor.StoreValue(0, PropertyValue::FromText(std::string(70, 'n'))), kResOk);
    EXPECT_EQ(editor.ResourceName(), std::string(63, 'n'));
    ASSERT_EQ(editor.Save(), kResOk);
    f.Reopen();
    ObjectDefinitionEditor again(f.file, kObjectId);
    ASSERT_EQ(again.LoadForEditing(), kResOk);
    EXPECT_EQ(again.ShowValue(0).AsText(), std::string(63, 'n'));
    EXPECT_EQ(again.Record().Price(), 75);
}

TEST(DefinitionEditor, UnreadableStringsOnlyRenameTheObjectInMemory)
{
    DefinitionFile f(Record());
    ObjectDefinitionEditor editor(f.file, kObjectId);
    std::vector<std::string> renamed;
    editor.SetObjectNameHandler([&](std::string_view name) { renamed.emplace_back(name); });
    ASSERT_EQ(editor.LoadForEditing(), kResOk);
    EXPECT_EQ(editor.ShowValue(1).AsText(), "[Name not defined.]");
    EXPECT_EQ(editor.StoreValue(1, PropertyValue::FromText(std::string(300, 'x'))), kResOk);
    EXPECT_EQ(editor.StoreValue(2, PropertyValue::FromText("Bright")), kResOk);
    ASSERT_EQ(renamed.size(), 1u);
    EXPECT_EQ(renamed[0], std::string(63, 'x'));
    EXPECT_EQ(editor.ShowValue(2).AsText(), "[Description not defined.]");
    EXPECT_EQ(editor.WriteCatalogStrings(), kResOk);
    EXPECT_EQ(editor.Save(), kResOk);
    EXPECT_TRUE(f.Stored(kTypeCTSS, kStringsId).empty());
}

TEST(DefinitionEditor, RecordsOfOddLengthsAreWrittenOnlyWithoutLoss)
{
    DefinitionFile none(Record());
    ObjectDefinitionEditor missing(none.file, kObjectId + 1);
    EXPECT_EQ(missing.LoadForEditing(), kErrNoSuchResource);
    EXPECT_EQ(missing.ShowValue(0).AsText(), "unnamed object");
    EXPECT_EQ(missing.WriteRecord(), kErrNoSuchResource);

    // Short and of an unknown layout: readable, never written (unchanged,
    // there is nothing to write).
    std::vector<uint8_t> shortRecord = Record(100, 100);
    PutWord(shortRecord, objd::kPrice, 42);
    DefinitionFile s(shortRecord);
    ObjectDefinitionEditor shortEditor(s.file, kObjectId);
    ASSERT_EQ(shortEditor.LoadForEditing(), kResOk);
    EXPECT_EQ(shortEditor.ShowValue(RowOf(shortEditor, "Price")).AsText(), "42");
    EXPECT_EQ(shortEditor.StoreValue(0, PropertyValue::FromText("renamed")), kErrBadLayout);
    EXPECT_EQ(shortEditor.WriteRecord(), kResOk);
    EXPECT_EQ(shortEditor.StoreValue(RowOf(shortEditor, "Price"), PropertyValue::FromText("43")), kResOk);
    EXPECT_EQ(shortEditor.WriteRecord(), kErrBadLayout);
    EXPECT_EQ(s.file.UpdateContainer(), kResOk);
    EXPECT_EQ(s.Stored(kTypeOBJD, kObjectId), shortRecord);
    EXPECT_EQ(shortEditor.ResourceName(), "chair");

    // Old and short: upgraded. Long: the bytes beyond the record survive.
    std::vector<uint8_t> longer = Record();
    longer.insert(longer.end(), {9, 8, 7, 6});
    for (const std::vector<uint8_t>& record : {Record(200, 136), longer}) {
        DefinitionFile l(record);
        ObjectDefinitionEditor editor(l.file, kObjectId);
        ASSERT_EQ(editor.LoadForEditing(), kResOk);
        ASSERT_EQ(editor.WriteRecord(), kResOk);
        ASSERT_EQ(editor.Save(), kResOk);
        const std::vector<uint8_t> stored = l.Stored(kTypeOBJD, kObjectId);
        EXPECT_EQ(stored.size(), std::max<size_t>(record.size(), 216));
        EXPECT_EQ(stored, editor.Record().StoredBytes());
        EXPECT_EQ(stored[0], 138);
    }
}

TEST(DefinitionEditor, RealObjectsEditAndWriteBack)
{
    const std::filesystem::path dir = TestDataDir() / "iff";
    if (TestDataDir().empty() || !std::filesystem::exists(dir / "k8essbedroomslippersts.iff"))
        GTEST_SKIP() << "real object files not found (set ZELVANE_TESTDATA to shared/testdata)";
    TempDir temp;
    for (const char* name : {"k8essbedroomslippersts.iff", "fso_firewater.iff"})
        std::filesystem::copy_file(dir / name, temp.File(name));
    for (int pass = 0; pass < 2; ++pass) {
        CTGIffFile file;
        ASSERT_EQ(file.OpenContainer(temp.File("k8essbedroomslippersts.iff")), kResOk);
        ObjectDefinitionEditor editor(file, 16807);
        ASSERT_EQ(editor.LoadForEditing(), kResOk);
        EXPECT_EQ(editor.ShowValue(0).AsText(), "Essentials - Slippers");
        EXPECT_EQ(editor.ShowValue(1).AsText(), "\"Essentials\" Slippers");
        EXPECT_EQ(editor.ShowValue(2).AsText(), pass == 0 ? "www.parsimonious.org" : "Soft");
        EXPECT_EQ(editor.Record().Price(), pass == 0 ? 12 : 15);
        EXPECT_EQ(editor.StoreValue(RowOf(editor, "Price"), PropertyValue::FromText("15")), kResOk);
        EXPECT_EQ(editor.StoreValue(2, PropertyValue::FromText("Soft")), kResOk);
        ASSERT_EQ(editor.WriteRecord(), kResOk);
        ASSERT_EQ(editor.WriteCatalogStrings(), kResOk);
        ASSERT_EQ(editor.Save(), kResOk);
    }

    // Version 142 in 214 bytes: every row shows; unchanged, nothing needs
    // writing, changed, it is refused.
    CTGIffFile water;
    ASSERT_EQ(water.OpenContainer(temp.File("fso_firewater.iff")), kResOk);
    ObjectDefinitionEditor fire(water, 16807);
    ASSERT_EQ(fire.LoadForEditing(), kResOk);
    for (size_t row = 0; row < fire.Table().Size(); ++row)
        fire.ShowValue(row);
    EXPECT_EQ(fire.ShowValue(0).AsText(), "Fire Water Spread Tile");
    EXPECT_EQ(fire.ShowValue(1).AsText(), "[Name not defined.]");
    const std::vector<uint8_t> before = ReadBytes(temp.File("fso_firewater.iff"));
    EXPECT_EQ(fire.WriteRecord(), kResOk);
    EXPECT_EQ(fire.WriteRecord("renamed"), kErrBadLayout);
    EXPECT_EQ(fire.StoreValue(RowOf(fire, "Price"), PropertyValue::FromText("15")), kResOk);
    EXPECT_EQ(fire.WriteRecord(), kErrBadLayout);
    EXPECT_EQ(water.CloseContainer(), kResOk);
    EXPECT_EQ(ReadBytes(temp.File("fso_firewater.iff")), before);
}

// The editor shows and takes UTF-8; the file holds the code page's bytes,
// and a text the code page cannot hold is refused whole.
TEST(DefinitionEditor, CatalogTextsAreUtf8OutsideAndTheCodePageInside)
{
    DefinitionFile f = WithCtss(Record(), {{1, "Caf\xE9"}, {1, "Sit"}});
    ObjectDefinitionEditor editor(f.file, kObjectId);
    ASSERT_EQ(editor.LoadForEditing(), kResOk);
    const size_t name = RowOf(editor, "Name");
    const size_t description = RowOf(editor, "Description");
    EXPECT_EQ(editor.ShowValue(name), PropertyValue::FromText("Café"));

    EXPECT_EQ(editor.StoreValue(name, PropertyValue::FromText("Crème brûlée")), kResOk);
    EXPECT_EQ(editor.Strings().name, "Cr\xE8me br\xFBl\xE9" "e");
    EXPECT_EQ(editor.ShowValue(name), PropertyValue::FromText("Crème brûlée"));

    EXPECT_EQ(editor.WhyNotStorable(description, PropertyValue::FromText("Sit")), "");
    EXPECT_EQ(editor.WhyNotStorable(description, PropertyValue::FromText("日本")),
              "the character '日' (U+65E5) cannot be stored in US English text (code page Windows-1252)");
    EXPECT_EQ(editor.StoreValue(description, PropertyValue::FromText("Sit 日本")), kErrTextNotStorable);
    EXPECT_EQ(editor.Strings().description, "Sit");
    EXPECT_EQ(editor.WhyNotStorable(RowOf(editor, "Price"), PropertyValue::FromText("日本")),
              "\"日本\" is not a whole number; Price takes whole numbers from 0 to 32767");

    ASSERT_EQ(editor.WriteCatalogStrings(), kResOk);
    ASSERT_EQ(editor.Save(), kResOk);
    const std::vector<uint8_t> stored = f.Stored(kTypeCTSS, kStringsId);
    const std::string bytes(stored.begin(), stored.end());
    EXPECT_NE(bytes.find("Cr\xE8me br\xFBl\xE9" "e"), std::string::npos);
}
