// Decides what an entity wants to do: writes its command fields at the start of each of its
// updates.
#pragma once

class World;
class Entity;

class Controller {
public:
    Controller(World* world, Entity* entity);
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;
    // Writes the entity's command fields.
    virtual void control() = 0;
    virtual ~Controller();

    World* world = nullptr;    // not owned
    Entity* entity = nullptr;  // not owned
};
