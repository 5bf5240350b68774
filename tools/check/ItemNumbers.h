// Numbers for what a table holds, by name, each with its weight: the worst fight's items.
#pragma once

#include <map>
#include <string>
#include <vector>

class ItemNumbers {
public:
    // The name's number, from 0 in the order names are first asked for; a
    // name keeps the weight it was first given.
    int number(const std::string& name, long long weight) {
        const auto [at, added] = numbers_.emplace(name, static_cast<int>(weights_.size()));
        if (added) weights_.push_back(weight);
        return at->second;
    }
    const std::vector<long long>& weights() const { return weights_; }

private:
    std::map<std::string, int> numbers_;
    std::vector<long long> weights_;
};
