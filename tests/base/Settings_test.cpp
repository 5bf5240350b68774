// The settings record: the settings file, the content lists and the description files they
// name, the creature type check and the selection check.
#include "Settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>

#include "CaptureOutput.h"
#include "CreatureType.h"
#include "DataLocator.h"
#include "ScratchData.h"
#include "Text.h"

namespace {

constexpr const char* PELMO =
    "0\n3\nPelmo\nskin%d.bmp\narms%d.3ds\nstand3\nwalk3\nstrafe3\ndiag3\n0.5\nnone\n"
    "extra.3ds\ndeath3\n";
const std::string PELMO_FIELDS =
    "0|3|Pelmo|skin%d.bmp|arms%d.3ds|stand3|walk3|strafe3|diag3|0.5|none|extra.3ds|death3";
constexpr const char* ARENA =
    "Arena\nlevel.3ds\nnoground\nnoroof\nnosky\nnone\n0.5 0.25 0.75 1.0\ncoll.3ds\n";

// Every field of a record in file order, separated by '|'.
std::string fields(const CharacterInfo& c) {
    return format("%d|%d|%s|%s|%s|%s|%s|%s|%s|%g|%s|%s|%s", c.creatureType, c.skinCount, c.name,
                  c.skinTexturePattern, c.armModelPattern, c.standModelName, c.walkModelName,
                  c.strafeModelName, c.diagonalModelName, c.spareNumber, c.spareName,
                  c.extraModelName, c.deathModelName);
}
std::string fields(const MapInfo& m) {
    return format("%s|%s|%s|%s|%s|%s|%g %g %g %g|%s", m.name, m.levelModel, m.groundModel,
                  m.roofModel, m.skyTexture, m.spareName, m.fogColour[0], m.fogColour[1],
                  m.fogColour[2], m.fogColour[3], m.collisionModel);
}

class SettingsTest : public ::testing::Test {
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

// Seven whole numbers in any white space, the rest ignored; what a short file lacks stays 0,
// but a window needs a width and a height of at least 1. No file: the defaults.
TEST_F(SettingsTest, SettingsFileValuesShortFilesAndTheDefaults) {
    const std::string fallback = "640 480 0 0 0 0 0",
                      unusable = "Unusable window size %d X %d in tovask.cfg. Using 640 X 480.\n";
    const struct {
        const char* text;  // null: no settings file at all
        std::string values, err;
    } cases[] = {
        {"800 600\n16 0\n2 1 1 99\n", "800 600 16 0 2 1 1", ""},
        {"1024 768", "1024 768 0 0 0 0 0", ""},
        {"1 1", "1 1 0 0 0 0 0", ""},
        {"0 480", fallback, format(unusable.c_str(), 0, 480)},
        {"1280 oops 32", fallback, format(unusable.c_str(), 1280, 0)},
        {"", fallback, format(unusable.c_str(), 0, 0)},
        {nullptr, "640 480 0 1 1 1 0",
         "Unable to open inicialization file tovask.cfg. Using default valueas.\n"},
    };
    for (const auto& c : cases) {
        const std::string text = c.text ? c.text : "(none)";
        s.characters.resize(2);  // the record is reset before reading
        s.characterCount = s.mapIndex = 2;
        std::remove("tovask.cfg");
        if (c.text) data.work.write("tovask.cfg", c.text);
        const Output o = captureOutput([&] { s.loadSettingsFile(); });
        EXPECT_EQ(format("%d %d %d %d %d %d %d, left %d", s.width, s.height, s.bitsPerPixel,
                         s.fullScreen, s.textureQuality, s.filledPolygons, s.niceHints,
                         s.characterCount + int(s.characters.size()) + s.mapIndex),
                  c.values + ", left 0")
            << text << ": the seven values, then what is left of the old record (it is reset)";
        const char* mode = s.fullScreen ? "Fullscreen" : "Windowed";
        EXPECT_EQ(
            o.out + o.err,
            format("Resolution : %d X %d X %d\n%s\nTexture quality %d Filled polygons %d\n",
                   s.width, s.height, s.bitsPerPixel, mode, s.textureQuality, s.filledPolygons) +
                c.err)
            << text << ": printed";
    }
}

// Fields in any white space, those missing at the end left empty; a name of 254 characters
// is read, one of 255 is left empty and the fields after it keep their order. 0 is the only
// valid creature type: a character of another is reported (its name still printed) and
// dropped.
TEST_F(SettingsTest, DescriptionFilesFillEveryFieldInOrderAndCharactersNeedAKnownType) {
    std::string oneLine = PELMO;  // no final break either
    for (char& ch : oneLine)
        if (ch == '\n') ch = ' ';
    oneLine.pop_back();
    const std::string longest(254, 'x'), invalid = "Invalid character data from file cfg/c.chr\n";
    const struct {
        std::string text, name, fields;  // fields: "" when the character is dropped
        std::string err;
    } cases[] = {
        {PELMO, "Pelmo", PELMO_FIELDS, ""},
        {oneLine, "Pelmo", PELMO_FIELDS, ""},
        {"0 2 Shorty skin%d.bmp", "Shorty", "0|2|Shorty|skin%d.bmp||||||0|||", ""},
        {"0 1 " + longest, longest, "0|1|" + longest + "|||||||0|||", ""},
        {"0 1 " + std::string(255, 'w') + " skin a s w st d 0 n e death", "",
         "0|1||skin|a|s|w|st|d|0|n|e|death",
         "Name longer than 254 characters skipped in file cfg/c.chr\n"},
        {"-1 1 Minus", "Minus", "", invalid},
        {"1 1 One", "One", "", invalid},
    };
    for (const auto& c : cases) {
        s = Settings();
        data.work.write("cfg/c.chr", c.text);
        const Output o = load("c.chr");
        EXPECT_EQ(format("%d %zu ", s.characterCount, s.characters.size()) +
                      (s.characters.empty() ? "" : fields(s.characters[0])) + "\n" + o.out + o.err,
                  (c.fields.empty() ? "0 0 \n" : "1 1 " + c.fields + "\n") + "Loaded characer " +
                      c.name + " from file cfg/c.chr\n" + c.err)
            << c.text << ": the count, the record, then what was printed";
    }
    // A lookup outside the table gets row 0.
    for (int type : {-1, 0, 1}) {
        const CreatureType* row = nullptr;
        EXPECT_EQ(captureOutput([&] { row = &creatureTypeFor(type); }).err,
                  type == 0 ? "" : format("Unknown creature type %d, using 0\n", type));
        EXPECT_EQ(std::memcmp(row, &creatureTypes[0], sizeof *row), 0) << type << ": row 0";
    }
    // A map file likewise; description files not found are skipped.
    s = Settings();
    data.dev.write("scenes/arena.map", ARENA);
    const Output m = load("arena.map", &Settings::loadMapFile), nobody = load("nobody.chr"),
                 missing = load("nowhere.map", &Settings::loadMapFile);
    ASSERT_EQ(format("%d %d", s.characterCount, s.mapCount), "0 1") << "missing files are skipped";
    EXPECT_EQ(
        fields(s.maps[0]) + "\n" + m.out + nobody.out + "\n" + missing.out + "\n" + missing.err,
        format("Arena|level.3ds|noground|noroof|nosky|none|0.5 0.25 0.75 1|coll.3ds\nLoaded "
               "map Arena from file %s/scenes/arena.map\nUnable to find character file "
               "nobody.chr\nUnable to find map file nowhere.map\nUnable to locate file "
               "nowhere.map\n",
               data.dev.path().c_str()));
}

using SettingsDeathTest = SettingsTest;

TEST_F(SettingsDeathTest, ListMissingOrWithoutValidEntriesEndsTheProcess) {
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1), "Unable to locate file chars\n");
    data.work.write("chars", "a.chr");
    data.work.write("a.chr", PELMO);
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1), "Unable to locate file maps\n");
    data.work.write("chars", " \n\n");
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1),
                "^No characters found in file chars\n$");
    data.work.write("chars", std::string(255, 'c') + " bad.chr missing.chr");
    data.work.write("bad.chr", std::string("1") + (PELMO + 1));  // only type 0 exists
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1),
                "^Name longer than 254 characters skipped in file chars\nInvalid character data "
                "from file bad.chr\nUnable to locate file missing.chr\nNo characters found in "
                "file chars\n$")
        << "every name was tried, no file was valid";
    data.work.write("chars", "a.chr");
    data.work.write("maps", "");
    EXPECT_EXIT(s.loadContentLists(), testing::ExitedWithCode(1), "^No maps found in file maps\n$");
}

// Each index against its own range, map first: the first failing check's message.
TEST(SelectionTest, EachIndexAgainstItsOwnRangeInMapCharacterSkinOrder) {
    const std::string map = "Invalid mapID when starting engine\n",
                      character = "Invalid charID when starting engine\n",
                      skin = "Invalid skinID when starting engine\n";
    const struct {
        int map, character, skin, secondSkins;
        std::string err;
    } cases[] = {{0, 0, 2, 1, ""},   {0, 1, 0, 1, ""},        {-1, 0, 0, 1, map},
                 {1, -1, 9, 1, map}, {0, 2, 0, 1, character}, {0, -1, 9, 1, character},
                 {0, 0, 3, 1, skin}, {0, 1, 1, 1, skin},      {0, 1, 0, 0, skin},
                 {0, 0, -1, 1, skin}};
    Settings s;  // two characters (3 skins, then secondSkins) and one map
    s.characters.resize(2);
    s.characters[0].skinCount = 3;
    s.characterCount = 2;
    s.maps.resize(1);
    s.mapCount = 1;
    for (const auto& c : cases) {
        s.characters[1].skinCount = c.secondSkins;
        std::tie(s.mapIndex, s.characterIndex, s.skinIndex) = std::tie(c.map, c.character, c.skin);
        bool valid = false;
        EXPECT_EQ(captureOutput([&] { valid = s.validateSelection(); }).err, c.err)
            << c.map << " " << c.character << " " << c.skin;
        EXPECT_EQ(valid, c.err.empty());
    }
}

}  // namespace
