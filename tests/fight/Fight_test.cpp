// Weapons (cadence, ammunition, spread, recoil, refused shots), projectiles (range, fragments,
// hits, credit and push, what they ignore), and shots, creatures and a level together in a World
// with a collision map built in memory.

#include <set>

#include "FightFixtures.h"
#include "Text.h"
#include "Vec3Checks.h"

namespace {

struct ShotTest : FightWorldTest {
    Creature* shooter = addCreature();
    Creature* target = addCreature();

    Weapon& weapon(int index) { return *shooter->weapons[index]; }
    // A shot's type, whether the shooter's, flying, its place and its pitch, heading and roll.
    std::string describe(const Projectile* p) const {
        return std::to_string(p->typeIndex) + (p->shooter() == shooter ? " ours" : " other") +
               (p->moveForward ? " flying at " : " still at ") + str(p->position) + " turned " +
               str({p->pitch, p->heading, p->roll});
    }
    // Updates of 25 ms with the trigger held at which a shot left.
    Ints shotUpdates(Weapon& w, int updates) {
        Ints shots;
        for (int i = 1; i <= updates; ++i) {
            const int before = w.ammo;
            w.update(25, true);
            if (w.ammo != before) shots.push_back(i);
        }
        return shots;
    }
};

// An empty weapon stays silent, its cooldown stopping where it ran out.
TEST_F(ShotTest, HeldTriggerFiresAtReloadCadenceUntilEmptyShotsLeaveAtTheMuzzleWithSpread) {
    EXPECT_EQ(shotUpdates(weapon(0), 13), (Ints{1, 7, 13}));   // 150 ms
    EXPECT_EQ(shotUpdates(weapon(1), 29), (Ints{1, 15, 29}));  // 350 ms
    EXPECT_EQ(shotUpdates(weapon(2), 17), (Ints{1, 9, 17}));   // 200 ms
    weapon(0).ammo = 1;
    EXPECT_EQ(shotUpdates(weapon(0), 26), (Ints{6})) << "the last round";
    EXPECT_EQ((Ints{weapon(0).ammo, weapon(0).cooldown, world->objectCount}), (Ints{0, 0, 2 + 10}));

    shooter->position = {3, 0, -7};
    shooter->heading = 90.0f;
    shooter->pitch = 10.0f;
    shooter->roll = 5.0f;
    const Ints r = randsAfterSeed(4, 2);
    weapon(3).update(25, true);
    // r[0] is the shot's delay; the pitch and roll are the shooter's.
    EXPECT_EQ(describe(lastShot()), "4 ours flying at 3.00 4.00 -7.00 turned 10.00 " +
                                        std::to_string(90 + r[1] % 5 - 2) + ".00 5.00");
}

// Each weapon's figures: the kind it fires, rounds left of a refill after one shot, its cooldown,
// the push back at heading 0 (+z), and the whole-degree headings its shots take.
TEST_F(ShotTest, EachWeaponFiresItsKindWithItsRoundsCooldownRecoilAndSpread) {
    std::string figures;
    for (int w = 0; w < WEAPON_TYPE_COUNT; ++w) {
        shooter->velocity = {};
        Weapon& held = weapon(w);
        held.update(25, true);
        figures += format("%s: kind %d, %d left, %d ms, back %.2f, headings",
                          std::string(held.name()).c_str(), lastShot()->typeIndex, held.ammo,
                          held.cooldown, shooter->velocity.z);
        std::set<int> headings;
        for (int shot = 0; shot < 50; ++shot, headings.insert(int(lastShot()->heading))) {
            held.cooldown = 0;
            held.update(25, true);
        }
        for (int heading : headings) figures += " " + std::to_string(heading);
        figures += "\n";
    }
    EXPECT_EQ(figures,
              "Weapon1: kind 0, 199 left, 150 ms, back 1.00, headings -1 0 1\n"
              "Weapon2: kind 1, 199 left, 350 ms, back 2.00, headings 0\n"
              "Weapon3: kind 3, 199 left, 200 ms, back 1.00, headings 0\n"
              "Weapon4: kind 4, 1999 left, 200 ms, back 0.30, headings -2 -1 0 1 2\n"
              "Weapon5: kind 4, 199 left, 200 ms, back 0.30, headings -2 -1 0 1 2\n");
}

// A weapon row outside the table is the first row; a weapon nobody holds never
// fires, and one without a world spends its round on a shot that goes nowhere.
// Recoil pushes the shooter's velocity against the shot.
TEST_F(ShotTest, RecoilAndWeaponsOutsideTheTableOrWithoutHolderOrWorld) {
    std::vector<std::string> names;
    std::unique_ptr<Weapon> loose, worldless;
    captureOutput([&] {
        for (int index : {-1, 4, 5}) names.push_back(Weapon(world.get(), index, nullptr).name());
        loose = std::make_unique<Weapon>(world.get(), 0, nullptr);
        worldless = std::make_unique<Weapon>(nullptr, 1, shooter);
    });
    EXPECT_EQ(names, (std::vector<std::string>{"Weapon1", "Weapon5", "Weapon1"}));
    loose->update(25, true);
    worldless->update(25, true);  // Weapon2 at heading 0 faces -z
    EXPECT_EQ((Ints{loose->ammo, worldless->ammo, worldless->cooldown}), (Ints{200, 199, 350}));
    EXPECT_EQ(world->objectCount, 2);
    expectVec(shooter->velocity, 0, 0, 2);
    shooter->velocity = {};
    shooter->heading = 90.0f;  // faces +x
    weapon(2).update(25, true);
    expectVec(shooter->velocity, -1, 0, 0);
    weapon(0).type.recoil = 0;  // no push at all
    weapon(0).update(25, true);
    expectVec(shooter->velocity, -1, 0, 0);
}

TEST_F(ShotTest, ShortShotExpiresAtItsThirtiethUpdateAndAFullWorldTakesWhatFits) {
    const Ints r = randsAfterSeed(8, 1);
    auto* shot = new Projectile(world.get(), 2, shooter);
    const int delay = shot->delay;  // scheduling consumes it
    EXPECT_EQ(delay, r[0] % 10);
    shot->moveForward = 1;
    world->addObject(shot);
    world->update(delay + 1 + 289);  // first update, then 29 periods of 10 ms
    ASSERT_TRUE(inWorld(shot) && !shot->dead) << "flying after 29 periods";
    // Each update takes a tenth of the way to full speed (1, along -z).
    EXPECT_NEAR(shot->velocity.z, -(1 - std::pow(0.9, 29)), 1e-4);
    // No controller turns a shot: it flies straight.
    EXPECT_EQ((Floats{shot->pitch, shot->heading, shot->roll}), (Floats{0, 0, 0}));
    world->update(1);
    EXPECT_FALSE(inWorld(shot));

    // The table's last entry takes one of ten fragments, the rest and a weapon's
    // shot are deleted; a shot without a world deletes all of its fragments.
    Projectile* shell = shoot(1, shooter);
    shell->remainingRange = 1;
    while (world->objectCount < World::MAX_OBJECTS - 1)
        world->addObject(new WorldObject(world.get()));
    shell->update();
    EXPECT_EQ(world->objectCount, World::MAX_OBJECTS);
    EXPECT_NE(dynamic_cast<Projectile*>(lastShot()), nullptr) << "a fragment in the last entry";
    weapon(0).update(25, true);
    EXPECT_EQ((Ints{weapon(0).ammo, weapon(0).cooldown, world->objectCount}),
              (Ints{199, 150, World::MAX_OBJECTS}))
        << "a refused shot spends its round and starts the cooldown";
    auto* lone = new Projectile(nullptr, 1, shooter);
    lone->remainingRange = 1;
    lone->update();
}

// A fragment type outside the table gives none.
TEST_F(ShotTest, SpentShotsReleaseTheirFragmentsOnceCreditedToTheShooter) {
    // Columns: projectile type, fragment type given to it (-2: its own), fragments
    // released, their type.
    const int cases[][4] = {{1, -2, 10, 2}, {3, -2, 1, 0}, {0, -2, 0, 0}, {2, -2, 0, 0},
                            {4, -2, 0, 0},  {1, 4, 10, 4}, {1, 5, 0, 0},  {1, -1, 0, 0}};
    for (const auto& [type, given, count, fragmentType] : cases) {
        SCOPED_TRACE(std::to_string(type) + " with fragments of type " + std::to_string(given));
        Projectile* shell = shoot(type, shooter);
        if (given != -2) shell->type.fragmentType = given;
        shell->position = {5, 4, -20};
        shell->remainingRange = 1.0;
        const int before = world->objectCount;
        const Ints r = randsAfterSeed(31, 20);
        shell->update();
        ASSERT_EQ((Ints{world->objectCount - before, shell->dead}), (Ints{count, 1}));
        std::string seen, expected;  // at the shell, each heading drawn after its delay
        for (int i = 0; i < count; ++i) {
            auto* fragment = dynamic_cast<Projectile*>(world->objects[before + i]);
            ASSERT_NE(fragment, nullptr);
            seen += describe(fragment) + "\n";
            expected += std::to_string(fragmentType) + " ours flying at " + str(shell->position) +
                        " turned 0.00 " + std::to_string(r[2 * i + 1] % 360) + ".00 0.00\n";
        }
        EXPECT_EQ(seen, expected);
        shell->update();  // updated again before the world disposes of it
        EXPECT_EQ(world->objectCount, before + count);
        world->flushDisposals();
        EXPECT_FALSE(inWorld(shell));
    }
}

// A type index outside the table flies as type 0.
TEST_F(ShotTest, EachTypeTakesItsDamageAKillingHitCreditsTheShooterOnceAndShotsOutliveIt) {
    // Each kind as the game's figures make it, types -1 to 5: the kind flown; its update period;
    // its speed after one update (a tenth of full speed); updates until its range is spent; the
    // health a hit leaves and the push it gives, at 10 units per update, to a creature of mass 1.
    std::string seen;
    for (int type = -1; type <= PROJECTILE_TYPE_COUNT; ++type) {
        target->health = 100;
        target->impulse = {};
        Projectile* shot = shoot(type, shooter);
        shot->velocity = {0, 0, -10};
        shot->onCollision(target);
        Projectile* flight = shoot(type, shooter);
        flight->update();
        const float afterOne = -flight->velocity.z;
        int updates = 1;
        for (; !flight->dead; ++updates) flight->update();
        seen += format("%d: every %u ms, %.2f, %d updates, health %d, push %.2f\n", shot->typeIndex,
                       shot->period, afterOne, updates, target->health, -target->impulse.z);
    }
    EXPECT_EQ(seen,
              "0: every 5 ms, 0.20, 100 updates, health 80, push 1.00\n"
              "0: every 5 ms, 0.20, 100 updates, health 80, push 1.00\n"
              "1: every 10 ms, 0.10, 100 updates, health 80, push 5.00\n"
              "2: every 10 ms, 0.10, 30 updates, health 80, push 1.00\n"
              "3: every 10 ms, 0.20, 50 updates, health 80, push 2.00\n"
              "4: every 7 ms, 0.30, 67 updates, health 90, push 2.00\n"
              "0: every 5 ms, 0.20, 100 updates, health 80, push 1.00\n");

    // It passes through its shooter and other shots, but not the level.
    Projectile* shot = shoot(0, shooter);
    Projectile* other = shoot(0, target);
    EXPECT_EQ(
        (Ints{shot->onCollision(shooter), shot->onCollision(other), shot->dead, shooter->health}),
        (Ints{0, 0, 0, 100}));
    shot->onCollision(nullptr);
    shot->onCollision(target);  // dead: hits nothing more
    EXPECT_EQ((Ints{shot->dead, target->health}), (Ints{1, 80}))
        << "dead after the level, the target's health as the last shot of the table left it";

    target->health = 10;
    Projectile* first = shoot(0, shooter);
    captureStdout();
    EXPECT_EQ((Ints{first->onCollision(target), first->dead, shooter->score}), (Ints{0, 1, 1}));
    EXPECT_EQ(capturedStdout(), "Pelmo died\n");

    // A dead creature still stops and takes the push (mass 0.5 of 1.0), no credit.
    target->impulse = {1, 0, 0};
    Projectile* shell = shoot(1, shooter);
    shell->velocity = {2, 4, -1};
    shell->onCollision(target);
    EXPECT_EQ((Ints{target->health, shooter->score, shell->dead}), (Ints{-10, 1, 1}));
    expectVec(target->impulse, 2, 2, -0.5f);
    shooter->kindFlags = WorldObject::COLLIDES;  // not a creature: no credit
    Creature* third = addCreature();
    third->health = 0;
    captureOutput([&] { shoot(0, shooter)->onCollision(third); });
    EXPECT_EQ((Ints{third->alive, shooter->score}), (Ints{0, 1})) << "third killed, score kept";

    // A shot outliving its shooter never touches it.
    shot = shoot(3, shooter);
    captureStdout();
    world->detachObject(shooter);
    delete shooter;
    EXPECT_EQ(shot->shooter(), nullptr);
    target->revive(0, 0, 0);
    target->health = 5;
    shot->onCollision(target);
    EXPECT_EQ(capturedStdout(), "Pelmo revived\nPelmo died\n");
    shot = shoot(3, nullptr);
    shot->remainingRange = 0.5;
    shot->update();  // its fragment has no shooter either
    EXPECT_TRUE(lastShot() != nullptr && lastShot()->shooter() == nullptr);
}

}  // namespace
