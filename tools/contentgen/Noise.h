// Tileable value noise: the same lattice repeats every `period` cells, so textures tile seamlessly.
#pragma once

#include <cstdint>

// Smooth noise in [0, 1] at (x, y) in lattice cells; period > 0 cells.
float valueNoise(float x, float y, int period, uint32_t seed);
// Sum of octaves, each twice the frequency and `gain` times the weight of the
// one before; normalised to [0, 1].
float fractalNoise(float x, float y, int period, int octaves, float gain, uint32_t seed);
// Hash of a lattice point to [0, 1).
float latticeValue(int x, int y, uint32_t seed);
