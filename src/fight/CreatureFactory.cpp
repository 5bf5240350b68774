// Creature creation sequences for the player and the computer.
#include "CreatureFactory.h"

#include <cstdio>
#include <cstdlib>

#include "AIController.h"
#include "Creature.h"
#include "KeyboardController.h"
#include "Settings.h"

namespace {

const CreatureType& rowFor(const CharacterInfo* characters, int count, int index) {
    const bool known = characters != nullptr && index >= 0 && index < count;
    return creatureTypeFor(known ? characters[index].creatureType : 0);
}

}  // namespace

Creature* createPlayerCreature(World* world, Model* body, const CharacterInfo* characters,
                               int characterCount, int characterIndex, int skinIndex) {
    auto* creature = new Creature(world, body, rowFor(characters, characterCount, characterIndex));
    creature->setController(new KeyboardController(world, creature));
    auto* models = new CharacterModelSet;
    models->load(characters, characterCount, characterIndex, skinIndex);
    creature->setCharacterModels(models);
    creature->position = {Creature::START_X, Creature::START_Y, Creature::START_Z};
    return creature;
}

Creature* createComputerCreature(World* world, Model* body, const CharacterInfo* characters,
                                 int characterCount) {
    if (characters == nullptr || characterCount <= 0) {
        fprintf(stderr, "No character for a computer creature\n");
        return nullptr;
    }
    const int character = rand() % characterCount;
    auto* creature = new Creature(world, body, rowFor(characters, characterCount, character));
    creature->setController(new AIController(world, creature));
    const int skinCount = characters[character].skinCount;
    const int skin = skinCount > 0 ? rand() % skinCount : 0;
    auto* models = new CharacterModelSet;
    models->load(characters, characterCount, character, skin);
    creature->setCharacterModels(models);
    const int x = Creature::SPAWN_X_MAX - rand() % Creature::SPAWN_X_COUNT;
    const int z = Creature::SPAWN_Z_MAX - rand() % Creature::SPAWN_Z_COUNT;
    creature->position = {static_cast<float>(x), 0.0f, static_cast<float>(z)};
    return creature;
}

Creature* createPlayerCreature(World* world, Model* body, int characterIndex, int skinIndex) {
    return createPlayerCreature(world, body, settings.characters.data(), settings.characterCount,
                                characterIndex, skinIndex);
}

Creature* createComputerCreature(World* world, Model* body) {
    return createComputerCreature(world, body, settings.characters.data(), settings.characterCount);
}
