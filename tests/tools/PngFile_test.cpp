// tovask-model's PNG encoder, read back by the game's own image decoder.
#include "PngFile.h"

#include <gtest/gtest.h>

#include <random>

#include "TestFiles.h"
#include "TestImages.h"

namespace {

// Runs of one colour whose lengths cover every length code, then noise.
TestImage runsAndNoise(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    TestImage image(width, height);
    int x = 0, y = 0, run = 1;
    while (y < height / 2) {
        const uint8_t c[3] = {uint8_t(random()), uint8_t(random()), uint8_t(random())};
        for (int k = 0; k < run && y < height / 2; ++k) {
            image.set(x, y, c[0], c[1], c[2]);
            if (++x == width) x = 0, ++y;
        }
        run = run % 300 + 1;
    }
    for (; y < height; ++y)
        for (x = 0; x < width; ++x)
            image.set(x, y, uint8_t(random()), uint8_t(random() % 4), uint8_t(random()));
    return image;
}

// Rows of noise repeating every `period` rows: a repeat lies period rows back.
TestImage repeatingRows(int width, int height, int period) {
    std::mt19937 random(7);
    TestImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (y >= period) {
                const size_t at = (size_t(y - period) * width + x) * 3;
                image.set(x, y, image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]);
            } else {
                image.set(x, y, uint8_t(random()), uint8_t(random()), uint8_t(random()));
            }
        }
    return image;
}

TEST(PngFile, EveryPictureReadsBackPixelForPixelThroughTheGamesDecoder) {
    TempDir dir;
    const struct {
        const char* what;
        TestImage image;
        bool shrinks;  // the file is smaller than the pixels' bytes
    } cases[] = {
        {"one pixel", TestImage(1, 1, 200, 10, 30), false},
        {"a gradient of odd size", TestImage::gradient(7, 5), false},
        {"one flat colour", TestImage(640, 640, 46, 52, 64), true},
        {"runs of every length, then noise", runsAndNoise(301, 120, 3), false},
        // Rows of noise (3 bytes a pixel and a filter byte) repeating from 24,001, 32,768 (the
        // window, as far back as deflate can say), 32,769 and 48,002 bytes back.
        {"rows repeated from within the window", repeatingRows(8000, 4, 1), true},
        {"rows repeated from the window's far end", repeatingRows(85, 300, 128), true},
        {"rows repeated from one byte beyond the window", repeatingRows(110, 300, 99), false},
        {"rows repeated from beyond the window", repeatingRows(8000, 5, 2), false},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> png = encodePng(c.image.rgb, c.image.width, c.image.height);
        std::string problem;
        const TestImage back = readImage(dir.write("picture.png", png), problem);
        EXPECT_EQ(problem, "") << c.what;
        EXPECT_EQ(back.width, c.image.width) << c.what;
        EXPECT_EQ(back.height, c.image.height) << c.what;
        EXPECT_TRUE(back.rgb == c.image.rgb) << c.what << ": the pixels differ";
        EXPECT_TRUE(!c.shrinks || png.size() < c.image.rgb.size())
            << c.what << ": " << png.size() << " bytes";
    }
}

}  // namespace
