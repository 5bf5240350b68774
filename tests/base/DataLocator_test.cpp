// The data-file locator (search order, path rewriting, silence, length limits, unreadable
// files) and the data folder found beside the executable.
#include "DataLocator.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>

#include "CaptureOutput.h"
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

// Base major, the bare folder first; a backslash is a separator and a folder is no file. A
// file not found leaves the name as it was, with a complaint only when asked for one.
TEST_F(LocatorTest, SearchOrderSeparatorsFoldersAndMissingOrUnreadableFiles) {
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
    for (const char* f : {"models/m.3ds", "cfg/m.3ds", "maps/level.map", "chars/inside",
                          "locked.bmp", "textures/locked.bmp"})
        data.work.write(f, "x");
    data.dev.write("m.3ds", "x");
    data.dev.write("cfg/pelmo.chr", "x");
    EXPECT_EQ(locate("m.3ds") + " " + locate("pelmo.chr") + " " + locate("maps\\level.map") + " " +
                  locate("chars"),
              "models/m.3ds " + data.dev.path() + "/cfg/pelmo.chr maps/level.map -chars")
        << "models/ before cfg/ before the development folder; its cfg/; a backslash; a folder";
    for (bool complain : {false, true}) {
        const Output o =
            captureOutput([&] { EXPECT_EQ(locate("absent.bmp", complain), "-absent.bmp"); });
        EXPECT_EQ(o.err, complain ? "Unable to locate file absent.bmp\n" : "") << complain;
    }
    // A file that is there but cannot be read counts as missing. Root reads any file, so then
    // the search runs as nobody.
    chmod(data.work.file("locked.bmp").c_str(), 0);
    chmod(data.work.path().c_str(), 0755);
    const bool root = geteuid() == 0;
    ASSERT_TRUE(!root || seteuid(65534) == 0);
    const std::string found = locate("locked.bmp");
    ASSERT_TRUE(!root || seteuid(0) == 0);
    EXPECT_EQ(found, "textures/locked.bmp");
}

// A path is at most 254 characters: with its zero it fills the caller's buffer but one
// byte, which stays as it was. A longer one would not fit and is not tried.
TEST_F(LocatorTest, LongPathsAndBasesWithinTheirBuffers) {
    for (int length : {250, 251}) {  // behind "cfg/": 254 and 255 characters
        const std::string bare(length, 'n');
        data.work.write("cfg/" + bare, "x");
        char name[DATA_NAME_SIZE];
        std::memset(name, '#', sizeof name);
        std::memcpy(name, bare.c_str(), bare.size() + 1);
        EXPECT_EQ(locateDataFile(name, false), length == 250) << length + 4;
        std::string expected = (length == 250 ? "cfg/" : "") + bare + '\0';
        expected.resize(DATA_NAME_SIZE, '#');
        EXPECT_EQ(std::string(name, sizeof name), expected) << length + 4 << ": the name buffer";
    }
    // The third base is built in 200 characters with its "/": a folder of 198 characters is
    // searched, one of 199 is not. Cut short, the 199 "<parent>/" would read as the parent.
    const std::string parent =
        data.dev.path() + "/" + std::string(DATA_DIR_MAX_LENGTH - data.dev.path().size() - 1, 'p');
    data.dev.write(parent.substr(data.dev.path().size() + 1) + "/tovask.cfg", "x");
    const std::string tooLong = parent + "/";
    developmentDataDir = tooLong.c_str();
    EXPECT_EQ(locate("tovask.cfg"), "-tovask.cfg") << tooLong.size();
    EXPECT_EQ(dataBases().size(), 2u);
    developmentDataDir = parent.c_str();
    EXPECT_EQ(locate("tovask.cfg"), parent + "/tovask.cfg") << parent.size();
    EXPECT_EQ(dataBases(), (std::vector<std::string>{"", "/.tovask/", parent + "/"}));
}

// Install layouts: the executable, what is present (a name ending in "/" is a folder holding the
// character list, any other a plain file), the data folder found ("": none). L and M stand for
// folder names that make "L/data" 198 characters long, "M/data" 199.
TEST(DataFolder, FindsTheFirstLayoutBesideTheExecutable) {
    const struct {
        const char *exe, *present, *found;
    } cases[] = {
        {"build/tovask", "build/data/", "build/data"},
        {"usr/games/tovask", "usr/share/games/tovask/ usr/share/tovask/", "usr/share/games/tovask"},
        {"usr/local/bin/tovask", "usr/local/share/tovask/", "usr/local/share/tovask"},
        {"opt/t/bin/tovask", "opt/t/bin/data/ opt/t/share/tovask/", "opt/t/bin/data"},
        {"usr/bin/tovask", "usr/bin/data usr/share/tovask", ""},
        {"L/tovask", "L/data/", "L/data"},
        {"M/tovask", "M/data/ share/tovask/", "share/tovask"},
    };
    for (const auto& c : cases) {
        TempDir root;
        const size_t l = DATA_DIR_MAX_LENGTH - root.file("/data").size();
        auto path = [&](std::string p) {
            if (p[0] == 'L' || p[0] == 'M') p.replace(0, 1, std::string(l + (p[0] == 'M'), 'd'));
            return p;
        };
        std::string f;
        for (std::istringstream in(c.present); in >> f;)
            root.write(path(f) + (f.back() == '/' ? "chars" : ""), "x");
        char out[DATA_DIR_MAX_LENGTH + 1] = "unchanged";
        const bool found = findDataDirBeside(root.file(path(c.exe)).c_str(), out, sizeof out);
        EXPECT_EQ(found ? std::string(out) : "", *c.found ? root.file(path(c.found)) : "") << c.exe;
    }
    TempDir root;  // out must hold the path and its zero
    root.write("build/data/chars", "x");
    const std::string exe = root.file("build/tovask"), dir = root.file("build/data");
    char out[DATA_DIR_MAX_LENGTH + 1];
    EXPECT_TRUE(findDataDirBeside(exe.c_str(), out, int(dir.size()) + 1));
    EXPECT_EQ(out, dir);
    EXPECT_FALSE(findDataDirBeside(exe.c_str(), out, int(dir.size()))) << "no room for the zero";
    EXPECT_FALSE(findDataDirBeside("build/tovask", out, sizeof out)) << "a relative path";
}

// Without /proc (a bare chroot) the game's path comes from argv[0] when that names one;
// otherwise the compiled-in folder is left. Only root may chroot: a child process does.
TEST(DataFolderDeathTest, WithoutProcTheInvocationPathLeadsToTheData) {
    if (geteuid() != 0) GTEST_SKIP() << "chroot needs root";
    TempDir root;
    for (const char* f : {"tovask", "bin/tovask", "data/chars", "share/tovask/chars"})
        root.write(f, "x");
    const struct {
        const char* invocation;
        const char* found;
    } cases[] = {{"/tovask", "/data"},
                 {"/bin/tovask", "/share/tovask"},  // the root's parent is the root
                 {"/sbin/tovask", "compiled"},
                 {"tovask", "compiled"}};
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                if (chroot(root.path().c_str()) != 0 || chdir("/") != 0) _exit(2);
                program_invocation_name = const_cast<char*>(c.invocation);
                std::fprintf(stderr, "%s\n", startingDataDir("compiled"));
                _exit(0);  // no exit handlers: a leak check needs the /proc a chroot lacks
            },
            testing::ExitedWithCode(0), std::string("^") + c.found + "\n$")
            << c.invocation;
    }
}

}  // namespace
