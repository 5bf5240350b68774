// The collision map: grid dimensions, cell numbering, triangle distribution and refused grids;
// resolving moves: swap-removal, whole-number box contacts, momentum exchange, the level, grid
// edges.
#include "CollisionMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "CaptureOutput.h"
#include "CollisionBudget.h"
#include "Entity.h"
#include "FightFixtures.h"
#include "Geometry.h"
#include "Mesh.h"
#include "Model.h"
#include "World.h"

namespace {
// Adds an object holding the given triangles (three corners each).
void addObject(Mesh& mesh, const std::vector<Vec3>& corners) {
    MeshObject object;
    object.vertices = corners;
    for (uint32_t i = 0; i < corners.size(); ++i) object.faces.push_back(i);
    mesh.objects.push_back(object);
}

// Appends a triangle's corners, coordinate by coordinate.
void append(std::vector<float>& out, const Vec3* corners) {
    for (int i = 0; i < 3; ++i) out.insert(out.end(), {corners[i].x, corners[i].y, corners[i].z});
}

// The distribution rule taken literally: cell n asks every object and every face.
std::vector<float> cellByCell(const CollisionMap& map, const Mesh& mesh, int grid, int n) {
    const float r = float(double(length(map.cellSize)) * 0.3333333432674408);
    const int column = n % map.columns, layer = n / map.layerSize, row = n / map.columns % map.rows;
    const Vec3 o = map.gridOrigin[grid], s = map.cellSize;
    const Vec3 c{float(o.x + (column + 0.5) * s.x), float(o.y + (layer + 0.5) * s.y),
                 float(o.z + (row + 0.5) * s.z)};
    std::vector<float> out;
    for (const MeshObject& ob : mesh.objects) {
        const Vec3 lo = ob.boundsMin, hi = ob.boundsMax;
        if (!(lo.x - r <= c.x && c.x <= hi.x + r && lo.y - r <= c.y && c.y <= hi.y + r &&
              lo.z - r <= c.z && c.z <= hi.z + r))
            continue;
        for (size_t f = 0; f + 2 < ob.faces.size(); f += 3) {
            const Vec3 t[3] = {ob.vertices[ob.faces[f]], ob.vertices[ob.faces[f + 1]],
                               ob.vertices[ob.faces[f + 2]]};
            if (spherePolygonCollision(t, c, 3, r)) append(out, t);
        }
    }
    return out;
}

void expectCellByCellDistribution(const CollisionMap& map, const Mesh& mesh) {
    for (int grid = 0; grid < 2; ++grid)
        for (int n = 0; n < map.cellCount[grid]; ++n) {
            const CollisionCell& cell = map.cells[grid][n];
            std::vector<float> actual;
            for (int i = 0; i < cell.triangleCount; ++i)
                append(actual, map.cellTriangle(cell, i).corners);
            ASSERT_EQ(actual, cellByCell(map, mesh, grid, n)) << "grid " << grid << " cell " << n;
        }
}

float randomIn(float low, float high) {
    return low + (high - low) * float(std::rand()) / float(RAND_MAX);
}

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
        MeshObject level;
        level.vertices = {{-100, -100, -100}, {100, 100, 100}, {50, -100, -100},
                          {50, 100, -100},    {50, 100, 100},  {50, -100, 100}};
        level.faces = {0, 1, 1, 2, 3, 4, 2, 4, 5};
        mesh.objects = {level};
        mesh.computeBounds();
        map = std::make_unique<CollisionMap>(Vec3{20, 20, 20}, mesh);
    }
    Body* place(bool blocks, Vec3 at, World* owner = nullptr) {
        bodies.push_back(std::make_unique<Body>(owner, body.get(), blocks));
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
    std::unique_ptr<Model> body = makeBoxModel({-2, 0, -2}, {2, 8, 2});
    Mesh mesh;
    // Declared before the map so they outlive it: the map's destructor
    // clears the cell pointers of the bodies still filed in it.
    std::vector<std::unique_ptr<Body>> bodies;
    std::unique_ptr<CollisionMap> map;
};
}  // namespace

TEST(CollisionMapBuild, DimensionsAndCellNumbers) {
    Mesh mesh;
    const Vec3 low{-50, -10, -30};
    addObject(mesh, {low, low, low, {50, 30, 30}, {50, 30, 30}, {50, 30, 30}});  // 100 x 40 x 60
    mesh.computeBounds();
    CollisionMap map({20, 20, 20}, mesh);
    EXPECT_EQ((std::vector<int>{map.columns, map.rows, map.cellCount[0], map.cellCount[1]}),
              (std::vector<int>{6, 4, 72, 72}));
    auto number = [&](Vec3 offset, int grid) {
        return map.cellNumber(map.locateCell(add(low, offset), grid), grid);
    };
    // The offset grid; past the last column is column 0 of the next row; truncated toward zero.
    EXPECT_EQ((std::vector<int>{number({25, 45, 5}, 0), number({15, 15, 15}, 1),
                                number({125, 5, 25}, 0), number({5, -15, 5}, 0)}),
              (std::vector<int>{49, 1 + 6 + 24, 2 * 6, 0}));
    EXPECT_EQ(map.locateCell(add(low, {5, -25, 5}), 0), nullptr);
    EXPECT_EQ(map.locateCell({NAN, 0, 0}, 0), nullptr);
    EXPECT_EQ(map.locateCell({1e30f, 0, 0}, 0), nullptr);
}

TEST(CollisionMapBuild, TrianglesReachTheSameCellsInTheSameOrderAsCellByCell) {
    std::srand(7);
    Mesh mesh;
    for (int o = 0; o < 3; ++o) {
        std::vector<Vec3> corners = {{-150, -30, -150}, {150, 50, 150}, {150, 50, 150}};
        for (int t = 0; t < 40; ++t) {
            const float size = t % 10 == 0 ? 400.0f : randomIn(1, 60);  // some huge and thin
            const Vec3 base{randomIn(-150, 150), randomIn(-30, 50), randomIn(-150, 150)};
            corners.push_back(base);
            corners.push_back(
                add(base, {randomIn(-size, size), randomIn(-5, 5), randomIn(-size, size)}));
            corners.push_back(t % 15 == 1 ? base
                                          : add(base, {randomIn(-size, size), 0, randomIn(-2, 2)}));
        }
        addObject(mesh, corners);
    }
    mesh.computeBounds();
    mesh.objects[2].boundsMax = {0, 0, 0};  // a box smaller than its triangles: the box decides
    const CollisionMap built({17, 13, 23}, mesh);
    expectCellByCellDistribution(built, mesh);
    const CollisionFigures figures = collisionFigures(mesh, {17, 13, 23});
    EXPECT_EQ(figures.cellsPerGrid, built.cellCount[0]);
    EXPECT_EQ(figures.filings, int64_t(built.filings.size()));

    // Seen from 60 units beside the middle of a 40000-unit edge the angle sum is
    // within 1 % of a full turn: that cell gets the triangle although it is
    // farther than the radius.
    Mesh thin;
    const Vec3 low{-20000, -20, -100}, high{20000, 20, 100};
    addObject(thin, {low, low, low, {-20000, 0, 0}, {20000, 0, 0}, {0, 0, 1}, high, high, high});
    thin.computeBounds();
    CollisionMap map({20, 20, 20}, thin);
    ASSERT_NE(map.locateCell({0, 0, -60}, 1), nullptr);
    EXPECT_EQ(map.locateCell({0, 0, -60}, 1)->triangleCount, 1);
    expectCellByCellDistribution(map, thin);
}

// Each box with the level's extent and the cell size in the message.
TEST(CollisionMapBuild, UnusableBoxesGiveAnEmptyMap) {
    const struct {
        Vec3 low, high, cell;
        const char* sizes;
    } cases[] = {
        {{10, 0, 0}, {-10, 5, 5}, {20, 20, 20}, "(-20, 5, 5) with cells (20, 20, 20)"},
        {{NAN, 0, 0}, {10, 10, 10}, {20, 20, 20}, "(nan, 10, 10) with cells (20, 20, 20)"},
        {{-1e9f, -1e9f, -1e9f},
         {1e9f, 1e9f, 1e9f},
         {20, 20, 20},
         "(2e+09, 2e+09, 2e+09) with cells (20, 20, 20)"},  // far too many cells
        {{0, 0, 0}, {10, 10, 10}, {0, 20, 20}, "(10, 10, 10) with cells (0, 20, 20)"},
    };
    for (const auto& c : cases) {
        Mesh mesh;
        mesh.boundsMin = c.low;
        mesh.boundsMax = c.high;
        captureStderr();
        CollisionMap map(c.cell, mesh, "box.3ds");
        EXPECT_EQ(capturedStderr(), std::string("Collision map box.3ds: level box ") + c.sizes +
                                        " gives no usable grid, no collisions built\n");
        EXPECT_TRUE(map.empty());
        EXPECT_EQ(collisionFigures(mesh, c.cell).cellsPerGrid, 0);
        EXPECT_EQ(map.locateCell({0, 0, 0}, 0), nullptr);
    }
    captureStderr();
    CollisionMap missing(20, 20, 20, "no_such_level.3ds");
    EXPECT_EQ(capturedStderr(),
              "Unable to locate file no_such_level.3ds\nCollision map: cannot load level model "
              "no_such_level.3ds, no collisions built\n");
    EXPECT_TRUE(missing.empty());
}

// The figure is a sum over triangles, so copies of one triangle show where the
// budget falls; a model over it is refused before anything is tested.
TEST(CollisionMapBuild, ModelsNeedingTooManyCellTestsAreRefused) {
    const std::vector<Vec3> floor = {{0, 0, 0}, {2000, 0, 0}, {0, 0, 2000}};
    Mesh one;
    addObject(one, floor);
    one.computeBounds();
    const int64_t perTriangle = collisionFigures(one, {20, 20, 20}).cellTests;
    const int64_t copies = MAX_COLLISION_CELL_TESTS / perTriangle + 1;
    ASSERT_GT(perTriangle * copies, MAX_COLLISION_CELL_TESTS);
    ASSERT_LE(perTriangle * (copies - 1), MAX_COLLISION_CELL_TESTS);

    Mesh many;
    std::vector<Vec3> corners;
    for (int64_t i = 0; i < copies; ++i) corners.insert(corners.end(), floor.begin(), floor.end());
    addObject(many, corners);
    many.computeBounds();
    captureStderr();
    CollisionMap map({20, 20, 20}, many, "floors.3ds");
    EXPECT_EQ(capturedStderr(),
              "Collision map floors.3ds: building needs " + std::to_string(perTriangle * copies) +
                  " triangle-in-cell tests, more than the 4000000 allowed; no collisions built\n");
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(map.locateCell({10, 0, 10}, 0), nullptr);
    EXPECT_EQ(collisionFigures(many, {20, 20, 20}).filings, -1);
}

TEST_F(CollisionMapTest, SwapRemovalKeepsCellIndicesTrue) {
    Body* a = place(true, {1, 0, 1});
    Body* b = place(true, {2, 0, 2});
    Body* c = place(true, {3, 0, 3});
    CollisionCell* cell = a->collisionCells[0];
    map->removeObject(b);
    ASSERT_EQ(cell->objectCount, 2);
    EXPECT_EQ((std::pair{cell->objects[1], c->cellIndices[0]}), (std::pair<Entity*, int>{c, 1}));
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
    EXPECT_EQ((std::vector<float>{shot->position.z, shot->velocity.z}),
              (std::vector<float>{0, -1}));
    EXPECT_EQ(shot->collisionCells[0], creature->collisionCells[0]);
    EXPECT_EQ(before->objectCount, 0);
}

TEST_F(CollisionMapTest, LevelAndGridEdgesAreWalls) {
    Body* walker = place(true, {47, 0, 0});
    using Standing = CollisionMap::Standing;
    move(walker, {1.5f, 0, 0});  // centre 1.5 from the wall
    EXPECT_TRUE(walker->touched.empty());
    EXPECT_EQ(map->standingAt(walker->centre), Standing::Free);
    move(walker, {1, 0, 0});  // 0.5 from the wall: a sphere of radius 1 touches
    EXPECT_EQ(walker->touched, std::vector<Entity*>{nullptr});
    EXPECT_EQ(map->standingAt(walker->centre), Standing::Touching) << "where the move was undone";
    EXPECT_EQ(walker->position.x, 48.5f);
    move(walker, {-1, 0, 0});  // the next move starts without the last contact
    EXPECT_EQ(walker->position.x, 47.5f);
    walker->touched.clear();
    move(walker, {0, -150, 0});
    EXPECT_EQ(walker->touched, (std::vector<Entity*>{nullptr, nullptr}));
    EXPECT_EQ(map->standingAt(walker->centre), Standing::Outside);
    EXPECT_EQ(walker->position.y, 0.0f);
    CollisionMap empty(Vec3{20, 20, 20});  // no level: nowhere to go
    empty.resolveMove(walker);
    EXPECT_EQ(walker->touched.size(), 4u);
}

// Only a cell number out of range is outside: beyond the box's sides an
// object lands in a cell at the other side, far from its triangles.
TEST_F(CollisionMapTest, BeyondTheSidesObjectsWrapIntoOtherCellsAndMoveOn) {
    Body* walker = place(true, {-90, 0, 0});
    EXPECT_EQ(map->axisBeyondGrids(walker->centre), -1);
    move(walker, {-40, 0, 0});
    EXPECT_EQ(map->axisBeyondGrids(walker->centre), 0) << "beyond the first column";
    EXPECT_TRUE(walker->touched.empty());
    EXPECT_EQ(walker->position.x, -130.0f) << "the move stands";
    EXPECT_NE(walker->collisionCells[0], nullptr);
    EXPECT_EQ(map->axisBeyondGrids({0, 150, 0}), 1);
    EXPECT_EQ(map->axisBeyondGrids({0, 4, 115}), 2) << "beyond the offset grid's last row";
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
    captureStdout();
    map->fileInCell(nullptr, &map->cells[0][0], 0);
    const std::string out = capturedStdout();
    EXPECT_TRUE(isWithLineNumber(out, " CollisionMap.cpp ", " - fatal error \n")) << out;
    Body* filed = place(true, {0, 0, 0});
    filed->cellIndices[0] = 7;  // past the end of its cell's list
    EXPECT_EXIT(map->removeObject(filed), ::testing::ExitedWithCode(100), "");
}

TEST_F(CollisionMapTest, WorldFilesCollidingObjectsAndRoutesTheirMoves) {
    auto* world = new World(nullptr);
    world->setCollisionMap(std::move(map));
    auto* a = new Body(world, body.get(), true);
    auto* b = new Body(world, body.get(), true);
    auto* ghost = new Body(world, body.get(), true);
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
