// The data-file locator: search order, path rewriting and silence.
#include "DataLocator.h"

#include <gtest/gtest.h>

#include <string>

#include "ScratchData.h"

namespace {

class LocatorTest : public ::testing::Test {
protected:
    // The path found, or "-" plus the unchanged name when not found.
    std::string locate(const std::string& bare, bool complain = false) {
        char name[DATA_NAME_SIZE];
        std::snprintf(name, sizeof name, "%s", bare.c_str());
        return locateDataFile(name, complain) ? name : "-" + std::string(name);
    }
    ScratchData data;
};

TEST_F(LocatorTest, SearchIsBaseMajorWithTheBareFolderFirst) {
    data.work.write("a.bmp", "x");
    data.work.write("textures/a.bmp", "x");
    EXPECT_EQ(locate("a.bmp"), "a.bmp");
    data.work.write("models/m.3ds", "x");
    data.work.write("cfg/m.3ds", "x");
    data.dev.write("m.3ds", "x");
    EXPECT_EQ(locate("m.3ds"), "models/m.3ds");
    data.dev.write("cfg/pelmo.chr", "x");
    EXPECT_EQ(locate("pelmo.chr"), data.dev.path() + "/cfg/pelmo.chr");
}

TEST_F(LocatorTest, BackslashesInNamesAreSeparators) {
    data.work.write("maps/level.map", "x");
    EXPECT_EQ(locate("maps\\level.map"), "maps/level.map");
}

TEST_F(LocatorTest, MissingFileLeavesTheNameAndComplainsOnlyWhenAsked) {
    Output quiet = captureOutput([&] { EXPECT_EQ(locate("absent.bmp"), "-absent.bmp"); });
    EXPECT_EQ(quiet.err, "");
    Output loud = captureOutput([&] { EXPECT_EQ(locate("absent.bmp", true), "-absent.bmp"); });
    EXPECT_EQ(loud.err, "Unable to locate file absent.bmp\n");
}

TEST_F(LocatorTest, DirectoriesCountAsMissing) {
    data.work.write("chars/inside", "x");
    EXPECT_EQ(locate("chars"), "-chars");
}

TEST_F(LocatorTest, PathsThatWouldOverflowTheNameBufferAreSkipped) {
    const std::string name(230, 'n');  // fits the buffer alone, not behind the base
    data.dev.write("cfg/" + name, "x");
    EXPECT_EQ(locate(name), "-" + name);
    data.work.write("cfg/" + name, "x");
    EXPECT_EQ(locate(name), "cfg/" + name);
}

}  // namespace
