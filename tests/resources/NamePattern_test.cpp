// Numbered names from character files: only a single integer conversion is printed.
#include "NamePattern.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "CaptureOutput.h"
#include "CharacterModelSet.h"

namespace {

using namespace std::string_literals;

std::string name(const char* pattern, int number, size_t size = 64) {
    char out[256];
    if (!numberedName(out, size, pattern, number)) return "<refused>";
    return out;
}

TEST(NamePattern, PrintsOneIntegerConversionUsesAnythingElseLiterallyAndRefusesOverflow) {
    // Columns: the pattern, the number, the room for the name, the name.
    const std::tuple<std::string, int, size_t, std::string> cases[] = {
        {"pelmo_skin%d.bmp", 1, 64, "pelmo_skin1.bmp"},
        {"arm%02i.3ds", 5, 64, "arm05.3ds"},
        {"arm%-3d.3ds", 5, 64, "arm5  .3ds"},
        {"plain.bmp", 3, 64, "plain.bmp"},
        {"skin%d.bmp", 1, 10, "skin1.bmp"},
        {"skin%d.bmp", 12345, 10, "<refused>"},
        {"skin%d.bmp", 10, 10, "<refused>"},  // no room left for the zero: would be cut
        {std::string(300, 'x'), 1, 256, "<refused>"},
        {"100%%_skin%d.bmp", 2, 64, "100%_skin2.bmp"},  // a literal percent beside the number
        {"%d%%%%.3ds", 4, 64, "4%%.3ds"},
    };
    for (const auto& [pattern, number, size, named] : cases)
        EXPECT_EQ(name(pattern.c_str(), number, size), named) << pattern;
    // Widths and precisions of two digits at most.
    for (const char* pattern : {"%99d", "%.99i", "%-+ 0.2d"})
        EXPECT_TRUE(isNumberPattern(pattern)) << pattern;
    for (const char* pattern : {"%s.bmp", "%d_%d.bmp", "%d%%%d", "100%.bmp", "%#d", "%n", "%ld.3ds",
                                "%*d", "a%%d", "%100d", "%.100d", "%"}) {
        EXPECT_FALSE(isNumberPattern(pattern)) << pattern;
        EXPECT_EQ(name(pattern, 7), pattern);
    }
    // Animation key names are made by the same rule: the model tests check them.
    // Character files' patterns say what is wrong with them (a name too long: the animation
    // tests).
    char out[10];
    captureStderr();
    EXPECT_TRUE(formatNumberedName(out, sizeof out, "s%d.bmp", 7) && out == "s7.bmp"s);
    EXPECT_TRUE(formatNumberedName(out, sizeof out, "1%.bmp", 7) && out == "1%.bmp"s);
    EXPECT_FALSE(formatNumberedName(out, 0, "s.bmp", 1) || formatNumberedName(nullptr, 4, "s", 1) ||
                 formatNumberedName(out, sizeof out, nullptr, 1));
    EXPECT_EQ(capturedStderr(),
              "Name pattern \"1%.bmp\" is not a single number format, used as it is\n");
}

TEST(SkinChoice, OutOfRangeSkinIsDrawnAndMissingSkinsGiveZero) {
    EXPECT_EQ(chooseSkin(2, 3), 2);
    srand(21);
    const int drawn = rand() % 3, next = rand();
    srand(21);
    EXPECT_EQ(chooseSkin(3, 3), drawn);
    EXPECT_EQ(chooseSkin(5, 0), 0);  // no draw
    EXPECT_EQ(rand(), next);
}

}  // namespace
