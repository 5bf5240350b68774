// Branch and bound over creature looks for the fight that holds the most table entries.
#include "CostliestFight.h"

#include <algorithm>

namespace {

// Nodes visited before the search settles for the best fight found so far.
constexpr long long MAX_STEPS = 20000000;

struct Search {
    const std::vector<long long>& weight;
    std::vector<std::vector<int>> items;  // per candidate, beyond the base, in search order
    std::vector<long long> own;           // their weights, descending
    std::vector<bool> playerMay;
    std::vector<int> held;  // per item: how many chosen candidates hold it
    std::vector<size_t> path;
    long long steps = 0;
    CostliestFight best;
    bool bestSet = false;

    long long add(size_t c, int sign) {
        long long gained = 0;
        for (int item : items[c]) {
            held[item] += sign;
            if ((sign > 0 && held[item] == 1) || (sign < 0 && held[item] == 0))
                gained += weight[item];
        }
        return gained;
    }

    void visit(size_t start, int left, long long total, bool hasPlayer) {
        if (++steps > MAX_STEPS) {
            best.exact = false;
            return;
        }
        if (hasPlayer && (!bestSet || total > best.total)) {
            best.total = total;
            best.chosen = path;
            bestSet = true;
        }
        if (left == 0) return;
        for (size_t c = start; c < items.size() && best.exact; ++c) {
            // Each further candidate adds at most its own weight, and the
            // weights only fall from here on.
            long long bound = total;
            for (size_t k = c; k < items.size() && k < c + left; ++k) bound += own[k];
            if (bestSet && bound <= best.total) break;
            path.push_back(c);
            const long long gained = add(c, 1);
            visit(c + 1, left - 1, total + gained, hasPlayer || playerMay[c]);
            add(c, -1);
            path.pop_back();
        }
    }
};

}  // namespace

CostliestFight findCostliestFight(const std::vector<long long>& weight,
                                  const std::vector<int>& base,
                                  const std::vector<FightCandidate>& candidates, int creatures) {
    std::vector<bool> inBase(weight.size(), false);
    long long baseTotal = 0;
    for (int item : base)
        if (!inBase[item]) {
            inBase[item] = true;
            baseTotal += weight[item];
        }
    // Each candidate's own items beyond the base, the heaviest candidates first.
    std::vector<std::pair<long long, size_t>> order;
    std::vector<std::vector<int>> own(candidates.size());
    for (size_t c = 0; c < candidates.size(); ++c) {
        std::vector<int>& items = own[c];
        for (int item : candidates[c].items)
            if (!inBase[item]) items.push_back(item);
        std::sort(items.begin(), items.end());
        items.erase(std::unique(items.begin(), items.end()), items.end());
        long long w = 0;
        for (int item : items) w += weight[item];
        order.push_back({-w, c});
    }
    std::sort(order.begin(), order.end());

    Search s{weight, {}, {}, {}, std::vector<int>(weight.size(), 0), {}, 0, {}, false};
    for (const auto& [negative, c] : order) {
        s.items.push_back(own[c]);
        s.own.push_back(-negative);
        s.playerMay.push_back(candidates[c].playerMay);
    }
    s.visit(0, creatures, baseTotal, false);
    CostliestFight result = s.best;
    result.total = s.bestSet ? s.best.total : baseTotal;
    for (size_t& c : result.chosen) {
        result.ownWeight.push_back(s.own[c]);
        c = order[c].second;
    }
    return result;
}

int ItemNumbers::number(const std::string& name, long long weight) {
    const auto found = numbers_.find(name);
    if (found != numbers_.end()) return found->second;
    weights_.push_back(weight);
    return numbers_[name] = static_cast<int>(weights_.size()) - 1;
}
