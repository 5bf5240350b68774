// Entity movement: cancelling pairs, heading, velocity blending, drifting when not alive, its
// controller; the player's key and mouse rules and the AI's random decisions; creature
// construction, damage and death, revival, weapon switching; which body model a creature shows
// and how its animation clock runs; the creation sequences of the fight's creatures and their
// order of random draws.
#include "Creature.h"

#include <SDL/SDL_keysym.h>
#include <SDL/SDL_mouse.h>

#include "AIController.h"
#include "CharacterModelSet.h"
#include "Controller.h"
#include "CreatureFactory.h"
#include "Entity.h"
#include "FightFixtures.h"
#include "FightModels.h"
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

struct CreatureTest : ::testing::Test {
    std::unique_ptr<Model> body = makeBodyModel();
    ProjectileModelsScope projectileModels;
    Entity entity{nullptr, body.get()};
    std::vector<uint8_t> keys = std::vector<uint8_t>(SDLK_LAST, 0);
    AIController ai{nullptr, &entity};
    std::unique_ptr<Creature> creature;
    CharacterInfo characters[3];  // with 2, 3 and 4 skins
    // Stand, walk, strafe left and right, diagonal left and right.
    Model shapes[6];

    void SetUp() override {
        captureOutput(
            [&] { creature = std::make_unique<Creature>(nullptr, body.get(), creatureTypes[0]); });
        for (int i = 0; i < 3; ++i) characters[i].skinCount = i + 2;
    }
    // The entity's forward, backward, left, right, fire, previous and next weapon commands.
    Ints commands() const {
        return {entity.moveForward, entity.moveBackward,   entity.strafeLeft, entity.strafeRight,
                entity.fire,        entity.previousWeapon, entity.nextWeapon};
    }
    Creature* computer() {
        Creature* made = nullptr;
        captureOutput([&] { made = createComputerCreature(nullptr, body.get(), characters, 3); });
        return made;
    }
    // Runs n creature updates with the command fields as set (no controller).
    void updates(int n) {
        for (int i = 0; i < n; ++i) creature->update();
    }
};

// A creature's row: speed 1.1 taken at a share of 0.6, an impulse keeping 0.9 of itself; a
// creature is stopped by whatever it touches.
TEST_F(CreatureTest, VelocityApproachesSpeedTurnRatesAddUpAndCommandsMoveAlongTheHeading) {
    creature->moveForward = 1;
    creature->impulse = {1, 0, 0};
    updates(3);
    // Velocity 0.66, 0.924, then 1.0296 along -z (heading 0); the impulse decays before each move.
    EXPECT_EQ(str(creature->position) + ", " + str(creature->velocity) + ", " +
                  str(creature->previousPosition) + ", " + str(creature->centre),
              "2.44 0.00 -2.61, 0.00 0.00 -1.03, 1.71 0.00 -1.58, 2.44 3.00 -2.61")
        << "after three updates: place, velocity, where the last update started, centre (raised "
           "by the model's centre height)";
    EXPECT_TRUE(creature->onCollision(nullptr));

    // Turn rates add up at every update without wrapping. Then heading 30 at speed 2: forward is
    // (1, 0, -1.732); a growing heading turns toward +x, and right is forward turned by another 90
    // degrees. Opposite commands cancel each other and are cleared.
    entity.pitchRate = 100;
    entity.yawRate = 200;
    entity.rollRate = -300;
    entity.moveForward = 1;  // a new entity has no speed
    entity.update();
    entity.update();
    EXPECT_EQ((Floats{entity.pitch, entity.heading, entity.roll, length(entity.position)}),
              (Floats{200, 400, -600, 0}));
    entity.speed = 2;
    entity.pitchRate = entity.rollRate = entity.moveForward = 0;
    entity.yawRate = -370;
    entity.update();
    entity.yawRate = 0;
    uint8_t Entity::*const fields[] = {&Entity::moveForward, &Entity::moveBackward,
                                       &Entity::strafeLeft,  &Entity::strafeRight,
                                       &Entity::moveUp,      &Entity::moveDown};
    std::string seen;
    for (auto command : fields) {
        entity.*command = 1;
        entity.update();
        entity.*command = 0;
        seen += str(entity.velocity) + ", ";
    }
    for (auto command : fields) entity.*command = 1;
    entity.update();
    EXPECT_EQ(seen + str(entity.velocity),
              "1.00 0.00 -1.73, -1.00 0.00 1.73, -1.73 0.00 -1.00, 1.73 0.00 1.00, 0.00 2.00 0.00, "
              "0.00 -2.00 0.00, 0.00 0.00 0.00")
        << "velocity moving forward, backward, left, right, up, down, then all at once";
}

TEST_F(CreatureTest, NotAliveDriftsAndAControllerIsOwnedAndRunsFirst) {
    entity.responsiveness = 0.25f;
    entity.velocity = {4, 0, 0};
    entity.impulse = {0, 0, 8};
    entity.impulseDecay = 0.5f;
    entity.alive = 0;
    entity.moveForward = 1;
    entity.update();
    std::vector<float> seen = {entity.velocity.x, entity.position.x, entity.position.z};
    entity.update();
    seen.push_back(entity.velocity.x);
    entity.dead = 1;
    entity.update();
    seen.push_back(entity.velocity.x);
    // The impulse decays before the move; a dead object's update does nothing.
    EXPECT_EQ(seen, (Floats{3, 3, 4, 2.25f, 2.25f}))
        << "velocity and place after one update, velocity after two and after a dead one";
    int deletions = 0;
    {
        Entity owned(nullptr, body.get());
        owned.speed = 1;
        owned.setController(new ForwardController(&owned, &deletions));
        owned.update();
        EXPECT_EQ(owned.position.z, -1.0f);
        owned.setController(owned.controller);  // the same one: kept
        owned.setController(new ForwardController(&owned, &deletions));
        EXPECT_EQ(deletions, 1);
        EXPECT_FALSE(owned.onCollision(nullptr));  // a plain entity blocks nothing
    }
    EXPECT_EQ(deletions, 2);
}

TEST_F(CreatureTest, KeysAndButtonsSetCommandsArrowsAndMouseTurnADeadPlayerOnlyAnswersReturn) {
    // Columns: key (0: none), mouse buttons, the one command set (see commands()).
    const int rows[][3] = {{SDLK_UP, 0, 0},      {SDLK_w, 0, 0},     {SDLK_DOWN, 0, 1},
                           {SDLK_s, 0, 1},       {SDLK_a, 0, 2},     {SDLK_d, 0, 3},
                           {SDLK_LCTRL, 0, 4},   {SDLK_RCTRL, 0, 4}, {0, MOUSE_LEFT, 4},
                           {0, MOUSE_MIDDLE, 5}, {0, MOUSE_RIGHT, 6}};
    for (auto [key, buttons, command] : rows) {
        keys.assign(SDLK_LAST, 0);
        keys[key] = 1;
        applyPlayerInput(entity, keys.data(), uint8_t(buttons), 0);
        Ints expected(7, 0);
        expected[command] = 1;
        EXPECT_EQ(commands(), expected) << "key " << key << ", buttons " << buttons;
    }
    keys[SDLK_LEFT] = keys[SDLK_RIGHT] = 1;
    applyPlayerInput(entity, keys.data(), 0, -5);
    EXPECT_FLOAT_EQ(entity.yawRate, 9.5f);
    keys.assign(SDLK_LAST, 0);
    for (auto [dx, yaw] : {std::pair{5, 0.5f}, {-5, -0.5f}, {10, 2.0f}, {-50000, -5.0e7f}}) {
        applyPlayerInput(entity, keys.data(), 0, dx);
        EXPECT_FLOAT_EQ(entity.yawRate, yaw) << dx;
    }

    // Mouse motion made while dead turns at the first update after revival.
    entity.alive = 0;
    entity.moveForward = 1;
    entity.yawRate = 3.0f;
    keys[SDLK_RETURN] = keys[SDLK_s] = keys[SDLK_RIGHT] = 1;
    applyPlayerInput(entity, keys.data(), MOUSE_LEFT, 7);
    EXPECT_EQ(entity.respawn, 1);
    EXPECT_EQ(commands(), (Ints{1, 0, 0, 0, 0, 0, 0})) << "as they were";
    KeyboardController player(nullptr, &entity);
    pendingMouseDx = 10;
    Floats turns;
    for (uint8_t alive : {0, 1, 1}) {
        entity.alive = alive;
        player.control();
        turns.push_back(entity.yawRate);
    }
    EXPECT_EQ(turns, (Floats{3, 2, 0})) << "dead, then alive: 10 counts, read once";
    KeyboardController(nullptr, nullptr).control();  // steering nothing, reads nothing
}

// Standing still counts as stuck, so every control decides anew: six draws each.
TEST_F(CreatureTest, EveryDecisionDrawsInOrderAndComesWhenDueOrStuck) {
    Ints r = randsAfterSeed(11, 600);
    Ints seen, expected;
    for (size_t i = 0; i < r.size(); i += 6) {
        ai.control();
        seen.insert(seen.end(), {int(entity.yawRate), entity.strafeLeft, entity.strafeRight,
                                 entity.moveForward, entity.moveBackward, ai.decisionCountdown,
                                 entity.fire, entity.previousWeapon, entity.nextWeapon});
        expected.insert(expected.end(), {r[i] % 40 - 20, r[i + 1] % 3 == 0, r[i + 1] % 3 == 1,
                                         r[i + 2] % 3 == 0, r[i + 2] % 3 == 1, r[i + 3] % 20 + 15,
                                         r[i + 4] % 3 == 0, r[i + 5] % 40 == 0, 0});
    }
    EXPECT_EQ(seen, expected) << "turn, strafes, walks, countdown, fire, weapon switches";

    // Then a decision holds while its countdown is not below zero and the creature moves.
    ai.decisionCountdown = 1;
    entity.position = {1, 0, 0};  // moved in x since the last update
    r = randsAfterSeed(5, 2);
    ai.control();
    // 0 still keeps the decision, and only a decision turns; fire and switch are drawn anew.
    EXPECT_EQ((Floats{float(ai.decisionCountdown), entity.yawRate, float(entity.fire),
                      float(entity.previousWeapon)}),
              (Floats{0, 0, float(r[0] % 3 == 0), float(r[1] % 40 == 0)}));
    r = randsAfterSeed(6, 4);
    ai.control();
    EXPECT_EQ(ai.decisionCountdown, r[3] % 20 + 15) << "below zero: a decision";

    entity.moveUp = 1;
    entity.previousPosition = {1, 0, -4};  // moved along z only: counts as stuck
    r = randsAfterSeed(9, 4);
    ai.control();
    EXPECT_EQ((Ints{entity.moveUp, ai.decisionCountdown}), (Ints{0, r[3] % 20 + 15}))
        << "stuck: a decision, climbing stopped";
}

TEST_F(CreatureTest, DeadCreatureOnlyDrawsForRevival) {
    entity.alive = 0;
    entity.fire = 1;
    const Ints r = randsAfterSeed(3, 1000);
    Ints expected, seen;
    for (int draw : r) {
        expected.push_back(draw % 200 == 0);
        ai.control();
        seen.push_back(entity.respawn);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ((Ints{entity.fire, ai.decisionCountdown}), (Ints{1, 0})) << "fire, countdown kept";
    const Ints next = randsAfterSeed(12, 1);
    AIController(nullptr, nullptr).control();
    EXPECT_EQ(rand(), next[0]) << "steering nothing, it draws nothing";
}

// The start delay is drawn below the update period (none without a period,
// which then stays 1 ms), then the start weapon unless the row names one of the five.
TEST_F(CreatureTest, ConstructionDrawsDelayThenStartWeapon) {
    const Ints r = randsAfterSeed(77, 3);
    captureStdout();
    Creature fresh(nullptr, body.get(), creatureTypes[0]);
    const std::string out = capturedStdout();  // after the weapons' model lines
    EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1), "New pelmo in game\n");
    EXPECT_EQ(fresh.currentWeapon, fresh.weapons[r[1] % 5].get());
    // Columns: update period, start weapon; delay, period, weapon (-1: the second draw % 5),
    // draws made.
    const int rows[][6] = {
        {25, 0, r[0] % 25, 25, 0, 1}, {25, 4, r[0] % 25, 25, 4, 1}, {25, 5, r[0] % 25, 25, -1, 2},
        {1, 0, 0, 1, 0, 1},           {0, 0, 0, 1, 0, 0},           {0, -1, 0, 1, r[0] % 5, 1}};
    for (auto [updatePeriod, startWeapon, delay, period, weapon, draws] : rows) {
        CreatureType row = creatureTypes[0];
        row.updatePeriod = updatePeriod;
        row.startWeapon = startWeapon;
        randsAfterSeed(77, 0);
        std::unique_ptr<Creature> made;
        captureOutput([&] { made = std::make_unique<Creature>(nullptr, body.get(), row); });
        EXPECT_EQ((Ints{made->delay, int(made->period), made->weaponIndex, rand()}),
                  (Ints{delay, period, weapon < 0 ? r[1] % 5 : weapon, r[draws]}))
            << "delay, period, weapon, next draw for period " << updatePeriod << " and weapon "
            << startWeapon;
    }
}

// A creature asked to respawn while alive stays where it is; dying, it revives at the start
// with full health and ammunition, its heading kept. Killed for good (dead, waiting to be
// disposed of), it neither moves nor fires.
TEST_F(CreatureTest, RespawnRevivesAtTheStartAndACreatureDiesOnlyBelowZeroAndOnce) {
    creature->setCharacterModels(new CharacterModelSet);
    creature->heading = 33.0f;
    creature->currentWeapon->ammo = 0;
    creature->weaponSwitchCooldown = 200;
    creature->respawn = 1;
    updates(1);  // alive: not moved back to the start
    EXPECT_EQ(creature->position.z, 0.0f);
    captureStdout();
    creature->takeDamage(500);
    creature->velocity = {0.5f, 0, 0};
    creature->respawn = creature->fire = 1;
    creature->update();
    EXPECT_EQ(capturedStdout(), "Pelmo died\nPelmo revived\n");
    // The weapon and the animation had their turn before the revival.
    const Weapon& weapon = *creature->currentWeapon;
    EXPECT_EQ((Ints{creature->alive, creature->health, creature->weaponSwitchCooldown, weapon.ammo,
                    creature->characterModels->dying}),
              (Ints{1, 100, 0, weapon.type.ammo, 1}));
    EXPECT_EQ((Floats{creature->position.z, creature->heading}), (Floats{-50, 33}))
        << "at the start point, heading kept";
    EXPECT_GT(creature->velocity.x, 0.0f);

    // Revived, with health 100 and a weapon ready to fire.
    creature->currentWeapon->cooldown = 0;
    creature->fire = creature->moveForward = creature->nextWeapon = 1;
    creature->yawRate = 5.0f;
    EXPECT_EQ((Ints{creature->takeDamage(100), creature->health, creature->alive}),
              (Ints{0, 0, 1}));
    creature->dead = 1;
    updates(1);
    EXPECT_EQ((Ints{creature->currentWeapon->ammo, creature->weaponSwitchCooldown}),
              (Ints{creature->currentWeapon->type.ammo, 0}));

    captureStdout();
    EXPECT_TRUE(creature->takeDamage(1));
    EXPECT_EQ(capturedStdout(), "Pelmo died\n");
    EXPECT_EQ((Floats{float(creature->alive + creature->fire + creature->moveForward +
                            creature->nextWeapon),
                      creature->yawRate, float(creature->takeDamage(20)), float(creature->health)}),
              (Floats{0, 0, 0, -1}));
}

// Switching comes first in an update, and only the current weapon counts down and fires.
TEST_F(CreatureTest, OnlyTheCurrentWeaponRunsAndAWeaponKeepsItsCooldownWhileAway) {
    auto state = [&](auto field) {
        Ints values;
        for (auto& w : creature->weapons) values.push_back((*w).*field);
        return values;
    };
    for (auto& w : creature->weapons) w->cooldown = 100;
    creature->weapons[0]->cooldown = 0;
    creature->weaponIndex = 4;
    creature->currentWeapon = creature->weapons[4].get();
    creature->nextWeapon = creature->fire = 1;
    updates(1);  // to weapon 0, which fires at once
    creature->fire = 0;
    creature->weaponSwitchCooldown = 0;
    updates(1);  // to weapon 1
    creature->nextWeapon = 0;
    creature->previousWeapon = 1;
    creature->weaponSwitchCooldown = 0;
    updates(1);  // back to weapon 0
    EXPECT_EQ(state(&Weapon::cooldown), (Ints{125, 75, 100, 100, 100}));
    EXPECT_EQ(state(&Weapon::ammo), (Ints{199, 200, 200, 2000, 200}));
}

// 525 ms between steps; next wins when both are held.
TEST_F(CreatureTest, HeldSwitchStepsOnceEvery21Updates) {
    Ints seen;
    auto after = [&](int n) {
        updates(n);
        seen.push_back(creature->weaponIndex);
    };
    creature->weaponIndex = 4;
    creature->nextWeapon = 1;
    after(1);  // 4 wraps to 0 at once
    for (int n : {7, 13, 1}) after(n);
    creature->previousWeapon = 1;
    after(21);
    creature->nextWeapon = 0;
    creature->weaponIndex = 0;
    after(21);
    creature->previousWeapon = 0;
    after(30);
    EXPECT_EQ(seen, (Ints{0, 0, 0, 1, 2, 4, 4}));
}

// A character index outside the table takes the first character and row 0 rather than reading
// past them: only the last character's unknown creature type is reported. Without characters
// (a table of 0, or none) the look stays empty and its loading says it failed.
TEST_F(CreatureTest, PlayerStartsAtTheStartWithKeyboardComputerCreatureDrawsCharacterSkinPlace) {
    for (CharacterInfo& c : characters) c.creatureType = 7;
    // Columns: characters in the table, index asked for; messages, character taken, skins.
    const std::tuple<int, int, const char*> rows[] = {
        {3, 2, "Unknown creature type 7, using 0\n2 4"},
        {3, 3, "0 2"},
        {3, -1, "0 2"},
        {0, 0, "No character to load\n0 0"}};
    for (auto [count, index, seen] : rows) {
        std::unique_ptr<Creature> player;
        const Output out = captureOutput([&, count = count, index = index] {
            player.reset(createPlayerCreature(nullptr, body.get(), characters, count, index, 1));
        });
        const CharacterModelSet& look = *player->characterModels;
        EXPECT_EQ(out.err + std::to_string(look.characterIndex) + " " +
                      std::to_string(look.character.skinCount) + " " + str(player->position),
                  seen + std::string(" 0.00 0.00 -50.00"))
            << count << " characters, index " << index;
        EXPECT_NE(dynamic_cast<KeyboardController*>(player->controller), nullptr);
    }
    captureOutput([] { EXPECT_FALSE(CharacterModelSet().load(nullptr, 3, 0, 0)); });

    const Ints r = randsAfterSeed(99, 7);
    creature.reset(computer());
    ASSERT_NE(creature, nullptr);
    // r[1] is the start delay, r[3] the skin; exactly six draws.
    EXPECT_EQ((std::vector<double>{double(creature->characterModels->characterIndex),
                                   double(creature->weaponIndex), creature->position.x,
                                   creature->position.z, double(rand())}),
              (std::vector<double>{double(r[0] % 3), double(r[2] % 5), double(10 - r[4] % 20),
                                   double(-10 - r[5] % 35), double(r[6])}));
    EXPECT_NE(dynamic_cast<AIController*>(creature->controller), nullptr);

    // No characters, no computer creature; no skins, no skin drawn.
    const Output none = captureOutput([&] {
        EXPECT_EQ(createComputerCreature(nullptr, body.get(), characters, 0), nullptr);
        EXPECT_EQ(createComputerCreature(nullptr, body.get(), nullptr, 3), nullptr);
    });
    EXPECT_EQ(none.err,
              "No character for a computer creature\nNo character for a computer creature\n");
    for (CharacterInfo& c : characters) c.skinCount = 0;
    const Ints next = randsAfterSeed(5, 6);
    creature.reset(computer());
    EXPECT_FLOAT_EQ(creature->position.x, float(10 - next[3] % 20));
}

// The body model follows the creature's own movement flags.
TEST_F(CreatureTest, BodyModelAndClockFollowMovementAndDeath) {
    auto* look = new CharacterModelSet;
    Model* CharacterModelSet::*const slots[] = {
        &CharacterModelSet::standModel,        &CharacterModelSet::walkModel,
        &CharacterModelSet::strafeLeftModel,   &CharacterModelSet::strafeRightModel,
        &CharacterModelSet::diagonalLeftModel, &CharacterModelSet::diagonalRightModel};
    for (int i = 0; i < 6; ++i) look->*slots[i] = &shapes[i];
    creature->setCharacterModels(look);
    Ints shown;
    for (int walking : {0, 1, 2})     // still, forward, backward
        for (int side : {0, 1, 2}) {  // no strafe, left, right
            creature->moveForward = walking == 1;
            creature->moveBackward = walking == 2;
            creature->strafeLeft = side == 1;
            creature->strafeRight = side == 2;
            updates(1);
            shown.push_back(int(look->currentModel - shapes));
        }
    EXPECT_EQ(look->animationTime, 75) << "nine updates of 25 ms, three walking back";
    // Walking backward swaps the strafe sides.
    EXPECT_EQ(shown, (Ints{0, 2, 3, 1, 4, 5, 1, 5, 4}));
    CharacterModelSet set;
    Ints seen;  // the clock and the dying flag after each step
    auto step = [&](int ms, bool forward, bool backward, int health) {
        set.selectAnimation(ms, forward, backward, false, false, health);
        seen.insert(seen.end(), {set.animationTime, set.dying});
    };
    step(25, false, true, 100);
    step(50, false, false, 100);  // standing still advances too
    step(25, true, false, 0);
    step(25, false, false, -10);
    step(25, false, false, -10);
    step(25, false, false, 100);
    EXPECT_EQ(seen, (Ints{-25, 0, 25, 0, 50, 0, 25, 1, 50, 1, 75, 0}));
}

// Names of up to 254 characters; one longer is no name (the part is not asked for), with a word.
TEST_F(CreatureTest, PatternNamesHoldUpTo254Characters) {
    CharacterInfo c;
    const std::string stem(248, 'a');
    std::snprintf(c.armModelPattern, INFO_TEXT_SIZE, "%s%%d.3ds", stem.c_str());
    std::snprintf(c.skinTexturePattern, INFO_TEXT_SIZE, "%s%%d.bmp", stem.c_str());
    EXPECT_EQ(armModelName(c, 99, true), stem + "99.3ds");
    EXPECT_EQ(skinTextureName(c, 98, true), stem + "99.bmp") << "skin files count from 1";
    const Output out = captureOutput([&] {
        EXPECT_EQ(armModelName(c, 100, false), "");
        EXPECT_EQ(skinTextureName(c, 99, true), "");
    });
    EXPECT_EQ(out.err, "Name from pattern \"" + stem + "%d.bmp\" is too long\n");
}

}  // namespace
