// The window's OpenGL set-up, frame composition, state switches and the event pump.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "BitmapFont.h"
#include "DataLocator.h"
#include "Display.h"
#include "GRun.h"
#include "GlTestWindow.h"
#include "Settings.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "TextureStore.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

// Fills the viewport with one colour, or draws nothing; records its calls.
struct PaintingState : GState {
    explicit PaintingState(bool* deleted = nullptr, bool paint = true)
        : deleted_(deleted), paint_(paint) {}
    ~PaintingState() override {
        if (deleted_) *deleted_ = true;
    }
    void keyUp(int key) override { ups.push_back(key); }
    void keyDown(int key) override { downs.push_back(key); }
    void draw() override {
        ++draws;
        if (!paint_) return;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glColor3f(0.0f, 1.0f, 0.0f);
        glRectf(-1, -1, 1, 1);
    }
    std::vector<int> ups, downs;
    int draws = 0;
    bool* deleted_;
    bool paint_;
};

// Sees only its own scratch folders: no font, no shipped data.
class ShellGlTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        savedDataDir_ = developmentDataDir;
        developmentDataDir = dev_.path().c_str();
        CaptureStdout();
        CaptureStderr();
    }
    void TearDown() override {
        err = GetCapturedStderr();
        GetCapturedStdout();
        developmentDataDir = savedDataDir_;
        settings = Settings();
        bitmapFont.releaseFont();
        GlTest::TearDown();
    }

    TempDir work_;
    TempDir dev_;
    ScopedWorkingDir cwd_{work_.path()};
    const char* savedDataDir_ = nullptr;
    std::string err;
};

TEST_F(ShellGlTest, InitGlSetsTheWholeWindowStateFromTheSettings) {
    settings.filledPolygons = 0;
    settings.niceHints = 1;
    initGl(GlTestWindow::WIDTH, GlTestWindow::HEIGHT);
    const std::string out = GetCapturedStdout();
    CaptureStdout();
    EXPECT_EQ(out.rfind("GL Extensions: ", 0), 0u) << out;
    EXPECT_NE(out.find("Loading font font.bmp\n"), std::string::npos);
    EXPECT_NE(bitmapFont.listBase(), 0u);
    EXPECT_EQ(screenWidth, float(GlTestWindow::WIDTH));
    EXPECT_EQ(screenHeight, float(GlTestWindow::HEIGHT));

    for (GLenum on :
         {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHT0, GL_LIGHTING, GL_COLOR_MATERIAL})
        EXPECT_TRUE(glIsEnabled(on)) << on;
    for (GLenum off : {GL_FOG, GL_BLEND, GL_ALPHA_TEST}) EXPECT_FALSE(glIsEnabled(off)) << off;

    GLint value[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, value);
    EXPECT_EQ(value[0], GL_LINE);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, value);
    EXPECT_EQ(value[0], GL_NICEST);
    glGetIntegerv(GL_FOG_MODE, value);
    EXPECT_EQ(value[0], GL_LINEAR);
    glGetIntegerv(GL_DEPTH_FUNC, value);
    EXPECT_EQ(value[0], GL_LEQUAL);
    glGetIntegerv(GL_MATRIX_MODE, value);
    EXPECT_EQ(value[0], GL_MODELVIEW);
    GLfloat f[16];
    glGetFloatv(GL_FOG_START, f);
    EXPECT_EQ(f[0], 100.0f);
    glGetFloatv(GL_FOG_END, f);
    EXPECT_EQ(f[0], 200.0f);
    glGetFloatv(GL_ALPHA_TEST_REF, f);
    EXPECT_NEAR(f[0], 0.2f, 1e-6f);

    // 45 degrees, aspect 1, near 1, far 250.
    glGetFloatv(GL_PROJECTION_MATRIX, f);
    const float cot = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
    EXPECT_NEAR(f[0], cot, 1e-4f);
    EXPECT_NEAR(f[5], cot, 1e-4f);
    EXPECT_NEAR(f[10], -251.0f / 249.0f, 1e-4f);
    EXPECT_NEAR(f[14], -500.0f / 249.0f, 1e-4f);

    settings.filledPolygons = 1;
    settings.niceHints = 0;
    initGl(GlTestWindow::WIDTH, GlTestWindow::HEIGHT);
    glGetIntegerv(GL_POLYGON_MODE, value);
    EXPECT_EQ(value[0], GL_FILL);
    glGetIntegerv(GL_FOG_HINT, value);
    EXPECT_EQ(value[0], GL_FASTEST);
}

TEST_F(ShellGlTest, DrawClearsThenDrawsTheState) {
    GRun run;
    glClearColor(0.0f, 0.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    run.draw();  // no state: only the clear (and the version line, far from the centre)
    EXPECT_EQ(GlTestWindow::pixel(128, 128), (Rgb{0, 0, 0}));

    auto painter = std::make_unique<PaintingState>();
    PaintingState& state = *painter;
    run.setState(std::move(painter));
    run.draw();
    EXPECT_EQ(state.draws, 1);
    EXPECT_EQ(GlTestWindow::pixel(128, 128), (Rgb{0, 255, 0}));
}

TEST_F(ShellGlTest, SwitchingDeletesTheStateEmptiesTheCachesAndReloadsTheFont) {
    writeBmp(TestImage(4, 4, 200, 0, 0), work_.file("red.bmp"));
    ASSERT_GE(textureStore.getTexture("red.bmp"), 0);
    bool deleted = false;
    GRun run;
    run.setState(std::make_unique<PaintingState>(&deleted));
    run.update(10);  // swallowed

    run.goToMenu();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(textureStore.count(), 0);
    EXPECT_NE(bitmapFont.listBase(), 0u);
    ASSERT_NE(run.state(), nullptr);
    EXPECT_TRUE(run.skipNextUpdate);
    run.draw();  // the swallowed turn still draws

    run.keyDown(SDLK_F2);  // low 8 bits of Escape: the first screen ends the program
    EXPECT_FALSE(run.running);
}

TEST_F(ShellGlTest, InvalidSelectionReturnsToTheFirstScreen) {
    GRun run;
    run.startGame();  // no maps at all
    EXPECT_NE(run.state(), nullptr);
    EXPECT_TRUE(run.skipNextUpdate);
    const std::string firstErr = GetCapturedStderr();
    CaptureStderr();
    EXPECT_NE(firstErr.find("Invalid mapID when starting engine\n"), std::string::npos);

    settings.maps.resize(1);
    settings.mapCount = 1;
    settings.characters.resize(1);
    settings.characters[0].skinCount = 1;
    settings.characterCount = 1;
    run.startGame();
    EXPECT_EQ(GetCapturedStderr().find("Invalid"), std::string::npos);
    CaptureStderr();
    EXPECT_NE(run.state(), nullptr);
}

// Events pushed into SDL's queue reach the global GRun.
class EventPumpGlTest : public ShellGlTest {
protected:
    void SetUp() override {
        ShellGlTest::SetUp();
        SDL_Event drain;
        while (SDL_PollEvent(&drain)) {
        }
        auto recorder = std::make_unique<PaintingState>(nullptr, false);
        state_ = recorder.get();
        run_.setState(std::move(recorder));
        gRun = &run_;
    }
    void TearDown() override {
        gRun = nullptr;
        SDL_Event drain;
        while (SDL_PollEvent(&drain)) {
        }
        ShellGlTest::TearDown();
    }
    static void pushKey(Uint8 type, SDLKey key) {
        SDL_Event event = {};
        event.type = type;
        event.key.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
    }

    GRun run_;
    PaintingState* state_ = nullptr;
};

TEST_F(EventPumpGlTest, KeysAreForwardedAndAQuitStopsThePumpAtOnce) {
    pushKey(SDL_KEYDOWN, SDLK_a);
    pushKey(SDL_KEYUP, SDLK_a);
    pushKey(SDL_KEYUP, SDLK_F1);  // only the press toggles full screen
    EXPECT_TRUE(pollEvents());
    EXPECT_EQ(state_->downs, std::vector<int>{SDLK_a});
    EXPECT_EQ(state_->ups, (std::vector<int>{SDLK_a, SDLK_F1}));

    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    pushKey(SDL_KEYDOWN, SDLK_b);
    EXPECT_FALSE(pollEvents());
    EXPECT_TRUE(state_->downs.size() == 1u);  // the key after the quit is still queued
    EXPECT_TRUE(pollEvents());
    EXPECT_EQ(state_->downs, (std::vector<int>{SDLK_a, SDLK_b}));
}

TEST_F(EventPumpGlTest, ExposeRedrawsTheFrame) {
    SDL_Event expose = {};
    expose.type = SDL_VIDEOEXPOSE;
    SDL_PushEvent(&expose);
    EXPECT_TRUE(pollEvents());
    EXPECT_EQ(state_->draws, 1);
}

}  // namespace
