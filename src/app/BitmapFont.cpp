// Placeholder until the font lands: draws nothing.
#include "BitmapFont.h"

bool BitmapFont::loadFont(const char*) { return true; }
void BitmapFont::releaseFont() {}
void BitmapFont::printText(int, int, const char*) {}
void BitmapFont::begin2D() {}
void BitmapFont::printLine(int, int, const char*) {}
void BitmapFont::end2D() {}
