// String lists: every stored layout, editing, and the merge when saving.

#include "resfile/CTGIffFile.h"
#include "resfile/CTGStringList.h"
#include "tests/resfile/IffTestFiles.h"

#include <gtest/gtest.h>

using namespace zelvane;
using namespace zelvane::test;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<uint8_t>(v));
    return out;
}

std::vector<uint8_t> Append(std::vector<uint8_t> a, std::string_view text, bool terminate = true)
{
    a.insert(a.end(), text.begin(), text.end());
    if (terminate)
        a.push_back(0);
    return a;
}

// Layout -3: {language byte, text, comment} records.
std::vector<uint8_t> LanguageRecords(const std::vector<std::pair<int, std::string>>& records, std::string_view comment)
{
    std::vector<uint8_t> data = Bytes({0xFD, 0xFF, static_cast<int>(records.size()), 0});
    for (const auto& [language, text] : records) {
        data.push_back(static_cast<uint8_t>(language));
        data = Append(Append(data, text), comment);
    }
    return data;
}

// A container holding one STR# 128 with the given bytes and chunk flags.
class StringListFile {
public:
    StringListFile(const std::vector<uint8_t>& data, uint16_t flags, ResType type = kTypeSTRList)
    {
        IffBuilder b;
        b.AddChunk(type, 128, "strings", data, flags);
        WriteBytes(path, b.Build(IffBuilder::Map::Written));
        EXPECT_EQ(file.OpenContainer(path), kResOk);
    }
    TempDir dir;
    std::string path = dir.File("s.iff");
    CTGIffFile file;
};

} // namespace

TEST(StringList, ReadsPlainAndCommentedLayouts)
{
    CTGStringList list;
    std::vector<uint8_t> plain = Append(Append(Bytes({0xFF, 0xFF, 2, 0}), "one"), "two");
    ASSERT_EQ(list.Parse(plain, LoadLanguages::Current, FillEmptySlots::No), kResOk);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetString(2), "two");
    EXPECT_EQ(list.GetString(3), std::nullopt);
    EXPECT_EQ(list.GetString(0), std::nullopt);

    std::vector<uint8_t> commented = Append(Append(Bytes({0xFE, 0xFF, 1, 0}), "text"), "note");
    ASSERT_EQ(list.Parse(commented, LoadLanguages::Current, FillEmptySlots::No), kResOk);
    EXPECT_EQ(list.GetComment(1), "note");

    // A count larger than the data holds yields what is there.
    std::vector<uint8_t> lying = Append(Bytes({0xFF, 0xFF, 0xFF, 0xFF}), "only", false);
    ASSERT_EQ(list.Parse(lying, LoadLanguages::Current, FillEmptySlots::No), kResOk);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetString(1), "only");
    EXPECT_EQ(list.Parse(Bytes({0xFB, 0xFF, 0, 0}), LoadLanguages::Current, FillEmptySlots::No), kErrBadLayout);
}

TEST(StringList, ReadsLanguageRecordsAndIgnoresTrailingFiller)
{
    std::vector<uint8_t> data = LanguageRecords({{1, "en1"}, {1, "en2"}, {3, "fr1"}, {25, "bad"}}, "c");
    data.insert(data.end(), 5, 0xA3);

    CTGStringList list;
    list.Configure(nullptr, 0, kTypeSTRList, CaretText::No, 2);
    ASSERT_EQ(list.Parse(data, LoadLanguages::Current, FillEmptySlots::No), kResOk);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetString(1), "fr1");
    EXPECT_EQ(list.Count(0), 0);

    ASSERT_EQ(list.Parse(data, LoadLanguages::All, FillEmptySlots::Yes), kResOk);
    EXPECT_EQ(list.Count(0), 2);
    EXPECT_EQ(list.GetString(2, 0), "en2");
    EXPECT_EQ(list.GetComment(2, 0), "c");
    EXPECT_EQ(list.GetString(1, 2), "fr1");
    EXPECT_EQ(list.GetString(2, 5), "en2"); // filled from slot 0
    EXPECT_EQ(list.Entry(2, 5)->origin, 0);
}

TEST(StringList, LengthPrefixedTextsWithBigEndianCountsAndOddBytes)
{
    // Stored without the converted flag and with a big-endian count, as some real files are.
    StringListFile f(Bytes({0x00, 0x02, 3, 'a', 0xD5, 's', 2, 'n', 0xA1}), 0);
    CTGStringList list;
    list.Configure(&f.file, 128, kTypeSTRList, CaretText::No, 0);
    ASSERT_EQ(list.Load(LoadLanguages::Current, FillEmptySlots::No), kResOk);
    EXPECT_EQ(list.Name(), "strings");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetString(1), "a's");
    EXPECT_EQ(list.GetString(2), "no");

    // The -1 layout stored big-endian: FF FF 00 03.
    StringListFile g(Append(Append(Append(Bytes({0xFF, 0xFF, 0x00, 0x03}), "x"), "y"), "z"), 0);
    list.Configure(&g.file, 128, kTypeSTRList, CaretText::No, 0);
    ASSERT_EQ(list.Load(LoadLanguages::Current, FillEmptySlots::No), kResOk);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.GetString(3), "z");
}

TEST(StringList, EditsByIndex)
{
    CTGStringList list;
    list.SetString(2, "skipped");
    EXPECT_EQ(list.Count(), 0);
    list.SetString(1, "a");
    list.SetString(2, "b");
    list.SetString(4, "too far");
    list.SetComment(1, "first");
    EXPECT_EQ(list.Count(), 2);
    list.DeleteString(1);
    EXPECT_EQ(list.GetString(1), "b");
    EXPECT_EQ(list.GetComment(1), std::nullopt);
    list.SetString(1, "x", 19);
    EXPECT_EQ(list.Entry(1, 19)->origin, 19);
    list.SetString(1, "ignored", 20);
    EXPECT_EQ(list.Count(20), 0);
}

TEST(StringList, SavingMergesTheEditedLanguageIntoTheStoredList)
{
    StringListFile f(LanguageRecords({{1, "name"}, {1, "desc"}, {2, "nom"}}, ""), 0x10);
    CTGStringList list;
    list.Configure(&f.file, 128, kTypeSTRList, CaretText::No, 0);
    ASSERT_EQ(list.Load(LoadLanguages::Current, FillEmptySlots::No), kResOk);
    list.SetString(1, "new name");
    list.DeleteString(2);
    list.SetString(2, std::string("cut\0here", 8));
    list.SetString(3, "added");
    ASSERT_EQ(list.Save(), kResOk);

    CTGStringList back;
    back.Configure(&f.file, 128, kTypeSTRList, CaretText::No, 0);
    ASSERT_EQ(back.Load(LoadLanguages::All, FillEmptySlots::No), kResOk);
    EXPECT_EQ(back.Count(0), 3);
    EXPECT_EQ(back.GetString(1, 0), "new name");
    EXPECT_EQ(back.GetString(2, 0), "cut"); // a NUL ends the stored text instead of splitting the record
    EXPECT_EQ(back.GetString(3, 0), "added");
    // Saving merges into the stored list: a shorter list keeps the stored strings beyond it.
    CTGStringList shorter;
    shorter.Configure(&f.file, 128, kTypeSTRList, CaretText::No, 0);
    shorter.SetString(1, "only the name");
    ASSERT_EQ(shorter.Save(), kResOk);
    ASSERT_EQ(back.Load(LoadLanguages::All, FillEmptySlots::No), kResOk);
    EXPECT_EQ(back.Count(0), 3);
    EXPECT_EQ(back.GetString(1, 0), "only the name");
    EXPECT_EQ(back.GetString(1, 1), "nom"); // another language keeps what it held
    for (uint8_t s = 2; s < kLanguageSlots; ++s)
        EXPECT_EQ(back.Count(s), 0) << "slot " << int(s) << " held only copies";
    EXPECT_EQ(back.Name(), "strings");
}

TEST(StringList, CaretTextFallbackIsSavedAsALanguageList)
{
    const std::string text = "junk^first^between^second^tail^";
    StringListFile f(std::vector<uint8_t>(text.begin(), text.end()), 0, kTypeCaretText);
    CTGStringList list;
    ASSERT_EQ(list.LoadWithFallback(&f.file, 128, 3), kResOk);
    EXPECT_EQ(list.Type(), kTypeCaretText);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetString(2, 0), "second");
    ASSERT_EQ(list.Save(), kResOk);
    ResHandle* saved = f.file.GetResource(kTypeSTRList, 128, nullptr);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->Data()[0], 0xFD);
    EXPECT_TRUE(f.file.IsConverted(saved));
    std::string first;
    f.file.GetIndString(first, 128, 1);
    EXPECT_EQ(first, "first");
}

TEST(StringList, ListsInUnknownLayoutsAreNotOverwritten)
{
    // An unknown layout, and a layout -4 list whose one set counts 256 entries.
    for (const std::vector<uint8_t>& stored :
         {Bytes({0xFB, 0xFF, 1, 0, 1, 'a', 0}), Bytes({0xFC, 0xFF, 1, 0, 1, 'a', 0})}) {
        StringListFile f(stored, 0x10);
        CTGStringList list;
        list.Configure(&f.file, 128, kTypeSTRList, CaretText::No, 0);
        EXPECT_EQ(list.Load(LoadLanguages::Current, FillEmptySlots::No), kErrBadLayout);
        list.SetString(1, "would lose data");
        EXPECT_EQ(list.Save(), kErrBadLayout);
        ResHandle* kept = f.file.GetResource(kTypeSTRList, 128, nullptr);
        EXPECT_TRUE(std::ranges::equal(kept->Bytes(), stored));
    }
}

namespace {

struct SetEntry {
    int language;
    std::string text;
    std::string comment;
};

// A text of layout -4: its length in 7-bit groups, low group first.
void PutSized(std::vector<uint8_t>& out, const std::string& text)
{
    size_t length = text.size();
    do {
        const auto group = static_cast<uint8_t>(length & 0x7F);
        length >>= 7;
        out.push_back(length ? group | 0x80 : group);
    } while (length);
    out.insert(out.end(), text.begin(), text.end());
}

// Layout -4: the first word, the number of sets, and per set its entries.
std::vector<uint8_t> LanguageSets(const std::vector<std::vector<SetEntry>>& sets, uint8_t first = 0xFC,
                                  uint8_t second = 0xFF)
{
    std::vector<uint8_t> out = Bytes({first, second, static_cast<int>(sets.size())});
    for (const std::vector<SetEntry>& set : sets) {
        out.push_back(static_cast<uint8_t>(set.size()));
        out.push_back(static_cast<uint8_t>(set.size() >> 8));
        for (const SetEntry& e : set) {
            out.push_back(static_cast<uint8_t>(e.language));
            PutSized(out, e.text);
            PutSized(out, e.comment);
        }
    }
    return out;
}

// Twenty sets as real lists hold them: English in set 0 (with a language
// byte 255 and a text over 127 bytes), French widened from Windows-1252,
// Japanese as Unicode proper, the other sets empty.
std::vector<std::vector<SetEntry>> RealisticSets()
{
    std::vector<std::vector<SetEntry>> sets(kLanguageSlots);
    sets[0] = {{0, "\"Long Island Deco\" Rug", ""}, {255, std::string(300, 'w'), "long"}};
    sets[2] = {{2, "Se t\xC3\xA9l\xC3\xA9porter ici", "Play Structure"}};
    sets[14] = {{14, "遊ぶ", ""}};
    return sets;
}

} // namespace

TEST(StringList, ReadsTheLanguageSetsOfLaterTools)
{
    const std::vector<uint8_t> data = LanguageSets(RealisticSets());
    CTGStringList list;
    ASSERT_EQ(list.Parse(data, LoadLanguages::All, FillEmptySlots::No), kResOk);
    EXPECT_EQ(list.Layout(), StringListLayout::LanguageSets);
    EXPECT_EQ(list.Count(0), 2);
    EXPECT_EQ(list.GetString(1, 0), "\"Long Island Deco\" Rug");
    EXPECT_EQ(list.GetString(2, 0), std::string(300, 'w'));
    EXPECT_EQ(list.GetComment(2, 0), "long");
    // Held as the bytes of each slot's code page, as every other layout holds them.
    EXPECT_EQ(list.GetString(1, 2), "Se t\xE9l\xE9porter ici");
    EXPECT_EQ(list.GetComment(1, 2), "Play Structure");
    EXPECT_EQ(list.GetString(1, 14), "\x97V\x82\xD4");
    EXPECT_EQ(list.Count(1), 0);

    list.Configure(nullptr, 0, kTypeSTRList, CaretText::No, 2);
    ASSERT_EQ(list.Parse(data, LoadLanguages::Current, FillEmptySlots::Yes), kResOk);
    EXPECT_EQ(list.Count(0), 0);
    EXPECT_EQ(list.GetString(1), "Se t\xE9l\xE9porter ici");

    // Stored without the converted flag, little-endian (as later tools write
    // them) or big-endian: both read alike.
    for (const auto& [first, second] : {std::pair(0xFC, 0xFF), std::pair(0xFF, 0xFC)}) {
        StringListFile f(LanguageSets(RealisticSets(), static_cast<uint8_t>(first), static_cast<uint8_t>(second)), 0);
        CTGStringList stored;
        stored.Configure(&f.file, 128, kTypeSTRList, CaretText::No, 0);
        ASSERT_EQ(stored.Load(LoadLanguages::All, FillEmptySlots::No), kResOk);
        EXPECT_EQ(stored.GetString(1, 14), "\x97V\x82\xD4");
    }
}

TEST(StringList, LanguageSetsThatDoNotHoldTogetherAreRefusedWhole)
{
    const std::vector<uint8_t> good = LanguageSets(RealisticSets());
    const auto parses = [](const std::vector<uint8_t>& data) {
        CTGStringList list;
        const int32_t result = list.Parse(data, LoadLanguages::All, FillEmptySlots::Yes);
        EXPECT_TRUE(result == kResOk || list.Count(0) + list.Count(2) + list.Count(14) == 0);
        return result == kResOk;
    };
    EXPECT_TRUE(parses(good));
    std::vector<uint8_t> filled = good;
    filled.insert(filled.end(), 3, 0xA3);
    EXPECT_TRUE(parses(filled));

    for (size_t cut = 2; cut < good.size(); ++cut)
        EXPECT_FALSE(parses(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut))))
            << "cut at " << cut;
    std::vector<uint8_t> trailing = good;
    trailing.push_back(0);
    EXPECT_FALSE(parses(trailing));
    std::vector<std::vector<SetEntry>> tooMany(kLanguageSlots + 1);
    EXPECT_FALSE(parses(LanguageSets(tooMany)));
    // A length that never ends, and a count the data cannot hold.
    EXPECT_FALSE(parses(Bytes({0xFC, 0xFF, 1, 1, 0, 0, 0x80, 0x80, 0x80, 0x80, 0x80, 0x01, 'a', 0})));
    EXPECT_FALSE(parses(Bytes({0xFC, 0xFF, 1, 0xFF, 0xFF, 0, 0, 0})));
}

TEST(StringList, SavingALanguageSetListWritesLayoutMinus3AndOnlyThen)
{
    const std::vector<uint8_t> stored = LanguageSets(RealisticSets());
    StringListFile f(stored, 0x10);
    CTGStringList list;
    list.Configure(&f.file, 128, kTypeSTRList, CaretText::No, 0);
    ASSERT_EQ(list.Load(LoadLanguages::Current, FillEmptySlots::No), kResOk);
    EXPECT_TRUE(std::ranges::equal(f.file.GetResource(kTypeSTRList, 128, nullptr)->Bytes(), stored));

    list.SetString(1, "Rug");
    ASSERT_EQ(list.Save(), kResOk);
    CTGStringList back;
    back.Configure(&f.file, 128, kTypeSTRList, CaretText::No, 0);
    ASSERT_EQ(back.Load(LoadLanguages::All, FillEmptySlots::No), kResOk);
    EXPECT_EQ(back.Layout(), StringListLayout::Languages);
    EXPECT_EQ(back.GetString(1, 0), "Rug");
    EXPECT_EQ(back.GetString(2, 0), std::string(300, 'w'));
    EXPECT_EQ(back.GetString(1, 2), "Se t\xE9l\xE9porter ici");
    EXPECT_EQ(back.GetString(1, 14), "\x97V\x82\xD4");
}
