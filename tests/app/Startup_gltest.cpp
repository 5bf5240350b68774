// The game as a player starts it: the window SDL opens for it (caption, icon, cursor, mode),
// and the real program's console from its first line to its last, also when it cannot start.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "Display.h"
#include "GlTestWindow.h"
#include "ImageSurface.h"
#include "PngFile.h"
#include "ProgramRun.h"
#include "ScratchData.h"
#include "Settings.h"
// Last: the X11 headers it pulls in define macros that clash with the test framework's names.
#include <SDL/SDL_syswm.h>

namespace {

// The test window's icon as the window manager reads it: width, height, ARGB pixels.
std::string windowIcon() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0) return "no window";
    return runProgram("xprop -id " + std::to_string(info.info.x11.window) +
                      " -notype -f _NET_WM_ICON 32c ' = $0+' _NET_WM_ICON")
        .out;
}

class StartupTest : public GlTest {
protected:
    void TearDown() override {
        SDL_ShowCursor(SDL_ENABLE);
        settings = Settings();
        GlTest::TearDown();
    }
    ScratchData data;
};

// initSdl on the test window, which keeps its 256 x 256 size.
TEST_F(StartupTest, InitSdlSetsCaptionIconCursorAndModeAndSeedsTheRandomDraws) {
    struct Case {
        const char* what;
        std::vector<uint8_t> icon;  // empty: no icon file
        int fullScreen;
        std::string err;
    };
    const Case cases[] = {
        {"an icon of 3 x 2 pixels",
         encodePng({255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3, 250, 251, 252, 9, 8, 7}, 3, 2), 0,
         ""},
        {"no icon file", {}, 1, "Unable to locate file icon.png\n"},
        {"an icon file that is no picture", {'x'}, 0, "Unable to load icon icon.png: "},
    };
    for (const Case& c : cases) {
        std::remove("icon.png");
        if (!c.icon.empty()) data.work.write("icon.png", c.icon);
        settings.width = GlTestWindow::WIDTH;
        settings.height = GlTestWindow::HEIGHT;
        settings.fullScreen = c.fullScreen;
        const time_t before = std::time(nullptr);
        std::string err = c.err;  // a picture the decoder refuses: its reason follows
        if (c.icon.size() == 1 && !decodeImageFile("icon.png"))
            err += SDL_GetError() + std::string("\n");
        EXPECT_EQ(captureOutput(initSdl).err, err) << c.what;
        const time_t after = std::time(nullptr);
        const int drawn = std::rand();
        auto firstDraw = [](time_t seed) {
            std::srand(unsigned(seed));
            return std::rand();
        };
        EXPECT_TRUE(drawn == firstDraw(before) || drawn == firstDraw(after))
            << c.what << ": the random draws are seeded with the time";
        char* caption = nullptr;
        char* iconCaption = nullptr;
        SDL_WM_GetCaption(&caption, &iconCaption);
        EXPECT_STREQ(caption, "Tovask ( Pelmo II )") << c.what;
        EXPECT_EQ(iconCaption, nullptr) << c.what;
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE) << c.what << ": the cursor is hidden";
        const SDL_Surface* screen = SDL_GetVideoSurface();
        ASSERT_NE(screen, nullptr) << c.what;
        EXPECT_EQ(screen->flags & (SDL_OPENGL | SDL_FULLSCREEN),
                  c.fullScreen ? SDL_OPENGL | SDL_FULLSCREEN : SDL_OPENGL)
            << c.what;
        if (&c == cases) {
            EXPECT_EQ(windowIcon(),
                      "_NET_WM_ICON = 3, 2, 4294901760, 4278255360, 4278190335, 4278256131, "
                      "4294638588, 4278781959")
                << "the icon's pixels reach the window";
        }
    }
}

struct GameRun {
    int status;
    std::string console;  // stdout, or stdout and stderr together
    std::string err;
};

// The real game in a scratch working folder holding its settings and lists (its pictures and
// models come from the build's data folder), with the environment assignments env and its
// output redirected by redirect into the files out and err. Once it reports game time in its
// main loop it gets SIGTERM, as when the desktop session ends; one that never gets there is
// killed after 20 s.
GameRun runGame(const std::string& env, const std::string& redirect) {
    TempDir dir;
    dir.write("tovask.cfg", "320 240 0 0 1 1 0");
    dir.write("chars", "a.chr");
    dir.write("a.chr", "0 1 Pelmo");
    dir.write("maps", "a.map");
    dir.write("a.map", "Arena");
    const ProgramRun run = runProgram(
        "cd " + dir.path() + " && { ASAN_OPTIONS=detect_leaks=0 " + env + " " TOVASK_BINARY " " +
        redirect +
        " & p=$!; for i in $(seq 400); do grep -qs '^Actual triangles' out && kill -TERM $p "
        "2>/dev/null; "
        "kill -0 $p 2>/dev/null || break; sleep 0.05; done; kill -KILL $p 2>/dev/null; wait $p; }");
    return {run.status, readFile(dir.file("out")), readFile(dir.file("err"))};
}

const std::string LOADED =
    "         --- TOVASK ---\n  Version 0.03 - betatesting only\nResolution : 320 X 240 X 0\n"
    "Windowed\nTexture quality 1 Filled polygons 1\nLoaded characer Pelmo from file a.chr\n"
    "Loaded map Arena from file a.map\nSetting Loaded.\n";

// The console with what differs between machines and runs put in general terms.
std::string normalised(std::string text) {
    text = std::regex_replace(text, std::regex("GL Extensions: [^\n]*\n"), "GL Extensions: *\n");
    return std::regex_replace(text, std::regex("(Actual triangles : [0-9]+/sec [0-9]+/frame\n)+"),
                              "Actual triangles : *\n");
}

TEST(GameStart, RunsTheMenuUntilSigtermThenShutsDownInOrder) {
    const GameRun game = runGame("", ">out 2>err");
    EXPECT_EQ(game.status, 0);
    EXPECT_EQ(game.err, "");
    // The second font load is the menu's: every switch of screens loads it again.
    EXPECT_EQ(normalised(game.console),
              LOADED +
                  "SDL Inicialized.\nGL Extensions: *\nLoading font font.bmp\n"
                  "OpenGL Inicialized.\nLoading font font.bmp\nGame Inicialized.\n"
                  "Entering main game loop.\nActual triangles : *\nDelleting all..\nOK\nEnd.\n");
}

// Stdout and stderr in one file: the progress lines come out before the error, not at exit.
TEST(GameStart, WithoutSdlOrAnOpenGlModeItEndsWithItsStatusAfterTheSettings) {
    struct Case {
        const char* driver;
        int status;
        std::string message;  // followed by SDL's reason
    };
    const Case cases[] = {{"bogus", 1, "Unable to initialize SDL: "},
                          {"dummy", 2, "Unable to create OpenGL screen: "}};
    for (const Case& c : cases) {
        const GameRun game = runGame(std::string("SDL_VIDEODRIVER=") + c.driver, ">out 2>&1");
        EXPECT_EQ(game.status, c.status) << c.driver;
        const std::string head = LOADED + c.message;
        EXPECT_EQ(game.console.substr(0, head.size()), head) << c.driver;
        const std::string reason = game.console.substr(std::min(head.size(), game.console.size()));
        EXPECT_TRUE(std::regex_match(reason, std::regex("[^\n]+\n")))
            << c.driver << ": SDL's reason ends the line and the output: " << reason;
    }
}

}  // namespace
