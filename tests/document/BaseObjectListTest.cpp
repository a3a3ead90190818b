// The "Select Base Object" list: its order, its filter and its selection.

#include "document/BaseObjectList.h"
#include "tests/document/SampleGameFixture.h"
#include "tests/objects/DefinitionFixtures.h"

#include <filesystem>

using namespace zelvane;
using namespace zelvane::test;

namespace {

namespace fs = std::filesystem;

// The sample game with three more files: a twin of the chair in a sub-folder,
// an object named in lower case whose catalog name is found only by the
// filter, and one without catalog strings.
class BaseObjects : public ::testing::Test {
protected:
    BaseObjects()
    {
        SetReporter(&reporter_);
        fs::copy(SampleGameFolder(), game_.Path(), fs::copy_options::recursive);
        const fs::path objects = game_.Path() / "GameData" / "Objects";
        fs::create_directories(objects / "nested");
        fs::copy_file(objects / "chair.iff", objects / "nested" / "twin.iff");
        AddObject("Downloads/armoire.iff", "armoire", "Pine Wardrobe");
        AddObject("Downloads/bare.iff", "Bare Frame", "");
        catalog_.Rebuild(game_.Path().string() + "/");
    }
    ~BaseObjects() override { SetReporter(nullptr); }

    void AddObject(const std::string& file, const std::string& resourceName, const std::string& catalogName)
    {
        IffBuilder builder;
        builder.AddChunk(kTypeOBJD, kObjectId, resourceName, Record());
        if (!catalogName.empty())
            builder.AddChunk(kTypeCTSS, kStringsId, "", LanguageList({{1, catalogName}, {1, ""}}));
        WriteBytes((game_.Path() / file).string(), builder.Build(IffBuilder::Map::Written));
    }

    static std::vector<std::string> Names(const BaseObjectList& list)
    {
        std::vector<std::string> names;
        for (size_t row = 0; row < list.RowCount(); ++row)
            names.push_back(list.NameAt(row));
        return names;
    }

    RecordingReporter reporter_;
    TempDir game_;
    ObjectCatalog catalog_;
};

} // namespace

TEST_F(BaseObjects, EveryObjectSortedIgnoringCaseAndTwinsKeepTheirOwnFiles)
{
    BaseObjectList list(catalog_);
    EXPECT_EQ(list.TotalCount(), 16u);
    EXPECT_EQ(Names(list), (std::vector<std::string>{
                               "Aquarium - Goldfish", "armoire", "Bare Frame", "Bookcase - Oak",
                               "Chair - Maple Dining", "Chair - Maple Dining", "Chair - Wingback Armchair",
                               "Clock - Cuckoo", "Counter - Tiled Kitchen", "Lamp - Brass Reading",
                               "Plant - Potted Fern", "Rug - Woven", "Sofa - Striped Loveseat",
                               "Table - Farmhouse Dining", "Table - Walnut End", "TV - Retro"}));

    // Equal names keep the catalog's order and each its own object.
    CObjectEntry& first = list.EntryAt(4);
    CObjectEntry& second = list.EntryAt(5);
    EXPECT_NE(&first.Owner(), &second.Owner());
    const std::vector<CObjectEntry*> inCatalog = catalog_.ListedObjects();
    EXPECT_LT(std::find(inCatalog.begin(), inCatalog.end(), &first),
              std::find(inCatalog.begin(), inCatalog.end(), &second));
    EXPECT_EQ(list.RowOf(&second), 5u);

    // Opening selects the first row; nothing selected still chooses the first row.
    EXPECT_EQ(list.SelectedRow(), 0u);
    list.Select(13);
    EXPECT_EQ(list.Chosen()->ResourceName(), "Table - Farmhouse Dining");
    list.Select(99);
    EXPECT_EQ(list.SelectedRow(), std::nullopt);
    EXPECT_EQ(list.Chosen(), &list.EntryAt(0));
}

TEST_F(BaseObjects, TheFilterMatchesResourceOrCatalogNamesAndKeepsTheSelectionItCan)
{
    BaseObjectList list(catalog_);
    list.SetFilter("TABLE");
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Table - Farmhouse Dining", "Table - Walnut End"}));
    list.Select(1);

    // Walnut End is still shown, now in the first row, and stays selected.
    list.SetFilter("walnut");
    ASSERT_EQ(list.RowCount(), 1u);
    EXPECT_EQ(list.Chosen()->ResourceName(), "Table - Walnut End");
    list.SetFilter("e - ");
    EXPECT_EQ(list.Chosen()->ResourceName(), "Table - Walnut End");
    EXPECT_EQ(list.NameAt(*list.SelectedRow()), "Table - Walnut End");

    // Catalog names count too: "Pine Wardrobe" of "armoire", "Goldfish Aquarium" of "Aquarium - Goldfish".
    list.SetFilter("wardrobe");
    EXPECT_EQ(Names(list), (std::vector<std::string>{"armoire"}));
    EXPECT_EQ(list.SelectedRow(), 0u) << "the previous selection is gone, so the first row is selected";
    list.SetFilter("Velvet"); // only in a description: not matched
    EXPECT_EQ(list.RowCount(), 0u);
    list.SetFilter("goldfish aquarium");
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Aquarium - Goldfish"}));

    // Strings that cannot be read have no name to match.
    list.SetFilter("not defined");
    EXPECT_EQ(list.RowCount(), 0u);
    EXPECT_EQ(list.SelectedRow(), std::nullopt);
    EXPECT_EQ(list.Chosen(), nullptr) << "OK has nothing to clone";

    list.SetFilter("");
    EXPECT_EQ(list.RowCount(), 16u);
    EXPECT_EQ(list.SelectedRow(), 0u);
    EXPECT_TRUE(reporter_.Messages().empty());
}
