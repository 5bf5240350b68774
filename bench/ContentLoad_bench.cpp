// Load costs of the default content: a map's collision grids and a character's animation keys.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "ChunkReader.h"
#include "CollisionMap.h"
#include "DataLocator.h"
#include "Entity.h"
#include "Mesh.h"
#include "Model.h"

namespace {

// The default content's files as the game finds them (the compiled-in data folder).
bool importData(Mesh& mesh, const char* name) {
    char path[DATA_NAME_SIZE] = {};
    std::snprintf(path, sizeof path, "%s", name);
    if (!locateDataFile(path, true) || !ChunkReader::import(mesh, path)) return false;
    mesh.computeBounds();
    return true;
}

// Building both grids of 20-unit cells from a map's collision model, as a fight's load does.
void BM_DefaultCollisionGrids(benchmark::State& state, const char* collisionModel) {
    Mesh mesh;
    if (!importData(mesh, collisionModel)) {
        state.SkipWithError("the default content is not built");
        return;
    }
    for (auto _ : state) {
        CollisionMap map({20, 20, 20}, mesh);
        benchmark::DoNotOptimize(map.cellCount[0]);
    }
    state.counters["triangles"] = mesh.triangleCount;
}
BENCHMARK_CAPTURE(BM_DefaultCollisionGrids, arena, "arena_col.3ds")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultCollisionGrids, bunker, "bunker_col.3ds")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultCollisionGrids, canyon, "canyon_col.3ds")
    ->Unit(benchmark::kMillisecond);

struct Walker : Entity {
    using Entity::Entity;
    bool onCollision(Entity*) override { return true; }
};

// One creature-sized entity pacing 3 units either side of the start point
// (0, 0, -50) of a default map: the per-move cost a fight pays for each creature.
void BM_DefaultMapResolveMove(benchmark::State& state, const char* collisionModel) {
    Mesh mesh;
    if (!importData(mesh, collisionModel)) {
        state.SkipWithError("the default content is not built");
        return;
    }
    CollisionMap map({20, 20, 20}, mesh);
    Model body;  // the collision body's box: 4 wide, 8 tall, origin at the feet
    body.boundsMin = {-2, 0, -2};
    body.boundsMax = {2, 8, 2};
    body.centre = {0, 4, 0};
    Walker walker(nullptr, &body);
    walker.position = {0, 0, -50};
    walker.centre = {0, 4, -50};
    map.insertObject(&walker);
    float step = 0.05f;
    for (auto _ : state) {
        walker.previousPosition = walker.position;
        walker.position.x += step;
        if (walker.position.x > 3 || walker.position.x < -3) step = -step;
        walker.centre = {walker.position.x, 4, walker.position.z};
        map.resolveMove(&walker);
    }
    const CollisionCell* cell = walker.collisionCells[0];
    state.counters["cellTriangles"] = cell ? cell->triangleCount : -1;
    map.removeObject(&walker);
}
BENCHMARK_CAPTURE(BM_DefaultMapResolveMove, arena, "arena_col.3ds");
BENCHMARK_CAPTURE(BM_DefaultMapResolveMove, bunker, "bunker_col.3ds");
BENCHMARK_CAPTURE(BM_DefaultMapResolveMove, canyon, "canyon_col.3ds");

// Reading one character's walk keys and building their normals and bounds:
// an animated model reads its first key once more for every frame.
void BM_DefaultWalkKeys(benchmark::State& state) {
    for (auto _ : state) {
        for (const char* key :
             {"pelmo_walk1.3ds", "pelmo_walk2.3ds", "pelmo_walk3.3ds", "pelmo_walk4.3ds"}) {
            Mesh mesh;
            if (!importData(mesh, key)) {
                state.SkipWithError("the default content is not built");
                return;
            }
            mesh.computeNormals();
            benchmark::DoNotOptimize(mesh.triangleCount);
        }
    }
}
BENCHMARK(BM_DefaultWalkKeys)->Unit(benchmark::kMicrosecond);

}  // namespace
