// The model budget's search: the worst fight over many characters and skins.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "FightModelCount.h"

namespace {

// `count` characters of `skins` skins each, every file their own.
std::vector<CharacterInfo> characters(int count, int skins) {
    std::vector<CharacterInfo> out(count);
    for (int c = 0; c < count; ++c) {
        CharacterInfo& info = out[c];
        info.skinCount = skins;
        const std::string id = "m" + std::to_string(c);
        auto set = [&](char* field, const char* suffix) {
            std::snprintf(field, INFO_TEXT_SIZE, "%s%s", id.c_str(), suffix);
        };
        set(info.skinTexturePattern, "_skin%d.bmp");
        set(info.armModelPattern, "_arms%d.3ds");
        set(info.standModelName, "_stand3");
        set(info.walkModelName, "_walk3");
        set(info.strafeModelName, "_strafe3");
        set(info.diagonalModelName, "_strafe3");
        set(info.deathModelName, "_death3");
        set(info.extraModelName, "_gear.3ds");
    }
    return out;
}

// Arguments: characters, skins each.
void BM_WorstFight(benchmark::State& state) {
    const std::vector<CharacterInfo> table =
        characters(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    MapInfo map;
    std::snprintf(map.levelModel, INFO_TEXT_SIZE, "level.3ds");
    std::snprintf(map.groundModel, INFO_TEXT_SIZE, "noground");
    std::snprintf(map.roofModel, INFO_TEXT_SIZE, "noroof");
    std::snprintf(map.skyTexture, INFO_TEXT_SIZE, "nosky");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            worstModelFight(map, table.data(), static_cast<int>(table.size())).total);
}
BENCHMARK(BM_WorstFight)
    ->Args({3, 3})
    ->Args({20, 8})
    ->Args({100, 16})
    ->Unit(benchmark::kMillisecond);

}  // namespace
