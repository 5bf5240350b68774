// tovask-model's PNG encoder, read back by the game's own image decoder.
#include "PngFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "TestFiles.h"
#include "TestImages.h"

namespace {

// Runs of one colour whose lengths cover every length code over the first half of the pixels,
// then noise of small green values.
TestImage runsAndNoise(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    TestImage image(width, height);
    const size_t half = image.rgb.size() / 6 * 3;
    size_t at = 0;
    for (int run = 1; at < half; run = run % 300 + 1) {
        const uint8_t c[3] = {uint8_t(random()), uint8_t(random()), uint8_t(random())};
        for (int k = 0; k < run && at < half; ++k, at += 3) std::copy(c, c + 3, &image.rgb[at]);
    }
    for (; at < image.rgb.size(); ++at) image.rgb[at] = uint8_t(random() % (at % 3 == 1 ? 4 : 256));
    return image;
}

// Rows of noise repeating every `period` rows: a repeat lies period rows back.
TestImage repeatingRows(int width, int height, int period) {
    std::mt19937 random(7);
    TestImage image(width, height);
    const size_t back = size_t(period) * width * 3;
    for (size_t i = 0; i < image.rgb.size(); ++i)
        image.rgb[i] = i < back ? uint8_t(random()) : image.rgb[i - back];
    return image;
}

// Noise, each stretch of it followed by 16 bytes repeating it from its length back: lengths a
// quarter apart from 1 to the window, so every distance code (the filter bytes add a few).
TestImage everyDistance() {
    std::mt19937 random(11);
    TestImage image(1000, 53);
    size_t at = 0;
    for (size_t distance = 1; distance <= 32768; distance = distance * 5 / 4 + 1) {
        for (size_t k = 0; k < distance; ++k) image.rgb[at++] = uint8_t(random());
        for (int k = 0; k < 16; ++k, ++at) image.rgb[at] = image.rgb[at - distance];
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
        {"repeats from every distance", everyDistance(), false},
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
        EXPECT_TRUE(problem.empty() && back.width == c.image.width &&
                    back.height == c.image.height && back.rgb == c.image.rgb)
            << c.what << ": read back " << back.width << " x " << back.height << " " << problem;
        EXPECT_TRUE(!c.shrinks || png.size() < c.image.rgb.size())
            << c.what << ": " << png.size() << " bytes";
    }
}

}  // namespace
