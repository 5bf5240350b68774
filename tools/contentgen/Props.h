// Models the game names itself: collision body, shot, crosshair, sky dome and the menu logo.
#pragma once

#include <string>

bool writeProps(const std::string& modelDir);
