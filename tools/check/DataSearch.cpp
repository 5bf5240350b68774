// Locating data files the game's way and finding names that miss only by letter case.
#include "DataSearch.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstring>

#include "DataLocator.h"

namespace {

constexpr size_t MAX_LISTING = 100000;  // names kept per folder: a hint needs no more

bool regularFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

DataSearch::DataSearch() : bases_(dataBases()) {}

std::vector<std::string> DataSearch::baseNames() const {
    std::vector<std::string> names;
    for (const std::string& b : bases_) names.push_back(b.empty() ? "./" : b);
    return names;
}

std::vector<std::string> DataSearch::basesRead() const {
    std::vector<std::string> names;
    const std::vector<std::string> all = baseNames();
    for (size_t i : read_) names.push_back(all[i]);
    return names;
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
    read_.insert(base);
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
        names.push_back(e->d_name);
    }
    closedir(d);
    return names;
}

std::string DataSearch::sameButCase(const std::string& name) {
    for (const std::string& base : bases_) {
        for (const char* folder : DATA_FOLDERS) {
            const std::string full = dataPath(base, folder, name);
            if (full.empty()) continue;
            const size_t cut = full.rfind('/');
            const std::string dir = cut == std::string::npos ? "" : full.substr(0, cut + 1);
            const std::string leaf = cut == std::string::npos ? full : full.substr(cut + 1);
            for (const std::string& entry : listing(dir))
                if (entry != leaf && strcasecmp(entry.c_str(), leaf.c_str()) == 0 &&
                    regularFile(dir + entry))
                    return dir + entry;
        }
    }
    return "";
}
