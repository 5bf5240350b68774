// Data-file search: base directories by data folders, first openable file wins.
#include "DataLocator.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "DataFolder.h"

namespace {

// Present means readable as a file: fopen succeeds on a directory here, so
// directories are refused explicitly.
bool readableFile(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

}  // namespace

const char* developmentDataDir = startingDataDir(TOVASK_DATA_DIR);

std::string dataPath(const std::string& base, const char* folder, const std::string& name) {
    std::string path = base + folder + name;
    if (path.size() >= size_t(DATA_NAME_SIZE - 1)) return "";  // would not fit the caller's buffer
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

bool findInBase(char* name, const char* base) {
    for (const char* folder : DATA_FOLDERS) {
        const std::string path = dataPath(base, folder, name);
        if (!path.empty() && readableFile(path.c_str())) {
            std::memcpy(name, path.c_str(), path.size() + 1);
            return true;
        }
    }
    return false;
}

std::vector<std::string> dataBases() {
    std::vector<std::string> bases = {"", "/.tovask/"};
    char base[200];
    const int n = std::snprintf(base, sizeof base, "%s/", developmentDataDir);
    if (n > 0 && n < static_cast<int>(sizeof base)) bases.push_back(base);
    return bases;
}

bool locateDataFile(char* name, bool complain) {
    for (const std::string& base : dataBases())
        if (findInBase(name, base.c_str())) return true;
    if (complain) std::fprintf(stderr, "Unable to locate file %s\n", name);
    return false;
}
