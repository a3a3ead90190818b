// "Save Image": the file name and format the save dialog's answer means.

#include "document/ImageFileChoice.h"
#include "tests/testkit/RecordingReporter.h"

#include <gtest/gtest.h>

using namespace zelvane;

TEST(ImageFileChoice, TheFilterAddsItsExtensionAndAllFilesGoesByTheTypedOne)
{
    RecordingReporter reporter;
    SetReporter(&reporter);
    auto choose = [](const std::string& path, ImageFilter filter) {
        const std::optional<ImageFileChoice> choice = ChooseImageFile(path, filter);
        return choice ? choice->path + (choice->format == ImageFormat::Bitmap ? " bitmap" : " targa") : "none";
    };
    EXPECT_EQ(choose("/tmp/shot", ImageFilter::Bitmap), "/tmp/shot.bmp bitmap");
    EXPECT_EQ(choose("/tmp/shot", ImageFilter::Targa), "/tmp/shot.tga targa");
    // A typed extension is kept; the filter still decides the format.
    EXPECT_EQ(choose("/tmp/shot.tga", ImageFilter::Bitmap), "/tmp/shot.tga bitmap");
    EXPECT_EQ(choose("/tmp/v1.2/shot", ImageFilter::Targa), "/tmp/v1.2/shot.tga targa");
    EXPECT_TRUE(reporter.Messages().empty());

    EXPECT_EQ(choose("/tmp/shot.TGA", ImageFilter::AllFiles), "/tmp/shot.TGA targa");
    EXPECT_EQ(choose("/tmp/shot.bmp", ImageFilter::AllFiles), "/tmp/shot.bmp bitmap");
    EXPECT_EQ(choose("/tmp/shot", ImageFilter::AllFiles), "none");
    EXPECT_EQ(choose("/tmp/shot.png", ImageFilter::AllFiles), "none");
    ASSERT_EQ(reporter.Messages().size(), 2u);
    EXPECT_EQ(reporter.Messages()[0].text, "The file extension that you entered is not supported.");
    SetReporter(nullptr);
}
