// Resource files from downloaded content that try to cost the game minutes or
// gigabytes: refused up front, while ordinary files still load.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AnimationFile.h"
#include "ImageSurface.h"
#include "TestFiles.h"
#include "TestImages.h"

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

SurfacePtr decodeBytes(const std::string& bytes, const char* extension) {
    return SurfacePtr(decodeImage(bytes.data(), bytes.size(), extension));
}

// An uncompressed true-colour TGA header followed by pixels for w x h.
std::string tga(int w, int h, size_t pixelBytes) {
    std::string t(18, '\0');
    t[2] = 2;  // uncompressed true colour
    t[12] = char(w & 0xff);
    t[13] = char(w >> 8);
    t[14] = char(h & 0xff);
    t[15] = char(h >> 8);
    t[16] = 24;
    return t + std::string(pixelBytes, '\x40');
}

void putLe32(std::string& s, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i) s[at + size_t(i)] = char((uint32_t(value) >> (8 * i)) & 0xff);
}

std::string fileBytes(const TempDir& dir, const TestImage& image, int bits) {
    const std::string path = dir.file("picture.bmp");
    EXPECT_TRUE(writeBmp(image, path, bits));
    return readFile(path);
}

}  // namespace

TEST(HostileImages, OnlyTheTextureFormatsAreDecoded) {
    TempDir dir;
    const TestImage picture = TestImage::gradient(4, 2);
    EXPECT_TRUE(decodeBytes(fileBytes(dir, picture, 24), nullptr));
    ASSERT_TRUE(writePpm(picture, dir.file("picture.ppm")));
    EXPECT_TRUE(decodeBytes(readFile(dir.file("picture.ppm")), nullptr));

    // TGA has no magic number: only a name ending in .tga makes bytes a TGA.
    const std::string smallTga = tga(4, 2, 4 * 2 * 3);
    EXPECT_TRUE(decodeBytes(smallTga, "TGA"));
    EXPECT_FALSE(decodeBytes(smallTga, "bmp"));
    EXPECT_FALSE(decodeBytes(smallTga, nullptr));
}

TEST(HostileImages, HeadersClaimingHugePicturesAreRefusedBeforeDecoding) {
    TempDir dir;
    // A few bytes whose header says 65535 x 65535: decoding would fill 12 GB.
    EXPECT_FALSE(decodeBytes(tga(65535, 65535, 16), "tga"));
    EXPECT_NE(std::string(SDL_GetError()).find("wider or higher than 8192"), std::string::npos);
    EXPECT_TRUE(decodeBytes(tga(MAX_IMAGE_SIDE, 1, size_t(MAX_IMAGE_SIDE) * 3), "tga"));
    // The pixel budget: 2048 x 2048 decodes, one column more does not.
    EXPECT_TRUE(decodeBytes(tga(2048, 2048, size_t(2048) * 2048 * 3), "tga"));
    EXPECT_FALSE(decodeBytes(tga(2049, 2048, size_t(2049) * 2048 * 3), "tga"));
    EXPECT_NE(std::string(SDL_GetError()).find("more than 4194304 pixels"), std::string::npos);

    std::string bmp = fileBytes(dir, TestImage::gradient(4, 4), 24);
    putLe32(bmp, 18, MAX_IMAGE_SIDE + 1);
    EXPECT_FALSE(decodeBytes(bmp, nullptr));
    putLe32(bmp, 18, 4);
    putLe32(bmp, 22, -(MAX_IMAGE_SIDE + 1));  // top-down rows count too
    EXPECT_FALSE(decodeBytes(bmp, nullptr));
    putLe32(bmp, 22, -4);
    EXPECT_TRUE(decodeBytes(bmp, nullptr));
}

TEST(HostileImages, DamagedTiffAndWebpFilesAreRefusedWithTheLibrarysReason) {
    const std::string seeds = std::string(TOVASK_SOURCE_DIR) + "/fuzz/corpus/image/";
    std::string tiff = readFile(seeds + "picture.tif");
    tiff.replace(112, 2, "\xe7\x03");  // the StripOffsets entry becomes tag 999
    EXPECT_FALSE(decodeBytes(tiff, "tif"));
    EXPECT_NE(std::string(SDL_GetError()).find("missing required \"StripOffsets\""),
              std::string::npos)
        << SDL_GetError();
    std::string webp = readFile(seeds + "picture.webp");
    webp.replace(30, std::string::npos, webp.size() - 30, '\xff');
    EXPECT_FALSE(decodeBytes(webp, "webp"));
    EXPECT_STREQ("WEBP picture data is damaged", SDL_GetError());
}

TEST(HostileImages, OldStyleBitmapHeadersAreMeasuredByTheirOwnFields) {
    // A 12-byte info header keeps width and height in 16 bits each, so the
    // 32-bit reading of a modern header would see 2 + 2 * 65536.
    std::string os2 = "BM" + std::string(4, '\0') + std::string(4, '\0');
    os2 += std::string("\x1a\0\0\0", 4);  // pixels at 26
    os2 += std::string("\x0c\0\0\0", 4);  // info header size 12
    os2 += std::string("\x02\0\x02\0\x01\0\x18\0", 8);
    os2 += std::string(2 * 8, '\x7f');  // two rows of 6 bytes padded to 8
    SurfacePtr image = decodeBytes(os2, nullptr);
    ASSERT_TRUE(image) << SDL_GetError();
    EXPECT_EQ(image->w, 2);
    EXPECT_EQ(image->h, 2);
}

TEST(HostileAnimations, FrameAndKeyCountsAreBounded) {
    TempDir dir;
    const auto accepted = [&](const std::string& text) {
        const std::string path = dir.write("anim3", text);
        AnimationDescription d;
        testing::internal::CaptureStderr();
        const bool ok = readAnimationDescription(path.c_str(), d);
        testing::internal::GetCapturedStderr();
        return ok;
    };
    EXPECT_TRUE(accepted("1000\n1000\n1\nk%d.3ds\n0\n"));
    EXPECT_FALSE(accepted("1001\n1001\n1\nk%d.3ds\n0\n"));
    EXPECT_FALSE(accepted("2147483647\n2147483647\n1\nk%d.3ds\n1\n"));
    EXPECT_TRUE(accepted("1000\n10\n100\nk%d.3ds\n0\n"));
    EXPECT_FALSE(accepted("1010\n10\n101\nk%d.3ds\n0\n"));
}
