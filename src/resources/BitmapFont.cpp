// The one bitmap font: 256 glyph display lists over a 640 x 480 virtual screen.
#include "BitmapFont.h"

#include <cstdio>
#include <cstring>

#include "TextureStore.h"

namespace {

constexpr int GLYPHS = 256;          // a 16 x 16 grid of cells
constexpr float CELL = 0.0625f;      // one cell in texture coordinates
constexpr float GLYPH_SIZE = 16.0f;  // quad side, virtual screen units
constexpr float ADVANCE = 10.0f;     // origin step after a glyph, virtual units
constexpr GLuint CODE_OFFSET = 96;   // character code k draws glyph 96 + k

void compileGlyph(GLuint list, int glyph) {
    const float u = float(glyph % 16) * CELL;
    const float v = 1.0f - float(glyph / 16) * CELL;
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    glTexCoord2f(u, v - CELL);
    glVertex2f(0, 0);
    glTexCoord2f(u + CELL, v - CELL);
    glVertex2f(GLYPH_SIZE, 0);
    glTexCoord2f(u + CELL, v);
    glVertex2f(GLYPH_SIZE, GLYPH_SIZE);
    glTexCoord2f(u, v);
    glVertex2f(0, GLYPH_SIZE);
    glEnd();
    glTranslatef(ADVANCE, 0, 0);
    glEndList();
}

// Calls the glyph lists for count bytes; bytes of 128 and above would be
// negative as GL_BYTE and reach lists below the font's, so they draw as '?'.
void callGlyphs(const char* text, size_t count) {
    char chunk[256];
    while (count > 0) {
        const size_t n = count < sizeof chunk ? count : sizeof chunk;
        for (size_t i = 0; i < n; ++i)
            chunk[i] = static_cast<unsigned char>(text[i]) >= 128 ? '?' : text[i];
        glCallLists(GLsizei(n), GL_BYTE, chunk);
        text += n;
        count -= n;
    }
}

}  // namespace

bool BitmapFont::loadFont(const char* fileName) {
    releaseFont();
    textureSlot_ = textureStore.getTexture(fileName);
    std::printf("Loading font %s\n", fileName);
    listBase_ = glGenLists(GLYPHS);
    if (listBase_ != 0)
        for (int i = 0; i < GLYPHS; ++i) compileGlyph(listBase_ + GLuint(i), i);
    return true;
}

void BitmapFont::releaseFont() {
    if (listBase_ != 0) {
        glDeleteLists(listBase_, GLYPHS);
        listBase_ = 0;
    }
    if (textureSlot_ != -1) {
        textureStore.releaseTexture(textureSlot_);
        textureSlot_ = -1;
    }
}

void BitmapFont::printText(int x, int y, const char* text) {
    begin2D();
    printLine(x, y, text);
    end2D();
}

void BitmapFont::begin2D() {
    textureStore.bindTexture(textureSlot_);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glListBase(listBase_ + CODE_OFFSET);
}

void BitmapFont::printLine(int x, int y, const char* text) {
    glLoadIdentity();
    glTranslatef(float(x), float(y), 0);
    glColor3f(1.0f, 0.5f, 0.5f);
    // Without lists the base would address whatever lists happen to exist.
    if (listBase_ == 0 || !text) return;
    callGlyphs(text, std::strlen(text));
}

void BitmapFont::end2D() {
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}
