// Root of everything that lives in a fight: ties an object to its World and gives it a life cycle.
#pragma once

#include <cstdint>

#include "ScheduledObject.h"

class World;

class WorldObject : public ScheduledObject {
public:
    // kindFlags bits
    static constexpr uint32_t COLLIDES = 1;    // filed in the collision map while in the world
    static constexpr uint32_t CREATURE = 256;  // projectiles damage and credit it

    explicit WorldObject(World* owner);
    ~WorldObject() override = default;
    // Ends the object's life at the end of the current step; a second call does nothing.
    virtual void kill();
    // Detaches the object from its owner and deletes it. Only the World (and
    // kill on an ownerless object) calls it.
    virtual void dispose();
    virtual void draw() {}

    World* owner = nullptr;  // not owned; may be absent
    uint8_t dead = 0;        // set once by kill, never cleared
    uint32_t kindFlags = 0;
    int32_t tableIndex = -1;  // place in the World's object table, -1 when not in one
};
