// Collision map costs: building from a generated level, and one entity move in a busy cell.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "CollisionMap.h"
#include "Entity.h"
#include "Mesh.h"
#include "Model.h"

namespace {
// Rolling terrain of size x size quads (two triangles each), 3 units per quad,
// cut into objects of 16 x 16 quads like a modelled level, plus a box margin.
void buildTerrain(Mesh& mesh, int size) {
    constexpr int TILE = 16;
    constexpr float STEP = 3.0f;
    const float half = size * STEP * 0.5f;
    auto height = [](float x, float z) { return 6.0f * std::sin(x * 0.05f) * std::cos(z * 0.07f); };
    for (int tz = 0; tz < size; tz += TILE) {
        for (int tx = 0; tx < size; tx += TILE) {
            MeshObject object;
            const int w = std::min(TILE, size - tx), d = std::min(TILE, size - tz);
            for (int z = 0; z <= d; ++z) {
                for (int x = 0; x <= w; ++x) {
                    const float px = (tx + x) * STEP - half, pz = (tz + z) * STEP - half;
                    object.vertices.push_back({px, height(px, pz) - 10.0f, pz});
                }
            }
            for (int z = 0; z < d; ++z) {
                for (int x = 0; x < w; ++x) {
                    const uint32_t a = z * (w + 1) + x, b = a + 1, c = a + (w + 1), e = c + 1;
                    object.faces.insert(object.faces.end(), {a, c, b, b, c, e});
                }
            }
            mesh.objects.push_back(std::move(object));
        }
    }
    MeshObject margin;  // the play space reaches 40 units above the ground
    margin.vertices = {{-half, -30, -half}, {half, 40, half}, {half, 40, half}};
    margin.faces = {0, 1, 2};
    mesh.objects.push_back(std::move(margin));
    mesh.computeBounds();
}

void BM_CollisionMapBuild(benchmark::State& state) {
    Mesh level;
    buildTerrain(level, 224);  // 100,352 terrain triangles
    for (auto _ : state) {
        CollisionMap map({20, 20, 20}, level);
        benchmark::DoNotOptimize(map.cells[0].get());
    }
    state.counters["triangles"] = level.objects.size() > 0 ? double(224 * 224 * 2) : 0;
}
BENCHMARK(BM_CollisionMapBuild)->Unit(benchmark::kMillisecond)->Iterations(3);

struct Blocker : Entity {
    using Entity::Entity;
    bool onCollision(Entity*) override { return true; }
};

// One entity walking back and forth in a cell (over the terrain's triangles)
// where the given number of entities stand just out of its reach.
void BM_ResolveMove(benchmark::State& state) {
    Mesh level;
    buildTerrain(level, 64);
    CollisionMap map({20, 20, 20}, level);
    Model body;
    body.boundsMin = {-2, 0, -2};
    body.boundsMax = {2, 8, 2};
    body.centre = {0, 4, 0};
    std::vector<std::unique_ptr<Blocker>> crowd;
    for (int i = 0; i < state.range(0); ++i) {
        crowd.push_back(std::make_unique<Blocker>(nullptr, &body));
        Blocker& b = *crowd.back();
        b.position = {-15.0f + float(i % 8) * 2.3f, 0, 17.0f + float(i / 8 % 3)};
        b.centre = {b.position.x, 4, b.position.z};
        map.insertObject(&b);
    }
    Blocker mover(nullptr, &body);
    mover.position = {-6, 0, 10};
    mover.centre = {-6, 4, 10};
    map.insertObject(&mover);
    float step = 0.01f;
    for (auto _ : state) {
        mover.previousPosition = mover.position;
        mover.position.x += step;
        if (std::fabs(mover.position.x + 6) > 3) step = -step;
        mover.centre = {mover.position.x, 4, 10};
        map.resolveMove(&mover);
    }
    CollisionCell* cell = mover.collisionCells[0];
    state.counters["cellObjects"] = cell ? cell->objectCount : -1;
    state.counters["cellTriangles"] = cell ? cell->triangleCount : -1;
    map.removeObject(&mover);
    for (auto& b : crowd) map.removeObject(b.get());
}
BENCHMARK(BM_ResolveMove)->Arg(0)->Arg(8)->Arg(32)->Unit(benchmark::kNanosecond);
}  // namespace
