// Entity movement: commands, cancelling pairs, heading, velocity blending, impulse, centre,
// controller.
#include "Entity.h"

#include <gtest/gtest.h>

#include "Controller.h"
#include "Model.h"
#include "World.h"

namespace {
Model* makeBody() {
    auto* model = new Model;
    model->boundsMin = {-2, 0, -1};
    model->boundsMax = {2, 8, 1};
    model->centre = {0, 4, 0};
    return model;
}

struct CountingController : Controller {
    CountingController(Entity* entity, int* calls, int* deletions)
        : Controller(nullptr, entity), calls(calls), deletions(deletions) {}
    ~CountingController() override { ++*deletions; }
    void control() override {
        ++*calls;
        entity->moveForward = 1;
    }
    int* calls;
    int* deletions;
};

struct EntityTest : ::testing::Test {
    std::unique_ptr<Model> body{makeBody()};
    Entity entity{nullptr, body.get()};
};
}  // namespace

TEST_F(EntityTest, ConstructionTakesHalfExtentsFromTheModel) {
    EXPECT_EQ(entity.kindFlags, 1u);
    EXPECT_FLOAT_EQ(entity.halfExtents.x, 2);
    EXPECT_FLOAT_EQ(entity.halfExtents.y, 4);
    EXPECT_FLOAT_EQ(entity.halfExtents.z, 1);
    EXPECT_EQ(entity.alive, 1);
    EXPECT_FLOAT_EQ(entity.headingCos, 1);
    Entity shapeless(nullptr, nullptr);
    shapeless.moveForward = 1;
    shapeless.speed = 1;
    shapeless.update();  // no model: a point-sized entity, no crash
    EXPECT_FLOAT_EQ(shapeless.centre.z, -1);
}

TEST_F(EntityTest, VelocityApproachesSpeedByResponsivenessShare) {
    entity.speed = 1.1f;
    entity.responsiveness = 0.6f;
    entity.moveForward = 1;
    const float expected[] = {0.66f, 0.924f, 1.0296f};
    float z = 0;
    for (float v : expected) {
        entity.update();
        z -= v;
        EXPECT_NEAR(entity.velocity.z, -v, 1e-5) << "heading 0 faces -z";
        EXPECT_NEAR(entity.position.z, z, 1e-4);
    }
    EXPECT_FLOAT_EQ(entity.velocity.x, 0);
    EXPECT_NEAR(entity.previousPosition.z, z + 1.0296f, 1e-4);
    EXPECT_NEAR(entity.centre.y, 4, 1e-6) << "centre is raised by the model's centre height";
}

TEST_F(EntityTest, OppositeCommandsCancelAndAreCleared) {
    entity.speed = 1;
    entity.moveForward = entity.moveBackward = 1;
    entity.strafeLeft = entity.strafeRight = 1;
    entity.moveUp = entity.moveDown = 1;
    entity.update();
    EXPECT_FLOAT_EQ(length(entity.position), 0);
    EXPECT_EQ(entity.moveForward + entity.moveBackward + entity.strafeLeft + entity.strafeRight +
                  entity.moveUp + entity.moveDown,
              0);
}

TEST_F(EntityTest, HeadingTurnsTowardPlusXAndStrafesSideways) {
    entity.speed = 2;
    entity.yawRate = 90;
    entity.moveForward = 1;
    entity.update();
    EXPECT_NEAR(entity.position.x, 2, 1e-5);
    EXPECT_NEAR(entity.position.z, 0, 1e-5);
    EXPECT_NEAR(entity.headingSin, 1, 1e-6);
    entity.yawRate = 0;
    entity.moveForward = 0;
    entity.strafeLeft = 1;  // heading 90: left is -z
    entity.update();
    EXPECT_NEAR(entity.velocity.z, -2, 1e-5);
    entity.strafeLeft = 0;
    entity.moveUp = 1;
    entity.update();
    EXPECT_FLOAT_EQ(entity.velocity.y, 2);
    EXPECT_FLOAT_EQ(entity.heading, 90) << "turning adds the rates, no wrapping";
}

TEST_F(EntityTest, NotAliveDriftsAndSlowsGeometrically) {
    entity.responsiveness = 0.25f;
    entity.velocity = {4, 0, 0};
    entity.impulse = {0, 0, 8};
    entity.impulseDecay = 0.5f;
    entity.alive = 0;
    entity.moveForward = 1;
    entity.headingSin = 0.3f;
    entity.update();
    EXPECT_FLOAT_EQ(entity.velocity.x, 3);
    EXPECT_FLOAT_EQ(entity.impulse.z, 4);
    EXPECT_FLOAT_EQ(entity.position.x, 3);
    EXPECT_FLOAT_EQ(entity.position.z, 4);
    EXPECT_FLOAT_EQ(entity.headingSin, 0.3f) << "only a living update refreshes the heading";
    entity.update();
    EXPECT_FLOAT_EQ(entity.velocity.x, 2.25f);
}

TEST_F(EntityTest, DeadEntityIgnoresItsUpdate) {
    int calls = 0, deletions = 0;
    entity.setController(new CountingController(&entity, &calls, &deletions));
    entity.dead = 1;
    entity.velocity = {1, 0, 0};
    entity.update();
    EXPECT_EQ(calls, 0);
    EXPECT_FLOAT_EQ(entity.position.x, 0);
}

TEST_F(EntityTest, ControllerRunsFirstAndIsOwned) {
    int calls = 0, deletions = 0;
    {
        Entity owned(nullptr, body.get());
        owned.speed = 1;
        owned.setController(new CountingController(&owned, &calls, &deletions));
        owned.update();
        EXPECT_EQ(calls, 1);
        EXPECT_FLOAT_EQ(owned.position.z, -1) << "commands written by control move this update";
        owned.setController(new CountingController(&owned, &calls, &deletions));
        EXPECT_EQ(deletions, 1);
        owned.setController(owned.controller);  // the same one again is kept, not deleted
        EXPECT_EQ(deletions, 1);
    }
    EXPECT_EQ(deletions, 2);
}

TEST_F(EntityTest, ReportsEachMoveToItsWorld) {
    struct RecordingWorld : World {
        RecordingWorld() : World(nullptr) {}
        void objectMoved(Entity* moved) override { last = moved; }
        Entity* last = nullptr;
    };
    auto* world = new RecordingWorld;
    Entity* member = new Entity(world, body.get());
    ASSERT_TRUE(world->addObject(member));
    member->update();
    EXPECT_EQ(world->last, member);
    testing::internal::CaptureStdout();
    delete world;  // prints its average line
    testing::internal::GetCapturedStdout();
}
