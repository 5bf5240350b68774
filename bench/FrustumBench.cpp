// Cost of the view-frustum tests run for every object and model each frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "Angles.h"
#include "ViewFrustum.h"

namespace {

// The start-up camera (45 degrees, 4:3, near 1, far 250) at the origin facing -z.
ViewFrustum startupView() {
    const float f = 1.0f / std::tan(22.5f * float(PI) / 180.0f);
    const float p[16] = {f * 0.75f,        0, 0, 0, 0, f, 0, 0, 0, 0, -251.0f / 249.0f, -1, 0, 0,
                         -500.0f / 249.0f, 0};
    const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    ViewFrustum view;
    view.setFromMatrices(p, m);
    return view;
}

// 3000 boxes of 4 units scattered over a 600-unit square around the camera:
// most are outside, as in a fight seen from one creature.
std::vector<float> scatteredBoxes() {
    std::vector<float> corners;
    std::srand(7);
    for (int i = 0; i < 3000; ++i) {
        const float x = float(std::rand() % 600 - 300), z = float(std::rand() % 600 - 300);
        corners.insert(corners.end(), {x, -2, z, x + 4, 2, z + 4});
    }
    return corners;
}

void BM_BoxInFrustum3000(benchmark::State& state) {
    const ViewFrustum view = startupView();
    const std::vector<float> c = scatteredBoxes();
    int visible = 0;
    for (auto _ : state) {
        visible = 0;
        for (size_t i = 0; i < c.size(); i += 6)
            visible += view.boxInFrustum(c[i], c[i + 1], c[i + 2], c[i + 3], c[i + 4], c[i + 5]);
        benchmark::DoNotOptimize(visible);
    }
    state.counters["visible"] = visible;
    state.SetItemsProcessed(state.iterations() * 3000);
}
BENCHMARK(BM_BoxInFrustum3000);

void BM_PointInFrustum3000(benchmark::State& state) {
    const ViewFrustum view = startupView();
    const std::vector<float> c = scatteredBoxes();
    for (auto _ : state) {
        int visible = 0;
        for (size_t i = 0; i < c.size(); i += 6) visible += view.pointInFrustum(c[i], 0, c[i + 2]);
        benchmark::DoNotOptimize(visible);
    }
    state.SetItemsProcessed(state.iterations() * 3000);
}
BENCHMARK(BM_PointInFrustum3000);

}  // namespace
