// Resolving moves: filing and swap-removal, box contacts, momentum exchange, level triangles, grid
// edges.
#include "CollisionMap.h"

#include <gtest/gtest.h>

#include <vector>

#include "Entity.h"
#include "Mesh.h"
#include "Model.h"
#include "World.h"

namespace {
// An entity that answers contacts as told and records who touched it.
struct Body : Entity {
    Body(World* owner, Model* model, bool blocks) : Entity(owner, model), blocks(blocks) {}
    bool onCollision(Entity* other) override {
        touched.push_back(other);
        return blocks;
    }
    bool blocks;
    std::vector<Entity*> touched;
};

struct CollisionMapTest : ::testing::Test {
    CollisionMapTest() {
        body.boundsMin = {-2, 0, -2};
        body.boundsMax = {2, 8, 2};
        body.centre = {0, 4, 0};
        MeshObject markers;  // level box -100 .. 100 on every axis
        markers.vertices = {{-100, -100, -100}, {100, 100, 100}, {100, 100, 100}};
        markers.faces = {0, 1, 2};
        // A wall at x = 50 from z -100 to 100, y -100 to 100.
        MeshObject wall;
        wall.vertices = {{50, -100, -100}, {50, 100, -100}, {50, 100, 100}, {50, -100, 100}};
        wall.faces = {0, 1, 2, 0, 2, 3};
        level.objects = {markers, wall};
        level.computeBounds();
        map = std::make_unique<CollisionMap>(Vec3{20, 20, 20}, level);
    }
    // Places the entity (centre as an update would leave it) and files it.
    Body* place(bool blocks, Vec3 at) {
        bodies.push_back(std::make_unique<Body>(nullptr, &body, blocks));
        Body* b = bodies.back().get();
        b->position = b->previousPosition = at;
        b->centre = {at.x, at.y + 4, at.z};
        map->insertObject(b);
        return b;
    }
    // Moves the entity by d as its update would and resolves the move.
    void move(Body* b, Vec3 d) {
        b->previousPosition = b->position;
        b->position = add(b->position, d);
        b->centre = {b->position.x, b->position.y + 4, b->position.z};
        map->resolveMove(b);
    }
    Model body;
    Mesh level;
    std::unique_ptr<CollisionMap> map;
    std::vector<std::unique_ptr<Body>> bodies;
};
}  // namespace

TEST_F(CollisionMapTest, SwapRemovalKeepsCellIndicesTrue) {
    Body* a = place(true, {1, 0, 1});
    Body* b = place(true, {2, 0, 2});
    Body* c = place(true, {3, 0, 3});
    CollisionCell* cell = a->collisionCells[0];
    ASSERT_EQ(cell->objectCount, 3);
    EXPECT_EQ(c->cellIndices[0], 2);
    map->removeObject(b);
    EXPECT_EQ(cell->objectCount, 2);
    ASSERT_EQ(cell->objects.size(), 2u);
    EXPECT_EQ(cell->objects[1], c);
    EXPECT_EQ(c->cellIndices[0], 1);
    EXPECT_EQ(c->collisionCells[1]->objects[c->cellIndices[1]], c);
    map->removeObject(b);  // a second removal touches nothing
    EXPECT_EQ(cell->objectCount, 2);
    map->removeObject(a);
    map->removeObject(c);
    EXPECT_EQ(cell->objectCount, 0);
}

TEST_F(CollisionMapTest, BoxTestComparesWholeNumbers) {
    Body* still = place(true, {0, 0, 0});
    Body* mover = place(true, {10, 0, 0});
    still->halfExtents = {1.95f, 4, 2};
    mover->halfExtents = {1.95f, 4, 2};  // sum 3.9 truncates to 3
    move(mover, {-6.3f, 0, 0});          // 3.7 apart truncates to 3: 3 >= 3, no touch
    EXPECT_TRUE(mover->touched.empty());
    EXPECT_FLOAT_EQ(mover->position.x, 3.7f);
    move(mover, {-1.0f, 0, 0});  // 2.7 apart: touches
    EXPECT_EQ(mover->touched.size(), 2u) << "told once for each grid that holds the pair";
    EXPECT_FLOAT_EQ(mover->position.x, 3.7f) << "a blocked move is undone";
}

TEST_F(CollisionMapTest, BlockingContactExchangesMomentumOnce) {
    Body* still = place(true, {0, 0, 0});
    Body* mover = place(true, {3, 0, 0});
    still->mass = 2;
    still->velocity = {0, 0, 1};
    mover->velocity = {-1, 0, 0};
    mover->impulse = {5, 5, 5};
    move(mover, {-1, 0, 0});
    // Both grids hold the pair: both are told twice, momentum moves once.
    EXPECT_EQ(still->touched, (std::vector<Entity*>{mover, mover}));
    EXPECT_EQ(mover->touched, (std::vector<Entity*>{still, still}));
    EXPECT_FLOAT_EQ(mover->position.x, 3);
    EXPECT_FLOAT_EQ(mover->centre.x, 2) << "only the position goes back";
    // Impulses are assigned from the velocities scaled by the mass ratio.
    EXPECT_FLOAT_EQ(mover->impulse.x, 0);
    EXPECT_FLOAT_EQ(mover->impulse.z, 2);
    EXPECT_FLOAT_EQ(still->impulse.x, -0.5f);
    EXPECT_FLOAT_EQ(length(mover->velocity) + length(still->velocity), 0);
}

TEST_F(CollisionMapTest, DeadPartnerBlocksWithoutExchange) {
    Body* corpse = place(true, {0, 0, 0});
    Body* mover = place(true, {3, 0, 0});
    corpse->dead = 1;
    mover->velocity = {-1, 0, 0};
    move(mover, {-1, 0, 0});
    EXPECT_FLOAT_EQ(mover->position.x, 3);
    EXPECT_FLOAT_EQ(mover->velocity.x, -1);
    EXPECT_FLOAT_EQ(corpse->impulse.x, 0);
}

TEST_F(CollisionMapTest, NonBlockingContactLetsTheMoveStandAndRefiles) {
    Body* creature = place(true, {0, 0, 0});
    Body* shot = place(false, {3, 0, 25});
    shot->velocity = {0, 0, -1};
    CollisionCell* before = shot->collisionCells[0];
    move(shot, {-2, 0, -25});
    EXPECT_EQ(shot->touched, (std::vector<Entity*>{creature, creature}))
        << "both handlers, per grid";
    EXPECT_EQ(creature->touched, (std::vector<Entity*>{shot, shot}));
    EXPECT_FLOAT_EQ(shot->position.z, 0);
    EXPECT_FLOAT_EQ(shot->velocity.z, -1) << "no exchange without a blocking contact";
    EXPECT_NE(shot->collisionCells[0], before);
    EXPECT_EQ(shot->collisionCells[0], creature->collisionCells[0]);
    EXPECT_EQ(before->objectCount, 0);
}

TEST_F(CollisionMapTest, LevelTrianglesStopASphereOfRadiusOne) {
    Body* walker = place(true, {47, 0, 0});
    move(walker, {1.5f, 0, 0});  // centre 1.5 from the wall
    EXPECT_TRUE(walker->touched.empty());
    move(walker, {1.0f, 0, 0});  // 0.5 from the wall
    EXPECT_EQ(walker->touched, std::vector<Entity*>{nullptr});
    EXPECT_FLOAT_EQ(walker->position.x, 48.5f);
}

TEST_F(CollisionMapTest, LeavingTheGridIsAWallInBothGrids) {
    Body* walker = place(true, {0, 0, 0});
    move(walker, {0, -150, 0});
    EXPECT_EQ(walker->touched, (std::vector<Entity*>{nullptr, nullptr}));
    EXPECT_FLOAT_EQ(walker->position.y, 0);
}

TEST_F(CollisionMapTest, EmptyMapUndoesEveryMove) {
    CollisionMap empty(Vec3{20, 20, 20});
    Body lone(nullptr, &body, true);
    empty.insertObject(&lone);
    EXPECT_EQ(lone.collisionCells[0], nullptr);
    lone.position = {1, 0, 0};
    empty.resolveMove(&lone);
    EXPECT_FLOAT_EQ(lone.position.x, 0);
    EXPECT_EQ(lone.touched.size(), 2u);
    empty.removeObject(&lone);
}

TEST_F(CollisionMapTest, DestroyedMapLeavesNoCellPointersBehind) {
    Body* kept = place(true, {0, 0, 0});
    map.reset();
    EXPECT_EQ(kept->collisionCells[0], nullptr);
    EXPECT_EQ(kept->collisionCells[1], nullptr);
    CollisionMap other(Vec3{20, 20, 20}, level);
    other.removeObject(kept);  // nothing of the other map is touched
    kept->collisionCells[0] = &other.cells[0][0];
    kept->cellIndices[0] = 5;
    CollisionMap third(Vec3{20, 20, 20}, level);
    third.removeObject(kept);  // a cell of another map is not ours to change
    EXPECT_EQ(other.cells[0][0].objectCount, 0);
}

TEST_F(CollisionMapTest, MisuseIsReportedAndACorruptListEndsTheProgram) {
    testing::internal::CaptureStdout();
    map->fileInCell(nullptr, &map->cells[0][0], 0);
    map->unfileFromCell(nullptr, 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("CollisionMap.cpp"), std::string::npos) << out;
    EXPECT_NE(out.find(" - fatal error \n"), std::string::npos) << out;
    Body* filed = place(true, {0, 0, 0});
    filed->cellIndices[0] = 7;  // points past the cell's list
    EXPECT_EXIT(map->removeObject(filed), ::testing::ExitedWithCode(100), "");
}

TEST_F(CollisionMapTest, WorldFilesCollidingObjectsAndRoutesMoves) {
    auto* world = new World(nullptr);
    world->setCollisionMap(std::move(map));
    Body* a = new Body(world, &body, true);
    Body* b = new Body(world, &body, true);
    world->addObject(a);
    world->addObject(b);
    ASSERT_NE(a->collisionCells[0], nullptr);
    EXPECT_EQ(a->collisionCells[0]->objectCount, 2);
    b->position = {3, 0, 0};
    b->responsiveness = 0;
    b->update();  // 3 apart with half extents summing to 4: touch, in both grids
    EXPECT_EQ(b->touched, (std::vector<Entity*>{a, a}));
    a->kill();
    world->update(0);
    EXPECT_EQ(b->collisionCells[0]->objectCount, 1);
    testing::internal::CaptureStdout();
    delete world;
    testing::internal::GetCapturedStdout();
}
