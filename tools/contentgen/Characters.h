// The playable characters: skins, animated body key files, arm poses and gear models.
#pragma once

#include <string>

// Animations every character has. Columns: name suffix, key files. The
// animation description files in data/models ("<id>_<suffix>3") must name
// the same number of keys. The sidestep serves for strafing and for walking
// diagonally alike: a fight loads two models fewer per character and skin
// (the diagonal and its mirror image).
struct AnimationKeys {
    const char* suffix;
    int keyCount;
};
constexpr AnimationKeys ANIMATIONS[] = {
    {"stand", 2},
    {"walk", 4},
    {"strafe", 4},
    {"death", 4},
};

constexpr int SKINS_PER_CHARACTER = 3;
constexpr int ARM_POSES = 6;  // 0 empty hands, 1 to 5 holding weapons 1 to 5

// Writes skins into textureDir and models into modelDir for every character.
bool writeCharacters(const std::string& textureDir, const std::string& modelDir);
