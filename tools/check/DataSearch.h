// The game's data-file search as the checker uses it: the bases searched, the ones read, near
// misses.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

class DataSearch {
public:
    // The bases the game's locator tries, in its order (dataBases).
    DataSearch();

    // For people: "./" for the working directory, the others as they are.
    std::vector<std::string> baseNames() const;
    // The bases that supplied at least one file so far, in search order.
    std::vector<std::string> basesRead() const;

    // The path under which the game opens name (taken as it is, not lowered),
    // or "" when the game would not find it.
    std::string locate(const std::string& name);
    // A readable file in a searched folder whose name differs from name only
    // in letter case, or "".
    std::string sameButCase(const std::string& name);

private:
    const std::vector<std::string>& listing(const std::string& dir);

    std::vector<std::string> bases_;
    std::set<size_t> read_;
    std::map<std::string, std::vector<std::string>> listings_;  // folder -> file names
};
