// One playable character as read from its description file.
#pragma once

constexpr int INFO_TEXT_SIZE = 255;  // names of at most 254 characters

struct CharacterInfo {
    char filePath[INFO_TEXT_SIZE] = {};
    int creatureType = 0;
    int skinCount = 0;
    char name[INFO_TEXT_SIZE] = {};
    char skinTexturePattern[INFO_TEXT_SIZE] = {};  // one %d, filled with skin + 1
    char armModelPattern[INFO_TEXT_SIZE] = {};     // one %d, filled with 0 to 5
    char standModelName[INFO_TEXT_SIZE] = {};
    char walkModelName[INFO_TEXT_SIZE] = {};
    char strafeModelName[INFO_TEXT_SIZE] = {};
    char diagonalModelName[INFO_TEXT_SIZE] = {};
    float spareNumber = 0.0f;
    char spareName[INFO_TEXT_SIZE] = {};
    char extraModelName[INFO_TEXT_SIZE] = {};
    char deathModelName[INFO_TEXT_SIZE] = {};
};
