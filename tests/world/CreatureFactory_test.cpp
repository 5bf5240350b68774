// The creation sequences of the fight's creatures and their order of random draws.
#include "CreatureFactory.h"

#include <gtest/gtest.h>

#include "AIController.h"
#include "Creature.h"
#include "FightFixtures.h"
#include "KeyboardController.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

struct CreatureFactoryTest : ::testing::Test {
    std::unique_ptr<Model> body = makeBodyModel();
    CharacterInfo characters[3];
    void SetUp() override {
        for (int i = 0; i < 3; ++i) characters[i].skinCount = i + 2;
    }
    Creature* computer() {
        CaptureStdout();
        Creature* creature = createComputerCreature(nullptr, body.get(), characters, 3);
        GetCapturedStdout();
        return creature;
    }
};

TEST_F(CreatureFactoryTest, ComputerCreatureDrawsCharacterBodySkinThenPlace) {
    const std::vector<int> r = randsAfterSeed(99, 7);
    std::unique_ptr<Creature> creature(computer());
    ASSERT_NE(creature, nullptr);
    const int character = r[0] % 3;
    EXPECT_EQ(creature->characterModels->characterIndex, character);
    EXPECT_EQ(creature->weaponIndex, r[2] % 5);  // r[1] is the start delay
    EXPECT_EQ(rand(), r[6]) << "exactly six draws";
    EXPECT_FLOAT_EQ(creature->position.x, float(10 - r[4] % 20));  // r[3] is the skin
    EXPECT_FLOAT_EQ(creature->position.z, float(-10 - r[5] % 35));
    EXPECT_NE(dynamic_cast<AIController*>(creature->controller), nullptr);
}

TEST_F(CreatureFactoryTest, PlayerStartsAtStartPointWithKeyboard) {
    CaptureStdout();
    std::unique_ptr<Creature> player(
        createPlayerCreature(nullptr, body.get(), characters, 3, 2, 1));
    GetCapturedStdout();
    EXPECT_EQ(player->characterModels->characterIndex, 2);
    EXPECT_FLOAT_EQ(player->position.z, -50.0f);
    EXPECT_NE(dynamic_cast<KeyboardController*>(player->controller), nullptr);
}

TEST_F(CreatureFactoryTest, NoCharactersNoComputerCreatureAndNoSkinsNoDraw) {
    EXPECT_EQ(createComputerCreature(nullptr, body.get(), characters, 0), nullptr);
    for (CharacterInfo& c : characters) c.skinCount = 0;
    const std::vector<int> r = randsAfterSeed(5, 6);
    std::unique_ptr<Creature> creature(computer());
    EXPECT_FLOAT_EQ(creature->position.x, float(10 - r[3] % 20));
}

}  // namespace
