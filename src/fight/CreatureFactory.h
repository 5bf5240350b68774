// Making the fight's creatures: body, controller, character models and place,
// with the random draws in the order the game relies on.
#pragma once

#include "CharacterInfo.h"

class Creature;
class Model;
class World;

// The player's creature for character characterIndex with skin skinIndex,
// driven by the keyboard, placed at the start point. Not yet added to the
// world: the caller adds it (and deletes it if the world refuses it).
// Random draws: the creature's own (start delay, start weapon), then the
// character models' (only for a skin out of range).
Creature* createPlayerCreature(World* world, Model* body, const CharacterInfo* characters,
                               int characterCount, int characterIndex, int skinIndex);

// One computer-driven creature. Random draws, in order: the character
// (rand() % characterCount), the creature's own, the skin (rand() % skinCount,
// none for a character without skins), x = 10 - rand() % 20, z = -10 - rand() % 35
// (y = 0). Not yet added to the world. Null when there is no character.
Creature* createComputerCreature(World* world, Model* body, const CharacterInfo* characters,
                                 int characterCount);

// The same two on the global settings' character table.
Creature* createPlayerCreature(World* world, Model* body, int characterIndex, int skinIndex);
Creature* createComputerCreature(World* world, Model* body);
