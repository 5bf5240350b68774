// GRun: forwarding to the current state, frame composition and state switches.
#include "GRun.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include "BitmapFont.h"
#include "FrameStats.h"
#include "GameState.h"
#include "MenuState.h"
#include "ModelStore.h"
#include "TextureStore.h"
#include "TransparentQueue.h"

namespace {

// The two screens GRun switches between; both are built from their owning GRun*.
using MenuScreen = MenuState;
using FightState = GameState;

constexpr int MAX_FRAME_MS = 500;  // one stall never throws the state further forward
constexpr const char* FONT_FILE = "font.bmp";
constexpr const char* VERSION_LINE = "Quorvel 2003 - final beta 0.005";

}  // namespace

GRun* gRun = nullptr;

void GRun::keyUp(int key) {
    if (state_) state_->keyUp(key);
}

void GRun::keyDown(int key) {
    if (state_) state_->keyDown(key);
}

void GRun::update(int ms) {
    if (skipNextUpdate) {
        skipNextUpdate = false;
        return;
    }
    if (!state_) {
        frameStats.endFrame();
        frameStats.reportTriangles(ms);
        return;
    }
    if (ms > MAX_FRAME_MS) ms = MAX_FRAME_MS;
    const int scaled = static_cast<int>(static_cast<float>(ms) * timeScale);
    state_->update(scaled);
    frameStats.endFrame();
    frameStats.reportTriangles(scaled);
}

void GRun::draw() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (state_) state_->draw();
    transparentQueue.flush();
    bitmapFont.printText(20, 460, VERSION_LINE);
    SDL_GL_SwapBuffers();
}

void GRun::stop() {
    running = false;
}

void GRun::startGame() {
    leaveState();
    auto fight = std::make_unique<FightState>(this);
    FightState& loading = *fight;
    setState(std::move(fight));
    // A selection that fails validation leaves nothing of the fight behind.
    if (!loading.load()) goToMenu();
}

void GRun::grabPointer(bool on) {
    if (SDL_GetVideoSurface() != nullptr) SDL_WM_GrabInput(on ? SDL_GRAB_ON : SDL_GRAB_OFF);
}

void GRun::goToMenu() {
    leaveState();
    setState(std::make_unique<MenuScreen>(this));
}

void GRun::setState(std::unique_ptr<GState> next) {
    state_ = std::move(next);
    skipNextUpdate = true;
}

void GRun::leaveState() {
    state_.reset();
    modelStore.clearModels();
    textureStore.clearTextures();
    bitmapFont.loadFont(FONT_FILE);
}
