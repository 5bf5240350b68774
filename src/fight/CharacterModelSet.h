// A creature's look: skinned body, arm, extra and death models, and the animation clock.
#pragma once

#include "CharacterInfo.h"
#include "FightModels.h"

class Model;
class Weapon;

// The skin actually used: skinIndex when below skinCount, otherwise
// rand() % skinCount; 0, without a draw, for a character without skins.
int chooseSkin(int skinIndex, int skinCount);

class CharacterModelSet {
public:
    CharacterModelSet() = default;
    CharacterModelSet(const CharacterModelSet&) = delete;
    CharacterModelSet& operator=(const CharacterModelSet&) = delete;
    ~CharacterModelSet();  // gives every model back to the model store

    // Loads a character of a table of count records. A character index
    // outside the table uses character 0; a skin index not below skinCount is
    // replaced by rand() % skinCount (skin 0 when the character has no skins).
    // False, with nothing loaded, when the table is empty.
    bool load(const CharacterInfo* characters, int count, int characterIndex, int skinIndex);

    // Picks the body model for the movement and advances the clock by ms (run
    // backwards when walking backward). Health below 0 starts the death clip
    // from time 0 on its first call.
    void selectAnimation(int ms, bool forward, bool backward, bool left, bool right, int health);

    // Draws at world position (x, y, z) inside the creature's transform; weapon
    // may be null.
    void draw(float x, float y, float z, Weapon* weapon);

    Model* standModel = nullptr;
    Model* walkModel = nullptr;
    Model* strafeLeftModel = nullptr;  // strafe model mirrored in x
    Model* strafeRightModel = nullptr;
    Model* diagonalLeftModel = nullptr;  // diagonal model mirrored in x
    Model* diagonalRightModel = nullptr;
    Model* currentModel = nullptr;  // one of the six above, chosen by selectAnimation
    Model* extraModel = nullptr;    // drawn with every living frame, without animation time
    Model* deathModel = nullptr;    // drawn alone while dying
    Model* armModels[ARM_MODEL_COUNT] = {};  // by the weapon's armsIndex
    bool dying = false;
    int characterIndex = 0;
    int skinIndex = 0;  // the skin worn, 0-based
    CharacterInfo character;
    int animationTime = 0;  // milliseconds; may run backwards, wrapped by the model
};
