// A shot in flight: flies along its heading, spends a range budget, bursts into
// fragments, damages, pushes and credits on hitting a creature.
#pragma once

#include <memory>

#include "Entity.h"
#include "ProjectileType.h"

class Creature;

class Projectile : public Entity {
public:
    static constexpr uint32_t PROJECTILE = 16;  // kindFlags bit; no rule reads it

    // typeIndex names a row of projectileTypes (anything else takes row 0);
    // shooter may be null. Draws the first-update delay with rand(). The
    // creator sets moveForward, position and orientation, then adds it.
    Projectile(World* world, int typeIndex, Creature* shooter);

    // Flies, spends speed from the range budget, and when it is spent releases
    // the fragments and dies. A dead projectile (already hit or expired, not
    // yet disposed of) does nothing, so fragments are released once only.
    void update() override;
    // Unlit.
    void draw() override;
    // Hits creatures other than the shooter; passes through projectiles; dies
    // on the level. Never blocks.
    bool onCollision(Entity* other) override;

    // The creature that fired it, or null once that creature has been
    // deleted: a projectile may outlive its shooter (the World disposes of its
    // objects in table order), so the shooter is held by a weak handle and
    // never dereferenced after it is gone.
    Creature* shooter() const;

    int typeIndex = 0;
    ProjectileType type;          // copy of the table row
    double remainingRange = 0.0;  // world units left; speed is taken per update

private:
    void releaseFragments();

    std::weak_ptr<Creature*> shooter_;
};
