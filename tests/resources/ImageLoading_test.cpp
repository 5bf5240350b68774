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

TEST_F(ImageLoading, EveryStoredLayoutGivesTheSameBottomUpRgbRows) {
    // Odd sizes: 3-pixel rows are padded in the file and in the decoded
    // surface, and the middle row of an odd height is not exchanged.
    const TestImage picture = TestImage::gradient(3, 5);
    ASSERT_TRUE(writeBmp(picture, dir.file("bgr.bmp"), 24));
    ASSERT_TRUE(writeBmp(picture, dir.file("paletted.bmp"), 8));
    ASSERT_TRUE(writeBmp(picture, dir.file("wide.bmp"), 32));
    ASSERT_TRUE(writePpm(picture, dir.file("rgb.ppm")));
    {
        SurfacePtr raw(SDL_LoadBMP("bgr.bmp"));
        ASSERT_TRUE(raw);
        EXPECT_TRUE(isPlain24(raw.get()) && blueFirst(raw.get()));  // what the byte swap is for
    }
    for (const char* name : {"bgr.bmp", "paletted.bmp", "wide.bmp", "rgb.ppm"})
        EXPECT_EQ(picture.bottomUp(), load(name)) << name;
}

TEST_F(ImageLoading, FailuresReturnNoneWithTheirMessage) {
    dir.write("broken.bmp", std::string("BM this is not a bitmap"));
    // Its text chunk runs past the end: SDL_image's libpng reader loops for ever on it.
    dir.write("hang.png", readFile(std::string(TOVASK_SOURCE_DIR) +
                                   "/tests/regressions/image/png_text_chunk_past_the_end"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, store.loadImage("missing.bmp"));
    EXPECT_EQ(nullptr, store.loadImage("broken.bmp"));
    EXPECT_EQ(nullptr, store.loadImage("hang.png"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("Unable to locate file missing.bmp\n")) << err;
    EXPECT_NE(std::string::npos, err.find("Unable to load broken.bmp: ")) << err;
    EXPECT_NE(std::string::npos,
              err.find("Unable to load hang.png: PNG chunk runs past the end of the file\n"))
        << err;
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
