// Counting the model slots of a fight from the same requests the loaders make, and finding the
// worst fight by a branch-and-bound over the creatures' looks.
#include "WorstFight.h"

#include <algorithm>
#include <map>
#include <optional>

#include "CharacterModelSet.h"
#include "FightModels.h"
#include "GameState.h"
#include "GameView.h"
#include "MapScene.h"
#include "ModelKey.h"
#include "ProjectileType.h"
#include "Weapon.h"

namespace {

constexpr int FIGHT_CREATURES = 1 + GameState::COMPUTER_CREATURES;

void addKey(std::vector<ModelKey>& keys, const std::optional<ModelRequest>& request) {
    ModelKey key;
    // A request without a file name never loads, so it never takes a slot.
    if (request && !request->fileName.empty() && makeModelKey(*request, key)) keys.push_back(key);
}

// What the fight itself and its map scene ask for. The collision model is
// loaded and released while the map loads, when the store holds far fewer
// models than at the end, so it never sets the peak.
std::vector<ModelKey> ownKeys(const MapInfo& map) {
    std::vector<ModelKey> keys;
    addKey(keys, creatureBodyModelRequest());
    for (int i = 0; i < PROJECTILE_TYPE_COUNT; ++i) addKey(keys, projectileModelRequest(i));
    for (const WeaponType& type : weaponTypes) addKey(keys, weaponModelRequest(type));
    addKey(keys, crosshairModelRequest());
    const MapModelRequests scene = mapModelRequests(map);
    for (const auto& request : {std::optional(scene.level), scene.ground, scene.roof, scene.sky})
        addKey(keys, request);
    return keys;
}

std::vector<ModelKey> lookKeys(const CharacterInfo& character, int skin) {
    std::vector<ModelKey> keys;
    for (const auto& request : characterModelRequests(character, skin)) addKey(keys, request);
    return keys;
}

// A look as the search sees it: the numbers of the keys it asks for beyond the
// own models, sorted.
struct Candidate {
    CharacterSkin look;
    bool playerMay = false;  // the player can pick it in the menu
    std::vector<int> keys;
};

class WorstSearch {
public:
    WorstSearch(std::vector<Candidate> candidates, int keyCount)
        : candidates_(std::move(candidates)), cover_(keyCount, 0) {}

    void run() {
        std::vector<int> all(candidates_.size());
        for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
        search(all, FIGHT_CREATURES, false);
    }
    int bestSize = -1;  // -1: no fight the player can start
    std::vector<int> bestPicks;

    // Slots the candidate would add to the current picks.
    int gain(int c) const {
        int n = 0;
        for (int k : candidates_[c].keys) n += cover_[k] == 0;
        return n;
    }
    void pick(int c) {
        for (int k : candidates_[c].keys) size_ += cover_[k]++ == 0;
        picks_.push_back(c);
    }

private:
    std::vector<Candidate> candidates_;
    std::vector<int> cover_;  // per key: how many picks ask for it
    int size_ = 0;            // keys with a non-zero cover
    std::vector<int> picks_;

    void unpick(int c) {
        for (int k : candidates_[c].keys) size_ -= --cover_[k] == 0;
        picks_.pop_back();
    }

    // Picks up to `left` more looks from `open`; each set of looks is tried
    // once, in the order of the ranking at its parent.
    void search(const std::vector<int>& open, int left, bool player) {
        if (left == 0 || open.empty()) {
            if (player && size_ > bestSize) {
                bestSize = size_;
                bestPicks = picks_;
            }
            return;
        }
        std::vector<std::pair<int, int>> ranked;  // gain, candidate: largest gain first
        for (int c : open) ranked.emplace_back(gain(c), c);
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (size_t i = 0; i < ranked.size(); ++i) {
            // Picks from here on add at most the `left` largest gains still open.
            int bound = size_;
            for (size_t j = i; j < ranked.size() && j < i + left; ++j) bound += ranked[j].first;
            if (bound <= bestSize) return;
            const int c = ranked[i].second;
            const bool playerMay = candidates_[c].playerMay;
            if (left == 1 && !player && !playerMay) continue;  // the player needs a look too
            std::vector<int> rest;
            for (size_t j = i + 1; j < ranked.size(); ++j) rest.push_back(ranked[j].second);
            pick(c);
            search(rest, left - 1, player || playerMay);
            unpick(c);
        }
    }
};

}  // namespace

int fightModelCount(const MapInfo& map, const CharacterInfo* characters, int characterCount,
                    const std::vector<CharacterSkin>& looks) {
    std::vector<ModelKey> keys = ownKeys(map);
    for (const CharacterSkin& look : looks) {
        if (characters == nullptr || look.character < 0 || look.character >= characterCount)
            continue;
        if (look.skin < 0 || look.skin >= std::max(characters[look.character].skinCount, 1))
            continue;
        const std::vector<ModelKey> more = lookKeys(characters[look.character], look.skin);
        keys.insert(keys.end(), more.begin(), more.end());
    }
    std::sort(keys.begin(), keys.end());
    return static_cast<int>(std::unique(keys.begin(), keys.end()) - keys.begin());
}

WorstFight findWorstFight(const MapInfo& map, const CharacterInfo* characters, int characterCount) {
    std::map<ModelKey, int> numbers;  // every key met, numbered; the own ones first
    for (const ModelKey& key : ownKeys(map)) numbers.emplace(key, -1);
    WorstFight result;
    result.ownModels = static_cast<int>(numbers.size());
    result.models = result.ownModels;

    // Looks with the same keys are one candidate; the player may pick it when
    // he may pick any of them.
    std::vector<Candidate> candidates;
    std::map<std::vector<int>, size_t> seen;
    int keyCount = 0;
    for (int c = 0; characters != nullptr && c < characterCount; ++c) {
        const int skinCount = characters[c].skinCount;
        const int skins = skinCount > 0 ? std::min(skinCount, MAX_COUNTED_SKINS) : 1;
        for (int s = 0; s < skins; ++s) {
            Candidate candidate{{c, s}, skinCount > 0, {}};
            for (const ModelKey& key : lookKeys(characters[c], s)) {
                auto [it, added] = numbers.emplace(key, keyCount);
                if (added) ++keyCount;
                if (it->second >= 0) candidate.keys.push_back(it->second);
            }
            std::sort(candidate.keys.begin(), candidate.keys.end());
            candidate.keys.erase(std::unique(candidate.keys.begin(), candidate.keys.end()),
                                 candidate.keys.end());
            auto [it, fresh] = seen.emplace(candidate.keys, candidates.size());
            if (fresh) {
                candidates.push_back(std::move(candidate));
            } else if (candidate.playerMay && !candidates[it->second].playerMay) {
                candidates[it->second].look = candidate.look;
                candidates[it->second].playerMay = true;
            }
        }
    }
    WorstSearch search(candidates, keyCount);
    search.run();
    if (search.bestSize < 0) return result;

    // Replay the worst picks to tell what each look adds.
    WorstSearch replay(candidates, keyCount);
    for (int c : search.bestPicks) {
        result.looks.push_back(
            {candidates[c].look.character, candidates[c].look.skin, replay.gain(c)});
        replay.pick(c);
    }
    result.models = result.ownModels + search.bestSize;
    return result;
}
