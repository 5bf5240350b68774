// A scratch working folder and an empty third data base, so only the files a
// test or a fuzz input writes are found.
#pragma once

#include "DataLocator.h"
#include "TestFiles.h"

class ScratchData {
public:
    // Switches into work and points the locator's third base at dev; the end restores both.
    ScratchData() { developmentDataDir = dev.path().c_str(); }
    ~ScratchData() { developmentDataDir = savedDataDir_; }

    TempDir work;
    TempDir dev;

private:
    ScopedWorkingDir cwd_{work.path()};
    const char* savedDataDir_ = developmentDataDir;
};
