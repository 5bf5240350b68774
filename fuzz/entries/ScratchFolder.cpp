// A private data folder for one fuzz input.
#include "ScratchFolder.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "DataLocator.h"

namespace {

// Made on first use, removed at process exit; the locator keeps a pointer to it.
struct Folder {
    char path[64] = "/tmp/tovask-fuzz-XXXXXX";
    bool made = false;
    ~Folder() {
        if (!made) return;
        emptyFolder();
        rmdir(path);
    }
    void emptyFolder() const {
        DIR* dir = opendir(path);
        if (!dir) return;
        while (const dirent* e = readdir(dir)) {
            if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
            const std::string file = std::string(path) + "/" + e->d_name;
            unlink(file.c_str());
        }
        closedir(dir);
    }
};

Folder& folder() {
    static Folder f;
    if (!f.made) {
        if (!mkdtemp(f.path)) {
            std::perror("mkdtemp");
            std::abort();
        }
        f.made = true;
    }
    return f;
}

}  // namespace

ScratchFolder::ScratchFolder() : previousDataDir_(developmentDataDir) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) previousDir_ = cwd;
    Folder& f = folder();
    f.emptyFolder();
    if (chdir(f.path) != 0) std::abort();
    developmentDataDir = f.path;
}

ScratchFolder::~ScratchFolder() {
    folder().emptyFolder();
    developmentDataDir = previousDataDir_;
    if (!previousDir_.empty() && chdir(previousDir_.c_str()) != 0) std::abort();
}

void ScratchFolder::write(const std::string& name, const std::string& bytes) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
