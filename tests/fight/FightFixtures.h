// Helpers for the fight tests (each includes this first among its test headers: it brings the test
// framework, the standard headers and console capture they share): models made in memory,
// projectile models, rand() sequences, a small world to fight in.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CaptureOutput.h"
#include "Creature.h"
#include "Model.h"
#include "Projectile.h"
#include "ProjectileType.h"
#include "World.h"

using Ints = std::vector<int>;
using Floats = std::vector<float>;

// A vector as "x y z" with two decimals, never "-0.00": enough to tell formulas apart.
inline std::string str(Vec3 v) {
    char text[100];
    const auto round = [](float f) { return std::round(f * 100) / 100 + 0.0f; };
    std::snprintf(text, sizeof text, "%.2f %.2f %.2f", round(v.x), round(v.y), round(v.z));
    return text;
}

// A loaded model without frames whose bounding box is (min, max); enough for
// an entity's collision size and centre height, and never drawn.
inline std::unique_ptr<Model> makeBoxModel(Vec3 min, Vec3 max) {
    auto model = std::make_unique<Model>();
    model->boundsMin = min;
    model->boundsMax = max;
    model->centre = {(min.x + max.x) / 2, (min.y + max.y) / 2, (min.z + max.z) / 2};
    model->loaded = true;
    return model;
}

// A creature-sized body: half extents (1.5, 3, 1.5), centre 3 above the feet.
inline std::unique_ptr<Model> makeBodyModel() {
    return makeBoxModel({-1.5f, 0, -1.5f}, {1.5f, 6, 1.5f});
}

// Puts one small in-memory model behind every projectile type for the test's life.
struct ProjectileModelsScope {
    std::unique_ptr<Model> model = makeBoxModel({-0.25f, -0.25f, -0.25f}, {0.25f, 0.25f, 0.25f});
    ProjectileModelsScope() {
        for (Model*& each : projectileModels) each = model.get();
    }
    ~ProjectileModelsScope() {
        for (Model*& each : projectileModels) each = nullptr;
    }
};

// The next n values of rand() after srand(seed); reseeds, so the code under
// test then draws exactly these values.
inline std::vector<int> randsAfterSeed(unsigned seed, int n) {
    srand(seed);
    std::vector<int> values;
    for (int i = 0; i < n; ++i) values.push_back(rand());
    srand(seed);
    return values;
}

// A World (no GRun, no collision map unless a test sets one) with creature
// bodies and projectile models; the console lines of making and ending it
// are swallowed.
struct FightWorldTest : ::testing::Test {
    std::unique_ptr<Model> body = makeBodyModel();
    ProjectileModelsScope projectileModels;
    std::unique_ptr<World> world = std::make_unique<World>(nullptr);

    void TearDown() override {
        captureOutput([&] { world.reset(); });
    }
    // A creature placed at `at`, owned by the world.
    Creature* addCreature(Vec3 at = {}) {
        Creature* creature = nullptr;
        captureOutput([&] { creature = new Creature(world.get(), body.get(), creatureTypes[0]); });
        creature->position = at;
        world->addObject(creature);
        return creature;
    }
    Projectile* shoot(int type, Creature* from) {
        auto* shot = new Projectile(world.get(), type, from);
        shot->moveForward = 1;
        world->addObject(shot);
        return shot;
    }
    Projectile* lastShot() {
        return dynamic_cast<Projectile*>(world->objects[world->objectCount - 1]);
    }
    bool inWorld(const WorldObject* object) const {
        return std::count(world->objects, world->objects + world->objectCount, object) > 0;
    }
};
