// The model, texture and mesh-element tables of the worst fight on each map against their
// capacities.
#include <map>

#include "ContentChecks.h"
#include "FightModelCount.h"
#include "FightModels.h"
#include "FightRequests.h"
#include "GameState.h"
#include "ItemNumbers.h"
#include "ModelStore.h"
#include "TextureStore.h"
#include "WorstFight.h"

namespace {

constexpr const char* FONT_FILE = "font.bmp";  // loaded again at every switch to a fight
constexpr int FIGHT_CREATURES = 1 + GameState::COMPUTER_CREATURES;

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

// The texture slots of the worst fight: the font, then what the models ask for.
WorstFight worstTextures(CheckContext& ctx, const std::vector<CharacterInfo>& characters,
                         const MapInfo& map) {
    ItemNumbers numbers;
    std::vector<int> base;
    if (ctx.textures.texture(FONT_FILE, false).usable)
        base.push_back(numbers.number(std::string("texture ") + FONT_FILE, 1));
    for (const ModelRequest& r : fixedRequests()) textureItems(ctx, r, numbers, base);
    for (const ModelRequest& r : mapRequests(map)) textureItems(ctx, r, numbers, base);
    const std::vector<LookItems> looks =
        everyLook(characters.data(), static_cast<int>(characters.size()),
                  [&](const ModelRequest& r, std::vector<int>& items) {
                      textureItems(ctx, r, numbers, items);
                  });
    return findWorstFight(numbers.weights(), base, looks, FIGHT_CREATURES);
}

// The mesh elements the fight's loads read and build, against the store's
// budget: every distinct request counts once, the collision model too (it is
// loaded and released while the map loads).
WorstFight worstElements(CheckContext& ctx, const std::vector<CharacterInfo>& characters,
                         const MapInfo& map) {
    ItemNumbers numbers;
    auto add = [&](const ModelRequest& r, std::vector<int>& items) {
        const std::string key = storeKey(r);
        if (!key.empty())
            items.push_back(numbers.number(key, ctx.models.model(r.fileName).elementsRead));
    };
    std::vector<int> base;
    for (const ModelRequest& r : fixedRequests()) add(r, base);
    for (const ModelRequest& r : mapRequests(map)) add(r, base);
    add(collisionRequest(map), base);
    const std::vector<LookItems> looks =
        everyLook(characters.data(), static_cast<int>(characters.size()), add);
    return findWorstFight(numbers.weights(), base, looks, FIGHT_CREATURES);
}

// The game's own count: every distinct request of the fight takes a slot.
WorstFight worstModels(CheckContext&, const std::vector<CharacterInfo>& characters,
                       const MapInfo& map) {
    return worstModelFight(map, characters.data(), static_cast<int>(characters.size()));
}

// One table's worst fight on one map.
struct MapCost {
    std::string map;
    WorstFight fight;
};

using Table = WorstFight (*)(CheckContext&, const std::vector<CharacterInfo>&, const MapInfo&);

std::vector<MapCost> costsOf(CheckContext& ctx, Table table,
                             const std::vector<CharacterInfo>& characters,
                             const std::vector<MapInfo>& maps) {
    std::vector<MapCost> costs;
    for (const MapInfo& map : maps) costs.push_back({map.name, table(ctx, characters, map)});
    return costs;
}

// "on Arena can need 104 models, on Bunker 102" for the maps above capacity;
// "" when none is.
std::string overflowing(const std::vector<const MapCost*>& maps, const char* table) {
    std::string where;
    for (const MapCost* m : maps)
        where += where.empty()
                     ? format("on %s can need %lld %s", m->map.c_str(), m->fight.total, table)
                     : format(", on %s %lld", m->map.c_str(), m->fight.total);
    return where;
}

std::string fightText(const MapCost& cost, const std::vector<CharacterInfo>& characters) {
    std::string looks;
    for (const WorstFight::Look& look : cost.fight.looks) {
        const CharacterInfo& c = characters[size_t(look.character)];
        looks += format("%s%s with %s (%lld)", looks.empty() ? "" : ", ", c.name,
                        skinTextureName(c, look.skin, false).c_str(), look.adds);
    }
    return looks;
}

// A character whose skins alone overflow the table is reported at its file;
// otherwise the worst fight of all characters at the list, one finding per
// group of maps whose worst fights share their creatures.
void checkTable(CheckContext& ctx, Table table, const char* items, int capacity,
                const char* consequence, const std::vector<CharacterInfo>& characters,
                const std::vector<MapInfo>& maps, const std::string& charactersList) {
    bool alone = false;
    for (const CharacterInfo& c : characters) {
        const std::vector<CharacterInfo> one{c};
        const std::vector<MapCost> costs = costsOf(ctx, table, one, maps);
        std::vector<const MapCost*> over;
        for (const MapCost& m : costs)
            if (m.fight.total > capacity) over.push_back(&m);
        if (over.empty()) continue;
        alone = true;
        ctx.findings.error(c.filePath, 0,
                           format("a fight of %s's skins alone %s, above the %d the game holds: "
                                  "%s; the costliest fight: %s",
                                  c.name, overflowing(over, items).c_str(), capacity, consequence,
                                  fightText(*over[0], one).c_str()));
    }
    if (alone) return;
    const std::vector<MapCost> costs = costsOf(ctx, table, characters, maps);
    std::map<std::vector<std::pair<int, int>>, std::vector<const MapCost*>> groups;
    for (const MapCost& m : costs) {
        if (m.fight.total <= capacity) continue;
        std::vector<std::pair<int, int>> key;
        for (const WorstFight::Look& look : m.fight.looks)
            key.push_back({look.character, look.skin});
        groups[key].push_back(&m);
    }
    for (const auto& [key, over] : groups)
        ctx.findings.error(charactersList, 0,
                           format("a fight %s, above the %d the game holds: %s; the costliest "
                                  "fight: %s",
                                  overflowing(over, items).c_str(), capacity, consequence,
                                  fightText(*over[0], characters).c_str()));
}

}  // namespace

void checkFightTables(CheckContext& ctx, const std::vector<CharacterInfo>& characters,
                      const std::vector<MapInfo>& maps, const std::string& charactersList) {
    checkTable(ctx, worstModels, "models", ModelStore::MAX_MODELS,
               "the last creatures loaded are drawn without some of their models", characters, maps,
               charactersList);
    checkTable(
        ctx, worstTextures, "textures", TextureStore::MAX_TEXTURES,
        (std::string("the last models loaded get none of their textures: ") + NO_TEXTURE_EFFECT)
            .c_str(),
        characters, maps, charactersList);
    checkTable(ctx, worstElements, "mesh elements",
               static_cast<int>(ModelStore::MAX_LOADED_ELEMENTS),
               "once that much is loaded, further models are not and their creatures are drawn "
               "without them",
               characters, maps, charactersList);
}
