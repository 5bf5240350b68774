// The World: object table, disposal after each step, scheduler and collision map wiring, keys.
#include "World.h"

#include <cstdio>

#include "CollisionMap.h"
#include "Entity.h"
#include "FightHost.h"
#include "ModelStore.h"
#include "WorldObject.h"

World::World(FightHost* host) : host(host) {}

World::~World() {
    // Each disposal moves the last object into entry 0. An object naming no
    // or another owner would not detach itself from this World: do it here.
    while (objectCount > 0) {
        WorldObject* first = objects[0];
        if (first->owner != this) detachObject(first);
        first->dispose();
    }
    for (Model* model : modelSlots) modelStore.releaseModel(model);  // empty slots are null
    // The collision map and the scheduler, empty now, go with the members.
    std::printf("Average : %f ms/frame\n", double(totalMilliseconds) / double(frameCount));
}

void World::keyDown(int key) {
    switch (key & 0xff) {
        case KEY_ESCAPE:
            leaveToMenu();  // this state may be gone now: touch nothing after it
            return;
        case KEY_PAUSE:
            paused = paused != 0 ? 0 : 1;
            return;
        default:
            return;
    }
}

void World::update(int milliseconds) {
    if (paused != 0) return;
    int t = milliseconds;
    if (t > 1000) t = 1000;
    if (t < 0) t = 0;
    totalMilliseconds += t;
    scheduler.advance(t);
    afterUpdate();
    flushDisposals();
}

void World::draw() {
    view.draw();
    ++frameCount;
}

void World::afterUpdate() {
    postStep();
}

bool World::addObject(WorldObject* object) {
    if (object == nullptr || objectCount >= MAX_OBJECTS) return false;
    // A second add would list the object twice and delete it twice.
    const int32_t index = object->tableIndex;
    if (index >= 0 && index < objectCount && objects[index] == object) return false;
    object->tableIndex = objectCount;
    objects[objectCount] = object;
    ++objectCount;
    scheduler.schedule(object);
    if (collisionMap != nullptr && (object->kindFlags & WorldObject::COLLIDES) != 0) {
        if (Entity* entity = dynamic_cast<Entity*>(object)) collisionMap->insertObject(entity);
    }
    object->active = 1;
    return true;
}

void World::detachObject(WorldObject* object) {
    if (object == nullptr) return;
    scheduler.unschedule(object);
    if (collisionMap != nullptr && (object->kindFlags & WorldObject::COLLIDES) != 0) {
        if (Entity* entity = dynamic_cast<Entity*>(object)) collisionMap->removeObject(entity);
    }
    // An object that never made it into the table (refused by a full one)
    // must not take another object's entry with it.
    const int32_t index = object->tableIndex;
    if (index < 0 || index >= objectCount || objects[index] != object) return;
    WorldObject* last = objects[objectCount - 1];
    objects[index] = last;
    last->tableIndex = index;
    objects[objectCount - 1] = nullptr;
    --objectCount;
    object->tableIndex = -1;
}

void World::queueDisposal(WorldObject* object) {
    // Objects in the world are killed once each, so the table's bound holds;
    // should it not, the object stays in the table and goes with the World.
    if (object == nullptr || pendingCount >= MAX_OBJECTS) return;
    pendingDisposals[pendingCount++] = object;
}

void World::flushDisposals() {
    // pendingCount is read anew each turn: disposals may kill further objects.
    for (int i = 0; i < pendingCount; ++i) {
        pendingDisposals[i]->dispose();  // never null: queueDisposal refuses null
    }
    pendingCount = 0;
}

void World::objectMoved(Entity* entity) {
    if (collisionMap != nullptr) collisionMap->resolveMove(entity);
}

void World::setCollisionMap(std::unique_ptr<CollisionMap> map) {
    collisionMap = std::move(map);
}

void World::leaveToMenu() {
    if (host != nullptr) host->goToMenu();
}
