// The model store's slots in a fight: every distinct key the game, its map scene and the
// creatures' looks ask for.
#pragma once

#include <vector>

#include "CharacterInfo.h"
#include "MapInfo.h"
#include "WorstFight.h"

// Slots the model store holds once a fight on this map has creatures with
// these looks, as if every model loaded (the store's own key rules). Looks the
// game cannot give (no such character, a skin outside 0 to skinCount - 1, or
// skin 0 for a character without skins) are left out. The collision model is
// loaded and released while the map loads, when the store holds far fewer
// models than at the end, so it never sets the peak.
int fightModelCount(const MapInfo& map, const CharacterInfo* characters, int count,
                    const std::vector<CharacterSkin>& looks);

// The worst fight on this map in slots, over every choice the game can make:
// the player any character with skins and any of its skins, each computer
// creature any character and any of its skins (skin 0 when it has none).
WorstFight worstModelFight(const MapInfo& map, const CharacterInfo* characters, int count);
