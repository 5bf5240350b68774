// What a shot is: a built-in table of projectile kinds, plus their shared models.
#pragma once

#include "ModelKey.h"

class Model;

constexpr int PROJECTILE_TYPE_COUNT = 5;

struct ProjectileType {
    char modelFile[64];    // 3DS model of the projectile
    int period;            // milliseconds between two updates
    float speed;           // world units per update; also what each update takes from range
    float range;           // world units of distance budget
    float responsiveness;  // share of the desired velocity taken per update
    int damage;            // health taken from a creature that is hit
    int fragmentCount;     // projectiles released when the range is used up
    int fragmentType;      // index into projectileTypes of the fragments; -1 when none
    float mass;            // pushes the creature hit by velocity * mass / its mass
};

// Columns: modelFile, period (ms), speed, range, responsiveness, damage,
// fragmentCount, fragmentType, mass.
constexpr ProjectileType projectileTypes[PROJECTILE_TYPE_COUNT] = {
    {"zat.3ds", 5, 2.0f, 200.0f, 0.1f, 20, 0, -1, 0.1f},
    {"zat.3ds", 10, 1.0f, 100.0f, 0.1f, 20, 10, 2, 0.5f},
    {"zat.3ds", 10, 1.0f, 30.0f, 0.1f, 20, 0, -1, 0.1f},
    {"zat.3ds", 10, 2.0f, 100.0f, 0.1f, 20, 1, 0, 0.2f},
    {"zat.3ds", 7, 3.0f, 200.0f, 0.1f, 10, 0, 0, 0.2f},
};

// The model of each row, parallel to projectileTypes: filled by
// loadProjectileModels from the global model store, emptied by
// releaseProjectileModels. All rows name the same file and share one model.
extern Model* projectileModels[PROJECTILE_TYPE_COUNT];

void loadProjectileModels();
void releaseProjectileModels();
// True for an index that names a row of projectileTypes.
constexpr bool isProjectileType(int index) {
    return index >= 0 && index < PROJECTILE_TYPE_COUNT;
}
