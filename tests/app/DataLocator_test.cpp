// The data-file locator: search order, path rewriting and silence.
#include "DataLocator.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "TestFiles.h"

namespace {

// Works in a fresh folder with the third base pointed at a second fresh folder,
// so the build's own data folder never answers.
class LocatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDataDir_ = developmentDataDir;
        devBase_ = dev_.path();
        developmentDataDir = devBase_.c_str();
    }
    void TearDown() override { developmentDataDir = savedDataDir_; }

    bool locate(const char* bare, bool complain, std::string& found) {
        char name[DATA_NAME_SIZE];
        std::snprintf(name, sizeof name, "%s", bare);
        const bool ok = locateDataFile(name, complain);
        found = name;
        return ok;
    }

    TempDir work_;
    TempDir dev_;
    ScopedWorkingDir cwd_{work_.path()};
    std::string devBase_;
    const char* savedDataDir_ = nullptr;
};

TEST_F(LocatorTest, WorkingFolderWinsOverItsDataFoldersAndOverLaterBases) {
    work_.write("a.bmp", "x");
    work_.write("textures/a.bmp", "x");
    dev_.write("a.bmp", "x");
    std::string found;
    ASSERT_TRUE(locate("a.bmp", true, found));
    EXPECT_EQ(found, "a.bmp");
}

TEST_F(LocatorTest, FoldersAreTriedInOrderWithinABaseBeforeTheNextBase) {
    work_.write("models/m.3ds", "x");
    work_.write("cfg/m.3ds", "x");
    dev_.write("m.3ds", "x");
    std::string found;
    ASSERT_TRUE(locate("m.3ds", true, found));
    EXPECT_EQ(found, "models/m.3ds");
}

TEST_F(LocatorTest, DevelopmentBaseGivesBaseFolderAndName) {
    dev_.write("cfg/pelmo.chr", "x");
    std::string found;
    ASSERT_TRUE(locate("pelmo.chr", true, found));
    EXPECT_EQ(found, devBase_ + "/cfg/pelmo.chr");
}

TEST_F(LocatorTest, BackslashesInNamesAreSeparators) {
    work_.write("maps/level.map", "x");
    std::string found;
    ASSERT_TRUE(locate("maps\\level.map", true, found));
    EXPECT_EQ(found, "maps/level.map");
}

TEST_F(LocatorTest, MissingFileLeavesNameAndComplainsOnlyWhenAsked) {
    std::string found;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(locate("absent.bmp", false, found));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(found, "absent.bmp");

    testing::internal::CaptureStderr();
    EXPECT_FALSE(locate("absent.bmp", true, found));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unable to locate file absent.bmp\n");
    EXPECT_EQ(found, "absent.bmp");
}

TEST_F(LocatorTest, DirectoriesAndUnreadableFilesCountAsMissing) {
    work_.write("chars/inside", "x");  // "chars" is a folder here
    const std::string locked = work_.write("locked.cfg", "x");
    chmod(locked.c_str(), 0);
    dev_.write("locked.cfg", "x");
    std::string found;
    EXPECT_FALSE(locate("chars", false, found));
    ASSERT_TRUE(locate("locked.cfg", false, found));
    if (geteuid() != 0) {  // root reads anything
        EXPECT_EQ(found, devBase_ + "/locked.cfg");
    }
}

TEST_F(LocatorTest, PathsThatWouldOverflowTheNameBufferAreNotFound) {
    const std::string name(230, 'n');  // fits the buffer alone, not behind the base
    dev_.write("cfg/" + name, "x");
    std::string found;
    EXPECT_FALSE(locate(name.c_str(), false, found));
    EXPECT_EQ(found, name);
    work_.write("cfg/" + name, "x");
    ASSERT_TRUE(locate(name.c_str(), false, found));
    EXPECT_EQ(found, "cfg/" + name);
}

}  // namespace
