// The content lists and the character and map description files.
#include <gtest/gtest.h>

#include <string>

#include "DataLocator.h"
#include "Settings.h"
#include "TestFiles.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

constexpr const char* PELMO =
    "0\n3\nPelmo\npelmo_skin%d.bmp\npelmo_arms%d.3ds\npelmo_stand3\npelmo_walk3\n"
    "pelmo_strafe3\npelmo_diag3\n0.5\nnone\npelmo_extra.3ds\npelmo_death3\n";
constexpr const char* ARENA =
    "Arena\narena_level.3ds\nnoground\nnoroof\nnosky\nnone\n0.5 0.25 0.75 1.0\narena_coll.3ds\n";

class ContentTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = developmentDataDir;
        developmentDataDir = dev_.path().c_str();
    }
    void TearDown() override { developmentDataDir = saved_; }

    // Runs load and keeps what it printed.
    template <typename Load>
    void capture(Load load) {
        CaptureStdout();
        CaptureStderr();
        load();
        err = GetCapturedStderr();
        out = GetCapturedStdout();
    }
    void loadCharacter(const char* fileName) {
        char name[DATA_NAME_SIZE];
        std::snprintf(name, sizeof name, "%s", fileName);
        capture([&] { s.loadCharacterFile(name); });
    }
    void loadMap(const char* fileName) {
        char name[DATA_NAME_SIZE];
        std::snprintf(name, sizeof name, "%s", fileName);
        capture([&] { s.loadMapFile(name); });
    }

    TempDir work_;
    TempDir dev_;
    ScopedWorkingDir cwd_{work_.path()};
    const char* saved_ = nullptr;
    Settings s;
    std::string out, err;
};

TEST_F(ContentTest, CharacterFileFillsEveryFieldInOrder) {
    work_.write("cfg/pelmo.chr", PELMO);
    loadCharacter("pelmo.chr");
    ASSERT_EQ(s.characterCount, 1);
    ASSERT_EQ(s.characters.size(), 1u);
    const CharacterInfo& c = s.characters[0];
    EXPECT_STREQ(c.filePath, "cfg/pelmo.chr");
    EXPECT_EQ(c.creatureType, 0);
    EXPECT_EQ(c.skinCount, 3);
    EXPECT_STREQ(c.name, "Pelmo");
    EXPECT_STREQ(c.skinTexturePattern, "pelmo_skin%d.bmp");
    EXPECT_STREQ(c.armModelPattern, "pelmo_arms%d.3ds");
    EXPECT_STREQ(c.standModelName, "pelmo_stand3");
    EXPECT_STREQ(c.walkModelName, "pelmo_walk3");
    EXPECT_STREQ(c.strafeModelName, "pelmo_strafe3");
    EXPECT_STREQ(c.diagonalModelName, "pelmo_diag3");
    EXPECT_FLOAT_EQ(c.spareNumber, 0.5f);
    EXPECT_STREQ(c.spareName, "none");
    EXPECT_STREQ(c.extraModelName, "pelmo_extra.3ds");
    EXPECT_STREQ(c.deathModelName, "pelmo_death3");
    EXPECT_EQ(out, "Loaded characer Pelmo from file cfg/pelmo.chr\n");
    EXPECT_EQ(err, "");
}

TEST_F(ContentTest, FieldsOnOneLineReadTheSameAsOnePerLine) {
    std::string oneLine = PELMO;
    for (char& ch : oneLine)
        if (ch == '\n') ch = ' ';
    work_.write("a.chr", PELMO);
    work_.write("b.chr", oneLine.substr(0, oneLine.size() - 1));  // no final break
    loadCharacter("a.chr");
    loadCharacter("b.chr");
    ASSERT_EQ(s.characterCount, 2);
    EXPECT_STREQ(s.characters[1].deathModelName, s.characters[0].deathModelName);
    EXPECT_EQ(s.characters[1].skinCount, 3);
}

TEST_F(ContentTest, CharacterOfUnknownTypeIsDroppedButStillAnnounced) {
    std::string bad = PELMO;
    bad[0] = '1';
    work_.write("bad.chr", bad);
    loadCharacter("bad.chr");
    EXPECT_EQ(s.characterCount, 0);
    EXPECT_TRUE(s.characters.empty());
    EXPECT_EQ(err, "Invalid character data from file bad.chr\n");
    EXPECT_EQ(out, "Loaded characer Pelmo from file bad.chr\n");
}

TEST_F(ContentTest, TruncatedCharacterFileKeepsMissingFieldsEmpty) {
    work_.write("short.chr", "0 2 Shorty skin%d.bmp");
    loadCharacter("short.chr");
    ASSERT_EQ(s.characterCount, 1);
    EXPECT_STREQ(s.characters[0].skinTexturePattern, "skin%d.bmp");
    EXPECT_STREQ(s.characters[0].armModelPattern, "");
    EXPECT_EQ(s.characters[0].spareNumber, 0.0f);
    EXPECT_STREQ(s.characters[0].deathModelName, "");
}

TEST_F(ContentTest, OverlongNameFieldStaysEmptyWithoutShiftingTheOthers) {
    const std::string longWord(300, 'w');
    work_.write("long.chr", "0 1 " + longWord + " skin%d.bmp arms%d.3ds s w st d 0 n e death");
    loadCharacter("long.chr");
    ASSERT_EQ(s.characterCount, 1);
    EXPECT_STREQ(s.characters[0].name, "");
    EXPECT_STREQ(s.characters[0].skinTexturePattern, "skin%d.bmp");
    EXPECT_STREQ(s.characters[0].deathModelName, "death");
    EXPECT_EQ(err, "Name longer than 254 characters skipped in file long.chr\n");

    const std::string exact(254, 'x');
    work_.write("exact.chr", "0 1 " + exact);
    loadCharacter("exact.chr");
    ASSERT_EQ(s.characterCount, 2);
    EXPECT_EQ(std::string(s.characters[1].name), exact);
}

TEST_F(ContentTest, MissingOrUnreadableCharacterFileIsSkipped) {
    loadCharacter("nobody.chr");
    EXPECT_EQ(s.characterCount, 0);
    EXPECT_EQ(err, "Unable to locate file nobody.chr\n");
    EXPECT_EQ(out, "Unable to find character file nobody.chr");
    loadMap("nowhere.map");
    EXPECT_EQ(s.mapCount, 0);
    EXPECT_EQ(out, "Unable to find map file nowhere.map");
}

TEST_F(ContentTest, MapFileFillsEveryFieldInOrder) {
    dev_.write("scenes/arena.map", ARENA);
    loadMap("arena.map");
    ASSERT_EQ(s.mapCount, 1);
    const MapInfo& m = s.maps[0];
    const std::string path = dev_.path() + "/scenes/arena.map";
    EXPECT_EQ(std::string(m.filePath), path);
    EXPECT_STREQ(m.name, "Arena");
    EXPECT_STREQ(m.levelModel, "arena_level.3ds");
    EXPECT_STREQ(m.groundModel, "noground");
    EXPECT_STREQ(m.roofModel, "noroof");
    EXPECT_STREQ(m.skyTexture, "nosky");
    EXPECT_STREQ(m.spareName, "none");
    EXPECT_FLOAT_EQ(m.fogColour[0], 0.5f);
    EXPECT_FLOAT_EQ(m.fogColour[1], 0.25f);
    EXPECT_FLOAT_EQ(m.fogColour[2], 0.75f);
    EXPECT_FLOAT_EQ(m.fogColour[3], 1.0f);
    EXPECT_STREQ(m.collisionModel, "arena_coll.3ds");
    EXPECT_EQ(out, "Loaded map Arena from file " + path + "\n");
}

TEST_F(ContentTest, ListsLoadEveryNameInOrderIncludingAnUnterminatedLastOne) {
    work_.write("chars", "  a.chr\n\n\tb.chr");
    work_.write("maps", "arena.map\n");
    work_.write("cfg/a.chr", PELMO);
    std::string second = PELMO;
    second.replace(second.find("Pelmo"), 5, "Second");
    work_.write("cfg/b.chr", second);
    work_.write("scenes/arena.map", ARENA);
    capture([&] { s.loadContentLists(); });
    ASSERT_EQ(s.characterCount, 2);
    EXPECT_STREQ(s.characters[0].name, "Pelmo");
    EXPECT_STREQ(s.characters[1].name, "Second");
    EXPECT_EQ(s.mapCount, 1);
    EXPECT_EQ(out,
              "Loaded characer Pelmo from file cfg/a.chr\n"
              "Loaded characer Second from file cfg/b.chr\n"
              "Loaded map Arena from file scenes/arena.map\n");
}

TEST_F(ContentTest, OverlongListEntryIsSkippedNotSplit) {
    work_.write("chars", std::string(300, 'c') + "\na.chr\n");
    work_.write("maps", "arena.map");
    work_.write("a.chr", PELMO);
    work_.write("arena.map", ARENA);
    capture([&] { s.loadContentLists(); });
    EXPECT_EQ(s.characterCount, 1);
    EXPECT_EQ(err, "Name longer than 254 characters skipped in file chars\n");
}

using ContentDeathTest = ContentTest;

TEST_F(ContentDeathTest, MissingListEndsTheProcess) {
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1), "Unable to locate file chars\n");
    work_.write("chars", "a.chr");
    work_.write("a.chr", PELMO);
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1), "Unable to locate file maps\n");
}

TEST_F(ContentDeathTest, ListWithoutNamesEndsTheProcessWithoutOpeningAnything) {
    work_.write("chars", " \n\n");
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1),
                "^No characters found in file chars\n$");
    work_.write("chars", "a.chr");
    work_.write("a.chr", PELMO);
    work_.write("maps", "");
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1), "^No maps found in file maps\n$");
}

TEST_F(ContentDeathTest, ListOfOnlyInvalidCharactersEndsTheProcess) {
    std::string bad = PELMO;
    bad[0] = '7';
    work_.write("chars", "bad.chr missing.chr");
    work_.write("bad.chr", bad);
    work_.write("maps", "arena.map");
    work_.write("arena.map", ARENA);
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1),
                "Invalid character data from file bad.chr\n"
                "Unable to locate file missing.chr\n"
                "No characters found in file chars\n");
}

}  // namespace
