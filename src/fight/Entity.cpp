// Entity movement rule: commands, turning, velocity blending, impulse decay, move, collision.
#include "Entity.h"

#include <GL/gl.h>

#include <cmath>

#include "Angles.h"
#include "Controller.h"
#include "Model.h"
#include "ViewFrustum.h"
#include "World.h"

namespace {

// Opposite commands cancel each other.
void cancelPair(uint8_t& a, uint8_t& b) {
    if (a != 0 && b != 0) {
        a = 0;
        b = 0;
    }
}

float blend(float current, float desired, float share) {
    return static_cast<float>((1.0 - share) * current + double(share) * desired);
}
}  // namespace

Entity::Entity(World* owner, Model* model) : WorldObject(owner), model(model) {
    kindFlags = COLLIDES;
    // A missing model leaves a point-sized entity rather than a crash.
    if (model != nullptr) halfExtents = scale(subtract(model->boundsMax, model->boundsMin), 0.5f);
}

Entity::~Entity() {
    delete controller;
}

void Entity::setController(Controller* newController) {
    if (newController == controller) return;
    delete controller;
    controller = newController;
}

bool Entity::onCollision(Entity*) {
    return false;
}

void Entity::update() {
    if (dead != 0) return;
    if (controller != nullptr) controller->control();
    cancelPair(moveUp, moveDown);
    cancelPair(strafeLeft, strafeRight);
    cancelPair(moveForward, moveBackward);

    pitch += pitchRate;
    heading += yawRate;
    roll += rollRate;

    setZero(desiredVelocity);
    previousPosition = position;
    if (alive != 0) {
        const double s = speed;
        if (moveUp != 0) desiredVelocity.y = speed;
        if (moveDown != 0) desiredVelocity.y = -speed;
        const double h = degreesToRadians(heading);
        const double sinH = std::sin(h), cosH = std::cos(h);
        headingSin = static_cast<float>(sinH);
        headingCos = static_cast<float>(cosH);
        const Vec3 forward{float(s * sinH), 0.0f, float(-s * cosH)};
        const Vec3 right{float(s * cosH), 0.0f, float(s * sinH)};
        if (moveForward != 0) desiredVelocity = add(desiredVelocity, forward);
        if (moveBackward != 0) desiredVelocity = subtract(desiredVelocity, forward);
        if (strafeLeft != 0) desiredVelocity = subtract(desiredVelocity, right);
        if (strafeRight != 0) desiredVelocity = add(desiredVelocity, right);
    }

    velocity = {blend(velocity.x, desiredVelocity.x, responsiveness),
                blend(velocity.y, desiredVelocity.y, responsiveness),
                blend(velocity.z, desiredVelocity.z, responsiveness)};
    impulse = scale(impulse, impulseDecay);
    position = add(position, add(velocity, impulse));
    const float centreHeight = model != nullptr ? model->centre.y : 0.0f;
    centre = {position.x, position.y + centreHeight, position.z};
    if (owner != nullptr) owner->objectMoved(this);
}

bool Entity::beginTransform() {
    if (!viewFrustum.pointInFrustum(position.x, position.y, position.z)) return false;
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glRotatef(pitch, -1.0f, 0.0f, 0.0f);
    glRotatef(heading, 0.0f, -1.0f, 0.0f);
    glRotatef(roll, 0.0f, 0.0f, -1.0f);
    return true;
}

void Entity::draw() {
    if (model == nullptr) return;
    if (!beginTransform()) return;
    model->draw(position.x, position.y, position.z);
    glPopMatrix();
}
