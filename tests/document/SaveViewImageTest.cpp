// Saving the view as an image: the name and format from the filter and a
// typed extension, the whole view in both formats, and the failures a user is
// told about.

#include "document/SaveViewImage.h"
#include "resfile/FileFaults.h"
#include "scene/TargaImage.h"
#include "scene/TextureMaths.h"
#include "scene/WindowsBitmap.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zelvane {
namespace {

TEST(SaveViewImage, TheFilterOrATypedExtensionChoosesNameAndFormat)
{
    const auto target = [](const std::string& typed, ImageFilter filter) {
        const std::optional<ImageTarget> chosen = ChooseImageTarget(typed, filter);
        return chosen ? chosen->path + (chosen->format == ImageFormat::Bitmap ? " bmp" : " tga") : "refused";
    };
    EXPECT_EQ(target("/s/shot", ImageFilter::Bitmap), "/s/shot.bmp bmp");
    EXPECT_EQ(target("/s/shot", ImageFilter::Targa), "/s/shot.tga tga");
    EXPECT_EQ(target("/s/shot.tga", ImageFilter::Bitmap), "/s/shot.tga bmp") << "the filter says";
    EXPECT_EQ(target("/s/shot.png", ImageFilter::Targa), "/s/shot.png tga");
    EXPECT_EQ(target("/s/shot.TGA", ImageFilter::AllFiles), "/s/shot.TGA tga");
    EXPECT_EQ(target("/s/shot.bmp", ImageFilter::AllFiles), "/s/shot.bmp bmp");
    EXPECT_EQ(target("/s.d/shot", ImageFilter::AllFiles), "refused");
    EXPECT_EQ(target("/s/shot.png", ImageFilter::AllFiles), "refused");
}

// A 150 × 120 picture whose every pixel tells where it is.
PlainImage Picture()
{
    PlainImage image(150, 120, 3);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const std::span<std::uint8_t> row = image.Row(y);
            row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(x);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(y);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(x ^ y);
        }
    return image;
}

TEST(SaveViewImage, WritesTheWholeViewInEitherFormatAndSaysWhyWhenItCannot)
{
    RecordingReporter messages;
    SetReporter(&messages);
    test::TempDir folder;
    const PlainImage picture = Picture();
    const auto capture = [&] { return picture; };

    ASSERT_TRUE(SaveViewImage(folder.File("shot"), ImageFilter::Bitmap, capture).ok());
    ASSERT_TRUE(SaveViewImage(folder.File("shot.TGA"), ImageFilter::AllFiles, capture).ok());
    const std::vector<std::uint8_t> bitmap = test::ReadBytes(folder.File("shot.bmp"));
    const std::vector<std::uint8_t> targa = test::ReadBytes(folder.File("shot.TGA"));
    EXPECT_EQ(bitmap.size(), 54u + 452u * 120u) << "rows of 450 bytes padded to 452";
    EXPECT_EQ(targa.size(), 18u + 150u * 120u * 3u);
    const DecodedImage fromBitmap = DecodeWindowsBitmap(bitmap);
    const DecodedImage fromTarga = DecodeTarga(targa, MakeGammaTable(1.0));
    ASSERT_TRUE(fromBitmap.ok()) << fromBitmap.error;
    ASSERT_TRUE(fromTarga.ok()) << fromTarga.error;
    for (const PlainImage* read : {&fromBitmap.image, &fromTarga.image}) {
        ASSERT_EQ(read->Width(), 150);
        ASSERT_EQ(read->Height(), 120);
        for (int y = 0; y < 120; y += 7)
            for (int x = 0; x < 150; x += 7)
                ASSERT_EQ(read->PixelColour(x, y), picture.PixelColour(x, y)) << x << ", " << y;
    }
    EXPECT_TRUE(messages.Messages().empty());

    EXPECT_EQ(SaveViewImage(folder.File("shot"), ImageFilter::AllFiles, capture).Message(),
              "The file extension that you entered is not supported.");
    EXPECT_FALSE(std::filesystem::exists(folder.File("shot"))) << "no empty file is left";

    EXPECT_EQ(SaveViewImage(folder.File("none/shot"), ImageFilter::Bitmap, capture).Message(),
              "Error opening file \"" + folder.File("none/shot.bmp") + "\": the folder \"" + folder.File("none/") +
                  "\" does not exist.");

    FileFaults::Arm(1, true);
    const Status written =
        SaveViewImage(folder.File("shot.bmp"), ImageFilter::Bitmap, [] { return PlainImage(8, 8, 3); });
    FileFaults::Disarm();
    EXPECT_FALSE(written);
    EXPECT_NE(written.Message().find("Could not write the image file"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(folder.File("shot.bmp")), bitmap) << "the earlier file is unchanged";

    EXPECT_EQ(SaveViewImage(folder.File("blank"), ImageFilter::Bitmap, [] { return PlainImage(); }).Message(),
              "The view could not be captured; nothing was saved.");
    EXPECT_TRUE(messages.Messages().empty()) << "the caller shows what failed";
    SetReporter(nullptr);
}

} // namespace
} // namespace zelvane
