// Model slots of a fight, counted from the same requests the loaders make.
#include "FightModelCount.h"

#include <algorithm>

#include "FightRequests.h"
#include "GameState.h"
#include "ItemNumbers.h"

namespace {

// A slot per store key; a request that takes none adds nothing.
void addSlot(ItemNumbers& slots, const ModelRequest& r, std::vector<int>& items) {
    const std::string key = storeKey(r);
    if (!key.empty()) items.push_back(slots.number(key, 1));
}

std::vector<int> fightAndMapSlots(ItemNumbers& slots, const MapInfo& map) {
    std::vector<int> items;
    for (const ModelRequest& r : fixedRequests()) addSlot(slots, r, items);
    for (const ModelRequest& r : mapRequests(map)) addSlot(slots, r, items);
    return items;
}

}  // namespace

int fightModelCount(const MapInfo& map, const CharacterInfo* characters, int count,
                    const std::vector<CharacterSkin>& looks) {
    ItemNumbers slots;
    std::vector<int> items = fightAndMapSlots(slots, map);
    for (const CharacterSkin& look : looks) {
        if (characters == nullptr || look.character < 0 || look.character >= count) continue;
        const CharacterInfo& c = characters[look.character];
        if (look.skin < 0 || look.skin >= std::max(c.skinCount, 1)) continue;
        for (const ModelRequest& r : lookRequests(c, look.skin)) addSlot(slots, r, items);
    }
    return static_cast<int>(slots.weights().size());
}

WorstFight worstModelFight(const MapInfo& map, const CharacterInfo* characters, int count) {
    ItemNumbers slots;
    const std::vector<int> base = fightAndMapSlots(slots, map);
    const std::vector<LookItems> looks = everyLook(
        characters, count,
        [&](const ModelRequest& r, std::vector<int>& items) { addSlot(slots, r, items); });
    return findWorstFight(slots.weights(), base, looks, 1 + GameState::COMPUTER_CREATURES);
}
