// The player's key and mouse rules and the AI's random decisions.
#include <SDL/SDL_keysym.h>
#include <SDL/SDL_mouse.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "AIController.h"
#include "Entity.h"
#include "FightFixtures.h"
#include "KeyboardController.h"

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

struct PlayerInputTest : ::testing::Test {
    std::unique_ptr<Model> body = makeBodyModel();
    Entity entity{nullptr, body.get()};
    std::vector<uint8_t> keys = std::vector<uint8_t>(SDLK_LAST, 0);
};

TEST_F(PlayerInputTest, KeysAndButtonsMapToCommands) {
    keys[SDLK_w] = keys[SDLK_a] = keys[SDLK_LCTRL] = 1;
    applyPlayerInput(entity, keys.data(), MOUSE_RIGHT, 0);
    EXPECT_TRUE(entity.moveForward && entity.strafeLeft && entity.fire && entity.nextWeapon);
    EXPECT_FALSE(entity.moveBackward || entity.strafeRight || entity.previousWeapon);

    keys.assign(SDLK_LAST, 0);
    keys[SDLK_DOWN] = keys[SDLK_d] = 1;
    applyPlayerInput(entity, keys.data(), MOUSE_LEFT | MOUSE_MIDDLE, 0);
    EXPECT_TRUE(entity.moveBackward && entity.strafeRight && entity.fire && entity.previousWeapon);
    EXPECT_FALSE(entity.moveForward || entity.strafeLeft || entity.nextWeapon);
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
    EXPECT_EQ(entity.moveForward + entity.moveBackward + entity.fire, 1);
    EXPECT_FLOAT_EQ(entity.yawRate, 3.0f);
}

TEST(KeyboardControllerTest, MotionMadeWhileDeadTurnsAtTheFirstUpdateAfterRevival) {
    std::unique_ptr<Model> body = makeBodyModel();
    Entity entity(nullptr, body.get());
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

struct AITest : ::testing::Test {
    std::unique_ptr<Model> body = makeBodyModel();
    Entity entity{nullptr, body.get()};
    AIController ai{nullptr, &entity};
};

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
