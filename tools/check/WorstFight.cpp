// The worst fight by a branch and bound over the creatures' looks, the largest gains first.
#include "WorstFight.h"

#include <algorithm>
#include <map>

#include "FightRequests.h"

namespace {

class Search {
public:
    Search(const std::vector<long long>& weights, const std::vector<LookItems>& looks,
           long long maxSteps = WORST_FIGHT_STEPS)
        : weights_(weights), looks_(looks), cover_(weights.size(), 0), maxSteps_(maxSteps) {}

    void run(int creatures) {
        std::vector<int> all(looks_.size());
        for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
        search(all, creatures, false);
    }
    long long best = -1;  // -1: no fight the player can start
    std::vector<int> bestPicks;
    bool exact = true;

    // Weight the look would add to the current picks.
    long long gain(int c) const {
        long long n = 0;
        for (int k : looks_[c].items) n += cover_[k] == 0 ? weights_[k] : 0;
        return n;
    }
    void pick(int c) {
        size_ += gain(c);
        for (int k : looks_[c].items) ++cover_[k];
        picks_.push_back(c);
    }

private:
    const std::vector<long long>& weights_;
    const std::vector<LookItems>& looks_;
    std::vector<int> cover_;  // per item: how many picks ask for it
    long long size_ = 0;      // weight of the items with a non-zero cover
    std::vector<int> picks_;
    long long steps_ = 0;
    long long maxSteps_;

    void unpick(int c) {
        for (int k : looks_[c].items) --cover_[k];
        size_ -= gain(c);
        picks_.pop_back();
    }

    // Picks up to `left` more looks from `open`; each set of looks is tried
    // once, in the order of the ranking at its parent.
    void search(const std::vector<int>& open, int left, bool player) {
        if (++steps_ > maxSteps_) exact = false;
        if (left == 0 || open.empty() || !exact) {
            if (player && size_ > best) {
                best = size_;
                bestPicks = picks_;
            }
            return;
        }
        std::vector<std::pair<long long, int>> ranked;  // gain, look: largest gain first
        for (int c : open) ranked.emplace_back(gain(c), c);
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (size_t i = 0; i < ranked.size() && exact; ++i) {
            // Picks from here on add at most the `left` largest gains still open.
            long long bound = size_;
            for (size_t j = i; j < ranked.size() && j < i + left; ++j) bound += ranked[j].first;
            if (bound <= best) return;
            const int c = ranked[i].second;
            const bool playerMay = looks_[c].playerMay;
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

WorstFight findWorstFight(const std::vector<long long>& weights, const std::vector<int>& base,
                          const std::vector<LookItems>& looks, int creatures, long long maxSteps) {
    WorstFight result;
    std::vector<bool> inBase(weights.size(), false);
    for (int item : base)
        if (!inBase[item]) {
            inBase[item] = true;
            result.base += weights[item];
        }
    result.total = result.base;
    // Each look by its items beyond the base; looks asking for the same items
    // are one, which the player may choose when he may choose any of them.
    std::vector<LookItems> distinct;
    std::map<std::vector<int>, size_t> seen;
    for (const LookItems& look : looks) {
        LookItems own{look.look, look.playerMay, {}};
        for (int item : look.items)
            if (!inBase[item]) own.items.push_back(item);
        std::sort(own.items.begin(), own.items.end());
        own.items.erase(std::unique(own.items.begin(), own.items.end()), own.items.end());
        const auto [at, fresh] = seen.emplace(own.items, distinct.size());
        if (fresh)
            distinct.push_back(std::move(own));
        else if (own.playerMay && !distinct[at->second].playerMay)
            distinct[at->second] = std::move(own);
    }
    Search search(weights, distinct, maxSteps);
    search.run(creatures);
    result.exact = search.exact;
    if (search.best < 0) return result;
    // Replay the worst picks to tell what each look adds.
    Search replay(weights, distinct);
    for (int c : search.bestPicks) {
        result.looks.push_back({distinct[c].look.character, distinct[c].look.skin, replay.gain(c)});
        replay.pick(c);
    }
    result.total += search.best;
    return result;
}

std::vector<LookItems> everyLook(
    const CharacterInfo* characters, int count,
    const std::function<void(const ModelRequest&, std::vector<int>&)>& addItems) {
    std::vector<LookItems> looks;
    for (int c = 0; characters != nullptr && c < count; ++c) {
        const int skinCount = characters[c].skinCount;
        const int skins = skinCount > 0 ? std::min(skinCount, MAX_COUNTED_SKINS) : 1;
        for (int s = 0; s < skins; ++s) {
            LookItems look{{c, s}, skinCount > 0, {}};
            for (const ModelRequest& r : lookRequests(characters[c], s)) addItems(r, look.items);
            looks.push_back(std::move(look));
        }
    }
    return looks;
}
