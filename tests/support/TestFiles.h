// Temporary folders and files for tests; everything is removed when the folder goes.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class TempDir {
public:
    // A fresh folder under /tmp (/tmp itself, never removed, when none can be made).
    TempDir() {
        char pattern[] = "/tmp/tovask-test-XXXXXX";
        path_ = mkdtemp(pattern) ? pattern : "/tmp";
    }
    // Removes it with everything inside.
    ~TempDir() {
        std::error_code ignored;
        if (path_ != "/tmp") std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Path of a file inside; creates the folders on the way when writing.
    std::string file(const std::string& relative) const { return path_ + "/" + relative; }
    std::string write(const std::string& relative, const std::string& text) const {
        const std::string full = file(relative);
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream(full, std::ios::binary) << text;
        return full;
    }
    std::string write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
        return write(relative, std::string(bytes.begin(), bytes.end()));
    }

private:
    std::string path_;
};

// Runs the body with the working directory switched to dir, then switches back.
class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const std::string& dir) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~ScopedWorkingDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    ScopedWorkingDir(const ScopedWorkingDir&) = delete;
    ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

private:
    std::string previous_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
