// Cost of reading a level-sized 3DS file and building its normals and bounds.
#include <benchmark/benchmark.h>

#include "ChunkReader.h"
#include "Mesh.h"
#include "TdsWriter.h"

namespace {

// A grid of objects, each a 100 x 100 vertex sheet: 20 objects, 200k vertices,
// about 390k triangles.
std::vector<uint8_t> levelFile() {
    TdsScene scene;
    scene.materials = {{"ground", "ground.bmp", {}}};
    for (int o = 0; o < 20; ++o) {
        TdsObject object;
        object.name = "sheet" + std::to_string(o);
        for (int i = 0; i < 100; ++i)
            for (int j = 0; j < 100; ++j) {
                object.vertices.push_back({float(i + 100 * o), float(j), float((i * j) % 7)});
                object.uvs.push_back(float(i) / 99.0f);
                object.uvs.push_back(float(j) / 99.0f);
            }
        for (uint16_t i = 0; i < 99; ++i)
            for (uint16_t j = 0; j < 99; ++j) {
                const uint16_t a = uint16_t(i * 100 + j), b = uint16_t(a + 1),
                               c = uint16_t(a + 100), d = uint16_t(c + 1);
                object.faces.insert(object.faces.end(), {a, b, c, b, d, c});
            }
        object.groups = {{"ground", {0}}};
        scene.objects.push_back(object);
    }
    return writeTds(scene);
}

void importLevel(benchmark::State& state) {
    const std::vector<uint8_t> bytes = levelFile();
    for (auto _ : state) {
        Mesh mesh;
        ChunkReader::importMemory(mesh, bytes.data(), bytes.size(), "level");
        benchmark::DoNotOptimize(mesh.objects.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(importLevel)->Unit(benchmark::kMillisecond);

void buildNormalsAndBounds(benchmark::State& state) {
    const std::vector<uint8_t> bytes = levelFile();
    Mesh mesh;
    ChunkReader::importMemory(mesh, bytes.data(), bytes.size(), "level");
    for (auto _ : state) {
        mesh.computeNormals();
        mesh.computeBounds();
        benchmark::DoNotOptimize(mesh.radius);
    }
    state.counters["triangles"] = mesh.triangleCount;
}
BENCHMARK(buildNormalsAndBounds)->Unit(benchmark::kMillisecond);

}  // namespace
