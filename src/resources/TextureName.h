// How the game names textures: lowered before every lookup, and a length the texture store takes.
#pragma once

#include <cstddef>
#include <string>

// A texture store entry's name holds this many characters; longer names are refused.
constexpr size_t MAX_TEXTURE_NAME = 99;

// The name as the texture store compares it: ASCII A to Z lowered, every other
// byte kept (the data files are named in lower case).
inline std::string loweredTextureName(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return name;
}
