// The game's data-file search as the checker uses it: the bases searched, the ones read, near
// misses.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

// A readable file in a searched folder that was probably meant by a name the game does not find.
struct NearName {
    enum class Kind {
        None,
        Case,       // differs only in letter case
        ShortName,  // the file's name is the name cut to 8.3 ("MYSKIN~1.BMP", "myskin_l.bmp")
        LongName,   // the name is the file's name cut to 8.3
        Spelling,   // the closest name by edit distance, within a few letters
    };
    Kind kind = Kind::None;
    std::string path;  // as the game would open it
    std::string leaf;  // the file's own name

    explicit operator bool() const { return kind != Kind::None; }
    // "PATH differs only in case", "PATH is this name cut to 8.3", ...
    std::string text() const;
    // The name with its file name replaced by the file's (any folder part kept).
    std::string replacing(const std::string& name) const;
};

class DataSearch {
public:
    // The bases the game's locator tries, in its order (dataBases).
    DataSearch();

    // For people: "./" for the working directory, the others as they are.
    std::vector<std::string> baseNames() const;
    // The bases that supplied at least one file so far, in search order.
    std::vector<std::string> basesRead() const;
    // The files located under base number i so far, each as its path below the base, sorted.
    std::vector<std::string> filesFrom(size_t base) const;

    // The path under which the game opens name (taken as it is, not lowered),
    // or "" when the game would not find it.
    std::string locate(const std::string& name);
    // The file probably meant by a name the game does not find: the first in
    // search order (the game's bases and folders, then file names in order)
    // that differs only in case, else one whose name is this one cut to 8.3 or
    // the other way round, else the closest name within a few letters (never
    // one that differs only in digits: skin 4 is not skin 1).
    NearName nearName(const std::string& name);

private:
    const std::vector<std::string>& listing(const std::string& dir);

    std::vector<std::string> bases_;
    std::map<size_t, std::set<std::string>> read_;              // base -> paths below it
    std::map<std::string, std::vector<std::string>> listings_;  // folder -> file names
};
