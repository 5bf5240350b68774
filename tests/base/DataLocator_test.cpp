// The data-file locator: search order, path rewriting and silence.
#include "DataLocator.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "DataFolder.h"
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

// Base major, the bare folder first; a backslash is a separator and a folder is no file.
TEST_F(LocatorTest, SearchOrderSeparatorsAndFolders) {
    data.work.write("a.bmp", "x");
    data.work.write("textures/a.bmp", "x");
    auto lowestFreeFd = [] {
        const int fd = dup(0);
        close(fd);
        return fd;
    };
    const int freeFd = lowestFreeFd();
    EXPECT_EQ(locate("a.bmp"), "a.bmp");
    EXPECT_EQ(lowestFreeFd(), freeFd) << "the file was opened to see it reads, and not closed";
    data.work.write("models/m.3ds", "x");
    data.work.write("cfg/m.3ds", "x");
    data.dev.write("m.3ds", "x");
    EXPECT_EQ(locate("m.3ds"), "models/m.3ds");
    data.dev.write("cfg/pelmo.chr", "x");
    EXPECT_EQ(locate("pelmo.chr"), data.dev.path() + "/cfg/pelmo.chr");
    data.work.write("maps/level.map", "x");
    EXPECT_EQ(locate("maps\\level.map"), "maps/level.map");
    data.work.write("chars/inside", "x");
    EXPECT_EQ(locate("chars"), "-chars");
}

TEST_F(LocatorTest, MissingFileLeavesTheNameAndComplainsOnlyWhenAsked) {
    for (bool complain : {false, true}) {
        const Output o =
            captureOutput([&] { EXPECT_EQ(locate("absent.bmp", complain), "-absent.bmp"); });
        EXPECT_EQ(o.err, complain ? "Unable to locate file absent.bmp\n" : "");
    }
}

TEST_F(LocatorTest, PathsThatWouldOverflowTheNameBufferAreSkipped) {
    const std::string name(230, 'n');  // fits the buffer alone, not behind the base
    data.dev.write("cfg/" + name, "x");
    EXPECT_EQ(locate(name), "-" + name);
    data.work.write("cfg/" + name, "x");
    EXPECT_EQ(locate(name), "cfg/" + name);
}

TEST_F(LocatorTest, AThirdBaseTooLongForItsBufferIsSkippedNotCutShort) {
    // Cut to the 199 characters that fit, this folder would read as its
    // parent, which holds the file.
    const std::string parent =
        data.dev.path() + "/" + std::string(DATA_DIR_MAX_LENGTH - data.dev.path().size() - 1, 'p');
    data.dev.write(parent.substr(data.dev.path().size() + 1) + "/tovask.cfg", "x");
    const std::string tooLong = parent + "/child";
    developmentDataDir = tooLong.c_str();
    EXPECT_EQ(locate("tovask.cfg"), "-tovask.cfg");
    developmentDataDir = parent.c_str();
    EXPECT_EQ(locate("tovask.cfg"), parent + "/tovask.cfg");
}

// Install layouts: the executable, the folders present, the data folder found.
TEST(DataFolder, FindsTheFirstLayoutBesideTheExecutable) {
    struct Case {
        std::string exe;
        std::vector<std::string> folders, files;
        std::string found;  // "" for none
    } cases[] = {
        {"build/tovask", {"build/data"}, {}, "build/data"},
        {"usr/games/tovask",
         {"usr/share/games/tovask", "usr/share/tovask"},
         {},
         "usr/share/games/tovask"},
        {"usr/local/bin/tovask", {"usr/local/share/tovask"}, {}, "usr/local/share/tovask"},
        {"opt/t/bin/tovask", {"opt/t/bin/data", "opt/t/share/tovask"}, {}, "opt/t/bin/data"},
        {"usr/bin/tovask", {}, {"usr/bin/data", "usr/share/tovask"}, ""},
        // D: a folder name that makes "D/data" one character too long.
        {"x/D/tovask", {"x/D/data", "x/share/tovask"}, {}, "x/share/tovask"},
    };
    for (const Case& c : cases) {
        TempDir root;
        const std::string deep(DATA_DIR_MAX_LENGTH + 1 - root.file("x//data").size(), 'd');
        auto path = [&](std::string p) {
            if (p.rfind("x/D/", 0) == 0) p.replace(2, 1, deep);
            return p;
        };
        for (const std::string& f : c.folders) root.write(path(f) + "/chars", "x");
        for (const std::string& f : c.files) root.write(f, "x");
        char out[DATA_DIR_MAX_LENGTH + 1] = "unchanged";
        const bool found = findDataDirBeside(root.file(path(c.exe)).c_str(), out, sizeof out);
        EXPECT_EQ(found ? std::string(out) : "", c.found.empty() ? "" : root.file(c.found))
            << c.exe;
    }
    char out[DATA_DIR_MAX_LENGTH + 1];
    EXPECT_FALSE(findDataDirBeside("build/tovask", out, sizeof out)) << "a relative path";
}

}  // namespace
