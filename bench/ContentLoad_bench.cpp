// Load costs of the default content: a map's collision grids and a character's animation keys.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "ChunkReader.h"
#include "CollisionMap.h"
#include "DataLocator.h"
#include "Mesh.h"

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
