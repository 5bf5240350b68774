// Tileable value noise: the same lattice repeats every `period` cells, so textures tile seamlessly.
#include "Noise.h"

#include <cmath>

namespace {

int wrap(int v, int period) {
    const int m = v % period;
    return m < 0 ? m + period : m;
}

float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace

float latticeValue(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

float valueNoise(float x, float y, int period, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = smooth(x - fx), ty = smooth(y - fy);
    const int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
    const int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
    const float a = latticeValue(x0, y0, seed), b = latticeValue(x1, y0, seed);
    const float c = latticeValue(x0, y1, seed), d = latticeValue(x1, y1, seed);
    const float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float fractalNoise(float x, float y, int period, int octaves, float gain, uint32_t seed) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += valueNoise(x, y, period, seed + static_cast<uint32_t>(o) * 101u) * weight;
        total += weight;
        weight *= gain;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
    }
    return sum / total;
}
