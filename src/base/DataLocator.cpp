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

bool findInBase(char* name, const char* base) {
    for (const char* folder : DATA_FOLDERS) {
        char path[260];
        const int n = std::snprintf(path, sizeof path, "%s%s%s", base, folder, name);
        if (n < 0 || n >= DATA_NAME_SIZE - 1) continue;  // would not fit the caller's buffer
        for (char* c = path; *c; ++c)
            if (*c == '\\') *c = '/';
        if (readableFile(path)) {
            std::memcpy(name, path, static_cast<size_t>(n) + 1);
            return true;
        }
    }
    return false;
}

bool locateDataFile(char* name, bool complain) {
    if (findInBase(name, "")) return true;
    char base[200];
    std::snprintf(base, sizeof base, "%s/.tovask/", "");
    if (findInBase(name, base)) return true;
    // A folder too long for the buffer is skipped, not cut short: a shortened
    // path could name another folder.
    const int n = std::snprintf(base, sizeof base, "%s/", developmentDataDir);
    if (n > 0 && n < static_cast<int>(sizeof base) && findInBase(name, base)) return true;
    if (complain) std::fprintf(stderr, "Unable to locate file %s\n", name);
    return false;
}
