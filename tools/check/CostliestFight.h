// The costliest fight: the choice of creatures that fills a capacity-limited table the most.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// Items are what a table holds (models, texture slots), numbered from 0 with
// a weight each; a candidate is one creature's look and the items it needs.
struct FightCandidate {
    std::vector<int> items;
    bool playerMay = true;  // the player may choose it (the computer may choose any)
};

struct CostliestFight {
    long long total = 0;               // weight of the base and the chosen candidates' items
    std::vector<size_t> chosen;        // candidate indices, the heaviest first
    std::vector<long long> ownWeight;  // per chosen candidate: its items beyond the base
    bool exact = true;                 // false when the search stopped at its step limit
};

// Items shared by several candidates count once. The fight has `creatures`
// creatures, one of them the player, and a candidate may be chosen more than
// once, so at most `creatures` distinct candidates matter. A branch and bound
// over the candidates ordered by weight finds the exact answer quickly when
// candidates share few items, as looks of different characters and skins do.
CostliestFight findCostliestFight(const std::vector<long long>& weight,
                                  const std::vector<int>& base,
                                  const std::vector<FightCandidate>& candidates, int creatures);

// Numbers for item names, in the order they are first asked for.
class ItemNumbers {
public:
    int number(const std::string& name, long long weight);
    const std::vector<long long>& weights() const { return weights_; }

private:
    std::map<std::string, int> numbers_;
    std::vector<long long> weights_;
};
