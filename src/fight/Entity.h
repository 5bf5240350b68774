// A movable, drawable world object: command fields filled by a controller,
// orientation in degrees, blended velocity, decaying impulse, collision bookkeeping.
#pragma once

#include <cstdint>

#include "CollisionCell.h"
#include "Vec3.h"
#include "WorldObject.h"

class Controller;
class Model;

class Entity : public WorldObject {
public:
    // The model's bounding box becomes the entity's collision size.
    Entity(World* owner, Model* model);
    ~Entity() override;  // deletes the controller

    void update() override;
    void draw() override;
    // Deletes the present controller, if any, and keeps the new one.
    virtual void setController(Controller* newController);
    // Told of a contact with another entity, or with the level when other is
    // null. Between two entities the result says whether the contact blocks.
    virtual bool onCollision(Entity* other);

    // Pushes the transform to position and orientation when position is in the
    // view frustum; the caller pops it. False changes nothing.
    bool beginTransform();

    Controller* controller = nullptr;  // owned
    uint8_t alive = 1;                 // while 0 the commands do not move the entity
    Model* model = nullptr;            // not owned

    // Commands, written by the controller each update.
    uint8_t moveUp = 0, moveDown = 0, strafeLeft = 0, strafeRight = 0, moveForward = 0,
            moveBackward = 0;
    float yawRate = 0.0f, pitchRate = 0.0f, rollRate = 0.0f;  // degrees per update
    float headingSin = 0.0f, headingCos = 1.0f;  // of the heading at the last living update
    uint8_t fire = 0, previousWeapon = 0, nextWeapon = 0, respawn = 0;

    Vec3 position;
    Vec3 centre;  // position raised by the model's centre height; what collisions test
    Vec3 velocity;
    Vec3 desiredVelocity;
    float pitch = 0.0f, heading = 0.0f, roll = 0.0f;  // degrees; heading 0 faces -z
    Vec3 impulse;                 // velocity given from outside; decays by impulseDecay per update
    float responsiveness = 1.0f;  // share of the desired velocity taken per update
    float impulseDecay = 0.0f;
    float speed = 0.0f;  // world units per update
    Vec3 halfExtents;
    float mass = 1.0f;
    Vec3 previousPosition;  // position at the start of the current update

    // Kept by the collision map: the cell of each grid and the index in it.
    CollisionCell* collisionCells[GRID_COUNT] = {};
    int32_t cellIndices[GRID_COUNT] = {};
};
