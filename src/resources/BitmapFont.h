// The one bitmap font: 256 glyph display lists over a 640 x 480 virtual screen.
#pragma once

#include <GL/gl.h>

class BitmapFont {
public:
    // Always true. Releases what a previous load held, so lists never pile up.
    bool loadFont(const char* fileName);
    void releaseFont();
    // x, y in virtual screen units, origin lower left, y upwards.
    void printText(int x, int y, const char* text);
    void begin2D();
    void printLine(int x, int y, const char* text);
    void end2D();

    int textureSlot() const { return textureSlot_; }
    GLuint listBase() const { return listBase_; }

private:
    int textureSlot_ = -1;
    GLuint listBase_ = 0;  // glyph i is list listBase_ + i
};

extern BitmapFont bitmapFont;
