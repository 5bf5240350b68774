// Locating data files the game's way, what each base supplied, and the names probably meant.
#include "DataSearch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "DataLocator.h"
#include "Text.h"

namespace {

constexpr size_t MAX_LISTING = 100000;  // names kept per folder: a hint needs no more

bool regularFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Letters a spelling may be off by, by the length of the name: one in a
// short name, up to three in a long one.
size_t spellingAllowance(size_t length) {
    return length <= 4 ? 1 : length <= 10 ? 2 : 3;
}

// Levenshtein distance of two names, or more than cap once it must exceed cap.
size_t distance(const std::string& a, const std::string& b, size_t cap) {
    if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > cap) return cap + 1;
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        size_t best = row[0];
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
            best = std::min(best, row[j]);
        }
        if (best > cap) return cap + 1;
    }
    return row[b.size()];
}

// The name with every run of digits as one '#': names equal so differ only in their numbers.
std::string numbersHidden(const std::string& name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(name[i]));
        if (!digit)
            out += name[i];
        else if (i == 0 || !std::isdigit(static_cast<unsigned char>(name[i - 1])))
            out += '#';
    }
    return out;
}

struct Parts {
    std::string base, extension;
    bool dot = false;
};

Parts split(const std::string& lowerName) {
    const size_t dot = lowerName.rfind('.');
    if (dot == std::string::npos) return {lowerName, "", false};
    return {lowerName.substr(0, dot), lowerName.substr(dot + 1), true};
}

// True when shortName is longName cut to the 8.3 names of old file systems
// and archivers (letter case aside): the base cut to eight characters, or
// its first one to six characters (spaces and dots left out) and "~N"; the
// extension cut to three.
bool cutTo83(const std::string& shortName, const std::string& longName) {
    const Parts s = split(lowered(shortName)), l = split(lowered(longName));
    if (s.dot != l.dot || s.extension != l.extension.substr(0, 3)) return false;
    if (l.base.size() <= 8 && l.extension.size() <= 3) return false;  // nothing to cut
    if (s.base.empty() || s.base.size() > 8) return false;
    if (s.base == l.base.substr(0, 8)) return true;
    const size_t tilde = s.base.rfind('~');
    if (tilde == std::string::npos || tilde == 0 || tilde > 6 || tilde + 1 == s.base.size())
        return false;
    for (size_t i = tilde + 1; i < s.base.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(s.base[i]))) return false;
    std::string cleaned;
    for (char c : l.base)
        if (c != ' ' && c != '.') cleaned += c;
    return cleaned.compare(0, tilde, s.base, 0, tilde) == 0;
}

}  // namespace

std::string NearName::text() const {
    switch (kind) {
        case Kind::Case:
            return path + " differs only in case";
        case Kind::ShortName:
            return path + " is this name cut to 8.3";
        case Kind::LongName:
            return path + " is the name this 8.3 name was cut from";
        case Kind::Spelling:
            return path + " is the closest name";
        case Kind::None:
            break;
    }
    return "";
}

std::string NearName::replacing(const std::string& name) const {
    const size_t cut = name.find_last_of("/\\");
    return (cut == std::string::npos ? "" : name.substr(0, cut + 1)) + leaf;
}

DataSearch::DataSearch() : bases_(dataBases()) {}

std::vector<std::string> DataSearch::baseNames() const {
    std::vector<std::string> names;
    for (const std::string& b : bases_) names.push_back(b.empty() ? "./" : b);
    return names;
}

std::vector<std::string> DataSearch::basesRead() const {
    std::vector<std::string> names;
    const std::vector<std::string> all = baseNames();
    for (const auto& [base, files] : read_) names.push_back(all[base]);
    return names;
}

std::vector<std::string> DataSearch::filesFrom(size_t base) const {
    const auto found = read_.find(base);
    if (found == read_.end()) return {};
    return {found->second.begin(), found->second.end()};
}

std::string DataSearch::locate(const std::string& name) {
    char path[DATA_NAME_SIZE] = {};
    if (name.empty() || name.size() >= DATA_NAME_SIZE - 1) return "";
    std::memcpy(path, name.data(), name.size());
    if (!locateDataFile(path, false)) return "";
    // Attributed by prefix, the later (absolute) bases first.
    size_t base = 0;
    for (size_t i = bases_.size(); i-- > 1;)
        if (std::strncmp(path, bases_[i].c_str(), bases_[i].size()) == 0) {
            base = i;
            break;
        }
    read_[base].insert(path + bases_[base].size());
    return path;
}

const std::vector<std::string>& DataSearch::listing(const std::string& dir) {
    auto found = listings_.find(dir);
    if (found != listings_.end()) return found->second;
    std::vector<std::string>& names = listings_[dir];
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return names;
    while (const dirent* e = readdir(d)) {
        if (names.size() >= MAX_LISTING) break;
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.push_back(e->d_name);
    }
    closedir(d);
    // In name order, not the file system's: a tie between near names goes the same way everywhere.
    std::sort(names.begin(), names.end());
    return names;
}

NearName DataSearch::nearName(const std::string& name) {
    // The best of each kind, in search order; a better kind wins over a closer spelling.
    NearName cut, spelt;
    size_t bestDistance = 0;
    for (const std::string& base : bases_) {
        for (const char* folder : DATA_FOLDERS) {
            const std::string full = dataPath(base, folder, name);
            if (full.empty()) continue;
            const size_t slash = full.rfind('/');
            const std::string dir = slash == std::string::npos ? "" : full.substr(0, slash + 1);
            const std::string leaf = slash == std::string::npos ? full : full.substr(slash + 1);
            const std::string lowLeaf = lowered(leaf);
            const size_t allowance = spellingAllowance(leaf.size());
            for (const std::string& entry : listing(dir)) {
                if (entry == leaf) continue;
                const std::string lowEntry = lowered(entry);
                NearName::Kind kind = NearName::Kind::None;
                size_t d = 0;
                if (lowEntry == lowLeaf)
                    kind = NearName::Kind::Case;
                else if (!cut && cutTo83(entry, leaf))
                    kind = NearName::Kind::ShortName;
                else if (!cut && cutTo83(leaf, entry))
                    kind = NearName::Kind::LongName;
                else if ((d = distance(lowEntry, lowLeaf, allowance)) <= allowance &&
                         (!spelt || d < bestDistance) &&
                         numbersHidden(lowEntry) != numbersHidden(lowLeaf))
                    kind = NearName::Kind::Spelling;
                if (kind == NearName::Kind::None || !regularFile(dir + entry)) continue;
                const NearName near{kind, dir + entry, entry};
                if (kind == NearName::Kind::Case) return near;
                if (kind == NearName::Kind::Spelling) {
                    spelt = near;
                    bestDistance = d;
                } else {
                    cut = near;
                }
            }
        }
    }
    return cut ? cut : spelt;
}
