// The shell on a real window: SDL and OpenGL set-up, frame composition, state switches, the
// event pump, and the real program's console from its first line to its last.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BitmapFont.h"
#include "CaptureOutput.h"
#include "Display.h"
#include "GRun.h"
#include "GlTestWindow.h"
#include "ImageSurface.h"
#include "MenuState.h"
#include "MeshFixtures.h"
#include "ModelStore.h"
#include "PngFile.h"
#include "ProgramRun.h"
#include "ScratchData.h"
#include "ScreenSize.h"
#include "Settings.h"
#include "TdsWriter.h"
#include "TestImages.h"
#include "Text.h"
#include "TextureStore.h"
#include "TransparentQueue.h"
// Last: the X11 headers it pulls in define macros that clash with the test framework's names.
#include <SDL/SDL_syswm.h>

namespace {

// Records its calls; when asked to, paints the viewport green as it draws.
struct RecordingState : GState {
    explicit RecordingState(bool paint = false, bool* deleted = nullptr)
        : paint_(paint), deleted_(deleted) {}
    ~RecordingState() override {
        if (deleted_) *deleted_ = true;
    }
    void keyUp(int key) override { ups.push_back(key); }
    void keyDown(int key) override { downs.push_back(key); }
    void draw() override {
        ++draws;
        if (!paint_) return;
        GlTestWindow::resetState();
        glColor3f(0, 1, 0);
        glRectf(-1, -1, 1, 1);
    }
    std::vector<int> ups, downs;
    int draws = 0;
    bool paint_;
    bool* deleted_;
};

void drainEvents() {
    for (SDL_Event event; SDL_PollEvent(&event);) {
    }
}

// No shipped data is found; settings, cursor, events and window size are put back after.
class ShellGlTest : public GlTest {
protected:
    void TearDown() override {
        gRun = nullptr;
        drainEvents();
        SDL_ShowCursor(SDL_ENABLE);
        settings = Settings();
        bitmapFont.releaseFont();
        screenWidth = savedWidth_;
        screenHeight = savedHeight_;
        GlTest::TearDown();
    }
    ScratchData data;
    const float savedWidth_ = screenWidth, savedHeight_ = screenHeight;
};

// The first `each` values of every GL state named.
std::vector<float> gl(std::initializer_list<GLenum> names, int each = 1) {
    std::vector<float> values;
    for (GLenum name : names) {
        GLfloat v[4] = {};
        glGetFloatv(name, v);
        values.insert(values.end(), v, v + each);
    }
    return values;
}

// The test window's icon as the window manager reads it: width, height, ARGB pixels.
std::string windowIcon() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0) return "no window";
    return runProgram("xprop -id " + std::to_string(info.info.x11.window) +
                      " -notype -f _NET_WM_ICON 32c ' = $0+' _NET_WM_ICON")
        .out;
}

// initSdl on the test window, which keeps its size. The random draws are seeded with the
// time; an icon of 3 x 2 pixels reaches the window.
TEST_F(ShellGlTest, InitSdlSetsCaptionIconCursorAndModeAndSeedsTheRandomDraws) {
    const std::vector<uint8_t> rgb = {255, 0, 0, 0,   255, 0,   0, 0, 255,
                                      1,   2, 3, 250, 251, 252, 9, 8, 7};
    const struct {
        const char* what;
        std::vector<uint8_t> icon;  // empty: no icon file
        int fullScreen;
        std::string err;  // for a file the decoder refuses, its reason follows
    } cases[] = {{"an icon", encodePng(rgb, 3, 2), 0, ""},
                 {"no icon file", {}, 1, "Unable to locate file icon.png\n"},
                 {"no picture", {'x'}, 0, "Unable to load icon icon.png: "}};
    settings.width = GlTestWindow::WIDTH;
    settings.height = GlTestWindow::HEIGHT;
    for (const auto& c : cases) {
        std::remove("icon.png");
        if (!c.icon.empty()) data.work.write("icon.png", c.icon);
        const std::string reason = c.icon.size() == 1 && !decodeImageFile("icon.png")
                                       ? SDL_GetError() + std::string("\n")
                                       : "";
        settings.fullScreen = c.fullScreen;
        const unsigned before = unsigned(std::time(nullptr));
        EXPECT_EQ(captureOutput(initSdl).err, c.err + reason) << c.what;
        const int drawn = std::rand(), after = int(std::time(nullptr));
        auto firstDraw = [](unsigned seed) { return std::srand(seed), std::rand(); };
        EXPECT_TRUE(drawn == firstDraw(before) || drawn == firstDraw(unsigned(after)))
            << c.what << ": seeded with the time";
        char *caption = nullptr, *iconCaption = nullptr;
        SDL_WM_GetCaption(&caption, &iconCaption);
        const Uint32 flags = SDL_GetVideoSurface()->flags;
        EXPECT_EQ(format("%s|%s|cursor %d|GL %d|full screen %d", caption,
                         iconCaption ? iconCaption : "no icon caption", SDL_ShowCursor(SDL_QUERY),
                         (flags & SDL_OPENGL) != 0, (flags & SDL_FULLSCREEN) != 0),
                  format("Tovask ( Pelmo II )|no icon caption|cursor 0|GL 1|full screen %d",
                         c.fullScreen))
            << c.what;
    }
    EXPECT_EQ(windowIcon(),
              "_NET_WM_ICON = 3, 2, 4294901760, 4278255360, 4278190335, 4278256131, 4294638588, "
              "4278781959");
}

// The whole window state, over a state left in disorder. The aspect is the window's, but a
// height of 0 (a broken settings file) gives aspect 1, not an unusable projection.
TEST_F(ShellGlTest, InitGlSetsTheWindowStateFromTheSettings) {
    const struct {
        int width, height, filled, nice, quality;
        float aspect;
    } cases[] = {{200, 100, 0, 1, 2, 2.0f}, {50, 1, 1, 0, 0, 50.0f}, {64, 0, 1, 0, 1, 1.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        settings.filledPolygons = c.filled;
        settings.niceHints = c.nice;
        settings.textureQuality = c.quality;
        glDisable(GL_COLOR_MATERIAL);  // as in a new window: it would take over the material
        glClearDepth(0);
        glClear(GL_DEPTH_BUFFER_BIT);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glMatrixMode(GL_PROJECTION);
        glTranslatef(3, 0, 0);
        const Output o = captureOutput([&] { initGl(c.width, c.height); });
        const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        EXPECT_EQ(o.out, "GL Extensions: " + std::string(extensions) + "\nLoading font font.bmp\n");
        EXPECT_EQ(GlTestWindow::projection(), GlTestWindow::perspective(45, c.aspect, 1, 250));
        GLfloat depth = 0;
        glReadPixels(0, 0, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_EQ(format("%g x %g, depth %g, mipmaps %d", screenWidth, screenHeight, depth,
                         textureStore.mipmaps()),
                  format("%d x %d, depth 1, mipmaps %d", c.width, c.height, c.quality == 2))
            << "the screen size, the depth buffer cleared, mipmaps only at texture quality 2";
        const float hint = c.nice ? GL_NICEST : GL_FASTEST, mode = c.filled ? GL_FILL : GL_LINE;
        EXPECT_EQ(gl({GL_VIEWPORT, GL_COLOR_CLEAR_VALUE, GL_COLOR_WRITEMASK, GL_FOG_COLOR}, 4),
                  (std::vector<float>{0, 0, float(c.width), float(c.height), 0, 0, 0, 0, 1, 1, 1, 1,
                                      0, 0, 0, 1}))
            << "viewport, clear colour, colour mask, fog colour";
        EXPECT_EQ(
            gl({GL_DEPTH_CLEAR_VALUE, GL_MATRIX_MODE, GL_POLYGON_MODE, GL_FOG_MODE, GL_FOG_DENSITY,
                GL_FOG_START, GL_FOG_END, GL_PERSPECTIVE_CORRECTION_HINT, GL_POINT_SMOOTH_HINT,
                GL_LINE_SMOOTH_HINT, GL_POLYGON_SMOOTH_HINT, GL_FOG_HINT}),
            (std::vector<float>{1, GL_MODELVIEW, mode, GL_LINEAR, 10, 100, 200, hint, hint, hint,
                                hint, hint}))
            << "clear depth, matrix mode, polygon mode, fog mode, density, start, end, the hints";
        EXPECT_EQ(gl({GL_TEXTURE_2D, GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_LIGHT0,
                      GL_COLOR_MATERIAL, GL_DEPTH_FUNC, GL_CULL_FACE_MODE, GL_SHADE_MODEL,
                      GL_BLEND_SRC, GL_BLEND_DST, GL_ALPHA_TEST_FUNC, GL_ALPHA_TEST_REF}),
                  (std::vector<float>{1, 1, 1, 1, 1, 1, GL_LEQUAL, GL_BACK, GL_SMOOTH, GL_SRC_ALPHA,
                                      GL_ONE_MINUS_SRC_ALPHA, GL_GREATER, 0.2f}))
            << "the drawing state the scenes share; on: texturing, depth test, culling, lighting, "
               "light 0, colour material; depth function, culled face, shading, blending, alpha";
        std::vector<float> grey(16);  // light 0's ambient and diffuse, then the material's
        glGetLightfv(GL_LIGHT0, GL_AMBIENT, &grey[0]);
        glGetLightfv(GL_LIGHT0, GL_DIFFUSE, &grey[4]);
        glGetMaterialfv(GL_FRONT, GL_AMBIENT, &grey[8]);
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, &grey[12]);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(grey[i], i % 4 == 3 ? 1 : 0.9f) << "light 0's, then the material's: " << i;
    }
}

// Every frame: cleared, the state drawn, the transparent queue emptied, then the version
// line at (20, 460) on top.
TEST_F(ShellGlTest, DrawClearsThenDrawsTheStateAndTheVersionLine) {
    writeBmp(TestImage(64, 64, 255, 255, 255), data.work.file("font.bmp"));
    captureOutput([] { bitmapFont.loadFont("font.bmp"); });
    GRun run;
    const int textX = GlTestWindow::textX(25), textY = GlTestWindow::textY(465);
    Mesh glass;  // queued as transparent: drawn and gone with the frame
    glass.objects.push_back(triangle(10, 0));  // behind the viewer: only its queuing counts
    finish(glass, LISTS_NONE);
    for (int state : {0, 1, 2}) {  // none, one that draws nothing, one that paints green
        SCOPED_TRACE(state == 0 ? "no state" : state == 1 ? "a bare state" : "a state");
        if (state == 1) run.setState(std::make_unique<GState>());
        if (state == 2) run.setState(std::make_unique<RecordingState>(true));
        transparentQueue.push(glass.objects[0], glass);
        glClearColor(0, 0, 1, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
        run.draw();
        EXPECT_EQ(GlTestWindow::pixel(128, 128), (Rgb{0, uint8_t(state == 2 ? 255 : 0), 0}));
        EXPECT_GT(GlTestWindow::pixel(textX, textY).r, 200) << "the version line";
        EXPECT_EQ(transparentQueue.size(), 0) << "the transparent queue";
    }
    // Drawn 1:1 on the virtual screen, the viewport moved so that (20, 460) lies at pixel
    // (20, 20): the version line starts exactly there.
    run.setState(std::make_unique<GState>());  // one that leaves the viewport alone
    glViewport(0, 20 - 460, 640, 480);
    run.draw();
    EXPECT_TRUE(GlTestWindow::pixel(20, 20).r > 200 && GlTestWindow::pixel(19, 20).r == 0 &&
                GlTestWindow::pixel(20, 19).r == 0)
        << "the version line's corner";
    glViewport(0, 0, GlTestWindow::WIDTH, GlTestWindow::HEIGHT);
}

// Both ways: the old state goes first, then everything cached for it; the font is loaded
// again, as its texture went with the rest.
TEST_F(ShellGlTest, SwitchingDeletesTheStateEmptiesTheCachesAndReloadsTheFont) {
    writeBmp(TestImage(4, 4, 200, 0, 0), data.work.file("red.bmp"));
    writeBmp(TestImage(64, 64, 255, 255, 255), data.work.file("font.bmp"));
    saveTds(TdsScene{}, data.work.file("old.3ds"));
    settings.maps.resize(1);
    settings.mapCount = 1;
    settings.characters.resize(1);
    settings.characters[0].skinCount = 1;
    settings.characterCount = 1;
    GRun run;
    for (bool fight : {true, false}) {
        SCOPED_TRACE(fight ? "to the fight" : "to the menu");
        bool deleted = false;
        captureOutput([&] { run.setState(std::make_unique<RecordingState>(false, &deleted)); });
        ASSERT_GE(textureStore.getTexture("red.bmp"), 0);
        captureOutput([] { modelStore.getModel("old.3ds", LISTS_NONE, false, false, false); });
        captureOutput([&] { fight ? run.startGame() : run.goToMenu(); });
        EXPECT_TRUE(deleted) << "the old state";
        EXPECT_EQ(dynamic_cast<MenuState*>(run.state()) == nullptr, fight) << "the new state";
        EXPECT_TRUE(run.skipNextUpdate);
        const TextureEntry* font = textureStore.entry(bitmapFont.textureSlot());
        EXPECT_EQ(format("%d %s", textureStore.count(), font ? font->name.c_str() : "no font"),
                  "1 font.bmp")
            << "only the font is left, loaded again";
        const Output o =
            captureOutput([] { modelStore.getModel("old.3ds", LISTS_NONE, false, false, false); });
        EXPECT_EQ(o.out, "Loading model old.3ds\n") << "the model cache was emptied";
        modelStore.clearModels();
    }
}

// A console with what depends on the machine masked: the driver's extension list, a run of
// triangle-rate reports (one line) and SDL's reason after a last line "Unable to ...: ".
std::string masked(const std::string& text) {
    std::string out, line, previous;
    for (size_t at = 0, end = 0; at < text.size(); at = end + 1, previous = line) {
        end = std::min(text.find('\n', at), text.size());
        line = text.substr(at, end - at);
        if (line.rfind("GL Extensions: ", 0) == 0) line = "GL *";
        if (line.rfind("Actual triangles : ", 0) == 0) line = "Actual triangles";
        if (end + 1 >= text.size() && line.rfind("Unable to ", 0) == 0)
            line = line.substr(0, line.find(": ") + 2) + "(reason)";
        if (line != "Actual triangles" || previous != line)
            out += line + (end < text.size() ? "\n" : "");
    }
    return out;
}

void push(Uint8 type, SDLKey key = SDLK_UNKNOWN) {
    SDL_Event event = {};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    if (type == SDL_VIDEORESIZE) event.resize = {SDL_VIDEORESIZE, 128, 64};
    SDL_PushEvent(&event);
}

// Other programs on the shared test display may send real events too, so only the keys
// pushed here are looked at.
std::vector<int> pushedKeys(const std::vector<int>& keys) {
    std::vector<int> mine;
    for (int key : keys)
        if (key == SDLK_a || key == SDLK_b || key == SDLK_F1) mine.push_back(key);
    return mine;
}

// Events pushed into SDL's queue reach the global GRun, or the window itself.
TEST_F(ShellGlTest, EventsReachTheGameOrTheWindowAndAQuitStopsThePumpAtOnce) {
    drainEvents();
    GRun run;
    auto recorder = std::make_unique<RecordingState>();
    RecordingState* state = recorder.get();
    run.setState(std::move(recorder));
    for (bool withGame : {false, true}) {  // without one, keys and exposures go nowhere
        gRun = withGame ? &run : nullptr;
        push(SDL_KEYDOWN, SDLK_a);
        push(SDL_KEYUP, SDLK_a);
        push(SDL_VIDEOEXPOSE);
        EXPECT_TRUE(pollEvents());
    }
    EXPECT_GE(state->draws, 1) << "an exposure draws a frame";
    for (bool on : {true, false}) {  // F1 toggles full screen; only its release is passed on
        push(SDL_KEYDOWN, SDLK_F1);
        push(SDL_KEYUP, SDLK_F1);
        EXPECT_EQ(captureOutput(pollEvents).err, "");
        EXPECT_EQ((SDL_GetVideoSurface()->flags & SDL_FULLSCREEN) != 0, on);
    }
    EXPECT_EQ(pushedKeys(state->downs), std::vector<int>{SDLK_a});
    EXPECT_EQ(pushedKeys(state->ups), (std::vector<int>{SDLK_a, SDLK_F1, SDLK_F1}));
    push(SDL_VIDEORESIZE);  // 128 x 64: the whole GL set-up again, font included
    const std::string out = captureOutput(pollEvents).out;
    EXPECT_EQ(masked(out) + format("%g x %g", screenWidth, screenHeight),
              "GL *\nLoading font font.bmp\n128 x 64");
    push(SDL_QUIT);
    push(SDL_KEYDOWN, SDLK_b);
    EXPECT_FALSE(pollEvents());
    EXPECT_EQ(pushedKeys(state->downs), std::vector<int>{SDLK_a}) << "the key after the quit waits";
    EXPECT_TRUE(pollEvents());
    EXPECT_EQ(pushedKeys(state->downs), (std::vector<int>{SDLK_a, SDLK_b}));
}

// The real game's console, stdout and stderr in one file, in a scratch working folder holding
// its settings and lists (its pictures and models come from the build's data folder), or a copy
// of the game with them in the data folder beside it, with the environment assignments env.
// Once it reports game time in its main loop it gets SIGTERM, as when the desktop session ends;
// one that never gets there is killed after 20 s.
ProgramRun runGame(const std::string& env, bool copied) {
    TempDir dir;
    const std::string at = copied ? "bin/data/" : "", game = copied ? dir.file("bin/tovask") : "";
    for (auto [name, text] : {std::pair{"tovask.cfg", "320 240 0 0 1 1 0"},
                              {"chars", "a.chr"},
                              {"a.chr", "0 1 Pelmo"},
                              {"maps", "a.map"},
                              {"a.map", "Arena"}})
        dir.write(at + name, text);
    if (copied) std::filesystem::copy_file(TOVASK_BINARY, game);
    const ProgramRun run = runProgram(
        "cd " + dir.path() + " && { ASAN_OPTIONS=detect_leaks=0 " + env + " " +
        (copied ? game : TOVASK_BINARY) +
        " >out 2>&1 & p=$!; for i in $(seq 400); do grep -qs '^Actual triangles' out && kill " +
        "-TERM $p 2>/dev/null; kill -0 $p 2>/dev/null || break; sleep 0.05; done; kill -KILL " +
        "$p 2>/dev/null; wait $p; }");
    std::string out = readFile(dir.file("out"));
    for (size_t cut; copied && (cut = out.find(dir.file(at))) != std::string::npos;)
        out.erase(cut, dir.file(at).size());  // the folder of the files read, named in full
    return {run.status, out, ""};
}

// In the console the driver's extension list is shortened, a run of triangle reports (their
// count depends on the machine's speed) is one line and SDL's reason for a failure is named.
// The second font load is the menu's: every switch of screens loads it again. Without SDL or
// an OpenGL mode the progress lines come before the error, not at exit; no display is named
// then: opening one flushes stdout on the way and would hide a missing flush.
TEST(GameStart, RunsTheMenuUntilSigtermOrEndsWithItsStatusWithoutSdlOrAnOpenGlMode) {
    const struct {
        const char* env;
        bool copied;
        int status;
        std::string end;  // what follows the settings
    } cases[] = {
        {"", false, 0,
         "SDL Inicialized.\nGL *\nLoading font font.bmp\nOpenGL Inicialized.\nLoading font "
         "font.bmp\nGame Inicialized.\nEntering main game loop.\nActual triangles\nDelleting "
         "all..\nOK\nEnd.\n"},
        {"DISPLAY= SDL_VIDEODRIVER=bogus", false, 1, "Unable to initialize SDL: (reason)\n"},
        {"DISPLAY= SDL_VIDEODRIVER=dummy", false, 2, "Unable to create OpenGL screen: (reason)\n"},
        {"DISPLAY= SDL_VIDEODRIVER=dummy", true, 2,
         "Unable to locate file icon.png\nUnable to create OpenGL screen: (reason)\n"}};
    for (const auto& c : cases) {
        const ProgramRun game = runGame(c.env, c.copied);
        EXPECT_EQ(game.status, c.status) << c.env << (c.copied ? " copied" : "");
        EXPECT_EQ(masked(game.out),
                  "         --- TOVASK ---\n  Version 0.03 - betatesting only\nResolution : 320 "
                  "X 240 X 0\nWindowed\nTexture quality 1 Filled polygons 1\nLoaded characer "
                  "Pelmo from file a.chr\nLoaded map Arena from file a.map\nSetting Loaded.\n" +
                      c.end)
            << c.env << (c.copied ? " copied" : "");
    }
}

}  // namespace
