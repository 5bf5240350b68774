// The menu screen: background, turning logo, the map/character/skin choice, start and quit.
#include "MenuState.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

#include "BitmapFont.h"
#include "GRun.h"
#include "ScreenSize.h"
#include "Settings.h"
#include "TextureStore.h"
#include "ViewFrustum.h"

namespace {

constexpr int KEY_RETURN = 13;
constexpr int KEY_ESCAPE = 27;
constexpr float TURN_DEGREES_PER_MS = 0.005f;  // 5 degrees per second
constexpr float LOGO_X = 8.0f, LOGO_Y = -6.0f, LOGO_Z = -20.0f;

// One step through 0 .. count-1 with wrap-around. Out-of-range starting
// values (an empty or shrunken list) land inside the range again.
int stepWrapped(int index, int delta, int count) {
    index += delta;
    if (index < 0) return count > 0 ? count - 1 : 0;
    if (index >= count) return 0;
    return index;
}

int selectedSkinCount(const Settings& s) {
    if (s.characterIndex < 0 || s.characterIndex >= s.characterCount) return 0;
    return s.characters[s.characterIndex].skinCount;
}

}  // namespace

MenuState::MenuState(GRun* owner) : owner_(owner) {
    const GLfloat grey[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, grey);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, grey);
    glLightfv(GL_LIGHT0, GL_AMBIENT, grey);
    background_ = textureStore.getTexture("menu.jpg");
    logo_.load("logo.3ds", LISTS_NONE, false, false, false);
    angle_ = 0.0f;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, screenWidth / screenHeight, 1.0, 3000.0);
    glMatrixMode(GL_MODELVIEW);
}

MenuState::~MenuState() {
    if (background_ != -1) textureStore.releaseTexture(background_);
}

bool MenuState::changeSelection(Settings& s, int key) {
    switch (key & 0xff) {
        case 'x':
            s.mapIndex = stepWrapped(s.mapIndex, -1, s.mapCount);
            return true;
        case 'c':
            s.mapIndex = stepWrapped(s.mapIndex, 1, s.mapCount);
            return true;
        case 'v':
            s.characterIndex = stepWrapped(s.characterIndex, -1, s.characterCount);
            s.skinIndex = 0;
            return true;
        case 'b':
            s.characterIndex = stepWrapped(s.characterIndex, 1, s.characterCount);
            s.skinIndex = 0;
            return true;
        case 'n':
            s.skinIndex = stepWrapped(s.skinIndex, -1, selectedSkinCount(s));
            return true;
        case 'm':
            s.skinIndex = stepWrapped(s.skinIndex, 1, selectedSkinCount(s));
            return true;
        default:
            return false;
    }
}

void MenuState::keyDown(int key) {
    switch (key & 0xff) {
        case KEY_RETURN:
            owner_->startGame();
            return;  // this state is gone now
        case KEY_ESCAPE:
            owner_->stop();
            return;
        default:
            changeSelection(settings, key);
            return;
    }
}

void MenuState::update(int ms) {
    angle_ += static_cast<float>(ms) * TURN_DEGREES_PER_MS;
    logo_.advance(ms);
}

void MenuState::draw() {
    glLoadIdentity();
    viewFrustum.updateFrustum();
    glTranslatef(0.0f, 0.0f, -2.2f);

    textureStore.bindTexture(background_);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-18.0f, 14.0f, -30.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-18.0f, -14.0f, -30.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(18.0f, -14.0f, -30.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(18.0f, 14.0f, -30.0f);
    glEnd();

    glPushMatrix();
    glTranslatef(LOGO_X, LOGO_Y, LOGO_Z);
    glRotatef(angle_, 0.0f, 1.0f, 0.0f);
    glScalef(1.4f, 1.4f, 1.4f);
    logo_.draw(LOGO_X, LOGO_Y, LOGO_Z);
    glPopMatrix();

    drawLabels();
}

void MenuState::drawLabels() {
    const Settings& s = settings;
    const bool mapValid = s.mapIndex >= 0 && s.mapIndex < s.mapCount;
    const bool characterValid = s.characterIndex >= 0 && s.characterIndex < s.characterCount;
    char skin[16];
    std::snprintf(skin, sizeof skin, "%d", s.skinIndex);

    bitmapFont.printText(430, 420, "Map name X,C");
    bitmapFont.printText(430, 400, mapValid ? s.maps[s.mapIndex].name : "");
    bitmapFont.printText(430, 360, "Character V,B");
    bitmapFont.printText(430, 340, characterValid ? s.characters[s.characterIndex].name : "");
    bitmapFont.printText(430, 300, "Skin N,M");
    bitmapFont.printText(430, 280, skin);
    bitmapFont.printText(10, 10, "Tovask (c) 2026 the Tovask developers");
}
