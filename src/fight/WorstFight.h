// The most model slots a fight on a map can need: the game's own models, the map's, and those of
// the costliest choice of creatures' looks.
#pragma once

#include <vector>

#include "CharacterInfo.h"
#include "MapInfo.h"

// One creature's look: a character (index into the character table) and one of its skins (0-based).
struct CharacterSkin {
    int character = 0;
    int skin = 0;
};

struct WorstFight {
    struct Look {
        int character = 0;
        int skin = 0;
        int models = 0;  // slots this look adds to the own models and the looks before it
    };
    int models = 0;     // slots the model store holds once every creature of the fight is in
    int ownModels = 0;  // of which the game's own and the map scene's
    // The distinct looks of that fight, each adding as much as it can to the
    // ones before it; empty when the player can pick no character (no fight).
    std::vector<Look> looks;
};

// Looks of one character beyond this many skins are not counted (a fight
// shows seven at most, and further skins differ only in their texture name).
constexpr int MAX_COUNTED_SKINS = 64;

// Slots the model store holds once a fight on this map has creatures with these
// looks: every distinct key the game, the map scene and the looks ask for
// (the store's own key rules), as if every model loaded. Looks the game cannot
// give (no such character, or a skin outside 0 to skinCount - 1, skin 0 for a
// character without skins) are left out.
int fightModelCount(const MapInfo& map, const CharacterInfo* characters, int characterCount,
                    const std::vector<CharacterSkin>& looks);

// The worst fight on this map over every choice the game can make: the player
// any character with skins and any of its skins, each computer creature any
// character and any of its skins (skin 0 when it has none). Exact, by a
// branch-and-bound over the looks.
WorstFight findWorstFight(const MapInfo& map, const CharacterInfo* characters, int characterCount);
