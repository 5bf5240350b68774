// The settings file, the start-up banner and the selection check.
#include "Settings.h"

#include <gtest/gtest.h>

#include <string>

#include "DataLocator.h"
#include "TestFiles.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

// A working folder of its own and an empty third base, so only the files a
// test writes are seen.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = developmentDataDir;
        developmentDataDir = dev_.path().c_str();
    }
    void TearDown() override { developmentDataDir = saved_; }

    // Loads the settings file and returns what went to stdout; stderr lands in err.
    std::string loadSettings(Settings& s, std::string& err) {
        CaptureStdout();
        CaptureStderr();
        s.loadSettingsFile();
        err = GetCapturedStderr();
        return GetCapturedStdout();
    }

    TempDir work_;
    TempDir dev_;
    ScopedWorkingDir cwd_{work_.path()};
    const char* saved_ = nullptr;
};

TEST_F(SettingsFileTest, FullFileGivesAllSevenValuesAndTheirLines) {
    work_.write("tovask.cfg", "800 600\n16 0\n2 1 1 99\n");
    Settings s;
    std::string err;
    const std::string out = loadSettings(s, err);
    EXPECT_EQ(out, "Resolution : 800 X 600 X 16\nWindowed\nTexture quality 2 Filled polygons 1\n");
    EXPECT_EQ(err, "");
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.height, 600);
    EXPECT_EQ(s.bitsPerPixel, 16);
    EXPECT_EQ(s.fullScreen, 0);
    EXPECT_EQ(s.textureQuality, 2);
    EXPECT_EQ(s.filledPolygons, 1);
    EXPECT_EQ(s.niceHints, 1);
}

TEST_F(SettingsFileTest, ShortOrMalformedFileLeavesTheRestZeroNotDefault) {
    Settings s;
    std::string err;
    work_.write("tovask.cfg", "1024 768");
    EXPECT_EQ(loadSettings(s, err),
              "Resolution : 1024 X 768 X 0\nWindowed\nTexture quality 0 Filled polygons 0\n");
    EXPECT_EQ(err, "");
    EXPECT_EQ(s.niceHints, 0);

    work_.write("tovask.cfg", "1280 oops 32");
    loadSettings(s, err);
    EXPECT_EQ(s.width, 1280);
    EXPECT_EQ(s.height, 0);
    EXPECT_EQ(s.bitsPerPixel, 0);

    work_.write("tovask.cfg", "");
    loadSettings(s, err);
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(err, "");
}

TEST_F(SettingsFileTest, MissingFileGivesDefaultsAndSaysSo) {
    Settings s;
    std::string err;
    EXPECT_EQ(loadSettings(s, err),
              "Resolution : 640 X 480 X 0\nFullscreen\nTexture quality 1 Filled polygons 1\n");
    EXPECT_EQ(err, "Unable to open inicialization file tovask.cfg. Using default valueas.\n");
    EXPECT_EQ(s.niceHints, 0);
}

TEST_F(SettingsFileTest, FileIsFoundThroughTheDataFolders) {
    dev_.write("cfg/tovask.cfg", "320 200 8 1 0 0 0");
    Settings s;
    std::string err;
    EXPECT_EQ(loadSettings(s, err),
              "Resolution : 320 X 200 X 8\nFullscreen\nTexture quality 0 Filled polygons 0\n");
}

TEST_F(SettingsFileTest, ReloadingStartsFromAFreshRecord) {
    Settings s;
    s.characters.resize(2);
    s.characterCount = 2;
    s.mapIndex = 5;
    work_.write("tovask.cfg", "1 2 3 4 5 6 7");
    std::string err;
    loadSettings(s, err);
    EXPECT_EQ(s.characterCount, 0);
    EXPECT_TRUE(s.characters.empty());
    EXPECT_EQ(s.mapIndex, 0);
}

// Two characters (3 skins and 1 skin) and one map.
Settings selectionFixture() {
    Settings s;
    s.characters.resize(2);
    s.characters[0].skinCount = 3;
    s.characters[1].skinCount = 1;
    s.characterCount = 2;
    s.maps.resize(1);
    s.mapCount = 1;
    return s;
}

bool validate(const Settings& s, std::string& err) {
    CaptureStderr();
    const bool ok = s.validateSelection();
    err = GetCapturedStderr();
    return ok;
}

TEST(SelectionTest, EveryIndexInRangeIsValid) {
    Settings s = selectionFixture();
    s.characterIndex = 0;
    s.skinIndex = 2;
    std::string err;
    EXPECT_TRUE(validate(s, err));
    EXPECT_EQ(err, "");
}

TEST(SelectionTest, EachIndexIsCheckedAgainstItsOwnRange) {
    std::string err;
    Settings s = selectionFixture();
    s.characterIndex = 2;
    EXPECT_FALSE(validate(s, err));
    EXPECT_EQ(err, "Invalid charID when starting engine\n");

    s = selectionFixture();
    s.skinIndex = 3;
    EXPECT_FALSE(validate(s, err));
    EXPECT_EQ(err, "Invalid skinID when starting engine\n");

    s = selectionFixture();
    s.characterIndex = 1;
    s.skinIndex = 1;  // the second character has only one skin
    EXPECT_FALSE(validate(s, err));
    EXPECT_EQ(err, "Invalid skinID when starting engine\n");

    s = selectionFixture();
    s.mapIndex = -1;
    EXPECT_FALSE(validate(s, err));
    EXPECT_EQ(err, "Invalid mapID when starting engine\n");
}

TEST(SelectionTest, MapIsCheckedFirstThenCharacter) {
    std::string err;
    Settings s = selectionFixture();
    s.mapIndex = 1;
    s.characterIndex = -1;
    s.skinIndex = 9;
    EXPECT_FALSE(validate(s, err));
    EXPECT_EQ(err, "Invalid mapID when starting engine\n");

    s.mapIndex = 0;
    EXPECT_FALSE(validate(s, err));
    EXPECT_EQ(err, "Invalid charID when starting engine\n");
}

TEST(SelectionTest, CharacterWithoutSkinsCanNeverBeSelected) {
    Settings s = selectionFixture();
    s.characters[1].skinCount = 0;
    s.characterIndex = 1;
    std::string err;
    EXPECT_FALSE(validate(s, err));
    EXPECT_EQ(err, "Invalid skinID when starting engine\n");
}

}  // namespace
