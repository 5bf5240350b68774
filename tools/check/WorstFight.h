// The worst fight for a table of limited capacity (models, texture slots, mesh elements): the
// choice of creatures' looks that fills it the most.
#pragma once

#include <functional>
#include <vector>

#include "CharacterInfo.h"
#include "ModelKey.h"

// One creature's look: a character (index into the character table) and one of its skins (0-based).
struct CharacterSkin {
    int character = 0;
    int skin = 0;
};

// Looks of one character beyond this many skins are not counted (a fight
// shows seven at most, and further skins differ only in their texture name).
constexpr int MAX_COUNTED_SKINS = 64;

// What a table holds is numbered items with a weight each; a look asks for some.
struct LookItems {
    CharacterSkin look;
    bool playerMay = true;  // the player may choose it (the computer may choose any)
    std::vector<int> items;
};

struct WorstFight {
    struct Look {
        int character = 0;
        int skin = 0;
        long long adds = 0;  // weight this look adds to the base and the looks before it
    };
    long long total = 0;  // the table's fill once every creature of the fight is in
    long long base = 0;   // of which the base's: what every fight on the map asks for
    // The distinct looks of that fight, each adding as much as it can to the
    // ones before it; empty when the player can choose no look (no fight).
    std::vector<Look> looks;
    bool exact = true;  // false when the search stopped at its step limit
};

// Nodes the search visits before it settles for the best fight found so far.
constexpr long long WORST_FIGHT_STEPS = 20000000;

// Items asked for more than once count once. A fight has `creatures`
// creatures, one of them the player, and may repeat a look, so at most that
// many distinct looks matter. Exact by a branch and bound over the looks,
// unless it needs more than maxSteps nodes.
WorstFight findWorstFight(const std::vector<long long>& weights, const std::vector<int>& base,
                          const std::vector<LookItems>& looks, int creatures,
                          long long maxSteps = WORST_FIGHT_STEPS);

// Every look the game can give: each character with each of its skins (the
// first MAX_COUNTED_SKINS), and skin 0 of a character without skins, which
// only computer creatures wear. addItems(request, items) adds the items of
// each model request of the look.
std::vector<LookItems> everyLook(
    const CharacterInfo* characters, int count,
    const std::function<void(const ModelRequest&, std::vector<int>&)>& addItems);
