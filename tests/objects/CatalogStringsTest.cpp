// Catalog strings: reading 'CATS' and 'CTSS', preparing lists, writing back.

#include "objects/CatalogStrings.h"
#include "resfile/CTGStringList.h"
#include "tests/objects/DefinitionFixtures.h"

#include <gtest/gtest.h>

using namespace zelvane;
using namespace zelvane::test;

namespace {

DefinitionFile WithResource(ResType type, const std::vector<uint8_t>& data, const std::string& label = "")
{
    return DefinitionFile(Record(), [&](IffBuilder& b) { b.AddChunk(type, kStringsId, label, data); });
}

CTGStringList StoredList(CTGResFile& file)
{
    CTGStringList list;
    list.Configure(&file, kStringsId, kTypeCTSS, CaretText::No, 0);
    EXPECT_EQ(list.Load(LoadLanguages::All, FillEmptySlots::No), kResOk);
    return list;
}

} // namespace

TEST(CatalogStrings, CatsTextsAreReadWithinTheirData)
{
    // No terminator: the name ends with the data and there is no description.
    DefinitionFile cut = WithResource(kTypeCATS, Chars("Unterminated"));
    const CatalogStrings s = ReadCatalogStrings(cut.file, kStringsId);
    EXPECT_TRUE(s.readable);
    EXPECT_EQ(s.name, "Unterminated");
    EXPECT_EQ(s.description, "");
}

TEST(CatalogStrings, CtssTextsComeFromSlotZeroElseFromTheFirstSlotThatHasThem)
{
    DefinitionFile plain = WithCtss(Record(), {{1, "Chair"}, {1, "Sit on it"}, {2, "Stuhl"}});
    CatalogStrings s = ReadCatalogStrings(plain.file, kStringsId);
    EXPECT_EQ(s.name, "Chair");
    EXPECT_EQ(s.description, "Sit on it");

    DefinitionFile foreign = WithCtss(Record(), {{1, ""}, {3, "Chaise"}, {3, ""}, {5, "Silla"}, {5, "Para sentarse"}});
    s = ReadCatalogStrings(foreign.file, kStringsId);
    EXPECT_EQ(s.name, "Chaise");
    EXPECT_EQ(s.description, "Para sentarse");
}

TEST(CatalogStrings, UnreadableListsShowPlaceholdersAndAreNeverOverwritten)
{
    DefinitionFile none(Record());
    CatalogStrings s = ReadCatalogStrings(none.file, kStringsId);
    EXPECT_FALSE(s.readable);
    EXPECT_EQ(s.DisplayName(), "[Name not defined.]");
    EXPECT_EQ(s.DisplayDescription(), "[Description not defined.]");

    const std::vector<uint8_t> unknown = {0xFC, 0xFF, 1, 0, 1, 'a', 0};
    DefinitionFile bad = WithResource(kTypeCTSS, unknown);
    s = ReadCatalogStrings(bad.file, kStringsId);
    EXPECT_FALSE(s.readable);
    s.name = "lost";
    EXPECT_EQ(WriteCatalogStrings(bad.file, kStringsId, s), kResOk);
    s.readable = true;
    EXPECT_EQ(WriteCatalogStrings(bad.file, kStringsId, s), kErrBadLayout);
    EXPECT_EQ(bad.file.UpdateContainer(), kResOk);
    EXPECT_EQ(bad.Stored(kTypeCTSS, kStringsId), unknown);
}

TEST(CatalogStrings, PreparingGivesAListItsMissingStringsOnce)
{
    DefinitionFile f = WithCtss(Record(), {{1, "Only a name"}});
    PrepareCatalogStrings(f.file, kStringsId);
    f.Reopen();
    const CTGStringList list = StoredList(f.file);
    EXPECT_EQ(list.Count(0), 2);
    EXPECT_EQ(list.GetString(2, 0), "");
    const std::vector<uint8_t> complete = f.Stored(kTypeCTSS, kStringsId);
    PrepareCatalogStrings(f.file, kStringsId);
    PrepareCatalogStrings(f.file, kStringsId + 1); // missing: not created
    f.Reopen();
    EXPECT_EQ(f.Stored(kTypeCTSS, kStringsId), complete);
    EXPECT_TRUE(f.Stored(kTypeCTSS, kStringsId + 1).empty());
}

TEST(CatalogStrings, WritingReplacesCatsAndKeepsWhatTheListHolds)
{
    DefinitionFile cats = WithResource(kTypeCATS, Chars(std::string_view("Old\0Older", 9)));
    CatalogStrings s = ReadCatalogStrings(cats.file, kStringsId);
    s.name = "New";
    ASSERT_EQ(WriteCatalogStrings(cats.file, kStringsId, s), kResOk);
    cats.Reopen();
    EXPECT_TRUE(cats.Stored(kTypeCATS, kStringsId).empty());
    s = ReadCatalogStrings(cats.file, kStringsId);
    EXPECT_EQ(s.name, "New");
    EXPECT_EQ(s.description, "Older");

    // Other strings, comments, languages and the label stay.
    DefinitionFile f = WithResource(
        kTypeCTSS, LanguageList({{1, "Name"}, {1, "Desc"}, {1, "Third"}, {2, "Nom"}}, "note"), "Catalog label");
    s = ReadCatalogStrings(f.file, kStringsId);
    s.name = "Renamed";
    ASSERT_EQ(WriteCatalogStrings(f.file, kStringsId, s), kResOk);
    f.Reopen();
    const CTGStringList list = StoredList(f.file);
    EXPECT_EQ(list.Name(), "Catalog label");
    ASSERT_EQ(list.Count(0), 3);
    EXPECT_EQ(list.GetString(1, 0), "Renamed");
    EXPECT_EQ(list.GetString(3, 0), "Third");
    EXPECT_EQ(list.GetComment(1, 0), "note");
    EXPECT_EQ(list.GetString(1, 1), "Nom");
}

// Names are shown decoded from the code page of the slot they come from and
// stored in the code page of slot 0, where they are written.
TEST(CatalogStrings, TextsAreShownFromTheirSlotsCodePageAndStoredInSlotZeros)
{
    // Only in the Russian slot (Windows-1251): "Стул", "Для сидения".
    DefinitionFile russian = WithCtss(Record(), {{1, ""}, {13, "\xD1\xF2\xF3\xEB"}, {13, "\xC4\xEB\xFF"}});
    CatalogStrings s = ReadCatalogStrings(russian.file, kStringsId);
    EXPECT_EQ(s.nameSlot, 12);
    EXPECT_EQ(s.DisplayName(), "Стул");
    EXPECT_EQ(s.DisplayDescription(), "Для");

    DefinitionFile french = WithCtss(Record(), {{1, "Caf\xE9 cr\x81me"}, {1, "Un caf\xE9"}});
    s = ReadCatalogStrings(french.file, kStringsId);
    EXPECT_EQ(s.DisplayName(), "Café cr\\x81me"); // 0x81 is no character of Windows-1252
    EXPECT_EQ(s.InexactNameBytes(), "Caf\xE9 cr\x81me");
    EXPECT_EQ(s.DisplayDescription(), "Un café");
    EXPECT_EQ(s.InexactDescriptionBytes(), std::nullopt);

    std::string why;
    ASSERT_TRUE(s.SetName("Café au lait", why)) << why;
    EXPECT_EQ(s.name, "Caf\xE9 au lait");
    EXPECT_FALSE(s.SetDescription("Kawa po polsku: łyk", why));
    EXPECT_EQ(why, "the character 'ł' (U+0142) cannot be stored in US English text (code page Windows-1252)");
    EXPECT_EQ(s.description, "Un caf\xE9");
    ASSERT_EQ(WriteCatalogStrings(french.file, kStringsId, s), kResOk);
    ASSERT_EQ(french.file.UpdateContainer(), kResOk);
    const CTGStringList stored = StoredList(french.file);
    EXPECT_EQ(stored.GetString(1, 0), "Caf\xE9 au lait");

    // A Russian name taken as the name is stored in slot 0, so it must fit Windows-1252.
    s = ReadCatalogStrings(russian.file, kStringsId);
    EXPECT_FALSE(s.SetName("Стул", why));
    EXPECT_EQ(s.nameSlot, 12);
    ASSERT_TRUE(s.SetName("Chair", why));
    EXPECT_EQ(s.nameSlot, 0);
}
