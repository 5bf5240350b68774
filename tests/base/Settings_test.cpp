// The settings file and the selection check.
#include "Settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "ScratchData.h"

namespace {

std::vector<int> values(const Settings& s) {
    return {s.width,          s.height,         s.bitsPerPixel, s.fullScreen,
            s.textureQuality, s.filledPolygons, s.niceHints};
}

class SettingsFileTest : public ::testing::Test {
protected:
    Output load() {
        return captureOutput([&] { s.loadSettingsFile(); });
    }
    ScratchData data;
    Settings s;
};

TEST_F(SettingsFileTest, ValuesInAnyWhiteSpaceShortFilesKeepZerosMissingFileGivesDefaults) {
    struct Case {
        const char* text;  // null: no settings file at all
        std::vector<int> values;
        std::string out, err;
    };
    const std::string windowed = "Windowed\nTexture quality 0 Filled polygons 0\n",
                      fallback = "Resolution : 640 X 480 X 0\n" + windowed;
    auto unusable = [](const std::string& size) {
        return "Unusable window size " + size + " in tovask.cfg. Using 640 X 480.\n";
    };
    const std::vector<int> small = {640, 480, 0, 0, 0, 0, 0};
    const Case cases[] = {
        {"800 600\n16 0\n2 1 1 99\n",
         {800, 600, 16, 0, 2, 1, 1},
         "Resolution : 800 X 600 X 16\nWindowed\nTexture quality 2 Filled polygons 1\n",
         ""},
        {"1024 768", {1024, 768, 0, 0, 0, 0, 0}, "Resolution : 1024 X 768 X 0\n" + windowed, ""},
        {"1 1", {1, 1, 0, 0, 0, 0, 0}, "Resolution : 1 X 1 X 0\n" + windowed, ""},
        {"0 480", small, fallback, unusable("0 X 480")},
        {"1280 oops 32", small, fallback, unusable("1280 X 0")},
        {"", small, fallback, unusable("0 X 0")},
        {nullptr,
         {640, 480, 0, 1, 1, 1, 0},
         "Resolution : 640 X 480 X 0\nFullscreen\nTexture quality 1 Filled polygons 1\n",
         "Unable to open inicialization file tovask.cfg. Using default valueas.\n"},
    };
    for (const Case& c : cases) {
        const std::string text = c.text ? c.text : "(none)";
        s.characters.resize(2);  // the record is reset before reading
        s.characterCount = 2;
        s.mapIndex = 5;
        if (c.text)
            data.work.write("tovask.cfg", c.text);
        else
            std::remove(data.work.file("tovask.cfg").c_str());
        const Output o = load();
        EXPECT_EQ(values(s), c.values) << text;
        EXPECT_EQ(o.out, c.out) << text;
        EXPECT_EQ(o.err, c.err) << text;
        EXPECT_EQ((std::vector<int>{s.characterCount, int(s.characters.size()), s.mapIndex}),
                  (std::vector<int>{0, 0, 0}))
            << text << ": the record is reset first";
    }
    data.dev.write("cfg/tovask.cfg", "320 200 8 1 0 0 0");  // found through the data folders
    load();
    EXPECT_EQ(values(s), (std::vector<int>{320, 200, 8, 1, 0, 0, 0}));
}

// The first failing check's message, or "" when the selection is valid.
// Two characters (3 skins and 1 skin) and one map.
std::string check(int map, int character, int skin, int secondSkins = 1) {
    Settings s;
    s.characters.resize(2);
    s.characters[0].skinCount = 3;
    s.characters[1].skinCount = secondSkins;
    s.characterCount = 2;
    s.maps.resize(1);
    s.mapCount = 1;
    s.mapIndex = map;
    s.characterIndex = character;
    s.skinIndex = skin;
    bool valid = false;
    const Output o = captureOutput([&] { valid = s.validateSelection(); });
    EXPECT_EQ(valid, o.err.empty());
    return o.err;
}

TEST(SelectionTest, EachIndexAgainstItsOwnRangeInMapCharacterSkinOrder) {
    EXPECT_EQ(check(0, 0, 2), "");
    EXPECT_EQ(check(0, 1, 0), "");
    EXPECT_EQ(check(-1, 0, 0), "Invalid mapID when starting engine\n");
    EXPECT_EQ(check(0, 2, 0), "Invalid charID when starting engine\n");
    EXPECT_EQ(check(0, 0, 3), "Invalid skinID when starting engine\n");
    EXPECT_EQ(check(0, 1, 1), "Invalid skinID when starting engine\n");
    EXPECT_EQ(check(0, 1, 0, 0), "Invalid skinID when starting engine\n");
    EXPECT_EQ(check(0, 0, -1), "Invalid skinID when starting engine\n");
    EXPECT_EQ(check(1, -1, 9), "Invalid mapID when starting engine\n");
    EXPECT_EQ(check(0, -1, 9), "Invalid charID when starting engine\n");
}

}  // namespace
