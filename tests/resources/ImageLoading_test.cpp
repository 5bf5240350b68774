// Decoding images into bottom-up RGB rows, whatever their stored layout.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ImageSurface.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

class ImageLoading : public ::testing::Test {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    TextureStore store;  // loadImage needs no GL context

    std::vector<uint8_t> load(const char* name) {
        SurfacePtr s(store.loadImage(name));
        if (!s) return {};
        EXPECT_EQ(24, s->format->BitsPerPixel);
        return packedRgb(s.get());
    }
};

TEST_F(ImageLoading, BgrAndRgbFilesGiveTheSameBottomUpRgbRows) {
    // Odd height: the middle row is not exchanged but must still be reordered.
    const TestImage picture = TestImage::gradient(4, 5);
    ASSERT_TRUE(writeBmp(picture, dir.file("bgr.bmp")));
    ASSERT_TRUE(writePpm(picture, dir.file("rgb.ppm")));
    {
        SurfacePtr raw(SDL_LoadBMP("bgr.bmp"));
        ASSERT_TRUE(raw);
        EXPECT_TRUE(isPlain24(raw.get()));
        EXPECT_TRUE(blueFirst(raw.get()));  // the order the byte swap is for
    }
    EXPECT_EQ(picture.bottomUp(), load("bgr.bmp"));
    EXPECT_EQ(picture.bottomUp(), load("rgb.ppm"));
}

TEST_F(ImageLoading, PaddedPalettedAnd32BitImagesAreConvertedToTheSameRows) {
    // Width 3: 9 bytes of pixels in a 12-byte row.
    const TestImage picture = TestImage::gradient(3, 3);
    ASSERT_TRUE(writeBmp(picture, dir.file("padded.bmp"), 24));
    ASSERT_TRUE(writeBmp(picture, dir.file("paletted.bmp"), 8));
    ASSERT_TRUE(writeBmp(picture, dir.file("wide.bmp"), 32));
    EXPECT_EQ(picture.bottomUp(), load("padded.bmp"));
    EXPECT_EQ(picture.bottomUp(), load("paletted.bmp"));
    EXPECT_EQ(picture.bottomUp(), load("wide.bmp"));
}

TEST_F(ImageLoading, ImagesAreFoundThroughTheDataFolders) {
    const TestImage picture = TestImage::gradient(2, 2);
    dir.write("textures/tile.bmp", std::string());  // makes the folder
    ASSERT_TRUE(writeBmp(picture, dir.file("textures/tile.bmp")));
    EXPECT_EQ(picture.bottomUp(), load("tile.bmp"));
}

TEST_F(ImageLoading, FailuresReturnNoneWithTheirMessage) {
    dir.write("broken.bmp", std::string("BM this is not a bitmap"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, store.loadImage("missing.bmp"));
    EXPECT_EQ(nullptr, store.loadImage("broken.bmp"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("Unable to locate file missing.bmp\n")) << err;
    EXPECT_NE(std::string::npos, err.find("Unable to load broken.bmp: ")) << err;
}

TEST_F(ImageLoading, NamesLongerThanAPathAreRefusedWithoutOverrun) {
    const std::string longName(400, 'a');
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, store.loadImage(longName.c_str()));
    EXPECT_EQ(-1, store.getTexture(longName.c_str()));
    EXPECT_EQ(-1, store.getTextureAuto(longName.c_str()));
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("too long"));
    EXPECT_EQ(0, store.count());
}

}  // namespace
