// Models the game names itself: collision body, shot, crosshair, sky dome and the menu logo;
// and the empty model a character without extra model names.
#pragma once

#include <string>

bool writeProps(const std::string& modelDir);
