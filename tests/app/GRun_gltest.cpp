// The window's OpenGL set-up, frame composition, state switches and the event pump.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

// No font and no shipped data are found; the settings and window size are restored after
// each test.
class ShellGlTest : public GlTest {
protected:
    void TearDown() override {
        gRun = nullptr;
        drainEvents();
        settings = Settings();
        bitmapFont.releaseFont();
        screenWidth = savedWidth_;
        screenHeight = savedHeight_;
        GlTest::TearDown();
    }
    static void drainEvents() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
    }
    ScratchData data;
    const float savedWidth_ = screenWidth, savedHeight_ = screenHeight;
};

std::vector<float> values(GLenum name, int count) {
    GLfloat v[4] = {};
    glGetFloatv(name, v);
    return {v, v + count};
}

std::vector<float> light0(GLenum name) {
    GLfloat v[4] = {};
    glGetLightfv(GL_LIGHT0, name, v);
    return {v, v + 4};
}

std::vector<float> material(GLenum face, GLenum name) {
    GLfloat v[4] = {};
    glGetMaterialfv(face, name, v);
    return {v, v + 4};
}

// The whole window state, over a state left in disorder. The aspect is the window's, but
// a height of 0 (a broken settings file) gives aspect 1, not an unusable projection.
TEST_F(ShellGlTest, InitGlSetsTheWindowStateFromTheSettings) {
    struct Case {
        int width, height, filled, nice, quality;
        float aspect;
    };
    const Case cases[] = {
        {200, 100, 0, 1, 2, 2.0f}, {50, 1, 1, 0, 0, 50.0f}, {64, 0, 1, 0, 1, 1.0f}};
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.width) + " x " + std::to_string(c.height);
        settings.filledPolygons = c.filled;
        settings.niceHints = c.nice;
        settings.textureQuality = c.quality;
        glDisable(GL_COLOR_MATERIAL);  // as in a new window: it would take over the material
        glClearColor(1, 1, 1, 1);
        glClearDepth(0);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(0.5);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glMatrixMode(GL_PROJECTION);
        glTranslatef(3, 0, 0);
        const Output o = captureOutput([&] { initGl(c.width, c.height); });
        const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        EXPECT_EQ(o.out, "GL Extensions: " + std::string(extensions) + "\nLoading font font.bmp\n")
            << what;
        EXPECT_NE(bitmapFont.listBase(), 0u) << what << ": the font's glyphs";
        EXPECT_EQ(textureStore.mipmaps(), c.quality == 2) << what << ": texture quality";
        EXPECT_EQ(screenWidth, float(c.width)) << what;
        EXPECT_EQ(screenHeight, float(c.height)) << what;
        EXPECT_EQ(GlTestWindow::projection(), GlTestWindow::perspective(45, c.aspect, 1, 250))
            << what;
        GLfloat depth = 0;
        glReadPixels(0, 0, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_EQ(depth, 1.0f) << what << ": the depth buffer is cleared";
        const float hint = c.nice ? GL_NICEST : GL_FASTEST;
        const std::vector<float> grey = {0.9f, 0.9f, 0.9f, 1};
        const struct {
            const char* name;
            std::vector<float> value, expected;
        } state[] = {
            {"viewport", values(GL_VIEWPORT, 4), {0, 0, float(c.width), float(c.height)}},
            {"clear colour", values(GL_COLOR_CLEAR_VALUE, 4), {0, 0, 0, 0}},
            {"clear depth", values(GL_DEPTH_CLEAR_VALUE, 1), {1}},
            {"colour mask", values(GL_COLOR_WRITEMASK, 4), {1, 1, 1, 1}},
            {"matrix mode", values(GL_MATRIX_MODE, 1), {GL_MODELVIEW}},
            {"polygon mode", values(GL_POLYGON_MODE, 2),
             std::vector<float>(2, c.filled ? GL_FILL : GL_LINE)},
            {"hints: perspective, point, line, polygon, fog",
             {values(GL_PERSPECTIVE_CORRECTION_HINT, 1)[0], values(GL_POINT_SMOOTH_HINT, 1)[0],
              values(GL_LINE_SMOOTH_HINT, 1)[0], values(GL_POLYGON_SMOOTH_HINT, 1)[0],
              values(GL_FOG_HINT, 1)[0]},
             std::vector<float>(5, hint)},
            {"fog mode, density, start, end",
             {values(GL_FOG_MODE, 1)[0], values(GL_FOG_DENSITY, 1)[0], values(GL_FOG_START, 1)[0],
              values(GL_FOG_END, 1)[0]},
             {GL_LINEAR, 10, 100, 200}},
            {"fog colour", values(GL_FOG_COLOR, 4), {0, 0, 0, 1}},
            // The drawing state the scenes share.
            {"on: texture, depth test, cull face, lighting, light 0, colour material",
             {float(glIsEnabled(GL_TEXTURE_2D)), float(glIsEnabled(GL_DEPTH_TEST)),
              float(glIsEnabled(GL_CULL_FACE)), float(glIsEnabled(GL_LIGHTING)),
              float(glIsEnabled(GL_LIGHT0)), float(glIsEnabled(GL_COLOR_MATERIAL))},
             {1, 1, 1, 1, 1, 1}},
            {"depth function, cull face, shade model",
             {values(GL_DEPTH_FUNC, 1)[0], values(GL_CULL_FACE_MODE, 1)[0],
              values(GL_SHADE_MODEL, 1)[0]},
             {GL_LEQUAL, GL_BACK, GL_SMOOTH}},
            {"blend source and destination, alpha function and reference",
             {values(GL_BLEND_SRC, 1)[0], values(GL_BLEND_DST, 1)[0],
              values(GL_ALPHA_TEST_FUNC, 1)[0], values(GL_ALPHA_TEST_REF, 1)[0]},
             {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_GREATER, 0.2f}},
            {"light 0 ambient", light0(GL_AMBIENT), grey},
            {"light 0 diffuse", light0(GL_DIFFUSE), grey},
            {"back material ambient", material(GL_BACK, GL_AMBIENT), grey},
            {"front material diffuse", material(GL_FRONT, GL_DIFFUSE), grey},
        };
        for (const auto& s : state) EXPECT_EQ(s.value, s.expected) << what << ": " << s.name;
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
        const char* what = state == 0 ? "no state" : state == 1 ? "a bare state" : "a state";
        if (state == 1) run.setState(std::make_unique<GState>());
        if (state == 2) run.setState(std::make_unique<PaintingState>());
        transparentQueue.push(glass.objects[0], glass);
        glClearColor(0.0f, 0.0f, 1.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        run.draw();
        EXPECT_EQ(GlTestWindow::pixel(128, 128), (Rgb{0, uint8_t(state == 2 ? 255 : 0), 0}))
            << what;
        EXPECT_GT(GlTestWindow::pixel(textX, textY).r, 200) << what << ": the version line";
        EXPECT_EQ(GlTestWindow::pixel(textX, GlTestWindow::textY(440)).r, 0) << what;
        EXPECT_EQ(GlTestWindow::pixel(GlTestWindow::textX(15), textY).r, 0) << what;
        EXPECT_EQ(transparentQueue.size(), 0) << what;
    }
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
        const char* what = fight ? "to the fight" : "to the menu";
        bool deleted = false;
        captureOutput([&] { run.setState(std::make_unique<PaintingState>(&deleted)); });
        ASSERT_GE(textureStore.getTexture("red.bmp"), 0);
        captureOutput([] { modelStore.getModel("old.3ds", LISTS_NONE, false, false, false); });
        captureOutput([&] { fight ? run.startGame() : run.goToMenu(); });
        EXPECT_TRUE(deleted) << what;
        EXPECT_EQ(dynamic_cast<MenuState*>(run.state()) == nullptr, fight) << what;
        EXPECT_TRUE(run.skipNextUpdate) << what;
        const TextureEntry* font = textureStore.entry(bitmapFont.textureSlot());
        ASSERT_NE(font, nullptr) << what;
        EXPECT_EQ(font->name, "font.bmp") << what;
        EXPECT_EQ(textureStore.count(), 1) << what << ": only the font is left";
        const Output o =
            captureOutput([] { modelStore.getModel("old.3ds", LISTS_NONE, false, false, false); });
        EXPECT_EQ(o.out, "Loading model old.3ds\n") << what << ": the model cache was emptied";
        modelStore.clearModels();
    }
}

void push(Uint8 type, SDLKey key = SDLK_UNKNOWN) {
    SDL_Event event = {};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    if (type == SDL_VIDEORESIZE) {
        event.resize.w = 128;
        event.resize.h = 64;
    }
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

bool fullScreen() {
    return (SDL_GetVideoSurface()->flags & SDL_FULLSCREEN) != 0;
}

// Events pushed into SDL's queue reach the global GRun, or the window itself.
TEST_F(ShellGlTest, EventsReachTheGameOrTheWindowAndAQuitStopsThePumpAtOnce) {
    drainEvents();
    GRun run;
    auto recorder = std::make_unique<PaintingState>(nullptr, false);
    PaintingState* state = recorder.get();
    run.setState(std::move(recorder));
    for (bool withGame : {false, true}) {  // without one, keys and exposures go nowhere
        gRun = withGame ? &run : nullptr;
        push(SDL_KEYDOWN, SDLK_a);
        push(SDL_KEYUP, SDLK_a);
        push(SDL_VIDEOEXPOSE);
        EXPECT_TRUE(pollEvents());
    }
    EXPECT_EQ(pushedKeys(state->downs), std::vector<int>{SDLK_a});
    EXPECT_EQ(pushedKeys(state->ups), std::vector<int>{SDLK_a});
    EXPECT_GE(state->draws, 1) << "an exposure draws a frame";

    for (bool on : {true, false}) {  // F1 toggles full screen; only its release is passed on
        push(SDL_KEYDOWN, SDLK_F1);
        push(SDL_KEYUP, SDLK_F1);
        EXPECT_EQ(captureOutput(pollEvents).err, "");
        EXPECT_EQ(fullScreen(), on);
    }
    EXPECT_EQ(pushedKeys(state->downs), std::vector<int>{SDLK_a});
    EXPECT_EQ(pushedKeys(state->ups), (std::vector<int>{SDLK_a, SDLK_F1, SDLK_F1}));

    push(SDL_VIDEORESIZE);  // 128 x 64: the whole GL set-up again, font included
    const Output resized = captureOutput(pollEvents);
    EXPECT_EQ(resized.out.substr(0, 15), "GL Extensions: ");
    EXPECT_EQ(resized.out.substr(resized.out.find('\n') + 1), "Loading font font.bmp\n");
    EXPECT_EQ(values(GL_VIEWPORT, 4), (std::vector<float>{0, 0, 128, 64}));

    push(SDL_QUIT);
    push(SDL_KEYDOWN, SDLK_b);
    EXPECT_FALSE(pollEvents());
    EXPECT_EQ(pushedKeys(state->downs), std::vector<int>{SDLK_a}) << "the key after the quit waits";
    EXPECT_TRUE(pollEvents());
    EXPECT_EQ(pushedKeys(state->downs), (std::vector<int>{SDLK_a, SDLK_b}));
}

}  // namespace
