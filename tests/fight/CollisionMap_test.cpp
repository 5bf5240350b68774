// The collision map: grid dimensions and the cell budget at its limit, cell numbering, triangle
// distribution (also of broken triangles) and refused grids; resolving moves: swap-removal,
// whole-number box contacts, momentum exchange, the level, grid edges; misuse and corrupt lists.
#include "CollisionMap.h"

#include <cstring>
#include <functional>
#include <sstream>

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

// Appends a triangle's corners, coordinate by coordinate, as bit patterns (a
// corner that is not a number is the same corner).
void append(std::vector<uint32_t>& out, const Vec3* corners) {
    for (int i = 0; i < 3; ++i)
        for (float f : {corners[i].x, corners[i].y, corners[i].z}) {
            uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            out.push_back(bits);
        }
}

// The distribution rule taken literally: cell n asks every object and every face.
std::vector<uint32_t> cellByCell(const CollisionMap& map, const Mesh& mesh, int grid, int n) {
    const float r = float(double(length(map.cellSize)) * 0.3333333432674408);
    const int column = n % map.columns, layer = n / map.layerSize, row = n / map.columns % map.rows;
    const Vec3 o = map.gridOrigin[grid], s = map.cellSize;
    const Vec3 c{float(o.x + (column + 0.5) * s.x), float(o.y + (layer + 0.5) * s.y),
                 float(o.z + (row + 0.5) * s.z)};
    std::vector<uint32_t> out;
    for (const MeshObject& ob : mesh.objects) {
        const Vec3 lo = ob.boundsMin, hi = ob.boundsMax;
        if (!(lo.x - r <= c.x && c.x <= hi.x + r && lo.y - r <= c.y && c.y <= hi.y + r &&
              lo.z - r <= c.z && c.z <= hi.z + r))
            continue;
        for (size_t f = 0; f + 2 < ob.faces.size(); f += 3) {
            const size_t n = ob.vertices.size();
            if (ob.faces[f] >= n || ob.faces[f + 1] >= n || ob.faces[f + 2] >= n) continue;
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
            std::vector<uint32_t> actual;
            for (int i = 0; i < cell.triangleCount; ++i)
                append(actual, map.cellTriangle(cell, i).corners);
            ASSERT_EQ(actual, cellByCell(map, mesh, grid, n)) << "grid " << grid << " cell " << n;
        }
}

// A refused map: no grid, no cells, nothing found at `inside`.
void expectEmpty(const CollisionMap& map, Vec3 inside) {
    EXPECT_TRUE(map.empty());
    EXPECT_EQ((Ints{map.columns, map.rows, map.cellCount[0], map.cellCount[1]}),
              (Ints{0, 0, 0, 0}));
    EXPECT_EQ(map.locateCell(inside, 0), nullptr);
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
    // What a body touched since last asked, in order ("level" for null, "body" otherwise).
    static std::string touches(Body* b) {
        std::string out;
        for (const Entity* e : b->touched) out += e == nullptr ? "level " : "body ";
        b->touched.clear();
        return out;
    }
    // Moves by d as an entity update would and resolves the move: where the body is, what it
    // touched, how its centre stands.
    std::string move(Body* b, Vec3 d) {
        b->previousPosition = b->position;
        b->position = add(b->position, d);
        b->centre = {b->position.x, b->position.y + 4, b->position.z};
        map->resolveMove(b);
        const char* const standing[] = {"free", "outside", "touching"};
        return str(b->position) + ", " + touches(b) + standing[int(map->standingAt(b->centre))];
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
    EXPECT_EQ((Ints{map.columns, map.rows, map.cellCount[0], map.cellCount[1]}),
              (Ints{6, 4, 72, 72}));
    auto number = [&](Vec3 offset, int grid) {
        return map.cellNumber(map.locateCell(add(low, offset), grid), grid);
    };
    // The offset grid; past the last column is column 0 of the next row; truncated toward zero.
    EXPECT_EQ((Ints{number({25, 45, 5}, 0), number({15, 15, 15}, 1), number({125, 5, 25}, 0),
                    number({5, -15, 5}, 0)}),
              (Ints{49, 1 + 6 + 24, 2 * 6, 0}))
        << "aligned, offset, past the last column, less than a cell below";
    for (Vec3 outside : {add(low, {5, -25, 5}), Vec3{NAN, 0, 0}, {1e30f, 0, 0}})
        EXPECT_EQ(map.locateCell(outside, 0), nullptr) << str(outside);
    for (int grid : {-1, 2}) EXPECT_EQ(map.locateCell(low, grid), nullptr) << "grid " << grid;
}

// A million cells per grid, along one axis or as a product (999 x 999, but not 101 x 9901),
// and no more; a negative extent or a cell edge that is not positive gives none.
TEST(CollisionMapBuild, AGridHoldsAtMostAMillionCells) {
    // Columns: level extent along x, y and z in cells of 1 x 1 x 1; cells per grid.
    const double rows[][4] = {{999999, 0, 0, 1e6}, {1e6, 0, 0, 0},      {0, 999999, 0, 1e6},
                              {0, 1e6, 0, 0},      {0, 0, 999999, 1e6}, {0, 0, 1e6, 0},
                              {999, 0, 999, 1e6},  {100, 0, 9900, 0},   {0, 0, 0, 1},
                              {0, -1, 0, 0},       {0, 0, -1, 0}};
    for (const auto& [x, y, z, cells] : rows) {
        Mesh box;
        box.boundsMax = {float(x), float(y), float(z)};
        EXPECT_EQ(collisionFigures(box, {1, 1, 1}).cellsPerGrid, int64_t(cells))
            << "extent " << x << " " << y << " " << z;
    }
    for (Vec3 cell : {Vec3{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}})
        EXPECT_EQ(collisionFigures(Mesh(), cell).cellsPerGrid, 0)
            << "cell " << cell.x << " " << cell.y << " " << cell.z;
}

// Broken triangles too: a corner not finite, corners so far apart that their
// distance is not, faces naming a vertex past the object's, an object box not a number.
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
    mesh.objects[1].boundsMin.y = NAN;
    std::vector<Vec3> broken;
    for (Vec3 bad : {Vec3{NAN, 0, 0}, {0, INFINITY, 0}, {0, 0, -INFINITY}})
        broken.insert(broken.end(), {bad, {9, 0, 0}, {0, 0, 9}});
    broken.insert(broken.end(), {{-3e38f, 0, 0}, {3e38f, 0, 0}, {0, 0, 3e38f}});
    broken.insert(broken.end(), {{0, 1, 0}, {9, 1, 0}, {0, 1, 9}});
    addObject(mesh, broken);
    mesh.objects[3].faces.insert(mesh.objects[3].faces.end(), {15, 12, 13, 12, 15, 13, 12, 13, 15});
    mesh.objects[3].boundsMin = mesh.objects[0].boundsMin;
    mesh.objects[3].boundsMax = mesh.objects[0].boundsMax;
    const CollisionMap built({17, 13, 23}, mesh);
    expectCellByCellDistribution(built, mesh);
    const CollisionFigures figures = collisionFigures(mesh, {17, 13, 23});
    EXPECT_EQ(figures.cellsPerGrid, built.cellCount[0]);
    EXPECT_EQ(figures.filings, int64_t(built.filings.size()));
    EXPECT_EQ(built.triangles.size(), 3u * 41 + 5) << "the faces naming no vertex left out";

    // Seen from 60 units beside the middle of a 40000-unit edge the angle sum is
    // within 1 % of a full turn: that cell gets the triangle although it is
    // farther than the radius, as the rule taken literally says.
    Mesh thin;
    const Vec3 low{-20000, -20, -100}, high{20000, 20, 100};
    addObject(thin, {low, low, low, {-20000, 0, 0}, {20000, 0, 0}, {0, 0, 1}, high, high, high});
    thin.computeBounds();
    CollisionMap map({20, 20, 20}, thin);
    expectCellByCellDistribution(map, thin);
}

// Each box with the level's extent and the cell size in the message.
TEST(CollisionMapBuild, UnusableBoxesGiveAnEmptyMap) {
    // Columns: level box, cell edge along x (20 along y and z), the extent the message gives.
    const std::tuple<Vec3, Vec3, int, const char*> cases[] = {
        {{10, 0, 0}, {-10, 5, 5}, 20, "(-20, 5, 5)"},
        {{NAN, 0, 0}, {10, 10, 10}, 20, "(nan, 10, 10)"},
        {{0, 0, 0}, {2e4f, 2e4f, 2e4f}, 20, "(20000, 20000, 20000)"},
        {{0, 0, 0}, {10, 10, 10}, 0, "(10, 10, 10)"}};
    for (const auto& [low, high, edge, extent] : cases) {
        Mesh mesh;
        mesh.boundsMin = low;
        mesh.boundsMax = high;
        captureStderr();
        CollisionMap map({float(edge), 20, 20}, mesh, "box.3ds");
        EXPECT_EQ(capturedStderr(), std::string("Collision map box.3ds: level box ") + extent +
                                        " with cells (" + std::to_string(edge) +
                                        ", 20, 20) gives no usable grid, no collisions built\n");
        expectEmpty(map, {0, 0, 0});
    }
    captureStderr();
    EXPECT_TRUE(CollisionMap(20, 20, 20, "no_such_level.3ds").empty());
    EXPECT_TRUE(CollisionMap(20, 20, 20, nullptr).empty());
    EXPECT_EQ(capturedStderr(),
              "Unable to locate file no_such_level.3ds\nCollision map: cannot load level model "
              "no_such_level.3ds, no collisions built\nCollision map: cannot load level model "
              "(none), no collisions built\n");
}

// The figure is a sum over triangles: copies of a large floor and of a speck
// tested against one cell of each grid make exactly the budget, one more speck
// goes one past it. A model over it is refused before anything is tested.
TEST(CollisionMapBuild, TheBuildTakesAtMostFourMillionCellTests) {
    const Vec3 cell{20, 20, 20};
    auto level = [](int64_t floors, int64_t specks) {
        std::vector<Vec3> corners;
        for (int64_t i = 0; i < floors; ++i)
            corners.insert(corners.end(), {{0, 0, 0}, {2000, 0, 0}, {0, 0, 2000}});
        for (int64_t i = 0; i < specks; ++i)
            corners.insert(corners.end(), {{5, 5, 5}, {6, 5, 5}, {5, 5, 6}});
        auto mesh = std::make_unique<Mesh>();
        addObject(*mesh, corners);
        mesh->computeBounds();
        return mesh;
    };
    const int64_t perFloor = collisionFigures(*level(1, 0), cell).cellTests;
    ASSERT_EQ(collisionFigures(*level(1, 1), cell).cellTests - perFloor, 2);
    int64_t floors = MAX_COLLISION_CELL_TESTS / perFloor - 1;
    if ((MAX_COLLISION_CELL_TESTS - floors * perFloor) % 2 != 0) --floors;
    const int64_t specks = (MAX_COLLISION_CELL_TESTS - floors * perFloor) / 2;
    const std::unique_ptr<Mesh> atBudget = level(floors, specks), past = level(floors, specks + 1);
    ASSERT_EQ(collisionFigures(*atBudget, cell).cellTests, MAX_COLLISION_CELL_TESTS);
    EXPECT_FALSE(CollisionMap(cell, *atBudget).empty());
    EXPECT_NE(collisionFigures(*atBudget, cell).filings, -1);
    captureStderr();
    CollisionMap map(cell, *past, "floors.3ds");
    EXPECT_EQ(capturedStderr(),
              "Collision map floors.3ds: building needs 4000002 triangle-in-cell tests, more than "
              "the 4000000 allowed; no collisions built\n");
    expectEmpty(map, {10, 0, 10});
    EXPECT_EQ(collisionFigures(*past, cell).filings, -1);
}

TEST_F(CollisionMapTest, BoxesTouchByWholeNumbersAndBlockingMovesExchangeMomentumOnce) {
    Body* still = place(true, {0, 0, -3});  // off z = 0: a sum of z would set them apart
    Body* mover = place(true, {10, 0, -3});
    still->halfExtents = mover->halfExtents = {1.95f, 4, 2};  // x sum 3.9 counts as 3
    EXPECT_EQ(move(mover, {-6.3f, 0, 0}), "3.70 0.00 -3.00, free") << "3.7 apart counts as 3";
    still->mass = 2;
    still->velocity = {0, 0, 1};
    mover->velocity = {-1, 0, 0};
    EXPECT_EQ(move(mover, {-1, 0, 0}), "3.70 0.00 -3.00, body body free")
        << "undone; touched once per grid holding both";
    EXPECT_EQ(touches(still) + str(mover->centre) + ", " + str(mover->impulse) + ", " +
                  str(still->impulse),
              "body body 2.70 4.00 -3.00, 0.00 0.00 2.00, -0.50 0.00 0.00")
        << "the partner's contacts, the mover's centre (not moved back), impulses (assigned: "
           "the partner's velocity times its mass ratio)";
    EXPECT_EQ(length(mover->velocity) + length(still->velocity), 0.0f);
    // A dead partner still blocks but takes no momentum.
    still->dead = 1;
    mover->velocity = {-1, 0, 0};
    EXPECT_EQ(move(mover, {-1, 0, 0}), "3.70 0.00 -3.00, body body free");
    EXPECT_FLOAT_EQ(mover->velocity.x, -1);
}

TEST_F(CollisionMapTest, NonBlockingContactLetsTheMoveStandAndRefilesAndBoxesApartAreNotTouched) {
    Body* creature = place(true, {0, 0, 0});
    Body* shot = place(false, {3, 0, 25});
    shot->velocity = {0, 0, -1};
    CollisionCell* before = shot->collisionCells[0];
    EXPECT_EQ(move(shot, {-2, 0, -25}), "1.00 0.00 0.00, body body free") << "the move stands";
    EXPECT_EQ(touches(creature) + str(shot->velocity), "body body 0.00 0.00 -1.00")
        << "both handlers are called; the shot keeps its speed";
    EXPECT_TRUE(shot->collisionCells[0] == creature->collisionCells[0] && before->objectCount == 0)
        << "refiled from its cell into the creature's";
    // A blocking mover passes a shot too; bodies overlapping in x but apart in y
    // (9 from 8) or in z (4.5 from 4) are not touched.
    Body* above = place(true, {1, 9, 0});
    Body* beside = place(true, {1, 0, 5});
    EXPECT_EQ(move(creature, {0, 0, 0.5f}), "0.00 0.00 0.50, body body free");
    EXPECT_EQ(above->touched.size() + beside->touched.size(), 0u);
}

TEST_F(CollisionMapTest, LevelAndGridEdgesAreWallsBeyondTheSidesObjectsMoveOnAndOutliveTheirMap) {
    Body* walker = place(true, {47, 0, 0});
    // The centre 1.5 from the wall, then 0.5: a sphere of radius 1 touches; the centre stays
    // where the move was undone. The next move starts without the last contact.
    EXPECT_EQ(move(walker, {1.5f, 0, 0}), "48.50 0.00 0.00, free");
    EXPECT_EQ(move(walker, {1, 0, 0}), "48.50 0.00 0.00, level touching");
    EXPECT_EQ(move(walker, {-1, 0, 0}), "47.50 0.00 0.00, free");
    EXPECT_EQ(move(walker, {0, -150, 0}), "47.50 0.00 0.00, level level outside");
    CollisionMap(Vec3{20, 20, 20}).resolveMove(walker);  // no level: nowhere to go
    EXPECT_EQ(touches(walker), "level level ");

    // Only a cell number out of range is outside: beyond the box's sides an
    // object lands in a cell at the other side, far from its triangles.
    walker = place(true, {-90, 0, 0});
    EXPECT_EQ(map->axisBeyondGrids(walker->centre), -1);
    EXPECT_EQ(move(walker, {-40, 0, 0}), "-130.00 0.00 0.00, free") << "the move stands";
    EXPECT_NE(walker->collisionCells[0], nullptr);
    EXPECT_EQ((Ints{map->axisBeyondGrids(walker->centre), map->axisBeyondGrids({0, 150, 0}),
                    map->axisBeyondGrids({0, 4, 115})}),
              (Ints{0, 1, 2}))
        << "beyond the first column, the top layer, the offset grid's last row";

    // An object filed in a second map keeps that filing when the first goes; cells
    // of another map, of an empty one or past the last are not a map's to change.
    Body* kept = place(true, {0, 0, 0});
    CollisionMap other(Vec3{20, 20, 20}, mesh);
    other.insertObject(kept);
    map.reset();
    EXPECT_EQ(kept->collisionCells[0], other.locateCell(kept->centre, 0));
    other.removeObject(kept);
    EXPECT_EQ(kept->collisionCells[0], nullptr);
    kept->collisionCells[0] = &other.cells[0][0];
    kept->cellIndices[0] = 5;
    CollisionMap third(Vec3{20, 20, 20}, mesh);
    third.removeObject(kept);
    CollisionMap(Vec3{20, 20, 20}).removeObject(kept);
    kept->collisionCells[0] = third.cells[0].get() + third.cellCount[0];
    third.removeObject(kept);
    EXPECT_EQ(other.cells[0][0].objects.size(), 0u);
}

// Null objects are reported (by fileInCell and, for each grid, unfileFromCell) or
// ignored; an object is not filed twice in one cell. Each corruption of a cell
// list found while unfiling ends the program; a sound one is kept dense by moving its last
// entry into the hole.
TEST_F(CollisionMapTest, MisuseIsReportedAndACorruptListEndsTheProgram) {
    Body* filed = place(true, {0, 0, 0});
    Body* other = place(true, {1, 0, 1});
    CollisionCell* cell = filed->collisionCells[0];
    captureStdout();
    map->fileInCell(nullptr, cell, 0);
    map->removeObject(nullptr);
    map->insertObject(nullptr);
    map->resolveMove(nullptr);
    map->fileInCell(filed, cell, 0);
    std::istringstream out(capturedStdout());
    int reports = 0;
    for (std::string line; std::getline(out, line); ++reports)
        EXPECT_TRUE(isWithLineNumber(line + "\n", " CollisionMap.cpp ", " - fatal error \n"))
            << line;
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(cell->objects, (std::vector<Entity*>{filed, other}));
    const std::function<void()> corruptions[] = {
        [&] { filed->cellIndices[0] = 2; },  // one past the list
        [&] { filed->cellIndices[0] = -1; }, [&] { cell->objects[0] = other; },
        [&] { cell->objects[1] = nullptr; },  // the entry that would fill the hole
    };
    for (const auto& corrupt : corruptions)  // corrupted, then unfiled
        EXPECT_EXIT((corrupt(), map->removeObject(filed)), ::testing::ExitedWithCode(100), "");
    map->removeObject(filed);
    map->removeObject(filed);  // a second removal takes nobody's entry
    EXPECT_EQ(cell->objects, std::vector<Entity*>{other});
    EXPECT_EQ(other->cellIndices[0], 0) << "the last entry fills the hole";
}

TEST_F(CollisionMapTest, WorldFilesCollidingObjectsAndRoutesTheirMoves) {
    auto* world = new World(nullptr);
    world->setCollisionMap(std::move(map));
    auto* a = new Body(world, body.get(), true);
    auto* b = new Body(world, body.get(), true);
    auto* ghost = new Body(world, body.get(), true);
    ghost->kindFlags = 0;  // takes no part in collisions
    auto* shapeless = new WorldObject(world);
    shapeless->kindFlags = WorldObject::COLLIDES;  // not an entity: nothing to file
    for (WorldObject* each : std::vector<WorldObject*>{a, b, ghost, shapeless})
        world->addObject(each);
    ASSERT_NE(a->collisionCells[0], nullptr);
    EXPECT_EQ(a->collisionCells[0]->objectCount, 2);
    EXPECT_EQ(ghost->collisionCells[0], nullptr);
    shapeless->kill();
    b->position = {3, 0, 0};
    b->update();
    EXPECT_EQ(b->touched, (std::vector<Entity*>{a, a}));
    a->kill();
    world->update(0);
    EXPECT_EQ(b->collisionCells[0]->objectCount, 1);
    captureOutput([&] { delete world; });
}
