// Projectile flight, fragments and hits.
#include "Projectile.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

#include "Creature.h"
#include "World.h"

namespace {
constexpr uint32_t CREATURE_BITS = WorldObject::COLLIDES | WorldObject::CREATURE;

bool isCreature(const WorldObject* object) {
    return (object->kindFlags & CREATURE_BITS) == CREATURE_BITS;
}

int checkedType(int index) {
    return isProjectileType(index) ? index : 0;
}
}  // namespace

Projectile::Projectile(World* world, int index, Creature* shooter)
    : Entity(world, projectileModels[checkedType(index)]),
      typeIndex(checkedType(index)),
      type(projectileTypes[typeIndex]) {
    kindFlags = COLLIDES | PROJECTILE;
    delay = rand() % type.period;
    setUpdatePeriod(static_cast<uint32_t>(type.period));
    responsiveness = type.responsiveness;
    if (shooter != nullptr) shooter_ = shooter->handle();
    speed = type.speed;
    remainingRange = type.range;
    mass = type.mass;
}

Creature* Projectile::shooter() const {
    const std::shared_ptr<Creature*> held = shooter_.lock();
    return held ? *held : nullptr;
}

void Projectile::update() {
    if (dead != 0) return;
    Entity::update();
    remainingRange -= speed;
    if (!(remainingRange > 0.0)) {
        releaseFragments();
        kill();
    }
}

void Projectile::releaseFragments() {
    if (!isProjectileType(type.fragmentType)) return;
    for (int i = 0; i < type.fragmentCount; ++i) {
        auto* fragment = new Projectile(owner, type.fragmentType, shooter());
        fragment->moveForward = 1;
        fragment->position = position;
        fragment->heading = static_cast<float>(rand() % 360);
        if (owner == nullptr || !owner->addObject(fragment)) delete fragment;
    }
}

bool Projectile::onCollision(Entity* other) {
    if (dead != 0) return false;
    if (other == nullptr) {
        kill();
        return false;
    }
    Creature* const from = shooter();
    if (!isCreature(other) || other == from) return false;
    auto* target = static_cast<Creature*>(other);
    if (target->takeDamage(type.damage) && from != nullptr && isCreature(from)) ++from->score;
    const double share = double(mass) / target->mass;
    target->impulse.x = static_cast<float>(target->impulse.x + velocity.x * share);
    target->impulse.y = static_cast<float>(target->impulse.y + velocity.y * share);
    target->impulse.z = static_cast<float>(target->impulse.z + velocity.z * share);
    kill();
    return false;
}

void Projectile::draw() {
    glDisable(GL_LIGHTING);
    Entity::draw();
    glEnable(GL_LIGHTING);
}
