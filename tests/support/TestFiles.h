// Temporary folders and files for tests; everything is removed when the folder goes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir();   // a fresh folder under /tmp
    ~TempDir();  // removes it with everything inside
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Path of a file inside; creates the folders on the way when writing.
    std::string file(const std::string& relative) const { return path_ + "/" + relative; }
    std::string write(const std::string& relative, const std::string& text) const;
    std::string write(const std::string& relative, const std::vector<uint8_t>& bytes) const;

private:
    std::string path_;
};

// Runs the body with the working directory switched to dir, then switches back.
class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const std::string& dir);
    ~ScopedWorkingDir();
    ScopedWorkingDir(const ScopedWorkingDir&) = delete;
    ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

private:
    std::string previous_;
};

std::string readFile(const std::string& path);
