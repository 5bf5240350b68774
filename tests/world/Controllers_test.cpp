// The player's key and mouse rules and the AI's random decisions.
#include <SDL/SDL_keysym.h>
#include <gtest/gtest.h>

#include <vector>

#include "AIController.h"
#include "Entity.h"
#include "FightFixtures.h"
#include "KeyboardController.h"

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

struct AITest : ::testing::Test {
    std::unique_ptr<Model> body = makeBodyModel();
    Entity entity{nullptr, body.get()};
    AIController ai{nullptr, &entity};
};

TEST_F(AITest, FirstControlDecidesWithDrawsInOrder) {
    const std::vector<int> r = randsAfterSeed(11, 6);
    ai.control();
    EXPECT_FLOAT_EQ(entity.yawRate, float(r[0] % 40 - 20));
    EXPECT_EQ(entity.strafeLeft, r[1] % 3 == 0);
    EXPECT_EQ(entity.strafeRight, r[1] % 3 == 1);
    EXPECT_EQ(entity.moveForward, r[2] % 3 == 0);
    EXPECT_EQ(entity.moveBackward, r[2] % 3 == 1);
    EXPECT_EQ(ai.decisionCountdown, r[3] % 20 + 15);
    EXPECT_EQ(entity.fire, r[4] % 3 == 0);
    EXPECT_EQ(entity.previousWeapon, r[5] % 40 == 0);
    EXPECT_EQ(entity.nextWeapon, 0);
}

TEST_F(AITest, KeepsDecisionWhileMovingAndDecidesAgainWhenStuck) {
    ai.control();
    const int countdown = ai.decisionCountdown;
    entity.position = {1, 0, 0};  // moved in x since the last update
    std::vector<int> r = randsAfterSeed(5, 2);
    ai.control();
    EXPECT_EQ(ai.decisionCountdown, countdown - 1);
    EXPECT_FLOAT_EQ(entity.yawRate, 0.0f);  // turns only when deciding
    EXPECT_EQ(entity.fire, r[0] % 3 == 0);
    EXPECT_EQ(entity.previousWeapon, r[1] % 40 == 0);

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
    for (int i = 0; i < 400; ++i) expected.push_back(rand() % 200 == 0);
    srand(3);
    for (int i = 0; i < 400; ++i) {
        ai.control();
        ASSERT_EQ(entity.respawn, expected[size_t(i)]);
    }
    EXPECT_EQ(entity.fire, 1);
    EXPECT_EQ(ai.decisionCountdown, 0);
}

}  // namespace
