// A fighter: an entity with health, score, five weapons and a character look.
#pragma once

#include <memory>

#include "CharacterModelSet.h"
#include "CreatureType.h"
#include "Entity.h"
#include "Weapon.h"

class Creature : public Entity {
public:
    // Where creatures are revived (and the player starts), world units.
    static constexpr float START_X = 0.0f, START_Y = 0.0f, START_Z = -50.0f;
    // Where computer-driven creatures appear: x = SPAWN_X_MAX - rand() %
    // SPAWN_X_COUNT and z = SPAWN_Z_MAX - rand() % SPAWN_Z_COUNT, whole world
    // units (x from -9 to 10, z from -44 to -10), y = 0.
    static constexpr int SPAWN_X_MAX = 10, SPAWN_X_COUNT = 20;
    static constexpr int SPAWN_Z_MAX = -10, SPAWN_Z_COUNT = 35;

    // Random draws, in order: the start delay (rand() % updatePeriod), then
    // the start weapon (rand() % 5) when the row's startWeapon is -1.
    // Prints "New pelmo in game\n".
    Creature(World* world, Model* body, const CreatureType& type);
    // The weapons and the character models give their models back as they go.
    ~Creature() override = default;

    // Moves, switches weapons, fires the current one, picks the animation and
    // revives at the start point when dead and asked to.
    void update() override;
    // The character models inside the creature's transform, or the body model
    // when there are none.
    void draw() override;
    // Every contact blocks a creature.
    bool onCollision(Entity* other) override;

    // True exactly when this hit killed the creature (health below 0; 0 is
    // still alive). A dead creature takes no damage.
    bool takeDamage(int amount);
    // Full health and refilled weapons at (x, y, z); velocity, impulse and
    // orientation are kept.
    void revive(float x, float y, float z);
    // Takes ownership; replaces (and releases) any set held before.
    void setCharacterModels(CharacterModelSet* models);

    // A weak handle that expires when the creature is deleted, for objects
    // that may outlive it (its projectiles).
    std::weak_ptr<Creature*> handle() const { return self_; }

    int health = 100;
    int score = 0;  // creatures killed by this creature's projectiles
    CreatureType type;
    int weaponIndex = 0;  // 0..WEAPON_TYPE_COUNT-1
    Weapon* currentWeapon = nullptr;
    std::unique_ptr<Weapon> weapons[WEAPON_TYPE_COUNT];
    int weaponSwitchCooldown = 0;  // milliseconds; switching allowed at 0 or below
    std::unique_ptr<CharacterModelSet> characterModels;

private:
    void switchWeapons();

    std::shared_ptr<Creature*> self_;
};
