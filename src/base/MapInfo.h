// One map as read from its description file.
#pragma once

#include "CharacterInfo.h"

struct MapInfo {
    char filePath[INFO_TEXT_SIZE] = {};
    char name[INFO_TEXT_SIZE] = {};
    char levelModel[INFO_TEXT_SIZE] = {};
    char groundModel[INFO_TEXT_SIZE] = {};  // or "noground"
    char roofModel[INFO_TEXT_SIZE] = {};    // or "noroof"
    char skyTexture[INFO_TEXT_SIZE] = {};   // or "nosky"
    char spareName[INFO_TEXT_SIZE] = {};
    float fogColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // red, green, blue, alpha
    char collisionModel[INFO_TEXT_SIZE] = {};
};
