// Life cycle of world objects: kill queues the object, dispose detaches and deletes it.
#include "WorldObject.h"

#include "World.h"

WorldObject::WorldObject(World* owner) : owner(owner) {}

void WorldObject::kill() {
    if (dead != 0) return;
    dead = 1;
    if (owner != nullptr) {
        owner->queueDisposal(this);
    } else {
        dispose();
    }
}

void WorldObject::dispose() {
    if (owner != nullptr) owner->detachObject(this);
    delete this;
}
