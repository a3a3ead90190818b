// Previews of the base object list: the size they are shown at, and the cache
// that composes only what is asked for and keeps within its budget.

#include "document/PreviewCache.h"
#include "document/PreviewDisplaySize.h"
#include "tests/document/SampleGameFixture.h"

using namespace zelvane;
using namespace zelvane::test;

TEST(PreviewDisplaySize, FitsInto330By300KeepingProportions)
{
    EXPECT_EQ(PreviewDisplaySize(200, 600), (DisplaySize{100, 300}));
    EXPECT_EQ(PreviewDisplaySize(660, 100), (DisplaySize{330, 50}));
    EXPECT_EQ(PreviewDisplaySize(120, 80), (DisplaySize{120, 80})) << "small pictures are not enlarged";
    EXPECT_EQ(PreviewDisplaySize(330, 300), (DisplaySize{330, 300}));
    // Both too large: the width rule wins as long as the height then fits...
    EXPECT_EQ(PreviewDisplaySize(1000, 400), (DisplaySize{330, 132}));
    EXPECT_EQ(PreviewDisplaySize(331, 301), (DisplaySize{330, 300}));
    // ...and otherwise the height rule's result stands, not a picture 825 high.
    EXPECT_EQ(PreviewDisplaySize(400, 1000), (DisplaySize{120, 300}));
    EXPECT_EQ(PreviewDisplaySize(1, 5000), (DisplaySize{1, 300}));
    EXPECT_EQ(PreviewDisplaySize(0, 10), (DisplaySize{}));
}

class PreviewCacheTest : public SampleGameTest {};

TEST_F(PreviewCacheTest, ComposesOnlyWhatIsAskedForAndKeepsWithinItsBudget)
{
    PreviewCache unlimited(size_t{1} << 30);
    const CObjectEntry& table = Object("Table - Farmhouse Dining");
    const CObjectEntry& chair = Object("Chair - Maple Dining");
    const auto tablePicture = unlimited.Preview(table);
    const auto chairPicture = unlimited.Preview(chair);
    EXPECT_EQ(unlimited.ComposedCount(), 2u);
    EXPECT_EQ(unlimited.Preview(table), tablePicture) << "kept, not composed again";
    EXPECT_EQ(unlimited.ComposedCount(), 2u);
    // The 2 x 2 table is drawn with its four tiles.
    EXPECT_GT(tablePicture->Width(), chairPicture->Width() * 3 / 2);
    EXPECT_EQ(tablePicture->BytesPerPixel(), 3);
    EXPECT_EQ(tablePicture->PixelColour(0, 0), (Rgb{255, 255, 255})) << "on white";

    // A budget a little over the table's picture: the oldest go first, the
    // newest stays even when it alone is over the budget.
    const size_t tableBytes = tablePicture->Bits().size();
    PreviewCache small(tableBytes + tableBytes / 2);
    size_t most = 0;
    for (CObjectEntry* object : catalog_.ListedObjects()) {
        small.Preview(*object);
        EXPECT_TRUE(small.Holds(*object));
        most = std::max(most, small.HeldBytes());
        EXPECT_TRUE(small.HeldBytes() <= small.Budget() || small.HeldCount() == 1);
    }
    EXPECT_EQ(small.ComposedCount(), catalog_.ListedObjects().size());
    EXPECT_FALSE(small.Holds(*catalog_.ListedObjects().front()));
    small.Preview(*catalog_.ListedObjects().front());
    EXPECT_EQ(small.ComposedCount(), catalog_.ListedObjects().size() + 1) << "dropped, so composed again";

    PreviewCache tiny(1);
    tiny.Preview(table);
    tiny.Preview(chair);
    EXPECT_EQ(tiny.HeldCount(), 1u);
    EXPECT_TRUE(tiny.Holds(chair));
    tiny.Clear();
    EXPECT_EQ(tiny.HeldBytes(), 0u);
}
