// Entity movement: cancelling pairs, heading, velocity blending, drifting when not alive,
// controller.
#include "Entity.h"

#include <gtest/gtest.h>

#include <vector>

#include "Controller.h"
#include "Model.h"
#include "Vec3Checks.h"

namespace {
struct ForwardController : Controller {
    ForwardController(Entity* entity, int* deletions)
        : Controller(nullptr, entity), deletions(deletions) {}
    ~ForwardController() override { ++*deletions; }
    void control() override { entity->moveForward = 1; }
    int* deletions;
};

struct EntityTest : ::testing::Test {
    EntityTest() {
        body.boundsMin = {-2, 0, -1};
        body.boundsMax = {2, 8, 1};
        body.centre = {0, 4, 0};
    }
    Model body;
    Entity entity{nullptr, &body};  // built before the bounds are set: sizes are not used here
};
}  // namespace

TEST_F(EntityTest, VelocityApproachesSpeedByResponsivenessShare) {
    entity.speed = 1.1f;
    entity.responsiveness = 0.6f;
    entity.moveForward = 1;
    float z = 0;
    for (float v : {0.66f, 0.924f, 1.0296f}) {
        entity.update();
        z -= v;
        EXPECT_NEAR(entity.velocity.z, -v, 1e-5) << "heading 0 faces -z";
        EXPECT_NEAR(entity.position.z, z, 1e-4);
    }
    EXPECT_NEAR(entity.previousPosition.z, z + 1.0296f, 1e-4);
    EXPECT_NEAR(entity.centre.y, 4, 1e-6) << "raised by the model's centre height";
}

TEST_F(EntityTest, OppositeCommandsCancelAndAreCleared) {
    entity.speed = 1;
    entity.moveForward = entity.moveBackward = entity.strafeLeft = entity.strafeRight = 1;
    entity.moveUp = entity.moveDown = 1;
    entity.impulse = {0, 3, 0};  // gone at once: impulses do not last by default
    entity.update();
    EXPECT_EQ(length(entity.position), 0.0f);
    EXPECT_EQ(entity.moveForward + entity.moveBackward + entity.strafeLeft + entity.strafeRight +
                  entity.moveUp + entity.moveDown,
              0);
}

// Heading 30 at speed 2: forward is (1, 0, -1.732); a growing heading turns
// toward +x, and right is forward turned by another 90 degrees.
TEST_F(EntityTest, EachCommandMovesAlongTheHeading) {
    entity.speed = 2;
    entity.yawRate = 30;
    entity.update();
    entity.yawRate = 0;
    EXPECT_NEAR(entity.headingSin, 0.5f, 1e-6);
    const float c = 1.7320508f;
    const std::pair<uint8_t Entity::*, Vec3> cases[] = {
        {&Entity::moveForward, {1, 0, -c}}, {&Entity::moveBackward, {-1, 0, c}},
        {&Entity::strafeLeft, {-c, 0, -1}}, {&Entity::strafeRight, {c, 0, 1}},
        {&Entity::moveUp, {0, 2, 0}},       {&Entity::moveDown, {0, -2, 0}}};
    for (const auto& [command, velocity] : cases) {
        entity.*command = 1;
        entity.update();
        entity.*command = 0;
        expectVec(entity.velocity, velocity.x, velocity.y, velocity.z, 1e-5f);
    }
}

TEST_F(EntityTest, TurnRatesAddUpAtEveryUpdateWithoutWrapping) {
    entity.pitchRate = 100;
    entity.yawRate = 200;
    entity.rollRate = -300;
    entity.moveForward = 1;  // a new entity has no speed
    entity.update();
    entity.update();
    EXPECT_EQ(
        (std::vector<float>{entity.pitch, entity.heading, entity.roll, length(entity.position)}),
        (std::vector<float>{200, 400, -600, 0}));
}

TEST_F(EntityTest, NotAliveDriftsAndSlowsGeometrically) {
    entity.responsiveness = 0.25f;
    entity.velocity = {4, 0, 0};
    entity.impulse = {0, 0, 8};
    entity.impulseDecay = 0.5f;
    entity.alive = 0;
    entity.moveForward = 1;
    entity.update();
    EXPECT_EQ(entity.velocity.x, 3.0f);
    EXPECT_EQ(entity.position.x, 3.0f);
    EXPECT_EQ(entity.position.z, 4.0f) << "the impulse decays before the move";
    entity.update();
    EXPECT_EQ(entity.velocity.x, 2.25f);
    entity.dead = 1;
    entity.update();
    EXPECT_EQ(entity.velocity.x, 2.25f) << "a dead object's update does nothing";
}

TEST_F(EntityTest, OwnsItsControllerWhichRunsFirst) {
    int deletions = 0;
    {
        Entity owned(nullptr, &body);
        EXPECT_EQ(owned.halfExtents.y, 4.0f);
        owned.speed = 1;
        owned.setController(new ForwardController(&owned, &deletions));
        owned.update();
        EXPECT_EQ(owned.position.z, -1.0f);
        owned.setController(new ForwardController(&owned, &deletions));
        EXPECT_EQ(deletions, 1);
        EXPECT_FALSE(owned.onCollision(nullptr));  // a plain entity blocks nothing
    }
    EXPECT_EQ(deletions, 2);
}
