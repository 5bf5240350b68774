// One material of a 3DS file: name, diffuse colour and texture map.
#pragma once

#include <string>

struct Material {
    std::string name;         // at most 254 characters
    std::string textureFile;  // texture map 1's file name; empty when none (lowered by the build)
    unsigned char colour[3] = {0, 0, 0};  // diffuse red, green, blue
    int textureSlot = -1;                 // TextureStore slot; -1 none
    bool transparent = false;             // the texture has an alpha companion
};
