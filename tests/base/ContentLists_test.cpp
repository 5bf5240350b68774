// The content lists and the character and map description files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CreatureType.h"
#include "DataLocator.h"
#include "ScratchData.h"
#include "Settings.h"

namespace {

constexpr const char* PELMO =
    "0\n3\nPelmo\nskin%d.bmp\narms%d.3ds\nstand3\nwalk3\nstrafe3\ndiag3\n0.5\nnone\n"
    "extra.3ds\ndeath3\n";
constexpr const char* ARENA =
    "Arena\nlevel.3ds\nnoground\nnoroof\nnosky\nnone\n0.5 0.25 0.75 1.0\ncoll.3ds\n";

// Every field of a record in file order, separated by '|'.
std::string fields(const CharacterInfo& c) {
    char text[4096];
    std::snprintf(text, sizeof text, "%d|%d|%s|%s|%s|%s|%s|%s|%s|%g|%s|%s|%s", c.creatureType,
                  c.skinCount, c.name, c.skinTexturePattern, c.armModelPattern, c.standModelName,
                  c.walkModelName, c.strafeModelName, c.diagonalModelName, c.spareNumber,
                  c.spareName, c.extraModelName, c.deathModelName);
    return text;
}
std::string fields(const MapInfo& m) {
    char text[4096];
    std::snprintf(text, sizeof text, "%s|%s|%s|%s|%s|%s|%g %g %g %g|%s", m.name, m.levelModel,
                  m.groundModel, m.roofModel, m.skyTexture, m.spareName, m.fogColour[0],
                  m.fogColour[1], m.fogColour[2], m.fogColour[3], m.collisionModel);
    return text;
}

class ContentTest : public ::testing::Test {
protected:
    // One description file read into s, by its bare name.
    Output load(const char* fileName,
                void (Settings::*read)(char*) = &Settings::loadCharacterFile) {
        char name[DATA_NAME_SIZE];
        std::snprintf(name, sizeof name, "%s", fileName);
        return captureOutput([&] { (s.*read)(name); });
    }
    ScratchData data;
    Settings s;
};

TEST_F(ContentTest, DescriptionFilesFillEveryFieldInOrder) {
    data.work.write("cfg/pelmo.chr", PELMO);
    const Output c = load("pelmo.chr");
    ASSERT_EQ(s.characterCount, 1);
    EXPECT_EQ(
        fields(s.characters[0]),
        "0|3|Pelmo|skin%d.bmp|arms%d.3ds|stand3|walk3|strafe3|diag3|0.5|none|extra.3ds|death3");
    EXPECT_STREQ(s.characters[0].filePath, "cfg/pelmo.chr");
    EXPECT_EQ(c.out, "Loaded characer Pelmo from file cfg/pelmo.chr\n");

    data.dev.write("scenes/arena.map", ARENA);
    const Output m = load("arena.map", &Settings::loadMapFile);
    ASSERT_EQ(s.mapCount, 1);
    EXPECT_EQ(fields(s.maps[0]),
              "Arena|level.3ds|noground|noroof|nosky|none|0.5 0.25 0.75 1|coll.3ds");
    EXPECT_EQ(m.out, "Loaded map Arena from file " + data.dev.path() + "/scenes/arena.map\n");
}

TEST_F(ContentTest, OddLayoutsShortFilesAndOverlongNamesKeepTheFieldOrder) {
    std::string oneLine = PELMO;  // fields on one line, no final break
    for (char& ch : oneLine)
        if (ch == '\n') ch = ' ';
    oneLine.pop_back();
    const std::string longest(254, 'x');
    struct Case {
        std::string text, fields, err;
    };
    const Case cases[] = {
        {oneLine,
         "0|3|Pelmo|skin%d.bmp|arms%d.3ds|stand3|walk3|strafe3|diag3|0.5|none|extra.3ds|death3",
         ""},
        {"0 2 Shorty skin%d.bmp", "0|2|Shorty|skin%d.bmp||||||0|||", ""},
        {"0 1 " + std::string(255, 'w') + " skin a s w st d 0 n e death",
         "0|1||skin|a|s|w|st|d|0|n|e|death",
         "Name longer than 254 characters skipped in file c.chr\n"},
        {"0 1 " + longest, "0|1|" + longest + "|||||||0|||", ""},
    };
    for (const Case& c : cases) {
        s = Settings();
        data.work.write("c.chr", c.text);
        const Output o = load("c.chr");
        ASSERT_EQ(s.characterCount, 1) << c.text;
        EXPECT_EQ(fields(s.characters[0]), c.fields);
        EXPECT_EQ(o.err, c.err);
    }
}

TEST_F(ContentTest, MissingDescriptionFilesAreSkipped) {
    const Output c = load("nobody.chr");
    EXPECT_EQ(c.err, "Unable to locate file nobody.chr\n");
    EXPECT_EQ(c.out, "Unable to find character file nobody.chr");
    EXPECT_EQ(load("nowhere.map", &Settings::loadMapFile).out,
              "Unable to find map file nowhere.map");
    EXPECT_EQ(s.characterCount + s.mapCount, 0);
}

// The table has one row: 0 is the only valid creature type. A character of another is
// reported and dropped; a lookup outside the table falls back to row 0.
TEST_F(ContentTest, CreatureTypesOutsideTheTableAreRejected) {
    for (int type : {-1, 0, 1}) {
        s = Settings();
        std::string text = PELMO;
        text.replace(0, 1, std::to_string(type));
        data.work.write("c.chr", text);
        const Output o = load("c.chr");
        EXPECT_EQ(o.err, type == 0 ? "" : "Invalid character data from file c.chr\n") << type;
        EXPECT_EQ(o.out, "Loaded characer Pelmo from file c.chr\n") << type;
        EXPECT_EQ(s.characterCount, type == 0 ? 1 : 0) << type;
        EXPECT_EQ(int(s.characters.size()), s.characterCount) << type;
        const CreatureType* row = nullptr;
        EXPECT_EQ(captureOutput([&] { row = &creatureTypeFor(type); }).err,
                  type == 0 ? "" : "Unknown creature type " + std::to_string(type) + ", using 0\n");
        EXPECT_EQ(std::memcmp(row, &creatureTypes[0], sizeof *row), 0) << type << ": row 0";
    }
}

// The whole start-up read: banner, settings file, then both lists.
TEST_F(ContentTest, ListsLoadEveryNameInOrderAndSkipOverlongOnes) {
    data.work.write("tovask.cfg", "800 600 16 0 2 1 1");
    data.work.write("chars", "  a.chr\n" + std::string(255, 'c') + "\n\tb.chr");
    data.work.write("maps", "arena.map\n");
    data.work.write("cfg/a.chr", PELMO);
    std::string second = PELMO;
    second.replace(second.find("Pelmo"), 5, "Second");
    data.work.write("cfg/b.chr", second);
    data.work.write("scenes/arena.map", ARENA);
    const Output o = captureOutput([&] { s.load(); });
    EXPECT_EQ(o.out,
              "         --- TOVASK ---\n  Version 0.03 - betatesting only\n"
              "Resolution : 800 X 600 X 16\nWindowed\nTexture quality 2 Filled polygons 1\n"
              "Loaded characer Pelmo from file cfg/a.chr\n"
              "Loaded characer Second from file cfg/b.chr\n"
              "Loaded map Arena from file scenes/arena.map\n");
    EXPECT_EQ(o.err, "Name longer than 254 characters skipped in file chars\n");
    EXPECT_EQ(s.characterCount, 2);
    EXPECT_EQ(s.mapCount, 1);
}

using ContentDeathTest = ContentTest;

TEST_F(ContentDeathTest, ListMissingOrWithoutValidEntriesEndsTheProcess) {
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1), "Unable to locate file chars\n");
    data.work.write("chars", "a.chr");
    data.work.write("a.chr", PELMO);
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1), "Unable to locate file maps\n");
    data.work.write("chars", " \n\n");
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1),
                "^No characters found in file chars\n$");
    std::string bad = PELMO;
    bad[0] = '1';  // only creature type 0 exists
    data.work.write("chars", "bad.chr missing.chr");
    data.work.write("bad.chr", bad);
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1),
                "^Invalid character data from file bad.chr\n"
                "Unable to locate file missing.chr\n"
                "No characters found in file chars\n$")
        << "every file was read, none was valid";
    data.work.write("chars", "a.chr");  // a.chr is still there
    data.work.write("maps", "");
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1), "^No maps found in file maps\n$");
}

}  // namespace
