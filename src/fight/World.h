// Everything that lives in a fight: the object table, disposals, the update
// scheduler, the collision map, shared model slots, pause and frame statistics.
#pragma once

#include <cstdint>
#include <memory>

#include "GState.h"
#include "GameView.h"
#include "UpdateScheduler.h"

class CollisionMap;
class Entity;
class FightHost;
class Model;
class WorldObject;

class World : public GState {
public:
    static constexpr int MAX_OBJECTS = 3000;
    static constexpr int MODEL_SLOTS = 100;
    static constexpr int KEY_ESCAPE = 27;
    static constexpr int KEY_PAUSE = 'p';

    explicit World(FightHost* host);
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    void keyDown(int key) override;
    // Milliseconds of game time; at most 1000 are let pass per call.
    void update(int milliseconds) override;
    void draw() override;
    void afterUpdate() override;
    // Disposes of every object left, releases the model slots, destroys the
    // collision map and prints the average frame time.
    ~World() override;
    virtual void flushDisposals();
    virtual void objectMoved(Entity* entity);
    virtual void postStep() {}

    // False, with nothing changed, when the table is full, object is null or
    // already in the table.
    // On success the World owns the object.
    bool addObject(WorldObject* object);
    // Takes the object out of the scheduler, the collision map and the table;
    // does not delete it.
    void detachObject(WorldObject* object);
    // Called by kill: the object is disposed of after the current step.
    void queueDisposal(WorldObject* object);
    // Takes ownership of the map; files nothing that is already in the world.
    void setCollisionMap(std::unique_ptr<CollisionMap> map);

    WorldObject* objects[MAX_OBJECTS] = {};  // 0 .. objectCount - 1 in use, owned
    int32_t objectCount = 0;
    WorldObject* pendingDisposals[MAX_OBJECTS] = {};  // killed, waiting for flushDisposals
    int32_t pendingCount = 0;
    Model* modelSlots[MODEL_SLOTS] = {};         // from the ModelStore; slot 0 is the creature body
    GameView view;                               // camera and HUD; draws every frame
    std::unique_ptr<CollisionMap> collisionMap;  // none until the level is loaded
    UpdateScheduler scheduler;
    uint8_t paused = 0;
    FightHost* host = nullptr;      // not owned; null in tools and tests
    int32_t totalMilliseconds = 0;  // game time handed to the scheduler
    int32_t frameCount = 0;         // frames drawn

protected:
    // Escape: hand control back to the menu. The host destroys this state at once.
    virtual void leaveToMenu();
};
