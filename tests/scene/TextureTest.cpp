// Textures from image files: power-of-two sizes, the gamma table, the channel
// order OpenGL is given, the loader's messages, and the upload.

#include "scene/COGLImage.h"
#include "scene/COGLScene.h"
#include "scene/COGLTexture2D.h"
#include "scene/TextureMaths.h"
#include "scene/WindowsBitmap.h"
#include "tests/scene/GLStage.h"
#include "tools/ImageFileBuilder.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

using test::RecordedMessages;

// A 24-bit bitmap of `width` × `height` pixels: red grows to the right, blue
// towards the bottom.
std::vector<std::uint8_t> GradientBitmap(int width, int height)
{
    PlainImage image(width, height, 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::span<std::uint8_t> pixel = image.Row(y).subspan(static_cast<std::size_t>(x) * 3, 3);
            pixel[0] = static_cast<std::uint8_t>(y * 255 / (height - 1));
            pixel[1] = 40;
            pixel[2] = static_cast<std::uint8_t>(x * 255 / (width - 1));
        }
    return EncodeWindowsBitmap(image);
}

TEST(TextureMaths, NearestPowerOfTwoPrefersTheSmallerOnTiesAndStaysWithin2To1024)
{
    EXPECT_EQ(NearestPowerOfTwo(300), 256);
    EXPECT_EQ(NearestPowerOfTwo(200), 256);
    EXPECT_EQ(NearestPowerOfTwo(192), 128);
    EXPECT_EQ(NearestPowerOfTwo(3000), 1024);
    EXPECT_EQ(NearestPowerOfTwo(1), 2);
    EXPECT_EQ(NearestPowerOfTwo(-5), 2);
    EXPECT_EQ(NearestPowerOfTwo(1024), 1024);
    EXPECT_EQ(NearestPowerOfTwo(767), 512);
}

TEST(TextureMaths, GammaTableIsTheIdentityAtOneAndDarkensMidtonesAtTwo)
{
    const GammaTable identity = MakeGammaTable(1.0);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(identity[static_cast<std::size_t>(i)], i);
    const GammaTable two = MakeGammaTable(2.0);
    EXPECT_EQ(two[0], 0);
    EXPECT_EQ(two[64], 16);
    EXPECT_EQ(two[128], 65);
    EXPECT_EQ(two[255], 255);
    // Brightening stays within 255.
    EXPECT_EQ(MakeGammaTable(0.5)[255], 255);
    EXPECT_EQ(CurrentGammaTable(), identity) << "the process table starts as the identity";
}

class ImageFiles : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = folder_.File(name);
        test::WriteBytes(path, bytes);
        return path;
    }

    test::TempDir folder_;
    RecordedMessages messages_;
};

TEST_F(ImageFiles, ABitmapIsResampledToPowersOfTwoInRedGreenBlueOrder)
{
    COGLImage image;
    ASSERT_TRUE(image.Load(Write("gradient.BMP", GradientBitmap(300, 200)), true, 0));
    EXPECT_EQ(image.Width(), 256);
    EXPECT_EQ(image.Height(), 256);
    EXPECT_FALSE(image.HasAlpha());
    const PlainImage& pixels = image.Pixels();
    EXPECT_EQ(pixels.Order(), ChannelOrder::Rgb);
    // The top-right corner is red, the bottom-left blue; the first stored
    // bytes are the bottom-left pixel's red, green, blue.
    EXPECT_EQ(pixels.PixelColour(255, 0), (Rgb{255, 40, 0}));
    EXPECT_EQ((std::vector<std::uint8_t>(pixels.Bits().begin(), pixels.Bits().begin() + 3)),
              (std::vector<std::uint8_t>{0, 40, 255}));
    EXPECT_TRUE(messages_.Texts().empty());

    image.FreePixels();
    EXPECT_FALSE(image.HasPixels());
    EXPECT_EQ(image.Width(), 256);
}

TEST_F(ImageFiles, TargaFilesGiveThreeOrFourComponents)
{
    TargaSpec spec;
    spec.width = 4;
    spec.height = 2;
    spec.data.assign(4 * 2 * 3, 100);
    COGLImage rgb;
    ASSERT_TRUE(rgb.Load(Write("plain.tga", TargaFile(spec)), true, 0));
    EXPECT_EQ(rgb.Pixels().BytesPerPixel(), 3);
    EXPECT_FALSE(rgb.HasAlpha());

    spec.pixelDepth = 32;
    spec.data.assign(4 * 2 * 4, 100);
    COGLImage rgba;
    ASSERT_TRUE(rgba.Load(Write("alpha.tga", TargaFile(spec)), true, 0));
    EXPECT_EQ(rgba.Pixels().BytesPerPixel(), 4);
    EXPECT_TRUE(rgba.HasAlpha());
}

TEST_F(ImageFiles, FailuresSayCouldNotLoadBitmapOnlyWhereTheUserShouldKnow)
{
    COGLImage image;
    EXPECT_FALSE(image.Load(folder_.File("missing.bmp"), true, 0));
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Could not load Bitmap."});

    std::vector<std::uint8_t> broken = GradientBitmap(8, 8);
    broken.resize(100);
    EXPECT_FALSE(image.Load(Write("broken.bmp", broken), true, 0));
    TargaSpec grey;
    grey.imageType = 3;
    EXPECT_FALSE(image.Load(Write("grey.tga", TargaFile(grey)), true, 0));
    // PNG and JPEG pictures are read too: one that is none is broken.
    EXPECT_FALSE(image.Load(Write("picture.png", GradientBitmap(8, 8)), true, 0));
    EXPECT_EQ(messages_.Texts().size(), 4u);

    // A Targa that does not open and an unknown extension fail quietly.
    EXPECT_FALSE(image.Load(folder_.File("missing.tga"), true, 0));
    EXPECT_FALSE(image.Load(Write("picture.gif", GradientBitmap(8, 8)), true, 0));
    EXPECT_FALSE(image.Load(Write("noextension", GradientBitmap(8, 8)), true, 0));
    EXPECT_EQ(messages_.Texts().size(), 4u);
}

TEST_F(ImageFiles, ATextureThatFailedReportsLoadedWithoutTryingAgain)
{
    COGLTexture2D texture;
    EXPECT_TRUE(texture.SetSource(folder_.File("sub.dir/Brick Wall.bmp"), 0));
    EXPECT_EQ(texture.Title(), "Brick Wall");
    EXPECT_FALSE(texture.IsLoaded());
    EXPECT_TRUE(texture.IsLoaded());
    EXPECT_EQ(texture.GlName(), 0u);
    EXPECT_EQ(messages_.Texts().size(), 1u);

    COGLTexture2D windows;
    windows.SetSource("C:\\Program Files\\zelvane\\Maps\\Tiles.tga", 0);
    EXPECT_EQ(windows.Title(), "Tiles");
}

TEST_F(ImageFiles, UploadMakesAMipmappedTextureWithTheScenesFilters)
{
    test::GLStage stage(8, 8);
    ASSERT_TRUE(stage.ok()) << stage.Error();
    COGLScene scene;
    scene.SetTextureFilter(0);
    COGLTexture2D& texture = scene.AddTexture(std::make_unique<COGLTexture2D>());
    ASSERT_TRUE(texture.Load(Write("gradient.bmp", GradientBitmap(100, 60)), 0));
    ASSERT_NE(texture.GlName(), 0u);
    EXPECT_EQ(texture.UseCount(), 1);
    EXPECT_FALSE(texture.Image()->HasPixels()) << "pixels are freed after the upload";

    glBindTexture(GL_TEXTURE_2D, texture.GlName());
    GLint width = 0, height = 0, levelWidth = 0, minify = 0, wrap = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 6, GL_TEXTURE_WIDTH, &levelWidth);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minify);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(width, 128);
    EXPECT_EQ(height, 64);
    EXPECT_EQ(levelWidth, 2) << "mipmaps down to the smallest level";
    EXPECT_EQ(minify, GL_NEAREST);
    EXPECT_EQ(wrap, GL_REPEAT);

    // Filter mode 3 sets wrapping but leaves filters alone.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    scene.SetTextureFilter(3);
    scene.ApplyTextureParameters(texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minify);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(minify, GL_NEAREST);
    EXPECT_EQ(wrap, GL_REPEAT);
    scene.SetTextureFilter(2);
    scene.ApplyTextureParameters(texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minify);
    EXPECT_EQ(minify, GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace zelvane
