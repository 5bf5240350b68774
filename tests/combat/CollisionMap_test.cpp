// Resolving moves: swap-removal, whole-number box contacts, momentum exchange, the level, grid
// edges.
#include "CollisionMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaptureOutput.h"
#include "Entity.h"
#include "Mesh.h"
#include "Model.h"
#include "World.h"

namespace {
// Answers contacts as told and records who touched it (null: the level).
struct Body : Entity {
    Body(World* owner, Model* model, bool blocks) : Entity(owner, model), blocks(blocks) {}
    bool onCollision(Entity* other) override {
        touched.push_back(other);
        return blocks;
    }
    bool blocks;
    std::vector<Entity*> touched;
};

// Level box -100 .. 100 on every axis with a wall at x = 50; bodies 4 x 8 x 4.
struct CollisionMapTest : ::testing::Test {
    CollisionMapTest() {
        body.boundsMin = {-2, 0, -2};
        body.boundsMax = {2, 8, 2};
        body.centre = {0, 4, 0};
        MeshObject level;
        level.vertices = {{-100, -100, -100}, {100, 100, 100}, {50, -100, -100},
                          {50, 100, -100},    {50, 100, 100},  {50, -100, 100}};
        level.faces = {0, 1, 1, 2, 3, 4, 2, 4, 5};
        mesh.objects = {level};
        mesh.computeBounds();
        map = std::make_unique<CollisionMap>(Vec3{20, 20, 20}, mesh);
    }
    Body* place(bool blocks, Vec3 at, World* owner = nullptr) {
        bodies.push_back(std::make_unique<Body>(owner, &body, blocks));
        Body* b = bodies.back().get();
        b->position = at;
        b->centre = {at.x, at.y + 4, at.z};
        map->insertObject(b);
        return b;
    }
    // Moves by d as an entity update would, then resolves the move.
    void move(Body* b, Vec3 d) {
        b->previousPosition = b->position;
        b->position = add(b->position, d);
        b->centre = {b->position.x, b->position.y + 4, b->position.z};
        map->resolveMove(b);
    }
    Model body;
    Mesh mesh;
    // Declared before the map so they outlive it: the map's destructor
    // clears the cell pointers of the bodies still filed in it.
    std::vector<std::unique_ptr<Body>> bodies;
    std::unique_ptr<CollisionMap> map;
};
}  // namespace

TEST_F(CollisionMapTest, SwapRemovalKeepsCellIndicesTrue) {
    Body* a = place(true, {1, 0, 1});
    Body* b = place(true, {2, 0, 2});
    Body* c = place(true, {3, 0, 3});
    CollisionCell* cell = a->collisionCells[0];
    map->removeObject(b);
    ASSERT_EQ(cell->objectCount, 2);
    EXPECT_EQ(cell->objects[1], c);
    EXPECT_EQ(c->cellIndices[0], 1);
    EXPECT_EQ(c->collisionCells[1]->objects[c->cellIndices[1]], c);
    map->removeObject(b);  // a second removal takes nobody's entry
    EXPECT_EQ(cell->objectCount, 2);
}

TEST_F(CollisionMapTest, BoxesTouchByWholeNumbersAndBlockingMovesExchangeMomentumOnce) {
    Body* still = place(true, {0, 0, 0});
    Body* mover = place(true, {10, 0, 0});
    still->halfExtents = mover->halfExtents = {1.95f, 4, 2};  // x sum 3.9 counts as 3
    move(mover, {-6.3f, 0, 0});                               // 3.7 apart counts as 3: apart
    EXPECT_TRUE(mover->touched.empty());
    still->mass = 2;
    still->velocity = {0, 0, 1};
    mover->velocity = {-1, 0, 0};
    move(mover, {-1, 0, 0});
    EXPECT_EQ(mover->touched, (std::vector<Entity*>{still, still})) << "once per grid holding both";
    EXPECT_EQ(still->touched, (std::vector<Entity*>{mover, mover}));
    EXPECT_FLOAT_EQ(mover->position.x, 3.7f) << "the blocked move is undone";
    EXPECT_FLOAT_EQ(mover->centre.x, 2.7f) << "only the position goes back";
    EXPECT_FLOAT_EQ(mover->impulse.z, 2) << "assigned: partner's velocity times its mass ratio";
    EXPECT_FLOAT_EQ(still->impulse.x, -0.5f);
    EXPECT_EQ(length(mover->velocity) + length(still->velocity), 0.0f);
    // A dead partner still blocks but takes no momentum.
    still->dead = 1;
    mover->velocity = {-1, 0, 0};
    move(mover, {-1, 0, 0});
    EXPECT_FLOAT_EQ(mover->velocity.x, -1);
}

TEST_F(CollisionMapTest, NonBlockingContactLetsTheMoveStandAndRefiles) {
    Body* creature = place(true, {0, 0, 0});
    Body* shot = place(false, {3, 0, 25});
    shot->velocity = {0, 0, -1};
    CollisionCell* before = shot->collisionCells[0];
    move(shot, {-2, 0, -25});
    EXPECT_EQ(creature->touched.size(), 2u) << "both handlers are called";
    EXPECT_EQ(shot->position.z, 0.0f);
    EXPECT_EQ(shot->velocity.z, -1.0f);
    EXPECT_EQ(shot->collisionCells[0], creature->collisionCells[0]);
    EXPECT_EQ(before->objectCount, 0);
}

TEST_F(CollisionMapTest, LevelAndGridEdgesAreWalls) {
    Body* walker = place(true, {47, 0, 0});
    move(walker, {1.5f, 0, 0});  // centre 1.5 from the wall
    EXPECT_TRUE(walker->touched.empty());
    move(walker, {1, 0, 0});  // 0.5 from the wall: a sphere of radius 1 touches
    EXPECT_EQ(walker->touched, std::vector<Entity*>{nullptr});
    EXPECT_EQ(walker->position.x, 48.5f);
    move(walker, {-1, 0, 0});  // the next move starts without the last contact
    EXPECT_EQ(walker->position.x, 47.5f);
    walker->touched.clear();
    move(walker, {0, -150, 0});
    EXPECT_EQ(walker->touched, (std::vector<Entity*>{nullptr, nullptr}));
    EXPECT_EQ(walker->position.y, 0.0f);
    CollisionMap empty(Vec3{20, 20, 20});  // no level: nowhere to go
    empty.resolveMove(walker);
    EXPECT_EQ(walker->touched.size(), 4u);
}

TEST_F(CollisionMapTest, ObjectsOutliveTheirMapSafely) {
    Body* kept = place(true, {0, 0, 0});
    map.reset();
    EXPECT_EQ(kept->collisionCells[0], nullptr);
    CollisionMap other(Vec3{20, 20, 20}, mesh);
    kept->collisionCells[0] = &other.cells[0][0];
    kept->cellIndices[0] = 5;
    CollisionMap third(Vec3{20, 20, 20}, mesh);
    third.removeObject(kept);  // a cell of another map is not ours to change
    EXPECT_EQ(other.cells[0][0].objects.size(), 0u);
}

TEST_F(CollisionMapTest, MisuseIsReportedAndACorruptListEndsTheProgram) {
    testing::internal::CaptureStdout();
    map->fileInCell(nullptr, &map->cells[0][0], 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(
        isWithLineNumber(out, " CollisionMap.cpp ", " - fatal error \n"))
        << out;
    Body* filed = place(true, {0, 0, 0});
    filed->cellIndices[0] = 7;  // past the end of its cell's list
    EXPECT_EXIT(map->removeObject(filed), ::testing::ExitedWithCode(100), "");
}

TEST_F(CollisionMapTest, WorldFilesCollidingObjectsAndRoutesTheirMoves) {
    auto* world = new World(nullptr);
    world->setCollisionMap(std::move(map));
    auto* a = new Body(world, &body, true);
    auto* b = new Body(world, &body, true);
    auto* ghost = new Body(world, &body, true);
    ghost->kindFlags = 0;  // takes no part in collisions
    for (Body* each : {a, b, ghost}) world->addObject(each);
    ASSERT_NE(a->collisionCells[0], nullptr);
    EXPECT_EQ(a->collisionCells[0]->objectCount, 2);
    EXPECT_EQ(ghost->collisionCells[0], nullptr);
    b->position = {3, 0, 0};
    b->update();
    EXPECT_EQ(b->touched, (std::vector<Entity*>{a, a}));
    a->kill();
    world->update(0);
    EXPECT_EQ(b->collisionCells[0]->objectCount, 1);
    captureOutput([&] { delete world; });
}
