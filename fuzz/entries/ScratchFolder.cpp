// A private data folder for one fuzz input.
#include "ScratchFolder.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "DataLocator.h"

namespace fs = std::filesystem;

namespace {

// Made on first use, removed at process exit; the locator keeps a pointer to it.
struct Folder {
    char path[64] = "/tmp/tovask-fuzz-XXXXXX";
    Folder() {
        if (mkdtemp(path)) return;
        std::perror("mkdtemp");
        std::abort();
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    void empty() const {
        for (const fs::directory_entry& e : fs::directory_iterator(path)) fs::remove_all(e.path());
    }
};

Folder& folder() {
    static Folder f;
    return f;
}

}  // namespace

ScratchFolder::ScratchFolder() : previousDataDir_(developmentDataDir) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) previousDir_ = cwd;
    Folder& f = folder();
    f.empty();
    if (chdir(f.path) != 0) std::abort();
    developmentDataDir = f.path;
}

ScratchFolder::~ScratchFolder() {
    folder().empty();
    developmentDataDir = previousDataDir_;
    if (!previousDir_.empty() && chdir(previousDir_.c_str()) != 0) std::abort();
}

void ScratchFolder::write(const std::string& name, const std::string& bytes) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
