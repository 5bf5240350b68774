// The model and texture tables of the costliest fight on each map against their capacity of 100.
#include <map>

#include "ContentChecks.h"
#include "CostliestFight.h"
#include "GameAdapters.h"
#include "GameState.h"
#include "ModelStore.h"
#include "TextureStore.h"
#include "WorstFight.h"

namespace {

constexpr const char* FONT_FILE = "font.bmp";  // loaded again at every switch to a fight

// The texture slots a model request fills: plain textures are shared by name,
// each mesh of a model whose texture has an alpha companion takes a slot of its own.
void textureItems(CheckContext& ctx, const ModelRequest& r, ItemNumbers& numbers,
                  std::vector<int>& items) {
    const ModelInfo& m = ctx.models.model(r.fileName);
    if (!m.loads || m.keys.empty() || !m.keys[0]) return;
    const std::string replacement = lowered(r.replacementTexture),
                      replaced = lowered(r.replacedTexture);
    long long slots = 0;
    for (const Material& mat : m.keys[0]->materials) {
        if (mat.textureFile.empty()) continue;
        const std::string own = lowered(mat.textureFile);
        const bool skin = own == replaced || (replaced.empty() && !replacement.empty());
        const std::string chosen = skin ? replacement : own;
        const TextureInfo& t = ctx.textures.texture(chosen);
        if (!t.usable) continue;
        if (t.companion == Companion::None)
            items.push_back(numbers.number("texture " + chosen, 1));
        else
            slots += m.frames;
    }
    if (slots > 0) items.push_back(numbers.number("companions " + storeKey(r), slots));
}

std::string pairLabel(const std::vector<CharacterInfo>& characters, const CharacterSkin& p) {
    return format("%s with %s", characters[size_t(p.character)].name,
                  skinTexture(characters[size_t(p.character)], p.skin).c_str());
}

// One table's worst fight on one map.
struct MapCost {
    std::string map;
    long long count;
    std::vector<CharacterSkin> pairs;
    std::vector<long long> own;
};

// One candidate per character-and-skin pair, its items added by addItems for
// each model request of the pair; pairs[i] names candidate i. A character
// without skins stays a candidate no fight may take.
template <typename AddItems>
std::vector<FightCandidate> pairCandidates(const std::vector<CharacterInfo>& characters,
                                           std::vector<CharacterSkin>& pairs, AddItems addItems) {
    std::vector<FightCandidate> candidates;
    for (size_t c = 0; c < characters.size(); ++c) {
        const int skins = characters[c].skinCount;
        for (int s = 0; s < std::min(std::max(skins, 1), MAX_COUNTED_SKINS); ++s) {
            FightCandidate candidate{{}, skins > 0};
            for (const ModelRequest& r : pairRequests(characters[c], s))
                addItems(r, candidate.items);
            candidates.push_back(candidate);
            pairs.push_back({int(c), s});
        }
    }
    return candidates;
}

CostliestFight costliestTextures(CheckContext& ctx, const std::vector<CharacterInfo>& characters,
                                 const MapInfo& map, std::vector<CharacterSkin>& pairs) {
    ItemNumbers numbers;
    std::vector<int> base;
    if (ctx.textures.texture(FONT_FILE, false).usable)
        base.push_back(numbers.number(std::string("texture ") + FONT_FILE, 1));
    for (const ModelRequest& r : fixedRequests()) textureItems(ctx, r, numbers, base);
    for (const ModelRequest& r : mapRequests(map)) textureItems(ctx, r, numbers, base);
    const std::vector<FightCandidate> candidates =
        pairCandidates(characters, pairs, [&](const ModelRequest& r, std::vector<int>& items) {
            textureItems(ctx, r, numbers, items);
        });
    return findCostliestFight(numbers.weights(), base, candidates,
                              1 + GameState::COMPUTER_CREATURES);
}

// The mesh elements the fight's loads read and build, against the store's
// budget: every distinct request counts once, the collision model too (it is
// loaded and released while the map loads).
CostliestFight costliestElements(CheckContext& ctx, const std::vector<CharacterInfo>& characters,
                                 const MapInfo& map, std::vector<CharacterSkin>& pairs) {
    ItemNumbers numbers;
    auto item = [&](const ModelRequest& r) {
        return numbers.number(storeKey(r), ctx.models.model(r.fileName).elementsRead);
    };
    std::vector<int> base;
    for (const ModelRequest& r : fixedRequests()) base.push_back(item(r));
    for (const ModelRequest& r : mapRequests(map)) base.push_back(item(r));
    base.push_back(item(collisionRequest(map)));
    const std::vector<FightCandidate> candidates = pairCandidates(
        characters, pairs,
        [&](const ModelRequest& r, std::vector<int>& items) { items.push_back(item(r)); });
    return findCostliestFight(numbers.weights(), base, candidates,
                              1 + GameState::COMPUTER_CREATURES);
}

using Table = std::vector<MapCost> (*)(CheckContext&, const std::vector<CharacterInfo>&,
                                       const std::vector<MapInfo>&);

// The game's own count: every distinct request of the fight takes a slot.
std::vector<MapCost> modelCosts(CheckContext&, const std::vector<CharacterInfo>& characters,
                                const std::vector<MapInfo>& maps) {
    std::vector<MapCost> costs;
    for (const MapInfo& map : maps) {
        const WorstFight worst =
            findWorstFight(map, characters.data(), static_cast<int>(characters.size()));
        MapCost cost{map.name, worst.models, {}, {}};
        for (const WorstFight::Look& look : worst.looks) {
            cost.pairs.push_back({look.character, look.skin});
            cost.own.push_back(look.models);
        }
        costs.push_back(cost);
    }
    return costs;
}

template <CostliestFight (*costliest)(CheckContext&, const std::vector<CharacterInfo>&,
                                      const MapInfo&, std::vector<CharacterSkin>&)>
std::vector<MapCost> searchedCosts(CheckContext& ctx, const std::vector<CharacterInfo>& characters,
                                   const std::vector<MapInfo>& maps) {
    std::vector<MapCost> costs;
    for (const MapInfo& map : maps) {
        std::vector<CharacterSkin> pairs;
        const CostliestFight t = costliest(ctx, characters, map, pairs);
        MapCost cost{map.name, t.total, {}, t.ownWeight};
        for (size_t c : t.chosen) cost.pairs.push_back(pairs[c]);
        costs.push_back(cost);
    }
    return costs;
}

// "on Arena can need 104 models, on Bunker 102" for the maps above capacity;
// "" when none is.
std::string overflowing(const std::vector<const MapCost*>& maps, const char* table) {
    std::string where;
    for (const MapCost* m : maps)
        where += where.empty() ? format("on %s can need %lld %s", m->map.c_str(), m->count, table)
                               : format(", on %s %lld", m->map.c_str(), m->count);
    return where;
}

std::string fightText(const MapCost& cost, const std::vector<CharacterInfo>& characters) {
    std::string pairs;
    for (size_t i = 0; i < cost.pairs.size(); ++i)
        pairs += format("%s%s (%lld)", i == 0 ? "" : ", ",
                        pairLabel(characters, cost.pairs[i]).c_str(), cost.own[i]);
    return pairs;
}

// A character whose skins alone overflow the table is reported at its file;
// otherwise the worst fight of all characters at the list, one finding per
// group of maps whose worst fights share their creatures.
void checkTable(CheckContext& ctx, Table costsOf, const char* table, int capacity,
                const char* consequence, const std::vector<CharacterInfo>& characters,
                const std::vector<MapInfo>& maps, const std::string& charactersList) {
    bool alone = false;
    for (const CharacterInfo& c : characters) {
        const std::vector<CharacterInfo> one{c};
        const std::vector<MapCost> costs = costsOf(ctx, one, maps);
        std::vector<const MapCost*> over;
        for (const MapCost& m : costs)
            if (m.count > capacity) over.push_back(&m);
        if (over.empty()) continue;
        alone = true;
        ctx.findings.error(c.filePath, 0,
                           format("a fight of %s's skins alone %s, above the %d the game holds: "
                                  "%s; the costliest fight: %s",
                                  c.name, overflowing(over, table).c_str(), capacity, consequence,
                                  fightText(*over[0], one).c_str()));
    }
    if (alone) return;
    const std::vector<MapCost> costs = costsOf(ctx, characters, maps);
    std::map<std::vector<std::pair<int, int>>, std::vector<const MapCost*>> groups;
    for (const MapCost& m : costs) {
        if (m.count <= capacity) continue;
        std::vector<std::pair<int, int>> key;
        for (const CharacterSkin& p : m.pairs) key.push_back({p.character, p.skin});
        groups[key].push_back(&m);
    }
    for (const auto& [key, over] : groups)
        ctx.findings.error(charactersList, 0,
                           format("a fight %s, above the %d the game holds: %s; the costliest "
                                  "fight: %s",
                                  overflowing(over, table).c_str(), capacity, consequence,
                                  fightText(*over[0], characters).c_str()));
}

}  // namespace

void checkFightTables(CheckContext& ctx, const std::vector<CharacterInfo>& characters,
                      const std::vector<MapInfo>& maps, const std::string& charactersList) {
    checkTable(ctx, modelCosts, "models", ModelStore::MAX_MODELS,
               "the last creatures loaded are drawn without some of their models", characters, maps,
               charactersList);
    checkTable(ctx, searchedCosts<costliestTextures>, "textures", TextureStore::MAX_TEXTURES,
               "the last models loaded are drawn untextured", characters, maps, charactersList);
    checkTable(ctx, searchedCosts<costliestElements>, "mesh elements",
               static_cast<int>(ModelStore::MAX_LOADED_ELEMENTS),
               "once that much is loaded, further models are not and their creatures are drawn "
               "without them",
               characters, maps, charactersList);
}
