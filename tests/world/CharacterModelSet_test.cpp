// Which body model a creature shows and how its animation clock runs.
#include "CharacterModelSet.h"

#include <gtest/gtest.h>

#include "FightFixtures.h"

namespace {

struct AnimationTest : ::testing::Test {
    Model stand, walk, strafeLeft, strafeRight, diagonalLeft, diagonalRight;
    CharacterModelSet set;

    void SetUp() override {
        set.standModel = &stand;
        set.walkModel = &walk;
        set.strafeLeftModel = &strafeLeft;
        set.strafeRightModel = &strafeRight;
        set.diagonalLeftModel = &diagonalLeft;
        set.diagonalRightModel = &diagonalRight;
    }
    Model* pick(bool forward, bool backward, bool left, bool right) {
        set.selectAnimation(25, forward, backward, left, right, 100);
        return set.currentModel;
    }
};

TEST_F(AnimationTest, MovementChoosesBodyModel) {
    EXPECT_EQ(pick(false, false, false, false), &stand);
    EXPECT_EQ(pick(false, false, true, false), &strafeLeft);
    EXPECT_EQ(pick(false, false, false, true), &strafeRight);
    EXPECT_EQ(pick(true, false, false, false), &walk);
    EXPECT_EQ(pick(true, false, true, false), &diagonalLeft);
    EXPECT_EQ(pick(true, false, false, true), &diagonalRight);
    // Walking backward swaps the strafe sides.
    EXPECT_EQ(pick(false, true, false, false), &walk);
    EXPECT_EQ(pick(false, true, true, false), &diagonalRight);
    EXPECT_EQ(pick(false, true, false, true), &diagonalLeft);
}

TEST_F(AnimationTest, ClockRunsBackwardWalkingBackAndDeathStartsFromZeroOnce) {
    set.selectAnimation(25, false, true, false, false, 100);
    EXPECT_EQ(set.animationTime, -25);
    set.selectAnimation(50, false, false, false, false, 100);  // standing still advances too
    set.selectAnimation(25, true, false, false, false, 0);
    EXPECT_FALSE(set.dying);
    EXPECT_EQ(set.animationTime, 50);
    set.selectAnimation(25, false, false, false, false, -10);
    EXPECT_TRUE(set.dying);
    EXPECT_EQ(set.animationTime, 25);
    set.selectAnimation(25, false, false, false, false, -10);
    EXPECT_EQ(set.animationTime, 50);
    set.selectAnimation(25, false, false, false, false, 100);
    EXPECT_FALSE(set.dying);
    EXPECT_EQ(set.animationTime, 75);
}

TEST(CharacterModelSetLoad, UnknownCharacterFallsBackToFirstAndEmptyTableLoadsNothing) {
    CharacterInfo characters[2];
    characters[0].skinCount = 2;
    characters[1].skinCount = 3;
    CharacterModelSet set;
    EXPECT_TRUE(set.load(characters, 2, 1, 0));
    EXPECT_EQ(set.characterIndex, 1);
    for (int bad : {2, -1}) {
        CharacterModelSet other;
        EXPECT_TRUE(other.load(characters, 2, bad, 0));
        EXPECT_EQ(other.characterIndex, 0);
        EXPECT_EQ(other.character.skinCount, 2);
    }
    CharacterModelSet none;
    EXPECT_FALSE(none.load(characters, 0, 0, 0));
    EXPECT_FALSE(none.load(nullptr, 2, 0, 0));
}

}  // namespace
