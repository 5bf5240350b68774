// The window's OpenGL set-up, frame composition, state switches and the event pump.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Angles.h"
#include "BitmapFont.h"
#include "Display.h"
#include "GRun.h"
#include "GlTestWindow.h"
#include "MenuState.h"
#include "MeshFixtures.h"
#include "ModelStore.h"
#include "ScratchData.h"
#include "ScreenSize.h"
#include "Settings.h"
#include "TdsWriter.h"
#include "TestImages.h"
#include "TextureStore.h"
#include "TransparentQueue.h"

namespace {

// Fills the viewport with green when drawn (unless told not to); records its calls.
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
        GlTestWindow::resetState();
        glColor3f(0.0f, 1.0f, 0.0f);
        glRectf(-1, -1, 1, 1);
    }
    std::vector<int> ups, downs;
    int draws = 0;
    bool* deleted_;
    bool paint_;
};

// No font and no shipped data are found; the settings are fresh after each test.
class ShellGlTest : public GlTest {
protected:
    void TearDown() override {
        gRun = nullptr;
        drainEvents();
        settings = Settings();
        bitmapFont.releaseFont();
        GlTest::TearDown();
    }
    static void drainEvents() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
    }
    ScratchData data;
};

GLint integer(GLenum name) {
    GLint value[4] = {};
    glGetIntegerv(name, value);
    return value[0];
}
GLfloat real(GLenum name) {
    GLfloat value[4] = {};
    glGetFloatv(name, value);
    return value[0];
}

TEST_F(ShellGlTest, InitGlSetsTheWindowStateFromTheSettings) {
    settings.filledPolygons = 0;
    settings.niceHints = 1;
    const Output o = captureOutput([] { initGl(GlTestWindow::WIDTH, GlTestWindow::HEIGHT); });
    EXPECT_EQ(o.out.rfind("GL Extensions: ", 0), 0u) << o.out;
    EXPECT_NE(o.out.find("Loading font font.bmp\n"), std::string::npos);
    EXPECT_NE(bitmapFont.listBase(), 0u);
    EXPECT_EQ(screenWidth, float(GlTestWindow::WIDTH));
    for (GLenum on :
         {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL})
        EXPECT_TRUE(glIsEnabled(on)) << on;
    for (GLenum off : {GL_FOG, GL_BLEND, GL_ALPHA_TEST}) EXPECT_FALSE(glIsEnabled(off)) << off;
    EXPECT_EQ((std::vector<GLint>{integer(GL_POLYGON_MODE), integer(GL_FOG_HINT),
                                  integer(GL_FOG_MODE), integer(GL_MATRIX_MODE),
                                  integer(GL_DEPTH_FUNC), integer(GL_CULL_FACE_MODE),
                                  integer(GL_SHADE_MODEL), integer(GL_BLEND_SRC),
                                  integer(GL_BLEND_DST), integer(GL_ALPHA_TEST_FUNC)}),
              (std::vector<GLint>{GL_LINE, GL_NICEST, GL_LINEAR, GL_MODELVIEW, GL_LEQUAL, GL_BACK,
                                  GL_SMOOTH, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_GREATER}));
    EXPECT_EQ((std::vector<float>{real(GL_ALPHA_TEST_REF), real(GL_FOG_DENSITY), real(GL_FOG_START),
                                  real(GL_FOG_END)}),
              (std::vector<float>{0.2f, 10, 100, 200}));
    // Fog colour; light 0's ambient and diffuse; the back material's ambient, the front's diffuse.
    GLfloat c[5][4];
    glGetFloatv(GL_FOG_COLOR, c[0]);
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, c[1]);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, c[2]);
    glGetMaterialfv(GL_BACK, GL_AMBIENT, c[3]);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, c[4]);
    std::vector<float> colours = {0, 0, 0, 1};
    for (int i = 1; i < 5; ++i) colours.insert(colours.end(), {0.9f, 0.9f, 0.9f, 1});
    EXPECT_EQ(std::vector<float>(&c[0][0], &c[0][0] + 20), colours);

    GLfloat p[16];  // 45 degrees, aspect 1, near 1, far 250
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5], 1.0f / std::tan(22.5f * float(PI) / 180.0f), 1e-4f);
    EXPECT_NEAR(p[0], p[5], 1e-6f);
    EXPECT_FLOAT_EQ(p[10], -251.0f / 249.0f);
    EXPECT_FLOAT_EQ(p[14], -500.0f / 249.0f);

    settings.filledPolygons = 1;
    settings.niceHints = 0;
    captureOutput([] { initGl(GlTestWindow::WIDTH, GlTestWindow::HEIGHT); });
    EXPECT_EQ(integer(GL_POLYGON_MODE), GL_FILL);
    EXPECT_EQ(integer(GL_FOG_HINT), GL_FASTEST);
}

// Every frame: cleared, the state drawn, then the version line at (20, 460) on top.
TEST_F(ShellGlTest, DrawClearsThenDrawsTheStateAndTheVersionLine) {
    writeBmp(TestImage(64, 64, 255, 255, 255), data.work.file("font.bmp"));
    captureOutput([] { bitmapFont.loadFont("font.bmp"); });
    GRun run;
    const int textX = GlTestWindow::textX(25), textY = GlTestWindow::textY(465);
    Mesh glass;  // queued as transparent: drawn and gone with the frame
    glass.objects.push_back(triangle(10, 0));  // behind the viewer: only its queuing counts
    finish(glass, LISTS_NONE);
    for (bool withState : {false, true}) {
        if (withState) run.setState(std::make_unique<PaintingState>());
        transparentQueue.push(glass.objects[0], glass);
        glClearColor(0.0f, 0.0f, 1.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        run.draw();
        EXPECT_EQ(GlTestWindow::pixel(128, 128), (Rgb{0, uint8_t(withState ? 255 : 0), 0}));
        EXPECT_GT(GlTestWindow::pixel(textX, textY).r, 200);
        EXPECT_EQ(GlTestWindow::pixel(textX, GlTestWindow::textY(440)).r, 0);
        EXPECT_EQ(GlTestWindow::pixel(GlTestWindow::textX(15), textY).r, 0);
        EXPECT_EQ(transparentQueue.size(), 0);
    }
}

// Both ways: the old state goes first, then everything cached for it; the
// font is loaded again, as its texture went with the rest.
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
        bool deleted = false;
        captureOutput([&] { run.setState(std::make_unique<PaintingState>(&deleted)); });
        ASSERT_GE(textureStore.getTexture("red.bmp"), 0);
        captureOutput([] { modelStore.getModel("old.3ds", LISTS_NONE, false, false, false); });
        captureOutput([&] { fight ? run.startGame() : run.goToMenu(); });
        EXPECT_TRUE(deleted);
        EXPECT_EQ(dynamic_cast<MenuState*>(run.state()) == nullptr, fight);
        EXPECT_TRUE(run.skipNextUpdate);
        const TextureEntry* font = textureStore.entry(bitmapFont.textureSlot());
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->name, "font.bmp");
        EXPECT_EQ(textureStore.count(), 1);
        const Output o =
            captureOutput([] { modelStore.getModel("old.3ds", LISTS_NONE, false, false, false); });
        EXPECT_EQ(o.out, "Loading model old.3ds\n");
        modelStore.clearModels();
    }
}

// Other programs on the shared test display may send real events too, so only
// the keys pushed here are looked at.
std::vector<int> pushedKeys(const std::vector<int>& keys) {
    std::vector<int> mine;
    for (int key : keys)
        if (key == SDLK_a || key == SDLK_b || key == SDLK_F1) mine.push_back(key);
    return mine;
}

void push(Uint8 type, SDLKey key = SDLK_UNKNOWN) {
    SDL_Event event = {};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

// Events pushed into SDL's queue reach the global GRun.
TEST_F(ShellGlTest, KeysAreForwardedAndAQuitStopsThePumpAtOnce) {
    drainEvents();
    GRun run;
    auto recorder = std::make_unique<PaintingState>(nullptr, false);
    PaintingState* state = recorder.get();
    run.setState(std::move(recorder));
    gRun = &run;
    push(SDL_KEYDOWN, SDLK_a);
    push(SDL_KEYUP, SDLK_a);
    push(SDL_KEYUP, SDLK_F1);  // only the press toggles full screen
    push(SDL_VIDEOEXPOSE);
    EXPECT_TRUE(pollEvents());
    EXPECT_EQ(pushedKeys(state->downs), std::vector<int>{SDLK_a});
    EXPECT_EQ(pushedKeys(state->ups), (std::vector<int>{SDLK_a, SDLK_F1}));
    EXPECT_GE(state->draws, 1);

    push(SDL_QUIT);
    push(SDL_KEYDOWN, SDLK_b);
    EXPECT_FALSE(pollEvents());
    EXPECT_EQ(pushedKeys(state->downs), std::vector<int>{SDLK_a});  // the key after the quit waits
    EXPECT_TRUE(pollEvents());
    EXPECT_EQ(pushedKeys(state->downs), (std::vector<int>{SDLK_a, SDLK_b}));
}

}  // namespace
