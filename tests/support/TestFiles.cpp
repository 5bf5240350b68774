// Temporary folders and files for tests.
#include "TestFiles.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

TempDir::TempDir() {
    char pattern[] = "/tmp/tovask-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made ? made : "/tmp";
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (path_ != "/tmp") fs::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& relative, const std::string& text) const {
    return write(relative, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string TempDir::write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    const std::string full = file(relative);
    fs::create_directories(fs::path(full).parent_path());
    std::ofstream out(full, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return full;
}

ScopedWorkingDir::ScopedWorkingDir(const std::string& dir) {
    previous_ = fs::current_path().string();
    fs::current_path(dir);
}

ScopedWorkingDir::~ScopedWorkingDir() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
