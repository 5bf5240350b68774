// "logo.3ds": the word TOVASK as solid extruded letters for the menu screen, turning about its
// centre.
#pragma once

#include <string>

bool writeLogo(const std::string& path);
