// A private data folder for one fuzz input: the working directory and the
// locator's third base point at it while the reader runs.
#pragma once

#include <string>

class ScratchFolder {
public:
    ScratchFolder();   // switches in (the folder is made once per process)
    ~ScratchFolder();  // removes the files written and switches back
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes a file inside under a plain name (no folders).
    void write(const std::string& name, const std::string& bytes);

private:
    std::string previousDir_;
    const char* previousDataDir_;
};
