// Entity movement: cancelling pairs, heading, velocity blending, drifting when not alive, its
// controller; the player's key and mouse rules and the AI's random decisions.
#include "Entity.h"

#include <SDL/SDL_keysym.h>
#include <SDL/SDL_mouse.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "AIController.h"
#include "Controller.h"
#include "FightFixtures.h"
#include "KeyboardController.h"
#include "Vec3Checks.h"

// Mouse motion for KeyboardController::control. This definition takes the
// place of SDL's in this test program (no other code here reads the mouse), so
// a test can move the mouse between updates; like SDL's, a read takes the
// motion made since the previous one.
int pendingMouseDx = 0;
extern "C" Uint8 SDL_GetRelativeMouseState(int* x, int* y) {
    *x = pendingMouseDx;
    *y = 0;
    pendingMouseDx = 0;
    return 0;
}

namespace {

struct ForwardController : Controller {
    ForwardController(Entity* entity, int* deletions)
        : Controller(nullptr, entity), deletions(deletions) {}
    ~ForwardController() override { ++*deletions; }
    void control() override { entity->moveForward = 1; }
    int* deletions;
};

struct ControlTest : ::testing::Test {
    std::unique_ptr<Model> body = makeBodyModel();
    Entity entity{nullptr, body.get()};
    std::vector<uint8_t> keys = std::vector<uint8_t>(SDLK_LAST, 0);
    AIController ai{nullptr, &entity};

    // Forward, backward, left, right, fire, previous and next weapon.
    std::vector<int> commands() const {
        return {entity.moveForward, entity.moveBackward,   entity.strafeLeft, entity.strafeRight,
                entity.fire,        entity.previousWeapon, entity.nextWeapon};
    }
};
using EntityTest = ControlTest;
using PlayerInputTest = ControlTest;
using AITest = ControlTest;

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
    EXPECT_NEAR(entity.centre.y, 3, 1e-6) << "raised by the model's centre height";
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
        Entity owned(nullptr, body.get());
        EXPECT_EQ(owned.halfExtents.y, 3.0f);
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

TEST_F(PlayerInputTest, KeysAndButtonsMapToCommands) {
    keys[SDLK_w] = keys[SDLK_a] = keys[SDLK_LCTRL] = 1;
    applyPlayerInput(entity, keys.data(), MOUSE_RIGHT, 0);
    EXPECT_EQ(commands(), (std::vector<int>{1, 0, 1, 0, 1, 0, 1}));

    keys.assign(SDLK_LAST, 0);
    keys[SDLK_DOWN] = keys[SDLK_d] = 1;
    applyPlayerInput(entity, keys.data(), MOUSE_LEFT | MOUSE_MIDDLE, 0);
    EXPECT_EQ(commands(), (std::vector<int>{0, 1, 0, 1, 1, 1, 0}));
}

TEST_F(PlayerInputTest, RightArrowWinsAndMouseAddsSignedSquare) {
    keys[SDLK_LEFT] = keys[SDLK_RIGHT] = 1;
    applyPlayerInput(entity, keys.data(), 0, -5);
    EXPECT_FLOAT_EQ(entity.yawRate, 9.5f);
    keys.assign(SDLK_LAST, 0);
    for (auto [dx, yaw] : {std::pair{5, 0.5f}, {-5, -0.5f}, {10, 2.0f}, {-50000, -5.0e7f}}) {
        applyPlayerInput(entity, keys.data(), 0, dx);
        EXPECT_FLOAT_EQ(entity.yawRate, yaw) << dx;
    }
}

TEST_F(PlayerInputTest, DeadPlayerOnlyAnswersReturn) {
    entity.alive = 0;
    entity.moveForward = 1;
    entity.yawRate = 3.0f;
    keys[SDLK_RETURN] = keys[SDLK_s] = keys[SDLK_RIGHT] = 1;
    applyPlayerInput(entity, keys.data(), MOUSE_LEFT, 7);
    EXPECT_EQ(entity.respawn, 1);
    EXPECT_EQ(commands(), (std::vector<int>{1, 0, 0, 0, 0, 0, 0}));
    EXPECT_FLOAT_EQ(entity.yawRate, 3.0f);
}

TEST_F(PlayerInputTest, MotionMadeWhileDeadTurnsAtTheFirstUpdateAfterRevival) {
    KeyboardController player(nullptr, &entity);
    entity.alive = 0;
    entity.yawRate = 3.0f;
    pendingMouseDx = 10;
    player.control();
    EXPECT_FLOAT_EQ(entity.yawRate, 3.0f);
    entity.alive = 1;
    player.control();
    EXPECT_FLOAT_EQ(entity.yawRate, 2.0f);  // 10 counts, read once
    player.control();
    EXPECT_FLOAT_EQ(entity.yawRate, 0.0f);
}

// Standing still counts as stuck, so every control decides anew: six draws each.
TEST_F(AITest, EveryDecisionDrawsTurnStrafeWalkCountdownFireAndSwitchInOrder) {
    const std::vector<int> r = randsAfterSeed(11, 600);
    std::vector<int> seen, expected;
    for (size_t i = 0; i < r.size(); i += 6) {
        ai.control();
        seen.insert(seen.end(), {int(entity.yawRate), entity.strafeLeft, entity.strafeRight,
                                 entity.moveForward, entity.moveBackward, ai.decisionCountdown,
                                 entity.fire, entity.previousWeapon, entity.nextWeapon});
        expected.insert(expected.end(), {r[i] % 40 - 20, r[i + 1] % 3 == 0, r[i + 1] % 3 == 1,
                                         r[i + 2] % 3 == 0, r[i + 2] % 3 == 1, r[i + 3] % 20 + 15,
                                         r[i + 4] % 3 == 0, r[i + 5] % 40 == 0, 0});
    }
    EXPECT_EQ(seen, expected);
}

TEST_F(AITest, DecidesAgainBelowZeroOrWhenStuck) {
    ai.control();
    ai.decisionCountdown = 1;
    entity.position = {1, 0, 0};  // moved in x since the last update
    std::vector<int> r = randsAfterSeed(5, 2);
    ai.control();
    EXPECT_EQ(ai.decisionCountdown, 0) << "0 still keeps the decision";
    EXPECT_FLOAT_EQ(entity.yawRate, 0.0f);  // turns only when deciding
    EXPECT_EQ(entity.fire, r[0] % 3 == 0);
    EXPECT_EQ(entity.previousWeapon, r[1] % 40 == 0);
    r = randsAfterSeed(6, 4);
    ai.control();
    EXPECT_FLOAT_EQ(entity.yawRate, float(r[0] % 40 - 20));
    EXPECT_EQ(ai.decisionCountdown, r[3] % 20 + 15);

    entity.moveUp = 1;
    entity.previousPosition = {1, 0, -4};  // moved along z only: counts as stuck
    r = randsAfterSeed(9, 4);
    ai.control();
    EXPECT_EQ(entity.moveUp, 0);
    EXPECT_EQ(ai.decisionCountdown, r[3] % 20 + 15);
}

TEST_F(AITest, DeadCreatureOnlyDrawsForRevival) {
    entity.alive = 0;
    entity.fire = 1;
    srand(3);
    std::vector<int> expected;
    for (int i = 0; i < 1000; ++i) expected.push_back(rand() % 200 == 0);
    ASSERT_GT(std::count(expected.begin(), expected.end(), 1), 1);
    srand(3);
    for (int i = 0; i < 1000; ++i) {
        ai.control();
        ASSERT_EQ(entity.respawn, expected[size_t(i)]);
    }
    EXPECT_EQ(entity.fire, 1);
    EXPECT_EQ(ai.decisionCountdown, 0);
}

}  // namespace
